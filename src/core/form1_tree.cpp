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
        m_hscroll1->setValueChecked(value);
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
    setScrollIgnoringErrors(m_hscroll1->maximum());
    const titletree::BuildReport report = m_titleTree->byLetter(*g::vt);
    m_recordNode.forget();
    showBuildReport(report);
}

void Form1::grnm_bslk_Click()
{
    m_frame2->setTitle(u"BAŞLIKLAR"_s);
    tree();
    setScrollIgnoringErrors(1);
    g::raporsql = u"zelvoran"_s;
    kapat();
}

void Form1::grouped(const titletree::GroupedView &view)
{
    m_frame2->setTitle(view.caption);
    titletree::nullEmptyTexts(*g::vt, view);
    setScrollIgnoringErrors(m_hscroll1->maximum());
    const titletree::BuildReport report = m_titleTree->grouped(*g::vt, view);
    m_recordNode.forget();
    showBuildReport(report);
    if (report.failure)
        return;
    setScrollIgnoringErrors(1);
    kapat();
}

void Form1::grnm() { grouped(titletree::kDerleyen); }
void Form1::grnm_derleyen_Click() { grnm(); }
void Form1::grnm_kaynak_Click() { grouped(titletree::kKaynak); }
void Form1::grnm_muzik_Click() { grouped(titletree::kMuzik); }
void Form1::grnm_soz_Click() { grouped(titletree::kSoz); }
void Form1::grnm_turu1_Click() { grouped(titletree::kTuru1); }
void Form1::grnm_turu2_Click() { grouped(titletree::kTuru2); }
void Form1::grnm_yore_Click() { grouped(titletree::kYore); }

void Form1::kapat()
{
    m_titleTree->collapse();
}

QStringList Form1::viewOptions()
{
    return {u"grnm_bslk"_s,   u"grnm_yore"_s,     u"grnm_turu1"_s, u"grnm_turu2"_s,
            u"grnm_kaynak"_s, u"grnm_derleyen"_s, u"grnm_soz"_s,   u"grnm_muzik"_s};
}

void Form1::connectGroupings()
{
    const struct {
        const char16_t *option;
        void (Form1::*handler)();
    } views[] = {
        {u"grnm_bslk", &Form1::grnm_bslk_Click},     {u"grnm_derleyen", &Form1::grnm_derleyen_Click},
        {u"grnm_kaynak", &Form1::grnm_kaynak_Click}, {u"grnm_muzik", &Form1::grnm_muzik_Click},
        {u"grnm_soz", &Form1::grnm_soz_Click},       {u"grnm_turu1", &Form1::grnm_turu1_Click},
        {u"grnm_turu2", &Form1::grnm_turu2_Click},   {u"grnm_yore", &Form1::grnm_yore_Click},
    };
    for (const auto &v : views) {
        if (auto *option = control<QAbstractButton>(QString::fromUtf16(v.option)))
            connect(option, &QAbstractButton::clicked, this, v.handler);
    }
}
