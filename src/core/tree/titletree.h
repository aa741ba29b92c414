#pragma once

#include "dberror.h"
#include "messagebox.h"

#include <QList>
#include <QString>
#include <QVariantList>
#include <optional>

class ImageList;
class TreeNode;
class TreeView;
namespace db {
class Database;
}

// The title tree's views: the titles by initial letter, or grouped by one field of the
// songs. The builds fill a tree view from the song database and tell what they could not
// show; scrolling, messages and the frame's caption are the window's.
namespace titletree {

// A grouped view: the field its folders come from and the caption of the tree's frame.
struct GroupedView {
    QString field;
    QString caption;
    QString lenField; // the field as the empty-text statement writes it
};

// The seven grouped views.
extern const GroupedView kDerleyen, kKaynak, kMuzik, kSoz, kTuru1, kTuru2, kYore;

// The folder of the records without a value.
extern const QString kUnknown;
// Said once when titles made only of digits could not enter the tree.
extern const QString kDigitsMessage;

// What one build could not show.
struct BuildReport {
    bool digitKeys = false;           // a title made only of digits was refused
    std::optional<db::Error> failure; // what stopped the build
};

// The folder of the by-letter view for a title that no letter of basharfler begins: the
// Turkish upper case of its first character that is not blank, â, î and û filed under A,
// İ and U as the order files them; empty for a title of blanks.
QString initial(const QString &title);

// The message boxes of a report, in the order they are shown.
QList<msg::Request> messages(const BuildReport &report);

// Turns the view's empty texts into Null, so that they share the folder of the Nulls;
// a file that cannot be written keeps them (the builds put them there all the same).
void nullEmptyTexts(db::Database &vt, const GroupedView &view);

class TitleTree {
public:
    TitleTree(TreeView &view, ImageList *images);

    // Each build replaces every node of the tree; on a failure the nodes added so far
    // stay. It moves no record and selects nothing. By letter, every stored title has a
    // node, but one the tree refuses (digits only, or the same title twice).
    BuildReport byLetter(db::Database &vt);
    BuildReport grouped(db::Database &vt, const GroupedView &view);

    // Closes the selected node's folder, then selects and closes the first node.
    void collapse();

private:
    TreeNode *addFolder(const QString &text, bool *made = nullptr);
    void addTitle(TreeNode *folder, const QString &title, BuildReport &report);
    void addTitles(db::Database &vt, TreeNode *folder, const QString &sql, BuildReport &report,
                   const QVariantList &parameters = {}, const QString &spellingField = {});

    TreeView &m_view;
    ImageList *m_images;
};

} // namespace titletree
