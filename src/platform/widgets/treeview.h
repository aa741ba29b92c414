#pragma once

#include "imagelist.h"
#include "treenode.h"

#include <QHash>
#include <QIcon>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

// The title tree: a QTreeWidget with keyed nodes in the order they were added (never
// sorted). One key space for the whole tree, keys compared with turkish::fold; an empty
// key is no key. Failures throw db::Error: 35600 index out of range, 35601 no such node,
// 35602 key taken, 35603 key made only of digits.
class TreeView : public QWidget {
    Q_OBJECT
public:
    explicit TreeView(QWidget *parent = nullptr);
    ~TreeView() override;

    QTreeWidget *treeWidget() const { return m_tree; }

    void clear();
    // Pictures of the nodes come from here; an image is a key (text) or a 1-based index.
    void setImageList(ImageList *list);
    ImageList *imageList() const { return m_imageList; }

    // Adds at the top level (empty parentKey) or as the last child of parentKey's node.
    // The selected image shows while the node is selected. Nothing changes on failure.
    TreeNode *add(const QString &parentKey, const QString &key, const QString &text, const QVariant &image,
                  const QVariant &selectedImage = {}, NodeKind kind = NodeKind::Title);
    void remove(const QString &key);  // the node and all below it; 35601

    TreeNode *node(const QString &key) const;  // 35601
    TreeNode *nodeAt(int index) const;         // 1 = first added; 35600
    TreeNode *find(const QString &key) const;  // nullptr when absent
    TreeNode *selectedNode() const;
    int count() const { return int(m_nodes.size()); }
    void refresh();

    // For TreeNode.
    TreeNode *nodeFor(const QTreeWidgetItem *item) const;
    int indexOf(const TreeNode *node) const;
    void rekey(TreeNode *node, const QString &key);
    void select(TreeNode *node);

signals:
    // The user clicked a node or moved the selection with the keyboard.
    void nodeClick(TreeNode *node);
    // A mouse button went down over the tree; pos in the tree widget's viewport.
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint &pos);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void checkKey(const QString &key, const TreeNode *self) const;
    void checkImage(const QVariant &image) const;
    void updateIcon(TreeNode *node);
    void selectionChanged();
    void userMoved(QTreeWidgetItem *item);
    void forget(TreeNode *node);

    QTreeWidget *m_tree;
    QPointer<ImageList> m_imageList;
    std::vector<std::unique_ptr<TreeNode>> m_nodes;
    QHash<QString, TreeNode *> m_keys;
    QHash<QString, QIcon> m_icons;  // one icon per image of the list, made on first use
    QHash<const QTreeWidgetItem *, TreeNode *> m_items;
    TreeNode *m_iconSelected = nullptr;
};
