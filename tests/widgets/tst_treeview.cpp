#include "dberror.h"
#include "imagelist.h"
#include "treeview.h"
#include "turkish.h"

#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

QPixmap solid(const QColor &c)
{
    QPixmap pm(16, 16);
    pm.fill(c);
    return pm;
}

int errorOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const db::Error &e) {
        return e.number();
    }
    return 0;
}

} // namespace

class TestTreeView : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void keyRules_data();
    void keyRules();
    void missingNodes();
    void titlesAndFoldersHaveKeySpacesOfTheirOwn();
    void nodesByIndexKeepAddingOrder();
    void kindIsStoredNotDerived();
    void removeTakesChildrenAndFreesKeys();
    void siblings();
    void selectionFromCodeRaisesNothing();
    void userClickAndKeysRaiseNodeClick();
    void selectedImageWhileSelected();
    void batchShowsNodesTogether();
    void widgetShowsTheNodesText();

private:
    // A letter folder A0 with Ali and Ayşe, a folder V0 with Veli.
    void fill();

    std::unique_ptr<TreeView> m_tree;
    std::unique_ptr<ImageList> m_images;
};

void TestTreeView::init()
{
    m_images = std::make_unique<ImageList>();
    m_images->add(solid(Qt::red), u"FOLDER"_s);
    m_images->add(solid(Qt::green), u"openfolder"_s);
    m_images->add(solid(Qt::blue));
    m_tree = std::make_unique<TreeView>();
    m_tree->resize(300, 400);
    m_tree->setImageList(m_images.get());
}

void TestTreeView::cleanup()
{
    m_tree.reset();
    m_images.reset();
}

void TestTreeView::fill()
{
    m_tree->add({}, u"A0"_s, u"A"_s, u"FOLDER"_s, u"openfolder"_s, NodeKind::Folder);
    m_tree->add(u"A0"_s, u"Ali"_s, u"Ali"_s, 3);
    m_tree->add(u"A0"_s, u"Ayşe"_s, u"Ayşe"_s, 3);
    m_tree->add({}, u"V0"_s, u"V"_s, u"FOLDER"_s, u"openfolder"_s, NodeKind::Folder);
    m_tree->add(u"V0"_s, u"Veli"_s, u"Veli"_s, 3);
}

void TestTreeView::keyRules_data()
{
    QTest::addColumn<bool>("rename"); // false: add a node; true: rename Ali's node
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("error");

    QTest::newRow("add: same key") << false << u"Veli"_s << 35602;
    QTest::newRow("add: Turkish upper case of Ali") << false << u"ALİ"_s << 35602;
    QTest::newRow("add: Turkish lower case of Veli") << false << u"velİ"_s << 35602;
    QTest::newRow("add: dotless ALI is another key") << false << u"ALI"_s << 0;
    QTest::newRow("add: a folder's key, another space") << false << u"a0"_s << 0;
    QTest::newRow("add: digits only") << false << u"1923"_s << 35603;
    QTest::newRow("add: single zero") << false << u"0"_s << 35603;
    QTest::newRow("add: title ending in a digit") << false << u"Türkü 10"_s << 0;
    QTest::newRow("add: no key") << false << QString() << 0;
    QTest::newRow("rename: to another's key") << true << u"VELİ"_s << 35602;
    QTest::newRow("rename: digits only") << true << u"42"_s << 35603;
    QTest::newRow("rename: own key in other case") << true << u"ALİ"_s << 0;
    QTest::newRow("rename: new key") << true << u"Alim"_s << 0;
}

void TestTreeView::keyRules()
{
    QFETCH(bool, rename);
    QFETCH(QString, key);
    QFETCH(int, error);
    fill();
    TreeNode *ali = m_tree->node(u"Ali"_s);

    const int got = errorOf([&] {
        if (rename)
            ali->setKey(key);
        else
            m_tree->add(u"A0"_s, key, u"yeni"_s, 3);
    });
    QCOMPARE(got, error);

    if (error != 0) {
        // Nothing changed.
        QCOMPARE(m_tree->count(), 5);
        QCOMPARE(ali->key(), u"Ali"_s);
        QCOMPARE(m_tree->find(u"ali"_s), ali);
        QCOMPARE(m_tree->node(u"A0"_s)->childCount(), 2);
        return;
    }
    if (rename) {
        QCOMPARE(ali->key(), key);
        QCOMPARE(m_tree->find(key), ali);
        if (turkish::fold(key) != turkish::fold(u"Ali"_s))
            QVERIFY(!m_tree->find(u"Ali"_s));
    } else {
        QCOMPARE(m_tree->count(), 6);
        if (!key.isEmpty())
            QCOMPARE(m_tree->find(key)->text(), u"yeni"_s);
    }
}

void TestTreeView::missingNodes()
{
    fill();
    QCOMPARE(errorOf([&] { m_tree->node(u"Yok"_s); }), 35601);
    QVERIFY(!m_tree->find(u"Yok"_s));
    QCOMPARE(errorOf([&] { m_tree->remove(u"Yok"_s); }), 35601);
    QCOMPARE(errorOf([&] { m_tree->add(u"Yok0"_s, u"Yeni"_s, u"Yeni"_s, 3); }), 35601);
    QCOMPARE(errorOf([&] { m_tree->add({}, u"Yeni"_s, u"Yeni"_s, u"yokresim"_s); }), 35601);
    QCOMPARE(errorOf([&] { m_tree->add({}, u"Yeni"_s, u"Yeni"_s, 9); }), 35600);
    QCOMPARE(m_tree->count(), 5);
    QVERIFY(!m_tree->find(u"Yeni"_s));

    // A node without key is in the tree but cannot be found by key.
    TreeNode *keyless = m_tree->add({}, QString(), u"anahtarsız"_s, {});
    QCOMPARE(m_tree->nodeAt(6), keyless);
    QVERIFY(!m_tree->find(QString()));
    QCOMPARE(errorOf([&] { m_tree->node(QString()); }), 35601);
}

void TestTreeView::titlesAndFoldersHaveKeySpacesOfTheirOwn()
{
    fill();
    // A title that reads like a folder's key, a folder of digits, a taken folder key.
    TreeNode *a0 = m_tree->add(u"V0"_s, u"a0"_s, u"a0"_s, 3, {}, NodeKind::Title);
    TreeNode *year = m_tree->add({}, u"19500"_s, u"1950"_s, u"FOLDER"_s, {}, NodeKind::Folder);
    QCOMPARE(errorOf([&] { m_tree->add({}, u"v0"_s, u"v"_s, u"FOLDER"_s, {}, NodeKind::Folder); }), 35602);
    QCOMPARE(errorOf([&] { m_tree->add({}, u"aranan"_s, u"x"_s, u"FOLDER"_s, {}, NodeKind::SearchWord); }), 0);
    QCOMPARE(errorOf([&] { m_tree->add({}, u"ARANAN"_s, u"x"_s, u"FOLDER"_s, {}, NodeKind::Root); }), 35602);

    QCOMPARE(m_tree->findTitle(u"A0"_s), a0);
    QCOMPARE(m_tree->findFolder(u"A0"_s), m_tree->nodeAt(1));
    QCOMPARE(m_tree->find(u"A0"_s), a0); // a title before a folder
    QVERIFY(!m_tree->findTitle(u"19500"_s));
    QCOMPARE(m_tree->find(u"19500"_s), year);

    // Children go under the folder, never under the title of the same key.
    TreeNode *child = m_tree->add(u"A0"_s, u"Aslı"_s, u"Aslı"_s, 3);
    QCOMPARE(child->parent(), m_tree->findFolder(u"A0"_s));

    // A title may be renamed to a folder's key, not to another title's.
    TreeNode *ali = m_tree->node(u"Ali"_s);
    QCOMPARE(errorOf([&] { ali->setKey(u"V0"_s); }), 0);
    QCOMPARE(errorOf([&] { ali->setKey(u"aslı"_s); }), 35602);
    QCOMPARE(errorOf([&] { year->setKey(u"a0"_s); }), 35602);

    // Removing a title frees its key only in its own space.
    m_tree->remove(u"V0"_s);
    QVERIFY(!m_tree->findTitle(u"V0"_s));
    QVERIFY(m_tree->findFolder(u"V0"_s));
}

void TestTreeView::nodesByIndexKeepAddingOrder()
{
    // Added out of alphabetical order: no sorting anywhere.
    m_tree->add({}, u"Z0"_s, u"Z"_s, u"FOLDER"_s);
    m_tree->add({}, u"B0"_s, u"B"_s, u"FOLDER"_s);
    m_tree->add(u"Z0"_s, u"Zeynep"_s, u"Zeynep"_s, 3);
    m_tree->add(u"Z0"_s, u"Çiçek"_s, u"Çiçek"_s, 3);

    QCOMPARE(m_tree->nodeAt(1)->key(), u"Z0"_s);
    QCOMPARE(m_tree->nodeAt(3)->key(), u"Zeynep"_s);
    QCOMPARE(m_tree->nodeAt(4)->index(), 4);
    QCOMPARE(m_tree->treeWidget()->topLevelItem(0)->text(0), u"Z"_s);
    QCOMPARE(m_tree->node(u"Z0"_s)->child(1)->text(), u"Çiçek"_s);
    QCOMPARE(errorOf([&] { m_tree->nodeAt(0); }), 35600);
    QCOMPARE(errorOf([&] { m_tree->nodeAt(5); }), 35600);

    m_tree->clear();
    QCOMPARE(m_tree->count(), 0);
    QCOMPARE(errorOf([&] { m_tree->nodeAt(1); }), 35600);
    QVERIFY(!m_tree->find(u"Z0"_s));
}

void TestTreeView::kindIsStoredNotDerived()
{
    fill();
    TreeNode *title = m_tree->add(u"V0"_s, u"Türkü 10"_s, u"Türkü 10"_s, 3, {}, NodeKind::Title);
    title->setTag(u"Türkü 10"_s);
    QCOMPARE(title->kind(), NodeKind::Title);
    QCOMPARE(m_tree->node(u"A0"_s)->kind(), NodeKind::Folder);
    QCOMPARE(m_tree->node(u"türkü 10"_s)->tag().toString(), u"Türkü 10"_s);

    // Renaming a title keeps what it is.
    title->setText(u"Yeşil"_s);
    title->setTag(u"Yeşil"_s);
    title->setKey(u"Yeşil"_s);
    QCOMPARE(m_tree->node(u"YEŞİL"_s)->kind(), NodeKind::Title);
    QCOMPARE(m_tree->node(u"Yeşil"_s)->text(), u"Yeşil"_s);
    QVERIFY(!m_tree->find(u"Türkü 10"_s));
}

void TestTreeView::removeTakesChildrenAndFreesKeys()
{
    fill();
    m_tree->node(u"Ayşe"_s)->setSelected();
    m_tree->remove(u"A0"_s);

    QCOMPARE(m_tree->count(), 2);
    QVERIFY(!m_tree->find(u"Ali"_s));
    QVERIFY(!m_tree->find(u"Ayşe"_s));
    QCOMPARE(m_tree->nodeAt(1)->key(), u"V0"_s);
    QCOMPARE(m_tree->treeWidget()->topLevelItemCount(), 1);
    // Whatever the tree selects now is a live node.
    if (TreeNode *s = m_tree->selectedNode())
        QCOMPARE(m_tree->find(s->key()), s);

    // The keys are free again.
    m_tree->add({}, u"Ali"_s, u"Ali"_s, 3);
    QCOMPARE(m_tree->count(), 3);

    // Removing a single title.
    m_tree->remove(u"veli"_s);
    QCOMPARE(m_tree->node(u"V0"_s)->childCount(), 0);
    QCOMPARE(m_tree->count(), 2);
}

void TestTreeView::siblings()
{
    fill();
    TreeNode *ali = m_tree->node(u"Ali"_s);
    TreeNode *ayse = m_tree->node(u"Ayşe"_s);
    QCOMPARE(ali->nextSibling(), ayse);
    QCOMPARE(ayse->previousSibling(), ali);
    QVERIFY(!ayse->nextSibling()); // the last title of its letter
    QVERIFY(!ali->previousSibling());
    QCOMPARE(ali->parent()->key(), u"A0"_s);
    QVERIFY(!m_tree->node(u"A0"_s)->parent());
    QCOMPARE(m_tree->node(u"A0"_s)->nextSibling()->key(), u"V0"_s);
    QVERIFY(!m_tree->node(u"V0"_s)->nextSibling());
}

void TestTreeView::selectionFromCodeRaisesNothing()
{
    fill();
    m_tree->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_tree.get()));
    QSignalSpy clicks(m_tree.get(), &TreeView::nodeClick);
    QVERIFY(!m_tree->selectedNode());

    TreeNode *veli = m_tree->node(u"Veli"_s);
    QVERIFY(!veli->parent()->isExpanded());
    veli->setSelected();
    QCOMPARE(m_tree->selectedNode(), veli);
    QVERIFY(veli->isSelected());
    QVERIFY(veli->parent()->isExpanded());

    // The scroll hop: next sibling, then back.
    TreeNode *ali = m_tree->node(u"Ali"_s);
    ali->nextSibling()->setSelected();
    ali->nextSibling()->previousSibling()->setSelected();
    QCOMPARE(m_tree->selectedNode(), ali);
    QVERIFY(!veli->isSelected());

    m_tree->node(u"A0"_s)->setExpanded(false);
    QVERIFY(!m_tree->node(u"A0"_s)->isExpanded());
    QCOMPARE(clicks.count(), 0);
}

void TestTreeView::userClickAndKeysRaiseNodeClick()
{
    fill();
    m_tree->node(u"A0"_s)->setExpanded(true);
    m_tree->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_tree.get()));
    QTreeWidget *tw = m_tree->treeWidget();

    QList<TreeNode *> clicked;
    QList<TreeNode *> selectedAtClick;
    connect(m_tree.get(), &TreeView::nodeClick, this, [&](TreeNode *n) {
        clicked << n;
        selectedAtClick << m_tree->selectedNode();
    });
    QSignalSpy downs(m_tree.get(), &TreeView::mouseDown);

    TreeNode *ayse = m_tree->node(u"Ayşe"_s);
    QTest::mouseClick(tw->viewport(), Qt::LeftButton, {}, tw->visualItemRect(ayse->item()).center());
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(clicked.at(0), ayse);
    QCOMPARE(selectedAtClick.at(0), ayse); // the handler reads the clicked node as the selected one
    QCOMPARE(downs.count(), 1);

    // Moving down with the keyboard reaches the next folder.
    QTest::keyClick(tw, Qt::Key_Down);
    QCOMPARE(clicked.size(), 2);
    QCOMPARE(clicked.at(1)->key(), u"V0"_s);

    // A key that moves nothing raises nothing; then selecting from code raises nothing.
    QTest::keyClick(tw, Qt::Key_Shift);
    m_tree->node(u"Ali"_s)->setSelected();
    QCOMPARE(clicked.size(), 2);
}

void TestTreeView::selectedImageWhileSelected()
{
    fill();
    auto iconImage = [](TreeNode *n) { return n->item()->icon(0).pixmap(16, 16).toImage().pixelColor(8, 8); };
    TreeNode *folder = m_tree->node(u"A0"_s);
    TreeNode *title = m_tree->node(u"Ali"_s);
    QCOMPARE(iconImage(folder), QColor(Qt::red));
    QCOMPARE(iconImage(title), QColor(Qt::blue));

    folder->setSelected();
    QCOMPARE(iconImage(folder), QColor(Qt::green));
    // Without a selected image the image stays.
    title->setSelected();
    QCOMPARE(iconImage(title), QColor(Qt::blue));
    QCOMPARE(iconImage(folder), QColor(Qt::red));
}

void TestTreeView::batchShowsNodesTogether()
{
    QTreeWidget *tw = m_tree->treeWidget();
    {
        TreeView::Batch batch(*m_tree);
        fill();
        // Held back from the widget, yet every query on the nodes answers.
        QCOMPARE(tw->topLevelItemCount(), 0);
        QCOMPARE(m_tree->count(), 5);
        QCOMPARE(m_tree->node(u"Veli"_s)->parent(), m_tree->node(u"V0"_s));
        QCOMPARE(errorOf([&] { m_tree->add(u"A0"_s, u"ali"_s, u"x"_s, 3); }), 35602);

        // Selecting shows what is there; later nodes wait for the end of the batch.
        m_tree->node(u"Veli"_s)->setSelected();
        QCOMPARE(tw->topLevelItemCount(), 2);
        QCOMPARE(m_tree->selectedNode(), m_tree->node(u"Veli"_s));
        m_tree->add({}, u"Z0"_s, u"Z"_s, u"FOLDER"_s, u"openfolder"_s, NodeKind::Folder);
        m_tree->add(u"Z0"_s, u"Zeynep"_s, u"Zeynep"_s, 3);
        QCOMPARE(tw->topLevelItemCount(), 2);
        QCOMPARE(m_tree->node(u"Z0"_s)->nextSibling(), nullptr); // walking siblings shows them
        QCOMPARE(tw->topLevelItemCount(), 3);
        m_tree->add({}, u"B0"_s, u"B"_s, u"FOLDER"_s);
    }
    QCOMPARE(tw->topLevelItemCount(), 4);
    QCOMPARE(tw->topLevelItem(3)->text(0), u"B"_s);
    QCOMPARE(m_tree->nodeAt(8)->key(), u"B0"_s);

    // Cleared inside a batch: the held nodes go too, and the tree can be built again.
    {
        TreeView::Batch batch(*m_tree);
        m_tree->clear();
        m_tree->add({}, u"A0"_s, u"A"_s, u"FOLDER"_s);
        m_tree->clear();
        fill();
    }
    QCOMPARE(tw->topLevelItemCount(), 2);
    QCOMPARE(m_tree->count(), 5);
    QCOMPARE(m_tree->node(u"A0"_s)->childCount(), 2);
}

void TestTreeView::widgetShowsTheNodesText()
{
    fill();
    QTreeWidget *tw = m_tree->treeWidget();
    const QModelIndex ali = tw->model()->index(0, 0, tw->model()->index(0, 0));
    QCOMPARE(ali.data().toString(), u"Ali"_s);
    QSignalSpy changed(tw->model(), &QAbstractItemModel::dataChanged);
    m_tree->node(u"Ali"_s)->setText(u"Ali'nin Türküsü"_s);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(ali.data().toString(), u"Ali'nin Türküsü"_s);
    QCOMPARE(tw->topLevelItem(0)->child(0)->text(0), u"Ali'nin Türküsü"_s);
    QCOMPARE(m_tree->node(u"Ali"_s)->key(), u"Ali"_s); // the key is not the text
    // Text set through the item is the node's text.
    tw->topLevelItem(0)->child(0)->setText(0, u"Ali Bey"_s);
    QCOMPARE(m_tree->node(u"Ali"_s)->text(), u"Ali Bey"_s);
    QCOMPARE(ali.data().toString(), u"Ali Bey"_s);
}

QTEST_MAIN(TestTreeView)
#include "tst_treeview.moc"
