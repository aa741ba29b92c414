#pragma once

#include "database.h"
#include "dberror.h"

#include <QString>
#include <QTest>
#include <memory>

// A small song database on disk, shaped like the program's own file.
namespace fixture {

// Titles of the songs in Turkish alphabetical order.
QStringList titles();
// Writes the database to dir/name and returns its path.
QString makeSongDatabase(const QString &dir, const QString &name = QStringLiteral("songs.qel"));

// Values of one field over the whole recordset, null written as "<null>".
QStringList column(db::Recordset &rs, const QString &field);
QStringList column(db::Database &db, const QString &source, const QString &field);

} // namespace fixture

// Runs the statement and checks that it throws db::Error with the given number.
#define QVERIFY_DB_ERROR(statement, expected)                                                                          \
    do {                                                                                                               \
        int number_ = 0;                                                                                               \
        try {                                                                                                          \
            statement;                                                                                                 \
        } catch (const db::Error &e_) {                                                                                \
            number_ = e_.number();                                                                                     \
        }                                                                                                              \
        QCOMPARE(number_, int(expected));                                                                              \
    } while (false)
