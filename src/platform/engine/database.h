#pragma once

#include "dberror.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

struct sqlite3;
namespace db::sql { struct Token; }

namespace db {

class Recordset;

// Which wildcards Like takes: * ? # [..] or the report provider's % and _.
enum class LikeDialect { Jet, Ansi };

// One open database file (one SQLite connection). Opening never creates a file.
// SQL texts are written in the program's dialect and translated here: qualified SET
// targets, "DELETE t.* FROM t", names matched without regard to case (Turkish letters
// included), Like with * ? # [list] [!list], Len(). One statement per call.
class Database : public std::enable_shared_from_this<Database> {
public:
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Throws FileNotFound, InvalidPath, UnrecognizedFormat (also for an empty file),
    // FileAccessDenied. A file that cannot be written opens read-only.
    static std::shared_ptr<Database> open(const QString &path);
    // Makes a new empty database file (tools and tests); throws when it exists.
    static std::shared_ptr<Database> create(const QString &path);

    QString name() const { return m_path; }
    bool isReadOnly() const { return m_readOnly; }
    void setLikeDialect(LikeDialect d) { m_dialect = d; }
    LikeDialect likeDialect() const { return m_dialect; }

    // Runs one action statement (UPDATE, DELETE, INSERT); returns the rows affected.
    int execute(const QString &sql);
    // A recordset on a table or stored query name, or on a SELECT text.
    std::unique_ptr<Recordset> openRecordset(const QString &source);

    // Stored queries: the text is kept in the file as written.
    void setQuerySql(const QString &name, const QString &sql);
    QString querySql(const QString &name) const;

    bool hasTable(const QString &name) const;  // tables and stored queries
    QStringList fieldNames(const QString &table) const;

    // Schema work in SQLite's own dialect, with the Turkish collation available as
    // COLLATE TURKCE. Not translated; for building files.
    void executeNative(const QString &sql);
    int userVersion() const;
    void setUserVersion(int v);

    // RAII transaction: rolls back unless committed.
    class Transaction {
    public:
        explicit Transaction(Database &db);
        ~Transaction();
        void commit();
    private:
        Database &m_db;
        bool m_done = false;
    };

    // Internal, for the engine's own classes.
    sqlite3 *handle() const { return m_db; }
    QString translate(const QString &sql) const;         // program dialect to SQLite
    QString canonicalName(const QString &name) const;    // schema spelling, or name
    [[noreturn]] void raise(int rc, const QString &context = {}) const;
    void noteWrite();

private:
    Database(sqlite3 *db, QString path, bool readOnly);
    void loadSchemaNames();
    void narrowLikePrefixes(std::vector<sql::Token> &tokens) const;
    void ensureNames() const;  // reloads the names when the schema has changed

    sqlite3 *m_db = nullptr;
    QString m_path;
    bool m_readOnly = false;
    LikeDialect m_dialect = LikeDialect::Jet;
    struct Names;
    std::unique_ptr<Names> m_names;
};

} // namespace db
