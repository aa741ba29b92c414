#pragma once

#include <QString>

// Faults a song database meets from outside the program, made on its file while the
// program has it open. Each returns false when the file could not be changed.
namespace faults {

// Every later insert, change and delete of rows in the table is refused, the engine
// giving `message` as the reason (as a full disk or a locked file would).
bool refuseWrites(const QString &path, const QString &table, const QString &message);
// Another program's change: `sql` run on a copy of the archive, which is then copied over
// it in place, with two commits more so that the copy reads as changed.
bool changeElsewhere(const QString &archive, const QString &sql);
// A file truncated, overwritten or replaced behind the program's back: see faultfile.h.

} // namespace faults
