#include "widgeterrors.h"

using namespace Qt::StringLiterals;

namespace widgeterrors {

db::Error make(int number)
{
    QString text;
    switch (number) {
    case InvalidPropertyValue:
        text = u"Geçersiz özellik değeri."_s;
        break;
    case IndexOutOfBounds:
        text = u"Dizin sınırların dışında."_s;
        break;
    case ElementNotFound:
        text = u"Öğe bulunamadı."_s;
        break;
    case KeyNotUnique:
        text = u"Anahtar koleksiyonda benzersiz değil."_s;
        break;
    case InvalidKey:
        text = u"Geçersiz anahtar."_s;
        break;
    default:
        text = db::Error::describe(number);
        break;
    }
    return db::Error(number, text);
}

} // namespace widgeterrors
