// The search box, its scope boxes and the search-results tree.
#include "form1.h"

#include "database.h"
#include "datacontrol.h"
#include "dberror.h"
#include "eventhook.h"
#include "globals.h"
#include "messagebox.h"
#include "mybutton.h"
#include "recordscrollbar.h"
#include "recordset.h"
#include "search.h"
#include "sqltext.h"
#include "statusbar.h"
#include "szlk.h"
#include "titletree.h"
#include "treeview.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

void Form1::connectSearch()
{
    EventHook::install(m_ui.ara, [this](QObject *, QEvent *e) {
        if (e->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent *>(e)->button() == Qt::LeftButton)
            ara_Click();
        return false;
    });
    for (size_t n = 0; n < m_ui.scopes.size(); ++n)
        EventHook::onMouseDown(m_ui.scopes[n], [this, n] { scope_MouseDown(n); });
    connect(m_ui.sbaslikara, &MyButton::Click, this, &Form1::sbaslikara_Click);

    // Every other tree lets the record scroll bar work again.
    for (QAbstractButton *option : m_ui.grnm)
        connect(option, &QAbstractButton::clicked, m_ui.HScroll1, [this] { m_ui.HScroll1->setEnabled(true); });
}

void Form1::ara_Click()
{
    if (m_ui.ara->text() == search::hint())
        m_ui.ara->clear();
}

// The scope boxes tick one at a time; runs before the pressed box toggles itself.
void Form1::scope_MouseDown(size_t n)
{
    for (size_t i = 0; i < m_ui.scopes.size(); ++i) {
        if (i != n)
            m_ui.scopes[i]->setChecked(false);
    }
}

void Form1::sbaslikara_Click()
{
    const QString word = m_ui.ara->text();
    if (word.isEmpty() || !g::vt)
        return;
    if (g::agacmodu == u"arama"_s) {
        if (TreeNode *node = m_ui.TVW->findFolder(u"aranankelime"_s))
            node->setExpanded(false);
    }
    g::agacmodu = u"arama"_s;
    bool ticked[std::tuple_size_v<decltype(m_ui.scopes)>] = {};
    for (size_t i = 0; i < m_ui.scopes.size(); ++i)
        ticked[i] = m_ui.scopes[i]->isChecked();
    const search::Scope scope = search::firstTicked(ticked[0], ticked[1], ticked[2], ticked[3], ticked[4]);
    if (scope == search::Scope::None)
        return;
    if (scope == search::Scope::Dictionary)
        szlk::show(this, g::vt->name(), search::statement(scope, word).text);
    else
        basliktree(word, search::statement(scope, word));
}

void Form1::basliktree(const QString &aranan, const search::Statement &sqlsql)
{
    // The hits are those of the records as stored; an edit the engine refuses is reported now.
    if (!saveShownRecord())
        return;
    std::unique_ptr<db::Recordset> hits;
    try {
        hits = g::vt->openRecordset(sqlsql.bound, sqlsql.values);
    } catch (const db::Error &e) {
        msg::box(e.description());
        return;
    }
    if (hits->eof()) {
        msg::box(u"Aranan bulunamadı!"_s, msg::Icon::Information);
        return;
    }
    m_ui.Data1->setRecordSource(sqlsql.text);
    setScrollIgnoringErrors(m_ui.HScroll1->maximum());
    search::Hits found;
    try {
        db::Database::ReadTransaction reading(*g::vt);
        found = search::buildTree(*m_ui.TVW, m_ui.ImageList1, *hits, aranan);
    } catch (const db::Error &e) {
        msg::box(e.description());
    }
    m_recordNode.forget();
    hits.reset();
    if (found.digitsOnly > 0)
        msg::box(titletree::kDigitsMessage, msg::Icon::Critical);
    m_ui.HScroll1->setEnabled(false);
    m_ui.TVW->treeWidget()->setFocus();
    if (!found.first.isEmpty())
        moveToTitle(found.first);
    m_ui.stbar->setPanelText(2, u"Bulunan kayıt sayısı: "_s + QString::number(found.count));
}

// Moves the main data control to the record with that title; false when none could be shown.
bool Form1::moveToTitle(const QString &title)
{
    try {
        if (db::Recordset *rs = m_ui.Data1->recordset()) {
            auto copy = rs->clone();
            copy->findFirst(u"[Başlık] = '"_s + db::quoted(title) + u"'"_s);
            if (!copy->noMatch()) {
                rs->setBookmark(copy->bookmark());
                return true;
            }
        }
    } catch (const db::Error &) {
        // The record stays as it was: a hit gone meanwhile, or an edit the engine refused.
    }
    return false;
}
