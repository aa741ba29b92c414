#include "treenode.h"

#include "treeview.h"

#include <QTreeWidget>

TreeNode::TreeNode(TreeView *view, QTreeWidgetItem *item, const QString &key, NodeKind kind,
                   const QVariant &image, const QVariant &selectedImage)
    : m_view(view)
    , m_item(item)
    , m_key(key)
    , m_kind(kind)
    , m_image(image)
    , m_selectedImage(selectedImage)
{
}

void TreeNode::setKey(const QString &key)
{
    m_view->rekey(this, key);
}

QString TreeNode::text() const
{
    return m_item->text(0);
}

void TreeNode::setText(const QString &text)
{
    m_item->setText(0, text);
}

TreeNode *TreeNode::parent() const
{
    return m_view->nodeFor(m_item->parent());
}

TreeNode *TreeNode::nextSibling() const
{
    QTreeWidgetItem *p = m_item->parent();
    if (p)
        return m_view->nodeFor(p->child(p->indexOfChild(m_item) + 1));
    QTreeWidget *tw = m_view->treeWidget();
    return m_view->nodeFor(tw->topLevelItem(tw->indexOfTopLevelItem(m_item) + 1));
}

TreeNode *TreeNode::previousSibling() const
{
    QTreeWidgetItem *p = m_item->parent();
    if (p) {
        const int i = p->indexOfChild(m_item);
        return i > 0 ? m_view->nodeFor(p->child(i - 1)) : nullptr;
    }
    QTreeWidget *tw = m_view->treeWidget();
    const int i = tw->indexOfTopLevelItem(m_item);
    return i > 0 ? m_view->nodeFor(tw->topLevelItem(i - 1)) : nullptr;
}

TreeNode *TreeNode::child(int i) const
{
    return m_view->nodeFor(m_item->child(i));
}

int TreeNode::childCount() const
{
    return m_item->childCount();
}

int TreeNode::index() const
{
    return m_view->indexOf(this);
}

bool TreeNode::isExpanded() const
{
    return m_item->isExpanded();
}

void TreeNode::setExpanded(bool expanded)
{
    m_item->setExpanded(expanded);
}

bool TreeNode::isSelected() const
{
    return m_item->isSelected();
}

void TreeNode::setSelected()
{
    m_view->select(this);
}
