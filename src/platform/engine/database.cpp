#include "database.h"
#include "databasenames.h"
#include "engineinternal.h"
#include "recordset.h"
#include "sqlfunctions.h"
#include "sqltext.h"
#include "sqltokens.h"
#include "statement.h"
#include "turkish.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>

using namespace Qt::StringLiterals;

namespace db {

namespace {

std::atomic<quint64> g_writes{0};

const QString QueriesTable = u"_queries"_s;

// Enough for every statement of a tree build and a window's own.
constexpr qsizetype kCachedTranslations = 256;
constexpr size_t kIdleStatements = 32;

// A connection is used by the thread that opened it alone, so SQLite need not lock it
// around every call.
constexpr int kOneThread = SQLITE_OPEN_NOMUTEX;

// A lock of another program is waited for this long; one still held then is reported.
// Within the quiet time after that, a further wait on the same file is only long enough
// for a commit, so one action of the user that reads and writes several times is
// refused within about a second, not a second per statement.
constexpr qint64 kBusyWaitMs = 1000;
constexpr qint64 kBusyQuietMs = 2000;
constexpr qint64 kBusyQuietWaitMs = 20;
constexpr int kBusyStepMs = 10;

std::mutex g_busyLock;
QHash<QString, qint64> g_busyRefused; // path: when a wait on it last ran out

qint64 nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count() + 1;
}

bool isHidden(const QString &name)
{
    return name.startsWith(u"sqlite_"_s, Qt::CaseInsensitive) || name.compare(QueriesTable, Qt::CaseInsensitive) == 0;
}

} // namespace

namespace internal {

quint64 writeGeneration()
{
    return g_writes.load();
}

} // namespace internal

Database::Database(sqlite3 *db, QString path, bool readOnly)
    : m_db(db)
    , m_path(std::move(path))
    , m_readOnly(readOnly)
    , m_names(std::make_unique<Names>())
{
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_handler(m_db, &Database::busyWait, this);
    // A page cache that holds a whole archive of 30,000 songs with their lyrics (about
    // 60 MB), so that a search of every field reads no page twice. Reads go through
    // system calls, not a mapping: a file cut short by another program then reads as
    // damaged (an error) instead of ending the program with SIGBUS.
    sqlite3_exec(m_db, "PRAGMA cache_size = -65536; PRAGMA mmap_size = 0;", nullptr, nullptr, nullptr);
    sqlfn::install(m_db, this);
    internal::watchRowWrites(m_db);
}

int Database::busyWait(void *self, int count)
{
    auto *db = static_cast<Database *>(self);
    const qint64 now = nowMs();
    if (count == 0) {
        const std::lock_guard lock(g_busyLock);
        const auto refused = g_busyRefused.constFind(db->m_path);
        const bool quiet = refused != g_busyRefused.constEnd() && now - *refused < kBusyQuietMs;
        db->m_busySince = now;
        db->m_busyLimit = quiet ? kBusyQuietWaitMs : kBusyWaitMs;
    }
    if (now - db->m_busySince >= db->m_busyLimit) {
        const std::lock_guard lock(g_busyLock);
        g_busyRefused[db->m_path] = now;
        return 0;
    }
    sqlite3_sleep(kBusyStepMs);
    return 1;
}

Database::~Database()
{
    m_names.reset(); // its statement before the connection
    sqlite3_close_v2(m_db);
}

std::shared_ptr<Database> Database::open(const QString &path)
{
    if (path.trimmed().isEmpty())
        throw Error::make(InvalidPath, path);
    const QFileInfo info(path);
    const QFileInfo folder(info.absolutePath());
    if (!folder.isDir() || info.isDir())
        throw Error::make(InvalidPath, path);
    if (!info.exists())
        throw Error::make(FileNotFound, path);
    if (!info.isFile())
        throw Error::make(UnrecognizedFormat, path);

    const QString file = info.absoluteFilePath();
    QFile probe(file);
    if (!probe.open(QIODevice::ReadOnly))
        throw Error::make(FileAccessDenied, path);
    // SQLite takes an empty file for an empty database; this layer does not.
    if (probe.read(16) != QByteArray("SQLite format 3", 16))
        throw Error::make(UnrecognizedFormat, path);
    probe.close();

    // A file without write permission opens read-only, also for a user who could
    // write it anyway.
    const auto writeBits = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    bool readOnly = !info.isWritable() || !(info.permissions() & writeBits)
                    || !QFileInfo(info.absolutePath()).isWritable();

    sqlite3 *handle = nullptr;
    int rc = sqlite3_open_v2(file.toUtf8().constData(), &handle,
                             (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | kOneThread, nullptr);
    if (rc != SQLITE_OK && !readOnly) {
        sqlite3_close_v2(handle);
        handle = nullptr;
        readOnly = true;
        rc = sqlite3_open_v2(file.toUtf8().constData(), &handle, SQLITE_OPEN_READONLY | kOneThread, nullptr);
    }
    if (rc != SQLITE_OK) {
        sqlite3_close_v2(handle);
        throw Error::make((rc & 0xff) == SQLITE_NOTADB ? UnrecognizedFormat : FileAccessDenied, path);
    }
    std::shared_ptr<Database> db(new Database(handle, path, readOnly));

    // The first read tells a database from any other file.
    rc = sqlite3_exec(handle, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        switch (rc & 0xff) {
        case SQLITE_NOTADB:
        case SQLITE_CORRUPT:
            throw Error::make(UnrecognizedFormat, path);
        case SQLITE_CANTOPEN:
        case SQLITE_PERM:
        case SQLITE_AUTH:
            throw Error::make(FileAccessDenied, path);
        default:
            db->raise(rc);
        }
    }
    if (sqlite3_db_readonly(handle, "main") == 1)
        db->m_readOnly = true;
    const int version = db->userVersion();
    if (version >= 1 && version < kCurrentOrderVersion)
        db->m_order = Order::Former;
    db->loadSchemaNames();
    return db;
}

std::shared_ptr<Database> Database::create(const QString &path)
{
    const QFileInfo info(path);
    if (path.trimmed().isEmpty() || !QFileInfo(info.absolutePath()).isDir() || info.isDir())
        throw Error::make(InvalidPath, path);
    if (info.exists())
        throw Error(EngineFailure, u"'%1' dosyası zaten var."_s.arg(path));
    sqlite3 *handle = nullptr;
    const int rc = sqlite3_open_v2(info.absoluteFilePath().toUtf8().constData(), &handle,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | kOneThread, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close_v2(handle);
        throw Error::make(FileAccessDenied, path);
    }
    {
        Database made(handle, path, false);
        made.executeNative(u"CREATE TABLE %1 (name TEXT PRIMARY KEY, sql TEXT)"_s.arg(QueriesTable));
    }
    return open(path);
}

void Database::loadSchemaNames()
{
    auto names = std::make_unique<Names>();
    if (m_names)
        names->versionStatement = std::move(m_names->versionStatement);
    names->schemaVersion = schemaVersion(*names);
    QStringList objects;
    {
        Statement st(*this, u"SELECT name, type FROM sqlite_master WHERE type IN ('table', 'view')"_s);
        while (st.step()) {
            const QString name = st.value(0).toString();
            names->types.insert(name, st.value(1).toString() == u"view"_s ? internal::ObjectType::View
                                                                          : internal::ObjectType::Table);
            if (!isHidden(name))
                objects << name;
        }
    }
    for (const QString &name : std::as_const(objects)) {
        names->objects.insert(turkish::fold(name), name);
        try {
            Statement st(*this, u"SELECT name, upper(type) FROM pragma_table_info(?1)"_s);
            st.bind(1, name);
            while (st.step()) {
                const QString column = st.value(0).toString();
                names->columns.insert(turkish::fold(column), column);
                names->tableColumns[turkish::fold(name)].insert(turkish::fold(column));
                const QString type = st.value(1).toString();
                // A view's columns have no collation of their own to ask for; no range is
                // added on a view.
                const bool table = names->types.value(name) == internal::ObjectType::Table;
                if ((!type.contains(u"TEXT"_s) && !type.contains(u"CHAR"_s))
                    || (table && !turkishCollated(name, column)))
                    names->unranged.insert(turkish::fold(column));
            }
        } catch (const Error &) {
            // A stored query whose tables are gone has no columns to offer.
        }
    }
    m_names = std::move(names);
}

// Whether a column compares in the Turkish order by itself, without a COLLATE of its own.
bool Database::turkishCollated(const QString &table, const QString &column) const
{
    const char *collation = nullptr;
    const int rc = sqlite3_table_column_metadata(m_db, "main", table.toUtf8().constData(), column.toUtf8().constData(),
                                                 nullptr, &collation, nullptr, nullptr, nullptr);
    return rc == SQLITE_OK && collation && qstricmp(collation, "TURKCE") == 0;
}

int Database::schemaVersion(Names &names) const
{
    if (!names.versionStatement)
        names.versionStatement = std::make_unique<Statement>(*this, u"PRAGMA schema_version"_s);
    Statement &v = *names.versionStatement;
    int version = -1;
    try {
        if (v.step())
            version = v.value(0).toInt();
    } catch (...) {
        v.reset();
        throw;
    }
    v.reset();
    return version;
}

void Database::ensureNames() const
{
    if (schemaVersion(*m_names) != m_names->schemaVersion)
        const_cast<Database *>(this)->loadSchemaNames();
}

internal::ObjectType Database::objectType(const QString &name) const
{
    ensureNames();
    const QString canonical = m_names->objects.value(turkish::fold(name), name);
    return m_names->types.value(canonical, internal::ObjectType::None);
}

QString Database::canonicalName(const QString &name) const
{
    ensureNames();
    return m_names->objects.value(turkish::fold(name), name);
}

QString Database::translate(const QString &text) const
{
    ensureNames();
    QHash<QString, QString> &cache = m_names->translations[m_dialect == LikeDialect::Jet ? 0 : 1];
    if (const auto hit = cache.constFind(text); hit != cache.constEnd())
        return *hit;
    QString translated = translateUncached(text);
    if (cache.size() >= kCachedTranslations)
        cache.clear();
    cache.insert(text, translated);
    return translated;
}

std::unique_ptr<Statement> Database::lend(const QString &sql) const
{
    if (const auto it = m_names->idle.find(sql); it != m_names->idle.end()) {
        std::unique_ptr<Statement> st = std::move(it->second);
        m_names->idle.erase(it);
        return st;
    }
    return std::make_unique<Statement>(*this, sql);
}

void Database::giveBack(const QString &sql, std::unique_ptr<Statement> statement) const
{
    if (!statement)
        return;
    statement->reset();
    if (m_names->idle.size() >= kIdleStatements)
        m_names->idle.clear();
    m_names->idle.try_emplace(sql, std::move(statement));
}

bool Database::knownPlan(const QString &translated, bool parameters, internal::Plan *plan) const
{
    const QHash<QString, internal::Plan> &plans = m_names->plans[parameters ? 1 : 0];
    const auto it = plans.constFind(translated);
    if (it == plans.constEnd())
        return false;
    *plan = *it;
    return true;
}

void Database::keepPlan(const QString &translated, bool parameters, const internal::Plan &plan) const
{
    QHash<QString, internal::Plan> &plans = m_names->plans[parameters ? 1 : 0];
    if (plans.size() >= kCachedTranslations)
        plans.clear();
    plans.insert(translated, plan);
}

[[noreturn]] void Database::raise(int rc, const QString &context) const
{
    const QString engineText = QString::fromUtf8(sqlite3_errmsg(m_db));
    QString message = engineText;
    if (!context.isEmpty())
        message = context + u": "_s + message;
    const int extended = sqlite3_extended_errcode(m_db);
    const auto is = [&](int code) { return extended == code || rc == code; };
    switch (rc & 0xff) {
    case SQLITE_CONSTRAINT:
        if (is(SQLITE_CONSTRAINT_UNIQUE) || is(SQLITE_CONSTRAINT_PRIMARYKEY))
            throw Error::make(DuplicateKey, message);
        break;
    case SQLITE_READONLY:
        // A file moved or replaced under its name since it was opened: writes would land
        // in the former file, which is no longer the archive.
        if (is(SQLITE_READONLY_DBMOVED))
            throw Error::make(DatabaseDamaged, m_path);
        // A change left half done that only a writable file and folder can undo.
        if (is(SQLITE_READONLY_ROLLBACK) || is(SQLITE_READONLY_RECOVERY))
            throw Error::make(JournalToRecover, m_path);
        if (is(SQLITE_READONLY_DIRECTORY) || is(SQLITE_READONLY_CANTINIT) || is(SQLITE_READONLY_CANTLOCK))
            throw Error::make(NoJournal, m_path);
        throw Error::make(ReadOnlyDatabase, m_path);
    case SQLITE_CANTOPEN:
        // The file itself is open: what cannot be made is its journal beside it.
        throw Error::make(NoJournal, m_path);
    case SQLITE_BUSY:
        // SQLITE_LOCKED, a conflict inside this process, stays an engine failure.
        throw Error::make(Locked, m_path);
    case SQLITE_NOTADB:
        throw Error::make(UnrecognizedFormat, m_path);
    case SQLITE_CORRUPT:
        throw Error::make(DatabaseDamaged, m_path);
    case SQLITE_FULL:
        throw Error::make(DiskFull, m_path);
    case SQLITE_IOERR:
        if (is(SQLITE_IOERR_SHORT_READ))
            throw Error::make(DatabaseDamaged, m_path);
        if (is(SQLITE_IOERR_NOMEM))
            throw Error::make(OutOfMemory, engineText);
        throw Error::make(DiskIoError, m_path + u": "_s + message);
    case SQLITE_TOOBIG:
        throw Error::make(ValueTooBig, message);
    case SQLITE_NOMEM:
        throw Error::make(OutOfMemory, message);
    case SQLITE_INTERRUPT:
        throw Error::make(Interrupted, message);
    case SQLITE_AUTH:
        throw Error::make(NotAuthorized, message);
    case SQLITE_PERM:
        throw Error::make(FileAccessDenied, m_path);
    case SQLITE_ERROR:
    case SQLITE_SCHEMA: {
        // A kept statement prepared again after the table went.
        const QString missing = u"no such table: "_s;
        if (engineText.startsWith(missing)) {
            QString name = engineText.mid(missing.size());
            if (name.startsWith(u"main."_s))
                name = name.mid(5);
            throw Error::make(ObjectNotFound, name);
        }
        // A function the connection refuses, such as load_extension().
        if (engineText == u"not authorized"_s)
            throw Error::make(NotAuthorized, message);
        break;
    }
    default:
        break;
    }
    throw Error::make(EngineFailure, message);
}

void Database::noteWrite()
{
    ++g_writes;
}

int Database::execute(const QString &text)
{
    const QString translated = translate(text);
    const QString keyword = sql::firstKeyword(sql::tokenize(translated));
    if (keyword == u"SELECT"_s || keyword == u"WITH"_s || keyword == u"VALUES"_s)
        throw Error::make(CannotExecuteSelect, text);
    Statement st(*this, translated);
    if (!st.readOnly() && m_readOnly)
        throw Error::make(ReadOnlyDatabase, m_path);
    const sqlite3_int64 before = sqlite3_total_changes64(m_db);
    try {
        while (st.step()) {
        }
    } catch (...) {
        noteWrite();
        throw;
    }
    // A statement that changed no row leaves the cached rows of every recordset valid.
    if (sqlite3_total_changes64(m_db) != before)
        noteWrite();
    return sqlite3_changes(m_db);
}

int Database::execute(const QString &text, const QVariantList &parameters)
{
    const QString translated = translate(text);
    const QString keyword = sql::firstKeyword(sql::tokenize(translated));
    if (keyword == u"SELECT"_s || keyword == u"WITH"_s || keyword == u"VALUES"_s)
        throw Error::make(CannotExecuteSelect, text);
    std::unique_ptr<Statement> st = lend(translated);
    if (!st->readOnly() && m_readOnly)
        throw Error::make(ReadOnlyDatabase, m_path);
    st->bindAll(parameters);
    try {
        while (st->step()) {
        }
    } catch (...) {
        noteWrite();
        throw;
    }
    noteWrite();
    const int changes = sqlite3_changes(m_db);
    giveBack(translated, std::move(st));
    return changes;
}

std::unique_ptr<Recordset> Database::openRecordset(const QString &source, const QVariantList &parameters)
{
    return internal::makeRecordset(shared_from_this(), source, parameters);
}

void Database::readForward(const QString &text, const std::function<void(const QStringList &)> &names,
                           const std::function<bool(const QVariantList &)> &row)
{
    const QString translated = translate(text);
    const QString keyword = sql::firstKeyword(sql::tokenize(translated));
    if (keyword != u"SELECT"_s && keyword != u"WITH"_s && keyword != u"VALUES"_s)
        throw Error::make(InvalidOperation, text);
    Statement st(*this, translated);
    if (!st.readOnly())
        throw Error::make(InvalidOperation, text);
    const int width = st.columnCount();
    QStringList fields;
    for (int i = 0; i < width; ++i)
        fields << st.columnName(i);
    names(fields);
    QVariantList values(width);
    while (st.step()) {
        for (int i = 0; i < width; ++i)
            values[i] = st.value(i);
        if (!row(values))
            return;
    }
}

void Database::setStopFlag(const std::atomic_bool *flag)
{
    constexpr int kStepsBetweenLooks = 1000;
    if (!flag) {
        sqlite3_progress_handler(m_db, 0, nullptr, nullptr);
        return;
    }
    sqlite3_progress_handler(
        m_db, kStepsBetweenLooks,
        [](void *f) { return static_cast<const std::atomic_bool *>(f)->load(std::memory_order_relaxed) ? 1 : 0; },
        const_cast<std::atomic_bool *>(flag));
}

void Database::setQuerySql(const QString &name, const QString &text)
{
    const QString canonical = canonicalName(name);
    const internal::ObjectType type = objectType(canonical);
    if (type == internal::ObjectType::Table)
        throw Error::make(InvalidOperation, name);
    if (m_readOnly)
        throw Error::make(ReadOnlyDatabase, m_path);

    QString body;
    if (text.trimmed().isEmpty()) {
        // An empty text delivers no rows; the columns of the former text stay.
        QStringList nulls;
        if (type == internal::ObjectType::View) {
            try {
                const QStringList fields = fieldNames(canonical);
                for (const QString &f : fields)
                    nulls << u"NULL AS "_s + sql::quoteIdentifier(f);
            } catch (const Error &) {
                // A view whose columns cannot be read gets one Null column; it delivers no rows anyway.
            }
        }
        if (nulls.isEmpty())
            nulls << u"NULL"_s;
        body = u"SELECT "_s + nulls.join(u", "_s) + u" WHERE 0"_s;
    } else {
        const sql::Tokens t = sql::tokenize(translate(text));
        const QString keyword = sql::firstKeyword(t);
        if (keyword != u"SELECT"_s && keyword != u"WITH"_s && keyword != u"VALUES"_s)
            throw Error::make(InvalidOperation, text);
        size_t end = t.size();
        while (end > 0 && (!t[end - 1].significant() || t[end - 1].isPunct(u';')))
            --end;
        body = sql::join(t, 0, end);
        Statement check(*this, body); // reports a bad text before anything changes
    }

    Transaction tx(*this);
    executeNative(u"DROP VIEW IF EXISTS "_s + sql::quoteIdentifier(canonical));
    executeNative(u"CREATE VIEW "_s + sql::quoteIdentifier(canonical) + u" AS "_s + body);
    executeNative(u"CREATE TABLE IF NOT EXISTS %1 (name TEXT PRIMARY KEY, sql TEXT)"_s.arg(QueriesTable));
    {
        Statement del(*this, u"DELETE FROM %1 WHERE name = ?1"_s.arg(QueriesTable));
        del.bind(1, canonical);
        del.step();
        Statement ins(*this, u"INSERT INTO %1 (name, sql) VALUES (?1, ?2)"_s.arg(QueriesTable));
        ins.bind(1, canonical);
        ins.bind(2, text);
        ins.step();
    }
    tx.commit();
}

QString Database::querySql(const QString &name) const
{
    const QString canonical = canonicalName(name);
    if (objectType(canonical) != internal::ObjectType::View)
        throw Error::make(ObjectNotFound, name);
    {
        Statement has(*this, u"SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1"_s);
        has.bind(1, QueriesTable);
        if (has.step()) {
            Statement st(*this, u"SELECT sql FROM %1 WHERE name = ?1"_s.arg(QueriesTable));
            st.bind(1, canonical);
            if (st.step())
                return st.value(0).toString();
        }
    }
    // A view made by another tool: its text after AS.
    Statement st(*this, u"SELECT sql FROM sqlite_master WHERE type = 'view' AND name = ?1"_s);
    st.bind(1, canonical);
    if (!st.step())
        throw Error::make(ObjectNotFound, name);
    const sql::Tokens t = sql::tokenize(st.value(0).toString());
    for (size_t i = 0; i < t.size(); ++i) {
        if (t[i].is("AS"_L1))
            return sql::join(t, sql::nextSignificant(t, i + 1), t.size());
    }
    return {};
}

namespace {

struct OwnDataCheck {
    bool denied = false;
    bool writes = false; // rows would be added, changed or deleted
};

// Refuses every action of a statement but reading this file's own tables and views.
int ownDataOnly(void *state, int action, const char *a, const char *b, const char *database, const char *)
{
    auto *check = static_cast<OwnDataCheck *>(state);
    const auto refuse = [check] {
        check->denied = true;
        return SQLITE_DENY;
    };
    switch (action) {
    case SQLITE_SELECT:
    case SQLITE_RECURSIVE:
        return SQLITE_OK;
    case SQLITE_READ:
        if (qstrcmp(database, "main") != 0 || qstrnicmp(a, "sqlite_", 7) == 0 || qstrnicmp(a, "pragma_", 7) == 0
            || qstricmp(a, QueriesTable.toUtf8().constData()) == 0)
            return refuse();
        return SQLITE_OK;
    case SQLITE_FUNCTION: // b: the function's name
        if (qstricmp(b, "load_extension") == 0 || qstricmp(b, "fts3_tokenizer") == 0)
            return refuse();
        return SQLITE_OK;
    case SQLITE_INSERT:
    case SQLITE_UPDATE:
    case SQLITE_DELETE:
        // Rows of the schema's own table change with CREATE and DROP, which write no records.
        if (qstrnicmp(a, "sqlite_", 7) != 0)
            check->writes = true;
        return refuse();
    default:
        return refuse();
    }
}

} // namespace

bool Database::readsOwnData(const QString &text, bool *writes) const
{
    const QString translated = translate(text);
    const QString keyword = sql::firstKeyword(sql::tokenize(translated));
    const bool select = keyword == u"SELECT"_s || keyword == u"WITH"_s;
    OwnDataCheck check;
    struct Authorizer {
        sqlite3 *db;
        ~Authorizer() { sqlite3_set_authorizer(db, nullptr, nullptr); }
    } guard{m_db};
    sqlite3_set_authorizer(m_db, ownDataOnly, &check);
    bool reads = false;
    try {
        // Prepared only: nothing of the text runs.
        const Statement st(*this, translated);
        reads = st.readOnly() && st.columnCount() > 0;
    } catch (const Error &) {
        // Any other statement is refused for what it is, whatever the engine makes of it.
        if (select && !check.denied)
            throw;
    }
    if (writes)
        *writes = check.writes;
    return select && reads && !check.denied;
}

bool Database::hasTable(const QString &name) const
{
    ensureNames();
    return m_names->objects.contains(turkish::fold(name));
}

QStringList Database::fieldNames(const QString &table) const
{
    ensureNames();
    const QString canonical = m_names->objects.value(turkish::fold(table));
    if (canonical.isEmpty())
        throw Error::make(ObjectNotFound, table);
    QStringList out;
    Statement st(*this, u"SELECT name FROM pragma_table_info(?1)"_s);
    st.bind(1, canonical);
    while (st.step())
        out << st.value(0).toString();
    return out;
}

void Database::executeNative(const QString &text)
{
    char *message = nullptr;
    const int rc = sqlite3_exec(m_db, text.toUtf8().constData(), nullptr, nullptr, &message);
    sqlite3_free(message);
    noteWrite();
    if (rc != SQLITE_OK)
        raise(rc);
}

void Database::setTurkishOrder(Order order)
{
    m_order = order;
    // Translations hold Like ranges made in the order.
    for (auto &t : m_names->translations)
        t.clear();
}

int Database::userVersion() const
{
    Statement st(*this, u"PRAGMA user_version"_s);
    return st.step() ? st.value(0).toInt() : 0;
}

std::pair<qint64, qint64> Database::dataVersion() const
{
    // data_version counts the commits of other connections, total_changes this one's rows.
    Statement st(*this, u"PRAGMA data_version"_s);
    return {st.step() ? st.value(0).toLongLong() : 0, sqlite3_total_changes64(m_db)};
}

void Database::setUserVersion(int v)
{
    executeNative(u"PRAGMA user_version = %1"_s.arg(v));
}

Database::Transaction::Transaction(Database &db)
    : m_db(db)
{
    m_db.executeNative(u"SAVEPOINT qel_tx"_s);
}

Database::Transaction::~Transaction()
{
    if (m_done)
        return;
    sqlite3_exec(m_db.m_db, "ROLLBACK TO qel_tx; RELEASE qel_tx", nullptr, nullptr, nullptr);
    m_db.noteWrite();
}

void Database::Transaction::commit()
{
    m_db.executeNative(u"RELEASE qel_tx"_s);
    m_done = true;
}

Database::ReadTransaction::ReadTransaction(Database &db)
    : m_db(db)
{
    if (sqlite3_get_autocommit(m_db.m_db))
        m_own = sqlite3_exec(m_db.m_db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK;
}

Database::ReadTransaction::~ReadTransaction()
{
    if (!m_own || sqlite3_get_autocommit(m_db.m_db))
        return;
    if (sqlite3_exec(m_db.m_db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        sqlite3_exec(m_db.m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

} // namespace db
