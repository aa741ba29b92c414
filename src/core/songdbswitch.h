#pragma once

#include "dberror.h"

#include <QString>
#include <memory>
#include <optional>

namespace db {
class Database;
class DataControl;
} // namespace db

namespace songdb {

// What came of binding the window to another song database.
struct SwitchResult {
    enum class Outcome {
        Opened,          // both data controls read the new file
        NotFound,        // no such file or path
        NotSongDatabase, // a database without the songs or settings table
        NotDatabase,     // not a database file at all
        OpenFailed,      // any other failure to open or check the file
        EditRefused,     // the pending edit of the record shown could not be saved; nothing changed
        BindFailed,      // the controls could not read the new file and read the former one again
        RollbackFailed,  // ... nor the former one: they are detached and show nothing
    };
    Outcome outcome = Outcome::OpenFailed;
    std::optional<db::Error> error;         // why, for anything but Opened
    std::optional<db::Error> rollbackError; // RollbackFailed: why the former file was not read again
    std::shared_ptr<db::Database> database; // Opened: the checked file
};

// Opens and checks a song database, then binds the songs control (Zelvoran) and the
// settings control (its ayarlar row) to it. Anything but Opened leaves the controls on
// the file they had, or detached when that file cannot be read again.
class DatabaseSwitch {
public:
    DatabaseSwitch(db::DataControl &songs, db::DataControl &settings);

    // With saveEditFirst the pending edit is saved before the controls change.
    SwitchResult open(const QString &path, bool saveEditFirst);

private:
    void bind(const QString &path, const QString &songSource);

    db::DataControl &m_songs;
    db::DataControl &m_settings;
};

} // namespace songdb
