#include "songdatabase.h"

#include "database.h"
#include "recordset.h"
#include "schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace songdb {

std::shared_ptr<db::Database> openChecked(const QString &path)
{
    auto vt = db::Database::open(path);
    for (const QString &table : {u"zelvoran"_s, u"ayarlar"_s}) {
        if (!vt->hasTable(table))
            throw db::Error::make(db::ObjectNotFound, table);
    }
    schema::upgradeSongDatabase(*vt);
    return vt;
}

std::shared_ptr<db::Database> openSettings(const QString &path)
{
    try {
        auto ayarvt = db::Database::open(path);
        if (ayarvt->hasTable(u"ayarlar"_s)) {
            auto rs = ayarvt->openRecordset(u"ayarlar"_s);
            if (!rs->eof())
                return ayarvt;
        }
    } catch (const db::Error &e) {
        if (e.number() == db::UnrecognizedFormat) {
            // Keep the broken file beside the new one rather than overwrite it, and beside
            // any broken one kept before.
            QString aside = path + u".bozuk"_s;
            for (int n = 2; QFileInfo::exists(aside); ++n)
                aside = path + u".bozuk"_s + QString::number(n);
            if (!QFile::rename(path, aside))
                throw;
        } else if (e.number() != db::FileNotFound) {
            throw;
        }
    }
    if (const std::optional<db::Error> failure = schema::repairSettingsDatabase(path))
        throw db::Error(db::FileAccessDenied, failure->description());
    return db::Database::open(path);
}

QString storedPath(db::Database &settings)
{
    auto rs = settings.openRecordset(u"ayarlar"_s);
    if (rs->eof())
        return {};
    return rs->field(u"vtyol"_s).toString();
}

void storePath(db::Database &settings, const QString &path)
{
    auto rs = settings.openRecordset(u"ayarlar"_s);
    if (rs->eof())
        rs->addNew();
    else
        rs->edit();
    rs->setField(u"vtyol"_s, path);
    rs->update();
}

namespace {
QString &settingsOverride()
{
    static QString path;
    return path;
}
} // namespace

void setSettingsPath(const QString &path)
{
    settingsOverride() = path;
}

QString settingsPath()
{
    if (!settingsOverride().isEmpty())
        return settingsOverride();
    return QDir(QCoreApplication::applicationDirPath()).filePath(u"nsz.dll"_s);
}

} // namespace songdb
