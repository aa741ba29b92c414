#pragma once

#include <QString>

class QKeyEvent;
class TreeNode;
class TreeView;

// Title rules and the title tree's part in editing a record: the selected title node
// follows the title box while it is typed, and a delete removes the shown record's node.
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
    Unchanged,  // nothing to do, or a text the tree cannot take as a title's key
    Renamed,    // the selected title node carries the text now (key, text and tag)
    Taken,      // another title node carries it
};
// Makes the selected title node carry t. Folder nodes, the search tree's root and word
// node are never renamed; the key is checked before text and tag change.
Follow follow(TreeView &tree, const QString &t);

// The node of the shown record: the one of its stored title, else the one the title box
// names (a node renamed while typed); only title nodes count.
TreeNode *recordNode(const TreeView &tree, const QString &boxTitle, const QString &storedTitle);

} // namespace titleedit
