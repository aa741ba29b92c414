#include "treenode.h"

#include "treeview.h"

#include <QTreeWidget>

TreeNode::TreeNode(TreeView *view, const QString &key, const QString &text, NodeKind kind, const QVariant &image,
                   const QVariant &selectedImage)
    : QTreeWidgetItem(ItemType)
    , m_view(view)
    , m_text(text)
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
    return m_text;
}

void TreeNode::setText(const QString &text)
{
    setData(0, Qt::DisplayRole, text);
}

void TreeNode::setData(int column, int role, const QVariant &value)
{
    if (column == 0 && (role == Qt::DisplayRole || role == Qt::EditRole)) {
        m_text = value.toString();
        emitDataChanged();
        return;
    }
    QTreeWidgetItem::setData(column, role, value);
}

QVariant TreeNode::data(int column, int role) const
{
    if (column == 0) {
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            return m_text;
        if (role == Qt::DecorationRole)
            return m_view->iconFor(this);
    }
    return QTreeWidgetItem::data(column, role);
}

TreeNode *TreeNode::parent() const
{
    return m_view->nodeFor(QTreeWidgetItem::parent());
}

TreeNode *TreeNode::nextSibling() const
{
    m_view->flush();
    if (const QTreeWidgetItem *p = QTreeWidgetItem::parent())
        return m_view->nodeFor(p->child(p->indexOfChild(item()) + 1));
    QTreeWidget *tw = m_view->treeWidget();
    return m_view->nodeFor(tw->topLevelItem(tw->indexOfTopLevelItem(item()) + 1));
}

TreeNode *TreeNode::previousSibling() const
{
    m_view->flush();
    if (const QTreeWidgetItem *p = QTreeWidgetItem::parent()) {
        const int i = p->indexOfChild(item());
        return i > 0 ? m_view->nodeFor(p->child(i - 1)) : nullptr;
    }
    QTreeWidget *tw = m_view->treeWidget();
    const int i = tw->indexOfTopLevelItem(item());
    return i > 0 ? m_view->nodeFor(tw->topLevelItem(i - 1)) : nullptr;
}

TreeNode *TreeNode::child(int i) const
{
    return m_view->nodeFor(QTreeWidgetItem::child(i));
}

int TreeNode::childCount() const
{
    return QTreeWidgetItem::childCount();
}

int TreeNode::index() const
{
    return m_view->indexOf(this);
}

bool TreeNode::isExpanded() const
{
    m_view->flush();
    return QTreeWidgetItem::isExpanded();
}

void TreeNode::setExpanded(bool expanded)
{
    m_view->flush();
    QTreeWidgetItem::setExpanded(expanded);
}

bool TreeNode::isSelected() const
{
    return QTreeWidgetItem::isSelected();
}

void TreeNode::setSelected()
{
    m_view->select(this);
}
