#include "titleedit.h"

#include "dberror.h"
#include "treeview.h"

#include <QKeyEvent>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace titleedit {

QString titleProblem(const QString &title)
{
    if (title.trimmed().isEmpty())
        return u"Başlık alanı boş olamaz!"_s;
    if (title.contains(u'\''))
        return apostropheMessage();
    if (std::all_of(title.cbegin(), title.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return u"Başlık sadece rakamlardan oluşamaz!"_s;
    return {};
}

QString apostropheMessage()
{
    return u"Başlık bölümünde Ayraç (') karakteri kullanılamaz!"_s;
}

QString takenMessage(const QString &title)
{
    return u"[ "_s + title + u" ] başlığı ile başka bir kayıt zaten var!"_s;
}

QString deleteQuestion(const QString &title)
{
    return u"[ "_s + title + u" ] Kaydı silinecek. Emin misiniz?"_s;
}

bool typesApostrophe(const QKeyEvent &e)
{
    return e.text().contains(u'\'') || (e.text().isEmpty() && e.key() == Qt::Key_Apostrophe);
}

bool ignoredOnRelease(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_CapsLock:
    case Qt::Key_Space:
    case Qt::Key_Left:
    case Qt::Key_Right:
        return true;
    default:
        return false;
    }
}

Follow follow(TreeView &tree, TreeNode *node, const QString &t)
{
    TreeNode *found = tree.findTitle(t);
    if (found && found != node)
        return Follow::Taken;
    if (!node || node->kind() != NodeKind::Title)
        return Follow::Unchanged;
    if (node->key() == t && node->text() == t)
        return Follow::Unchanged;
    if (!titleProblem(t).isEmpty())
        return Follow::Unchanged;
    try {
        node->setKey(t);
    } catch (const db::Error &) {
        return Follow::Unchanged;
    }
    node->setText(t);
    node->setTag(t);
    tree.refresh();
    return Follow::Renamed;
}

QString storedTitle(const db::Recordset *rs)
{
    try {
        if (rs && rs->absolutePosition() >= 0)
            return rs->fieldAsRead(u"Başlık"_s).toString();
    } catch (const db::Error &) {
        // A row without a title, or one gone: it has no node either.
    }
    return {};
}

namespace {

std::optional<db::Bookmark> rowOf(const db::Recordset *rs)
{
    try {
        if (rs && rs->absolutePosition() >= 0)
            return rs->bookmark();
    } catch (const db::Error &) {
        // No current record: no node.
    }
    return std::nullopt;
}

} // namespace

TreeNode *RecordNode::find(const TreeView &tree, const db::Recordset *rs) const
{
    const std::optional<db::Bookmark> row = rowOf(rs);
    if (!row)
        return nullptr;
    const QString stored = storedTitle(rs);
    if (m_renamed && m_renamed->row == *row && m_renamed->stored == stored) {
        if (TreeNode *n = tree.findTitle(m_renamed->key))
            return n;
    }
    return tree.findTitle(stored);
}

Follow RecordNode::follow(TreeView &tree, const db::Recordset *rs, const QString &t)
{
    const Follow result = titleedit::follow(tree, find(tree, rs), t);
    if (result == Follow::Renamed)
        m_renamed = Renamed{*rowOf(rs), storedTitle(rs), t};
    return result;
}

TreeNode *hitAfter(const TreeNode *deleted)
{
    const TreeNode *word = deleted ? deleted->parent() : nullptr;
    if (!word || word->kind() != NodeKind::SearchWord)
        return nullptr;
    if (TreeNode *next = deleted->nextSibling())
        return next;
    return deleted->previousSibling();
}

} // namespace titleedit
