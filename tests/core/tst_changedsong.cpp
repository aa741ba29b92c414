#include "archivefixture.h"

#include "database.h"
#include "datacontrol.h"
#include "faultfile.h"
#include "faults.h"
#include "form1.h"
#include "frmsorgu.h"
#include "globals.h"
#include "mainwindowboxes.h"
#include "mybutton.h"
#include "recordscrollbar.h"
#include "recordset.h"
#include "songfixture.h"
#include "treeview.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

using mainwindow::editMode;

const QString kChanged = u"Kayıt okunduktan sonra başka bir program tarafından değiştirilmiş; değişiklik yazılmadı"_s;

void typeAtEnd(QPlainTextEdit *box, const QString &text)
{
    box->moveCursor(QTextCursor::End);
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

QStringList titlesIn(const QString &archive)
{
    return fixture::column(*db::Database::open(archive), u"SELECT Başlık FROM Zelvoran ORDER BY rowid"_s, u"Başlık"_s);
}

} // namespace

// The main window when another program changes the song shown: nothing the user did is
// written into, or deleted from, a song the user never saw.
class TestChangedSong : public QObject {
    Q_OBJECT
private slots:
    void deleteGoesOnlyToTheSongShown_data();
    void deleteGoesOnlyToTheSongShown();
    void refusedEditStaysRefused();
    void bytesThatAreNotUtf8_data();
    void bytesThatAreNotUtf8();
};

void TestChangedSong::deleteGoesOnlyToTheSongShown_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("deleted");
    QTest::newRow("the same archive") << u"SELECT 1"_s << true;
    QTest::newRow("another archive") << u"UPDATE Zelvoran SET Başlık = Başlık || ' 2'"_s << false;
    QTest::newRow("the song's row id taken by a new song")
        << u"DELETE FROM Zelvoran WHERE Başlık = 'Ali Paşa'; INSERT INTO Zelvoran (rowid, Başlık) SELECT 1, 'Yeni'"_s
        << false;
}

void TestChangedSong::deleteGoesOnlyToTheSongShown()
{
    QFETCH(QString, change);
    QFETCH(bool, deleted);
    ArchiveFixture f;
    const QString archive = f.makeArchive(u"a.qel"_s, sampleSongs(), {u"A"_s, u"B"_s, u"Ç"_s, u"S"_s});
    f.makeSettings(archive);
    QCOMPARE(titlesIn(archive).value(0), u"Ali Paşa"_s);
    QVERIFY(f.start());
    Form1 *w = f.form();
    editMode(w);
    QCOMPARE(w->findChild<QLineEdit *>(u"Text3"_s)->text(), u"Ali Paşa"_s);
    QVERIFY(faults::changeElsewhere(archive, change));
    const QStringList before = titlesIn(archive);

    f.boxAnswers = {msg::Result::Yes};
    w->findChild<MyButton *>(u"sil"_s)->click();
    QCOMPARE(f.boxes.value(0).text, u"[ Ali Paşa ] Kaydı silinecek. Emin misiniz?"_s);
    if (deleted) {
        QCOMPARE(f.boxes.size(), 1);
        QVERIFY(!titlesIn(archive).contains(u"Ali Paşa"_s));
        QCOMPARE(titlesIn(archive).size(), before.size() - 1);
    } else {
        QCOMPARE(f.boxes.size(), 2);
        QVERIFY2(f.boxes.at(1).text.contains(kChanged), qPrintable(f.boxes.at(1).text));
        QCOMPARE(titlesIn(archive), before);
        QVERIFY(w->tvw()->find(u"Ali Paşa"_s));
    }
}

// Each move after the refusal is refused again: the edit never lands on the song that
// now has the row.
void TestChangedSong::refusedEditStaysRefused()
{
    ArchiveFixture f;
    const QString archive = f.makeArchive(u"a.qel"_s, sampleSongs(), {u"A"_s, u"B"_s, u"Ç"_s, u"S"_s});
    f.makeSettings(archive);
    QVERIFY(f.start());
    Form1 *w = f.form();
    editMode(w);
    auto *region = w->findChild<QPlainTextEdit *>(u"txt(0)"_s);
    QCOMPARE(region->toPlainText(), u"Sivas"_s);
    typeAtEnd(region, u"lı"_s);
    QVERIFY(faults::changeElsewhere(archive, u"UPDATE Zelvoran SET Başlık = 'Başka ' || Başlık"_s));
    for (int move = 1; move <= 2; ++move) {
        w->hscroll1()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(f.boxes.size(), move);
        QVERIFY2(f.boxes.last().text.contains(kChanged), qPrintable(f.boxes.last().text));
        QCOMPARE(w->data1()->recordset()->absolutePosition(), 0);
    }
    QCOMPARE(fixture::column(*db::Database::open(archive), u"SELECT * FROM Zelvoran WHERE Yöresi = 'Sivaslı'"_s,
                             u"Başlık"_s),
             QStringList());
}

void TestChangedSong::bytesThatAreNotUtf8_data()
{
    QTest::addColumn<QString>("field");
    QTest::newRow("a credit, which the credits line copies") << u"Derleyen"_s;
    QTest::newRow("a field shown in a box") << u"Yöresi"_s;
}

// Bytes another tool wrote: the report opens, and a save of the record keeps them.
void TestChangedSong::bytesThatAreNotUtf8()
{
    QFETCH(QString, field);
    ArchiveFixture f;
    const QString archive = f.makeArchive(u"a.qel"_s, sampleSongs(), {u"A"_s, u"B"_s, u"Ç"_s, u"S"_s});
    db::Database::open(archive)->executeNative(
        u"UPDATE Zelvoran SET \"%1\" = CAST(X'41EDA08042' AS TEXT) WHERE Başlık = 'Ali Paşa'"_s.arg(field));
    f.makeSettings(archive);
    QVERIFY(f.start());
    Form1 *w = f.form();
    editMode(w);
    // The report's credits pass rewrites the credits line of the song shown: a change of
    // this program's own, which the next save takes as read.
    bool opened = false;
    auto *timer = new QTimer(w);
    timer->setInterval(20);
    connect(timer, &QTimer::timeout, [&opened, timer] {
        if (auto *q = qobject_cast<frmsorgu::Window *>(QApplication::activeModalWidget())) {
            opened = true;
            timer->stop();
            q->close();
        }
    });
    timer->start();
    w->findChild<MyButton *>(u"RPR"_s)->click();
    QVERIFY(opened);
    QCOMPARE(f.boxTexts(), QStringList());

    typeAtEnd(w->findChild<QPlainTextEdit *>(u"Text1"_s), u" yeni"_s);
    w->hscroll1()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(f.boxTexts(), QStringList());
    QCOMPARE(w->data1()->recordset()->absolutePosition(), 1);

    auto check = db::Database::open(archive);
    auto rs = check->openRecordset(
        u"SELECT Sözler, girişmodu, hex([%1]) AS h FROM Zelvoran WHERE Başlık = 'Ali Paşa'"_s.arg(field));
    QCOMPARE(rs->text(u"Sözler"_s), u"Gel yanıma\nsevdiğim yeni"_s);
    QCOMPARE(rs->text(u"h"_s), u"41EDA08042"_s);
    QVERIFY(rs->text(u"girişmodu"_s).contains(u"  D:"_s));
}

QTEST_MAIN(TestChangedSong)
#include "tst_changedsong.moc"
