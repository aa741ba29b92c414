#include "songfixture.h"

#include "recordset.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace fixture {

QStringList titles()
{
    return {u"Ali"_s, u"Çanakkale İçinde"_s, u"Ilgaz"_s, u"Sarı Gelin"_s, u"Şu Dağlar"_s, u"Yemen Türküsü"_s};
}

QString makeSongDatabase(const QString &dir, const QString &name)
{
    const QString path = QDir(dir).filePath(name);
    auto db = db::Database::create(path);
    QString columns = u"Başlık TEXT COLLATE TURKCE NOT NULL UNIQUE"_s;
    for (const QString &f : {u"Sözler"_s, u"Yöresi"_s, u"Türü"_s, u"Türü2"_s, u"KaynakKişi"_s, u"Derleyen"_s, u"Söz"_s,
                             u"Müzik"_s, u"digerbilgiler"_s, u"Söyleyenler"_s, u"Açıklama"_s, u"girişmodu"_s,
                             u"mp3_1"_s, u"mp3_2"_s, u"mp3_3"_s, u"mp3_4"_s})
        columns += u", "_s + f + u" TEXT COLLATE TURKCE"_s;
    db->executeNative(u"CREATE TABLE Zelvoran ("_s + columns + u')');
    db->executeNative(uR"(
        CREATE TABLE basharfler (basharf TEXT COLLATE TURKCE);
        CREATE TABLE sozluk (Deyim TEXT COLLATE TURKCE, Acıklama TEXT COLLATE TURKCE);
        CREATE TABLE ayarlar (yol TEXT, uzantı1 TEXT, uzantı2 TEXT, uzantı3 TEXT);
        CREATE TABLE muzik (yol TEXT COLLATE TURKCE, dosya TEXT COLLATE TURKCE, Rate INTEGER);

        -- Each grouping field holds one empty text, some Nulls and values with Turkish letters.
        INSERT INTO Zelvoran (Başlık, Sözler, Yöresi, Türü, Türü2, KaynakKişi, Derleyen, Söz, Müzik, Açıklama) VALUES
          ('Şu Dağlar', 'Şu dağlar kömür olsa', 'izmir', 'Bozlak', 'Kırık Hava', 'Hasan', 'Cahit Öztelli', 'Anonim', NULL, NULL),
          ('Ali', 'Ali gel bak dağlar gül', 'İzmir', 'Zeybek', '', 'Hasan', '', 'Aşık Veysel', 'Aşık Veysel', NULL),
          ('Yemen Türküsü', 'Havada bulut yok', 'Tokat', 'Ağıt', NULL, NULL, NULL, 'Anonim', '', 'Birinci Dünya Savaşı'),
          ('Çanakkale İçinde', 'Çanakkale içinde aynalı çarşı', 'Çanakkale', 'Ağıt', 'Uzun Hava', '', 'Muzaffer Sarısözen', '', 'Anonim', NULL),
          ('Ilgaz', 'Ilgaz dağının yüce başında', '', 'Zeybek', 'Kırık Hava', 'İsmail', 'Cahit Öztelli', 'Aşık Veysel', 'Anonim', NULL),
          ('Sarı Gelin', 'Erzurum çarşı pazar', 'Erzurum', '', 'Uzun Hava', 'Çoban Ali', 'Muzaffer Sarısözen', NULL, 'Anonim', NULL);

        INSERT INTO basharfler VALUES ('A'), ('Ç'), ('I'), ('S'), ('Ş'), ('Y');
        INSERT INTO sozluk VALUES ('yüreği yanmak', 'çok üzülmek'), ('ağıt yakmak', 'yas tutmak'),
          ('çarşı', 'pazar yeri'), ('cilve', 'naz'), ('ılgım', 'serap'), ('ince', NULL);
        INSERT INTO ayarlar VALUES ('/muzik/', 'mp3', 'wav', 'wma');
        INSERT INTO muzik VALUES ('/muzik/', 'Ey Dağlar.mp3', 1), ('/muzik/', 'Geldim.mp3', 0),
          ('/muzik/alt/', 'Sevda.mp3', 1);
    )"_s);
    db->setQuerySql(u"arama"_s, u"select * from muzik where muzik.dosya like '*Sevda*'"_s);
    return path;
}

QStringList column(db::Recordset &rs, const QString &field)
{
    QStringList out;
    if (rs.recordCount() == 0)
        return out;
    rs.moveFirst();
    for (; !rs.eof(); rs.moveNext()) {
        const QVariant v = rs.field(field);
        out << (v.isNull() ? u"<null>"_s : v.toString());
    }
    return out;
}

QStringList column(db::Database &db, const QString &source, const QString &field)
{
    auto rs = db.openRecordset(source);
    return column(*rs, field);
}

} // namespace fixture
