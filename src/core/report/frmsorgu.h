#pragma once

#include "reportquery.h"

#include <QDialog>
#include <QPageLayout>
#include <array>

class DataGrid;
class MyButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
namespace db {
class DataControl;
}

// The report query window: criterion columns, a sort column, the SQL text with a preview
// of its rows, the page margins and the orientation of the report.
namespace frmsorgu {

class Window : public QDialog {
    Q_OBJECT
public:
    explicit Window(QWidget *parent = nullptr);
    ~Window() override;

    // Binds the preview to the song database; false when it cannot be opened (reported).
    bool Form_Load();

    db::DataControl *data1() const { return m_data1; }
    DataGrid *dbGrid1() const { return m_dbGrid1; }
    QPlainTextEdit *txtsql() const { return m_txtsql; }
    QComboBox *combo(int i) const { return m_combo[size_t(i)]; }
    QLineEdit *kriter(int i) const { return m_kriter[size_t(i)]; }
    QRadioButton *siralama(int i) const { return m_siralama[size_t(i)]; }
    QLineEdit *marj(int i) const { return m_marj[size_t(i)]; }
    QCheckBox *option1() const { return m_option1; }
    QCheckBox *option2() const { return m_option2; }
    MyButton *button(int i) const; // 1 Sorgula, 2 Raporu Göster, 3 Kapat
    QString countCaption() const;  // Data1's caption

    // The columns as typed.
    std::array<reportquery::Criterion, reportquery::kColumns> criteria() const;
    // Reads the orientation boxes as the report does: neither ticked ticks "Dikey".
    QPageLayout::Orientation orientation();

    void MyButton1_Click();
    void MyButton2_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;

private:
    void Combo_Click(int i);
    void siralama_Click(int i);
    void setCountCaption(const QString &text);
    void clearPreview();

    db::DataControl *m_data1 = nullptr;
    DataGrid *m_dbGrid1 = nullptr;
    QLabel *m_data1Caption = nullptr;
    QPlainTextEdit *m_txtsql = nullptr;
    std::array<QComboBox *, reportquery::kColumns> m_combo{};
    std::array<QLineEdit *, reportquery::kColumns> m_kriter{};
    std::array<QRadioButton *, reportquery::kColumns> m_siralama{};
    std::array<QLineEdit *, 4> m_marj{};
    QCheckBox *m_option1 = nullptr;
    QCheckBox *m_option2 = nullptr;
};

// Loads the window anew and shows it modally; a song database that cannot be opened is
// reported and nothing shows.
void show(QWidget *parent);

} // namespace frmsorgu
