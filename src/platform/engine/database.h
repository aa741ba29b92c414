#pragma once

#include "dberror.h"
#include "turkishrules.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

struct sqlite3;
namespace db::sql {
struct Token;
}
namespace db::internal {
enum class ObjectType;
struct KeysetPlan;
} // namespace db::internal

namespace db {

class Recordset;
class Statement;

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
    // The same with the values of the text's ? placeholders bound in order; the prepared
    // statement is kept for the next call with the same text (bulk writes).
    int execute(const QString &sql, const QVariantList &parameters);
    // A recordset on a table or stored query name, or on a SELECT text. The values of
    // the text's ? placeholders are given in order; they never become part of the text.
    std::unique_ptr<Recordset> openRecordset(const QString &source, const QVariantList &parameters = {});
    // Reads one SELECT text front to back without keeping its rows: names gets the names
    // of its columns, then row gets each row's values in that order until it returns
    // false. A text that writes is refused as by openRecordset (InvalidOperation).
    void readForward(const QString &sql, const std::function<void(const QStringList &)> &names,
                     const std::function<bool(const QVariantList &)> &row);
    // Statements on this connection stop with Interrupted once *flag holds true; the engine
    // looks every few thousand steps. The flag may be set from any thread; nullptr for none.
    void setStopFlag(const std::atomic_bool *flag);

    // Stored queries: the text is kept in the file as written.
    void setQuerySql(const QString &name, const QString &sql);
    QString querySql(const QString &name) const;

    // Whether the text is one SELECT that only reads this file's own tables and views: no
    // write, schema, PRAGMA or ATTACH, no other database or the engine's own tables, no
    // function that reaches outside the file (load_extension). Throws for a text the
    // engine cannot read. *writes tells whether the text would add, change or delete rows.
    bool readsOwnData(const QString &sql, bool *writes = nullptr) const;

    bool hasTable(const QString &name) const; // tables and stored queries
    QStringList fieldNames(const QString &table) const;

    // Schema work in SQLite's own dialect, with the Turkish collation available as
    // COLLATE TURKCE. Not translated; for building files.
    void executeNative(const QString &sql);
    int userVersion() const;
    void setUserVersion(int v);
    // Changes whenever the file's content changed, through this connection or another.
    std::pair<qint64, qint64> dataVersion() const;

    // The order of COLLATE TURKCE. A file's indexes hold the order they were built with:
    // one whose user_version is from 1 up to below kCurrentOrderVersion opens in the
    // Former order, any other in the Current one. Whoever rebuilds the indexes (REINDEX)
    // in the Current order sets it first and raises the version.
    static constexpr int kCurrentOrderVersion = 3;
    using Order = turkish::rules::Order;
    Order turkishOrder() const { return m_order; }
    void setTurkishOrder(Order order);

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

    // Keeps one read transaction open for a run of reads, so that the file is locked
    // once instead of once per statement. Inside another transaction it does nothing.
    class ReadTransaction {
    public:
        explicit ReadTransaction(Database &db);
        ~ReadTransaction();
        ReadTransaction(const ReadTransaction &) = delete;
        ReadTransaction &operator=(const ReadTransaction &) = delete;

    private:
        Database &m_db;
        bool m_own = false;
    };

    // Internal, for the engine's own classes.
    sqlite3 *handle() const { return m_db; }
    QString translate(const QString &sql) const; // program dialect to SQLite
    // Prepared statements kept for reuse by their text: lend gives one ready to bind and
    // step, giveBack keeps it (reset) for the next lend of the same text. Neither looks at
    // the schema: SQLite prepares a kept statement again when the schema has changed.
    std::unique_ptr<Statement> lend(const QString &sql) const;
    void giveBack(const QString &sql, std::unique_ptr<Statement> statement) const;
    // How a recordset reads a text, remembered until the schema changes; asked after
    // translate(), which notices that change.
    bool knownPlan(const QString &translated, bool parameters, std::optional<internal::KeysetPlan> *plan) const;
    void keepPlan(const QString &translated, bool parameters, const std::optional<internal::KeysetPlan> &plan) const;
    QString canonicalName(const QString &name) const; // schema spelling, or name
    internal::ObjectType objectType(const QString &name) const;
    [[noreturn]] void raise(int rc, const QString &context = {}) const;
    void noteWrite();

private:
    Database(sqlite3 *db, QString path, bool readOnly);
    void loadSchemaNames();
    bool turkishCollated(const QString &table, const QString &column) const;
    void narrowLikePrefixes(std::vector<sql::Token> &tokens) const;
    void ensureNames() const; // reloads the names when the schema has changed
    QString translateUncached(const QString &sql) const;
    struct Names;
    int schemaVersion(Names &names) const;
    static int busyWait(void *self, int count);

    sqlite3 *m_db = nullptr;
    QString m_path;
    bool m_readOnly = false;
    LikeDialect m_dialect = LikeDialect::Jet;
    Order m_order = Order::Current;
    std::unique_ptr<Names> m_names;
    qint64 m_busySince = 0; // when the current wait for another program's lock began
    qint64 m_busyLimit = 0; // and how long it may last
};

} // namespace db
