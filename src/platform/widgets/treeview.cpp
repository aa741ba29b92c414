#include "treeview.h"

#include "imagelist.h"
#include "turkish.h"
#include "widgeterrors.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

bool digitsOnly(const QString &key)
{
    return std::all_of(key.cbegin(), key.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// Tells its owner when a key press moved the selection to another node.
class NodeTree final : public QTreeWidget {
public:
    NodeTree(QWidget *parent, std::function<void(QTreeWidgetItem *)> moved)
        : QTreeWidget(parent)
        , m_moved(std::move(moved))
    {
    }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        QTreeWidgetItem *before = currentItem();
        const bool wasSelected = before && before->isSelected();
        QTreeWidget::keyPressEvent(event);
        QTreeWidgetItem *after = currentItem();
        if (after && after->isSelected() && (after != before || !wasSelected))
            m_moved(after);
    }

private:
    std::function<void(QTreeWidgetItem *)> m_moved;
};

} // namespace

TreeView::TreeView(QWidget *parent)
    : QWidget(parent)
{
    m_tree = new NodeTree(this, [this](QTreeWidgetItem *item) { userMoved(item); });
    m_tree->setColumnCount(1);
    m_tree->header()->hide();
    m_tree->setSortingEnabled(false);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setRootIsDecorated(true);
    m_tree->setUniformRowHeights(true);
    m_tree->setIconSize(QSize(16, 16));
    m_tree->setExpandsOnDoubleClick(true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tree);
    setFocusProxy(m_tree);
    setFocusPolicy(m_tree->focusPolicy());

    m_tree->viewport()->installEventFilter(this);
    connect(m_tree, &QTreeWidget::itemSelectionChanged, this, &TreeView::selectionChanged);
    connect(m_tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) {
        if (item && item->isSelected())
            userMoved(item);
    });
}

TreeView::~TreeView()
{
    // The items go with the tree widget; the nodes must not be reached from its signals.
    m_tree->blockSignals(true);
    m_tree->viewport()->removeEventFilter(this);
    qDeleteAll(m_pending);
    // The nodes ask this view for their pictures: they go while it is whole.
    delete m_tree;
}

TreeView::Batch::Batch(TreeView &view)
    : m_view(view)
{
    ++m_view.m_batches;
}

TreeView::Batch::~Batch()
{
    if (--m_view.m_batches == 0)
        m_view.flush();
}

void TreeView::flush()
{
    if (m_pending.isEmpty())
        return;
    const QList<QTreeWidgetItem *> items = std::exchange(m_pending, {});
    m_tree->addTopLevelItems(items);
}

void TreeView::clear()
{
    m_lastParent = nullptr;
    // A tree is mostly rebuilt with as many nodes as it had.
    for (KeyMap *keys : {&m_titleKeys, &m_folderKeys}) {
        const qsizetype n = keys->size();
        keys->clear();
        keys->reserve(n);
    }
    m_iconSelected = nullptr;
    m_nodes.clear();
    qDeleteAll(std::exchange(m_pending, {}));
    m_tree->clear();
}

void TreeView::reserve(qsizetype nodes, NodeKind kind)
{
    KeyMap &keys = keysOf(kind);
    keys.reserve(keys.size() + nodes);
    m_nodes.reserve(m_nodes.size() + size_t(nodes));
}

void TreeView::setImageList(ImageList *list)
{
    m_imageList = list;
    m_iconRevision = -1;
    m_tree->viewport()->update(); // the nodes give their pictures when painted
}

void TreeView::checkKey(const Key &key, NodeKind kind, const TreeNode *self) const
{
    if (key.text.isEmpty())
        return;
    if (kind == NodeKind::Title && digitsOnly(key.text))
        throw widgeterrors::make(widgeterrors::InvalidKey);
    const TreeNode *other = keysOf(kind).value(key);
    if (other && other != self)
        throw widgeterrors::make(widgeterrors::KeyNotUnique);
}

void TreeView::checkImage(const QVariant &image) const
{
    if (!image.isValid() || image.isNull())
        return;
    if (image.metaType() == QMetaType::fromType<int>() && m_imageList) {
        const int index = *static_cast<const int *>(image.constData());
        if (index >= 1 && index <= m_imageList->count())
            return;
    }
    if (image.typeId() == QMetaType::QString && image.toString().isEmpty())
        return;
    if (!m_imageList)
        throw widgeterrors::make(widgeterrors::ElementNotFound);
    m_imageList->resolve(image); // throws for an unknown key or index
}

TreeNode *TreeView::add(const QString &parentKey, const QString &key, const QString &text, const QVariant &image,
                        const QVariant &selectedImage, NodeKind kind)
{
    TreeNode *parentNode = nullptr;
    if (!parentKey.isEmpty()) {
        if (!m_lastParent || parentKey != m_lastParentKey) {
            m_lastParent = findFolder(parentKey);
            if (!m_lastParent)
                m_lastParent = node(parentKey);
            m_lastParentKey = parentKey;
        }
        parentNode = m_lastParent;
    }
    const Key k(key);
    checkKey(k, kind, nullptr);
    checkImage(image);
    checkImage(selectedImage);

    auto *n = new TreeNode(this, key, text, kind, image, selectedImage);
    m_nodes.push_back(n);
    if (!key.isEmpty())
        keysOf(kind).insert(k, n);
    if (parentNode)
        parentNode->item()->addChild(n->item());
    else if (m_batches > 0)
        m_pending.append(n->item());
    else
        m_tree->addTopLevelItem(n->item());
    return n;
}

void TreeView::forget(TreeNode *node, QSet<const TreeNode *> &gone)
{
    for (int i = 0; i < node->childCount(); ++i) {
        if (TreeNode *c = node->child(i))
            forget(c, gone);
    }
    gone.insert(node);
    if (!node->key().isEmpty())
        keysOf(node->kind()).remove(Key(node->key()));
    if (m_iconSelected == node)
        m_iconSelected = nullptr;
}

void TreeView::remove(const QString &key)
{
    TreeNode *n = node(key);
    m_lastParent = nullptr;
    flush();
    QSet<const TreeNode *> gone;
    forget(n, gone);
    m_nodes.erase(std::remove_if(m_nodes.begin(), m_nodes.end(), [&gone](TreeNode *p) { return gone.contains(p); }),
                  m_nodes.end());
    delete n->item(); // its children with it; the tree may select another item now
}

TreeNode *TreeView::find(const QString &key) const
{
    if (key.isEmpty())
        return nullptr;
    const Key k(key);
    if (TreeNode *title = m_titleKeys.value(k))
        return title;
    return m_folderKeys.value(k);
}

TreeNode *TreeView::findTitle(const QString &key) const
{
    return key.isEmpty() ? nullptr : m_titleKeys.value(Key(key));
}

TreeNode *TreeView::findFolder(const QString &key) const
{
    return key.isEmpty() ? nullptr : m_folderKeys.value(Key(key));
}

TreeNode *TreeView::node(const QString &key) const
{
    TreeNode *n = find(key);
    if (!n)
        throw widgeterrors::make(widgeterrors::ElementNotFound);
    return n;
}

TreeNode *TreeView::nodeAt(int index) const
{
    if (index < 1 || index > count())
        throw widgeterrors::make(widgeterrors::IndexOutOfBounds);
    return m_nodes[size_t(index - 1)];
}

TreeNode *TreeView::selectedNode() const
{
    const QList<QTreeWidgetItem *> items = m_tree->selectedItems();
    return items.isEmpty() ? nullptr : nodeFor(items.first());
}

void TreeView::clearSelection()
{
    flush();
    m_tree->setCurrentItem(nullptr);
    m_tree->clearSelection();
}

void TreeView::refresh()
{
    flush();
    m_tree->viewport()->update();
}

TreeNode *TreeView::nodeFor(const QTreeWidgetItem *item) const
{
    if (!item || item->type() != TreeNode::ItemType)
        return nullptr;
    return static_cast<TreeNode *>(const_cast<QTreeWidgetItem *>(item));
}

int TreeView::indexOf(const TreeNode *node) const
{
    const auto it = std::find(m_nodes.cbegin(), m_nodes.cend(), node);
    return it == m_nodes.cend() ? 0 : int(it - m_nodes.cbegin()) + 1;
}

void TreeView::rekey(TreeNode *node, const QString &key)
{
    const Key k(key);
    checkKey(k, node->kind(), node);
    m_lastParent = nullptr;
    KeyMap &keys = keysOf(node->kind());
    if (!node->m_key.isEmpty())
        keys.remove(Key(node->m_key));
    node->m_key = key;
    if (!key.isEmpty())
        keys.insert(k, node);
}

void TreeView::select(TreeNode *node)
{
    flush();
    for (QTreeWidgetItem *p = node->item()->parent(); p; p = p->parent())
        p->setExpanded(true);
    m_tree->setCurrentItem(node->item());
    node->item()->setSelected(true);
    m_tree->scrollToItem(node->item());
}

QIcon TreeView::iconFor(const TreeNode *node) const
{
    QVariant ref = node->image();
    if (node->isSelected() && node->selectedImage().isValid() && !node->selectedImage().isNull())
        ref = node->selectedImage();
    int index = 0;
    if (m_imageList) {
        try {
            index = m_imageList->resolve(ref);
        } catch (const db::Error &) {
            // The list was changed after the node was added: no picture.
        }
    }
    const int revision = m_imageList ? m_imageList->revision() : -1;
    if (revision != m_iconRevision || size_t(index) >= m_icons.size()) {
        const size_t n = m_imageList ? size_t(m_imageList->count()) + 1 : 1;
        m_icons.assign(n, std::nullopt);
        m_iconRevision = revision;
    }
    std::optional<QIcon> &icon = m_icons[size_t(index)];
    if (!icon) {
        const QPixmap pm = index > 0 ? m_imageList->pixmap(index) : QPixmap();
        icon = pm.isNull() ? QIcon() : QIcon(pm);
    }
    return *icon;
}

void TreeView::selectionChanged()
{
    TreeNode *now = selectedNode();
    if (now == m_iconSelected)
        return;
    TreeNode *before = m_iconSelected;
    m_iconSelected = now;
    if (before)
        before->pictureChanged();
    if (now)
        now->pictureChanged();
}

void TreeView::userMoved(QTreeWidgetItem *item)
{
    if (TreeNode *n = nodeFor(item))
        emit nodeClick(n);
}

bool TreeView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_tree->viewport() && event->type() == QEvent::MouseButtonPress) {
        auto *me = static_cast<QMouseEvent *>(event);
        emit mouseDown(me->button(), me->modifiers(), me->position().toPoint());
    }
    return QWidget::eventFilter(watched, event);
}
