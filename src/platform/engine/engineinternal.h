#pragma once

#include <QString>
#include <QVariant>
#include <QtGlobal>
#include <memory>
#include <optional>

struct sqlite3;

namespace db {

class Database;
class Recordset;

namespace internal {

// Bumped by every write through any connection of this process; recordsets drop
// their cached row when it moves.
quint64 writeGeneration();

// Rows written by this process, counted per file, table (schema spelling) and row id by
// a hook on every connection: a row only this process changed since a recordset read it
// is taken as read again, a row changed by anyone else is not.
void watchRowWrites(sqlite3 *db);
quint64 rowWrites(sqlite3 *db, const QString &table, qint64 rowid); // 0: never written

enum class ObjectType { None, Table, View }; // declared ahead in database.h

// How an updatable SELECT reads its keys and one row.
struct KeysetPlan {
    QString table;   // schema spelling
    QString keysSql; // first column: the row id
    QString rowSql;  // ?1: the row id
};
using Plan = std::optional<KeysetPlan>; // none: the text is read as a snapshot

// A SELECT on exactly one table, without grouping, DISTINCT, aggregates, joins or
// compound parts, gets a keyset; anything else is read into memory.
Plan planKeyset(const Database &db, const QString &translated, bool parameters);

std::unique_ptr<Recordset> makeRecordset(std::shared_ptr<Database> db, const QString &source,
                                         const QVariantList &parameters = {});

} // namespace internal
} // namespace db
