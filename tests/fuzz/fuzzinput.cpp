#include "fuzzinput.h"

#include "database.h"
#include "turkishrules.h"

#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace fuzz {

QByteArray Input::until(uint8_t separator)
{
    const size_t start = m_pos;
    while (m_pos < m_size && m_data[m_pos] != separator)
        ++m_pos;
    QByteArray out(reinterpret_cast<const char *>(m_data + start), qsizetype(m_pos - start));
    if (m_pos < m_size)
        ++m_pos;
    return out;
}

QByteArray Input::rest()
{
    QByteArray out(reinterpret_cast<const char *>(m_data + m_pos), qsizetype(m_size - m_pos));
    m_pos = m_size;
    return out;
}

QList<QByteArray> split(const uint8_t *data, size_t size, uint8_t separator, int n)
{
    Input in(data, size);
    QList<QByteArray> parts;
    while (parts.size() < n - 1)
        parts << in.until(separator);
    parts << in.rest();
    return parts;
}

void fail(const char *what, const QStringList &details)
{
    std::fprintf(stderr, "\n*** fuzz check failed: %s\n", what);
    for (const QString &d : details)
        std::fprintf(stderr, "    %s\n", d.toUtf8().constData());
    std::fflush(stderr);
    std::abort();
}

QString shown(const QString &s)
{
    QString out;
    for (const char32_t c : s.toUcs4()) {
        if (c >= 0x20 && c < 0x7F)
            out += QChar(char16_t(c));
        else
            out += u"<U+%1>"_s.arg(uint(c), 4, 16, QChar(u'0'));
    }
    return u'"' + out + u'"';
}

QString shown(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}

QString scratchPath(const QString &name)
{
    static QTemporaryDir dir;
    FUZZ_CHECK(dir.isValid());
    return dir.filePath(name);
}

db::Database &scratchDatabase()
{
    static const std::shared_ptr<db::Database> db = db::Database::create(scratchPath(u"fuzz.qel"_s));
    return *db;
}

sqlite3_stmt *prepared(const char *sql)
{
    sqlite3_stmt *stmt = nullptr;
    FUZZ_CHECK(sqlite3_prepare_v2(scratchDatabase().handle(), sql, -1, &stmt, nullptr) == SQLITE_OK,
               {QString::fromUtf8(sqlite3_errmsg(scratchDatabase().handle()))});
    return stmt;
}

std::u32string foldedCodePoints(const QByteArray &bytes)
{
    namespace rules = turkish::rules;
    const auto *s = reinterpret_cast<const unsigned char *>(bytes.constData());
    std::u32string out;
    for (qsizetype i = 0; i < bytes.size();)
        out.push_back(rules::foldChar(rules::nextCodePoint(s, bytes.size(), i)));
    return out;
}

int sign(int v)
{
    return (v > 0) - (v < 0);
}

} // namespace fuzz
