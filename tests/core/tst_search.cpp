#include "archivefixture.h"

#include "database.h"
#include "datacontrol.h"
#include "datagrid.h"
#include "form1.h"
#include "globals.h"
#include "mybutton.h"
#include "recordscrollbar.h"
#include "recordset.h"
#include "search.h"
#include "statusbar.h"
#include "szlk.h"
#include "treeview.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

const QStringList kScopes = {u"ara_b"_s, u"ara_bs"_s, u"ara_y"_s, u"ara_all"_s, u"ara_szlk"_s};

QList<Song> songs()
{
    QList<Song> list = sampleSongs();
    list << Song{u"Gizli Türkü"_s, {{u"Açıklama"_s, u"yalnız açıklamada saklı"_s}}} << Song{u"Boş Alanlar"_s, {}};
    return list;
}

// "TÜMÜ...>word>[a,b]" for the search tree, the top keys otherwise.
QString outline(TreeView *tv)
{
    if (!tv->find(u"aranankelime"_s)) {
        QStringList keys;
        for (int i = 1; i <= tv->count(); ++i) {
            if (!tv->nodeAt(i)->parent())
                keys << tv->nodeAt(i)->key();
        }
        return keys.join(u',');
    }
    TreeNode *word = tv->node(u"aranankelime"_s);
    QStringList hits;
    for (int i = 0; i < word->childCount(); ++i)
        hits << word->child(i)->key();
    return word->parent()->key() + u">"_s + word->text() + u">["_s + hits.join(u',') + u"]"_s;
}

QCheckBox *box(Form1 *w, const QString &name)
{
    return w->findChild<QCheckBox *>(name);
}

void runSearch(Form1 *w, const QString &scope, const QString &word)
{
    for (const QString &s : kScopes)
        box(w, s)->setChecked(s == scope);
    w->findChild<QLineEdit *>(u"ara"_s)->setText(word);
    w->findChild<MyButton *>(u"sbaslikara"_s)->click();
}

QString shownTitle(Form1 *w)
{
    return w->findChild<QLineEdit *>(u"Text3"_s)->text();
}

bool start(ArchiveFixture &f, const QList<Song> &list = songs())
{
    f.makeSettings(f.makeArchive(u"a.qel"_s, list, {u"A"_s, u"B"_s, u"Ç"_s, u"G"_s, u"S"_s}));
    return f.start();
}

} // namespace

class TestSearch : public QObject {
    Q_OBJECT
private slots:
    void statements_data()
    {
        QTest::addColumn<int>("scope");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("pattern");
        using S = search::Scope;
        QTest::newRow("title") << int(S::Title) << u"ali"_s << u"select * from zelvoran where başlık like '*ali*'"_s
                               << u"*ali*"_s;
        QTest::newRow("title and lyrics")
            << int(S::TitleAndLyrics) << u"gel"_s
            << u"select * from zelvoran where başlık like '*gel*' or sözler like '*gel*'"_s << u"*gel*"_s;
        QTest::newRow("region") << int(S::Region) << u"Sivas"_s
                                << u"select * from zelvoran where yöresi like '*Sivas*'"_s << u"*Sivas*"_s;
        QTest::newRow("all fields")
            << int(S::AllFields) << u"w"_s
            << u"SELECT * From Zelvoran Where Başlık Like '*w*' Or Yöresi Like '*w*' Or Türü Like '*w*' Or derleyen Like '*w*' "
               "Or KaynakKişi Like '*w*' Or Söz Like '*w*' Or Müzik Like '*w*' Or Söyleyenler Like '*w*' Or Sözler Like '*w*' "
               "or açıklama Like '*w*' or digerbilgiler Like '*w*' or türü2 Like '*w*'"_s
            << u"*w*"_s;
        QTest::newRow("dictionary") << int(S::Dictionary) << u"göz"_s
                                    << u"select * from sozluk where deyim like '*göz*' order by deyim"_s << u"*göz*"_s;
        QTest::newRow("hostile") << int(S::Title) << u"'; DELETE FROM Zelvoran; --"_s
                                 << u"select * from zelvoran where başlık like '*''; DELETE FROM Zelvoran; --*'"_s
                                 << u"*'; DELETE FROM Zelvoran; --*"_s;
        QTest::newRow("wildcards") << int(S::Title) << u"a*b?#[c"_s
                                   << u"select * from zelvoran where başlık like '*a[*]b[?][#][[]c*'"_s
                                   << u"*a[*]b[?][#][[]c*"_s;
    }

    void statements()
    {
        QFETCH(int, scope);
        QFETCH(QString, word);
        QFETCH(QString, text);
        QFETCH(QString, pattern);
        const search::Statement s = search::statement(search::Scope(scope), word);
        QCOMPARE(s.text, text);
        QVERIFY(!s.bound.contains(u'\''));
        QCOMPARE(s.values.size(), text.count(u"like"_s, Qt::CaseInsensitive));
        for (const QVariant &v : s.values)
            QCOMPARE(v.toString(), pattern);
        QVERIFY(search::statement(search::Scope::None, word).text.isEmpty());
    }

    void firstTickedDecides()
    {
        using S = search::Scope;
        QCOMPARE(search::firstTicked(false, false, true, false, true), S::Region);
        QCOMPARE(search::firstTicked(true, true, true, true, true), S::Title);
        QCOMPARE(search::firstTicked(false, false, false, true, true), S::AllFields);
        QCOMPARE(search::firstTicked(false, false, false, false, true), S::Dictionary);
        QCOMPARE(search::firstTicked(false, false, false, false, false), S::None);
    }

    // Each scope through the window; hits in the engine's order.
    void scopes_data()
    {
        QTest::addColumn<QString>("scope");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("hits");
        QTest::newRow("title, other case") << u"ara_b"_s << u"ALİ"_s << u"Ali Paşa"_s;
        QTest::newRow("title and lyrics") << u"ara_bs"_s << u"altın"_s << u"Bülbülüm"_s;
        QTest::newRow("region İZMİR") << u"ara_y"_s << u"İZMİR"_s << u"Bülbülüm"_s;
        QTest::newRow("region izmir") << u"ara_y"_s << u"izmir"_s << u"Bülbülüm"_s;
        QTest::newRow("region, two") << u"ara_y"_s << u"sivas"_s << u"Ali Paşa,Ayva Çiçek"_s;
        QTest::newRow("all: only in Açıklama") << u"ara_all"_s << u"saklı"_s << u"Gizli Türkü"_s;
        QTest::newRow("all: lyrics and a title") << u"ara_all"_s << u"çanakkale"_s << u"Çanakkale"_s;
        QTest::newRow("all: Derleyen") << u"ara_all"_s << u"Veli"_s << u"Ali Paşa,Ayva Çiçek"_s;
    }

    void scopes()
    {
        QFETCH(QString, scope);
        QFETCH(QString, word);
        QFETCH(QString, hits);
        ArchiveFixture f;
        QVERIFY(start(f));
        Form1 *w = f.form();
        runSearch(w, scope, word);
        QVERIFY(f.boxes.isEmpty());
        QCOMPARE(outline(w->tvw()), u"TÜMÜ...>"_s + word + u">["_s + hits + u"]"_s);
        const QString first = hits.section(u',', 0, 0);
        QCOMPARE(w->tvw()->selectedNode()->key(), first);
        QCOMPARE(w->tvw()->node(first)->tag().toString(), first);
        QCOMPARE(shownTitle(w), first);
        QCOMPARE(w->stbar()->panelText(2), u"Bulunan kayıt sayısı: %1"_s.arg(hits.count(u',') + 1));
        QVERIFY(!w->hscroll1()->isEnabled());
        QCOMPARE(g::agacmodu, u"arama"_s);
        // The record source takes the statement; the records stay as they were.
        QVERIFY(w->data1()->recordSource().contains(word));
        QCOMPARE(w->data1()->recordset()->recordCount(), 7);
    }

    void nothingFound_data()
    {
        QTest::addColumn<QString>("word");
        QTest::newRow("absent") << u"yokböyle"_s;
        QTest::newRow("hostile") << u"'; DELETE FROM Zelvoran; --"_s;
        QTest::newRow("star") << u"*"_s;
        QTest::newRow("bracket") << u"[a-z]"_s;
    }

    void nothingFound()
    {
        QFETCH(QString, word);
        ArchiveFixture f;
        QVERIFY(start(f));
        Form1 *w = f.form();
        w->hscroll1()->setValueChecked(3);
        const QString before = outline(w->tvw());
        runSearch(w, u"ara_all"_s, word);
        QCOMPARE(f.boxes.size(), 1);
        QCOMPARE(f.boxes.first().text, u"Aranan bulunamadı!"_s);
        QCOMPARE(f.boxes.first().icon, msg::Icon::Information);
        QCOMPARE(outline(w->tvw()), before);
        QCOMPARE(shownTitle(w), u"Çanakkale"_s);
        QCOMPARE(w->stbar()->panelText(2), u"Kayıt : 3 / 7"_s);
        QCOMPARE(w->data1()->recordSource(), u"zelvoran"_s);
        QVERIFY(w->hscroll1()->isEnabled());
        QCOMPARE(g::vt->openRecordset(u"Zelvoran"_s)->recordCount(), 7);
    }

    void emptyWordAndNoScope()
    {
        ArchiveFixture f;
        QVERIFY(start(f));
        Form1 *w = f.form();
        const QString before = outline(w->tvw());
        runSearch(w, u"ara_b"_s, QString());
        QVERIFY(g::agacmodu.isEmpty());
        runSearch(w, QString(), u"ali"_s);
        QCOMPARE(g::agacmodu, u"arama"_s);
        QCOMPARE(outline(w->tvw()), before);
        QVERIFY(w->hscroll1()->isEnabled());
        QVERIFY(f.boxes.isEmpty());
        // Boxes ticked from the keyboard: the first in order decides.
        box(w, u"ara_y"_s)->setChecked(true);
        box(w, u"ara_b"_s)->setChecked(true);
        w->findChild<QLineEdit *>(u"ara"_s)->setText(u"ali"_s);
        w->findChild<MyButton *>(u"sbaslikara"_s)->click();
        QCOMPARE(outline(w->tvw()), u"TÜMÜ...>ali>[Ali Paşa]"_s);
    }

    void hintIsTheBoxText()
    {
        ArchiveFixture f;
        QVERIFY(start(f, {Song{u"Aranacak kelime... türküsü"_s, {}}}));
        Form1 *w = f.form();
        auto *ara = w->findChild<QLineEdit *>(u"ara"_s);
        QCOMPARE(ara->text(), u"Aranacak kelime..."_s);
        // Searched as it stands before the box was clicked.
        box(w, u"ara_b"_s)->setChecked(true);
        w->findChild<MyButton *>(u"sbaslikara"_s)->click();
        QCOMPARE(outline(w->tvw()), u"TÜMÜ...>Aranacak kelime...>[Aranacak kelime... türküsü]"_s);
        QTest::mouseClick(ara, Qt::LeftButton);
        QCOMPARE(ara->text(), QString());
        ara->setText(u"başka"_s);
        QTest::mouseClick(ara, Qt::LeftButton);
        QCOMPARE(ara->text(), u"başka"_s);
    }

    void exclusiveScopeBoxes()
    {
        ArchiveFixture f;
        QVERIFY(start(f));
        Form1 *w = f.form();
        const auto ticked = [&] {
            QStringList on;
            for (const QString &s : kScopes) {
                if (box(w, s)->isChecked())
                    on << s;
            }
            return on.join(u',');
        };
        QTest::mouseClick(box(w, u"ara_b"_s), Qt::LeftButton);
        QTest::mouseClick(box(w, u"ara_y"_s), Qt::LeftButton);
        QCOMPARE(ticked(), u"ara_y"_s);
        QTest::mouseClick(box(w, u"ara_y"_s), Qt::LeftButton);
        QCOMPARE(ticked(), QString());
        box(w, u"ara_all"_s)->setChecked(true);
        box(w, u"ara_szlk"_s)->setChecked(true);
        QTest::mouseClick(box(w, u"ara_bs"_s), Qt::RightButton);
        QCOMPARE(ticked(), QString());
        QTest::mouseDClick(box(w, u"ara_szlk"_s), Qt::LeftButton);
        box(w, u"ara_b"_s)->setChecked(true);
        QTest::mouseDClick(box(w, u"ara_szlk"_s), Qt::LeftButton);
        QVERIFY(!box(w, u"ara_b"_s)->isChecked());
    }

    // Leaving the results, by "TÜMÜ..." or another view, brings the scroll bar back.
    void leavingResults()
    {
        ArchiveFixture f;
        QVERIFY(start(f));
        Form1 *w = f.form();
        runSearch(w, u"ara_y"_s, u"sivas"_s);
        QVERIFY(!w->hscroll1()->isEnabled());
        // A click on the word node moves nothing.
        emit w->tvw()->nodeClick(w->tvw()->node(u"aranankelime"_s));
        QCOMPARE(shownTitle(w), u"Ali Paşa"_s);
        QTreeWidget *tw = w->tvw()->treeWidget();
        QTreeWidgetItem *root = w->tvw()->node(u"TÜMÜ..."_s)->item();
        QTest::mouseClick(tw->viewport(), Qt::LeftButton, {}, tw->visualItemRect(root).center());
        QCOMPARE(outline(w->tvw()), u"A0,B0,Ç0,G0,S0"_s);
        QVERIFY(w->hscroll1()->isEnabled());
        QCOMPARE(shownTitle(w), u"Ali Paşa"_s);

        runSearch(w, u"ara_y"_s, u"sivas"_s);
        // A second search closes the old word node, then replaces the tree.
        runSearch(w, u"ara_b"_s, u"a"_s);
        QCOMPARE(w->tvw()->node(u"aranankelime"_s)->text(), u"a"_s);
        w->findChild<QRadioButton *>(u"grnm_yore"_s)->click();
        QVERIFY(w->hscroll1()->isEnabled());
        w->hscroll1()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(w->stbar()->panelText(2), u"Kayıt : 2 / 7"_s);
    }

    void digitTitleHitSkipped()
    {
        ArchiveFixture f;
        QVERIFY(start(f, {Song{u"1923"_s, {{u"Yöresi"_s, u"Ege"_s}}}, Song{u"Sarı Zeybek"_s, {{u"Yöresi"_s, u"Ege"_s}}},
                          Song{u"1071"_s, {{u"Yöresi"_s, u"Ege"_s}}}, Song{u"Ali"_s, {{u"Yöresi"_s, u"Ege"_s}}}}));
        Form1 *w = f.form();
        f.boxes.clear();
        runSearch(w, u"ara_y"_s, u"ege"_s);
        QCOMPARE(f.boxTexts(),
                 QStringList(u"Başlıklarda sadece rakamlardan oluşan kayıtlar var! Bu kayıtları silmelisiniz."_s));
        QCOMPARE(outline(w->tvw()), u"TÜMÜ...>ege>[Sarı Zeybek,Ali]"_s);
        QCOMPARE(shownTitle(w), u"Sarı Zeybek"_s);
        QCOMPARE(w->stbar()->panelText(2), u"Bulunan kayıt sayısı: 4"_s);
    }

    // Hits "Can", "Cemile", "Ceviz" of "c"; "Dana" alone of "dana".
    void deletingAHit_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("deleted");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("hits");
        QTest::newRow("first") << u"c"_s << u"Can"_s << u"Cemile"_s << u"Cemile,Ceviz"_s;
        QTest::newRow("middle") << u"c"_s << u"Cemile"_s << u"Ceviz"_s << u"Can,Ceviz"_s;
        QTest::newRow("last") << u"c"_s << u"Ceviz"_s << u"Cemile"_s << u"Can,Cemile"_s;
        QTest::newRow("the only one") << u"dana"_s << u"Dana"_s << u"Ceviz"_s << QString();
    }

    void deletingAHit()
    {
        QFETCH(QString, word);
        QFETCH(QString, deleted);
        QFETCH(QString, shown);
        QFETCH(QString, hits);
        ArchiveFixture f;
        const QList<Song> list = {Song{u"Bal"_s, {}}, Song{u"Can"_s, {}}, Song{u"Cemile"_s, {}}, Song{u"Dana"_s, {}},
                                  Song{u"Ceviz"_s, {}}};
        QVERIFY(start(f, list));
        Form1 *w = f.form();
        TreeView *tv = w->tvw();
        QTest::mouseClick(box(w, u"option2"_s), Qt::LeftButton);
        runSearch(w, u"ara_b"_s, word);
        emit tv->nodeClick(tv->findTitle(deleted));
        QCOMPARE(shownTitle(w), deleted);
        f.boxes.clear();
        w->findChild<MyButton *>(u"sil"_s)->click();
        QCOMPARE(f.boxTexts(), QStringList(u"[ "_s + deleted + u" ] Kaydı silinecek. Emin misiniz?"_s));
        QCOMPARE(g::vt->openRecordset(u"Zelvoran"_s)->recordCount(), 4);
        QVERIFY(g::vt->openRecordset(u"SELECT * FROM Zelvoran WHERE Başlık = ?"_s, {deleted})->eof());

        QCOMPARE(outline(tv), u"TÜMÜ...>"_s + word + u">["_s + hits + u"]"_s);
        QCOMPARE(shownTitle(w), shown);
        QCOMPARE(tv->selectedNode(), tv->findTitle(shown));
        QCOMPARE(w->stbar()->panelText(2),
                 u"Bulunan kayıt sayısı: %1"_s.arg(hits.isEmpty() ? 0 : hits.count(u',') + 1));
        // Typing renames the shown hit alone, or no node when it is none.
        auto *t3 = w->findChild<QLineEdit *>(u"Text3"_s);
        t3->end(false);
        QTest::keyClicks(t3, u"z"_s);
        QStringList left = hits.isEmpty() ? QStringList() : hits.split(u',');
        if (const qsizetype i = left.indexOf(shown); i >= 0)
            left[i] += u"z"_s;
        QCOMPARE(outline(tv), u"TÜMÜ...>"_s + word + u">["_s + left.join(u',') + u"]"_s);
        QCOMPARE(f.boxes.size(), 1);
    }

    // A pending edit is stored before the hits are read.
    void pendingEditStoredFirst_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("stored");
        QTest::newRow("no longer a hit") << u"Yeni Dag"_s << u"ali"_s << QStringList(u"Aranan bulunamadı!"_s)
                                         << u"Yeni Dag"_s;
        QTest::newRow("a hit now") << u"Yeni Dag"_s << u"dag"_s << QStringList() << u"Yeni Dag"_s;
        QTest::newRow("refused: no search")
            << u"Bülbülüm"_s << u"ali"_s << QStringList(u"[ Bülbülüm ] başlığı ile başka bir kayıt zaten var!"_s)
            << u"Ali Paşa"_s;
    }

    void pendingEditStoredFirst()
    {
        QFETCH(QString, typed);
        QFETCH(QString, word);
        QFETCH(QStringList, messages);
        QFETCH(QString, stored);
        ArchiveFixture f;
        QVERIFY(start(f));
        Form1 *w = f.form();
        const QString before = outline(w->tvw());
        QTest::mouseClick(box(w, u"option2"_s), Qt::LeftButton);
        w->findChild<QLineEdit *>(u"Text3"_s)->setText(typed);
        runSearch(w, u"ara_b"_s, word);
        QCOMPARE(f.boxTexts(), messages);
        QCOMPARE(w->data1()->recordset()->text(u"Başlık"_s), stored);
        QCOMPARE(outline(w->tvw()), messages.isEmpty() ? u"TÜMÜ...>"_s + word + u">["_s + typed + u"]"_s : before);
        QCOMPARE(w->data1()->recordSource(),
                 messages.isEmpty() ? search::statement(search::Scope::Title, word).text : u"zelvoran"_s);
    }

    void dictionary()
    {
        ArchiveFixture f;
        f.makeSettings(f.makeArchive(
            u"a.qel"_s, sampleSongs(), {u"A"_s},
            {{u"göz koymak"_s, u"istemek"_s}, {u"el vermek"_s, u"yardım"_s}, {u"göze girmek"_s, u"sevilmek"_s}}));
        QVERIFY(f.start());
        Form1 *w = f.form();
        const QString before = outline(w->tvw());
        QStringList idioms;
        QTimer::singleShot(0, [&] {
            auto *dict = qobject_cast<szlk::Window *>(QApplication::activeModalWidget());
            QVERIFY(dict);
            for (auto *rs = dict->data1()->recordset(); !rs->eof(); rs->moveNext())
                idioms << rs->text(u"Deyim"_s);
            dict->close();
        });
        runSearch(w, u"ara_szlk"_s, u"GÖZ"_s);
        QCOMPARE(idioms, QStringList({u"göz koymak"_s, u"göze girmek"_s}));
        QCOMPARE(outline(w->tvw()), before);
        QVERIFY(w->hscroll1()->isEnabled());
        QCOMPARE(w->data1()->recordSource(), u"zelvoran"_s);
    }
};

QTEST_MAIN(TestSearch)
#include "tst_search.moc"
