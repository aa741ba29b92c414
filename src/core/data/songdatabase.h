#pragma once

#include <QString>
#include <memory>

namespace db {
class Database;
}

namespace songdb {

// Opens a song database and checks that it has its songs and music settings tables.
// Throws db::Error: the engine's open errors, or ObjectNotFound for a missing table.
std::shared_ptr<db::Database> openChecked(const QString &path);

// The settings database in the program's folder, made anew or repaired when it is
// missing or broken. Throws db::Error when it can be neither opened nor repaired.
std::shared_ptr<db::Database> openSettings(const QString &path);

// vtyol of the settings row; empty when Null.
QString storedPath(db::Database &settings);
void storePath(db::Database &settings, const QString &path);

// nsz.dll in the program's folder, unless another path was set (tests).
QString settingsPath();
void setSettingsPath(const QString &path);

} // namespace songdb
