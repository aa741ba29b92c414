#include "archivefixture.h"

#include "database.h"
#include "datacontrol.h"
#include "form1.h"
#include "globals.h"
#include "mybutton.h"
#include "recordscrollbar.h"
#include "recordset.h"
#include "statusbar.h"
#include "titletree.h"
#include "treeview.h"

#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// "A[Ali Paşa,Ayva]" style outline of the top two levels.
QString outline(TreeView *tv)
{
    QStringList parts;
    for (int i = 1; i <= tv->count(); ++i) {
        TreeNode *n = tv->nodeAt(i);
        if (n->parent())
            continue;
        QStringList children;
        for (int c = 0; c < n->childCount(); ++c)
            children << n->child(c)->text();
        parts << n->text() + u"["_s + children.join(u',') + u"]"_s;
    }
    return parts.join(u' ');
}

Song song(const QString &title, const QVariantMap &fields = {})
{
    return Song{title, fields};
}

QString title(Form1 *w)
{
    return w->findChild<QLineEdit *>(u"Text3"_s)->text();
}

} // namespace

class TestTree : public QObject {
    Q_OBJECT
private slots:
    void byLetter()
    {
        ArchiveFixture f;
        // Table order is not title order; "Q" has no title, "1923" cannot be a key.
        f.makeSettings(
            f.makeArchive(u"a.qel"_s,
                          {song(u"Çanakkale"_s), song(u"ayva"_s), song(u"Ali'nin Türküsü"_s), song(u"1923"_s),
                           song(u"İzmir"_s), song(u"ılgaz"_s), song(u"Cezayir"_s), song(u"Türkü 10"_s)},
                          {u"A"_s, u"C"_s, u"Ç"_s, u"I"_s, u"İ"_s, u"Q"_s, u"T"_s}));
        QVERIFY(f.start());
        Form1 *w = f.form();
        QCOMPARE(outline(w->tvw()),
                 u"A[Ali'nin Türküsü,ayva] C[Cezayir] Ç[Çanakkale] I[ılgaz] İ[İzmir] Q[] T[Türkü 10]"_s);
        QCOMPARE(w->tvw()->nodeAt(1)->key(), u"A0"_s);
        QCOMPARE(w->tvw()->node(u"ayva"_s)->tag().toString(), u"ayva"_s);
        // Built twice at start-up: "1923" is tried under its own initial and refused.
        const QString digits = u"Başlıklarda sadece rakamlardan oluşan kayıtlar var! Bu kayıtları silmelisiniz."_s;
        QCOMPARE(f.boxTexts(), QStringList({digits, digits}));
    }

    void initials_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("initial");
        QTest::newRow("plain") << u"Mihriban"_s << u"M"_s;
        QTest::newRow("lower dotless ı") << u"ılgaz"_s << u"I"_s;
        QTest::newRow("lower dotted i") << u"incir"_s << u"İ"_s;
        QTest::newRow("â") << u"âşık"_s << u"A"_s;
        QTest::newRow("Â") << u"Âşık"_s << u"A"_s;
        QTest::newRow("î") << u"îman"_s << u"İ"_s;
        QTest::newRow("Û") << u"Ûmran"_s << u"U"_s;
        QTest::newRow("ü stays") << u"üzüm"_s << u"Ü"_s;
        QTest::newRow("leading blanks") << u"  elma"_s << u"E"_s;
        QTest::newRow("no-break space, tab") << u"\u00A0\tşeker"_s << u"Ş"_s;
        QTest::newRow("digit") << u"1 Mayıs"_s << u"1"_s;
        QTest::newRow("beyond the BMP") << u"\U0001D11E nota"_s << u"\U0001D11E"_s;
        QTest::newRow("blanks only") << u"   "_s << QString();
        QTest::newRow("empty") << QString() << QString();
    }

    void initials()
    {
        QFETCH(QString, title);
        QFETCH(QString, initial);
        QCOMPARE(titletree::initial(title), initial);
    }

    // Titles that no letter of basharfler begins: written by another tool, or with a
    // circumflex or a blank first.
    void everyTitleHasALetter()
    {
        ArchiveFixture f;
        f.makeSettings(f.makeArchive(u"a.qel"_s,
                                     {song(u"Zeytin"_s), song(u"Çiçek"_s), song(u"Ali"_s), song(u"Şeker"_s),
                                      song(u"Bal"_s), song(u"üzüm"_s), song(u"Âşık"_s), song(u" Elma"_s),
                                      song(u"Sarı"_s), song(u"1071"_s), song(u"   "_s)},
                                     {u"A"_s, u"B"_s, u"Q"_s, u"S"_s}));
        QVERIFY(f.start());
        Form1 *w = f.form();
        QCOMPARE(outline(w->tvw()),
                 u" Bilinmeyen[   ] A[Ali,Âşık] B[Bal] Ç[Çiçek] E[ Elma] Q[] S[Sarı] Ş[Şeker] Ü[üzüm] Z[Zeytin]"_s);
        // Digits only still cannot enter; it gets no folder of its own.
        QCOMPARE(f.boxTexts().size(), 2);
        for (const QString &t : {u"Âşık"_s, u" Elma"_s, u"üzüm"_s, u"   "_s}) {
            emit w->tvw()->nodeClick(w->tvw()->findTitle(t));
            QCOMPARE(title(w), t);
            QCOMPARE(w->tvw()->selectedNode(), w->tvw()->findTitle(t));
        }
    }

    void digitTitleReportedOncePerBuild()
    {
        ArchiveFixture f;
        f.makeSettings(f.makeArchive(u"a.qel"_s, {song(u"Ali"_s), song(u"1923"_s), song(u"12"_s)}, {u"A"_s, u"1"_s}));
        QVERIFY(f.form() == nullptr);
        QVERIFY(f.start());
        // Once for the load, once for the first activation's by-title view.
        const QString digits = u"Başlıklarda sadece rakamlardan oluşan kayıtlar var! Bu kayıtları silmelisiniz."_s;
        QCOMPARE(f.boxTexts(), QStringList({digits, digits}));
        // A folder's key may be digits only: the letter "1" stands, without its titles.
        QCOMPARE(outline(f.form()->tvw()), u"A[Ali] 1[]"_s);
    }

    void groupedViews_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("caption");
        QTest::newRow("derleyen") << u"grnm_derleyen"_s << u"Derleyen"_s << u"DERLEYENLER"_s;
        QTest::newRow("kaynak") << u"grnm_kaynak"_s << u"KaynakKişi"_s << u"KAYNAK KİŞİLER"_s;
        QTest::newRow("muzik") << u"grnm_muzik"_s << u"Müzik"_s << u"MÜZİK"_s;
        QTest::newRow("soz") << u"grnm_soz"_s << u"Söz"_s << u"SÖZ"_s;
        QTest::newRow("turu1") << u"grnm_turu1"_s << u"Türü"_s << u"TÜRÜ 1"_s;
        QTest::newRow("turu2") << u"grnm_turu2"_s << u"Türü2"_s << u"TÜRÜ 2"_s;
        QTest::newRow("yore") << u"grnm_yore"_s << u"Yöresi"_s << u"YÖRELER"_s;
    }

    void groupedViews()
    {
        QFETCH(QString, option);
        QFETCH(QString, field);
        QFETCH(QString, caption);
        ArchiveFixture f;
        const QString archive = f.makeArchive(
            u"a.qel"_s,
            {song(u"Yemen"_s, {{field, u"Şükrü"_s}}), song(u"Bülbül"_s, {{field, u""_s}}),
             song(u"Ali"_s, {{field, u"Hacı'nın"_s}}), song(u"Zeybek"_s), song(u"Ağıt"_s, {{field, u"şükrü"_s}}),
             song(u"Cemile"_s, {{field, u"Çelik"_s}}), song(u"Dere"_s, {{field, u"1950"_s}})},
            {u"A"_s, u"B"_s, u"C"_s, u"D"_s, u"Y"_s, u"Z"_s});
        f.makeSettings(archive);
        QVERIFY(f.start());
        Form1 *w = f.form();
        f.boxes.clear();
        g::raporsql = u"başka"_s;
        w->findChild<QRadioButton *>(option)->click();

        QCOMPARE(w->findChild<QGroupBox *>(u"Frame2"_s)->title(), caption);
        // Null and empty together, first; Turkish order; a group of digits stands like any
        // other; an apostrophe in a value is no harm. Values that differ only in case are
        // one group, spelled as in its first title when no spelling has more titles.
        QCOMPARE(outline(w->tvw()),
                 u" Bilinmeyen[Bülbül,Zeybek] 1950[Dere] Çelik[Cemile] Hacı'nın[Ali] şükrü[Ağıt,Yemen]"_s);
        QVERIFY(f.boxes.isEmpty());
        QCOMPARE(g::raporsql, u"başka"_s);
        // The empty text was turned into Null in the file.
        auto vt = db::Database::open(archive);
        auto rs = vt->openRecordset(u"SELECT * FROM Zelvoran WHERE Başlık = 'Bülbül'"_s);
        QVERIFY(rs->field(field).isNull());
        // First record shown, node 1 selected and closed, the first record's group closed.
        QCOMPARE(title(w), u"Yemen"_s);
        QCOMPARE(w->tvw()->selectedNode(), w->tvw()->nodeAt(1));
        QVERIFY(!w->tvw()->node(u"Şükrü0"_s)->isExpanded());
        QVERIFY(!w->tvw()->nodeAt(1)->isExpanded());
        QCOMPARE(w->hscroll1()->value(), 1);

        // Back to the by-title view.
        w->findChild<QRadioButton *>(u"grnm_bslk"_s)->click();
        QCOMPARE(w->findChild<QGroupBox *>(u"Frame2"_s)->title(), u"BAŞLIKLAR"_s);
        QCOMPARE(g::raporsql, u"zelvoran"_s);
        QCOMPARE(w->tvw()->nodeAt(1)->key(), u"A0"_s);
    }

    void everyTitleHasANode()
    {
        // A folder whose key reads like a title, a value that reads like the folder of the
        // records without one.
        ArchiveFixture f;
        f.makeSettings(f.makeArchive(
            u"a.qel"_s,
            {song(u"Türkü 10"_s, {{u"Derleyen"_s, u"X"_s}}), song(u"Ali"_s, {{u"Derleyen"_s, u"Türkü 1"_s}}),
             song(u"Bora"_s, {{u"Derleyen"_s, u" Bilinmeyen"_s}}), song(u"Cem"_s), song(u"Türkü 1"_s)},
            {u"A"_s, u"B"_s, u"C"_s, u"T"_s}));
        QVERIFY(f.start());
        Form1 *w = f.form();
        w->findChild<QRadioButton *>(u"grnm_derleyen"_s)->click();
        QCOMPARE(outline(w->tvw()), u" Bilinmeyen[Cem,Türkü 1,Bora] Türkü 1[Ali] X[Türkü 10]"_s);
        QVERIFY(f.boxes.isEmpty());
        for (const QString &t : {u"Türkü 10"_s, u"Ali"_s, u"Bora"_s, u"Türkü 1"_s}) {
            emit w->tvw()->nodeClick(w->tvw()->findTitle(t));
            QCOMPARE(title(w), t);
        }
    }

    void groupSpelledAsMostOfItsRecords()
    {
        ArchiveFixture f;
        f.makeSettings(f.makeArchive(
            u"a.qel"_s,
            {song(u"Ağıt"_s, {{u"Türü"_s, u"kırık hava"_s}}), song(u"Bülbül"_s, {{u"Türü"_s, u"Kırık Hava"_s}}),
             song(u"Cemile"_s, {{u"Türü"_s, u"Kırık Hava"_s}}), song(u"Dere"_s, {{u"Türü"_s, u"KIRIK HAVA"_s}})},
            {u"A"_s, u"B"_s, u"C"_s, u"D"_s}));
        QVERIFY(f.start());
        Form1 *w = f.form();
        w->findChild<QRadioButton *>(u"grnm_turu1"_s)->click();
        QCOMPARE(outline(w->tvw()), u"Kırık Hava[Ağıt,Bülbül,Cemile,Dere]"_s);
        QCOMPARE(w->tvw()->nodeAt(1)->key(), u"Kırık Hava0"_s);
    }

    void idiomsFollowEveryMove()
    {
        // Every move refills the idiom box, the lyrics of "Ayşe" holding none.
        ArchiveFixture f;
        f.makeSettings(f.makeArchive(u"a.qel"_s,
                                     {song(u"Ali"_s, {{u"Sözler"_s, u"bir gel al"_s}}),
                                      song(u"Zil"_s, {{u"Sözler"_s, u"bir yâr"_s}}), song(u"Ayşe"_s)},
                                     {u"A"_s}, {{u"al"_s, u"almak"_s}, {u"yâr"_s, u"sevgili"_s}}));
        QVERIFY(f.start());
        Form1 *w = f.form();
        auto *idioms = w->findChild<QPlainTextEdit *>(u"sozcuk"_s);
        QCOMPARE(idioms->toPlainText(), u"[al : almak]    "_s);
        w->hscroll1()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(title(w), u"Zil"_s);
        QCOMPARE(idioms->toPlainText(), u"[yâr : sevgili]    "_s);
        w->hscroll1()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(title(w), u"Ayşe"_s);
        QCOMPARE(idioms->toPlainText(), QString());

        // The dictionary is read again once another connection (the dictionary window's)
        // has changed it, and after a change through the window's own.
        db::Database::open(f.path(u"a.qel"_s))
            ->execute(u"INSERT INTO sozluk (Deyim, Acıklama) VALUES ('gel', 'gelmek')"_s);
        w->hscroll1()->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(title(w), u"Zil"_s);
        w->hscroll1()->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(idioms->toPlainText(), u"[al : almak]    [gel : gelmek]    "_s);
        w->data1()->database()->execute(u"DELETE FROM sozluk WHERE Deyim = 'al'"_s);
        w->hscroll1()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        w->hscroll1()->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(idioms->toPlainText(), u"[gel : gelmek]    "_s);
    }

    void anotherDatabaseShowsItsOwnTree()
    {
        ArchiveFixture f;
        const QString first = f.makeArchive(
            u"bir.qel"_s, {song(u"Ali"_s, {{u"Yöresi"_s, u"Sivas"_s}}), song(u"Bora"_s)}, {u"A"_s, u"B"_s});
        const QString second = f.makeArchive(
            u"iki.qel"_s,
            {song(u"Yemen"_s, {{u"Yöresi"_s, u"Kerkük"_s}, {u"Sözler"_s, u"gel al"_s}}), song(u"Zeytin"_s)},
            {u"Y"_s, u"Z"_s}, {{u"al"_s, u"almak"_s}});
        f.makeSettings(first);
        QVERIFY(f.start());
        Form1 *w = f.form();
        w->findChild<QRadioButton *>(u"grnm_yore"_s)->click();
        QCOMPARE(outline(w->tvw()), u" Bilinmeyen[Bora] Sivas[Ali]"_s);

        // In the view chosen last, on the first record, with its own dictionary.
        f.dialogAnswers = {second};
        emit w->stbar()->panelClick(1);
        QCOMPARE(w->findChild<QGroupBox *>(u"Frame2"_s)->title(), u"YÖRELER"_s);
        QCOMPARE(outline(w->tvw()), u" Bilinmeyen[Zeytin] Kerkük[Yemen]"_s);
        QCOMPARE(title(w), u"Yemen"_s);
        QCOMPARE(w->stbar()->panelText(2), u"Kayıt : 1 / 2"_s);
        QCOMPARE(w->findChild<QPlainTextEdit *>(u"sozcuk"_s)->toPlainText(), u"[al : almak]    "_s);
        w->hscroll1()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(title(w), u"Zeytin"_s);
        QCOMPARE(w->tvw()->selectedNode()->key(), u"Zeytin"_s);

        // Leaving search results for another database gives the scroll bar back.
        w->findChild<QAbstractButton *>(u"ara_b"_s)->setChecked(true);
        w->findChild<QLineEdit *>(u"ara"_s)->setText(u"Yemen"_s);
        w->findChild<MyButton *>(u"sbaslikara"_s)->click();
        QVERIFY(!w->hscroll1()->isEnabled());
        f.dialogAnswers = {first};
        emit w->stbar()->panelClick(1);
        QCOMPARE(outline(w->tvw()), u" Bilinmeyen[Bora] Sivas[Ali]"_s);
        QVERIFY(w->hscroll1()->isEnabled());
        QCOMPARE(g::agacmodu, u"tümü"_s);
        QVERIFY(f.boxes.isEmpty());
    }

    void readOnlyArchiveStillGroupsEmptyWithNull()
    {
        ArchiveFixture f;
        const QString archive = f.makeArchive(
            u"a.qel"_s,
            {song(u"Ali"_s, {{u"Derleyen"_s, u""_s}}), song(u"Bora"_s), song(u"Cem"_s, {{u"Derleyen"_s, u"X"_s}})},
            {u"A"_s, u"B"_s, u"C"_s});
        QFile::setPermissions(archive, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        f.makeSettings(archive);
        QVERIFY(f.start());
        f.form()->findChild<QRadioButton *>(u"grnm_derleyen"_s)->click();
        QCOMPARE(outline(f.form()->tvw()), u" Bilinmeyen[Ali,Bora] X[Cem]"_s);
    }

    void navigation()
    {
        ArchiveFixture f;
        f.makeSettings(f.makeArchive(
            u"a.qel"_s,
            {song(u"Ali"_s), song(u"Ayşe"_s), song(u"Türkü 10"_s), song(u"Ali'nin Yolu"_s), song(u"Bora"_s)},
            {u"A"_s, u"B"_s, u"T"_s}));
        QVERIFY(f.start());
        Form1 *w = f.form();
        TreeView *tv = w->tvw();

        // A step of the scroll bar: record, panel 2, the node selected.
        w->hscroll1()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(title(w), u"Ayşe"_s);
        QCOMPARE(w->stbar()->panelText(2), u"Kayıt : 2 / 5"_s);
        QCOMPARE(tv->selectedNode()->key(), u"Ayşe"_s);

        // Dragging shows the thumb's position only.
        emit w->hscroll1()->scroll(4);
        QCOMPARE(w->stbar()->panelText(2), u"Kayıt : 4 / 5"_s);
        QCOMPARE(title(w), u"Ayşe"_s);

        // A title node moves the record; folders and "Türkü 10" are told apart by kind.
        emit tv->nodeClick(tv->node(u"Türkü 10"_s));
        QCOMPARE(title(w), u"Türkü 10"_s);
        QCOMPARE(w->hscroll1()->value(), 3);
        emit tv->nodeClick(tv->node(u"A0"_s));
        QCOMPARE(title(w), u"Türkü 10"_s);
        emit tv->nodeClick(tv->node(u"Ali'nin Yolu"_s));
        QCOMPARE(title(w), u"Ali'nin Yolu"_s);
        QCOMPARE(w->stbar()->panelText(2), u"Kayıt : 4 / 5"_s);
        QVERIFY(f.boxes.isEmpty());
    }

    void refusedSaveIsReported()
    {
        ArchiveFixture f;
        f.makeSettings(
            f.makeArchive(u"a.qel"_s, {song(u"Ali"_s), song(u"Bora"_s), song(u"Cem"_s)}, {u"A"_s, u"B"_s, u"C"_s}));
        QVERIFY(f.start());
        Form1 *w = f.form();
        auto *box = w->findChild<QLineEdit *>(u"Text3"_s);

        // Tree click: reported; record, edit, selection and scroll bar stay.
        box->setText(u"BORA"_s);
        emit w->tvw()->nodeClick(w->tvw()->node(u"Cem"_s));
        QCOMPARE(f.boxTexts(), QStringList(u"[ BORA ] başlığı ile başka bir kayıt zaten var!"_s));
        QCOMPARE(box->text(), u"BORA"_s);
        QCOMPARE(w->data1()->recordset()->absolutePosition(), 0);
        QCOMPARE(w->hscroll1()->value(), 1);
        QCOMPARE(w->tvw()->selectedNode()->key(), u"Ali"_s);

        // Scroll step: reported; the title box takes the node's text back.
        f.boxes.clear();
        w->hscroll1()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(f.boxTexts(), QStringList(u"[ BORA ] başlığı ile başka bir kayıt zaten var!"_s));
        QCOMPARE(box->text(), u"Ali"_s);
        QCOMPARE(w->hscroll1()->value(), 1);
        // Now the record can be left.
        w->hscroll1()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(box->text(), u"Bora"_s);
    }

    void idioms_data()
    {
        QTest::addColumn<QString>("lyrics");
        QTest::addColumn<QString>("expected");
        const QString al = u"[al : almak]    "_s;
        QTest::newRow("start of lyrics only") << u"al beni"_s << QString();
        QTest::newRow("after a blank, inside a word") << u"gel almadan"_s << al;
        QTest::newRow("line start, blank after") << u"gel\nal beni"_s << al;
        QTest::newRow("alone on a line") << u"gel\nal\nbeni"_s << QString();
        QTest::newRow("at the end") << u"gel al"_s << al;
        QTest::newRow("two, in order") << u"bir yâr iki ılgıt al"_s
                                       << al + u"[ılgıt : yavaş : ]    "_s + u"[yâr : ]    "_s;
        QTest::newRow("Turkish capitals") << u"gel ILGIT İLE"_s << u"[ılgıt : yavaş : ]    "_s;
        QTest::newRow("nothing") << u"hiçbiri"_s << QString();
    }

    void idioms()
    {
        QFETCH(QString, lyrics);
        QFETCH(QString, expected);
        ArchiveFixture f;
        f.makeSettings(f.makeArchive(
            u"a.qel"_s, {song(u"Ali"_s, {{u"Sözler"_s, lyrics}})}, {u"A"_s},
            {{u"al"_s, u"almak"_s}, {u"yâr"_s, QVariant()}, {u"ılgıt"_s, u"yavaş : "_s}, {u""_s, u"boş"_s}}));
        QVERIFY(f.start());
        // The first activation's move filled the box; fill it again for the shown record.
        f.form()->dinamikbul();
        QCOMPARE(f.form()->findChild<QPlainTextEdit *>(u"sozcuk"_s)->toPlainText(), expected);
    }

    void rangeFollowsRecordCount()
    {
        ArchiveFixture f;
        f.makeSettings(f.makeArchive(u"a.qel"_s, {song(u"Ali"_s), song(u"Bora"_s)}, {u"A"_s, u"B"_s}));
        QVERIFY(f.start());
        Form1 *w = f.form();
        QCOMPARE(w->hscroll1()->maximum(), 2);
        g::vt->execute(u"INSERT INTO Zelvoran (Başlık) VALUES ('Cem')"_s);
        w->data1()->refresh();
        QCOMPARE(w->hscroll1()->maximum(), 3);
        w->hscroll1()->setValueChecked(3);
        QCOMPARE(title(w), u"Cem"_s);
    }
};

QTEST_MAIN(TestTree)
#include "tst_tree.moc"
