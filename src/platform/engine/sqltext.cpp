#include "sqltext.h"

using namespace Qt::StringLiterals;

namespace db {

namespace {

// U+FFFD, the character a broken one reads as, in place of a lone surrogate: as written,
// it would reach SQLite as "?", which Like takes for any character.
bool isLone(QStringView s, qsizetype i)
{
    const QChar c = s.at(i);
    if (c.isHighSurrogate())
        return i + 1 >= s.size() || !s.at(i + 1).isLowSurrogate();
    if (c.isLowSurrogate())
        return i == 0 || !s.at(i - 1).isHighSurrogate();
    return false;
}

} // namespace

QString quoted(const QString &value)
{
    QString out;
    out.reserve(value.size() + 4);
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == u'\'')
            out += u"''"_s;
        else if (isLone(value, i))
            out += QChar::ReplacementCharacter;
        else
            out += c;
    }
    return out;
}

QString withoutLoneSurrogates(const QString &text)
{
    if (QStringView(text).isValidUtf16())
        return text;
    QString out = text;
    for (qsizetype i = 0; i < out.size(); ++i) {
        if (isLone(text, i))
            out[i] = QChar::ReplacementCharacter;
    }
    return out;
}

QString likeLiteral(const QString &word)
{
    QString out;
    out.reserve(word.size() + 8);
    for (qsizetype i = 0; i < word.size(); ++i) {
        const QChar c = word.at(i);
        if (isLone(word, i)) {
            out += QChar::ReplacementCharacter;
            continue;
        }
        switch (c.unicode()) {
        case u'\'':
            out += u"''"_s;
            break;
        case u'*':
            out += u"[*]"_s;
            break;
        case u'?':
            out += u"[?]"_s;
            break;
        case u'#':
            out += u"[#]"_s;
            break;
        case u'[':
            out += u"[[]"_s;
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace db
