#pragma once

#include <QString>
#include <QTreeWidgetItem>
#include <QVariant>

class TreeView;

// What a node stands for; kept in the node, never read from its key.
enum class NodeKind { Title, Folder, Root, SearchWord };

// One node of a TreeView. It is the tree widget's item itself and keeps its text and
// picture itself (the widget asks for them when it paints), so a node costs little to
// make and to drop. The view owns it: a node lives until it is removed or the tree is
// cleared, and pointers to it are void after that.
class TreeNode : private QTreeWidgetItem {
public:
    static constexpr int ItemType = QTreeWidgetItem::UserType + 1;

    TreeNode(const TreeNode &) = delete;
    TreeNode &operator=(const TreeNode &) = delete;

    QString key() const { return m_key; }
    // Same rules as TreeView::add: 35602 for a key another node of its space carries,
    // 35603 for a title of digits only; nothing changes then. An empty key leaves the node without key.
    void setKey(const QString &key);
    QString text() const;
    void setText(const QString &text);
    QVariant tag() const { return m_tag; }
    void setTag(const QVariant &tag) { m_tag = tag; }
    NodeKind kind() const { return m_kind; }

    QVariant image() const { return m_image; }
    QVariant selectedImage() const { return m_selectedImage; }

    TreeNode *parent() const;
    TreeNode *nextSibling() const;
    TreeNode *previousSibling() const;
    TreeNode *child(int i) const; // 0-based; nullptr out of range
    int childCount() const;
    // 1-based place in the tree's collection (the order of adding).
    int index() const;

    bool isExpanded() const;
    void setExpanded(bool expanded);
    bool isSelected() const;
    // Makes it the tree's selected node, expands its ancestors, scrolls to it.
    // Raises no nodeClick.
    void setSelected();

    TreeView *treeView() const { return m_view; }
    QTreeWidgetItem *item() const { return const_cast<TreeNode *>(this); }

    // The text of column 0 is the node's own, also when set through the item.
    QVariant data(int column, int role) const override;
    void setData(int column, int role, const QVariant &value) override;

private:
    friend class TreeView;
    TreeNode(TreeView *view, const QString &key, const QString &text, NodeKind kind, const QVariant &image,
             const QVariant &selectedImage);
    void pictureChanged() { emitDataChanged(); }

    TreeView *m_view;
    QString m_text;
    QString m_key;
    QVariant m_tag;
    NodeKind m_kind;
    QVariant m_image;
    QVariant m_selectedImage;
};
