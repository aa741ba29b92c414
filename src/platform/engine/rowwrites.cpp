#include "engineinternal.h"

#include <QByteArray>
#include <QHash>

#include <sqlite3.h>

namespace db::internal {

namespace {

QByteArray rowName(sqlite3 *db, QByteArrayView table, qint64 rowid)
{
    const char *file = sqlite3_db_filename(db, "main");
    QByteArray name(file ? file : "");
    name += '\0';
    name += table;
    name += '\0';
    name += QByteArray::number(rowid);
    return name;
}

QHash<QByteArray, quint64> &written()
{
    static QHash<QByteArray, quint64> rows;
    return rows;
}

quint64 g_stamp = 0;

void onWrite(void *db, int, const char *database, const char *table, sqlite3_int64 rowid)
{
    if (qstrcmp(database, "main") != 0)
        return;
    written().insert(rowName(static_cast<sqlite3 *>(db), table, rowid), ++g_stamp);
}

} // namespace

void watchRowWrites(sqlite3 *db)
{
    sqlite3_update_hook(db, onWrite, db);
}

quint64 rowWrites(sqlite3 *db, const QString &table, qint64 rowid)
{
    if (written().isEmpty())
        return 0;
    return written().value(rowName(db, table.toUtf8(), rowid), 0);
}

} // namespace db::internal
