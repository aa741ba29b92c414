#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace db {
class Database;
}

// The index of audio files below the music folder (table muzik) and the candidate
// files it offers for a song's title through the stored query arama.
namespace audio {

// The files below a folder, depth first; each folder's entries in name order, a
// subfolder walked where its name stands. Names starting with "." are skipped, links to
// folders are not followed, a folder that cannot be listed adds nothing.
struct Listing {
    struct File {
        int folder;   // index into folders
        QString name; // as the file system lists it
    };
    QStringList folders; // each ending in "/", the walked folder first
    std::vector<File> files;
};
// An empty folder walks nothing.
Listing walk(const QString &folder);

// True when the last three characters of the name (all of it when shorter) equal the
// extension, case aside. An empty extension matches nothing.
bool hasExtension(const QString &name, const QString &uzanti);
// 0 when the name without its last four characters is the title exactly, else 1.
int rate(const QString &name, const QString &title);

// Empties muzik and writes a row for every listed file of each extension in turn
// (extension 1's files, then 2's, then 3's), all in one transaction. Throws db::Error.
void writeIndex(db::Database &vt, const Listing &listing, const QString &title, const QStringList &extensions);
// klasortara for all three extensions at once: one walk, then writeIndex.
void klasortara(db::Database &vt, const QString &title, const QStringList &extensions, const QString &folder);
// Rewrites the stored query arama for the title's keywords. Throws db::Error.
void aramasorgusu(db::Database &vt, const QString &title);

// The first entry of every candidate list.
inline constexpr char16_t kNotInList[] = u"Aradığım Listede Yok...";
inline constexpr int kMaxCandidates = 50;
// A candidate list: the first entry, then the paths of at most 50 files of arama, those
// of Rate 0 first. Throws db::Error.
QStringList adaylar(db::Database &vt);
// All of a drop-down: index, query and list. Throws db::Error.
QStringList candidateList(db::Database &vt, const QString &title, const QString &folder, const QStringList &extensions);

} // namespace audio
