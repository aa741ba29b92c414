#include "schema.h"

#include "database.h"
#include "dberror.h"
#include "recordset.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace schema {

namespace {

QString quoteName(const QString &name)
{
    return u'"' + QString(name).replace(u'"', u"\"\""_s) + u'"';
}

QString textColumns(const QStringList &names)
{
    QStringList columns;
    for (const QString &n : names)
        columns << quoteName(n) + u" TEXT COLLATE TURKCE"_s;
    return columns.join(u", "_s);
}

void addRow(db::Database &db, const QString &table, const QList<QPair<QString, QVariant>> &values)
{
    auto rs = db.openRecordset(table);
    rs->addNew();
    for (const auto &[field, value] : values)
        rs->setField(field, value);
    rs->update();
}

bool hasRows(db::Database &db, const QString &table)
{
    return !db.openRecordset(table)->eof();
}

// A group's titles in title order come from its index alone.
void createGroupIndexes(db::Database &db)
{
    for (const QString &f : groupedFields()) {
        const QString name = quoteName(u"Zelvoran_"_s + f);
        db.executeNative(u"DROP INDEX IF EXISTS "_s + name);
        db.executeNative(u"CREATE INDEX "_s + name + u" ON Zelvoran ("_s + quoteName(f) + u", \"Başlık\")"_s);
    }
}

} // namespace

const QStringList &groupedFields()
{
    static const QStringList fields = {u"Yöresi"_s,   u"Türü"_s, u"Türü2"_s, u"KaynakKişi"_s,
                                       u"Derleyen"_s, u"Söz"_s,  u"Müzik"_s};
    return fields;
}

QStringList songFields()
{
    return {u"Başlık"_s,    u"Sözler"_s, u"Yöresi"_s, u"Türü"_s,          u"Türü2"_s,       u"KaynakKişi"_s,
            u"Derleyen"_s,  u"Söz"_s,    u"Müzik"_s,  u"digerbilgiler"_s, u"Söyleyenler"_s, u"Açıklama"_s,
            u"girişmodu"_s, u"mp3_1"_s,  u"mp3_2"_s,  u"mp3_3"_s,         u"mp3_4"_s};
}

void createSongDatabase(db::Database &db)
{
    db::Database::Transaction tx(db);
    const QStringList others = songFields().mid(1);
    db.executeNative(u"CREATE TABLE Zelvoran (\"Başlık\" TEXT NOT NULL COLLATE TURKCE, "_s + textColumns(others)
                     + u')');
    db.executeNative(u"CREATE UNIQUE INDEX \"Zelvoran_Başlık\" ON Zelvoran (\"Başlık\")"_s);
    createGroupIndexes(db);
    db.executeNative(u"CREATE TABLE basharfler (basharf TEXT COLLATE TURKCE)"_s);
    db.executeNative(u"CREATE TABLE sozluk (Deyim TEXT COLLATE TURKCE, \"Acıklama\" TEXT COLLATE TURKCE)"_s);
    db.executeNative(u"CREATE TABLE ayarlar ("_s + textColumns({u"yol"_s, u"uzantı1"_s, u"uzantı2"_s, u"uzantı3"_s})
                     + u')');
    db.executeNative(u"CREATE TABLE muzik (yol TEXT COLLATE TURKCE, dosya TEXT COLLATE TURKCE, Rate INTEGER)"_s);

    // Setting a text first gives the query muzik's columns, which the empty text keeps.
    db.setQuerySql(u"arama"_s, u"select * from muzik"_s);
    db.setQuerySql(u"arama"_s, QString());

    addRow(db, u"ayarlar"_s,
           {{u"yol"_s, QString(u""_s)}, {u"uzantı1"_s, u"mp3"_s}, {u"uzantı2"_s, u"wav"_s}, {u"uzantı3"_s, u"wma"_s}});
    db.setUserVersion(kSongSchemaVersion);
    tx.commit();
}

void upgradeSongDatabase(db::Database &db)
{
    static_assert(kSongSchemaVersion >= db::Database::kCurrentOrderVersion);
    const db::Database::Order order = db.turkishOrder();
    try {
        const int version = db.userVersion();
        if (db.isReadOnly() || version >= kSongSchemaVersion)
            return;
        db::Database::Transaction tx(db);
        if (version < db::Database::kCurrentOrderVersion) {
            db.setTurkishOrder(db::Database::Order::Current);
            db.executeNative(u"REINDEX TURKCE"_s);
        }
        if (version < 2)
            createGroupIndexes(db);
        db.setUserVersion(kSongSchemaVersion);
        tx.commit();
    } catch (const db::Error &) {
        // Rolled back: the file keeps its former indexes, and their order.
        db.setTurkishOrder(order);
    }
}

void createSettingsDatabase(db::Database &db, const QString &songDatabasePath)
{
    db::Database::Transaction tx(db);
    db.executeNative(u"CREATE TABLE ayarlar (vtyol TEXT COLLATE TURKCE)"_s);
    db.executeNative(u"CREATE TABLE onsoz (vu TEXT COLLATE TURKCE, qel TEXT COLLATE TURKCE)"_s);
    addRow(db, u"ayarlar"_s, {{u"vtyol"_s, songDatabasePath.isEmpty() ? QVariant() : QVariant(songDatabasePath)}});
    addRow(db, u"onsoz"_s, {{u"vu"_s, QString(u""_s)}, {u"qel"_s, QString(u""_s)}});
    db.setUserVersion(kSettingsSchemaVersion);
    tx.commit();
}

std::optional<db::Error> repairSettingsDatabase(const QString &path)
{
    try {
        const QFileInfo info(path);
        if (!info.exists()) {
            auto db = db::Database::create(path);
            createSettingsDatabase(*db, QString());
            return std::nullopt;
        }
        auto db = db::Database::open(path);
        if (db->isReadOnly())
            return db::Error::make(db::ReadOnlyDatabase, path);
        db::Database::Transaction tx(*db);
        const struct {
            QString table;
            QStringList fields;
        } tables[] = {{u"ayarlar"_s, {u"vtyol"_s}}, {u"onsoz"_s, {u"vu"_s, u"qel"_s}}};
        for (const auto &t : tables) {
            if (!db->hasTable(t.table)) {
                db->executeNative(u"CREATE TABLE "_s + t.table + u" ("_s + textColumns(t.fields) + u')');
            } else {
                const QStringList present = db->fieldNames(t.table);
                for (const QString &f : t.fields) {
                    bool found = false;
                    for (const QString &p : present)
                        found = found || QString::compare(p, f, Qt::CaseInsensitive) == 0;
                    if (!found)
                        db->executeNative(u"ALTER TABLE "_s + quoteName(db->canonicalName(t.table)) + u" ADD COLUMN "_s
                                          + quoteName(f) + u" TEXT COLLATE TURKCE"_s);
                }
            }
            if (!hasRows(*db, t.table)) {
                QList<QPair<QString, QVariant>> values;
                if (t.table == u"onsoz"_s)
                    values = {{u"vu"_s, QString(u""_s)}, {u"qel"_s, QString(u""_s)}};
                else
                    values = {{u"vtyol"_s, QVariant()}};
                addRow(*db, t.table, values);
            }
        }
        if (db->userVersion() < kSettingsSchemaVersion)
            db->setUserVersion(kSettingsSchemaVersion);
        tx.commit();
        return std::nullopt;
    } catch (const db::Error &e) {
        return e;
    }
}

} // namespace schema
