#include "musicindex.h"

#include "database.h"
#include "keywordquery.h"
#include "recordset.h"

#include <QFile>
#include <algorithm>
#include <dirent.h>
#include <set>
#include <string>
#include <sys/stat.h>
#include <utility>

using namespace Qt::StringLiterals;

namespace audio {

namespace {

struct Walker {
    Listing &out;
    std::set<std::pair<dev_t, ino_t>> seen; // folders reached twice (bind mounts) are walked once

    void folder(const std::string &path, int index)
    {
        DIR *dir = opendir(path.c_str());
        if (!dir)
            return;
        struct stat own {};
        if (fstat(dirfd(dir), &own) != 0 || !seen.emplace(own.st_dev, own.st_ino).second) {
            closedir(dir);
            return;
        }
        std::vector<std::pair<std::string, unsigned char>> entries;
        while (const dirent *e = readdir(dir)) {
            if (e->d_name[0] != '.')
                entries.emplace_back(e->d_name, e->d_type);
        }
        closedir(dir);
        std::sort(entries.begin(), entries.end());

        for (const auto &[name, type] : entries) {
            // A name the file system's encoding cannot carry back would give a path that
            // does not exist: such files and folders are left out.
            const QByteArray bytes = QByteArray::fromStdString(name);
            if (QFile::encodeName(QFile::decodeName(bytes)) != bytes)
                continue;
            const std::string full = path + name;
            unsigned char kind = type;
            struct stat st {};
            if (kind == DT_UNKNOWN) {
                if (lstat(full.c_str(), &st) != 0)
                    continue;
                kind = S_ISDIR(st.st_mode) ? DT_DIR : S_ISLNK(st.st_mode) ? DT_LNK : S_ISREG(st.st_mode) ? DT_REG : 0;
            }
            // A link counts only when it leads to a file: links to folders are not followed.
            if (kind == DT_LNK)
                kind = stat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode) ? DT_REG : 0;
            if (kind == DT_DIR) {
                const std::string sub = full + '/';
                out.folders.append(QFile::decodeName(QByteArray::fromStdString(sub)));
                folder(sub, int(out.folders.size()) - 1);
            } else if (kind == DT_REG) {
                out.files.push_back({index, QFile::decodeName(bytes)});
            }
        }
    }
};

} // namespace

Listing walk(const QString &folder)
{
    Listing out;
    if (folder.isEmpty())
        return out;
    out.folders.append(yolsonu(folder));
    Walker w{out, {}};
    w.folder(QFile::encodeName(out.folders.first()).toStdString(), 0);
    return out;
}

bool hasExtension(const QString &name, const QString &uzanti)
{
    if (uzanti.isEmpty())
        return false;
    return QStringView(name).right(3).compare(uzanti, Qt::CaseInsensitive) == 0;
}

int rate(const QString &name, const QString &title)
{
    return name.size() >= 4 && QStringView(name).chopped(4) == title ? 0 : 1;
}

void writeIndex(db::Database &vt, const Listing &listing, const QString &title, const QStringList &extensions)
{
    db::Database::Transaction tx(vt);
    vt.execute(u"DELETE muzik.* FROM muzik;"_s);
    const QString insert = u"INSERT INTO muzik (yol, dosya, Rate) VALUES (?, ?, ?)"_s;
    for (const QString &uzanti : extensions) {
        for (const Listing::File &f : listing.files) {
            if (hasExtension(f.name, uzanti))
                vt.execute(insert, {listing.folders.at(f.folder), f.name, rate(f.name, title)});
        }
    }
    tx.commit();
}

void klasortara(db::Database &vt, const QString &title, const QStringList &extensions, const QString &folder)
{
    writeIndex(vt, walk(folder), title, extensions);
}

void aramasorgusu(db::Database &vt, const QString &title)
{
    vt.setQuerySql(u"arama"_s, aramaSql(title));
}

QStringList adaylar(db::Database &vt)
{
    QStringList list{QString::fromUtf16(kNotInList)};
    auto rs = vt.openRecordset(u"select * from arama order by rate"_s);
    for (int n = 0; n < kMaxCandidates && !rs->eof(); ++n, rs->moveNext())
        list << rs->text(u"yol"_s) + rs->text(u"dosya"_s);
    return list;
}

QStringList candidateList(db::Database &vt, const QString &title, const QString &folder, const QStringList &extensions)
{
    klasortara(vt, title, extensions, folder);
    aramasorgusu(vt, title);
    return adaylar(vt);
}

} // namespace audio
