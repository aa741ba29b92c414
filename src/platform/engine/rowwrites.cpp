#include "engineinternal.h"

#include <QByteArray>
#include <QHash>

#include <sqlite3.h>

#include <map>
#include <utility>

namespace db::internal {

namespace {

using RowStamps = QHash<qint64, quint64>;

quint64 g_stamp = 0;

// By file and table.
std::map<std::pair<QByteArray, QByteArray>, RowStamps> &tables()
{
    static std::map<std::pair<QByteArray, QByteArray>, RowStamps> all;
    return all;
}

const char *fileOf(sqlite3 *db)
{
    const char *file = sqlite3_db_filename(db, "main");
    return file ? file : "";
}

// A bulk write goes to one table: its rows are found again without a lookup by name.
RowStamps &rowsOf(const char *file, const char *table)
{
    static std::pair<QByteArray, QByteArray> lastName;
    static RowStamps *last = nullptr;
    if (!last || lastName.first != file || lastName.second != table) {
        lastName = {QByteArray(file), QByteArray(table)};
        last = &tables()[lastName];
    }
    return *last;
}

void onWrite(void *db, int, const char *database, const char *table, sqlite3_int64 rowid)
{
    if (qstrcmp(database, "main") == 0)
        rowsOf(fileOf(static_cast<sqlite3 *>(db)), table).insert(rowid, ++g_stamp);
}

} // namespace

void watchRowWrites(sqlite3 *db)
{
    sqlite3_update_hook(db, onWrite, db);
}

quint64 rowWrites(sqlite3 *db, const QString &table, qint64 rowid)
{
    if (g_stamp == 0)
        return 0;
    const auto it = tables().find({QByteArray(fileOf(db)), table.toUtf8()});
    return it == tables().end() ? 0 : it->second.value(rowid, 0);
}

} // namespace db::internal
