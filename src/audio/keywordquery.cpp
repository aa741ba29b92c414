#include "keywordquery.h"

#include "sqltext.h"

using namespace Qt::StringLiterals;

namespace audio {

int kelimesay(const QString &text)
{
    return int(text.count(u' ')) + 1;
}

QString yolsonu(const QString &folder)
{
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

QStringList keywords(const QString &title)
{
    static const QStringList dropped = {u"Ben"_s, u"Sen"_s, u"İle"_s, u"ben"_s, u"sen"_s,
                                        u"ile"_s, u"BEN"_s, u"SEN"_s, u"İLE"_s};
    const int n = std::min(kelimesay(title), 4);
    QStringView rest(title);
    QStringList out;
    for (int i = 0; i < n; ++i) {
        const qsizetype blank = rest.indexOf(u' ');
        QStringView candidate;
        if (blank >= 3)
            candidate = rest.left(blank);
        else if (blank < 0 && rest.size() >= 3)
            candidate = rest;
        if (blank >= 0)
            rest = rest.mid(blank + 1);
        if (!candidate.isEmpty() && !dropped.contains(candidate))
            out << candidate.toString();
    }
    return out;
}

QString aramaSql(const QString &title)
{
    const QStringList words = keywords(title);
    if (words.isEmpty())
        return {};
    QString sql = u"select * from muzik where muzik.dosya like '*"_s + db::likeLiteral(words.first());
    for (qsizetype i = 1; i < words.size(); ++i)
        sql += u"*' or muzik.dosya like '*"_s + db::likeLiteral(words.at(i));
    return sql + u"*'"_s;
}

} // namespace audio
