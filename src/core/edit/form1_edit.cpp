// View and edit modes, the title box while a title is typed, and the delete.
#include "form1.h"

#include "datacontrol.h"
#include "dberror.h"
#include "eventhook.h"
#include "globals.h"
#include "messagebox.h"
#include "mybutton.h"
#include "recordscrollbar.h"
#include "recordset.h"
#include "statusbar.h"
#include "titleedit.h"
#include "treeview.h"

#include <QAbstractButton>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace {

bool viewMode()
{
    return g::penceremodu == u"izleme"_s;
}

} // namespace

void Form1::connectEditing()
{
    EventHook::onMouseDown(m_ui.option1, [this] { option1_MouseDown(); });
    EventHook::onMouseDown(m_ui.option2, [this] { option2_MouseDown(); });
    connect(m_ui.sil, &MyButton::Click, this, &Form1::sil_Click);

    EventHook::install(m_ui.Text3, [this](QObject *, QEvent *e) {
        switch (e->type()) {
        case QEvent::FocusIn: {
            // Not when the window comes back, e.g. from this box's own message.
            const Qt::FocusReason why = static_cast<QFocusEvent *>(e)->reason();
            if (why != Qt::ActiveWindowFocusReason && why != Qt::PopupFocusReason)
                Text3_GotFocus();
            return false;
        }
        case QEvent::KeyPress:
            return Text3_KeyDown(static_cast<QKeyEvent *>(e));
        case QEvent::KeyRelease:
            Text3_KeyUp(static_cast<QKeyEvent *>(e));
            return false;
        default:
            return false;
        }
    });
    connect(m_ui.Text3, &QLineEdit::textEdited, this, &Form1::Text3_Edited);

    // A changed title is stored only when the tree can hold it.
    m_ui.Data1->setSaveCheck([this](const QString &field, const QVariant &value) -> QString {
        if (field.compare(u"Başlık"_s, Qt::CaseInsensitive) != 0)
            return {};
        try {
            if (m_ui.Data1->recordset() && m_ui.Data1->recordset()->text(u"Başlık"_s) == value.toString())
                return {};
        } catch (const db::Error &) {
            // No current row to compare with: the title is checked as a new one.
        }
        return titleedit::titleProblem(value.toString());
    });

    connectSearch();
}

void Form1::option1_MouseDown()
{
    m_ui.option2->setChecked(false);
    izlememodu();
}

void Form1::option2_MouseDown()
{
    m_ui.option1->setChecked(false);
    duzenlememodu();
}

TreeNode *Form1::shownNode() const
{
    return m_recordNode.find(*m_ui.TVW, m_ui.Data1->recordset());
}

// The title box goes back to the last title the record's node took, or to the stored one.
void Form1::restoreTitle()
{
    TreeNode *node = shownNode();
    m_ui.Text3->setText(node ? node->text() : titleedit::storedTitle(m_ui.Data1->recordset()));
}

void Form1::Text3_GotFocus()
{
    db::Recordset *rs = m_ui.Data1->recordset();
    if (!rs || rs->absolutePosition() < 0)
        return;
    if (TreeNode *node = shownNode()) {
        node->setSelected();
        return;
    }
    m_ui.TVW->clearSelection();
    // Typing a title that has no node would show nowhere in the tree.
    if (viewMode())
        return;
    msg::box(
        u"Bu başlık ilgili bir problem var. Muhtemelen sorun çıkaran karakterler kullanıldı. Formun kapanıp açılmasıyla problem çözülecektir."_s,
        msg::Icon::Critical);
}

// An apostrophe never reaches the box.
bool Form1::Text3_KeyDown(QKeyEvent *e)
{
    if (viewMode() || !titleedit::typesApostrophe(*e))
        return false;
    msg::box(titleedit::apostropheMessage(), msg::Icon::Critical);
    restoreTitle();
    return true;
}

void Form1::Text3_KeyUp(QKeyEvent *e)
{
    // An apostrophe was refused when its key went down.
    if (viewMode() || titleedit::typesApostrophe(*e) || titleedit::ignoredOnRelease(e->key()))
        return;
    const QString t = m_ui.Text3->text();
    if (m_recordNode.follow(*m_ui.TVW, m_ui.Data1->recordset(), t) == titleedit::Follow::Taken) {
        restoreTitle();
        msg::box(titleedit::takenMessage(t), msg::Icon::Critical);
    }
}

// Pasted or dropped text goes through here too.
void Form1::Text3_Edited()
{
    if (viewMode() || !m_ui.Text3->text().contains(u'\''))
        return;
    msg::box(titleedit::apostropheMessage(), msg::Icon::Critical);
    restoreTitle();
}

void Form1::sil_Click()
{
    db::Recordset *rs = m_ui.Data1->recordset();
    if (!rs || rs->absolutePosition() < 0)
        return;
    if (msg::box(titleedit::deleteQuestion(titleedit::storedTitle(rs)), msg::Icon::None, msg::Buttons::YesNo)
        != msg::Result::Yes)
        return;
    TreeNode *node = shownNode();
    const QString key = node ? node->key() : QString();
    TreeNode *hit = titleedit::hitAfter(node);
    const bool inResults = node && node->parent() && node->parent()->kind() == NodeKind::SearchWord;
    const QString hitTitle = hit ? hit->key() : QString();
    const int position = rs->absolutePosition();
    try {
        rs->deleteRecord();
    } catch (const db::Error &e) {
        msg::box(e.description());
        return;
    }
    if (node)
        m_ui.TVW->remove(key);
    m_ui.TVW->refresh();
    if (inResults)
        showHitAfterDelete(hitTitle, position);
    else
        showAfterDelete(position);
}

// In the search results the next hit takes the deleted one's place; with none left, the
// record that followed, which is no hit.
void Form1::showHitAfterDelete(const QString &hit, int position)
{
    if (hit.isEmpty() || !moveToTitle(hit))
        showAfterDelete(position);
    selectShownNode();
    TreeNode *word = m_ui.TVW->findFolder(u"aranankelime"_s);
    m_ui.stbar->setPanelText(2, u"Bulunan kayıt sayısı: "_s + QString::number(word ? word->childCount() : 0));
}

// The record that followed the deleted one takes its place; after the last, the new last.
void Form1::showAfterDelete(int position)
{
    db::Recordset *rs = m_ui.Data1->recordset();
    const int count = rs->recordCount();
    if (count == 0) {
        m_ui.Data1->showRecord();
        m_ui.stbar->setPanelText(2, u"Kayıt : 0 / 0"_s);
        showIdiomsIgnoringErrors();
        return;
    }
    const int target = std::min(position, count - 1);
    const int before = m_ui.HScroll1->value();
    rs->setAbsolutePosition(target);
    // An unchanged scroll bar value raised no change: the tree and idioms follow here.
    if (m_ui.HScroll1->value() == before && before == target + 1)
        HScroll1_Change();
}

bool Form1::saveShownRecord()
{
    try {
        m_ui.Data1->saveRecord();
        return true;
    } catch (const db::Error &e) {
        reportRefusedSave(e);
        return false;
    }
}

void Form1::songAdded()
{
    tree();
    m_ui.HScroll1->setEnabled(true);
    m_ui.Data1->setRecordSource(u"zelvoran"_s);
    m_ui.Data1->refresh();
}
