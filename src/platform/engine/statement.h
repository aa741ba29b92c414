#pragma once

#include "dberror.h"

#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

namespace db {

class Database;

// One prepared statement, finalized on destruction. A statement that cannot be
// prepared throws: a missing table or query as ObjectNotFound, anything else as
// the given syntax error number with SQLite's message.
class Statement {
public:
    Statement(const Database &db, const QString &sql, int syntaxError = QuerySyntaxError);
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    void bind(int index, const QVariant &value); // 1-based
    // A text given by its bytes, which need not be UTF-8 (a value kept as it was read).
    void bindText(int index, const QByteArray &bytes);
    // Binds the values of the ? placeholders in order: TooFewParameters when the text has
    // more placeholders, InvalidArgument when it has fewer.
    void bindAll(const QVariantList &values);
    qint64 int64(int i) const;
    bool step(); // true while a row is there; throws on failure
    void reset();

    int columnCount() const;
    QString columnName(int i) const;
    QString originName(int i) const; // the table column a result column comes from, if any
    QString tableName(int i) const;
    QVariant value(int i) const;
    // The same; a text whose bytes are not UTF-8 also gives them in *bytes (else empty).
    QVariant value(int i, QByteArray *bytes) const;
    bool readOnly() const;

    static QVariant toVariant(sqlite3_stmt *stmt, int i, QByteArray *bytes = nullptr);

private:
    const Database &m_db;
    sqlite3_stmt *m_stmt = nullptr;
};

} // namespace db
