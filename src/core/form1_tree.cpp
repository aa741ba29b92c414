// The title tree: by initial letter and in seven groupings.
#include "form1.h"

#include "database.h"
#include "dberror.h"
#include "globals.h"
#include "messagebox.h"
#include "recordscrollbar.h"
#include "recordset.h"
#include "sqltext.h"
#include "treeview.h"

#include <QAbstractButton>
#include <QGroupBox>

using namespace Qt::StringLiterals;

namespace {

const QString kUnknown = u" Bilinmeyen"_s;
const QString kDigitsMessage = u"Başlıklarda sadece rakamlardan oluşan kayıtlar var! Bu kayıtları silmelisiniz."_s;

} // namespace

// Collects the refusals of one build so that each message is shown once.
struct Form1::BuildReport {
    bool digits = false;
    void note(const db::Error &e)
    {
        if (e.number() == 35603)
            digits = true;
    }
    void show() const
    {
        if (digits)
            msg::box(kDigitsMessage, msg::Icon::Critical);
    }
};

void Form1::setScrollIgnoringErrors(int value)
{
    try {
        m_hscroll1->setValueChecked(value);
    } catch (const db::Error &) {
    }
}

// Adds the titles of one statement under the folder node; a refused title is skipped.
void Form1::addTitles(const QString &folderKey, const QString &sql, BuildReport &report,
                      const QVariantList &parameters)
{
    auto titles = g::vt->openRecordset(sql, parameters);
    for (; !titles->eof(); titles->moveNext()) {
        const QString title = titles->text(u"Başlık"_s);
        try {
            TreeNode *n = m_tvw->add(folderKey, title, title, 3, {}, NodeKind::Title);
            n->setTag(title);
        } catch (const db::Error &e) {
            report.note(e);
        }
    }
}

TreeNode *Form1::addFolder(const QString &text, BuildReport &report)
{
    try {
        return m_tvw->add({}, text + u"0"_s, text, u"FOLDER"_s, u"openfolder"_s, NodeKind::Folder);
    } catch (const db::Error &e) {
        report.note(e);
        return nullptr;
    }
}

void Form1::tree()
{
    setScrollIgnoringErrors(m_hscroll1->maximum());
    BuildReport report;
    try {
        db::Database::ReadTransaction reading(*g::vt);
        auto letters = g::vt->openRecordset(u"basharfler"_s);
        m_tvw->clear();
        m_tvw->setImageList(m_imageList1);
        TreeView::Batch batch(*m_tvw);
        for (; !letters->eof(); letters->moveNext()) {
            const QString letter = letters->text(u"basharf"_s);
            TreeNode *folder = addFolder(letter, report);
            if (!folder)
                continue;
            addTitles(folder->key(),
                      u"SELECT Zelvoran.Başlık FROM zelvoran WHERE zelvoran.Başlık Like '"_s
                          + db::likeLiteral(letter) + u"*' ORDER BY Zelvoran.Başlık;"_s,
                      report);
        }
    } catch (const db::Error &e) {
        report.show();
        msg::box(e.description());
        return;
    }
    report.show();
}

void Form1::grnm_bslk_Click()
{
    m_frame2->setTitle(u"BAŞLIKLAR"_s);
    tree();
    setScrollIgnoringErrors(1);
    g::raporsql = u"zelvoran"_s;
    kapat();
}

// The grouped build for one field. Empty texts become Null first, so that they share the
// " Bilinmeyen" group with the Nulls; where the file cannot be written the empty texts are
// put into that group all the same.
void Form1::grouped(const QString &field, const QString &caption, const QString &lenField)
{
    m_frame2->setTitle(caption);
    try {
        // The field's index finds empty texts at once, where the UPDATE reads every record.
        if (!g::vt->openRecordset(u"SELECT Zelvoran.Başlık FROM Zelvoran WHERE Zelvoran."_s + field + u"=''"_s)->eof())
            g::vt->execute(u"UPDATE Zelvoran SET Zelvoran."_s + field + u" = Null WHERE (((Len([Zelvoran].["_s
                           + lenField + u"]))=0));"_s);
    } catch (const db::Error &) {
    }
    setScrollIgnoringErrors(m_hscroll1->maximum());

    BuildReport report;
    try {
        db::Database::ReadTransaction reading(*g::vt);
        auto groups = g::vt->openRecordset(u"SELECT Zelvoran."_s + field + u" From Zelvoran GROUP BY Zelvoran."_s + field
                                           + u" ORDER BY Zelvoran."_s + field + u";"_s);
        m_tvw->clear();
        m_tvw->setImageList(m_imageList1);
        TreeView::Batch batch(*m_tvw);
        bool unknownDone = false;
        for (; !groups->eof(); groups->moveNext()) {
            const QVariant value = groups->field(field);
            const bool unknown = value.isNull() || value.toString().isEmpty();
            if (unknown && unknownDone)
                continue;
            TreeNode *folder = addFolder(unknown ? kUnknown : value.toString(), report);
            if (!folder)
                continue;
            if (unknown) {
                unknownDone = true;
                addTitles(folder->key(),
                          u"SELECT Zelvoran.Başlık FROM zelvoran WHERE zelvoran."_s + field + u" Is Null OR zelvoran."_s
                              + field + u"='' ORDER BY Zelvoran.Başlık;"_s,
                          report);
            } else {
                // The value is bound, never pasted into the text, so any value is safe, and
                // every group runs the same prepared statement.
                addTitles(folder->key(),
                          u"SELECT Zelvoran.Başlık FROM zelvoran WHERE zelvoran."_s + field
                              + u"=? ORDER BY Zelvoran.Başlık;"_s,
                          report, {value});
            }
        }
    } catch (const db::Error &e) {
        report.show();
        msg::box(e.description());
        return;
    }
    report.show();
    setScrollIgnoringErrors(1);
    kapat();
}

void Form1::kapat()
{
    if (TreeNode *selected = m_tvw->selectedNode()) {
        if (TreeNode *parent = selected->parent())
            parent->setExpanded(false);
    }
    if (m_tvw->count() == 0)
        return;
    TreeNode *first = m_tvw->nodeAt(1);
    first->setSelected();
    first->setExpanded(false);
}

void Form1::connectGroupings()
{
    const struct {
        const char16_t *option;
        const char16_t *field;
        const char16_t *caption;
        const char16_t *lenField;
    } views[] = {
        {u"grnm_derleyen", u"Derleyen", u"DERLEYENLER", u"Derleyen"},
        {u"grnm_kaynak", u"KaynakKişi", u"KAYNAK KİŞİLER", u"KaynakKişi"},
        {u"grnm_muzik", u"Müzik", u"MÜZİK", u"Müzik"},
        {u"grnm_soz", u"Söz", u"SÖZ", u"Söz"},
        {u"grnm_turu1", u"Türü", u"TÜRÜ 1", u"Türü"},
        {u"grnm_turu2", u"Türü2", u"TÜRÜ 2", u"Türü2"},
        {u"grnm_yore", u"Yöresi", u"YÖRELER", u"yöresi"},
    };
    for (const auto &v : views) {
        auto *option = control<QAbstractButton>(QString::fromUtf16(v.option));
        if (!option)
            continue;
        const QString field = QString::fromUtf16(v.field);
        const QString caption = QString::fromUtf16(v.caption);
        const QString lenField = QString::fromUtf16(v.lenField);
        connect(option, &QAbstractButton::clicked, this, [=, this] { grouped(field, caption, lenField); });
    }
    if (auto *option = control<QAbstractButton>(u"grnm_bslk"_s))
        connect(option, &QAbstractButton::clicked, this, &Form1::grnm_bslk_Click);
}
