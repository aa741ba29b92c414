#include "boundbox.h"
#include "database.h"
#include "datacontrol.h"
#include "faultfile.h"
#include "recordset.h"
#include "songfixture.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The data control: bound boxes filled on every move, changed boxes saved before it.
class TestDataControl : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void showsAndFollowsMoves();
    void writesOnlyChangedBoxes();
    void refusedSaveCancelsTheMove();
    void saveOverACopiedFileIsRefused();
    void refusedSaveStaysRefused_data();
    void refusedSaveStaysRefused();
    void readOnlyNeverWrites();
    void refresh();

private:
    QString valueOf(const QString &title, const QString &field);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
    std::unique_ptr<db::DataControl> m_data;
    Box m_title{u"Başlık"_s};
    Box m_region{u"yöresi"_s};
    Box m_lyrics{u"Sözler"_s};
    Box m_missing{u"Olmayan"_s};
};

void TestDataControl::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_path = fixture::makeSongDatabase(m_dir->path());
    m_data = std::make_unique<db::DataControl>();
    for (Box *b : {&m_title, &m_region, &m_lyrics, &m_missing})
        m_data->addBinding(b);
    m_data->setDatabaseName(m_path);
    m_data->setRecordSource(u"SELECT * FROM Zelvoran ORDER BY Başlık"_s);
}

void TestDataControl::cleanup()
{
    m_data.reset();
    m_dir.reset();
}

QString TestDataControl::valueOf(const QString &title, const QString &field)
{
    auto db = db::Database::open(m_path);
    auto rs = db->openRecordset(u"SELECT * FROM Zelvoran WHERE Başlık = '"_s + title + u'\'');
    return rs->eof() ? u"<yok>"_s : rs->text(field);
}

void TestDataControl::showsAndFollowsMoves()
{
    QSignalSpy reposition(m_data.get(), &db::DataControl::reposition);
    m_data->refresh();
    QCOMPARE(reposition.count(), 1);
    QCOMPARE(m_title.text(), u"Ali"_s);
    QCOMPARE(m_region.text(), u"İzmir"_s);
    QVERIFY(m_missing.isNull());

    db::Recordset *rs = m_data->recordset();
    rs->moveNext();
    QCOMPARE(m_title.text(), u"Çanakkale İçinde"_s);
    rs->setAbsolutePosition(4);
    QCOMPARE(m_title.text(), u"Şu Dağlar"_s);
    auto copy = rs->clone();
    copy->findFirst(u"[Başlık] = 'Ilgaz'"_s);
    rs->setBookmark(copy->bookmark());
    QCOMPARE(m_title.text(), u"Ilgaz"_s);
    QVERIFY(m_region.text().isEmpty() && !m_region.isNull()); // the empty text, not Null
    rs->findFirst(u"[Başlık] = 'Yemen Türküsü'"_s);
    QCOMPARE(m_title.text(), u"Yemen Türküsü"_s);
    rs->requery();
    QCOMPARE(m_title.text(), u"Ali"_s);
    rs->moveLast();
    rs->moveNext(); // to EOF: the boxes empty
    QVERIFY(m_title.isNull());
    QCOMPARE(reposition.count(), 8); // the clone's find moved only the clone

    m_data->close();
    QVERIFY(!m_data->recordset());
    QVERIFY(!m_data->database());
}

void TestDataControl::writesOnlyChangedBoxes()
{
    m_data->refresh();
    // Another connection changes the lyrics the box still shows.
    auto other = db::Database::open(m_path);
    other->execute(u"UPDATE Zelvoran SET Sözler = 'başka sözler' WHERE Başlık = 'Ali'"_s);
    m_region.type(u"Manisa"_s);
    m_missing.type(u"yazılamaz"_s);
    QVERIFY(m_data->hasPendingEdit());
    m_data->recordset()->moveNext();
    QCOMPARE(valueOf(u"Ali"_s, u"Yöresi"_s), u"Manisa"_s);
    QCOMPARE(valueOf(u"Ali"_s, u"Sözler"_s), u"başka sözler"_s);
    QVERIFY(!m_data->hasPendingEdit());

    // An empty box writes the empty text, not Null.
    m_region.type(QString());
    m_data->saveRecord();
    QCOMPARE(valueOf(u"Çanakkale İçinde"_s, u"Yöresi"_s), QString());
    m_data->recordset()->movePrevious();
    QCOMPARE(m_region.text(), u"Manisa"_s);
}

void TestDataControl::refusedSaveCancelsTheMove()
{
    QSignalSpy reposition(m_data.get(), &db::DataControl::reposition);
    m_data->refresh();
    m_title.type(u"ILGAZ"_s);
    m_region.type(u"Manisa"_s);
    int number = 0, cause = 0;
    try {
        m_data->recordset()->moveNext();
    } catch (const db::Error &e) {
        number = e.number();
        cause = e.causeNumber();
    }
    QCOMPARE(number, int(db::MoveCancelled));
    QCOMPARE(cause, int(db::DuplicateKey));
    QCOMPARE(m_data->recordset()->absolutePosition(), 0);
    QCOMPARE(m_data->recordset()->editMode(), db::Recordset::EditMode::None);
    QCOMPARE(m_title.text(), u"ILGAZ"_s);
    QVERIFY(m_title.isChanged());
    QCOMPARE(reposition.count(), 1);
    QCOMPARE(valueOf(u"Ali"_s, u"Yöresi"_s), u"İzmir"_s);

    m_title.type(u"Ali Efe"_s);
    m_data->recordset()->moveNext();
    QCOMPARE(reposition.count(), 2);
    QCOMPARE(valueOf(u"Ali Efe"_s, u"Yöresi"_s), u"Manisa"_s);
}

// Another program copies an archive over the open one: the pending edit would land on
// whichever song now has the row id.
void TestDataControl::saveOverACopiedFileIsRefused()
{
    const QString other = m_dir->filePath(u"other.qel"_s);
    QVERIFY(QFile::copy(m_path, other));
    db::Database::open(other)->execute(u"UPDATE Zelvoran SET Başlık = 'Başka ' || Başlık"_s);
    m_data->refresh();
    QVERIFY(fault::overwriteInPlace(m_path, other));
    m_region.type(u"Manisa"_s);
    int number = 0, cause = 0;
    try {
        m_data->recordset()->moveNext();
    } catch (const db::Error &e) {
        number = e.number();
        cause = e.causeNumber();
    }
    QCOMPARE(number, int(db::MoveCancelled));
    QCOMPARE(cause, int(db::WriteConflict));
    QCOMPARE(m_data->recordset()->absolutePosition(), 0);
    QCOMPARE(m_region.text(), u"Manisa"_s);
    QCOMPARE(valueOf(u"Başka Ali"_s, u"Yöresi"_s), u"İzmir"_s);
}

void TestDataControl::refusedSaveStaysRefused_data()
{
    QTest::addColumn<QString>("change"); // SQL run on a copy that is then copied over the file
    QTest::addColumn<int>("cause");
    QTest::addColumn<QString>("shownAfterEscape");
    QTest::newRow("another archive") << u"UPDATE Zelvoran SET Başlık = 'Başka ' || Başlık"_s << int(db::WriteConflict)
                                     << u"Başka Ali"_s;
    QTest::newRow("the row id taken by a new song")
        << u"DELETE FROM Zelvoran WHERE Başlık = 'Ali'; INSERT INTO Zelvoran (rowid, Başlık, Yöresi) "
           "SELECT 2, 'Yeni', 'Sivas'"_s
        << int(db::WriteConflict) << u"Yeni"_s;
    QTest::newRow("the song deleted") << u"DELETE FROM Zelvoran WHERE Başlık = 'Ali'"_s << int(db::RecordDeleted)
                                      << QString();
}

// A save refused because the row changed elsewhere is refused on every later move too,
// whatever this program writes meanwhile; dropping the edit gets the user out.
void TestDataControl::refusedSaveStaysRefused()
{
    QFETCH(QString, change);
    QFETCH(int, cause);
    QFETCH(QString, shownAfterEscape);
    const QString other = m_dir->filePath(u"other.qel"_s);
    QVERIFY(QFile::copy(m_path, other));
    QCOMPARE(db::Database::open(other)
                 ->openRecordset(u"SELECT rowid FROM Zelvoran WHERE Başlık = 'Ali'"_s)
                 ->field(u"rowid"_s)
                 .toInt(),
             2);
    db::Database::open(other)->executeNative(change);
    m_data->refresh();
    QCOMPARE(m_title.text(), u"Ali"_s);
    QVERIFY(fault::overwriteInPlace(m_path, other));
    m_region.type(u"Manisa"_s);
    for (int move = 0; move < 2; ++move) {
        int number = 0, got = 0;
        try {
            m_data->recordset()->moveNext();
        } catch (const db::Error &e) {
            number = e.number();
            got = e.causeNumber();
        }
        QCOMPARE(number, int(db::MoveCancelled));
        QCOMPARE(got, cause);
        QCOMPARE(m_data->recordset()->absolutePosition(), 0);
        // This program writes another row between the two moves.
        db::Database::open(m_path)->execute(u"UPDATE Zelvoran SET Türü = 'Halay' WHERE Başlık = 'Ilgaz'"_s);
    }
    auto check = db::Database::open(m_path);
    QCOMPARE(fixture::column(*check, u"SELECT * FROM Zelvoran WHERE Yöresi = 'Manisa'"_s, u"Başlık"_s), QStringList());

    m_data->cancelEdit();
    QVERIFY(!m_data->hasPendingEdit());
    QCOMPARE(m_title.text(), shownAfterEscape);
    QCOMPARE(m_region.text(), shownAfterEscape == u"Yeni"_s ? u"Sivas"_s
                              : shownAfterEscape.isEmpty()  ? QString()
                                                            : u"İzmir"_s);
    m_data->recordset()->moveNext();
    QCOMPARE(m_data->recordset()->absolutePosition(), 1);
    QCOMPARE(fixture::column(*check, u"SELECT * FROM Zelvoran WHERE Yöresi = 'Manisa'"_s, u"Başlık"_s), QStringList());
}

void TestDataControl::readOnlyNeverWrites()
{
    m_data->setReadOnly(true);
    m_data->refresh();
    m_region.type(u"Manisa"_s);
    QVERIFY(!m_data->hasPendingEdit());
    m_data->recordset()->moveNext();
    QCOMPARE(valueOf(u"Ali"_s, u"Yöresi"_s), u"İzmir"_s);
}

void TestDataControl::refresh()
{
    m_data->refresh();
    const auto firstDb = m_data->database();
    m_data->recordset()->moveLast();

    // A refresh saves first, then stands on the first record of the new source.
    m_region.type(u"Sivas"_s);
    m_data->setRecordSource(u"SELECT * FROM Zelvoran WHERE yöresi = 'İZMİR' ORDER BY Başlık DESC"_s);
    m_data->refresh();
    QCOMPARE(valueOf(u"Yemen Türküsü"_s, u"Yöresi"_s), u"Sivas"_s);
    QCOMPARE(m_data->recordset()->recordCount(), 2);
    QCOMPARE(m_title.text(), u"Şu Dağlar"_s);
    QCOMPARE(m_data->database(), firstDb);

    // A refresh that fails changes nothing.
    m_data->setRecordSource(u"olmayan"_s);
    QVERIFY_DB_ERROR(m_data->refresh(), db::ObjectNotFound);
    QCOMPARE(m_data->recordset()->recordCount(), 2);
    QCOMPARE(m_title.text(), u"Şu Dağlar"_s);

    // A refused save stops the refresh.
    m_title.type(u"ali"_s);
    m_data->setRecordSource(u"Zelvoran"_s);
    QVERIFY_DB_ERROR(m_data->refresh(), db::MoveCancelled);
    QCOMPARE(m_data->recordset()->recordCount(), 2);
    m_data->showRecord();
    QCOMPARE(m_title.text(), u"Şu Dağlar"_s);

    // Another file: another connection.
    const QString second = fixture::makeSongDatabase(m_dir->path(), u"ikinci.qel"_s);
    auto db2 = db::Database::open(second);
    db2->execute(u"DELETE FROM Zelvoran WHERE Başlık <> 'Ilgaz'"_s);
    m_data->setDatabaseName(second);
    m_data->refresh();
    QVERIFY(m_data->database() != firstDb);
    QCOMPARE(m_data->database()->name(), second);
    QCOMPARE(m_title.text(), u"Ilgaz"_s);

    // An empty source: no recordset, empty boxes.
    m_data->setRecordSource(QString());
    m_data->refresh();
    QVERIFY(!m_data->recordset());
    QVERIFY(m_title.isNull());
}

QTEST_GUILESS_MAIN(TestDataControl)
#include "tst_datacontrol.moc"
