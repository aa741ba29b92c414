#pragma once

#include <QDialog>
#include <QString>
#include <QVariantMap>

class DataGrid;
namespace db {
class DataControl;
}

// The dictionary window: the table sozluk in one grid, read, added to, changed and
// deleted in place. An entry without an idiom is refused, since an empty idiom would be
// found in every song's lyrics.
namespace szlk {

class Window : public QDialog {
    Q_OBJECT
public:
    explicit Window(QWidget *parent = nullptr);
    ~Window() override;

    db::DataControl *data1() const { return m_data1; }
    DataGrid *dbGrid1() const { return m_dbGrid1; }

    // Stores the grid's pending row; a refusal asks whether to drop it. False: stay open.
    bool savePending();

    // Refuses an entry whose idiom is empty or Null.
    static QString checkEntry(const QVariantMap &values, bool isNew);

protected:
    void resizeEvent(QResizeEvent *e) override;
    void done(int result) override;

private:
    void Form_Resize();

    db::DataControl *m_data1 = nullptr;
    DataGrid *m_dbGrid1 = nullptr;
};

// Loads the window anew on this database and record source, refreshes its data control
// and shows it modally. A record source that does not open is reported and nothing shows.
void show(QWidget *parent, const QString &databasePath, const QString &recordSource);

} // namespace szlk
