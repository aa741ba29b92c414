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
    m_items.clear();
}

void TreeView::clear()
{
    m_items.clear();
    m_keys.clear();
    m_iconSelected = nullptr;
    m_tree->clear();
    m_nodes.clear();
}

void TreeView::setImageList(ImageList *list)
{
    m_imageList = list;
    m_icons.clear();
    for (const auto &n : m_nodes)
        updateIcon(n.get());
}

void TreeView::checkKey(const QString &key, const TreeNode *self) const
{
    if (key.isEmpty())
        return;
    if (digitsOnly(key))
        throw widgeterrors::make(widgeterrors::InvalidKey);
    const TreeNode *other = m_keys.value(turkish::fold(key));
    if (other && other != self)
        throw widgeterrors::make(widgeterrors::KeyNotUnique);
}

void TreeView::checkImage(const QVariant &image) const
{
    if (!image.isValid() || image.isNull())
        return;
    if (image.typeId() == QMetaType::QString && image.toString().isEmpty())
        return;
    if (!m_imageList)
        throw widgeterrors::make(widgeterrors::ElementNotFound);
    m_imageList->pixmap(image);  // throws for an unknown key or index
}

TreeNode *TreeView::add(const QString &parentKey, const QString &key, const QString &text, const QVariant &image,
                        const QVariant &selectedImage, NodeKind kind)
{
    TreeNode *parentNode = parentKey.isEmpty() ? nullptr : node(parentKey);
    checkKey(key, nullptr);
    checkImage(image);
    checkImage(selectedImage);

    auto *item = new QTreeWidgetItem(QStringList{text});
    std::unique_ptr<TreeNode> n(new TreeNode(this, item, key, kind, image, selectedImage));
    TreeNode *raw = n.get();
    m_nodes.push_back(std::move(n));
    m_items.insert(item, raw);
    if (!key.isEmpty())
        m_keys.insert(turkish::fold(key), raw);
    if (parentNode)
        parentNode->item()->addChild(item);
    else
        m_tree->addTopLevelItem(item);
    updateIcon(raw);
    return raw;
}

void TreeView::forget(TreeNode *node)
{
    for (int i = 0; i < node->item()->childCount(); ++i) {
        if (TreeNode *c = nodeFor(node->item()->child(i)))
            forget(c);
    }
    m_items.remove(node->item());
    if (!node->key().isEmpty())
        m_keys.remove(turkish::fold(node->key()));
    if (m_iconSelected == node)
        m_iconSelected = nullptr;
}

void TreeView::remove(const QString &key)
{
    TreeNode *n = node(key);
    forget(n);
    delete n->item();  // its children with it; the tree may select another item now
    m_nodes.erase(std::remove_if(m_nodes.begin(), m_nodes.end(),
                                 [this](const std::unique_ptr<TreeNode> &p) { return !m_items.contains(p->item()); }),
                  m_nodes.end());
}

TreeNode *TreeView::find(const QString &key) const
{
    if (key.isEmpty())
        return nullptr;
    return m_keys.value(turkish::fold(key));
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
    return m_nodes[size_t(index - 1)].get();
}

TreeNode *TreeView::selectedNode() const
{
    const QList<QTreeWidgetItem *> items = m_tree->selectedItems();
    return items.isEmpty() ? nullptr : nodeFor(items.first());
}

void TreeView::refresh()
{
    m_tree->viewport()->update();
}

TreeNode *TreeView::nodeFor(const QTreeWidgetItem *item) const
{
    return item ? m_items.value(item) : nullptr;
}

int TreeView::indexOf(const TreeNode *node) const
{
    const auto it = std::find_if(m_nodes.cbegin(), m_nodes.cend(),
                                 [node](const std::unique_ptr<TreeNode> &p) { return p.get() == node; });
    return it == m_nodes.cend() ? 0 : int(it - m_nodes.cbegin()) + 1;
}

void TreeView::rekey(TreeNode *node, const QString &key)
{
    checkKey(key, node);
    if (!node->m_key.isEmpty())
        m_keys.remove(turkish::fold(node->m_key));
    node->m_key = key;
    if (!key.isEmpty())
        m_keys.insert(turkish::fold(key), node);
}

void TreeView::select(TreeNode *node)
{
    for (QTreeWidgetItem *p = node->item()->parent(); p; p = p->parent())
        p->setExpanded(true);
    m_tree->setCurrentItem(node->item());
    node->item()->setSelected(true);
    m_tree->scrollToItem(node->item());
}

void TreeView::updateIcon(TreeNode *node)
{
    QVariant ref = node->image();
    if (node->isSelected() && node->selectedImage().isValid() && !node->selectedImage().isNull())
        ref = node->selectedImage();
    // The list's size is part of the key, so pictures added to it later are seen.
    const QString cacheKey = QString::number(m_imageList ? m_imageList->count() : 0)
                             + (ref.typeId() == QMetaType::QString ? u":k:"_s : u":i:"_s) + ref.toString();
    auto cached = m_icons.constFind(cacheKey);
    if (cached == m_icons.constEnd()) {
        QPixmap pm;
        if (m_imageList) {
            try {
                pm = m_imageList->pixmap(ref);
            } catch (const db::Error &) {
                // The list was changed after the node was added: no picture.
            }
        }
        cached = m_icons.insert(cacheKey, pm.isNull() ? QIcon() : QIcon(pm));
    }
    node->item()->setIcon(0, *cached);
}

void TreeView::selectionChanged()
{
    TreeNode *now = selectedNode();
    if (now == m_iconSelected)
        return;
    TreeNode *before = m_iconSelected;
    m_iconSelected = now;
    if (before)
        updateIcon(before);
    if (now)
        updateIcon(now);
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
