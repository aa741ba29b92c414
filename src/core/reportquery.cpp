#include "reportquery.h"

#include "sqltext.h"
#include "turkish.h"

#include <QLocale>
#include <cmath>

using namespace Qt::StringLiterals;

namespace reportquery {

namespace {

const QString kBase = u"SELECT Başlık, Sözler, Yöresi, Türü, Türü2, Derleyen, KaynakKişi, Söz, Müzik, "
                      u"DigerBilgiler,Açıklama,girişmodu FROM Zelvoran WHERE "_s;

const char16_t *const kFieldWords[kColumns] = {u"başlık", u"sözler", u"yöresi", u"türü", u"türü2", u"söz", u"müzik"};

// Height a song needs at least: its detail section.
constexpr int kSectionTwips = 1155;

} // namespace

QStringList operators()
{
    return {u"Hepsi"_s, u"Eşittir"_s, u"Farklıdır"_s, u"İçerir"_s, u"İle Başlar"_s};
}

QString build(const std::array<Criterion, kColumns> &columns, const QString &siralama)
{
    QString where;
    bool any = false;
    for (int i = 0; i < kColumns; ++i) {
        const Criterion &c = columns[size_t(i)];
        if (c.text.isEmpty())
            continue;
        // The two Like forms spell the title's field with a capital.
        const QString field = QString::fromUtf16(kFieldWords[i]);
        const QString likeField = i == 0 ? u"Başlık"_s : field;
        QString open, close;
        if (c.op == u"Eşittir"_s) {
            open = u" "_s + field + u"='"_s;
            close = u"'"_s;
        } else if (c.op == u"Farklıdır"_s) {
            open = u" "_s + field + u"<>'"_s;
            close = u"'"_s;
        } else if (c.op == u"İçerir"_s) {
            open = u" "_s + likeField + u" Like '*"_s;
            close = u"*'"_s;
        } else if (c.op == u"İle Başlar"_s) {
            open = u" "_s + likeField + u" Like '"_s;
            close = u"*'"_s;
        } else {
            continue;
        }
        if (any)
            where += u" and "_s;
        any = true;
        where += open + db::quoted(c.text) + close;
    }
    const QString base = any ? kBase : kBase.left(kBase.size() - 7);
    return base + where + siralama;
}

QString sortClause(int i)
{
    static const char16_t *const fields[kColumns] = {u"Başlık", nullptr, u"Yöresi", u"Türü", u"Türü2", u"Söz", u"Müzik"};
    if (i < 0 || i >= kColumns || !fields[i])
        return {};
    return u" ORDER By "_s + QString::fromUtf16(fields[i]);
}

namespace {

// The Jet pattern body (between the quotes, apostrophes still doubled) in the Ansi form.
QString convertPattern(QStringView body)
{
    QString out;
    out.reserve(body.size() + 8);
    for (qsizetype i = 0; i < body.size(); ++i) {
        const QChar c = body.at(i);
        if (c == u'[') {
            const qsizetype close = body.indexOf(u']', i + 1);
            if (close > i) {
                // A list means the same in both dialects.
                out += body.mid(i, close - i + 1);
                i = close;
                continue;
            }
            out += c;
        } else if (c == u'*') {
            out += u'%';
        } else if (c == u'?') {
            out += u'_';
        } else if (c == u'#') {
            out += u"[0-9]"_s;
        } else if (c == u'%' || c == u'_') {
            out += u'[';
            out += c;
            out += u']';
        } else {
            out += c;
        }
    }
    return out;
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

} // namespace

QString toAnsiLike(const QString &sql)
{
    QString out;
    out.reserve(sql.size() + 16);
    QString lastWord;  // the last word outside quotes, upper case
    qsizetype i = 0;
    const qsizetype n = sql.size();
    while (i < n) {
        const QChar c = sql.at(i);
        if (c == u'\'') {
            // A quoted text runs to the next lone apostrophe.
            qsizetype j = i + 1;
            while (j < n) {
                if (sql.at(j) == u'\'') {
                    if (j + 1 < n && sql.at(j + 1) == u'\'') {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            const QStringView body = QStringView(sql).mid(i + 1, std::min(j, n) - i - 1);
            out += u'\'';
            out += lastWord == u"LIKE"_s ? convertPattern(body) : body.toString();
            if (j < n)
                out += u'\'';
            i = j + 1;
            lastWord.clear();
        } else if (c == u'[' || c == u'"') {
            // A bracketed or quoted name.
            const QChar end = c == u'[' ? QChar(u']') : c;
            qsizetype j = sql.indexOf(end, i + 1);
            if (j < 0)
                j = n - 1;
            out += QStringView(sql).mid(i, j - i + 1);
            i = j + 1;
            lastWord.clear();
        } else if (isWordChar(c)) {
            qsizetype j = i;
            while (j < n && isWordChar(sql.at(j)))
                ++j;
            const QStringView word = QStringView(sql).mid(i, j - i);
            out += word;
            lastWord = word.toString().toUpper();
            i = j;
        } else {
            out += c;
            if (!c.isSpace())
                lastWord.clear();
            ++i;
        }
    }
    return out;
}

QStringList missingReportFields(const QStringList &fieldNames)
{
    QStringList missing;
    for (const QString &need : {u"Başlık"_s, u"Yöresi"_s, u"girişmodu"_s, u"Sözler"_s}) {
        bool found = false;
        for (const QString &f : fieldNames)
            found = found || turkish::equal(f, need);
        if (!found)
            missing << need;
    }
    return missing;
}

QStringList marginNames()
{
    return {u"Üst Boşluk"_s, u"Alt Boşluk"_s, u"Sol Boşluk"_s, u"Sağ Boşluk"_s};
}

std::optional<int> marginCm(const QString &text)
{
    bool ok = false;
    const double cm = QLocale(QLocale::Turkish, QLocale::Turkey).toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(cm))
        return std::nullopt;
    const double whole = std::nearbyint(cm);
    if (whole < 0 || whole > kMaxMarginCm)
        return std::nullopt;
    return int(whole);
}

QString checkMargins(const std::array<QString, 4> &texts, double pageWidthTwips, double pageHeightTwips,
                     Margins *out)
{
    const QStringList names = marginNames();
    int twips[4] = {};
    for (int i = 0; i < 4; ++i) {
        const std::optional<int> cm = marginCm(texts[size_t(i)]);
        if (!cm)
            return u"\"%1\" için 0 ile %2 arasında bir santimetre değeri yazın (örneğin 2,0)."_s.arg(names.at(i))
                .arg(kMaxMarginCm);
        twips[i] = *cm * kTwipsPerCm;
    }
    if (twips[2] + twips[3] + kColumnWidthTwips > pageWidthTwips)
        return u"\"%1\" ile \"%2\" sayfada raporun sütununa (8,5 cm) yer bırakmıyor."_s.arg(names.at(2), names.at(3));
    if (twips[0] + twips[1] + kSectionTwips > pageHeightTwips)
        return u"\"%1\" ile \"%2\" sayfada bir şarkıya yer bırakmıyor."_s.arg(names.at(0), names.at(1));
    if (out)
        *out = {twips[0], twips[1], twips[2], twips[3]};
    return {};
}

} // namespace reportquery
