#include "reportstatement.h"

#include "database.h"
#include "dberror.h"

using namespace Qt::StringLiterals;

namespace reportstatement {

QString refusal()
{
    return u"Rapor yalnızca arşivin kendi türkülerini seçen bir SELECT sorgusuyla hazırlanabilir "
           u"(örneğin SELECT * FROM Zelvoran); bu komut çalıştırılmadı."_s;
}

QString check(const QString &databasePath, const QString &sql)
{
    bool writes = false;
    try {
        if (db::Database::open(databasePath)->readsOwnData(sql, &writes))
            return {};
    } catch (const db::Error &e) {
        return e.description();
    }
    return writes ? u"Bu komut kayıtları değiştirir. "_s + refusal() : refusal();
}

} // namespace reportstatement
