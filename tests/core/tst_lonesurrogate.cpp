#include "archivefixture.h"

#include "database.h"
#include "fonksiyon.h"
#include "form1.h"
#include "frmsorgu.h"
#include "globals.h"
#include "mybutton.h"
#include "recordset.h"
#include "report.h"
#include "treeview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

using namespace Qt::StringLiterals;

// Half of a surrogate pair, pasted from a broken source into the search box or a report
// criterion, matches only text that holds the same broken character, never any character.
class TestLoneSurrogate : public QObject {
    Q_OBJECT
private slots:
    void search_data();
    void search();
    void reportCriterion_data();
    void reportCriterion();
    void handTypedStatement_data();
    void handTypedStatement();
};

namespace {

const QString kHigh = QString(QChar(0xD800));
const QString kLow = QString(QChar(0xDC00));

QList<Song> songs()
{
    QList<Song> list = sampleSongs();
    list << Song{u"Neden?"_s, {{u"Sözler"_s, u"neden gelmedin"_s}}}
         << Song{u"Bozuk Harf"_s, {{u"Sözler"_s, u"bozuk \uFFFD harf"_s}}}
         << Song{u"Nota"_s, {{u"Sözler"_s, u"ezgi \U0001F3B5 sesi"_s}}};
    return list;
}

} // namespace

void TestLoneSurrogate::search_data()
{
    QTest::addColumn<QString>("scope");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QStringList>("hits"); // none: "Aranan bulunamadı!"

    QTest::newRow("after a letter") << u"ara_b"_s << (u"a"_s + kHigh) << QStringList();
    QTest::newRow("alone, all fields") << u"ara_all"_s << kLow << QStringList{u"Bozuk Harf"_s};
    QTest::newRow("before an apostrophe") << u"ara_bs"_s << (kHigh + u"'"_s) << QStringList();
    QTest::newRow("the broken character stored")
        << u"ara_bs"_s << (u"bozuk "_s + kHigh) << QStringList{u"Bozuk Harf"_s};
    QTest::newRow("a whole pair") << u"ara_bs"_s << u"\U0001F3B5"_s << QStringList{u"Nota"_s};
}

void TestLoneSurrogate::search()
{
    QFETCH(QString, scope);
    QFETCH(QString, word);
    QFETCH(QStringList, hits);
    ArchiveFixture f;
    f.makeSettings(f.makeArchive(u"a.qel"_s, songs(), {u"A"_s, u"B"_s, u"N"_s}));
    QVERIFY(f.start());
    Form1 *w = f.form();
    for (const QString &s : {u"ara_b"_s, u"ara_bs"_s, u"ara_y"_s, u"ara_all"_s, u"ara_szlk"_s})
        w->findChild<QCheckBox *>(s)->setChecked(s == scope);
    w->findChild<QLineEdit *>(u"ara"_s)->setText(word);
    w->findChild<MyButton *>(u"sbaslikara"_s)->click();

    TreeView *tv = w->tvw();
    QStringList found;
    if (TreeNode *n = tv->find(u"aranankelime"_s)) {
        for (int i = 0; i < n->childCount(); ++i)
            found << n->child(i)->key();
    }
    QCOMPARE(found, hits);
    QCOMPARE(f.boxTexts(), hits.isEmpty() ? QStringList(u"Aranan bulunamadı!"_s) : QStringList());
}

void TestLoneSurrogate::reportCriterion_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("op");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("rows"); // 0: "Kayıt bulunamadı!"

    const int all = int(songs().size());
    QTest::newRow("contains") << 1 << u"İçerir"_s << (u"e"_s + kHigh) << 0;
    QTest::newRow("begins with") << 0 << u"İle Başlar"_s << kLow << 0;
    QTest::newRow("equals") << 0 << u"Eşittir"_s << (u"Neden"_s + kHigh) << 0;
    QTest::newRow("differs") << 0 << u"Farklıdır"_s << (u"Neden"_s + kHigh) << all;
    QTest::newRow("the broken character stored") << 1 << u"İçerir"_s << (u"bozuk "_s + kHigh) << 1;
}

void TestLoneSurrogate::reportCriterion()
{
    QFETCH(int, column);
    QFETCH(QString, op);
    QFETCH(QString, text);
    QFETCH(int, rows);
    ArchiveFixture f;
    const QString archive = f.makeArchive(u"rapor.qel"_s, songs());
    g::vt = db::Database::open(archive);
    g::vtdosyasi = archive;
    {
        frmsorgu::Window w;
        QVERIFY(w.Form_Load());
        w.combo(column)->setCurrentText(op);
        w.kriter(column)->setText(text);
        w.button(1)->click();
        if (rows == 0) {
            QCOMPARE(f.boxTexts(), QStringList(u"Kayıt bulunamadı!"_s));
        } else {
            QCOMPARE(f.boxTexts(), QStringList());
            QCOMPARE(w.countCaption(), u"Kayıt Sayısı: %1"_s.arg(rows));
        }
        QVERIFY(QStringView(w.txtsql()->toPlainText()).isValidUtf16());
    }
    g::vt.reset();
}

// The same in a statement typed into the SQL box or a value bound to a placeholder:
// the program's dialect, the report's, and a bound pattern find the same rows.
void TestLoneSurrogate::handTypedStatement_data()
{
    QTest::addColumn<QString>("pattern"); // between the quotes, in the program's dialect
    QTest::addColumn<QStringList>("hits");

    QTest::newRow("a letter's place") << (u"Neden"_s + kHigh) << QStringList();
    QTest::newRow("a low half") << (u"Neden"_s + kLow) << QStringList();
    QTest::newRow("inside a contains") << (u"*ede"_s + kHigh + u"*"_s) << QStringList();
    QTest::newRow("the broken character stored") << (u"Bozuk"_s + kHigh + u"Harf"_s) << QStringList();
    QTest::newRow("as the broken character") << (u"*bozuk "_s + kHigh + u" harf*"_s) << QStringList{u"Bozuk Harf"_s};
}

void TestLoneSurrogate::handTypedStatement()
{
    QFETCH(QString, pattern);
    QFETCH(QStringList, hits);
    ArchiveFixture f;
    const QString archive = f.makeArchive(u"rapor.qel"_s, songs());
    const QString sql = u"SELECT * FROM Zelvoran WHERE Başlık Like '"_s + pattern + u"' OR Sözler Like \""_s + pattern
                        + u"\" ORDER BY Başlık"_s;
    auto db = db::Database::open(archive);
    QStringList found;
    for (auto rs = db->openRecordset(sql); !rs->eof(); rs->moveNext())
        found << rs->text(u"Başlık"_s);
    QCOMPARE(found, hits);

    found.clear();
    for (auto rs = db->openRecordset(u"SELECT * FROM Zelvoran WHERE Başlık Like ? OR Sözler Like ? ORDER BY Başlık"_s,
                                     {pattern, pattern});
         !rs->eof(); rs->moveNext())
        found << rs->text(u"Başlık"_s);
    QCOMPARE(found, hits);

    QString unreadable;
    found.clear();
    const report::Loaded loaded = report::loadRows(archive, fonksiyon::jokercevir(sql, &unreadable));
    for (const ReportRow &r : loaded.rows)
        found << r.baslik;
    QVERIFY(unreadable.isEmpty() && !loaded.failure);
    QCOMPARE(found, hits);
}

QTEST_MAIN(TestLoneSurrogate)
#include "tst_lonesurrogate.moc"
