#include "appfonts.h"
#include "archivefixture.h"
#include "credits.h"
#include "database.h"
#include "fonksiyon.h"
#include "recordset.h"
#include "report.h"
#include "reportquery.h"
#include "songreport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QVariant N; // Null

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The report of these rows printed to a PDF file at pdf, on the report's margins: its page
// count, or -1 when the printer refused the page layout.
int printPdf(const std::vector<ReportRow> &rows, const QString &pdf,
             QPageLayout::Orientation orientation = QPageLayout::Portrait)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    QString why;
    if (!report::setUpPrinter(printer, {1134, 567, 1134, 1134}, orientation, &why))
        return -1;
    return SongReport(rows).render(&printer);
}

QStringList titles(db::Database &db, const QString &sql)
{
    QStringList out;
    auto rs = db.openRecordset(sql);
    for (; !rs->eof(); rs->moveNext())
        out << rs->text(u"Başlık"_s);
    return out;
}

using Columns = std::array<reportquery::Criterion, reportquery::kColumns>;

} // namespace

class TestReport : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { appfonts::install(); }
    void query_data();
    void query();
    void sortClauses();
    void ansiLike_data();
    void ansiLike();
    void reportRowsEqualPreviewRows();
    void handTypedLike_data();
    void handTypedLike();
    void unreadableLike_data();
    void unreadableLike();
    void creditsLine_data();
    void creditsLine();
    void creditsPass();
    void creditsPassFailureKeepsEveryLine();
    void creditsPassEmptyTable();
    void readOnlyReportBuildsCreditsFromFields();
    void reportFields();
    void stoppedReading();
    void margins_data();
    void margins();
    void pdfHoldsTheSongsInOrder();
    void pdfLandscape();
    void hugeValueLaidOutWhole_data();
    void hugeValueLaidOutWhole();
    void lettersNeverJoined();
    void tallRegionAndCreditsGoOnOverPages();
};

static const QString kBase = u"SELECT Başlık, Sözler, Yöresi, Türü, Türü2, Derleyen, KaynakKişi, Söz, Müzik, "
                             u"DigerBilgiler,Açıklama,girişmodu FROM Zelvoran"_s;

void TestReport::query_data()
{
    QTest::addColumn<Columns>("columns");
    QTest::addColumn<QString>("expected");
    const QString sort = u" ORDER By Başlık"_s;
    auto cols = [](std::initializer_list<std::tuple<int, QString, QString>> set) {
        Columns c;
        for (int i = 0; i < reportquery::kColumns; ++i)
            c[size_t(i)].op = u"Hepsi"_s;
        for (const auto &[i, op, text] : set)
            c[size_t(i)] = {op, text};
        return c;
    };
    QTest::newRow("no column") << cols({}) << kBase + sort;
    QTest::newRow("only column 4") << cols({{4, u"Eşittir"_s, u"Ağıt"_s}}) << kBase + u" WHERE  türü2='Ağıt'"_s + sort;
    QTest::newRow("columns 1 and 5") << cols({{1, u"İçerir"_s, u"dağ"_s}, {5, u"Farklıdır"_s, u"Veli"_s}})
                                     << kBase + u" WHERE  sözler Like '*dağ*' and  söz<>'Veli'"_s + sort;
    QTest::newRow("the Part's example") << cols({{0, u"Eşittir"_s, u"x"_s}, {2, u"İçerir"_s, u"y"_s}})
                                        << kBase + u" WHERE  başlık='x' and  yöresi Like '*y*'"_s + sort;
    QTest::newRow("title begins with") << cols({{0, u"İle Başlar"_s, u"Ka"_s}})
                                       << kBase + u" WHERE  Başlık Like 'Ka*'"_s + sort;
    QTest::newRow("Hepsi with a text adds nothing")
        << cols({{0, u"Hepsi"_s, u"x"_s}, {6, u"Eşittir"_s, u"m"_s}}) << kBase + u" WHERE  müzik='m'"_s + sort;
    QTest::newRow("an unknown operator adds nothing") << cols({{3, u"eşittir"_s, u"x"_s}}) << kBase + sort;
    QTest::newRow("an empty text adds nothing") << cols({{3, u"Eşittir"_s, u""_s}}) << kBase + sort;
    QTest::newRow("blanks apply as typed")
        << cols({{3, u"Eşittir"_s, u"  "_s}}) << kBase + u" WHERE  türü='  '"_s + sort;
    QTest::newRow("apostrophe doubled") << cols({{1, u"İçerir"_s, u"Kerkük'ün"_s}})
                                        << kBase + u" WHERE  sözler Like '*Kerkük''ün*'"_s + sort;
}

void TestReport::query()
{
    QFETCH(Columns, columns);
    QFETCH(QString, expected);
    QCOMPARE(reportquery::build(columns, u" ORDER By Başlık"_s), expected);
}

void TestReport::sortClauses()
{
    const QStringList expected = {u" ORDER By Başlık"_s, QString(),          u" ORDER By Yöresi"_s, u" ORDER By Türü"_s,
                                  u" ORDER By Türü2"_s,  u" ORDER By Söz"_s, u" ORDER By Müzik"_s};
    for (int i = 0; i < reportquery::kColumns; ++i)
        QCOMPARE(reportquery::sortClause(i), expected.at(i));
}

void TestReport::ansiLike_data()
{
    QTest::addColumn<QString>("jet");
    QTest::addColumn<QString>("ansi");
    QTest::newRow("no star") << u"SELECT a FROM b WHERE c='d'"_s << u"SELECT a FROM b WHERE c='d'"_s;
    QTest::newRow("contains") << u"x WHERE Başlık Like '*dağ*'"_s << u"x WHERE Başlık Like '%dağ%'"_s;
    QTest::newRow("two stars") << u"a like '**'"_s << u"a like '%%'"_s;
    QTest::newRow("one and digit") << u"a LIKE '?#'"_s << u"a LIKE '_[0-9]'"_s;
    QTest::newRow("provider's wildcards literal") << u"a Like '*%_*'"_s << u"a Like '%[%][_]%'"_s;
    QTest::newRow("lists kept") << u"a Like '[*?]*[!a-c]'"_s << u"a Like '[*?]%[!a-c]'"_s;
    QTest::newRow("star in an equality") << u"a='x*y' and b Like 'x*'"_s << u"a='x*y' and b Like 'x%'"_s;
    QTest::newRow("select star and count") << u"SELECT *, count(*) FROM t"_s << u"SELECT *, count(*) FROM t"_s;
    QTest::newRow("doubled apostrophe") << u"a Like '*Kerkük''ün*'"_s << u"a Like '%Kerkük''ün%'"_s;
    QTest::newRow("not like") << u"a NOT LIKE 'b*'"_s << u"a NOT LIKE 'b%'"_s;
    QTest::newRow("bracketed name") << u"[Like] = '*'"_s << u"[Like] = '*'"_s;
}

void TestReport::ansiLike()
{
    QFETCH(QString, jet);
    QFETCH(QString, ansi);
    QCOMPARE(fonksiyon::jokercevir(jet), ansi);
}

// For each criterion the report's connection (% dialect) lists the preview's rows (* dialect).
void TestReport::reportRowsEqualPreviewRows()
{
    ArchiveFixture f;
    QList<Song> songs;
    for (const QString &t : {u"Kızılırmak"_s, u"Kız%Oğlan"_s, u"Ak_Dere"_s, u"Akdere"_s, u"Dere 7"_s, u"a*b"_s,
                             u"aXb"_s, u"İstanbul"_s, u"Çeşme"_s, u"Ceviz"_s, u"Dağlar"_s})
        songs << Song{t, {{u"Sözler"_s, QVariant(u"Kerkük'ün yolları "_s + t)}}};
    const QString file = f.makeArchive(u"eşit.qel"_s, songs);
    auto jet = db::Database::open(file);
    const QList<std::pair<int, QString>> criteria = {
        {3, u"kız"_s}, {3, u"%"_s},    {3, u"_"_s}, {3, u"#"_s},         {4, u"D"_s}, {3, u"?"_s},
        {1, u"a*b"_s}, {3, u"[ÇC]"_s}, {4, u"i"_s}, {3, u"Kerkük'ün"_s}, {4, u"*"_s},
    };
    for (const auto &[op, text] : criteria) {
        Columns c;
        for (auto &x : c)
            x.op = u"Hepsi"_s;
        c[0] = {reportquery::operators().at(op), text};
        if (text.contains(u'\''))
            c[0] = {}, c[1] = {reportquery::operators().at(op), text};
        const QString sql = reportquery::build(c, u" ORDER By Başlık"_s);
        const report::Loaded loaded = report::loadRows(file, fonksiyon::jokercevir(sql));
        QStringList reported;
        for (const ReportRow &r : loaded.rows)
            reported << r.baslik;
        QVERIFY(!loaded.failure && !loaded.cancelled);
        QCOMPARE(reported, titles(*jet, sql));
    }
    // Turkish case and order.
    Columns c;
    c[0] = {u"İçerir"_s, u"KIZ"_s};
    QCOMPARE(titles(*jet, reportquery::build(c, u" ORDER By Başlık"_s)),
             QStringList({u"Kız%Oğlan"_s, u"Kızılırmak"_s}));
    c[0] = {u"İle Başlar"_s, u"istanbul"_s};
    QCOMPARE(titles(*jet, reportquery::build(c, {})), QStringList({u"İstanbul"_s}));
    c[0] = {u"İle Başlar"_s, u"C"_s};
    QCOMPARE(titles(*jet, reportquery::build(c, u" ORDER By Başlık"_s)), QStringList({u"Ceviz"_s}));
    c[0] = {u"İçerir"_s, u"e"_s};
    const QStringList ordered = titles(*jet, reportquery::build(c, u" ORDER By Başlık"_s));
    QVERIFY2(ordered.indexOf(u"Ceviz"_s) < ordered.indexOf(u"Çeşme"_s)
                 && ordered.indexOf(u"Çeşme"_s) < ordered.indexOf(u"Dere 7"_s),
             qPrintable(ordered.join(u", "_s)));
}

namespace {

QList<Song> likeSongs()
{
    QList<Song> songs;
    for (const QString &t :
         {u"Dağlar"_s, u"Ayva"_s, u"Kız"_s, u"Ak_Dere"_s, u"Dere 7"_s, u"a*b"_s, u"Oy"_s, u"Ürgüp"_s, u"[köşeli]"_s})
        songs << Song{t,
                      {{u"Sözler"_s, QVariant(u"söz "_s + t)},
                       {u"Yöresi"_s, QVariant(t.startsWith(u'D') ? u"Sivas"_s : u"İzmir"_s)}}};
    songs << Song{u"Desen"_s, {{u"Sözler"_s, u"Like '*a*' yazılır"_s}, {u"Yöresi"_s, u"Sivas"_s}}};
    return songs;
}

} // namespace

// A statement typed into the SQL box: the report lists the rows the preview lists.
void TestReport::handTypedLike_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<int>("rows");
    QTest::newRow("plain") << u"Başlık Like '*a*'"_s << 4;
    QTest::newRow("double quotes") << u"Başlık Like \"*a*\""_s << 4;
    QTest::newRow("brackets") << u"Başlık Like ('*a*')"_s << 4;
    QTest::newRow("nested brackets") << u"Başlık Like ( ( '*a*' ) )"_s << 4;
    QTest::newRow("bracketed double quotes") << u"Başlık Like(\"*a*\")"_s << 4;
    QTest::newRow("block comment") << u"Başlık LIKE/**/'*a*'"_s << 4;
    QTest::newRow("line comment") << u"Başlık Like -- desen\n'*a*'"_s << 4;
    QTest::newRow("newlines and tabs") << u"Başlık\nLIKE\n\t'*a*'"_s << 4;
    QTest::newRow("lower case") << u"Başlık like '*a*'"_s << 4;
    QTest::newRow("mixed case") << u"Başlık lIkE '*a*'"_s << 4;
    QTest::newRow("NOT LIKE") << u"Başlık NOT LIKE '*a*'"_s << 6;
    QTest::newRow("not like, double quotes") << u"Başlık not/**/like \"*a*\""_s << 6;
    QTest::newRow("bracketed field") << u"[Başlık] Like '*a*'"_s << 4;
    QTest::newRow("a column named Like") << u"[Like] Like '*a*'"_s << 4;
    QTest::newRow("collation") << u"Başlık Like '*a*' COLLATE NOCASE"_s << 4;
    QTest::newRow("texts joined") << u"Başlık Like '*' || 'a' || \"*\""_s << 4;
    QTest::newRow("texts joined in brackets") << u"Başlık Like ('*' || ('a*'))"_s << 4;
    QTest::newRow("a list across joined texts") << u"Başlık Like 'a[*' || ']b'"_s << 1;
    QTest::newRow("function form") << u"like(\"*a*\", Başlık)"_s << 4;
    QTest::newRow("one and digit") << u"Başlık Like 'Dere #' OR Başlık Like '?y'"_s << 2;
    QTest::newRow("the provider's wildcards are letters") << u"Başlık Like \"*_*\""_s << 1;
    QTest::newRow("a star that is a letter") << u"Başlık Like 'a[*]b'"_s << 1;
    QTest::newRow("a list kept") << u"Başlık Like '[[]*'"_s << 1;
    QTest::newRow("ESCAPE") << u"Başlık Like '%!_%' ESCAPE '!'"_s << 1;
    QTest::newRow("ESCAPE, function form") << u"like('%!_%', Başlık, '!')"_s << 1;
    QTest::newRow("a Like inside a text") << u"Sözler = 'Like ''*a*'' yazılır'"_s << 1;
    QTest::newRow("a double-quoted Like") << u"Sözler Like \"Like '*\""_s << 1;
    QTest::newRow("two patterns") << u"Başlık Like '*a*' AND Yöresi Like \"S*\""_s << 1;
    QTest::newRow("in a subquery") << u"Başlık IN (SELECT Başlık FROM Zelvoran WHERE Yöresi LIKE/* il */\"*vas\")"_s
                                   << 3;
    QTest::newRow("a Like compared") << u"(Başlık Like ('*a*')) = 1"_s << 4;
    QTest::newRow("a number") << u"Başlık Like 7 OR Başlık Like \"*7\""_s << 1;
}

void TestReport::handTypedLike()
{
    QFETCH(QString, where);
    QFETCH(int, rows);
    ArchiveFixture f;
    const QString file = f.makeArchive(u"desen.qel"_s, likeSongs());
    QString sql = u"SELECT * FROM Zelvoran WHERE "_s + where + u" ORDER BY Başlık"_s;
    if (where.startsWith(u"[Like]"_s))
        sql = u"SELECT *, Başlık AS [Like] FROM Zelvoran WHERE "_s + where + u" ORDER BY Başlık"_s;
    const QStringList previewed = titles(*db::Database::open(file), sql);
    QCOMPARE(previewed.size(), rows);
    QString unreadable;
    const QString ansi = fonksiyon::jokercevir(sql, &unreadable);
    QVERIFY2(unreadable.isEmpty(), qPrintable(unreadable));
    QStringList reported;
    const report::Loaded loaded = report::loadRows(file, ansi);
    for (const ReportRow &r : loaded.rows)
        reported << r.baslik;
    QVERIFY2(!loaded.failure, qPrintable(loaded.failure.value_or(QString())));
    QVERIFY2(reported == previewed, qPrintable(ansi + u"\n"_s + reported.join(u", "_s)));
}

// A pattern that is no text cannot be converted: the message names its Like.
void TestReport::unreadableLike_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("named");
    QTest::newRow("a field") << u"Başlık Like Yöresi"_s << u"Like Yöresi"_s;
    QTest::newRow("a field joined to a wildcard")
        << u"Başlık Like Yöresi || '*' AND Başlık Like '*a*'"_s << u"Like Yöresi || '*'"_s;
    QTest::newRow("a wildcard joined to a field")
        << u"Başlık Like '*a*' AND Başlık Like ('*' ||\n Yöresi)"_s << u"Like ('*' || Yöresi)"_s;
    QTest::newRow("a function") << u"Başlık NOT LIKE lower('*A*')"_s << u"LIKE lower('*A*')"_s;
    QTest::newRow("a subquery") << u"Başlık Like (SELECT '*a*')"_s << u"Like (SELECT '*a*')"_s;
    QTest::newRow("function form") << u"like(Yöresi || '*', Başlık)"_s << u"like(Yöresi || '*', Başlık)"_s;
    QTest::newRow("a case") << u"Başlık Like CASE WHEN 1 THEN '*a*' END"_s << u"Like CASE"_s;
}

void TestReport::unreadableLike()
{
    QFETCH(QString, where);
    QFETCH(QString, named);
    QString unreadable;
    fonksiyon::jokercevir(QString(u"SELECT * FROM Zelvoran WHERE "_s + where), &unreadable);
    QVERIFY2(unreadable.startsWith(u"Rapor bu Like desenini okuyamıyor: "_s + named), qPrintable(unreadable));
    // A later statement that reads well says nothing.
    fonksiyon::jokercevir(u"SELECT * FROM Zelvoran WHERE Başlık Like '*a*'"_s, &unreadable);
    QVERIFY(unreadable.isEmpty());
}

void TestReport::creditsLine_data()
{
    QTest::addColumn<QVariant>("kaynak");
    QTest::addColumn<QVariant>("derleyen");
    QTest::addColumn<QVariant>("soz");
    QTest::addColumn<QVariant>("muzik");
    QTest::addColumn<QVariant>("line");
    const QVariant A = u"A"_s, B = u"B"_s, C = u"C"_s, D = u"D"_s, E = u""_s;
    QTest::newRow("lyricist composed") << A << B << C << C << QVariant(u"K:A  D:B   SM:C"_s);
    QTest::newRow("no source person") << N << B << C << D << QVariant(u"  D:B   S:C  M:D"_s);
    QTest::newRow("source and composer") << A << N << N << D << QVariant(u"K:A  M:D"_s);
    QTest::newRow("lyricist alone") << N << N << C << N << QVariant(u"  S:C"_s);
    QTest::newRow("source and collector") << A << B << N << N << QVariant(u"K:A  D:B"_s);
    QTest::newRow("all Null") << N << N << N << N << N;
    QTest::newRow("all empty") << E << E << E << E << N;
    QTest::newRow("collector alone") << N << QVariant(u"Veli"_s) << N << N << QVariant(u"  D:Veli"_s);
    QTest::newRow("case differs") << N << N << QVariant(u"Ali"_s) << QVariant(u"ali"_s)
                                  << QVariant(u"   S:Ali  M:ali"_s);
    QTest::newRow("empty lyricist, composer") << N << N << E << D << QVariant(u"  M:D"_s);
    QTest::newRow("lyricist, empty composer") << N << N << C << E << QVariant(u"  S:C"_s);
    QTest::newRow("blanks kept") << QVariant(u" a "_s) << N << QVariant(u"x "_s) << QVariant(u"x"_s)
                                 << QVariant(u"K: a    S:x   M:x"_s);
}

void TestReport::creditsLine()
{
    QFETCH(QVariant, kaynak);
    QFETCH(QVariant, derleyen);
    QFETCH(QVariant, soz);
    QFETCH(QVariant, muzik);
    QFETCH(QVariant, line);
    const QVariant got = credits::line(kaynak, derleyen, soz, muzik);
    QCOMPARE(got.isNull(), line.isNull());
    QCOMPARE(got.toString(), line.toString());
}

void TestReport::creditsPass()
{
    ArchiveFixture f;
    const QString file = f.makeArchive(
        u"k.qel"_s, {Song{u"Bir"_s, {{u"KaynakKişi"_s, u"A"_s}, {u"Söz"_s, u"C"_s}, {u"Müzik"_s, u"C"_s}}},
                     Song{u"İki"_s, {{u"girişmodu"_s, u"eski"_s}}},
                     Song{u"Üç"_s, {{u"Derleyen"_s, u"B"_s}, {u"girişmodu"_s, u"  D:B"_s}}}});
    auto vt = db::Database::open(file);
    credits::rewriteAll(*vt);
    auto rs = vt->openRecordset(u"SELECT Başlık, girişmodu FROM Zelvoran ORDER BY Başlık"_s);
    QCOMPARE(rs->text(u"Başlık"_s), u"Bir"_s);
    QCOMPARE(rs->text(u"girişmodu"_s), u"K:A   SM:C"_s);
    rs->moveNext();
    QVERIFY(rs->field(u"girişmodu"_s).isNull());
    rs->moveNext();
    QCOMPARE(rs->text(u"girişmodu"_s), u"  D:B"_s);
}

void TestReport::creditsPassFailureKeepsEveryLine()
{
    ArchiveFixture f;
    QList<Song> songs;
    for (int i = 0; i < 5; ++i)
        songs << Song{u"Türkü %1"_s.arg(i), {{u"Derleyen"_s, u"D%1"_s.arg(i)}, {u"girişmodu"_s, u"eski"_s}}};
    const QString file = f.makeArchive(u"k.qel"_s, songs);
    auto vt = db::Database::open(file);
    vt->executeNative(u"CREATE TRIGGER hayir BEFORE UPDATE OF girişmodu ON Zelvoran WHEN NEW.Başlık = 'Türkü 3' "
                      u"BEGIN SELECT RAISE(ABORT, 'yazılamaz'); END"_s);
    QVERIFY_THROWS_EXCEPTION(db::Error, credits::rewriteAll(*vt));
    auto rs = vt->openRecordset(u"Zelvoran"_s);
    for (; !rs->eof(); rs->moveNext())
        QCOMPARE(rs->text(u"girişmodu"_s), u"eski"_s);
}

void TestReport::creditsPassEmptyTable()
{
    ArchiveFixture f;
    auto vt = db::Database::open(f.makeArchive(u"boş.qel"_s, {}));
    credits::rewriteAll(*vt);
    QCOMPARE(vt->openRecordset(u"Zelvoran"_s)->recordCount(), 0);
}

void TestReport::readOnlyReportBuildsCreditsFromFields()
{
    ArchiveFixture f;
    const QString file = f.makeArchive(
        u"salt.qel"_s, {Song{u"Bir"_s, {{u"KaynakKişi"_s, u"A"_s}, {u"Müzik"_s, u"C"_s}, {u"girişmodu"_s, u"eski"_s}}},
                        Song{u"İki"_s, {{u"girişmodu"_s, u"eski"_s}}}});
    QVERIFY(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    const auto rows = report::loadRows(file, kBase + u" ORDER BY Başlık"_s).rows;
    QCOMPARE(rows.size(), size_t(2));
    QCOMPARE(rows[0].info, u"K:A  M:C"_s);
    QCOMPARE(rows[1].info, QString());
    // A statement without the credit fields takes the lines of the songs its rows show; a
    // row that is no song's keeps what the statement gave.
    const auto typed = report::loadRows(file, u"SELECT Başlık, Yöresi, girişmodu, Sözler FROM Zelvoran "
                                              u"UNION ALL SELECT 'Üç', NULL, 'kendi', NULL ORDER BY Başlık"_s)
                           .rows;
    QCOMPARE(typed.size(), size_t(3));
    QCOMPARE(typed[0].info, u"K:A  M:C"_s);
    QCOMPARE(typed[1].info, QString());
    QCOMPARE(typed[2].info, u"kendi"_s);
    // The stored lines stay as they are.
    auto rs = db::Database::open(file)->openRecordset(u"SELECT girişmodu FROM Zelvoran"_s);
    for (; !rs->eof(); rs->moveNext())
        QCOMPARE(rs->text(u"girişmodu"_s), u"eski"_s);
}

void TestReport::reportFields()
{
    QCOMPARE(reportquery::missingReportFields({u"BAŞLIK"_s, u"yöresi"_s, u"GİRİŞMODU"_s, u"sözler"_s}), QStringList());
    QCOMPARE(reportquery::missingReportFields({u"Başlık"_s, u"Sözler"_s}), QStringList({u"Yöresi"_s, u"girişmodu"_s}));

    ArchiveFixture f;
    const QString file = f.makeArchive(u"a.qel"_s, sampleSongs());
    report::Loaded loaded = report::loadRows(file, u"SELECT Başlık FROM Zelvoran"_s);
    QVERIFY(loaded.rows.empty());
    const QString refusal = loaded.failure.value_or(QString());
    QVERIFY2(refusal.contains(u"Yöresi"_s) && refusal.contains(u"Sözler"_s), qPrintable(refusal));
    loaded = report::loadRows(file, u"WITH x AS (SELECT 1) DELETE FROM Zelvoran"_s);
    QVERIFY(loaded.rows.empty());
    QVERIFY2(loaded.failure.value_or(QString()).contains(u"değiştirir"_s),
             qPrintable(loaded.failure.value_or(QString())));
    QCOMPARE(db::Database::open(file)->openRecordset(u"Zelvoran"_s)->recordCount(), 5);
}

// A reading asked to stop ends as cancelled, without rows or a message, also inside a
// statement that would never give a row; the file reads as before afterwards.
void TestReport::stoppedReading()
{
    ArchiveFixture f;
    const QString file = f.makeArchive(u"dur.qel"_s, sampleSongs());
    report::Progress progress;
    progress.stop = true;
    const QString endless = u"WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x+1 FROM c) SELECT x AS Başlık, "
                            u"x AS Yöresi, x AS girişmodu, x AS Sözler FROM c WHERE x = 0"_s;
    report::Loaded loaded = report::loadRows(file, endless, &progress);
    QVERIFY(loaded.cancelled);
    QVERIFY(!loaded.failure);
    QVERIFY(loaded.rows.empty());
    // A plain statement stops as well.
    loaded = report::loadRows(file, kBase, &progress);
    QVERIFY(loaded.cancelled && loaded.rows.empty());
    report::Progress fresh;
    loaded = report::loadRows(file, kBase + u" ORDER BY Başlık"_s, &fresh);
    QVERIFY(!loaded.cancelled && !loaded.failure);
    QCOMPARE(loaded.rows.size(), size_t(5));
    QCOMPARE(fresh.rows.load(), 5);
}

void TestReport::margins_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<bool>("landscape");
    QTest::addColumn<QList<int>>("twips"); // empty: refused
    QTest::addColumn<QString>("named");
    QTest::newRow("start values") << QStringList{u"2,0"_s, u"1,0"_s, u"2,0"_s, u"2,0"_s} << false
                                  << QList<int>{1134, 567, 1134, 1134} << QString();
    QTest::newRow("halves to even") << QStringList{u"2,5"_s, u"3,5"_s, u"0"_s, u"0,4"_s} << false
                                    << QList<int>{1134, 2268, 0, 0} << QString();
    QTest::newRow("57 on a landscape page")
        << QStringList{u"1"_s, u"1"_s, u"0"_s, u"0"_s} << true << QList<int>{567, 567, 0, 0} << QString();
    QTest::newRow("not a number") << QStringList{u"2,0"_s, u"abc"_s, u"2"_s, u"2"_s} << false << QList<int>{}
                                  << u"Alt Boşluk"_s;
    QTest::newRow("negative") << QStringList{u"2"_s, u"1"_s, u"-1"_s, u"2"_s} << false << QList<int>{}
                              << u"Sol Boşluk"_s;
    QTest::newRow("58") << QStringList{u"58"_s, u"1"_s, u"2"_s, u"2"_s} << false << QList<int>{} << u"Üst Boşluk"_s;
    QTest::newRow("57 leaves no room") << QStringList{u"2"_s, u"1"_s, u"2"_s, u"57"_s} << true << QList<int>{}
                                       << u"Sağ Boşluk"_s;
    QTest::newRow("no room for a song") << QStringList{u"15"_s, u"15"_s, u"2"_s, u"2"_s} << false << QList<int>{}
                                        << u"Alt Boşluk"_s;
}

void TestReport::margins()
{
    QFETCH(QStringList, texts);
    QFETCH(bool, landscape);
    QFETCH(QList<int>, twips);
    QFETCH(QString, named);
    QCOMPARE(reportquery::marginCm(u"57"_s), std::optional<int>(57));
    const QSizeF page = report::pageTwips(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    reportquery::Margins m;
    const QString why = reportquery::checkMargins({texts[0], texts[1], texts[2], texts[3]}, page.width(), page.height(),
                                                  &m);
    if (twips.isEmpty()) {
        QVERIFY2(why.contains(named), qPrintable(why));
        return;
    }
    QVERIFY2(why.isEmpty(), qPrintable(why));
    QCOMPARE((QList<int>{m.top, m.bottom, m.left, m.right}), twips);
}

void TestReport::pdfHoldsTheSongsInOrder()
{
    QTemporaryDir dir;
    QStringList longLyric;
    for (int i = 1; i <= 150; ++i)
        longLyric << u"Uzun türkünün %1. dizesi"_s.arg(i);
    std::vector<ReportRow> rows = {
        {u"Şu Dağlar"_s, u"Iğdır"_s, u"K:Ayşe  D:Çağrı"_s, u"Dağlar dağlar\nkurban olam"_s},
        {u"Uzun Hava"_s, u"Gümüşhane"_s, QString(), longLyric.join(u'\n')},
        {u"İğneli Beşik"_s, u"Ödemiş"_s, u"  S:Ümit  M:Özlem"_s, u"Ninni ninni"_s},
    };
    for (int i = 0; i < 30; ++i)
        rows.push_back({u"Kısa %1"_s.arg(i), u"Yöre"_s, QString(), u"bir\niki\nüç"_s});
    const QString pdf = dir.filePath(u"rapor.pdf"_s);
    const int pages = printPdf(rows, pdf);
    QVERIFY(pages >= 3);

    const QString text = run(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s});
    QStringList expected = {u"Şu Dağlar"_s,   u"Iğdır"_s,     u"K:Ayşe D:Çağrı"_s, u"Dağlar dağlar"_s,
                            u"kurban olam"_s, u"Uzun Hava"_s, u"Gümüşhane"_s};
    expected << longLyric;
    expected << u"İğneli Beşik"_s << u"Ödemiş"_s << u"S:Ümit M:Özlem"_s << u"Ninni ninni"_s << u"Kısa 29"_s;
    // Blanks are compared folded; every piece comes once and in order.
    const QString flat = text.simplified();
    qsizetype at = 0;
    for (const QString &piece : expected) {
        const qsizetype found = flat.indexOf(piece.simplified(), at);
        QVERIFY2(found >= 0, qPrintable(u"missing or out of order: "_s + piece));
        at = found + piece.size();
    }
    // The long lyric runs over a page end: its first line on page 1 or 2, its last later.
    const QString first = run(u"pdftotext"_s, {u"-f"_s, u"1"_s, u"-l"_s, u"1"_s, pdf, u"-"_s});
    QVERIFY(!first.contains(u"150. dizesi"_s));
    // The short songs are whole on their page.
    for (int p = 1; p <= pages; ++p) {
        const QString page = run(u"pdftotext"_s,
                                 {u"-f"_s, QString::number(p), u"-l"_s, QString::number(p), pdf, u"-"_s});
        for (int i = 0; i < 30; ++i) {
            if (page.contains(u"Kısa %1\n"_s.arg(i)))
                QVERIFY2(page.contains(u"bir\niki\nüç"_s), qPrintable(page));
        }
    }
    const QString fonts = run(u"pdffonts"_s, {pdf});
    for (const QString &face : {u"LiberationSans"_s, u"LiberationSerif-Italic"_s, u"DejaVuSans"_s})
        QVERIFY2(fonts.contains(face), qPrintable(fonts));
}

void TestReport::pdfLandscape()
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(u"yatay.pdf"_s);
    QVERIFY(printPdf({{u"Yatay"_s, {}, {}, {}}}, pdf, QPageLayout::Landscape) > 0);
    const QString info = run(u"pdfinfo"_s, {pdf});
    QVERIFY2(info.contains(u"842 x 595 pts"_s), qPrintable(info));
}

// One line of about `chars` characters: words, or one run without a break.
static QString hugeLine(qsizetype chars, bool words)
{
    const QString word = words ? u"dağlar dağlar kurban olam "_s : u"dağlardağlarkurbanolam"_s;
    QString line;
    line.reserve(chars + word.size());
    while (line.size() < chars)
        line += word;
    return line;
}

static QString withoutBlanks(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (!c.isSpace())
            out += c;
    }
    return out;
}

void TestReport::hugeValueLaidOutWhole_data()
{
    QTest::addColumn<bool>("words");
    QTest::addColumn<double>("megabytes");
    QTest::addRow("10 MB of words") << true << 10.0;
    QTest::addRow("10 MB unbroken") << false << 10.0;
}

// A lyric of one huge line is laid out in bounded time and every letter lands on a page, in order.
void TestReport::hugeValueLaidOutWhole()
{
    QFETCH(bool, words);
    QFETCH(double, megabytes);
    QTemporaryDir dir;
    const QString line = hugeLine(qsizetype(megabytes * 1024 * 1024), words);
    const std::vector<ReportRow> rows = {{u"Uzun"_s, u"Yöre"_s, QString(), line}};
    const QString pdf = dir.filePath(u"uzun.pdf"_s);
    QElapsedTimer t;
    t.start();
    const int pages = printPdf(rows, pdf);
    const qint64 ms = t.elapsed();
    QVERIFY(pages > 1);
    qInfo("%d pages in %lld ms", pages, ms);
    QProcess p;
    p.start(u"pdftotext"_s, {pdf, u"-"_s});
    QVERIFY(p.waitForFinished(300000));
    const QString text = withoutBlanks(QString::fromUtf8(p.readAllStandardOutput()));
    const QString expected = withoutBlanks(u"Uzun Yöre"_s + line);
    if (text != expected) {
        qsizetype at = 0;
        while (at < qMin(text.size(), expected.size()) && text[at] == expected[at])
            ++at;
        QFAIL(qPrintable(u"text differs at %1 of %2 (got %3)"_s.arg(at).arg(expected.size()).arg(text.size())));
    }
}

// Turkish typesetting never joins f and i: every box of the report prints plain letters,
// Turkish letters and combining marks intact.
void TestReport::lettersNeverJoined()
{
    QTemporaryDir dir;
    const QString words = u"fi fistan fikir ffl şıkır İğdır i\u0307"_s;
    const std::vector<ReportRow> rows = {
        {u"Başlık "_s + words, u"Yöre "_s + words, u"K:"_s + words, u"Söz "_s + words + u"\nfiller fiyaka"_s}};
    const QString pdf = dir.filePath(u"fi.pdf"_s);
    QVERIFY(printPdf(rows, pdf) > 0);
    const QString text = run(u"pdftotext"_s, {pdf, u"-"_s});
    for (const char16_t ligature : {u'\uFB00', u'\uFB01', u'\uFB02', u'\uFB03', u'\uFB04'})
        QVERIFY2(!text.contains(QChar(ligature)), qPrintable(text));
    QCOMPARE(text.count(u"fistan"_s), 4);
    QCOMPARE(text.count(u"fikir"_s), 4);
    QCOMPARE(text.count(u"şıkır İğdır"_s), 4);
    QVERIFY2(text.contains(u"filler fiyaka"_s), qPrintable(text));
    // The lyrics face draws a dot-above mark over a dotless base, which pdftotext reads back
    // as "ı ̇"; on paper both are the dotted i. The mark itself is in every box.
    QVERIFY2(text.count(u"\u0307"_s) == 4, qPrintable(text));
}

// A region or credits taller than a page goes on over the following pages: every word of
// both, and the lyrics after them, land on paper.
void TestReport::tallRegionAndCreditsGoOnOverPages()
{
    QTemporaryDir dir;
    QStringList region, credits;
    for (int i = 0; i < 3000; ++i) {
        region << u"y%1"_s.arg(i, 4, 10, QChar(u'0'));
        credits << u"k%1"_s.arg(i, 4, 10, QChar(u'0'));
    }
    const std::vector<ReportRow> rows = {{u"Kısa"_s, u"Sivas"_s, u"K:Ali"_s, u"ilk söz"_s},
                                         {u"Uzun"_s, region.join(u' '), credits.first(600).join(u"\n"_s), u"son söz"_s},
                                         {u"Sonra"_s, u"Muş"_s, u"K:Veli"_s, u"en son"_s}};
    const QString pdf = dir.filePath(u"uzun.pdf"_s);
    QVERIFY(printPdf(rows, pdf) > 3);
    const QString text = run(u"pdftotext"_s, {pdf, u"-"_s});
    for (const QString &word : region + credits.first(600))
        QVERIFY2(text.count(word) == 1, qPrintable(word));
    for (const QString &word : {u"ilk söz"_s, u"son söz"_s, u"en son"_s, u"Muş"_s, u"K:Veli"_s})
        QVERIFY2(text.contains(word), qPrintable(word));
    QVERIFY(text.indexOf(u"k0599"_s) < text.indexOf(u"son söz"_s));
    QVERIFY(text.indexOf(u"y2999"_s) < text.indexOf(u"son söz"_s));
}

QTEST_MAIN(TestReport)
#include "tst_report.moc"
