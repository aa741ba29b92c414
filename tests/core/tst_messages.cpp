#include "archivefixture.h"

#include "database.h"
#include "datacontrol.h"
#include "faultfile.h"
#include "form1.h"
#include "frmsorgu.h"
#include "globals.h"
#include "mybutton.h"
#include "recordscrollbar.h"
#include "recordset.h"
#include "reportstatement.h"
#include "treeview.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrintPreviewDialog>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <optional>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

// What the user reads when the archive refuses an action: a Turkish sentence of the
// program's own, soon, once, and nothing of the user's work lost.
class TestMessages : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { fault::install(); }
    void refusedSaveKeepsTheEdit_data();
    void refusedSaveKeepsTheEdit();
    void tableGoneIsSaidInTurkish();
    void journalBesideReadOnlyArchive();
    void readsOfALockedArchive_data();
    void readsOfALockedArchive();
    void sqlBoxTakesOnlySelectsOfTheSongs_data();
    void sqlBoxTakesOnlySelectsOfTheSongs();
};

namespace {

QString stored(const QString &archive, const QString &title, const QString &field)
{
    auto db = db::Database::open(archive);
    auto rs = db->openRecordset(u"SELECT * FROM Zelvoran WHERE Başlık = ?"_s, {title});
    return rs->eof() ? QString() : rs->text(field);
}

} // namespace

void TestMessages::refusedSaveKeepsTheEdit_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("says");
    QTest::newRow("another program holds the lock") << u"locked"_s << u"başka bir program tarafından kilitli"_s;
    QTest::newRow("folder takes no journal") << u"no journal"_s << u"Klasöre yazma izni verin"_s;
}

// The archive refuses the save while the user steps off an edited record: one Turkish
// sentence within 3 s, the edit kept on the record; once the fault goes, the step saves.
void TestMessages::refusedSaveKeepsTheEdit()
{
    QFETCH(QString, fault);
    QFETCH(QString, says);
    ArchiveFixture f;
    const QString archive = f.makeArchive(u"a.qel"_s, sampleSongs(), {u"A"_s, u"B"_s, u"Ç"_s, u"S"_s});
    f.makeSettings(archive);
    QVERIFY(f.start());
    Form1 *w = f.form();
    QTest::mouseClick(w->findChild<QCheckBox *>(u"option2"_s), Qt::LeftButton);
    QCOMPARE(g::penceremodu, u"düzenleme"_s);
    auto *lyrics = w->findChild<QPlainTextEdit *>(u"Text1"_s);
    const QString title = w->findChild<QLineEdit *>(u"Text3"_s)->text();
    lyrics->setPlainText(u"yeni sözler"_s);

    sqlite3 *other = nullptr;
    std::optional<fault::NoJournal> noJournal;
    if (fault == u"locked"_s) {
        QCOMPARE(sqlite3_open(archive.toUtf8().constData(), &other), SQLITE_OK);
        QCOMPARE(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    } else {
        noJournal.emplace(archive);
    }
    QElapsedTimer clock;
    clock.start();
    w->hscroll1()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    const qint64 took = clock.elapsed();
    QVERIFY2(took < 3000, qPrintable(QString::number(took)));
    QCOMPARE(f.boxes.size(), 1);
    const QString said = f.boxTexts().first();
    QVERIFY2(said.contains(says), qPrintable(said));
    QVERIFY2(!said.contains(u"locked"_s) && !said.contains(u"unable"_s), qPrintable(said));
    // The edit stays on the record, which the window does not leave.
    QCOMPARE(lyrics->toPlainText(), u"yeni sözler"_s);
    QCOMPARE(w->hscroll1()->value(), 1);
    QCOMPARE(w->findChild<QLineEdit *>(u"Text3"_s)->text(), title);

    if (other) {
        QCOMPARE(sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(other);
    }
    noJournal.reset();
    f.boxes.clear();
    w->hscroll1()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QVERIFY(f.boxes.isEmpty());
    QCOMPARE(w->hscroll1()->value(), 2);
    QCOMPARE(stored(archive, title, u"Sözler"_s), u"yeni sözler"_s);
}

// Another program empties the archive while it is shown: the next step says so in Turkish.
void TestMessages::tableGoneIsSaidInTurkish()
{
    ArchiveFixture f;
    const QString archive = f.makeArchive(u"a.qel"_s, sampleSongs(), {u"A"_s, u"B"_s, u"Ç"_s, u"S"_s});
    f.makeSettings(archive);
    QVERIFY(f.start());
    Form1 *w = f.form();
    QTest::mouseClick(w->findChild<QCheckBox *>(u"option2"_s), Qt::LeftButton);
    w->findChild<QPlainTextEdit *>(u"Text1"_s)->setPlainText(u"yeni sözler"_s);
    sqlite3 *other = nullptr;
    QCOMPARE(sqlite3_open(archive.toUtf8().constData(), &other), SQLITE_OK);
    QCOMPARE(sqlite3_exec(other, "DROP TABLE Zelvoran", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(other);
    w->hscroll1()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QVERIFY(!f.boxes.isEmpty());
    for (const QString &said : f.boxTexts()) {
        QVERIFY2(!said.contains(u"no such"_s) && !said.contains(u"altyapısı hatası"_s), qPrintable(said));
        QVERIFY2(said.contains(u"Zelvoran"_s), qPrintable(said));
    }
}

// The stored archive is read-only with a half-done change beside it: start-up says how to
// let it be recovered, then offers another file.
void TestMessages::journalBesideReadOnlyArchive()
{
    ArchiveFixture f;
    const QString archive = f.makeArchive(u"a.qel"_s, sampleSongs());
    const QString copy = f.path(u"kopya.qel"_s);
    QVERIFY(fault::leaveJournal(archive, copy));
    f.makeSettings(copy);
    f.boxAnswers = {msg::Result::Ok, msg::Result::Cancel}; // the message, then leave at the dialog
    f.start();
    QVERIFY(!f.boxes.isEmpty());
    const QString said = f.boxTexts().first();
    QVERIFY2(said.contains(u"günlük dosyası"_s) && said.contains(u"yazma izni verip"_s), qPrintable(said));
    QVERIFY2(!said.contains(u"salt okunur"_s) && !said.contains(u"readonly"_s), qPrintable(said));
    QVERIFY(QFileInfo::exists(copy + u"-journal"_s));
    QCOMPARE(f.dialogCalls, 1);
}

void TestMessages::readsOfALockedArchive_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("edited"); // a pending edit the move has to save first
    QTest::newRow("step") << u"step"_s << false;
    QTest::newRow("tree click") << u"tree click"_s << false;
    QTest::newRow("search") << u"search"_s << false;
    QTest::newRow("delete") << u"delete"_s << false;
    QTest::newRow("save on step") << u"step"_s << true;
    QTest::newRow("save on tree click") << u"tree click"_s << true;
}

// Another program holds the lock that keeps out even readers: every action of the main
// window that reaches the file says so once, within 3 s, a pending edit stays, and the
// window goes on once the lock goes.
void TestMessages::readsOfALockedArchive()
{
    QFETCH(QString, action);
    QFETCH(bool, edited);
    ArchiveFixture f;
    const QString archive = f.makeArchive(u"a.qel"_s, sampleSongs(), {u"A"_s, u"B"_s, u"Ç"_s, u"S"_s});
    f.makeSettings(archive);
    QVERIFY(f.start());
    Form1 *w = f.form();
    auto *lyrics = w->findChild<QPlainTextEdit *>(u"Text1"_s);
    if (edited || action == u"delete"_s)
        QTest::mouseClick(w->findChild<QCheckBox *>(u"option2"_s), Qt::LeftButton);
    if (edited)
        lyrics->setPlainText(u"yeni sözler"_s);
    const QString shown = w->findChild<QLineEdit *>(u"Text3"_s)->text();
    const QString other = shown == u"Sarı Gelin"_s ? u"Bülbülüm"_s : u"Sarı Gelin"_s;

    sqlite3 *holder = nullptr;
    QCOMPARE(sqlite3_open(archive.toUtf8().constData(), &holder), SQLITE_OK);
    QCOMPARE(sqlite3_exec(holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    const auto act = [&] {
        if (action == u"step"_s) {
            w->hscroll1()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        } else if (action == u"tree click"_s) {
            QTreeWidget *tw = w->tvw()->treeWidget();
            TreeNode *node = w->tvw()->findTitle(other);
            QVERIFY(node);
            QTreeWidgetItem *item = node->item();
            if (item->parent())
                item->parent()->setExpanded(true);
            tw->scrollToItem(item);
            QTest::mouseClick(tw->viewport(), Qt::LeftButton, {}, tw->visualItemRect(item).center());
        } else if (action == u"search"_s) {
            w->findChild<QCheckBox *>(u"ara_b"_s)->setChecked(true);
            w->findChild<QLineEdit *>(u"ara"_s)->setText(u"a"_s);
            w->findChild<MyButton *>(u"sbaslikara"_s)->click();
        } else {
            w->findChild<MyButton *>(u"sil"_s)->click();
        }
    };
    // The delete asks first; what follows its question is what the lock made it say.
    const auto said = [&] {
        QStringList texts = f.boxTexts();
        if (action == u"delete"_s && !texts.isEmpty())
            texts.removeFirst();
        return texts;
    };
    QElapsedTimer clock;
    clock.start();
    act();
    const qint64 took = clock.elapsed();
    QVERIFY2(took < 3000, qPrintable(QString::number(took)));
    QVERIFY2(said().size() == 1, qPrintable(f.boxTexts().join(u" | "_s)));
    QVERIFY2(said().first().contains(u"kilitli"_s), qPrintable(said().first()));
    QVERIFY2(!said().first().contains(u"locked"_s), qPrintable(said().first()));
    if (edited)
        QCOMPARE(lyrics->toPlainText(), u"yeni sözler"_s);
    if (action != u"search"_s) {
        QCOMPARE(w->findChild<QLineEdit *>(u"Text3"_s)->text(), shown);
        QCOMPARE(w->hscroll1()->value(), 1);
    }

    sqlite3_exec(holder, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(holder);
    f.boxes.clear();
    act();
    QVERIFY2(said().isEmpty(), qPrintable(f.boxTexts().join(u" | "_s)));
    if (action != u"search"_s)
        QVERIFY(w->findChild<QLineEdit *>(u"Text3"_s)->text() != shown);
    if (edited)
        QCOMPARE(stored(archive, shown, u"Sözler"_s), u"yeni sözler"_s);
}

void TestMessages::sqlBoxTakesOnlySelectsOfTheSongs_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("message"); // empty: the report is shown

    const QString refusal = reportstatement::refusal();
    const QString writes = u"Bu komut kayıtları değiştirir. "_s + refusal;
    QTest::newRow("vacuum") << u"VACUUM"_s << refusal;
    QTest::newRow("attach") << u"ATTACH DATABASE 'ek.qel' AS ek"_s << refusal;
    QTest::newRow("writable schema") << u"PRAGMA writable_schema = ON"_s << refusal;
    QTest::newRow("pragma read") << u"PRAGMA table_info(Zelvoran)"_s << refusal;
    QTest::newRow("extension") << u"SELECT load_extension('ek') AS Başlık, Yöresi, girişmodu, Sözler FROM Zelvoran"_s
                               << refusal;
    QTest::newRow("engine's own table")
        << u"SELECT name AS Başlık, type AS Yöresi, sql AS girişmodu, sql AS Sözler FROM sqlite_master"_s << refusal;
    QTest::newRow("pragma as a table")
        << u"SELECT name AS Başlık, type AS Yöresi, type AS girişmodu, type AS Sözler FROM pragma_table_info('Zelvoran')"_s
        << refusal;
    QTest::newRow("drop") << u"DROP TABLE Zelvoran"_s << refusal;
    QTest::newRow("begin") << u"BEGIN"_s << refusal;
    QTest::newRow("a word only") << u"Zelvoran"_s << refusal;
    QTest::newRow("insert") << u"INSERT INTO Zelvoran (Başlık) VALUES ('Yeni')"_s << writes;
    QTest::newRow("delete behind WITH") << u"WITH x AS (SELECT 1) DELETE FROM Zelvoran"_s << writes;
    QTest::newRow("songs") << u"SELECT * FROM Zelvoran WHERE Yöresi = 'Sivas' ORDER BY Başlık"_s << QString();
    QTest::newRow("songs through WITH")
        << u"WITH s AS (SELECT * FROM Zelvoran) SELECT Başlık, Yöresi, girişmodu, Sözler FROM s"_s << QString();
}

// Whatever the SQL box holds, only a SELECT of the archive's songs makes a report; the
// rest is refused in one sentence before any of it runs, and the file stays as it was.
void TestMessages::sqlBoxTakesOnlySelectsOfTheSongs()
{
    QFETCH(QString, sql);
    QFETCH(QString, message);
    ArchiveFixture f;
    const QString archive = f.makeArchive(u"rapor.qel"_s, sampleSongs());
    g::vt = db::Database::open(archive);
    g::vtdosyasi = archive;
    frmsorgu::Window w;
    QVERIFY(w.Form_Load());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    bool previewed = false;
    QTimer closer;
    closer.setInterval(50);
    connect(&closer, &QTimer::timeout, [&] {
        if (auto *d = qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget())) {
            previewed = true;
            d->close();
        }
    });
    closer.start();
    w.txtsql()->setPlainText(sql);
    w.button(2)->click();
    closer.stop();
    g::vt.reset();

    QCOMPARE(f.boxTexts(), message.isEmpty() ? QStringList() : QStringList(message));
    QCOMPARE(previewed, message.isEmpty());
    QCOMPARE(db::Database::open(archive)->openRecordset(u"Zelvoran"_s)->recordCount(), sampleSongs().size());
    QVERIFY(!QFileInfo::exists(QDir::current().filePath(u"ek.qel"_s)));
}

QTEST_MAIN(TestMessages)
#include "tst_messages.moc"
