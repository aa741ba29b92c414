#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <optional>
#include <utility>

namespace db {
class Database;
class Error;
} // namespace db

// A new row of the songs table, written from its fields' texts.
namespace newsong {

// Null for the empty text, else the value unchanged.
QVariant nullIfEmpty(const QVariant &value);

// Stores a song: the title as typed, each other field (by its name in the songs table)
// from its text, an empty text as Null, the fields not given Null. Gives the engine's
// error when the row was not stored: DuplicateKey for a title the table holds,
// ItemNotFound for a name the table lacks, a write the file refuses.
std::optional<db::Error> add(db::Database &vt, const QString &title, const QList<std::pair<QString, QString>> &fields);

} // namespace newsong
