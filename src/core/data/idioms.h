#pragma once

#include <QString>
#include <QStringView>
#include <memory>
#include <utility>
#include <vector>

namespace db {
class Database;
}

// The idioms of the dictionary that occur in a song's lyrics, as the idiom box lists them.
namespace idioms {

struct Row {
    QString deyim; // Null reads as empty
    QString aciklama;
};

// "select * from sozluk order by deyim": every row, in that order. Throws db::Error.
std::vector<Row> readDictionary(db::Database &db);

// The dictionary of one song database, read again only after the file has changed.
class DictionaryCache {
public:
    const std::vector<Row> &rows(const std::shared_ptr<db::Database> &db);

private:
    std::weak_ptr<db::Database> m_db;
    std::pair<qint64, qint64> m_version;
    std::vector<Row> m_rows;
};

// "[deyim : açıklama]    " for each row found in the lyrics, in the rows' order. Both
// sides are upper-cased the Turkish way; an idiom counts as found after a blank anywhere
// (also at the start of a longer word), or at the start of a line when a blank follows it.
// An empty idiom is never found.
QString boxText(QStringView lyrics, const std::vector<Row> &rows);

} // namespace idioms
