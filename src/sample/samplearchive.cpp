#include "samplearchive.h"

#include "credits.h"
#include "database.h"
#include "dberror.h"
#include "recordset.h"
#include "schema.h"
#include "turkish.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QVariant>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <system_error>

using namespace Qt::StringLiterals;

namespace sample {

namespace {

// A fault in the text sources, worded for the person who edits them.
struct SourceError {
    QString text;
};

using Row = QHash<QString, QVariant>;

const QString kTitle = u"Başlık"_s;
const QString kLyrics = u"Sözler"_s;
const QString kCredits = u"girişmodu"_s;

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString readText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw SourceError{u"%1 okunamıyor: %2"_s.arg(shown(path), file.errorString())};
    QStringDecoder decode(QStringDecoder::Utf8);
    QString text = decode(file.readAll());
    if (decode.hasError())
        throw SourceError{u"%1 geçerli bir UTF-8 metni değil."_s.arg(shown(path))};
    text.remove(u'\r');
    return text;
}

QString chopTrailingBlanks(QString s)
{
    qsizetype n = s.size();
    while (n > 0 && s.at(n - 1).isSpace())
        --n;
    s.truncate(n);
    return s;
}

// "Alan: değer"; an empty value stays the empty text, never Null.
QPair<QString, QString> splitField(const QString &line, const QString &where)
{
    const qsizetype colon = line.indexOf(u':');
    if (colon <= 0)
        throw SourceError{u"%1: \"%2\" satırı \"Alan: değer\" biçiminde değil."_s.arg(where, line)};
    const QString value = line.mid(colon + 1).trimmed();
    return {line.left(colon).trimmed(), value.isEmpty() ? u""_s : value};
}

bool digitsOnly(const QString &s)
{
    return !s.isEmpty() && std::all_of(s.cbegin(), s.cend(), [](QChar c) { return c.isDigit(); });
}

QVariant creditsLine(const Row &row)
{
    return credits::line(row.value(u"KaynakKişi"_s), row.value(u"Derleyen"_s), row.value(u"Söz"_s),
                         row.value(u"Müzik"_s));
}

QString songField(const QString &name)
{
    const QStringList fields = schema::songFields();
    for (const QString &f : fields) {
        if (turkish::equal(f, name))
            return f;
    }
    return {};
}

// Header lines up to the first blank line, then the lyrics.
Row parseSong(const QString &path)
{
    const QString where = u"songs/"_s + QFileInfo(path).fileName();
    const QStringList lines = readText(path).split(u'\n');
    Row row;
    qsizetype i = 0;
    while (i < lines.size() && lines.at(i).trimmed().isEmpty())
        ++i;
    for (; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        if (line.isEmpty())
            break;
        const auto [name, value] = splitField(line, where);
        const QString field = songField(name);
        if (field.isEmpty() || field == kLyrics || field == kCredits)
            throw SourceError{u"%1: \"%2\" bilinen bir alan değil."_s.arg(where, name)};
        if (row.contains(field))
            throw SourceError{u"%1: \"%2\" alanı iki kez yazılmış."_s.arg(where, field)};
        row.insert(field, value);
    }

    QStringList lyrics;
    for (; i < lines.size(); ++i)
        lyrics << chopTrailingBlanks(lines.at(i));
    while (!lyrics.isEmpty() && lyrics.first().isEmpty())
        lyrics.removeFirst();
    while (!lyrics.isEmpty() && lyrics.last().isEmpty())
        lyrics.removeLast();
    if (!lyrics.isEmpty())
        row.insert(kLyrics, lyrics.join(u'\n'));

    const QString title = row.value(kTitle).toString();
    if (title.isEmpty())
        throw SourceError{u"%1: başlık yok."_s.arg(where)};
    if (title.contains(u'\''))
        throw SourceError{u"%1: başlıkta apostrof var."_s.arg(where)};
    if (digitsOnly(title))
        throw SourceError{u"%1: başlık yalnızca rakamlardan oluşuyor."_s.arg(where)};
    // The tree takes a key ending in 0 for a folder node.
    if (title.endsWith(u'0'))
        throw SourceError{u"%1: başlık 0 ile bitiyor."_s.arg(where)};
    // Group values become tree keys and go into SQL texts between apostrophes.
    for (const QString &f : schema::groupedFields()) {
        const QString v = row.value(f).toString();
        if (v.contains(u'\''))
            throw SourceError{u"%1: \"%2\" alanında apostrof var."_s.arg(where, f)};
        if (digitsOnly(v))
            throw SourceError{u"%1: \"%2\" alanı yalnızca rakamlardan oluşuyor."_s.arg(where, f)};
    }
    row.insert(u"#file"_s, where);
    return row;
}

QStringList significantLines(const QString &path)
{
    QStringList out;
    const QStringList lines = readText(path).split(u'\n');
    for (const QString &l : lines) {
        const QString t = l.trimmed();
        if (!t.isEmpty() && !t.startsWith(u'#'))
            out << t;
    }
    return out;
}

QStringList parseLetters(const QString &path)
{
    QStringList letters;
    const QStringList lines = significantLines(path);
    for (const QString &l : lines) {
        if (l.size() != 1 || !l.at(0).isLetter() || turkish::upper(l) != l)
            throw SourceError{u"harfler.txt: \"%1\" tek bir büyük harf değil."_s.arg(l)};
        if (!letters.isEmpty() && turkish::compare(letters.last(), l) >= 0)
            throw SourceError{
                u"harfler.txt: \"%1\" alfabe sırasında \"%2\" harfinden sonra gelmeli."_s.arg(letters.last(), l)};
        letters << l;
    }
    return letters;
}

// "deyim: açıklama"; a line without a colon is an idiom without an explanation (Null).
QList<QPair<QString, QVariant>> parseDictionary(const QString &path)
{
    QList<QPair<QString, QVariant>> rows;
    const QStringList lines = significantLines(path);
    for (const QString &l : lines) {
        const qsizetype colon = l.indexOf(u':');
        const QString deyim = (colon < 0 ? l : l.left(colon)).trimmed();
        if (deyim.isEmpty())
            throw SourceError{u"sozluk.txt: \"%1\" satırında deyim yok."_s.arg(l)};
        QVariant aciklama;
        if (colon >= 0)
            aciklama = l.mid(colon + 1).trimmed().isEmpty() ? u""_s : l.mid(colon + 1).trimmed();
        rows.append({deyim, aciklama});
    }
    return rows;
}

QList<QPair<QString, QString>> parseMusicSettings(const QString &path)
{
    static const QStringList fields = {u"yol"_s, u"uzantı1"_s, u"uzantı2"_s, u"uzantı3"_s};
    QList<QPair<QString, QString>> out;
    const QStringList lines = significantLines(path);
    for (const QString &l : lines) {
        const auto [name, value] = splitField(l, u"ayarlar.txt"_s);
        const auto it = std::find_if(fields.cbegin(), fields.cend(),
                                     [&name](const QString &f) { return turkish::equal(f, name); });
        if (it == fields.cend())
            throw SourceError{u"ayarlar.txt: \"%1\" bilinen bir alan değil."_s.arg(name)};
        out.append({*it, value});
    }
    return out;
}

struct Sources {
    QList<Row> songs;
    QStringList letters;
    QList<QPair<QString, QVariant>> dictionary;
    QList<QPair<QString, QString>> music;
};

Sources readSources(const QString &dataDir)
{
    const QDir dir(dataDir);
    if (!dir.exists())
        throw SourceError{u"%1 klasörü yok."_s.arg(shown(dataDir))};
    Sources s;
    const QDir songDir(dir.filePath(u"songs"_s));
    const QStringList files = songDir.entryList({u"*.txt"_s}, QDir::Files, QDir::Name);
    if (files.isEmpty())
        throw SourceError{u"%1 içinde türkü dosyası (*.txt) yok."_s.arg(shown(songDir.path()))};
    QHash<QString, QString> titles; // folded title → file
    for (const QString &f : files) {
        Row row = parseSong(songDir.filePath(f));
        const QString title = row.value(kTitle).toString();
        const QString key = turkish::fold(title);
        if (titles.contains(key))
            throw SourceError{u"%1 ile %2 aynı başlığı taşıyor: %3"_s.arg(titles.value(key),
                                                                          row.value(u"#file"_s).toString(), title)};
        titles.insert(key, row.value(u"#file"_s).toString());
        s.songs.append(row);
    }
    std::sort(s.songs.begin(), s.songs.end(), [](const Row &a, const Row &b) {
        return turkish::compare(a.value(kTitle).toString(), b.value(kTitle).toString()) < 0;
    });

    s.letters = parseLetters(dir.filePath(u"harfler.txt"_s));
    for (const QString &letter : std::as_const(s.letters)) {
        const bool used = std::any_of(s.songs.cbegin(), s.songs.cend(), [&letter](const Row &r) {
            return turkish::equal(r.value(kTitle).toString().left(1), letter);
        });
        if (!used)
            throw SourceError{u"harfler.txt: \"%1\" harfiyle başlayan başlık yok."_s.arg(letter)};
    }
    for (const Row &r : std::as_const(s.songs)) {
        const QString first = r.value(kTitle).toString().left(1);
        const bool listed = std::any_of(s.letters.cbegin(), s.letters.cend(),
                                        [&first](const QString &l) { return turkish::equal(l, first); });
        if (!listed)
            throw SourceError{
                u"%1: başlığın ilk harfi \"%2\" harfler.txt içinde yok."_s.arg(r.value(u"#file"_s).toString(), first)};
    }

    s.dictionary = parseDictionary(dir.filePath(u"sozluk.txt"_s));
    s.music = parseMusicSettings(dir.filePath(u"ayarlar.txt"_s));
    return s;
}

void addRows(db::Database &db, const QString &table, const QString &field, const QStringList &values)
{
    auto rs = db.openRecordset(table);
    for (const QString &v : values) {
        rs->addNew();
        rs->setField(field, v);
        rs->update();
    }
}

void addSong(db::Recordset &rs, const Row &row)
{
    rs.addNew();
    const QStringList fields = schema::songFields();
    for (const QString &f : fields) {
        const auto it = row.constFind(f);
        if (it != row.cend())
            rs.setField(f, it.value());
    }
    rs.setField(kCredits, creditsLine(row));
    rs.update();
}

// Writes a new file beside the target through `fill` and puts it in place when complete.
template <typename Fill>
bool writeReplacing(const QString &target, QString *error, Fill fill)
{
    const QString part = target + u".yapiliyor"_s;
    QFile::remove(part);
    auto fail = [&](const QString &why) {
        QFile::remove(part);
        if (error)
            *error = why;
        return false;
    };
    try {
        {
            auto db = db::Database::create(part);
            fill(*db);
        }
        std::error_code ec;
        std::filesystem::rename(std::filesystem::path(part.toStdU16String()),
                                std::filesystem::path(target.toStdU16String()), ec);
        if (ec)
            return fail(u"%1 yazılamadı: %2"_s.arg(shown(target), QString::fromLocal8Bit(ec.message())));
        return true;
    } catch (const db::Error &e) {
        return fail(u"%1: %2"_s.arg(shown(target), e.description()));
    } catch (const SourceError &e) {
        return fail(e.text);
    }
}

// 1..9, 11..19, 21..: never a 0, so that no title or group key ends in one.
QString numberWithoutZero(int n)
{
    QString s;
    while (n > 0) {
        const int d = (n - 1) % 9;
        s.prepend(QChar(u'1' + d));
        n = (n - 1) / 9;
    }
    return s;
}

const QStringList kAlphabet = {u"A"_s, u"B"_s, u"C"_s, u"Ç"_s, u"D"_s, u"E"_s, u"F"_s, u"G"_s, u"Ğ"_s, u"H"_s,
                               u"I"_s, u"İ"_s, u"J"_s, u"K"_s, u"L"_s, u"M"_s, u"N"_s, u"O"_s, u"Ö"_s, u"P"_s,
                               u"R"_s, u"S"_s, u"Ş"_s, u"T"_s, u"U"_s, u"Ü"_s, u"V"_s, u"Y"_s, u"Z"_s};

// The j-th distinct value of a grouped field: the base names, then again with a number.
QString groupValue(const QString &field, int j)
{
    static const QStringList regions = {
        u"Adana"_s,     u"Ankara"_s,    u"Antalya"_s, u"Artvin"_s,     u"Bitlis"_s, u"Bolu"_s,   u"Burdur"_s,
        u"Çanakkale"_s, u"Çorum"_s,     u"Denizli"_s, u"Diyarbakır"_s, u"Edirne"_s, u"Elazığ"_s, u"Erzincan"_s,
        u"Erzurum"_s,   u"Gaziantep"_s, u"Giresun"_s, u"Isparta"_s,    u"İzmir"_s,  u"Kars"_s,   u"Kastamonu"_s,
        u"Kayseri"_s,   u"Kırşehir"_s,  u"Konya"_s,   u"Malatya"_s,    u"Muğla"_s,  u"Sivas"_s,  u"Tokat"_s,
        u"Trabzon"_s,   u"Urfa"_s,      u"Yozgat"_s};
    static const QStringList kinds = {u"Türkü"_s, u"Uzun Hava"_s, u"Oyun Havası"_s, u"Kına Havası"_s, u"Ninni"_s,
                                      u"Ağıt"_s,  u"Bozlak"_s,    u"Zeybek"_s,      u"Halay"_s,       u"Horon"_s};
    static const QStringList themes = {u"Sevda"_s, u"Gurbet"_s,      u"Asker"_s, u"Düğün"_s, u"Çocuk"_s,
                                       u"Doğa"_s,  u"Kahramanlık"_s, u"Mizah"_s, u"Yayla"_s, u"Göç"_s};
    static const QStringList first = {u"Ahmet"_s,  u"Ayşe"_s,  u"Mehmet"_s, u"Fatma"_s,  u"Hüseyin"_s, u"Zehra"_s,
                                      u"İsmail"_s, u"Emine"_s, u"Osman"_s,  u"Hatice"_s, u"Şükrü"_s,   u"Gülsüm"_s,
                                      u"Ömer"_s,   u"Elif"_s,  u"Rıza"_s,   u"Ümmühan"_s};
    static const QStringList last = {u"Kaya"_s,   u"Yıldız"_s, u"Demir"_s, u"Çelik"_s, u"Şahin"_s, u"Aydın"_s,
                                     u"Özkan"_s,  u"Arslan"_s, u"Doğan"_s, u"Kılıç"_s, u"Koç"_s,   u"Kurt"_s,
                                     u"Öztürk"_s, u"Ünal"_s,   u"İnce"_s,  u"Güneş"_s};
    QStringList people;
    const QStringList *base = &people;
    if (field == u"Yöresi"_s) {
        base = &regions;
    } else if (field == u"Türü"_s) {
        base = &kinds;
    } else if (field == u"Türü2"_s) {
        base = &themes;
    } else {
        static const QStringList names = [] {
            QStringList out;
            for (const QString &l : last) {
                for (const QString &f : first)
                    out << f + u' ' + l;
            }
            return out;
        }();
        base = &names;
    }
    const qsizetype n = base->size();
    const QString name = base->at(j % n);
    return j < n ? name : name + u' ' + numberWithoutZero(int(j / n) + 1);
}

} // namespace

bool buildArchive(const QString &dataDir, const QString &songDbPath, QString *error)
{
    Sources sources;
    try {
        sources = readSources(dataDir);
    } catch (const SourceError &e) {
        if (error)
            *error = e.text;
        return false;
    }
    return writeReplacing(songDbPath, error, [&sources](db::Database &db) {
        db::Database::Transaction tx(db);
        schema::createSongDatabase(db);
        {
            auto rs = db.openRecordset(u"Zelvoran"_s);
            for (const Row &row : std::as_const(sources.songs))
                addSong(*rs, row);
        }
        addRows(db, u"basharfler"_s, u"basharf"_s, sources.letters);
        {
            auto rs = db.openRecordset(u"sozluk"_s);
            for (const auto &[deyim, aciklama] : std::as_const(sources.dictionary)) {
                rs->addNew();
                rs->setField(u"Deyim"_s, deyim);
                rs->setField(u"Acıklama"_s, aciklama);
                rs->update();
            }
        }
        if (!sources.music.isEmpty()) {
            auto rs = db.openRecordset(u"ayarlar"_s);
            rs->edit();
            for (const auto &[field, value] : std::as_const(sources.music))
                rs->setField(field, value);
            rs->update();
        }
        tx.commit();
    });
}

bool buildSettings(const QString &settingsPath, const QString &songDbPath, const QString &dataDir, QString *error)
{
    auto foreword = [&dataDir](const QString &name) {
        // Paragraphs are separated by blank lines; the lines of one paragraph are joined.
        const QStringList lines = readText(QDir(dataDir).filePath(name)).split(u'\n');
        QStringList paragraphs;
        QString current;
        for (const QString &l : lines) {
            const QString t = l.trimmed();
            if (t.isEmpty()) {
                if (!current.isEmpty())
                    paragraphs << current;
                current.clear();
            } else {
                current = current.isEmpty() ? t : current + u' ' + t;
            }
        }
        if (!current.isEmpty())
            paragraphs << current;
        return paragraphs.join(u"\n\n"_s);
    };
    QString vu, qel;
    try {
        vu = foreword(u"onsoz_vu.txt"_s);
        qel = foreword(u"onsoz_qel.txt"_s);
    } catch (const SourceError &e) {
        if (error)
            *error = e.text;
        return false;
    }
    return writeReplacing(settingsPath, error, [&](db::Database &db) {
        db::Database::Transaction tx(db);
        schema::createSettingsDatabase(db, songDbPath);
        auto rs = db.openRecordset(u"onsoz"_s);
        rs->edit();
        rs->setField(u"vu"_s, vu);
        rs->setField(u"qel"_s, qel);
        rs->update();
        tx.commit();
    });
}

bool generateArchive(const QString &songDbPath, int songs, int distinctPerField, QString *error)
{
    if (songs < 1 || distinctPerField < 1) {
        if (error)
            *error = u"Türkü sayısı ve alan başına değer sayısı en az 1 olmalı."_s;
        return false;
    }
    static const QStringList tails = {u"ağlar"_s, u"eren"_s, u"ınar"_s, u"oyun"_s,
                                      u"ülü"_s,   u"asak"_s, u"ilek"_s, u"ural"_s};
    static const QStringList words = {u"Dağları"_s, u"Yolları"_s, u"Türküsü"_s, u"Gelini"_s,  u"Bağları"_s,
                                      u"Havası"_s,  u"Yaylası"_s, u"Sevdası"_s, u"Çeşmesi"_s, u"Kalesi"_s};
    static const QStringList verses = {
        u"Dağlar dağlar yüce dağlar"_s, u"Yâr yoluna bakar gözüm"_s,    u"Gurbet elde kaldım gayrı"_s,
        u"Bir ataş düştü yüreğime"_s,   u"Çeşme başında durdum"_s,      u"Bağlar bozuldu güz geldi"_s,
        u"Ela gözlüm gel beri"_s,       u"Bir yâr sevdim ele verdim"_s, u"Kara bulut dağı sarmış"_s,
        u"Turnalar uçar yüksekten"_s,   u"Aşrı aşrı yollar uzar"_s,     u"Ninni derim uyusun"_s,
        u"Sazım çalar inler gönül"_s,   u"Sılaya dönmek isterim"_s};
    static const QList<QPair<QString, QString>> idioms = {{u"gayrı"_s, u"artık, bundan sonra"_s},
                                                          {u"ataş"_s, u"ateş"_s},
                                                          {u"sıla"_s, u"doğup büyünülen yer, memleket"_s},
                                                          {u"aşrı"_s, u"uzak, öte"_s},
                                                          {u"yâr"_s, u"sevgili"_s},
                                                          {u"ela"_s, u"sarıya çalar açık kahverengi"_s},
                                                          {u"turna"_s, u"uzun bacaklı, uzun boyunlu göçmen kuş"_s},
                                                          {u"beri"_s, u"bu yana, yakına"_s}};

    return writeReplacing(songDbPath, error, [&](db::Database &db) {
        QRandomGenerator rng(20240611u);
        db::Database::Transaction tx(db);
        schema::createSongDatabase(db);
        {
            auto rs = db.openRecordset(u"Zelvoran"_s);
            const int letters = int(kAlphabet.size());
            for (int i = 0; i < songs; ++i) {
                const int n = i / letters;
                Row row;
                const QString title = kAlphabet.at(i % letters) + tails.at(n % tails.size()) + u' '
                                      + words.at((n / tails.size()) % words.size()) + u' ' + numberWithoutZero(n + 1);
                row.insert(kTitle, title);
                QStringList lyrics;
                const int lines = 3 + int(rng.bounded(3));
                for (int k = 0; k < lines; ++k)
                    lyrics << verses.at(rng.bounded(int(verses.size())));
                row.insert(kLyrics, lyrics.join(u'\n'));
                for (const QString &f : schema::groupedFields()) {
                    const int roll = int(rng.bounded(100));
                    if (roll < 4)
                        continue; // Null
                    row.insert(f, roll < 7 ? u""_s : groupValue(f, int(rng.bounded(distinctPerField))));
                }
                if (rng.bounded(3) == 0)
                    row.insert(u"Söyleyenler"_s, groupValue(u"Söyleyenler"_s, int(rng.bounded(distinctPerField))));
                addSong(*rs, row);
            }
        }
        addRows(db, u"basharfler"_s, u"basharf"_s, kAlphabet.mid(0, std::min<qsizetype>(songs, kAlphabet.size())));
        {
            auto rs = db.openRecordset(u"sozluk"_s);
            for (const auto &[deyim, aciklama] : idioms) {
                rs->addNew();
                rs->setField(u"Deyim"_s, deyim);
                rs->setField(u"Acıklama"_s, aciklama);
                rs->update();
            }
        }
        tx.commit();
    });
}

} // namespace sample
