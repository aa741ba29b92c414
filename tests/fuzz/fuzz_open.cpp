// A file of any bytes, opened as the program opens its two files: as the song database
// (checked, upgraded where it can be written, every table read, a record edited) and
// as the settings file (repaired or set aside). Anything may fail with a numbered
// error; nothing may crash, leak or run into undefined behaviour.
#include "fuzzinput.h"

#include "database.h"
#include "recordset.h"
#include "schema.h"
#include "songdatabase.h"
#include "sqltext.h"

#include <QDir>
#include <QFile>

using namespace Qt::StringLiterals;

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    for (const QString &suffix : {u""_s, u"-journal"_s, u"-wal"_s, u"-shm"_s, u".bozuk"_s})
        QFile::remove(path + suffix);
    QFile f(path);
    FUZZ_CHECK(f.open(QIODevice::WriteOnly));
    FUZZ_CHECK(f.write(bytes) == bytes.size());
}

// Reads every record and field of a source, back and forth, as the windows do.
void readAll(db::Database &db, const QString &source)
{
    auto rs = db.openRecordset(source);
    const QStringList fields = rs->fieldNames();
    int rows = 0;
    for (; !rs->eof() && rows < 1000; rs->moveNext(), ++rows) {
        for (const QString &f : fields)
            rs->field(f);
    }
    if (rs->recordCount() > 0) {
        rs->moveLast();
        rs->movePrevious();
        if (!rs->bof())
            rs->setBookmark(rs->bookmark());
    }
}

void songDatabase(const QString &path)
{
    try {
        auto db = songdb::openChecked(path);
        for (const QString &source :
             {u"Zelvoran"_s, u"basharfler"_s, u"sozluk"_s, u"ayarlar"_s, u"muzik"_s, u"arama"_s}) {
            try {
                readAll(*db, source);
            } catch (const db::Error &) {
            }
        }
        // A tree build's reads and its one write, then an edit of the first record.
        readAll(*db, u"SELECT Başlık FROM Zelvoran WHERE Başlık Like 'A*' ORDER BY Başlık"_s);
        readAll(*db, u"SELECT Yöresi FROM Zelvoran GROUP BY Yöresi"_s);
        db->execute(u"UPDATE Zelvoran SET Zelvoran.Yöresi = Null WHERE Len(Zelvoran.Yöresi) = 0"_s);
        auto rs = db->openRecordset(u"SELECT * FROM Zelvoran"_s);
        if (!rs->eof()) {
            auto copy = rs->clone();
            copy->findFirst(u"[Başlık] = '"_s + db::quoted(rs->text(u"Başlık"_s)) + u'\'');
            rs->edit();
            rs->setField(u"Sözler"_s, u"Değişti"_s);
            rs->update();
        }
    } catch (const db::Error &) {
    }
}

void settingsFile(const QString &path)
{
    try {
        auto settings = songdb::openSettings(path);
        songdb::storedPath(*settings);
        songdb::storePath(*settings, u"/arşiv/Zelvoran.qel"_s);
    } catch (const db::Error &) {
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::scratchPath({});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString song = fuzz::scratchPath(u"arşiv.qel"_s);
    writeFile(song, bytes);
    songDatabase(song);
    const QString settings = fuzz::scratchPath(u"nsz.dll"_s);
    writeFile(settings, bytes);
    settingsFile(settings);
    return 0;
}
