#pragma once

#include "dberror.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace db {
class Database;
}

// Tables of the song database (*.qel) and of the settings database (nsz.dll).
namespace schema {

// Song schema 2: each grouped field's index carries the title as well. 3: the indexes
// are built in the order where â, î and û sort as a, i and u.
constexpr int kSongSchemaVersion = 3, kSettingsSchemaVersion = 1;

// Fields of the songs table Zelvoran, in table order.
QStringList songFields();
// The fields the title tree groups by; each has an index with the title.
const QStringList &groupedFields();

// Fills a new, empty song database: Zelvoran, basharfler, sozluk, ayarlar with its one
// row (no music folder; mp3, wav, wma), muzik, and the stored query arama with the empty
// text. Throws db::Error.
void createSongDatabase(db::Database &db);

// Brings a song database of an older schema up to date where the file can be written;
// otherwise, or when that fails, it stays as it is: it still works, only slower, and
// sorts in the order its indexes were built with.
void upgradeSongDatabase(db::Database &db);

// Fills a new, empty settings database: ayarlar with one row whose vtyol is the given
// path (Null when empty), onsoz with one row of empty forewords. Throws db::Error.
void createSettingsDatabase(db::Database &db, const QString &songDatabasePath);

// Makes a missing settings file anew; in an existing one adds what is missing (the
// ayarlar table or its row, with vtyol Null; the onsoz table or its row). Nothing that is
// there is changed. The failure when the file cannot be opened or written.
std::optional<db::Error> repairSettingsDatabase(const QString &path);

} // namespace schema
