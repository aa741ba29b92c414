#pragma once

// What a connection knows of its file's schema, shared by the engine's own sources.
#include "database.h"
#include "engineinternal.h"
#include "statement.h"

#include <QHash>
#include <QSet>
#include <QString>

#include <memory>
#include <unordered_map>

namespace db {

struct Database::Names {
    std::unique_ptr<Statement> versionStatement; // PRAGMA schema_version, kept prepared
    int schemaVersion = -1;
    QHash<QString, internal::ObjectType> types; // exact name → kind, hidden ones too
    // Texts as translated, how recordsets read them, and idle prepared statements: all go
    // with the names when the schema changes.
    QHash<QString, QString> translations[2]; // by Like dialect: Jet, Ansi
    QHash<QString, internal::Plan> plans[2]; // without, with ? values
    std::unordered_map<QString, std::unique_ptr<Statement>> idle;
    QHash<QString, QString> objects; // fold → schema spelling, tables and views
    QHash<QString, QString> columns; // fold → schema spelling, columns of any of them
    // Folds of columns declared somewhere other than as text in the Turkish order: Like
    // gets no index range on them.
    QSet<QString> unranged;
    QHash<QString, QSet<QString>> tableColumns; // fold of a table → folds of its columns
};

} // namespace db
