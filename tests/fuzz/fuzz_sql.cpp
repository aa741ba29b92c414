// The SQL translator. A statement in the program's dialect (names in any case, in
// brackets or qualified, "…" texts, DELETE t.*, SET t.c, and the index range beside
// Like) must read or change the same rows as the statement SQLite runs untranslated,
// on a small archive with the real schema and the texts that stress the range.
// Inputs are either turned into statements by a small grammar or taken as SQL text.
#include "fuzzinput.h"

#include "database.h"
#include "recordset.h"
#include "schema.h"
#include "sqltext.h"
#include "sqltokens.h"
#include "statement.h"
#include "turkish.h"

#include <sqlite3.h>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QStringList titles()
{
    return {u"A"_s,
            u"Ab"_s,
            u"Âb"_s,
            u"âa"_s,
            u"Kâtibim"_s,
            u"Katibim"_s,
            u"Katip"_s,
            u"Kaz Dağı"_s,
            u"Oy Gelin"_s,
            u"Oya"_s,
            u"İki Keklik"_s,
            u"ılgaz"_s,
            u"Işık"_s,
            u"Ilgın"_s,
            u"i"_s,
            u"Çanakkale İçinde"_s,
            u"Ş"_s,
            u"Şu Dağlar"_s,
            u"Üsküdar'a Gider İken"_s,
            u"Ğ"_s,
            u"ß"_s,
            u"ss"_s,
            u"ÿ"_s,
            u"€uro"_s,
            u"₺"_s,
            u"—tire"_s,
            u"“Tırnak”"_s,
            u"A\U0010FFFF"_s,
            u"A\U0010FFFFB"_s,
            u"A\U0010FFFE"_s,
            u"A\uFFFF"_s,
            u"😀 gülen"_s,
            u"A😀"_s,
            u"Z"_s,
            u"zz"_s,
            u"[köşeli]"_s,
            u"*yıldız"_s,
            u"%yüzde"_s,
            u"_alt"_s,
            u"#diyez"_s,
            u"1 Mayıs"_s,
            u"12a"_s,
            u" Bilinmeyen"_s,
            u"  iki boşluk"_s,
            u"Sivas"_s,
            u"Sivaslı"_s,
            u"Yemen Türküsü"_s,
            u"Ürgüp"_s,
            u"Ödemiş"_s,
            u"Gülay"_s,
            u"Gül"_s,
            u"îman"_s,
            u"ırmak"_s,
            u"İnce"_s};
}

QStringList values()
{
    return {u"Sivas"_s,
            u"sivas"_s,
            u"SİVAS"_s,
            u"İzmir"_s,
            u"izmir"_s,
            u"Kırık Hava"_s,
            u"kırık hava"_s,
            u"Türkü 1"_s,
            u"Türkü 10"_s,
            u" Bilinmeyen"_s,
            u"Âşık Veysel"_s,
            u"Aşık Veysel"_s,
            u"Ağıt"_s,
            u"Zeybek"_s,
            u"Çoban Ali"_s,
            u"Muzaffer Sarısözen"_s,
            u"%"_s,
            u"*"_s,
            u"'"_s};
}

// The characters patterns and texts are made of, beside the archive's own prefixes.
QStringList alphabet()
{
    return {u"a"_s, u"A"_s, u"â"_s,          u"Â"_s,      u"k"_s, u"K"_s, u"ı"_s, u"I"_s, u"i"_s, u"İ"_s,     u"ş"_s,
            u"Ş"_s, u"ç"_s, u"ğ"_s,          u"ö"_s,      u"ü"_s, u"s"_s, u"z"_s, u"Z"_s, u"y"_s, u" "_s,     u"*"_s,
            u"?"_s, u"#"_s, u"%"_s,          u"_"_s,      u"["_s, u"]"_s, u"!"_s, u"-"_s, u"'"_s, u"1"_s,     u"9"_s,
            u"€"_s, u"😀"_s, u"\U0010FFFF"_s, u"\uFFFF"_s, u"ß"_s, u"ÿ"_s, u"Ÿ"_s, u"—"_s, u"“"_s, u"\u0001"_s};
}

// Texts and values of every kind a file may hold: Null, empty, blanks, malformed
// UTF-8, a BLOB, a number in a text column.
void fill(db::Database &db)
{
    schema::createSongDatabase(db);
    const QStringList t = titles(), v = values();
    const QStringList fields = schema::songFields();
    const QString odd[] = {u"NULL"_s,
                           u"''"_s,
                           u"X'4B61'"_s,
                           u"CAST(X'4BC3' AS TEXT)"_s,
                           u"CAST(X'C328' AS TEXT)"_s,
                           u"42"_s,
                           u"' '"_s,
                           u"CAST(X'41ED' AS TEXT)"_s};
    int n = 0;
    for (const QString &title : t) {
        QStringList row = {u'\'' + db::quoted(title) + u'\''};
        for (int f = 1; f < fields.size(); ++f, ++n) {
            if (n % 5 == 4)
                row << odd[(n / 5) % std::size(odd)];
            else
                row << u'\'' + db::quoted(v[(n * 7 + f) % v.size()]) + u'\'';
        }
        db.executeNative(u"INSERT INTO Zelvoran VALUES ("_s + row.join(u", "_s) + u')');
    }
    for (const QString &raw : {u"X'4B61626C6F'"_s, u"CAST(X'4B61C3' AS TEXT)"_s, u"CAST(X'C3A7' AS TEXT)"_s, u"7"_s})
        db.executeNative(u"INSERT INTO Zelvoran (\"Başlık\", \"Yöresi\") VALUES ("_s + raw + u", "_s + raw + u')');
    db.executeNative(u"INSERT INTO sozluk VALUES ('kâtip', 'yazıcı'), ('ılgım', 'serap'), ('Sivas', NULL)"_s);
}

// One statement in two spellings: the program's (names as a user may write them) and
// SQLite's own (names exactly as stored, plain DELETE and SET).
class Generator {
public:
    explicit Generator(fuzz::Input &in)
        : m_in(in)
    {
    }

    QString jet, native;

    void both(const QString &s)
    {
        jet += s;
        native += s;
    }
    void space()
    {
        static const QString blanks[] = {u" "_s, u" "_s, u"\n"_s, u"  "_s, u" /* ş */ "_s};
        both(blanks[m_in.pick(std::size(blanks))]);
    }

    // A name as a user may write it, in the program's spelling only.
    void jetName(const QString &n)
    {
        switch (m_in.pick(5)) {
        case 1:
            jet += turkish::upper(n);
            break;
        case 2:
            jet += turkish::fold(n);
            break;
        case 3:
            jet += u'[' + n + u']';
            break;
        default:
            jet += n;
            break;
        }
    }
    void name(const QString &n)
    {
        jetName(n);
        native += n;
    }

    void column()
    {
        const QStringList fields = schema::songFields();
        const QString c = fields[m_in.pick(std::min<qsizetype>(fields.size(), m_in.flip() ? 3 : fields.size()))];
        const size_t q = m_in.pick(4);
        if (q != 0 && !m_alias.isEmpty()) {
            both(m_alias + u'.');
        } else if (q != 0 && m_in.flip()) {
            name(u"Zelvoran"_s);
            both(u"."_s);
        }
        name(c);
    }

    QString piece()
    {
        const QStringList t = titles(), a = alphabet();
        if (m_in.flip()) {
            const QString title = t[m_in.pick(t.size())];
            return title.left(qsizetype(m_in.pick(size_t(title.size()) + 1)));
        }
        QString s;
        for (size_t k = m_in.pick(4); k > 0; --k)
            s += a[m_in.pick(a.size())];
        return s;
    }

    // A text literal; in the program's spelling sometimes between double quotes.
    void text(const QString &value)
    {
        if (!value.contains(u'"') && m_in.pick(4) == 0)
            jet += u'"' + value + u'"';
        else
            jet += u'\'' + db::quoted(value) + u'\'';
        native += u'\'' + db::quoted(value) + u'\'';
    }

    void pattern()
    {
        QString p = piece();
        static const QString tails[] = {u""_s, u"*"_s, u"%"_s, u"?"_s, u"_"_s, u"*a"_s, u"[a-z]*"_s, u"#"_s};
        p += tails[m_in.pick(std::size(tails))];
        if (m_in.pick(4) == 0)
            p = u'*' + p;
        text(p);
        switch (m_in.pick(8)) {
        case 1:
            both(u" || '*'"_s);
            break;
        case 2:
            both(u" || '%'"_s);
            break;
        case 3:
            both(u" ESCAPE '!'"_s);
            break;
        default:
            break;
        }
    }

    void operand(int depth)
    {
        switch (depth > 2 ? 0 : m_in.pick(12)) {
        case 1:
            column();
            both(u" || "_s);
            column();
            break;
        case 2:
            text(piece());
            both(u" || "_s);
            column();
            break;
        case 3:
            column();
            both(m_in.flip() ? u" + 0"_s : u" * 1"_s);
            break;
        case 4:
            both(u"("_s);
            column();
            both(u")"_s);
            break;
        case 5:
            both(u"lower("_s);
            column();
            both(u")"_s);
            break;
        case 6:
            column();
            both(u" COLLATE TURKCE"_s);
            break;
        case 7:
            both(u"NOT "_s);
            column();
            break;
        case 8:
            text(piece());
            break;
        case 9:
            both(u"CASE WHEN "_s);
            condition(depth + 1);
            both(u" THEN "_s);
            column();
            both(u" END"_s);
            break;
        default:
            column();
            break;
        }
    }

    void atom(int depth)
    {
        static const QString comparisons[] = {u" = "_s, u" <> "_s, u" < "_s, u" >= "_s, u" IS "_s, u" IS NOT "_s};
        switch (depth > 3 ? 0 : m_in.pick(11)) {
        case 1:
            operand(depth);
            both(u" BETWEEN "_s);
            text(piece());
            both(u" AND "_s);
            text(piece());
            break;
        case 2:
            operand(depth);
            both(comparisons[m_in.pick(std::size(comparisons))]);
            operand(depth);
            if (m_in.flip()) {
                both(u" LIKE "_s);
                pattern();
            }
            break;
        case 3:
            operand(depth);
            both(m_in.flip() ? u" IS NULL"_s : u" Is Not Null"_s);
            break;
        case 4:
            operand(depth);
            both(u" IN ("_s);
            text(piece());
            both(u", "_s);
            text(piece());
            both(u")"_s);
            break;
        case 5:
            both(u"EXISTS (SELECT 1 FROM Zelvoran AS y WHERE y."_s);
            name(schema::songFields()[m_in.pick(3)]);
            both(u" LIKE "_s);
            pattern();
            both(u")"_s);
            break;
        case 6:
            both(u"Len("_s);
            column();
            both(u") > "_s + QString::number(m_in.pick(5)));
            break;
        case 7:
            operand(depth);
            both(u" LIKE "_s);
            pattern();
            both(u" = "_s + QString::number(m_in.pick(2)));
            break;
        default:
            operand(depth);
            both(m_in.pick(4) == 0 ? u" NOT LIKE "_s : (m_in.flip() ? u" Like "_s : u" LIKE "_s));
            pattern();
            break;
        }
    }

    void condition(int depth)
    {
        switch (depth > 3 ? 0 : m_in.pick(7)) {
        case 1:
            condition(depth + 1);
            both(u" AND "_s);
            condition(depth + 1);
            break;
        case 2:
            condition(depth + 1);
            both(u" OR "_s);
            condition(depth + 1);
            break;
        case 3:
            both(u"NOT "_s);
            condition(depth + 1);
            break;
        case 4:
            both(u"("_s);
            condition(depth + 1);
            both(u")"_s);
            break;
        default:
            atom(depth);
            break;
        }
    }

    void table()
    {
        name(u"Zelvoran"_s);
        switch (m_in.pick(4)) {
        case 1:
            both(u" AS z"_s);
            m_alias = u"z"_s;
            break;
        case 2:
            both(u" z"_s);
            m_alias = u"z"_s;
            break;
        default:
            break;
        }
    }

    void where()
    {
        if (m_in.pick(8) == 0)
            return;
        space();
        both(u"WHERE"_s);
        space();
        condition(0);
    }

    void select()
    {
        both(u"SELECT "_s);
        // The list is decided before the table, which may bring an alias: columns are
        // named without one here.
        const size_t list = m_in.pick(6);
        const QStringList fields = schema::songFields();
        if (list == 0) {
            both(u"*"_s);
        } else if (list == 1) {
            both(u"count(*) AS n"_s);
        } else if (list == 2) {
            both(u"DISTINCT "_s);
            name(fields[m_in.pick(fields.size())]);
        } else {
            QList<qsizetype> chosen;
            for (size_t k = list - 2; k > 0; --k) {
                const qsizetype c = qsizetype(m_in.pick(fields.size()));
                if (chosen.contains(c))
                    continue;
                if (!chosen.isEmpty())
                    both(u", "_s);
                chosen << c;
                name(fields[c]);
            }
        }
        both(u" FROM "_s);
        table();
        where();
        if (list >= 3 && m_in.pick(3) == 0) {
            both(u" ORDER BY "_s);
            column();
            if (m_in.flip())
                both(u" DESC"_s);
        }
    }

    void remove()
    {
        switch (m_in.pick(3)) {
        case 1:
            jet += u"DELETE Zelvoran.* FROM "_s;
            break;
        case 2:
            jet += u"DELETE * FROM "_s;
            break;
        default:
            jet += u"DELETE FROM "_s;
            break;
        }
        native += u"DELETE FROM "_s;
        name(u"Zelvoran"_s);
        where();
    }

    void update()
    {
        both(u"UPDATE "_s);
        name(u"Zelvoran"_s);
        both(u" SET "_s);
        const QStringList fields = schema::songFields();
        for (size_t k = 1 + m_in.pick(2); k > 0; --k) {
            if (m_in.flip()) {
                jetName(u"Zelvoran"_s);
                jet += u'.';
            }
            // Never the title: one value for many rows would be refused as a duplicate.
            name(fields[1 + m_in.pick(fields.size() - 1)]);
            both(u" = "_s);
            if (m_in.flip())
                text(piece());
            else
                both(u"Null"_s);
            if (k > 1)
                both(u", "_s);
        }
        where();
    }

private:
    fuzz::Input &m_in;
    QString m_alias;
};

using Rows = QStringList;

QString shownValue(const QVariant &v)
{
    if (v.isNull())
        return u"Null"_s;
    switch (v.typeId()) {
    case QMetaType::LongLong:
        return u"i:"_s + QString::number(v.toLongLong());
    case QMetaType::Double:
        return u"d:"_s + QString::number(v.toDouble(), 'g', 17);
    case QMetaType::QByteArray:
        return u"b:"_s + QString::fromLatin1(v.toByteArray().toHex());
    default:
        return u"t:"_s + v.toString();
    }
}

// Counts SQLite's progress calls; a statement over its budget is interrupted.
int g_budget = 0;
int progress(void *)
{
    return --g_budget < 0;
}

struct Result {
    bool ok = false;
    QString error;
    QStringList names;
    Rows rows;
};

Result runNative(db::Database &db, const QString &sql, bool *tooLong = nullptr)
{
    Result r;
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt *stmt = nullptr;
    const char *tail = nullptr;
    if (sqlite3_prepare_v2(db.handle(), utf8.constData(), int(utf8.size()), &stmt, &tail) != SQLITE_OK || !stmt) {
        r.error = QString::fromUtf8(sqlite3_errmsg(db.handle()));
        sqlite3_finalize(stmt);
        return r;
    }
    // Unbound values read as Null here; the engine refuses them.
    if (!QByteArray(tail).trimmed().isEmpty() || !sqlite3_stmt_readonly(stmt)
        || sqlite3_bind_parameter_count(stmt) > 0) {
        r.error = u"not one read without values"_s;
        sqlite3_finalize(stmt);
        return r;
    }
    for (int i = 0; i < sqlite3_column_count(stmt); ++i)
        r.names << QString::fromUtf8(sqlite3_column_name(stmt, i));
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        QStringList row;
        for (int i = 0; i < sqlite3_column_count(stmt); ++i)
            row << shownValue(db::Statement::toVariant(stmt, i));
        r.rows << row.join(u'\x1f');
    }
    if (rc == SQLITE_INTERRUPT && tooLong)
        *tooLong = true;
    r.ok = rc == SQLITE_DONE;
    if (!r.ok)
        r.error = QString::fromUtf8(sqlite3_errmsg(db.handle()));
    sqlite3_finalize(stmt);
    r.rows.sort();
    return r;
}

Result runTranslated(db::Database &db, const QString &sql)
{
    Result r;
    try {
        auto rs = db.openRecordset(sql);
        r.names = rs->fieldNames();
        for (; !rs->eof(); rs->moveNext()) {
            QStringList row;
            for (const QString &f : std::as_const(r.names))
                row << shownValue(rs->field(f));
            r.rows << row.join(u'\x1f');
        }
        r.ok = true;
    } catch (const db::Error &e) {
        r.error = e.description();
    }
    r.rows.sort();
    return r;
}

// The whole songs table after a change, in row id order.
Rows contents(db::Database &db)
{
    return runNative(db, u"SELECT rowid, * FROM Zelvoran ORDER BY rowid"_s).rows;
}

bool foldedNamesDiffer(const QStringList &a, const QStringList &b)
{
    if (a.size() != b.size())
        return true;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (!turkish::equal(a[i], b[i]))
            return true;
    }
    return false;
}

bool hasDuplicateNames(const QStringList &names)
{
    QSet<QString> seen;
    for (const QString &n : names) {
        if (seen.contains(turkish::fold(n)))
            return true;
        seen.insert(turkish::fold(n));
    }
    return false;
}

QStringList details(const QString &jet, const QString &native, const Result &a, const Result &b)
{
    QString translated;
    try {
        translated = fuzz::scratchDatabase().translate(jet);
    } catch (const db::Error &e) {
        translated = e.description();
    }
    QStringList d = {u"program's: "_s + fuzz::shown(jet), u"SQLite's:  "_s + fuzz::shown(native),
                     u"translated: "_s + fuzz::shown(translated)};
    d << u"translated run: %1 %2, %3 rows"_s.arg(a.ok).arg(a.error).arg(a.rows.size());
    d << u"untranslated run: %1 %2, %3 rows"_s.arg(b.ok).arg(b.error).arg(b.rows.size());
    for (const QString &row : a.rows) {
        if (!b.rows.contains(row))
            d << u"only translated: "_s + fuzz::shown(row);
    }
    for (const QString &row : b.rows) {
        if (!a.rows.contains(row))
            d << u"only untranslated: "_s + fuzz::shown(row);
    }
    return d;
}

// Values that compare equal, such as "Kırık Hava" and "kırık hava", are one group to
// DISTINCT, GROUP BY, min() and the like, spelled as whichever row the plan met first.
void foldRows(Result &r)
{
    for (QString &row : r.rows)
        row = turkish::fold(row);
    r.rows.sort();
}

void compareReads(db::Database &db, const QString &jet, const QString &native, bool generated)
{
    bool tooLong = false;
    g_budget = 20000;
    Result expected = runNative(db, native, &tooLong);
    if (tooLong || (!generated && !expected.ok))
        return;
    if (!generated && hasDuplicateNames(expected.names))
        return;
    g_budget = 200000;
    Result got = runTranslated(db, jet);
    if (!generated || native.contains(u"DISTINCT"_s)) {
        foldRows(expected);
        foldRows(got);
    }
    const QStringList d = details(jet, native, got, expected);
    FUZZ_CHECK(got.ok == expected.ok, d);
    FUZZ_CHECK(got.rows == expected.rows, d);
    FUZZ_CHECK(!foldedNamesDiffer(got.names, expected.names), d);
}

void compareWrites(db::Database &db, const QString &jet, const QString &native)
{
    g_budget = 200000;
    Result expected;
    int changedNative = -1, changedTranslated = -1;
    {
        db::Database::Transaction tx(db);
        const QByteArray utf8 = native.toUtf8();
        if (sqlite3_exec(db.handle(), utf8.constData(), nullptr, nullptr, nullptr) == SQLITE_OK) {
            changedNative = sqlite3_changes(db.handle());
            expected.rows = contents(db);
            expected.ok = true;
        } else {
            expected.error = QString::fromUtf8(sqlite3_errmsg(db.handle()));
        }
    }
    Result got;
    {
        db::Database::Transaction tx(db);
        try {
            changedTranslated = db.execute(jet);
            got.rows = contents(db);
            got.ok = true;
        } catch (const db::Error &e) {
            got.error = e.description();
        }
    }
    const QStringList d = details(jet, native, got, expected);
    FUZZ_CHECK(got.ok == expected.ok, d);
    FUZZ_CHECK(changedTranslated == changedNative, d);
    FUZZ_CHECK(got.rows == expected.rows, d);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    db::Database &db = fuzz::scratchDatabase();
    fill(db);
    sqlite3_progress_handler(db.handle(), 100, progress, nullptr);
    return 0;
}

// Input: a first byte choosing the statement's kind (a read, a delete, an update or
// SQL text as it stands) and the dialect; the rest drives the grammar or is the text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Input in(data, size);
    const uint8_t head = in.byte();
    db::Database &db = fuzz::scratchDatabase();
    db.setLikeDialect(head & 4 ? db::LikeDialect::Ansi : db::LikeDialect::Jet);
    Generator g(in);
    switch (head % 4) {
    case 0:
        g.select();
        compareReads(db, g.jet, g.native, true);
        break;
    case 1:
        g.remove();
        compareWrites(db, g.jet, g.native);
        break;
    case 2:
        g.update();
        compareWrites(db, g.jet, g.native);
        break;
    default: {
        // Text as it stands, where the translation has nothing to do but the range and
        // the names: no "…" texts, one statement, a SELECT.
        const QString sql = QString::fromUtf8(in.rest());
        if (sql.contains(u'"') || sql.contains(u';') || sql.contains(QChar(0))
            || db::sql::firstKeyword(db::sql::tokenize(sql)) != u"SELECT"_s)
            return 0;
        compareReads(db, sql, sql, false);
        break;
    }
    }
    return 0;
}
