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
    void deleteChecksTheRowItRead_data();
    void deleteChecksTheRowItRead();
    void storedBytesAreKept_data();
    void storedBytesAreKept();
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
    QTest::addColumn<bool>("oneRead"); // all reads in one read transaction, as a tree build
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
    QTest::addColumn<QString>("change"); // what another program does to the file
    QTest::addColumn<int>("error");      // 0: the save goes through
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
        const QString edit = change == u"lyrics"_s  ? u"UPDATE Zelvoran SET Sözler = 'başka' WHERE Başlık = 'Ali'"_s
                             : change == u"case"_s  ? u"UPDATE Zelvoran SET Başlık = 'ALİ' WHERE Başlık = 'Ali'"_s
                             : change == u"fewer"_s ? u"DELETE FROM Zelvoran WHERE Başlık <> 'Şu Dağlar'"_s
                             : change == u"same"_s  ? QString()
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
        QCOMPARE(rs->editMode(), db::Recordset::EditMode::Edit); // the edit stays pending
    } else {
        auto check = db::Database::open(m_path);
        QCOMPARE(fixture::column(*check, u"SELECT * FROM Zelvoran WHERE Yöresi = 'Manisa'"_s, u"Başlık"_s),
                 QStringList{u"Ali"_s});
    }
}

void TestChangedFile::deleteChecksTheRowItRead_data()
{
    QTest::addColumn<QString>("change"); // SQL run on a copy that is then copied over the file
    QTest::addColumn<int>("error");      // 0: the song is deleted
    QTest::newRow("the same archive") << QString() << 0;
    QTest::newRow("another archive") << u"UPDATE Zelvoran SET Başlık = Başlık || ' 2'"_s << int(db::WriteConflict);
    QTest::newRow("the row id taken by a new song")
        << u"DELETE FROM Zelvoran WHERE Başlık = 'Ali'; INSERT INTO Zelvoran (rowid, Başlık) SELECT 2, 'Yeni'"_s
        << int(db::WriteConflict);
    QTest::newRow("the song deleted") << u"DELETE FROM Zelvoran WHERE Başlık = 'Ali'"_s << int(db::RecordDeleted);
}

// A delete removes the song that was read, never another that took its row id.
void TestChangedFile::deleteChecksTheRowItRead()
{
    QFETCH(QString, change);
    QFETCH(int, error);
    const QString other = m_dir->filePath(u"other.qel"_s);
    QVERIFY(QFile::copy(m_path, other));
    // Two commits more than the file gets below, so that the copy's change counter differs.
    db::Database::open(other)->executeNative(change + u"; PRAGMA user_version = 1; PRAGMA user_version = 2;"_s);

    auto db = db::Database::open(m_path);
    auto rs = db->openRecordset(u"SELECT * FROM Zelvoran ORDER BY Başlık"_s);
    QCOMPARE(rs->text(u"Başlık"_s), u"Ali"_s);
    QCOMPARE(rs->bookmark(), db::Bookmark(2));
    // This program writes another row meanwhile.
    db->execute(u"UPDATE Zelvoran SET Türü = 'Halay' WHERE Başlık = 'Ilgaz'"_s);
    QVERIFY(fault::overwriteInPlace(m_path, other));
    const QByteArray before = bytesOf(m_path);
    QVERIFY_DB_ERROR(rs->deleteRecord(), error);
    if (error != 0) {
        QCOMPARE(bytesOf(m_path), before);
        QCOMPARE(rs->recordCount(), 6);
    } else {
        QCOMPARE(
            fixture::column(*db::Database::open(m_path), u"SELECT * FROM Zelvoran WHERE Başlık = 'Ali'"_s, u"Başlık"_s),
            QStringList());
    }
}

void TestChangedFile::storedBytesAreKept_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("bytes"); // hex
    QTest::newRow("a surrogate in the region") << u"Yöresi"_s << u"41EDA08042"_s;
    QTest::newRow("a lone continuation byte in the lyrics") << u"Sözler"_s << u"4180"_s;
    QTest::newRow("a cut sequence in a credit") << u"KaynakKişi"_s << u"41C3"_s;
    QTest::newRow("a byte order mark first") << u"Söz"_s << u"EFBBBF41"_s;
}

// Bytes another tool wrote that are not UTF-8 (or read otherwise, as a leading byte
// order mark): the row is still the row that was read, a save of another field and a
// delete go through, and the bytes stay as they are.
void TestChangedFile::storedBytesAreKept()
{
    QFETCH(QString, field);
    QFETCH(QString, bytes);
    auto db = db::Database::open(m_path);
    db->executeNative(u"UPDATE Zelvoran SET \"%1\" = CAST(X'%2' AS TEXT) WHERE Başlık = 'Ali'"_s.arg(field, bytes));
    auto hexOf = [&]() -> QString {
        auto rs = db->openRecordset(
            u"SELECT hex([%1]) AS h, typeof([%1]) AS t FROM Zelvoran WHERE Başlık = 'Ali'"_s.arg(field));
        return rs->text(u"h"_s) + u' ' + rs->text(u"t"_s);
    };
    const QString stored = bytes + u" text"_s;
    QCOMPARE(hexOf(), stored);

    auto rs = db->openRecordset(u"SELECT * FROM Zelvoran ORDER BY Başlık"_s);
    QCOMPARE(rs->text(u"Başlık"_s), u"Ali"_s);
    rs->edit();
    rs->setField(u"Açıklama"_s, u"bir"_s);
    rs->update();
    // A second save of the same record, now that this program wrote it.
    rs->edit();
    rs->setField(u"Açıklama"_s, u"iki"_s);
    rs->update();
    QCOMPARE(hexOf(), stored);
    // Read ahead with the keys, and one by one after a write.
    auto again = db->openRecordset(u"SELECT * FROM Zelvoran ORDER BY Başlık"_s);
    again->edit();
    again->setField(u"Türü"_s, u"Halay"_s);
    again->update();
    QCOMPARE(hexOf(), stored);
    QCOMPARE(fixture::column(*db, u"SELECT * FROM Zelvoran WHERE Başlık = 'Ali'"_s, u"Açıklama"_s),
             QStringList{u"iki"_s});
    again->deleteRecord();
    QCOMPARE(again->recordCount(), 5);
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
