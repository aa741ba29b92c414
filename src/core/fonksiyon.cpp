#include "fonksiyon.h"

#include "filedialog.h"

using namespace Qt::StringLiterals;

namespace fonksiyon {

QString dosyaac(const QString &baslangic, const QString &filtre)
{
    const QString chosen = fileopen::getOpenFileName(baslangic, filtre, u"Dosya Aç"_s);
    if (chosen.isEmpty())
        return {};
    return chosen + QChar(u'\0');
}

} // namespace fonksiyon
