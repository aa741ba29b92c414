#pragma once

#include <QString>

// Faults a file meets behind the program's back, for tests of the error paths. The
// functions return false when they could not make the fault.
namespace fault {

// Writes from's bytes over the file at path, in place (the same file, as a copy
// program does), leaving it from's length.
bool overwriteInPlace(const QString &path, const QString &from);
// Puts a copy of from under path's name (a new file, as a save-by-rename does); whoever
// holds the former file open keeps the former file.
bool replace(const QString &path, const QString &from);
// Adds a table of filler rows to the file, then copies it with a journal beside it, as a
// program that stopped half way through a change leaves it; the copy is read-only.
bool leaveJournal(const QString &path, const QString &copy);
// Shortens the file to the given length.
bool truncate(const QString &path, qint64 bytes);

// While it lives, every write to the file at path and to its journal fails with the
// given SQLite result code (SQLITE_FULL for a full disk, SQLITE_IOERR_WRITE, ...).
// Reads go on. It holds for connections opened after the first RefusedWrites or
// install() of the process.
class RefusedWrites {
public:
    explicit RefusedWrites(const QString &path, int sqliteCode);
    ~RefusedWrites();
    RefusedWrites(const RefusedWrites &) = delete;
    RefusedWrites &operator=(const RefusedWrites &) = delete;
    int refusals() const; // writes refused so far

private:
    int m_id;
};

// While it lives, the journal of the file at path cannot be made, as in a folder the
// program may not write. Like RefusedWrites, for connections opened after install().
class NoJournal {
public:
    explicit NoJournal(const QString &path);
    ~NoJournal();
    NoJournal(const NoJournal &) = delete;
    NoJournal &operator=(const NoJournal &) = delete;

private:
    int m_id;
};

// Puts the refusing layer under every connection opened from now on.
void install();

} // namespace fault
