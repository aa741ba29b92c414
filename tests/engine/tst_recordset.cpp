#include "database.h"
#include "recordset.h"
#include "songfixture.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// Moves, positions, finding, bookmarks and edits of recordsets on a song database file.
class TestRecordset : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void moves_data();
    void moves();
    void emptyRecordset_data();
    void emptyRecordset();
    void fieldsByName();
    void cloneFindBookmark();
    void editWritesOnlyTheSetFields();
    void failedUpdateKeepsTheEdit();
    void addNew();
    void deleteRecord();
    void seesChangesOfAnotherConnection();
    void requery();
    void parameters();
    void parameterErrors_data();
    void parameterErrors();
    void reusedTextSeesSchemaChange();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
    std::shared_ptr<db::Database> m_db;
};

void TestRecordset::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_path = fixture::makeSongDatabase(m_dir->path());
    m_db = db::Database::open(m_path);
}

void TestRecordset::cleanup()
{
    m_db.reset();
    m_dir.reset();
}

void TestRecordset::moves_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<bool>("updatable");
    QTest::newRow("table, in stored order")
        << u"zelvoran"_s << u"Başlık"_s
        << QStringList{u"Şu Dağlar"_s, u"Ali"_s, u"Yemen Türküsü"_s, u"Çanakkale İçinde"_s, u"Ilgaz"_s, u"Sarı Gelin"_s}
        << true;
    QTest::newRow("select on one table") << u"SELECT Zelvoran.Başlık FROM zelvoran ORDER BY Başlık"_s << u"Başlık"_s
                                         << fixture::titles() << true;
    QTest::newRow("grouped snapshot") << u"SELECT Türü2 FROM Zelvoran GROUP BY Türü2 ORDER BY Türü2"_s << u"türü2"_s
                                      << QStringList{u"<null>"_s, u""_s, u"Kırık Hava"_s, u"Uzun Hava"_s} << false;
}

void TestRecordset::moves()
{
    QFETCH(QString, source);
    QFETCH(QString, field);
    QFETCH(QStringList, rows);
    QFETCH(bool, updatable);
    auto rs = m_db->openRecordset(source);
    const int n = int(rows.size());
    QCOMPARE(rs->updatable(), updatable);
    QCOMPARE(rs->recordCount(), n);

    // Standing on the first record after opening.
    QVERIFY(!rs->bof() && !rs->eof());
    QCOMPARE(rs->absolutePosition(), 0);
    QCOMPARE(fixture::column(*rs, field), rows);

    // Walking off the end, then back.
    QVERIFY(rs->eof() && !rs->bof());
    QCOMPARE(rs->absolutePosition(), -1);
    QVERIFY_DB_ERROR(rs->field(field), db::NoCurrentRecord);
    QVERIFY_DB_ERROR(rs->moveNext(), db::NoCurrentRecord);
    rs->movePrevious();
    QCOMPARE(rs->absolutePosition(), n - 1);
    rs->moveFirst();
    rs->movePrevious();
    QVERIFY(rs->bof() && !rs->eof());
    QVERIFY_DB_ERROR(rs->movePrevious(), db::NoCurrentRecord);
    QVERIFY_DB_ERROR(rs->bookmark(), db::NoCurrentRecord);
    rs->moveNext();
    QCOMPARE(rs->absolutePosition(), 0);

    rs->moveLast();
    QCOMPARE(rs->absolutePosition(), n - 1);
    QCOMPARE(rs->recordCount(), n);
    rs->setAbsolutePosition(2);
    QCOMPARE(rs->absolutePosition(), 2);
    const QVariant third = rs->field(field);
    QCOMPARE(third.isNull() ? u"<null>"_s : third.toString(), rows.at(2));
    QVERIFY_DB_ERROR(rs->setAbsolutePosition(n), db::InvalidArgument);
    QVERIFY_DB_ERROR(rs->setAbsolutePosition(-1), db::InvalidArgument);
    QCOMPARE(rs->absolutePosition(), 2);

    // Bookmarks work on both kinds.
    const db::Bookmark b = rs->bookmark();
    rs->moveFirst();
    rs->setBookmark(b);
    QCOMPARE(rs->absolutePosition(), 2);
}

void TestRecordset::emptyRecordset_data()
{
    QTest::addColumn<QString>("source");
    QTest::newRow("keyset") << u"SELECT * FROM Zelvoran WHERE Başlık = 'yok'"_s;
    QTest::newRow("snapshot") << u"SELECT Türü FROM Zelvoran WHERE Başlık = 'yok' GROUP BY Türü"_s;
}

void TestRecordset::emptyRecordset()
{
    QFETCH(QString, source);
    auto rs = m_db->openRecordset(source);
    QVERIFY(rs->eof() && rs->bof());
    QCOMPARE(rs->recordCount(), 0);
    QCOMPARE(rs->absolutePosition(), -1);
    QVERIFY_DB_ERROR(rs->moveFirst(), db::NoCurrentRecord);
    QVERIFY_DB_ERROR(rs->moveLast(), db::NoCurrentRecord);
    QVERIFY_DB_ERROR(rs->moveNext(), db::NoCurrentRecord);
    QVERIFY_DB_ERROR(rs->movePrevious(), db::NoCurrentRecord);
    QVERIFY_DB_ERROR(rs->setAbsolutePosition(0), db::InvalidArgument);
    QVERIFY_DB_ERROR(rs->field(u"Türü"_s), db::NoCurrentRecord);
}

void TestRecordset::fieldsByName()
{
    auto rs = m_db->openRecordset(u"SELECT Zelvoran.Başlık, zelvoran.yöresi, Len(Başlık) AS n FROM zelvoran "
                                  "WHERE Başlık = 'Ali'"_s);
    QCOMPARE(rs->fieldNames(), (QStringList{u"Başlık"_s, u"Yöresi"_s, u"n"_s}));
    QCOMPARE(rs->text(u"BAŞLIK"_s), u"Ali"_s);
    QCOMPARE(rs->text(u"YÖRESİ"_s), u"İzmir"_s);
    QCOMPARE(rs->field(u"N"_s).toInt(), 3);
    QVERIFY(rs->hasField(u"başlık"_s));
    QVERIFY(!rs->hasField(u"BASLIK"_s));
    QVERIFY_DB_ERROR(rs->field(u"Baslik"_s), db::ItemNotFound);
    QVERIFY_DB_ERROR(rs->field(u"Sözler"_s), db::ItemNotFound);
    rs->edit();
    QVERIFY_DB_ERROR(rs->setField(u"Sözler"_s, u"x"_s), db::ItemNotFound);
    rs->cancelUpdate();
}

void TestRecordset::cloneFindBookmark()
{
    auto rs = m_db->openRecordset(u"SELECT * FROM Zelvoran ORDER BY Başlık"_s);
    rs->moveLast();
    auto copy = rs->clone();
    QCOMPARE(copy->absolutePosition(), 0);
    QCOMPARE(rs->absolutePosition(), 5);

    copy->findFirst(u"[Başlık] = 'SARI GELİN'"_s);
    QVERIFY(!copy->noMatch());
    QCOMPARE(copy->text(u"Başlık"_s), u"Sarı Gelin"_s);
    QCOMPARE(copy->absolutePosition(), 3);
    rs->setBookmark(copy->bookmark());
    QCOMPARE(rs->absolutePosition(), 3);
    QCOMPARE(rs->text(u"Başlık"_s), u"Sarı Gelin"_s);

    // The first match in the recordset's own order, not the table's.
    copy->findFirst(u"Türü = 'Ağıt'"_s);
    QCOMPARE(copy->text(u"Başlık"_s), u"Çanakkale İçinde"_s);

    copy->findFirst(u"[Başlık] = 'yok'"_s);
    QVERIFY(copy->noMatch());
    QCOMPARE(copy->absolutePosition(), 1);
    QVERIFY_DB_ERROR(copy->findFirst(u"[Başlık] = 'a'b'"_s), db::ExpressionSyntaxError);
    QVERIFY_DB_ERROR(copy->findFirst(u"[Yok] = 1"_s), db::ExpressionSyntaxError);
    QVERIFY_DB_ERROR(rs->setBookmark(987654), db::InvalidArgument);
    QCOMPARE(rs->absolutePosition(), 3);
}

void TestRecordset::editWritesOnlyTheSetFields()
{
    auto rs = m_db->openRecordset(u"SELECT * FROM Zelvoran WHERE Başlık = 'Ali'"_s);
    auto other = db::Database::open(m_path);
    rs->edit();
    QCOMPARE(rs->editMode(), db::Recordset::EditMode::Edit);
    // Another connection changes a field this edit does not touch.
    other->execute(u"UPDATE Zelvoran SET Sözler = 'yeni sözler' WHERE Başlık = 'Ali'"_s);
    rs->setField(u"yöresi"_s, u"Manisa"_s);
    rs->setField(u"Türü"_s, QVariant());
    QCOMPARE(rs->text(u"Yöresi"_s), u"Manisa"_s);
    rs->update();
    QCOMPARE(rs->editMode(), db::Recordset::EditMode::None);

    auto check = other->openRecordset(u"SELECT * FROM Zelvoran WHERE Başlık = 'Ali'"_s);
    QCOMPARE(check->text(u"Yöresi"_s), u"Manisa"_s);
    QVERIFY(check->field(u"Türü"_s).isNull());
    QCOMPARE(check->text(u"Sözler"_s), u"yeni sözler"_s);
    QCOMPARE(check->text(u"Söz"_s), u"Aşık Veysel"_s);

    // A snapshot is never written.
    auto snapshot = m_db->openRecordset(u"SELECT Türü FROM Zelvoran GROUP BY Türü"_s);
    QVERIFY_DB_ERROR(snapshot->edit(), db::ReadOnlyDatabase);
    QVERIFY_DB_ERROR(snapshot->addNew(), db::ReadOnlyDatabase);
}

void TestRecordset::failedUpdateKeepsTheEdit()
{
    auto rs = m_db->openRecordset(u"SELECT * FROM Zelvoran ORDER BY Başlık"_s);
    rs->edit();
    rs->setField(u"Başlık"_s, u"ILGAZ"_s);
    rs->setField(u"Yöresi"_s, u"Manisa"_s);
    QVERIFY_DB_ERROR(rs->update(), db::DuplicateKey);
    QCOMPARE(rs->editMode(), db::Recordset::EditMode::Edit);
    rs->setField(u"Başlık"_s, u"Ali Efe"_s);
    rs->update();
    QCOMPARE(rs->text(u"Başlık"_s), u"Ali Efe"_s);
    QCOMPARE(rs->text(u"Yöresi"_s), u"Manisa"_s);
}

void TestRecordset::addNew()
{
    auto rs = m_db->openRecordset(u"SELECT * FROM Zelvoran WHERE Yöresi = 'izmir' ORDER BY Başlık"_s);
    QCOMPARE(rs->recordCount(), 2);
    rs->moveNext();
    QCOMPARE(rs->text(u"Başlık"_s), u"Şu Dağlar"_s);

    rs->addNew();
    QVERIFY(rs->field(u"Başlık"_s).isNull());
    rs->setField(u"Başlık"_s, u"ALİ"_s);
    QVERIFY_DB_ERROR(rs->update(), db::DuplicateKey); // the same title as Ali
    rs->setField(u"Başlık"_s, u"Zeybek"_s);
    rs->update();
    QCOMPARE(rs->recordCount(), 3);
    QCOMPARE(rs->text(u"Başlık"_s), u"Şu Dağlar"_s); // still on the record before
    rs->moveNext();
    QCOMPARE(rs->text(u"Başlık"_s), u"Zeybek"_s); // appended, though it does not match
    QVERIFY(rs->field(u"Yöresi"_s).isNull());
    rs->moveNext();
    QVERIFY(rs->eof());
    QCOMPARE(m_db->openRecordset(u"Zelvoran"_s)->recordCount(), 7);
}

void TestRecordset::deleteRecord()
{
    auto rs = m_db->openRecordset(u"SELECT * FROM Zelvoran ORDER BY Başlık"_s);
    rs->setAbsolutePosition(2);
    QCOMPARE(rs->text(u"Başlık"_s), u"Ilgaz"_s);
    rs->deleteRecord();
    QCOMPARE(rs->absolutePosition(), -1);
    QCOMPARE(rs->recordCount(), 5);
    QVERIFY_DB_ERROR(rs->field(u"Başlık"_s), db::NoCurrentRecord);
    QVERIFY_DB_ERROR(rs->deleteRecord(), db::NoCurrentRecord);
    rs->moveNext();
    QCOMPARE(rs->text(u"Başlık"_s), u"Sarı Gelin"_s);
    QCOMPARE(rs->absolutePosition(), 2);

    rs->moveLast();
    rs->deleteRecord();
    QVERIFY(!rs->eof());
    rs->moveNext();
    QVERIFY(rs->eof());
    rs->movePrevious();
    QCOMPARE(rs->text(u"Başlık"_s), u"Şu Dağlar"_s);
    QCOMPARE(fixture::column(*m_db, u"SELECT Başlık FROM Zelvoran ORDER BY Başlık"_s, u"Başlık"_s),
             (QStringList{u"Ali"_s, u"Çanakkale İçinde"_s, u"Sarı Gelin"_s, u"Şu Dağlar"_s}));
}

void TestRecordset::seesChangesOfAnotherConnection()
{
    auto rs = m_db->openRecordset(u"SELECT * FROM Zelvoran ORDER BY Başlık"_s);
    auto snapshot = m_db->openRecordset(u"SELECT Başlık, Yöresi FROM Zelvoran GROUP BY Başlık, Yöresi"_s);
    QCOMPARE(rs->text(u"Yöresi"_s), u"İzmir"_s);
    QCOMPARE(snapshot->text(u"Yöresi"_s), u"İzmir"_s);

    auto other = db::Database::open(m_path);
    other->execute(u"UPDATE Zelvoran SET Yöresi = 'Sivas' WHERE Başlık = 'Ali'"_s);
    QCOMPARE(rs->text(u"Yöresi"_s), u"Sivas"_s);
    QCOMPARE(snapshot->text(u"Yöresi"_s), u"İzmir"_s);

    other->execute(u"DELETE FROM Zelvoran WHERE Başlık = 'Ali'"_s);
    QVERIFY_DB_ERROR(rs->field(u"Yöresi"_s), db::RecordDeleted);
    QVERIFY_DB_ERROR(rs->edit(), db::RecordDeleted);
    rs->moveNext();
    QCOMPARE(rs->text(u"Başlık"_s), u"Çanakkale İçinde"_s);
    QCOMPARE(rs->recordCount(), 6);
}

void TestRecordset::requery()
{
    auto rs = m_db->openRecordset(u"SELECT * FROM Zelvoran WHERE Türü = 'zeybek' ORDER BY Başlık"_s);
    auto grouped = m_db->openRecordset(u"SELECT Türü FROM Zelvoran GROUP BY Türü"_s);
    QCOMPARE(rs->recordCount(), 2);
    QCOMPARE(grouped->recordCount(), 4);
    rs->moveLast();
    m_db->execute(u"UPDATE Zelvoran SET Türü = 'ZEYBEK' WHERE Başlık = 'Sarı Gelin'"_s);
    m_db->execute(u"INSERT INTO Zelvoran (Başlık, Türü) VALUES ('Efe', 'Horon')"_s);
    QCOMPARE(rs->recordCount(), 2);
    rs->requery();
    grouped->requery();
    QCOMPARE(rs->absolutePosition(), 0);
    QCOMPARE(fixture::column(*rs, u"Başlık"_s), (QStringList{u"Ali"_s, u"Ilgaz"_s, u"Sarı Gelin"_s}));
    const QStringList kinds = fixture::column(*grouped, u"Türü"_s);
    QCOMPARE(kinds.size(), 4); // '' joined Zeybek, Horon came
    QVERIFY(kinds.contains(u"Horon"_s));
    QVERIFY(!kinds.contains(QString()));
}

// Values bound to ? placeholders: compared by the column's rule, never read as SQL, and
// the same text with other values gives other rows.
void TestRecordset::parameters()
{
    const QString byRegion = u"SELECT * FROM Zelvoran WHERE Yöresi = ? ORDER BY Başlık"_s;
    auto rs = m_db->openRecordset(byRegion, {u"İZMİR"_s});
    QVERIFY(rs->updatable());
    QCOMPARE(fixture::column(*rs, u"Başlık"_s), (QStringList{u"Ali"_s, u"Şu Dağlar"_s}));
    QCOMPARE(fixture::column(*m_db->openRecordset(byRegion, {u"Tokat"_s}), u"Başlık"_s),
             QStringList{u"Yemen Türküsü"_s});
    QCOMPARE(m_db->openRecordset(byRegion, {u"x' OR '1'='1"_s})->recordCount(), 0);
    QCOMPARE(m_db->openRecordset(byRegion, {QVariant()})->recordCount(), 0);

    // Requery and clones keep the values.
    m_db->execute(u"UPDATE Zelvoran SET Yöresi = 'izmir' WHERE Başlık = 'Ilgaz'"_s);
    rs->requery();
    QCOMPARE(fixture::column(*rs, u"Başlık"_s), (QStringList{u"Ali"_s, u"Ilgaz"_s, u"Şu Dağlar"_s}));
    auto copy = rs->clone();
    copy->requery();
    QCOMPARE(copy->recordCount(), 3);

    // A placeholder in the select list: a read-only snapshot with the value in every row.
    auto listed = m_db->openRecordset(u"SELECT ? AS etiket, Başlık FROM Zelvoran WHERE Türü = ? ORDER BY Başlık"_s,
                                      {u"ağıt"_s, u"AĞIT"_s});
    QVERIFY(!listed->updatable());
    QCOMPARE(fixture::column(*listed, u"etiket"_s), (QStringList{u"ağıt"_s, u"ağıt"_s}));
    QCOMPARE(fixture::column(*listed, u"Başlık"_s), (QStringList{u"Çanakkale İçinde"_s, u"Yemen Türküsü"_s}));
}

void TestRecordset::parameterErrors_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("values");
    QTest::addColumn<int>("error");
    QTest::newRow("a value missing") << u"SELECT * FROM Zelvoran WHERE Türü = ? OR Söz = ?"_s << 1
                                     << int(db::TooFewParameters);
    QTest::newRow("no placeholder") << u"SELECT * FROM Zelvoran"_s << 1 << int(db::InvalidArgument);
    QTest::newRow("a value too many") << u"SELECT * FROM Zelvoran WHERE Türü = ?"_s << 2 << int(db::InvalidArgument);
    QTest::newRow("a snapshot") << u"SELECT Türü FROM Zelvoran WHERE Türü <> ? GROUP BY Türü"_s << 0
                                << int(db::TooFewParameters);
    QTest::newRow("a table name") << u"Zelvoran"_s << 1 << int(db::InvalidArgument);
}

void TestRecordset::parameterErrors()
{
    QFETCH(QString, source);
    QFETCH(int, values);
    QFETCH(int, error);
    QVERIFY_DB_ERROR(m_db->openRecordset(source, QVariantList(values, u"Zeybek"_s)), error);
    // The statement given back after the failure serves the right count next time.
    if (error == db::TooFewParameters && values > 0)
        QCOMPARE(m_db->openRecordset(source, QVariantList(values + 1, u"Zeybek"_s))->recordCount(), 2);
}

// A text read again after the table changed reads the table as it is now.
void TestRecordset::reusedTextSeesSchemaChange()
{
    const QString text = u"SELECT * FROM Zelvoran WHERE Başlık = ?"_s;
    QVERIFY(!m_db->openRecordset(text, {u"Ali"_s})->hasField(u"yeni"_s));
    m_db->executeNative(u"ALTER TABLE Zelvoran ADD COLUMN yeni TEXT COLLATE TURKCE"_s);
    m_db->execute(u"UPDATE Zelvoran SET yeni = 'var'"_s);
    auto rs = m_db->openRecordset(text, {u"Ali"_s});
    QCOMPARE(rs->text(u"YENİ"_s), u"var"_s);
    m_db->executeNative(u"DROP TABLE Zelvoran"_s);
    QVERIFY_DB_ERROR(m_db->openRecordset(text, {u"Ali"_s}), db::ObjectNotFound);
}

QTEST_GUILESS_MAIN(TestRecordset)
#include "tst_recordset.moc"
