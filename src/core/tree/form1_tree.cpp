// The title tree's handlers; the views themselves are built by titletree::TitleTree.
#include "form1.h"

#include "dberror.h"
#include "globals.h"
#include "messagebox.h"
#include "recordscrollbar.h"
#include "titletree.h"

#include <QAbstractButton>
#include <QGroupBox>

using namespace Qt::StringLiterals;

void Form1::setScrollIgnoringErrors(int value)
{
    try {
        m_ui.HScroll1->setValueChecked(value);
    } catch (const db::Error &) {
        // A value outside the bar's range: the bar stays where it was, the record is shown.
    }
}

void Form1::showBuildReport(const titletree::BuildReport &report)
{
    for (const msg::Request &m : titletree::messages(report))
        msg::box(m.text, m.icon);
}

void Form1::tree()
{
    setScrollIgnoringErrors(m_ui.HScroll1->maximum());
    // The first activation asks again for the tree built moments before, at load, when
    // nothing could change the file's titles or the tree: it is shown as it was built and
    // its messages are said again, without reading every title a second time.
    const bool fromLoad = g::ilkacilis == 1 && m_treeFromLoad;
    const titletree::BuildReport report = fromLoad ? *m_treeFromLoad : m_titleTree->byLetter(*g::vt);
    m_treeFromLoad.reset();
    if (g::ilkacilis == 0 && !report.failure)
        m_treeFromLoad = report;
    m_recordNode.forget();
    showBuildReport(report);
}

void Form1::grnm_bslk_Click()
{
    m_ui.Frame2->setTitle(u"BAŞLIKLAR"_s);
    tree();
    setScrollIgnoringErrors(1);
    g::raporsql = u"zelvoran"_s;
    kapat();
}

void Form1::grouped(const titletree::GroupedView &view)
{
    m_treeFromLoad.reset();
    m_ui.Frame2->setTitle(view.caption);
    titletree::nullEmptyTexts(*g::vt, view);
    setScrollIgnoringErrors(m_ui.HScroll1->maximum());
    const titletree::BuildReport report = m_titleTree->grouped(*g::vt, view);
    m_recordNode.forget();
    showBuildReport(report);
    if (report.failure)
        return;
    setScrollIgnoringErrors(1);
    kapat();
}

void Form1::grnm()
{
    grouped(titletree::kDerleyen);
}

void Form1::grnm_Click(int n)
{
    switch (n) {
    case 0:
        return grnm_bslk_Click();
    case 1:
        return grouped(titletree::kYore);
    case 2:
        return grouped(titletree::kTuru1);
    case 3:
        return grouped(titletree::kTuru2);
    case 4:
        return grouped(titletree::kKaynak);
    case 5:
        return grnm();
    case 6:
        return grouped(titletree::kSoz);
    case 7:
        return grouped(titletree::kMuzik);
    }
}

void Form1::kapat()
{
    m_titleTree->collapse();
}

void Form1::connectGroupings()
{
    for (int n = 0; n < int(m_ui.grnm.size()); ++n)
        connect(m_ui.grnm[size_t(n)], &QAbstractButton::clicked, this, [this, n] { grnm_Click(n); });
}
