#include "reportquery.h"

#include "sqltext.h"
#include "sqltokens.h"
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
    static const char16_t *const fields[kColumns] = {u"Başlık", nullptr, u"Yöresi", u"Türü",
                                                     u"Türü2",  u"Söz",  u"Müzik"};
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

using db::sql::nextSignificant;
using db::sql::Token;
using db::sql::Tokens;

constexpr size_t kNone = size_t(-1);

// The ')' that closes the '(' at open, or tokens.size().
size_t closing(const Tokens &t, size_t open)
{
    int depth = 0;
    for (size_t i = open; i < t.size(); ++i) {
        if (t[i].isPunct(u'('))
            ++depth;
        else if (t[i].isPunct(u')') && --depth == 0)
            return i;
    }
    return t.size();
}

// A text literal with its closing quote: inside, quotes come in doubled pairs.
bool isTextLiteral(const Token &t)
{
    if (t.kind != Token::String && t.kind != Token::Quoted)
        return false;
    return t.text.size() >= 2 && t.text.count(t.text.at(0)) % 2 == 0;
}

// Operators that bind more tightly than Like, so that they belong to its pattern.
bool bindsTighter(const Token &t)
{
    static const QStringList ops = {u"||"_s, u"*"_s, u"/"_s, u"%"_s,  u"+"_s,  u"-"_s, u"&"_s,
                                    u"|"_s,  u"<"_s, u">"_s, u"<="_s, u">="_s, u"."_s};
    return t.kind == Token::Punct && ops.contains(t.text);
}

// The end (exclusive) of the pattern that starts at p.
size_t operandEnd(const Tokens &t, size_t p)
{
    const size_t n = t.size();
    size_t i = p;
    for (;;) {
        i = nextSignificant(t, i);
        while (i < n && (t[i].isPunct(u'-') || t[i].isPunct(u'+') || t[i].isPunct(u'~')))
            i = nextSignificant(t, i + 1);
        if (i >= n)
            return n;
        const size_t after = nextSignificant(t, i + 1);
        if (t[i].isPunct(u'('))
            i = std::min(closing(t, i) + 1, n);
        else if (t[i].kind == Token::Word && after < n && t[after].isPunct(u'('))
            i = std::min(closing(t, after) + 1, n);
        else
            ++i;
        const size_t q = nextSignificant(t, i);
        if (q < n && bindsTighter(t[q])) {
            i = q + 1;
            continue;
        }
        if (q < n && t[q].is("COLLATE"_L1)) {
            const size_t name = nextSignificant(t, q + 1);
            return name < n ? name + 1 : n;
        }
        return i;
    }
}

// What a pattern is made of.
struct Operand {
    enum Kind { Literal, Plain, Unreadable } kind = Unreadable;
    QString value;         // a Literal's text
    size_t single = kNone; // the one literal token, when it is no concatenation
};

// Tokens [from, to): texts joined by || (brackets allowed) are a Literal; a number, Null
// or an unclosed text alone is Plain, with nothing to convert; anything else cannot be read.
Operand classify(const Tokens &t, size_t from, size_t to)
{
    std::vector<size_t> sig;
    for (size_t i = from; i < to; ++i) {
        if (t[i].significant())
            sig.push_back(i);
    }
    if (sig.empty())
        return {};
    if (sig.size() == 1) {
        const Token &tok = t[sig.front()];
        if (isTextLiteral(tok))
            return {Operand::Literal, tok.name(), sig.front()};
        // An unclosed text is left for the engine to refuse in its own words.
        if (tok.kind == Token::Number || tok.is("NULL"_L1) || tok.kind == Token::String || tok.kind == Token::Quoted)
            return {Operand::Plain, {}, kNone};
        return {};
    }
    if (t[sig.front()].isPunct(u'(') && closing(t, sig.front()) == sig.back())
        return classify(t, sig.front() + 1, sig.back());
    // A collation does not change the pattern.
    if (sig.size() >= 3 && t[sig[sig.size() - 2]].is("COLLATE"_L1))
        return classify(t, from, sig[sig.size() - 2]);
    Operand joined{Operand::Literal, {}, kNone};
    bool split = false;
    size_t part = from;
    int depth = 0;
    for (size_t i = from; i <= to; ++i) {
        if (i < to && t[i].isPunct(u'('))
            ++depth;
        else if (i < to && t[i].isPunct(u')'))
            --depth;
        if (i < to && !(depth == 0 && t[i].kind == Token::Punct && t[i].text == u"||"_s))
            continue;
        if (i == to && !split)
            return {}; // no concatenation: an expression of another kind
        split = true;
        const Operand o = classify(t, part, i);
        if (o.kind != Operand::Literal)
            return {};
        joined.value += o.value;
        part = i + 1;
    }
    return joined;
}

QString literal(const QString &value)
{
    return u'\'' + db::quoted(value) + u'\'';
}

// Converts the pattern in [from, to) in place; false when it cannot be read.
bool convertOperand(Tokens &t, size_t from, size_t to)
{
    const Operand o = classify(t, from, to);
    if (o.kind == Operand::Plain)
        return true;
    if (o.kind != Operand::Literal)
        return false;
    if (o.single != kNone) {
        t[o.single] = {Token::String, literal(convertPattern(o.value))};
        return true;
    }
    const size_t head = nextSignificant(t, from);
    t[head] = {Token::String, literal(convertPattern(o.value))};
    for (size_t i = head + 1; i < to; ++i)
        t[i] = {Token::Space, {}};
    return true;
}

bool endsClause(const Token &t)
{
    if (t.isPunct(u',') || t.isPunct(u')') || t.isPunct(u';'))
        return true;
    for (const char *k : {"FROM", "WHERE", "ORDER", "GROUP", "HAVING", "LIMIT", "UNION", "AND", "OR"}) {
        if (t.is(QLatin1StringView(k)))
            return true;
    }
    return false;
}

QString shownPart(const Tokens &t, size_t from, size_t to)
{
    QString s = db::sql::join(t, from, to).simplified();
    if (s.size() > 80)
        s = s.left(79) + u'…';
    return s;
}

} // namespace

QString toAnsiLike(const QString &sql, QString *unreadable)
{
    Tokens t = db::sql::tokenize(sql);
    QString first; // the first Like that cannot be converted
    const size_t n = t.size();
    for (size_t i = 0; i < n; ++i) {
        if (!t[i].is("LIKE"_L1))
            continue;
        const size_t p = nextSignificant(t, i + 1);
        if (p >= n || endsClause(t[p]))
            continue; // a name, not the operator
        size_t from = p, to = kNone, shownEnd = kNone;
        if (t[p].isPunct(u'(')) {
            // like(pattern, text[, escape]) names its pattern first.
            const size_t close = closing(t, p);
            std::vector<size_t> commas;
            int depth = 0;
            for (size_t k = p; k < close; ++k) {
                depth += t[k].isPunct(u'(') ? 1 : t[k].isPunct(u')') ? -1 : 0;
                if (depth == 1 && t[k].isPunct(u','))
                    commas.push_back(k);
            }
            if (commas.size() >= 2)
                continue; // with an escape: SQLite's own Like in both dialects, % and _
            if (commas.size() == 1) {
                from = p + 1;
                to = commas.front();
                shownEnd = std::min(close + 1, n);
            }
        }
        if (to == kNone) {
            to = operandEnd(t, p);
            shownEnd = to;
            // Like ... ESCAPE goes to SQLite's own Like in both dialects: % and _ already.
            const size_t q = nextSignificant(t, to);
            if (q < n && t[q].is("ESCAPE"_L1))
                continue;
        }
        if (!convertOperand(t, from, to) && first.isEmpty())
            first = shownPart(t, i, shownEnd);
    }
    if (unreadable) {
        *unreadable = first.isEmpty()
                          ? QString()
                          : u"Rapor bu Like desenini okuyamıyor: %1. Joker karakterler (* ? #) rapora yalnızca tırnak "
                            u"içinde yazılmış bir desende çevrilebilir, örneğin Like '*dağ*'."_s.arg(first);
    }
    return db::sql::join(t);
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

QString checkMargins(const std::array<QString, 4> &texts, double pageWidthTwips, double pageHeightTwips, Margins *out)
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
