#include "fonksiyon.h"

#include "credits.h"
#include "database.h"
#include "filedialog.h"
#include "globals.h"
#include "reportquery.h"

using namespace Qt::StringLiterals;

namespace fonksiyon {

QString dosyaac(const QString &baslangic, const QString &filtre)
{
    const QString chosen = fileopen::getOpenFileName(baslangic, filtre, u"Dosya Aç"_s);
    if (chosen.isEmpty())
        return {};
    return chosen + QChar(u'\0');
}

void girismoduyaz()
{
    if (g::vt)
        credits::rewriteAll(*g::vt);
}

QString jokercevir(const QVariant &sql, QString *unreadable)
{
    return reportquery::toAnsiLike(sql.toString(), unreadable);
}

} // namespace fonksiyon
