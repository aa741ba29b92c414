#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <string>

// What the fuzz targets share: reading choices from the fuzzer's bytes, and stopping
// the run on a broken promise with the inputs that broke it.
struct sqlite3_stmt;
namespace db {
class Database;
}

namespace fuzz {

// Reads choices and byte runs from the input; past its end every choice is 0.
class Input {
public:
    Input(const uint8_t *data, size_t size)
        : m_data(data)
        , m_size(size)
    {
    }

    bool atEnd() const { return m_pos >= m_size; }
    uint8_t byte() { return atEnd() ? 0 : m_data[m_pos++]; }
    // 0 .. n-1 (n > 0).
    size_t pick(size_t n) { return n <= 256 ? byte() % n : (size_t(byte()) << 8 | byte()) % n; }
    bool flip() { return byte() & 1; }
    // The bytes up to the next separator (not included) or the end.
    QByteArray until(uint8_t separator);
    QByteArray rest();

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// Splits at every separator byte into at most n parts; missing parts are empty.
QList<QByteArray> split(const uint8_t *data, size_t size, uint8_t separator, int n);

// Prints what failed and the values involved, then aborts: the fuzzer keeps the input.
[[noreturn]] void fail(const char *what, const QStringList &details = {});

// A readable form of a text for failure reports: code points beyond ASCII as U+XXXX.
QString shown(const QString &s);
QString shown(const QByteArray &bytes);

int sign(int v);

// A path in a temporary folder kept for the whole run.
QString scratchPath(const QString &name);
// An empty database file in that folder, made on first use.
db::Database &scratchDatabase();
// A statement prepared on the scratch database once and kept for the run.
sqlite3_stmt *prepared(const char *sql);

// The code points of UTF-8 bytes as the engine reads them (malformed ones as U+FFFD),
// each folded.
std::u32string foldedCodePoints(const QByteArray &bytes);

} // namespace fuzz

#define FUZZ_CHECK(condition, ...)                                                                                     \
    do {                                                                                                               \
        if (!(condition))                                                                                              \
            ::fuzz::fail(#condition, ##__VA_ARGS__);                                                                   \
    } while (false)
