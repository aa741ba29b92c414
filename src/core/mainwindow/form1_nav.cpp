// Record navigation: the data control, the record scroll bar, the tree and panel 2
// follow each other; the idiom box follows the lyrics.
#include "form1.h"

#include "database.h"
#include "datacontrol.h"
#include "dberror.h"
#include "fieldtextedit.h"
#include "globals.h"
#include "idioms.h"
#include "messagebox.h"
#include "pendingedit.h"
#include "recordscrollbar.h"
#include "recordset.h"
#include "sqltext.h"
#include "statusbar.h"
#include "titleedit.h"
#include "treeview.h"
#include "turkish.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

// A move the file refused (a lock, a read error) is said; a position that no record has
// moves nothing, without a word.
bool saysMoveFailure(const db::Error &e)
{
    return e.number() != db::InvalidArgument && e.number() != db::NoCurrentRecord;
}

} // namespace

void Form1::reportRefusedSave(const db::Error &e)
{
    if (e.causeNumber() == db::DuplicateKey || e.causeNumber() == 0)
        msg::box(titleedit::takenMessage(m_ui.Text3->text()), msg::Icon::Critical);
    else if (e.causeNumber() == db::ValidationRule)
        msg::box(e.causeDescription(), msg::Icon::Critical);
    else
        msg::box(e.causeDescription() + u"\n"_s + pendingedit::escapeHint(), msg::Icon::Critical);
}

// Escape with a pending edit: every box shows the stored record again, the node renamed
// while the title was typed takes the stored title back, and the idioms follow.
void Form1::dropPendingEdit()
{
    // Found before the boxes change: the node may carry the typed title.
    TreeNode *node = shownNode();
    m_ui.Data1->cancelEdit();
    db::Recordset *rs = m_ui.Data1->recordset();
    const QString stored = titleedit::storedTitle(rs);
    // A row gone elsewhere has no stored title: its node keeps what it shows.
    if (node && !stored.isEmpty()) {
        node->setSelected();
        m_recordNode.follow(*m_ui.TVW, rs, stored);
    }
    dinamikbul();
}

void Form1::Data1_Reposition()
{
    db::Recordset *rs = m_ui.Data1->recordset();
    if (!rs)
        return;
    const int count = rs->recordCount();
    const qint64 value = qint64(rs->absolutePosition()) + 1;
    // The range follows the record count; raised before the value, lowered after it.
    if (count > m_ui.HScroll1->maximum())
        m_ui.HScroll1->setMaximumChecked(count);
    setScrollIgnoringErrors(int(value));
    if (count >= 1 && count < m_ui.HScroll1->maximum() && m_ui.HScroll1->value() <= count)
        m_ui.HScroll1->setMaximumChecked(count);
    m_ui.stbar->setPanelText(2, u"Kayıt : "_s + QString::number(value) + u" / "_s + QString::number(count));
    // Every completed move, also one the scroll bar cannot show or the tree has no node for.
    showIdiomsIgnoringErrors();
}

void Form1::HScroll1_Change()
{
    db::Recordset *rs = m_ui.Data1->recordset();
    if (!rs || m_restoringScroll)
        return;
    try {
        const int target = m_ui.HScroll1->value() - 1;
        if (rs->absolutePosition() != target)
            rs->setAbsolutePosition(target);
    } catch (const db::Error &e) {
        if (e.number() == db::MoveCancelled) {
            reportRefusedSave(e);
            showStoredTitle();
        } else if (saysMoveFailure(e)) {
            msg::box(e.description(), msg::Icon::Critical);
        } else {
            return;
        }
        restoreScrollToRecord();
        return;
    }
    m_ui.TVW->treeWidget()->setFocus();
    selectShownNode();
}

// The shown record's node, with one more line of the tree visible below it; a record
// without a node leaves none selected.
void Form1::selectShownNode()
{
    TreeNode *node = shownNode();
    if (!node) {
        m_ui.TVW->clearSelection();
        return;
    }
    node->setSelected();
    if (TreeNode *next = node->nextSibling()) {
        next->setSelected();
        if (TreeNode *back = next->previousSibling())
            back->setSelected();
    }
}

// After a refused save the record stays with its edits, but the title box shows its
// stored title again (the selected node may be a folder), and its node, if it has one,
// carries that title.
void Form1::showStoredTitle()
{
    db::Recordset *rs = m_ui.Data1->recordset();
    if (!rs || rs->absolutePosition() < 0)
        return;
    if (TreeNode *node = shownNode())
        node->setSelected();
    else
        m_ui.TVW->clearSelection();
    m_ui.Data1->showField(u"Başlık"_s);
    m_recordNode.follow(*m_ui.TVW, rs, titleedit::storedTitle(rs));
}

// After a refused save the scroll bar shows the record that stays.
void Form1::restoreScrollToRecord()
{
    db::Recordset *rs = m_ui.Data1->recordset();
    if (!rs || rs->absolutePosition() < 0)
        return;
    m_restoringScroll = true;
    setScrollIgnoringErrors(rs->absolutePosition() + 1);
    m_restoringScroll = false;
}

void Form1::HScroll1_Scroll(int value)
{
    const int count = m_ui.Data1->recordset() ? m_ui.Data1->recordset()->recordCount() : 0;
    m_ui.stbar->setPanelText(2, u"Kayıt : "_s + QString::number(value) + u" / "_s + QString::number(count));
}

void Form1::TVW_NodeClick(TreeNode *node)
{
    if (!node)
        return;
    const QString key = node->key();
    if (g::agacmodu == u"arama"_s && node->kind() == NodeKind::Root && key == u"TÜMÜ..."_s) {
        g::agacmodu = u"tümü"_s;
        m_ui.HScroll1->setEnabled(true);
        tree();
        setScrollIgnoringErrors(1);
        return;
    }
    if (node->kind() != NodeKind::Title)
        return;
    db::Recordset *rs = m_ui.Data1->recordset();
    if (!rs)
        return;
    try {
        auto copy = rs->clone();
        copy->findFirst(u"[Başlık] = '"_s + db::quoted(key) + u"'"_s);
        if (copy->noMatch())
            return;
        rs->setBookmark(copy->bookmark());
    } catch (const db::Error &e) {
        if (e.number() == db::ExpressionSyntaxError) {
            msg::box(u"Bu başlıkta tanınmayan karakter var, düzeltilmesi gerekli!"_s, msg::Icon::Critical);
        } else if (e.number() == db::MoveCancelled || saysMoveFailure(e)) {
            if (e.number() == db::MoveCancelled)
                reportRefusedSave(e);
            else
                msg::box(e.description(), msg::Icon::Critical);
            // The record and its edits stay; its node is selected again, found by its
            // title as stored or as typed.
            if (TreeNode *shown = shownNode())
                shown->setSelected();
            else
                m_ui.TVW->clearSelection();
            restoreScrollToRecord();
        }
    }
}

// Lists the dictionary idioms that occur in the lyrics, each with its explanation.
// The dictionary is the one of the database the shown record comes from.
void Form1::showIdiomsIgnoringErrors()
{
    try {
        dinamikbul();
    } catch (const db::Error &) {
        // The dictionary cannot be read: no idioms rather than the former record's; the
        // record itself is shown.
        m_ui.sozcuk->clear();
    }
}

void Form1::dinamikbul()
{
    const std::shared_ptr<db::Database> &vt = m_ui.Data1->database();
    if (!vt) {
        m_ui.sozcuk->clear();
        return;
    }
    m_ui.sozcuk->setPlainText(idioms::boxText(FieldTextEdit::plainText(m_ui.Text1), m_dictionary->rows(vt)));
}
