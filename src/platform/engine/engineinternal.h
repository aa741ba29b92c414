#pragma once

#include <QString>
#include <QtGlobal>
#include <memory>

namespace db {

class Database;
class Recordset;

namespace internal {

// Bumped by every write through any connection of this process; recordsets drop
// their cached row when it moves.
quint64 writeGeneration();

enum class ObjectType { None, Table, View };
ObjectType objectType(const Database &db, const QString &name);

std::unique_ptr<Recordset> makeRecordset(std::shared_ptr<Database> db, const QString &source);

} // namespace internal
} // namespace db
