#include "faultfile.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <cstdio>
#include <map>
#include <mutex>
#include <string>

namespace fault {

namespace {

// A layer over the default VFS whose files ask, on every write, whether their path is
// refused just now.
struct Refusal {
    std::string path; // absolute; its journal shares the prefix
    int code;
    int count = 0;
};

std::mutex g_lock;
std::map<int, Refusal> g_refusals;
std::map<int, std::string> g_noJournal; // absolute paths of files whose journal fails
int g_nextId = 1;
sqlite3_vfs *g_real = nullptr;
sqlite3_vfs g_vfs;

struct File {
    sqlite3_file base;
    std::string path;
    sqlite3_file *real() { return reinterpret_cast<sqlite3_file *>(this + 1); }
};

File *self(sqlite3_file *f)
{
    return reinterpret_cast<File *>(f);
}

int refusedCode(File *f)
{
    const std::lock_guard lock(g_lock);
    for (auto &[id, r] : g_refusals) {
        if (!f->path.empty() && f->path.compare(0, r.path.size(), r.path) == 0) {
            ++r.count;
            return r.code;
        }
    }
    return SQLITE_OK;
}

int xClose(sqlite3_file *f)
{
    File *file = self(f);
    const int rc = file->real()->pMethods ? file->real()->pMethods->xClose(file->real()) : SQLITE_OK;
    file->path.~basic_string();
    return rc;
}
int xRead(sqlite3_file *f, void *buf, int n, sqlite3_int64 off)
{
    return self(f)->real()->pMethods->xRead(self(f)->real(), buf, n, off);
}
int xWrite(sqlite3_file *f, const void *buf, int n, sqlite3_int64 off)
{
    if (const int rc = refusedCode(self(f)))
        return rc;
    return self(f)->real()->pMethods->xWrite(self(f)->real(), buf, n, off);
}
int xTruncate(sqlite3_file *f, sqlite3_int64 size)
{
    if (const int rc = refusedCode(self(f)))
        return rc;
    return self(f)->real()->pMethods->xTruncate(self(f)->real(), size);
}
int xSync(sqlite3_file *f, int flags)
{
    return self(f)->real()->pMethods->xSync(self(f)->real(), flags);
}
int xFileSize(sqlite3_file *f, sqlite3_int64 *size)
{
    return self(f)->real()->pMethods->xFileSize(self(f)->real(), size);
}
int xLock(sqlite3_file *f, int level)
{
    return self(f)->real()->pMethods->xLock(self(f)->real(), level);
}
int xUnlock(sqlite3_file *f, int level)
{
    return self(f)->real()->pMethods->xUnlock(self(f)->real(), level);
}
int xCheckReservedLock(sqlite3_file *f, int *out)
{
    return self(f)->real()->pMethods->xCheckReservedLock(self(f)->real(), out);
}
int xFileControl(sqlite3_file *f, int op, void *arg)
{
    return self(f)->real()->pMethods->xFileControl(self(f)->real(), op, arg);
}
int xSectorSize(sqlite3_file *f)
{
    return self(f)->real()->pMethods->xSectorSize(self(f)->real());
}
int xDeviceCharacteristics(sqlite3_file *f)
{
    return self(f)->real()->pMethods->xDeviceCharacteristics(self(f)->real());
}
int xShmMap(sqlite3_file *f, int region, int size, int extend, void volatile **p)
{
    return self(f)->real()->pMethods->xShmMap(self(f)->real(), region, size, extend, p);
}
int xShmLock(sqlite3_file *f, int offset, int n, int flags)
{
    return self(f)->real()->pMethods->xShmLock(self(f)->real(), offset, n, flags);
}
void xShmBarrier(sqlite3_file *f)
{
    self(f)->real()->pMethods->xShmBarrier(self(f)->real());
}
int xShmUnmap(sqlite3_file *f, int deleteFlag)
{
    return self(f)->real()->pMethods->xShmUnmap(self(f)->real(), deleteFlag);
}
int xFetch(sqlite3_file *f, sqlite3_int64 off, int n, void **p)
{
    return self(f)->real()->pMethods->xFetch(self(f)->real(), off, n, p);
}
int xUnfetch(sqlite3_file *f, sqlite3_int64 off, void *p)
{
    return self(f)->real()->pMethods->xUnfetch(self(f)->real(), off, p);
}

const sqlite3_io_methods g_methods = {
    3,
    xClose,
    xRead,
    xWrite,
    xTruncate,
    xSync,
    xFileSize,
    xLock,
    xUnlock,
    xCheckReservedLock,
    xFileControl,
    xSectorSize,
    xDeviceCharacteristics,
    xShmMap,
    xShmLock,
    xShmBarrier,
    xShmUnmap,
    xFetch,
    xUnfetch,
};

int xOpen(sqlite3_vfs *, sqlite3_filename name, sqlite3_file *f, int flags, int *outFlags)
{
    File *file = self(f);
    file->base.pMethods = nullptr;
    if (name && (flags & SQLITE_OPEN_MAIN_JOURNAL)) {
        const std::lock_guard lock(g_lock);
        for (const auto &[id, path] : g_noJournal) {
            if (std::string(name).compare(0, path.size(), path) == 0)
                return SQLITE_CANTOPEN;
        }
    }
    const int rc = g_real->xOpen(g_real, name, file->real(), flags, outFlags);
    if (file->real()->pMethods) {
        new (&file->path) std::string(name ? name : "");
        file->base.pMethods = &g_methods;
    }
    return rc;
}

} // namespace

void install()
{
    const std::lock_guard lock(g_lock);
    if (g_real)
        return;
    g_real = sqlite3_vfs_find(nullptr);
    g_vfs = *g_real;
    g_vfs.szOsFile = int(sizeof(File)) + g_real->szOsFile;
    g_vfs.zName = "qel-fault";
    g_vfs.xOpen = xOpen;
    sqlite3_vfs_register(&g_vfs, 1);
}

RefusedWrites::RefusedWrites(const QString &path, int sqliteCode)
{
    install();
    const std::lock_guard lock(g_lock);
    m_id = g_nextId++;
    g_refusals[m_id] = Refusal{QFileInfo(path).absoluteFilePath().toStdString(), sqliteCode};
}

RefusedWrites::~RefusedWrites()
{
    const std::lock_guard lock(g_lock);
    g_refusals.erase(m_id);
}

int RefusedWrites::refusals() const
{
    const std::lock_guard lock(g_lock);
    return g_refusals.at(m_id).count;
}

NoJournal::NoJournal(const QString &path)
{
    install();
    const std::lock_guard lock(g_lock);
    m_id = g_nextId++;
    g_noJournal[m_id] = QFileInfo(path).absoluteFilePath().toStdString();
}

NoJournal::~NoJournal()
{
    const std::lock_guard lock(g_lock);
    g_noJournal.erase(m_id);
}

bool leaveJournal(const QString &path, const QString &copy)
{
    sqlite3 *c = nullptr;
    if (sqlite3_open(path.toUtf8().constData(), &c) != SQLITE_OK)
        return false;
    // More pages than the cache holds, so that the change reaches the file before its end.
    const char *change = "CREATE TABLE dolgu (x); "
                         "INSERT INTO dolgu WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c "
                         "WHERE i < 200) SELECT zeroblob(4000) FROM c; "
                         "PRAGMA cache_size = 1; BEGIN; UPDATE dolgu SET x = zeroblob(4001)";
    const bool ok = sqlite3_exec(c, change, nullptr, nullptr, nullptr) == SQLITE_OK && QFile::copy(path, copy)
                    && QFile::copy(path + QStringLiteral("-journal"), copy + QStringLiteral("-journal"));
    sqlite3_exec(c, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(c);
    return ok && QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
}

bool overwriteInPlace(const QString &path, const QString &from)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = source.readAll();
    QFile f(path);
    // No Truncate flag: the same file is opened for writing, then cut to the new length.
    return f.open(QIODevice::ReadWrite) && f.write(bytes) == bytes.size() && f.resize(bytes.size());
}

bool replace(const QString &path, const QString &from)
{
    const QString fresh = path + QStringLiteral(".yeni");
    QFile::remove(fresh);
    return QFile::copy(from, fresh)
           && ::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(path).constData()) == 0;
}

bool truncate(const QString &path, qint64 bytes)
{
    return QFile::resize(path, bytes);
}

} // namespace fault
