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

Follow follow(TreeView &tree, const QString &t)
{
    TreeNode *selected = tree.selectedNode();
    TreeNode *found = tree.findTitle(t);
    if (found && found != selected)
        return Follow::Taken;
    if (!selected || selected->kind() != NodeKind::Title)
        return Follow::Unchanged;
    if (selected->key() == t && selected->text() == t)
        return Follow::Unchanged;
    if (!titleProblem(t).isEmpty())
        return Follow::Unchanged;
    try {
        selected->setKey(t);
    } catch (const db::Error &) {
        return Follow::Unchanged;
    }
    selected->setText(t);
    selected->setTag(t);
    tree.refresh();
    return Follow::Renamed;
}

TreeNode *recordNode(const TreeView &tree, const QString &boxTitle, const QString &storedTitle)
{
    // The stored title first: a title pasted into the box may be another record's.
    for (const QString &key : {storedTitle, boxTitle}) {
        if (TreeNode *n = tree.findTitle(key))
            return n;
    }
    return nullptr;
}

} // namespace titleedit
