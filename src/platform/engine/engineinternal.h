#pragma once

#include <QString>
#include <QVariant>
#include <QtGlobal>
#include <memory>
#include <optional>

namespace db {

class Database;
class Recordset;

namespace internal {

// Bumped by every write through any connection of this process; recordsets drop
// their cached row when it moves.
quint64 writeGeneration();

enum class ObjectType { None, Table, View };  // declared ahead in database.h

// How an updatable SELECT reads its keys and one row.
struct KeysetPlan {
    QString table;    // schema spelling
    QString keysSql;  // first column: the row id
    QString rowSql;   // ?1: the row id
};
using Plan = std::optional<KeysetPlan>;  // none: the text is read as a snapshot

// A SELECT on exactly one table, without grouping, DISTINCT, aggregates, joins or
// compound parts, gets a keyset; anything else is read into memory.
Plan planKeyset(const Database &db, const QString &translated, bool parameters);

std::unique_ptr<Recordset> makeRecordset(std::shared_ptr<Database> db, const QString &source,
                                         const QVariantList &parameters = {});

} // namespace internal
} // namespace db
