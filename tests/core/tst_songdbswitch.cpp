#include "boundbox.h"
#include "database.h"
#include "datacontrol.h"
#include "recordset.h"
#include "schema.h"
#include "songdbswitch.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using Outcome = songdb::SwitchResult::Outcome;

namespace {

QString makeSongs(const QString &file, const QString &title)
{
    auto vt = db::Database::create(file);
    schema::createSongDatabase(*vt);
    auto rs = vt->openRecordset(u"Zelvoran"_s);
    rs->addNew();
    rs->setField(u"Başlık"_s, title);
    rs->update();
    return file;
}

} // namespace

class TestSongDbSwitch : public QObject {
    Q_OBJECT
private slots:
    void open_data();
    void open();
};

void TestSongDbSwitch::open_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("typed");      // a pending edit the check refuses
    QTest::addColumn<bool>("formerGone"); // the former file deleted before the switch
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("shown"); // the title the songs control shows after

    QTest::newRow("opened") << u"new.qel"_s << false << false << int(Outcome::Opened) << 0 << u"Yeni"_s;
    QTest::newRow("missing") << u"yok.qel"_s << false << false << int(Outcome::NotFound) << int(db::FileNotFound)
                             << u"Eski"_s;
    QTest::newRow("no songs table") << u"other.qel"_s << false << false << int(Outcome::NotSongDatabase)
                                    << int(db::ObjectNotFound) << u"Eski"_s;
    QTest::newRow("not a database") << u"text.qel"_s << false << false << int(Outcome::NotDatabase)
                                    << int(db::UnrecognizedFormat) << u"Eski"_s;
    QTest::newRow("edit refused") << u"new.qel"_s << true << false << int(Outcome::EditRefused)
                                  << int(db::MoveCancelled) << u"Yazılan"_s;
    QTest::newRow("unreadable settings") << u"brokenview.qel"_s << false << false << int(Outcome::BindFailed)
                                         << int(db::ObjectNotFound) << u"Eski"_s;
    QTest::newRow("former file gone too")
        << u"brokenview.qel"_s << false << true << int(Outcome::RollbackFailed) << int(db::ObjectNotFound) << QString();
}

void TestSongDbSwitch::open()
{
    QFETCH(QString, target);
    QFETCH(bool, typed);
    QFETCH(bool, formerGone);
    QFETCH(int, outcome);
    QFETCH(int, error);
    QFETCH(QString, shown);

    QTemporaryDir dir;
    const QString former = makeSongs(dir.filePath(u"old.qel"_s), u"Eski"_s);
    makeSongs(dir.filePath(u"new.qel"_s), u"Yeni"_s);
    {
        auto other = db::Database::create(dir.filePath(u"other.qel"_s));
        other->executeNative(u"CREATE TABLE ayarlar (x TEXT)"_s);
    }
    {
        QFile text(dir.filePath(u"text.qel"_s));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write(QByteArray(4096, 'x'));
    }
    {
        // Its settings table is a view over a table that is not there.
        auto broken = db::Database::open(makeSongs(dir.filePath(u"brokenview.qel"_s), u"Kırık"_s));
        broken->executeNative(u"DROP TABLE ayarlar"_s);
        broken->executeNative(u"CREATE VIEW ayarlar AS SELECT * FROM yok"_s);
    }

    db::DataControl songs, settings;
    Box box(u"Başlık"_s);
    songs.addBinding(&box);
    songs.setSaveCheck([](const QString &, const QVariant &) { return u"olmaz"_s; });
    songdb::DatabaseSwitch change(songs, settings);
    QCOMPARE(int(change.open(former, false).outcome), int(Outcome::Opened));
    QCOMPARE(box.text(), u"Eski"_s);
    if (typed)
        box.type(u"Yazılan"_s);
    if (formerGone)
        QVERIFY(QFile::remove(former));

    const songdb::SwitchResult r = change.open(dir.filePath(target), true);
    QCOMPARE(int(r.outcome), outcome);
    QCOMPARE(r.error ? r.error->number() : 0, error);
    QCOMPARE(bool(r.database), outcome == int(Outcome::Opened));
    QCOMPARE(bool(r.rollbackError), outcome == int(Outcome::RollbackFailed));
    QCOMPARE(box.text(), shown);

    if (outcome == int(Outcome::RollbackFailed)) {
        // Nothing is left bound to either file.
        QVERIFY(!songs.recordset());
        QVERIFY(!settings.recordset());
        QCOMPARE(r.rollbackError->number(), int(db::FileNotFound));
        return;
    }
    const QString expected = outcome == int(Outcome::Opened) ? dir.filePath(target) : former;
    QCOMPARE(songs.databaseName(), expected);
    QCOMPARE(settings.databaseName(), expected);
    QVERIFY(songs.recordset() && settings.recordset());
    QCOMPARE(songs.recordset()->text(u"Başlık"_s), outcome == int(Outcome::Opened) ? u"Yeni"_s : u"Eski"_s);
    QCOMPARE(songs.hasPendingEdit(), typed);
}

QTEST_GUILESS_MAIN(TestSongDbSwitch)
#include "tst_songdbswitch.moc"
