#pragma once

#include "imagelist.h"
#include "treenode.h"
#include "turkish.h"

#include <QHash>
#include <QIcon>
#include <QPointer>
#include <QSet>
#include <QWidget>
#include <optional>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

// The title tree: a QTreeWidget with keyed nodes in the order they were added (never
// sorted). Keys are compared with turkish::fold; an empty key is no key. Titles have one
// key space and folders (every other kind) another, so that a title never hides a folder
// or the other way round; only a title's key may not be made of digits alone. Failures
// throw db::Error: 35600 index out of range, 35601 no such node, 35602 key taken in its
// space, 35603 a title's key made only of digits.
class TreeView : public QWidget {
    Q_OBJECT
public:
    // While one lives, top-level nodes are built apart from the widget and shown together
    // when it ends (or when a node is selected, expanded or walked by its siblings), so
    // that a whole tree reaches the view in one insertion.
    class Batch {
    public:
        explicit Batch(TreeView &view);
        ~Batch();
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

    private:
        TreeView &m_view;
    };

    explicit TreeView(QWidget *parent = nullptr);
    ~TreeView() override;

    QTreeWidget *treeWidget() const { return m_tree; }

    void clear();
    // Room for that many more nodes of the kind, for a build that knows its size.
    void reserve(qsizetype nodes, NodeKind kind = NodeKind::Title);
    // Pictures of the nodes come from here; an image is a key (text) or a 1-based index.
    void setImageList(ImageList *list);
    ImageList *imageList() const { return m_imageList; }

    // Adds at the top level (empty parentKey) or as the last child of parentKey's node, a
    // folder's before a title's. The selected image shows while the node is selected.
    // Nothing changes on failure.
    TreeNode *add(const QString &parentKey, const QString &key, const QString &text, const QVariant &image,
                  const QVariant &selectedImage = {}, NodeKind kind = NodeKind::Title);
    void remove(const QString &key); // the node and all below it; 35601

    TreeNode *node(const QString &key) const; // as find; 35601
    TreeNode *nodeAt(int index) const;        // 1 = first added; 35600
    // The title with that key, else the folder; nullptr when absent.
    TreeNode *find(const QString &key) const;
    TreeNode *findTitle(const QString &key) const;
    TreeNode *findFolder(const QString &key) const;
    TreeNode *selectedNode() const;
    void clearSelection(); // no node selected
    int count() const { return int(m_nodes.size()); }
    void refresh();

    // For TreeNode.
    TreeNode *nodeFor(const QTreeWidgetItem *item) const;
    int indexOf(const TreeNode *node) const;
    void rekey(TreeNode *node, const QString &key);
    void select(TreeNode *node);
    void flush();                              // shows the nodes a batch holds back
    QIcon iconFor(const TreeNode *node) const; // its image, or its selected image while selected

signals:
    // The user clicked a node or moved the selection with the keyboard.
    void nodeClick(TreeNode *node);
    // A mouse button went down over the tree; pos in the tree widget's viewport.
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint &pos);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // A key compared and hashed by its Turkish fold, without making the folded text;
    // the hash is taken once, for the lookup and the insertion that follows it.
    struct Key {
        explicit Key(const QString &t)
            : text(t)
            , hash(turkish::foldedHash(t))
        {
        }
        QString text;
        size_t hash;
        friend bool operator==(const Key &a, const Key &b)
        {
            return a.hash == b.hash && turkish::equalFolded(a.text, b.text);
        }
        friend size_t qHash(const Key &k, size_t seed = 0) { return k.hash ^ seed; }
    };

    using KeyMap = QHash<Key, TreeNode *>;
    KeyMap &keysOf(NodeKind kind) { return kind == NodeKind::Title ? m_titleKeys : m_folderKeys; }
    const KeyMap &keysOf(NodeKind kind) const { return kind == NodeKind::Title ? m_titleKeys : m_folderKeys; }
    // 35603 for a title of digits only, 35602 for a key another node than self carries
    // in the same space.
    void checkKey(const Key &key, NodeKind kind, const TreeNode *self) const;
    void checkImage(const QVariant &image) const;

    void selectionChanged();
    void userMoved(QTreeWidgetItem *item);
    void forget(TreeNode *node, QSet<const TreeNode *> &gone);

    QTreeWidget *m_tree;
    QPointer<ImageList> m_imageList;
    std::vector<TreeNode *> m_nodes; // in the order of adding; the items own them
    KeyMap m_titleKeys;
    KeyMap m_folderKeys;
    // One icon per picture of the list, made on first use; index 0 is no picture.
    mutable std::vector<std::optional<QIcon>> m_icons;
    mutable int m_iconRevision = -1;
    TreeNode *m_iconSelected = nullptr;
    // The parent of the last add, for the runs of children that a build adds.
    QString m_lastParentKey;
    TreeNode *m_lastParent = nullptr;
    int m_batches = 0;
    QList<QTreeWidgetItem *> m_pending; // top-level items not yet in the widget
};
