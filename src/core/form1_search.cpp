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

namespace {

const char16_t *const kScopes[] = {u"ara_b", u"ara_bs", u"ara_y", u"ara_all", u"ara_szlk"};

} // namespace

void Form1::connectSearch()
{
    if (auto *ara = control<QLineEdit>(u"ara"_s)) {
        EventHook::install(ara, [this](QObject *, QEvent *e) {
            if (e->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent *>(e)->button() == Qt::LeftButton)
                ara_Click();
            return false;
        });
    }
    void (Form1::*const handlers[])() = {&Form1::ara_b_MouseDown, &Form1::ara_bs_MouseDown, &Form1::ara_y_MouseDown,
                                         &Form1::ara_all_MouseDown, &Form1::ara_szlk_MouseDown};
    for (size_t i = 0; i < std::size(kScopes); ++i) {
        if (auto *box = control<QAbstractButton>(QString::fromUtf16(kScopes[i])))
            EventHook::onMouseDown(box, [this, h = handlers[i]] { (this->*h)(); });
    }
    if (auto *ara = control<MyButton>(u"sbaslikara"_s))
        connect(ara, &MyButton::Click, this, &Form1::sbaslikara_Click);

    // Every other tree lets the record scroll bar work again.
    for (const QString &view : viewOptions()) {
        if (auto *option = control<QAbstractButton>(view))
            connect(option, &QAbstractButton::clicked, m_hscroll1, [this] { m_hscroll1->setEnabled(true); });
    }
}

void Form1::ara_Click()
{
    auto *ara = control<QLineEdit>(u"ara"_s);
    if (ara->text() == search::hint())
        ara->clear();
}

void Form1::ara_b_MouseDown() { onlyScope(u"ara_b"_s); }
void Form1::ara_bs_MouseDown() { onlyScope(u"ara_bs"_s); }
void Form1::ara_y_MouseDown() { onlyScope(u"ara_y"_s); }
void Form1::ara_all_MouseDown() { onlyScope(u"ara_all"_s); }
void Form1::ara_szlk_MouseDown() { onlyScope(u"ara_szlk"_s); }

// Runs before the pressed box toggles itself.
void Form1::onlyScope(const QString &pressed)
{
    for (const char16_t *name : kScopes) {
        const QString n = QString::fromUtf16(name);
        if (n != pressed) {
            if (auto *box = control<QAbstractButton>(n))
                box->setChecked(false);
        }
    }
}

void Form1::sbaslikara_Click()
{
    const QString word = control<QLineEdit>(u"ara"_s)->text();
    if (word.isEmpty() || !g::vt)
        return;
    if (g::agacmodu == u"arama"_s) {
        if (TreeNode *node = m_tvw->findFolder(u"aranankelime"_s))
            node->setExpanded(false);
    }
    g::agacmodu = u"arama"_s;
    bool ticked[std::size(kScopes)] = {};
    for (size_t i = 0; i < std::size(kScopes); ++i) {
        auto *box = control<QAbstractButton>(QString::fromUtf16(kScopes[i]));
        ticked[i] = box && box->isChecked();
    }
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
    m_data1->setRecordSource(sqlsql.text);
    setScrollIgnoringErrors(m_hscroll1->maximum());
    search::Hits found;
    try {
        db::Database::ReadTransaction reading(*g::vt);
        found = search::buildTree(*m_tvw, m_imageList1, *hits, aranan);
    } catch (const db::Error &e) {
        msg::box(e.description());
    }
    m_recordNode.forget();
    hits.reset();
    if (found.digitsOnly > 0)
        msg::box(titletree::kDigitsMessage, msg::Icon::Critical);
    m_hscroll1->setEnabled(false);
    m_tvw->treeWidget()->setFocus();
    if (!found.first.isEmpty())
        moveToTitle(found.first);
    m_stbar->setPanelText(2, u"Bulunan kayıt sayısı: "_s + QString::number(found.count));
}

// Moves the main data control to the record with that title; false when none could be shown.
bool Form1::moveToTitle(const QString &title)
{
    try {
        if (db::Recordset *rs = m_data1->recordset()) {
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
