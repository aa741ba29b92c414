#include "database.h"
#include "faultfile.h"
#include "recordset.h"
#include "songfixture.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

#include <functional>

using namespace Qt::StringLiterals;

// Failures of the engine that a user can reach on real files: each arrives as its own
// number with a Turkish sentence that says what to do; the engine's English may follow
// only in brackets.
class TestErrors : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void failureSpeaksTurkish_data();
    void failureSpeaksTurkish();
    void lockIsReportedOncePromptly();
    void movesOnALockedFile();

private:
    // A second connection, as another program holds it.
    sqlite3 *other();

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
    sqlite3 *m_other = nullptr;
};

namespace {

// The text with every bracketed part taken out.
QString outsideBrackets(const QString &text)
{
    return QString(text).remove(QRegularExpression(u"\\([^()]*\\)"_s));
}

const QStringList kEnglish = {u"database"_s,   u"locked"_s,  u"unable"_s,   u"no such"_s, u"too big"_s,
                              u"authorized"_s, u"attempt"_s, u"readonly"_s, u"error"_s};

} // namespace

void TestErrors::initTestCase()
{
    fault::install();
}

void TestErrors::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_path = fixture::makeSongDatabase(m_dir->path());
}

void TestErrors::cleanup()
{
    if (m_other)
        sqlite3_close(m_other);
    m_other = nullptr;
    m_dir.reset();
}

sqlite3 *TestErrors::other()
{
    if (!m_other)
        sqlite3_open(m_path.toUtf8().constData(), &m_other);
    return m_other;
}

using Action = std::function<void(TestErrors *, const QString &path, sqlite3 *other)>;
Q_DECLARE_METATYPE(Action)

void TestErrors::failureSpeaksTurkish_data()
{
    QTest::addColumn<Action>("action");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("says"); // words of the sentence

    const auto update = [](const QString &path) {
        db::Database::open(path)->execute(u"UPDATE Zelvoran SET Yöresi = 'Sivas'"_s);
    };
    QTest::newRow("locked by another program") << Action([update](TestErrors *, const QString &path, sqlite3 *other) {
        QCOMPARE(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
        update(path);
    }) << int(db::Locked) << u"başka bir program tarafından kilitli"_s;
    QTest::newRow("read and write locked") << Action([](TestErrors *, const QString &path, sqlite3 *other) {
        QCOMPARE(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
        db::Database::open(path)->openRecordset(u"SELECT * FROM Zelvoran"_s);
    }) << int(db::Locked) << u"yeniden deneyin"_s;
    QTest::newRow("folder takes no journal") << Action([update](TestErrors *, const QString &path, sqlite3 *) {
        const fault::NoJournal refused(path);
        update(path);
    }) << int(db::NoJournal) << u"Klasöre yazma izni verin"_s;
    QTest::newRow("table dropped by another program") << Action([](TestErrors *, const QString &path, sqlite3 *other) {
        const auto db = db::Database::open(path);
        const QString sql = u"UPDATE Zelvoran SET Yöresi = ? WHERE Başlık = ?"_s;
        db->execute(sql, {u"Sivas"_s, u"yok"_s});
        QCOMPARE(sqlite3_exec(other, "DROP TABLE Zelvoran", nullptr, nullptr, nullptr), SQLITE_OK);
        db->execute(sql, {u"Sivas"_s, u"yok"_s});
    }) << int(db::ObjectNotFound) << u"'Zelvoran' adında bir tablo"_s;
    QTest::newRow("file emptied while open") << Action([](TestErrors *, const QString &path, sqlite3 *) {
        const auto db = db::Database::open(path);
        QVERIFY(fault::truncate(path, 0));
        db->openRecordset(u"SELECT Başlık FROM Zelvoran"_s);
    }) << int(db::ObjectNotFound) << u"bulunamadı"_s;
    QTest::newRow("value too big") << Action([](TestErrors *, const QString &path, sqlite3 *) {
        db::Database::open(path)->openRecordset(u"SELECT zeroblob(2000000000) AS x"_s);
    }) << int(db::ValueTooBig) << u"daha küçük bir sonuç"_s;
    QTest::newRow("extension not allowed") << Action([](TestErrors *, const QString &path, sqlite3 *) {
        db::Database::open(path)->openRecordset(u"SELECT load_extension('/tmp/x') AS x"_s);
    }) << int(db::NotAuthorized) << u"izin verilmiyor"_s;
    QTest::newRow("journal beside a read-only archive") << Action([](TestErrors *, const QString &path, sqlite3 *) {
        const QString copy = QFileInfo(path).absolutePath() + u"/kopya.qel"_s;
        QVERIFY(fault::leaveJournal(path, copy));
        db::Database::open(copy);
    }) << int(db::JournalToRecover) << u"bulunduğu klasöre yazma izni verip"_s;
}

void TestErrors::failureSpeaksTurkish()
{
    QFETCH(Action, action);
    QFETCH(int, number);
    QFETCH(QString, says);

    int got = 0;
    QString text;
    try {
        action(this, m_path, other());
    } catch (const db::Error &e) {
        got = e.number();
        text = e.description();
    }
    QCOMPARE(got, number);
    QVERIFY2(text.contains(says), qPrintable(text));
    const QString own = outsideBrackets(text).remove(m_dir->path());
    for (const QString &word : kEnglish)
        QVERIFY2(!own.contains(word, Qt::CaseInsensitive), qPrintable(text));
}

// One action that reads and writes several times on a locked file is refused within
// about a second in all, not after a wait per statement; once the lock goes, the same
// connection writes again.
void TestErrors::lockIsReportedOncePromptly()
{
    const auto db = db::Database::open(m_path);
    QCOMPARE(sqlite3_exec(other(), "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 3; ++i)
        QVERIFY_DB_ERROR(db->execute(u"UPDATE Zelvoran SET Yöresi = 'Sivas'"_s), db::Locked);
    QVERIFY_DB_ERROR(db->openRecordset(u"SELECT * FROM Zelvoran"_s), db::Locked);
    QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));

    QCOMPARE(sqlite3_exec(other(), "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
    QVERIFY(db->execute(u"UPDATE Zelvoran SET Yöresi = 'Sivas'"_s) > 0);
}

// A move to a row the locked file will not give, and a find on it, are refused as a lock:
// the record stays where it was and the criterion is not blamed.
void TestErrors::movesOnALockedFile()
{
    const auto db = db::Database::open(m_path);
    auto rs = db->openRecordset(u"Zelvoran"_s);
    QVERIFY(rs->recordCount() >= 3);
    const QString first = rs->text(u"Başlık"_s);
    auto copy = rs->clone();
    QCOMPARE(sqlite3_exec(other(), "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    QVERIFY_DB_ERROR(rs->setAbsolutePosition(2), db::Locked);
    QCOMPARE(rs->absolutePosition(), 0);
    QVERIFY_DB_ERROR(copy->findFirst(u"[Başlık] = 'yok'"_s), db::Locked);

    QCOMPARE(sqlite3_exec(other(), "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
    QCOMPARE(rs->text(u"Başlık"_s), first);
    rs->setAbsolutePosition(2);
    QCOMPARE(rs->absolutePosition(), 2);
    QVERIFY(rs->text(u"Başlık"_s) != first);
}

QTEST_GUILESS_MAIN(TestErrors)
#include "tst_errors.moc"
