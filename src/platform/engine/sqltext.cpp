#include "sqltext.h"

using namespace Qt::StringLiterals;

namespace db {

QString quoted(const QString &value)
{
    QString out = value;
    return out.replace(u'\'', u"''"_s);
}

QString likeLiteral(const QString &word)
{
    QString out;
    out.reserve(word.size() + 8);
    for (const QChar c : word) {
        switch (c.unicode()) {
        case u'\'': out += u"''"_s; break;
        case u'*': out += u"[*]"_s; break;
        case u'?': out += u"[?]"_s; break;
        case u'#': out += u"[#]"_s; break;
        case u'[': out += u"[[]"_s; break;
        default: out += c;
        }
    }
    return out;
}

} // namespace db
