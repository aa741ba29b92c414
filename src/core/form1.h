#pragma once

#include <QWidget>
#include <memory>

class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QTimer;
class StatusBar;
class TreeView;
class TreeNode;
class RecordScrollBar;
class ImageList;
class MyButton;
namespace db { class DataControl; class Database; class Error; }
namespace titletree { class TitleTree; struct GroupedView; struct BuildReport; }

// The main window: title tree, record display, search, groupings, audio slots and the
// status bar. Handlers are named after their control and event.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(QWidget *parent = nullptr);
    ~Form1() override;

    // Form_Load; false when the user chose to quit before a song database was open.
    bool load();

    // Public procedures other windows call through g::anaform.
    // Returns false when the song database could not be opened and the user quit.
    bool vtac(int mod1);
    void tree();
    void kapat();
    void dinamikbul();

    db::DataControl *data1() const { return m_data1; }
    db::DataControl *data2() const { return m_data2; }
    StatusBar *stbar() const { return m_stbar; }
    TreeView *tvw() const { return m_tvw; }
    RecordScrollBar *hscroll1() const { return m_hscroll1; }

signals:
    // The first activation has run (tests wait for it).
    void firstActivationDone();

protected:
    void showEvent(QShowEvent *e) override;
    void changeEvent(QEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void Form_Activate();
    void Form_Resize();
    void stbar_PanelClick(int n);
    void Timer1_Timer();

    void grnm_bslk_Click();
    void grnm();
    void grnm_derleyen_Click();
    void grnm_kaynak_Click();
    void grnm_muzik_Click();
    void grnm_soz_Click();
    void grnm_turu1_Click();
    void grnm_turu2_Click();
    void grnm_yore_Click();
    void grouped(const titletree::GroupedView &view);
    void showBuildReport(const titletree::BuildReport &report);
    void connectGroupings();
    void setScrollIgnoringErrors(int value);

    void izlememodu();
    void duzenlememodu();
    void setMode(bool view);

    void Data1_Reposition();
    void HScroll1_Change();
    void HScroll1_Scroll(int value);
    void TVW_NodeClick(TreeNode *node);
    void reportRefusedSave(const db::Error &e);
    void restoreScrollToRecord();

    void openSecondary(const QString &formName);
    bool saveBeforeLeaving();
    void closeValueTip();

    bool openSongDatabase(const QString &path, int mod1);

    template <typename T> T *control(const QString &name) const { return findChild<T *>(name); }

    db::DataControl *m_data1 = nullptr;
    db::DataControl *m_data2 = nullptr;
    StatusBar *m_stbar = nullptr;
    TreeView *m_tvw = nullptr;
    RecordScrollBar *m_hscroll1 = nullptr;
    ImageList *m_imageList1 = nullptr;
    QGroupBox *m_frame2 = nullptr;
    QLineEdit *m_text3 = nullptr;
    QPlainTextEdit *m_text1 = nullptr;
    QPlainTextEdit *m_sozcuk = nullptr;
    QTimer *m_timer1 = nullptr;
    std::unique_ptr<titletree::TitleTree> m_titleTree;
    bool m_unloading = false;
    bool m_restoringScroll = false;
};
