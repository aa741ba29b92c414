#include "faults.h"

#include "database.h"
#include "dberror.h"
#include "faultfile.h"

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
                              + u" ON \""_s + table + u"\" BEGIN SELECT RAISE(ABORT, "_s + quotedMessage + u"); END"_s);
        }
        return true;
    } catch (const db::Error &) {
        return false;
    }
}

bool changeElsewhere(const QString &archive, const QString &sql)
{
    const QString copy = archive + u".kopya"_s;
    QFile::remove(copy);
    if (!QFile::copy(archive, copy))
        return false;
    db::Database::open(copy)->executeNative(sql + u"; PRAGMA user_version = 91; PRAGMA user_version = 92;"_s);
    return fault::overwriteInPlace(archive, copy);
}

} // namespace faults
