#include "faults.h"

#include "database.h"
#include "dberror.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace faults {

bool refuseWrites(const QString &path, const QString &table, const QString &message)
{
    try {
        auto db = db::Database::open(path);
        const QString quotedMessage = u"'"_s + QString(message).replace(u'\'', u"''"_s) + u"'"_s;
        for (const QString &event : {u"INSERT"_s, u"UPDATE"_s, u"DELETE"_s}) {
            db->executeNative(u"CREATE TRIGGER \"refuse_"_s + event.toLower() + u"_"_s + table + u"\" BEFORE "_s + event
                              + u" ON \""_s + table + u"\" BEGIN SELECT RAISE(ABORT, "_s + quotedMessage
                              + u"); END"_s);
        }
        return true;
    } catch (const db::Error &) {
        return false;
    }
}

bool truncate(const QString &path, qint64 bytes)
{
    return QFile::resize(path, bytes);
}

bool overwrite(const QString &path, const QString &source)
{
    QFile from(source);
    if (!from.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = from.readAll();
    // Opened without truncation and resized after the write: the file stays the same
    // file (same inode) for whoever has it open.
    QFile to(path);
    if (!to.open(QIODevice::ReadWrite))
        return false;
    return to.write(bytes) == bytes.size() && to.resize(bytes.size()) && to.flush();
}

} // namespace faults
