#pragma once

#include <QString>
#include <QVariantList>

class ImageList;
class TreeView;
namespace db {
class Recordset;
}

// The search of the main window: its statements and the tree of its hits.
namespace search {

// The text the search box starts with; it is the box's real text.
QString hint();

// The scope boxes in the order in which they decide.
enum class Scope { None, Title, TitleAndLyrics, Region, AllFields, Dictionary };
Scope firstTicked(bool title, bool titleAndLyrics, bool region, bool allFields, bool dictionary);

// One statement twice: as text with the word put in as a literal (the main data control's
// record source takes a text), and with each pattern as a ? and its value, asking for the
// titles alone (all fields for the dictionary).
struct Statement {
    QString text;
    QString bound;
    QVariantList values;
};
// For Title, TitleAndLyrics, Region, AllFields and Dictionary; None gives an empty statement.
Statement statement(Scope scope, const QString &word);

struct Hits {
    int count = 0;      // records found
    int digitsOnly = 0; // titles the tree refused as keys made only of digits
    QString first;      // the title selected, empty when none could be shown
};
// Replaces the tree by "TÜMÜ..." > the word > one node per hit, in the order of the hits,
// and selects the first hit that took a node. A refused hit is skipped.
Hits buildTree(TreeView &tree, ImageList *images, db::Recordset &hits, const QString &word);

} // namespace search
