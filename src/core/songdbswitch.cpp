#include "songdbswitch.h"

#include "database.h"
#include "datacontrol.h"
#include "songdatabase.h"

using namespace Qt::StringLiterals;

namespace songdb {

DatabaseSwitch::DatabaseSwitch(db::DataControl &songs, db::DataControl &settings)
    : m_songs(songs)
    , m_settings(settings)
{
}

SwitchResult DatabaseSwitch::open(const QString &path, bool saveEditFirst)
{
    using Outcome = SwitchResult::Outcome;
    SwitchResult result;
    try {
        result.database = openChecked(path);
    } catch (const db::Error &e) {
        switch (e.number()) {
        case db::FileNotFound:
        case db::InvalidPath:
            result.outcome = Outcome::NotFound;
            break;
        case db::ObjectNotFound:
            result.outcome = Outcome::NotSongDatabase;
            break;
        case db::UnrecognizedFormat:
            result.outcome = Outcome::NotDatabase;
            break;
        default:
            result.outcome = Outcome::OpenFailed;
            break;
        }
        result.error = e;
        return result;
    }

    if (saveEditFirst) {
        try {
            m_songs.saveRecord();
        } catch (const db::Error &e) {
            result.database.reset();
            result.outcome = Outcome::EditRefused;
            result.error = e;
            return result;
        }
    }

    const QString oldName = m_songs.databaseName();
    const QString oldSource = m_songs.recordSource();
    try {
        bind(path, u"zelvoran"_s);
    } catch (const db::Error &e) {
        result.database.reset();
        result.outcome = Outcome::BindFailed;
        result.error = e;
        if (!oldName.isEmpty()) {
            try {
                bind(oldName, oldSource);
            } catch (const db::Error &rollback) {
                // Neither file can be read: show nothing rather than rows of a file the
                // window is not on.
                m_songs.close();
                m_settings.close();
                result.outcome = Outcome::RollbackFailed;
                result.rollbackError = rollback;
            }
        }
        return result;
    }
    result.outcome = Outcome::Opened;
    return result;
}

void DatabaseSwitch::bind(const QString &path, const QString &songSource)
{
    m_songs.setDatabaseName(path);
    m_songs.setRecordSource(songSource);
    m_songs.refresh();
    m_settings.setDatabaseName(path);
    m_settings.setRecordSource(u"ayarlar"_s);
    m_settings.refresh();
}

} // namespace songdb
