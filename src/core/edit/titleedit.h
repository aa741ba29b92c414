#pragma once

#include "recordset.h"

#include <QString>
#include <optional>

class QKeyEvent;
class TreeNode;
class TreeView;

// Title rules and the title tree's part in editing a record: the shown record's title
// node follows the title box while it is typed, and a delete removes that node alone.
namespace titleedit {

// Why a title cannot be stored (empty or blank, an apostrophe, digits only); empty when it can.
QString titleProblem(const QString &title);

QString apostropheMessage();
QString takenMessage(const QString &title);
QString deleteQuestion(const QString &title);

// The key types an apostrophe, whatever the keyboard layout (Shift+2 on a Turkish one).
bool typesApostrophe(const QKeyEvent &e);
// Keys whose release leaves the tree as it is.
bool ignoredOnRelease(int key);

enum class Follow {
    Unchanged, // nothing to do, or a text the tree cannot take as a title's key
    Renamed,   // the node carries the text now (key, text and tag)
    Taken,     // another title node carries it
};
// Makes the title node carry t; with no node, only tells whether another node carries t.
// The key is checked before text and tag change.
Follow follow(TreeView &tree, TreeNode *node, const QString &t);

// The title of rs's current record as read, empty when there is none.
QString storedTitle(const db::Recordset *rs);

// Which title node of the tree shown belongs to the shown record: the one keyed by its
// stored title, or the one its typing renamed since. Nodes are never looked up by what
// the title box holds, which may be another record's title.
class RecordNode {
public:
    // nullptr when the record has no node (or there is no current record).
    TreeNode *find(const TreeView &tree, const db::Recordset *rs) const;
    // Renames the record's node (or none) to t as typed.
    Follow follow(TreeView &tree, const db::Recordset *rs, const QString &t);
    // A tree built afresh carries the stored titles.
    void forget() { m_renamed.reset(); }

private:
    struct Renamed {
        db::Bookmark row;
        QString stored;
        QString key;
    };
    std::optional<Renamed> m_renamed;
};

// After a delete in the search results: the hit to show in place of the deleted one, the
// next (the previous after the last); nullptr for a node that is no hit, or the only one.
TreeNode *hitAfter(const TreeNode *deleted);

} // namespace titleedit
