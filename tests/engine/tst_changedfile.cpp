#include "database.h"
#include "faultfile.h"
#include "recordset.h"
#include "songfixture.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

// A song database changed behind the program's back: cut short, copied over, replaced,
// or on a disk that refuses writes. Each is an error the program can report, never a
// crash, and no save lands on a row other than the one it read.
class TestChangedFile : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void truncatedFileIsAnError_data();
    void truncatedFileIsAnError();
    void saveChecksTheRowItRead_data();
    void saveChecksTheRowItRead();
    void refusedWritesChangeNothing_data();
    void refusedWritesChangeNothing();

private:
    QByteArray bytesOf(const QString &path);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
};

void TestChangedFile::initTestCase()
{
    fault::install();
}

void TestChangedFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_path = fixture::makeSongDatabase(m_dir->path());
}

void TestChangedFile::cleanup()
{
    m_dir.reset();
}

QByteArray TestChangedFile::bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TestChangedFile::truncatedFileIsAnError_data()
{
    QTest::addColumn<bool>("oneRead");  // all reads in one read transaction, as a tree build
    QTest::newRow("during a run of reads") << true;
    QTest::newRow("between reads") << false;
}

// Lyrics longer than a page live on pages of their own, read only when the song is.
void TestChangedFile::truncatedFileIsAnError()
{
    QFETCH(bool, oneRead);
    {
        auto db = db::Database::open(m_path);
        db->executeNative(uR"(
            WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 400)
            INSERT INTO Zelvoran (Başlık, Sözler) SELECT 'Uzun ' || i, printf('%.20000c', 'a') FROM n)"_s);
    }
    auto db = db::Database::open(m_path);
    int number = 0;
    try {
        std::optional<db::Database::ReadTransaction> reading;
        if (oneRead)
            reading.emplace(*db);
        auto rs = db->openRecordset(u"Zelvoran"_s);
        QCOMPARE(rs->text(u"Başlık"_s), u"Şu Dağlar"_s);
        QVERIFY(fault::truncate(m_path, QFile(m_path).size() / 4));
        for (rs->moveFirst(); !rs->eof(); rs->moveNext())
            rs->field(u"Sözler"_s);
    } catch (const db::Error &e) {
        number = e.number();
        QVERIFY2(e.description().contains(m_path), qPrintable(e.description()));
    }
    QCOMPARE(number, int(db::DatabaseDamaged));
    // The connection stays usable for what can still be read, and closes.
    QVERIFY_DB_ERROR(db->openRecordset(u"SELECT count(*) FROM Zelvoran WHERE length(Sözler) > 0"_s),
                     db::DatabaseDamaged);
}

void TestChangedFile::saveChecksTheRowItRead_data()
{
    QTest::addColumn<QString>("change");  // what another program does to the file
    QTest::addColumn<int>("error");       // 0: the save goes through
    QTest::newRow("the same archive copied over it") << u"same"_s << 0;
    QTest::newRow("another archive copied over it") << u"other"_s << int(db::WriteConflict);
    QTest::newRow("the song changed") << u"lyrics"_s << int(db::WriteConflict);
    QTest::newRow("the song changed only in case") << u"case"_s << int(db::WriteConflict);
    QTest::newRow("an archive with fewer songs") << u"fewer"_s << int(db::RecordDeleted);
    QTest::newRow("another archive put in its place") << u"replaced"_s << int(db::DatabaseDamaged);
}

void TestChangedFile::saveChecksTheRowItRead()
{
    QFETCH(QString, change);
    QFETCH(int, error);
    // The other archive: the same rows in another order of insertion, so that the row
    // ids of the titles differ.
    const QString other = m_dir->filePath(u"other.qel"_s);
    QVERIFY(QFile::copy(m_path, other));
    {
        auto o = db::Database::open(other);
        const QString edit = change == u"lyrics"_s ? u"UPDATE Zelvoran SET Sözler = 'başka' WHERE Başlık = 'Ali'"_s
                           : change == u"case"_s   ? u"UPDATE Zelvoran SET Başlık = 'ALİ' WHERE Başlık = 'Ali'"_s
                           : change == u"fewer"_s  ? u"DELETE FROM Zelvoran WHERE Başlık <> 'Şu Dağlar'"_s
                           : change == u"same"_s   ? QString()
                                                   : u"UPDATE Zelvoran SET Başlık = Başlık || ' 2'"_s;
        if (!edit.isEmpty())
            o->executeNative(edit);
    }
    if (change == u"same"_s)
        QVERIFY(QFile::remove(other) && QFile::copy(m_path, other));

    auto db = db::Database::open(m_path);
    auto rs = db->openRecordset(u"SELECT * FROM Zelvoran ORDER BY Başlık"_s);
    QCOMPARE(rs->text(u"Başlık"_s), u"Ali"_s);
    QVERIFY(change == u"replaced"_s ? fault::replace(m_path, other) : fault::overwriteInPlace(m_path, other));
    const QByteArray before = bytesOf(m_path);

    rs->edit();
    rs->setField(u"Yöresi"_s, u"Manisa"_s);
    int got = 0;
    try {
        rs->update();
    } catch (const db::Error &e) {
        got = e.number();
        QVERIFY(!e.description().isEmpty());
    }
    QCOMPARE(got, error);
    if (error != 0) {
        QCOMPARE(bytesOf(m_path), before);
        QCOMPARE(rs->editMode(), db::Recordset::EditMode::Edit);  // the edit stays pending
    } else {
        auto check = db::Database::open(m_path);
        QCOMPARE(fixture::column(*check, u"SELECT * FROM Zelvoran WHERE Yöresi = 'Manisa'"_s, u"Başlık"_s),
                 QStringList{u"Ali"_s});
    }
}

void TestChangedFile::refusedWritesChangeNothing_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("error");
    QTest::newRow("full disk") << SQLITE_FULL << int(db::DiskFull);
    QTest::newRow("write error") << SQLITE_IOERR_WRITE << int(db::DiskIoError);
}

void TestChangedFile::refusedWritesChangeNothing()
{
    QFETCH(int, code);
    QFETCH(int, error);
    auto db = db::Database::open(m_path);
    auto rs = db->openRecordset(u"SELECT * FROM Zelvoran ORDER BY Başlık"_s);
    const QByteArray before = bytesOf(m_path);
    {
        fault::RefusedWrites refused(m_path, code);
        QVERIFY_DB_ERROR(db->execute(u"UPDATE Zelvoran SET Yöresi = 'Manisa'"_s), error);
        rs->edit();
        rs->setField(u"Yöresi"_s, u"Manisa"_s);
        QVERIFY_DB_ERROR(rs->update(), error);
        rs->cancelUpdate();
        rs->addNew();
        rs->setField(u"Başlık"_s, u"Yeni"_s);
        QVERIFY_DB_ERROR(rs->update(), error);
        QVERIFY(refused.refusals() >= 3);
    }
    QCOMPARE(bytesOf(m_path), before);
    QCOMPARE(rs->recordCount(), 6);
    // Once the disk takes writes again, the pending new song is stored.
    rs->update();
    QCOMPARE(db->openRecordset(u"Zelvoran"_s)->recordCount(), 7);
}

QTEST_GUILESS_MAIN(TestChangedFile)
#include "tst_changedfile.moc"
