// The title tree's builds on a bare tree view over an archive file, without the window.
#include "archivefixture.h"

#include "database.h"
#include "imagelist.h"
#include "recordset.h"
#include "titletree.h"
#include "treeview.h"

#include <QFile>
#include <QPixmap>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

using Values = QList<std::pair<QString, QVariant>>; // title, value of the grouped field (invalid: Null)

// A tree view with the window's four pictures and a TitleTree on it.
struct BareTree {
    BareTree()
    {
        for (const QString &key : {u"FOLDER"_s, u"openfolder"_s, QString(), u"ev"_s}) {
            QPixmap pm(16, 16);
            pm.fill(Qt::yellow);
            images.add(pm, key);
        }
    }
    ImageList images;
    TreeView view;
    titletree::TitleTree tree{view, &images};
};

// "A[Ali,Ayva] B[]": the top nodes in the order added, each with its children.
QString outline(const TreeView &tv)
{
    QStringList parts;
    for (int i = 1; i <= tv.count(); ++i) {
        TreeNode *n = tv.nodeAt(i);
        if (n->parent())
            continue;
        QStringList children;
        for (int c = 0; c < n->childCount(); ++c)
            children << n->child(c)->text();
        parts << n->text() + u"["_s + children.join(u',') + u"]"_s;
    }
    return parts.join(u' ');
}

// Every node against the tree's rules: a folder at the top, keyed by its text and "0",
// with the folder pictures; a title under a folder, its key, text and tag the title, with
// the note picture; nothing selected. Returns what breaks them.
QStringList ruleBreaks(const TreeView &tv)
{
    QStringList out;
    for (int i = 1; i <= tv.count(); ++i) {
        TreeNode *n = tv.nodeAt(i);
        const QString where = n->text() + u": "_s;
        if (n->kind() == NodeKind::Folder) {
            if (n->parent())
                out << where + u"folder not at the top"_s;
            if (n->key() != n->text() + u"0"_s)
                out << where + u"folder key "_s + n->key();
            if (n->image() != QVariant(u"FOLDER"_s) || n->selectedImage() != QVariant(u"openfolder"_s))
                out << where + u"folder pictures"_s;
            if (tv.findFolder(n->key()) != n)
                out << where + u"folder not found by its key"_s;
        } else if (n->kind() == NodeKind::Title) {
            if (!n->parent() || n->parent()->kind() != NodeKind::Folder)
                out << where + u"title outside a folder"_s;
            if (n->key() != n->text() || n->tag() != QVariant(n->text()))
                out << where + u"title key "_s + n->key() + u", tag "_s + n->tag().toString();
            if (n->image() != QVariant(3) || n->selectedImage().isValid())
                out << where + u"title pictures"_s;
            if (tv.findTitle(n->key()) != n)
                out << where + u"title not found by its key"_s;
        } else {
            out << where + u"a node of another kind"_s;
        }
    }
    if (tv.selectedNode())
        out << u"selected: "_s + tv.selectedNode()->text();
    return out;
}

QList<Song> titled(const QStringList &titles)
{
    QList<Song> songs;
    for (const QString &t : titles)
        songs << Song{t, {}};
    return songs;
}

const titletree::GroupedView *const kViews[] = {&titletree::kDerleyen, &titletree::kKaynak, &titletree::kMuzik,
                                                &titletree::kSoz,      &titletree::kTuru1,  &titletree::kTuru2,
                                                &titletree::kYore};

} // namespace

class TestTitleTree : public QObject {
    Q_OBJECT
private slots:
    void byLetter_data()
    {
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QStringList>("letters");
        QTest::addColumn<QString>("outline");
        QTest::addColumn<bool>("digits");
        QTest::newRow("Turkish letters, titles in Turkish order")
            << QStringList{u"Çanakkale"_s, u"ayva"_s, u"Ali'nin Türküsü"_s, u"İzmir"_s, u"ılgaz"_s, u"Cezayir"_s}
            << QStringList{u"A"_s, u"C"_s, u"Ç"_s, u"I"_s, u"İ"_s, u"Q"_s}
            << u"A[Ali'nin Türküsü,ayva] C[Cezayir] Ç[Çanakkale] I[ılgaz] İ[İzmir] Q[]"_s << false;
        QTest::newRow("letters as delivered, not sorted")
            << QStringList{u"Ali"_s, u"Tuna"_s, u"Bal"_s} << QStringList{u"T"_s, u"B"_s, u"A"_s}
            << u"T[Tuna] B[Bal] A[Ali]"_s << false;
        QTest::newRow("other initials merged in among the letters")
            << QStringList{u"Zeytin"_s, u"Çiçek"_s, u"Ali"_s,   u"Şeker"_s, u"Bal"_s,
                           u"üzüm"_s,   u"Âşık"_s,  u" Elma"_s, u"Sarı"_s,  u"   "_s}
            << QStringList{u"A"_s, u"B"_s, u"Q"_s, u"S"_s}
            << u" Bilinmeyen[   ] A[Ali,Âşık] B[Bal] Ç[Çiçek] E[ Elma] Q[] S[Sarı] Ş[Şeker] Ü[üzüm] Z[Zeytin]"_s
            << false;
        QTest::newRow("the first matching letter takes the title")
            << QStringList{u"Ali"_s, u"alp"_s, u"Ayva"_s} << QStringList{u"Al"_s, u"A"_s} << u"Al[Ali,alp] A[Ayva]"_s
            << false;
        QTest::newRow("a shorter letter first leaves the longer empty")
            << QStringList{u"Ali"_s, u"Ayva"_s} << QStringList{u"A"_s, u"Al"_s} << u"A[Ali,Ayva] Al[]"_s << false;
        QTest::newRow("a letter twice in any case is one folder, an empty letter none")
            << QStringList{u"Ali"_s, u"Bal"_s} << QStringList{u"A"_s, QString(), u"a"_s, u"B"_s} << u"A[Ali] B[Bal]"_s
            << false;
        QTest::newRow("digits only: no title node, no folder of its own")
            << QStringList{u"Ali"_s, u"1923"_s, u"12"_s} << QStringList{u"A"_s} << u"A[Ali]"_s << true;
        QTest::newRow("digits only under a letter of digits, which stands")
            << QStringList{u"Ali"_s, u"1923"_s} << QStringList{u"A"_s, u"1"_s} << u"A[Ali] 1[]"_s << true;
        QTest::newRow("digits among other characters are a title")
            << QStringList{u"1 Mayıs"_s, u"Türkü 10"_s} << QStringList{u"T"_s} << u"1[1 Mayıs] T[Türkü 10]"_s << false;
        // A title's key and a folder's key live apart: the title "A0" beside the folder "A0".
        QTest::newRow("a title reading like a folder's key")
            << QStringList{u"A0"_s, u"B"_s} << QStringList{u"A"_s, u"B"_s} << u"A[A0] B[B]"_s << false;
        QTest::newRow("no songs") << QStringList() << QStringList{u"A"_s} << u"A[]"_s << false;
        QTest::newRow("nothing at all") << QStringList() << QStringList() << QString() << false;
    }

    void byLetter()
    {
        QFETCH(QStringList, titles);
        QFETCH(QStringList, letters);
        QFETCH(QString, outline);
        QFETCH(bool, digits);
        ArchiveFixture f;
        auto vt = db::Database::open(f.makeArchive(u"a.qel"_s, titled(titles), letters));
        BareTree t;
        const titletree::BuildReport report = t.tree.byLetter(*vt);
        QCOMPARE(::outline(t.view), outline);
        QCOMPARE(ruleBreaks(t.view), QStringList());
        QCOMPARE(report.digitKeys, digits);
        QVERIFY(!report.failure);
        QCOMPARE(t.view.imageList(), &t.images);
        // Every title but those of digits only has exactly one node.
        for (const QString &title : std::as_const(titles)) {
            const bool refused = std::all_of(title.cbegin(), title.cend(), [](QChar c) { return c.isDigit(); });
            QCOMPARE(t.view.findTitle(title) != nullptr, !refused);
        }
    }

    void grouped_data()
    {
        QTest::addColumn<int>("view");
        for (int i = 0; i < int(std::size(kViews)); ++i)
            QTest::newRow(qPrintable(kViews[i]->field)) << i;
    }

    // Each of the seven views groups by its own field and by no other.
    void grouped()
    {
        QFETCH(int, view);
        const titletree::GroupedView &v = *kViews[view];
        const QString other = v.field == u"Derleyen"_s ? u"Yöresi"_s : u"Derleyen"_s;
        ArchiveFixture f;
        const QString archive = f.makeArchive(
            u"a.qel"_s,
            {Song{u"Yemen"_s, {{v.field, u"Şükrü"_s}, {other, u"X"_s}}}, Song{u"Bülbül"_s, {{v.field, u""_s}}},
             Song{u"Ali"_s, {{v.field, u"Hacı'nın"_s}}}, Song{u"Zeybek"_s, {{other, u"Y"_s}}},
             Song{u"Ağıt"_s, {{v.field, u"şükrü"_s}}}, Song{u"Cemile"_s, {{v.field, u"Çelik"_s}}},
             Song{u"Dere"_s, {{v.field, u"1950"_s}}}},
            {u"A"_s, u"B"_s});
        auto vt = db::Database::open(archive);
        BareTree t;
        QVERIFY(!t.tree.byLetter(*vt).failure);

        // Empty texts join the Nulls even before they are written as Null.
        const QString expected =
            u" Bilinmeyen[Bülbül,Zeybek] 1950[Dere] Çelik[Cemile] Hacı'nın[Ali] şükrü[Ağıt,Yemen]"_s;
        titletree::BuildReport report = t.tree.grouped(*vt, v);
        QCOMPARE(outline(t.view), expected);
        QCOMPARE(ruleBreaks(t.view), QStringList());
        QVERIFY(!report.digitKeys && !report.failure);
        QVERIFY(!t.view.findFolder(u"A0"_s)); // the former view's nodes are gone

        titletree::nullEmptyTexts(*vt, v);
        auto rs = vt->openRecordset(u"SELECT * FROM Zelvoran WHERE Başlık = 'Bülbül'"_s);
        QVERIFY(rs->field(v.field).isNull());
        rs.reset();
        report = t.tree.grouped(*vt, v);
        QCOMPARE(outline(t.view), expected);
        QVERIFY(!report.digitKeys && !report.failure);
    }

    void groupKeys_data()
    {
        QTest::addColumn<Values>("values");
        QTest::addColumn<QString>("outline");
        const QVariant null;
        QTest::newRow("a value reading like the folder of the Nulls shares it")
            << Values{{u"Bora"_s, u" Bilinmeyen"_s}, {u"Cem"_s, null}, {u"Ali"_s, u"X"_s}}
            << u" Bilinmeyen[Cem,Bora] X[Ali]"_s;
        QTest::newRow("a value reading like a title stands beside it")
            << Values{{u"Türkü 1"_s, null}, {u"Ali"_s, u"Türkü 1"_s}} << u" Bilinmeyen[Türkü 1] Türkü 1[Ali]"_s;
        QTest::newRow("spelled as most of its titles") << Values{{u"Ağıt"_s, u"kırık hava"_s},
                                                                 {u"Bülbül"_s, u"Kırık Hava"_s},
                                                                 {u"Cemile"_s, u"Kırık Hava"_s},
                                                                 {u"Dere"_s, u"KIRIK HAVA"_s}}
                                                       << u"Kırık Hava[Ağıt,Bülbül,Cemile,Dere]"_s;
        QTest::newRow("on a tie, as its first title")
            << Values{{u"Zil"_s, u"Ilgaz"_s}, {u"Ayşe"_s, u"ılgaz"_s}} << u"ılgaz[Ayşe,Zil]"_s;
        QTest::newRow("a value of digits only is a folder")
            << Values{{u"Ali"_s, u"0"_s}, {u"Bora"_s, u"12"_s}} << u"0[Ali] 12[Bora]"_s;
        QTest::newRow("no songs") << Values{} << QString();
    }

    void groupKeys()
    {
        QFETCH(Values, values);
        QFETCH(QString, outline);
        QList<Song> songs;
        for (const auto &[title, value] : std::as_const(values))
            songs << Song{title, value.isValid() ? QVariantMap{{u"Türü"_s, value}} : QVariantMap{}};
        ArchiveFixture f;
        auto vt = db::Database::open(f.makeArchive(u"a.qel"_s, songs));
        BareTree t;
        const titletree::BuildReport report = t.tree.grouped(*vt, titletree::kTuru1);
        QCOMPARE(::outline(t.view), outline);
        QCOMPARE(ruleBreaks(t.view), QStringList());
        QVERIFY(!report.digitKeys && !report.failure);
        for (const auto &[title, value] : std::as_const(values))
            QVERIFY2(t.view.findTitle(title), qPrintable(title));
    }

    // A file that cannot be written keeps its empty texts; they still file with the Nulls.
    void readOnlyFileKeepsItsEmptyTexts()
    {
        ArchiveFixture f;
        const QString archive = f.makeArchive(u"a.qel"_s, {Song{u"Ali"_s, {{u"Söz"_s, u""_s}}}, Song{u"Bora"_s, {}},
                                                           Song{u"Cem"_s, {{u"Söz"_s, u"X"_s}}}});
        QFile::setPermissions(archive, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        auto vt = db::Database::open(archive);
        titletree::nullEmptyTexts(*vt, titletree::kSoz);
        QVERIFY(!vt->openRecordset(u"SELECT * FROM Zelvoran WHERE Söz = ''"_s)->eof());
        BareTree t;
        const titletree::BuildReport report = t.tree.grouped(*vt, titletree::kSoz);
        QCOMPARE(outline(t.view), u" Bilinmeyen[Ali,Bora] X[Cem]"_s);
        QVERIFY(!report.failure);
    }

    // What stops a build is told, by its own description, after the digits message.
    void failuresAreReported_data()
    {
        QTest::addColumn<QString>("drop");
        QTest::addColumn<bool>("letters");
        QTest::newRow("by letter, no letters") << u"basharfler"_s << true;
        QTest::newRow("by letter, no songs table") << u"Zelvoran"_s << true;
        QTest::newRow("grouped, no songs table") << u"Zelvoran"_s << false;
    }

    void failuresAreReported()
    {
        QFETCH(QString, drop);
        QFETCH(bool, letters);
        ArchiveFixture f;
        const QString archive = f.makeArchive(u"a.qel"_s, titled({u"Ali"_s, u"1923"_s}), {u"A"_s});
        auto vt = db::Database::open(archive);
        BareTree t;
        QVERIFY(t.tree.byLetter(*vt).digitKeys);
        vt->executeNative(u"DROP TABLE "_s + drop);
        const titletree::BuildReport report = letters ? t.tree.byLetter(*vt) : t.tree.grouped(*vt, titletree::kYore);
        QVERIFY(report.failure);
        QVERIFY(!report.failure->description().isEmpty());

        titletree::BuildReport both = report;
        both.digitKeys = true;
        const QList<msg::Request> boxes = titletree::messages(both);
        QCOMPARE(boxes.size(), 2);
        QCOMPARE(boxes[0].text, titletree::kDigitsMessage);
        QCOMPARE(boxes[0].icon, msg::Icon::Critical);
        QCOMPARE(boxes[1].text, report.failure->description());
        QCOMPARE(boxes[1].icon, msg::Icon::None);
        QVERIFY(titletree::messages({}).isEmpty());
    }

    void collapse_data()
    {
        QTest::addColumn<QString>("selected"); // key of the node selected before; empty: none
        QTest::addColumn<bool>("empty");
        QTest::addColumn<bool>("bOpen"); // the folder "B" afterwards
        QTest::newRow("empty tree") << QString() << true << false;
        QTest::newRow("nothing selected") << QString() << false << true;
        QTest::newRow("a folder selected") << u"B0"_s << false << true;
        QTest::newRow("a title selected") << u"Bora"_s << false << false;
        QTest::newRow("a title of the first folder") << u"Ali"_s << false << true;
    }

    // The selected node's folder closes, then node 1 is selected and closed.
    void collapse()
    {
        QFETCH(QString, selected);
        QFETCH(bool, empty);
        QFETCH(bool, bOpen);
        ArchiveFixture f;
        auto vt = db::Database::open(f.makeArchive(u"a.qel"_s, empty ? QList<Song>() : titled({u"Ali"_s, u"Bora"_s}),
                                                   empty ? QStringList() : QStringList{u"A"_s, u"B"_s}));
        BareTree t;
        t.tree.byLetter(*vt);
        t.view.show();
        if (!empty) {
            t.view.node(u"A0"_s)->setExpanded(true);
            t.view.node(u"B0"_s)->setExpanded(true);
        }
        if (!selected.isEmpty())
            t.view.node(selected)->setSelected();
        t.tree.collapse();
        if (empty) {
            QCOMPARE(t.view.count(), 0);
            QVERIFY(!t.view.selectedNode());
            return;
        }
        QCOMPARE(t.view.selectedNode(), t.view.nodeAt(1));
        QVERIFY(!t.view.nodeAt(1)->isExpanded());
        QCOMPARE(t.view.node(u"B0"_s)->isExpanded(), bOpen);
    }
};

QTEST_MAIN(TestTitleTree)
#include "tst_titletree.moc"
