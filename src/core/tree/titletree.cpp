#include "titletree.h"

#include "database.h"
#include "recordset.h"
#include "statement.h"
#include "treeview.h"
#include "turkish.h"

#include <QHash>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace titletree {

const GroupedView kDerleyen{u"Derleyen"_s, u"DERLEYENLER"_s, u"Derleyen"_s};
const GroupedView kKaynak{u"KaynakKişi"_s, u"KAYNAK KİŞİLER"_s, u"KaynakKişi"_s};
const GroupedView kMuzik{u"Müzik"_s, u"MÜZİK"_s, u"Müzik"_s};
const GroupedView kSoz{u"Söz"_s, u"SÖZ"_s, u"Söz"_s};
const GroupedView kTuru1{u"Türü"_s, u"TÜRÜ 1"_s, u"Türü"_s};
const GroupedView kTuru2{u"Türü2"_s, u"TÜRÜ 2"_s, u"Türü2"_s};
const GroupedView kYore{u"Yöresi"_s, u"YÖRELER"_s, u"yöresi"_s};

const QString kUnknown = u" Bilinmeyen"_s;
const QString kDigitsMessage = u"Başlıklarda sadece rakamlardan oluşan kayıtlar var! Bu kayıtları silmelisiniz."_s;

QList<msg::Request> messages(const BuildReport &report)
{
    QList<msg::Request> out;
    auto add = [&out](const QString &text, msg::Icon icon) {
        msg::Request r;
        r.text = text;
        r.icon = icon;
        out.append(r);
    };
    if (report.digitKeys)
        add(kDigitsMessage, msg::Icon::Critical);
    if (report.failure)
        add(report.failure->description(), msg::Icon::None);
    return out;
}

void nullEmptyTexts(db::Database &vt, const GroupedView &view)
{
    try {
        // The field's index finds empty texts at once, where the UPDATE reads every record.
        if (!vt.openRecordset(u"SELECT Zelvoran.Başlık FROM Zelvoran WHERE Zelvoran."_s + view.field + u"=''"_s)->eof())
            vt.execute(u"UPDATE Zelvoran SET Zelvoran."_s + view.field + u" = Null WHERE (((Len([Zelvoran].["_s
                       + view.lenField + u"]))=0));"_s);
    } catch (const db::Error &) {
        // A file that cannot be written keeps its empty texts; the builds file them with the Nulls.
    }
}

TitleTree::TitleTree(TreeView &view, ImageList *images)
    : m_view(view)
    , m_images(images)
{
}

// Two folders whose texts differ only where the tree's keys do not (a value that reads
// " Bilinmeyen" beside the records without one) share one node, so no title is hidden.
TreeNode *TitleTree::addFolder(const QString &text, bool *made)
{
    const QString key = text + u"0"_s;
    TreeNode *same = m_view.findFolder(key);
    if (made)
        *made = !same;
    return same ? same : m_view.add({}, key, text, u"FOLDER"_s, u"openfolder"_s, NodeKind::Folder);
}

// Adds the titles of one statement under the folder node; a refused title is skipped.
// With a spelling field, the folder takes the spelling most of its titles have, the
// earliest title's on a tie.
void TitleTree::addTitles(db::Database &vt, TreeNode *folder, const QString &sql, BuildReport &report,
                          const QVariantList &parameters, const QString &spellingField)
{
    auto titles = vt.openRecordset(sql, parameters);
    QList<QPair<QString, int>> spellings;
    for (; !titles->eof(); titles->moveNext()) {
        const QString title = titles->text(u"Başlık"_s);
        if (!spellingField.isEmpty()) {
            const QString spelling = titles->text(spellingField);
            auto it = std::find_if(spellings.begin(), spellings.end(),
                                   [&](const auto &s) { return s.first == spelling; });
            if (it == spellings.end())
                spellings.append({spelling, 1});
            else
                ++it->second;
        }
        addTitle(folder, title, report);
    }
    const auto most = std::max_element(spellings.cbegin(), spellings.cend(),
                                       [](const auto &a, const auto &b) { return a.second < b.second; });
    if (most != spellings.cend() && most->first != folder->text()) {
        folder->setKey(most->first + u"0"_s);
        folder->setText(most->first);
    }
}

QString initial(const QString &title)
{
    for (qsizetype i = 0; i < title.size(); ++i) {
        const QChar c = title.at(i);
        if (c.isSpace())
            continue;
        if (c.isHighSurrogate() && i + 1 < title.size())
            return turkish::upper(title.mid(i, 2));
        switch (c.unicode()) {
        case u'â':
        case u'Â':
            return u"A"_s;
        case u'î':
        case u'Î':
            return u"İ"_s;
        case u'û':
        case u'Û':
            return u"U"_s;
        default:
            return turkish::upper(QString(c));
        }
    }
    return {};
}

namespace {

bool digitsOnly(const QString &title)
{
    return !title.isEmpty()
           && std::all_of(title.cbegin(), title.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

void TitleTree::addTitle(TreeNode *folder, const QString &title, BuildReport &report)
{
    try {
        TreeNode *n = m_view.add(folder->key(), title, title, 3, {}, NodeKind::Title);
        n->setTag(title);
    } catch (const db::Error &e) {
        report.digitKeys |= e.number() == 35603;
    }
}

// Every title files under the first letter of basharfler that begins it, or else under
// its own initial.
BuildReport TitleTree::byLetter(db::Database &vt)
{
    struct Folder {
        QString text;
        bool listed = false; // a letter of basharfler
        QStringList titles;
    };
    BuildReport report;
    try {
        db::Database::ReadTransaction reading(vt);
        QList<Folder> folders;
        QHash<QString, qsizetype> byFold; // a folder's index by its folded text
        const auto folderFor = [&](const QString &text, bool listed) {
            const QString folded = turkish::fold(text);
            auto it = byFold.constFind(folded);
            if (it != byFold.cend())
                return *it;
            folders.append({text, listed, {}});
            byFold.insert(folded, folders.size() - 1);
            return folders.size() - 1;
        };
        // The letters by their first folded character, each with its folder, as delivered.
        QHash<QChar, QList<QPair<QString, qsizetype>>> letters;
        qsizetype longest = 1; // the folding keeps lengths: a title's prefix this long will do
        {
            auto rows = vt.openRecordset(u"basharfler"_s);
            for (; !rows->eof(); rows->moveNext()) {
                // An empty letter would take in every title.
                const QString letter = rows->text(u"basharf"_s);
                if (!letter.isEmpty()) {
                    letters[turkish::fold(letter).at(0)].append({turkish::fold(letter), folderFor(letter, true)});
                    longest = std::max(longest, letter.size());
                }
            }
        }
        // Read once, forward: a recordset would keep a keyset and, past its prefetch, look
        // every row up in the table itself.
        db::Statement titles(vt, vt.translate(u"SELECT Zelvoran.Başlık FROM Zelvoran ORDER BY Zelvoran.Başlık;"_s));
        while (titles.step()) {
            const QString title = titles.value(0).toString();
            const QString folded = turkish::fold(QStringView(title).left(longest));
            qsizetype folder = -1;
            if (!folded.isEmpty()) {
                for (const auto &[letter, index] : letters.value(folded.at(0))) {
                    if (folded.startsWith(letter)) {
                        folder = index;
                        break;
                    }
                }
            }
            if (folder < 0) {
                // No folder of its own for a title the tree refuses.
                if (digitsOnly(title)) {
                    report.digitKeys = true;
                    continue;
                }
                const QString own = initial(title);
                folder = folderFor(own.isEmpty() ? kUnknown : own, false);
            }
            folders[folder].titles.append(title);
        }
        // basharfler's letters as delivered, the other initials merged in among them.
        QList<const Folder *> listed, others, order;
        for (const Folder &f : std::as_const(folders))
            (f.listed ? listed : others).append(&f);
        std::sort(others.begin(), others.end(),
                  [](const Folder *a, const Folder *b) { return turkish::compare(a->text, b->text) < 0; });
        for (qsizetype i = 0, j = 0; i < listed.size() || j < others.size();) {
            if (j < others.size() && (i == listed.size() || turkish::compare(others[j]->text, listed[i]->text) < 0))
                order.append(others[j++]);
            else
                order.append(listed[i++]);
        }

        m_view.clear();
        m_view.setImageList(m_images);
        TreeView::Batch batch(m_view);
        qsizetype titleCount = 0;
        for (const Folder *f : std::as_const(order))
            titleCount += f->titles.size();
        m_view.reserve(order.size(), NodeKind::Folder);
        m_view.reserve(titleCount);
        for (const Folder *f : std::as_const(order)) {
            TreeNode *node = addFolder(f->text);
            for (const QString &title : f->titles)
                addTitle(node, title, report);
        }
    } catch (const db::Error &e) {
        report.failure = e;
    }
    return report;
}

BuildReport TitleTree::grouped(db::Database &vt, const GroupedView &view)
{
    const QString &field = view.field;
    BuildReport report;
    try {
        db::Database::ReadTransaction reading(vt);
        auto groups = vt.openRecordset(u"SELECT Zelvoran."_s + field + u" From Zelvoran GROUP BY Zelvoran."_s + field
                                       + u" ORDER BY Zelvoran."_s + field + u";"_s);
        m_view.clear();
        m_view.setImageList(m_images);
        TreeView::Batch batch(m_view);
        bool unknownDone = false;
        for (; !groups->eof(); groups->moveNext()) {
            const QVariant value = groups->field(field);
            const bool unknown = value.isNull() || value.toString().isEmpty();
            if (unknown && unknownDone)
                continue;
            bool made = false;
            TreeNode *folder = addFolder(unknown ? kUnknown : value.toString(), &made);
            if (unknown) {
                unknownDone = true;
                addTitles(vt, folder,
                          u"SELECT Zelvoran.Başlık FROM zelvoran WHERE zelvoran."_s + field + u" Is Null OR zelvoran."_s
                              + field + u"='' ORDER BY Zelvoran.Başlık;"_s,
                          report);
            } else {
                // The value is bound, never pasted into the text, so any value is safe, and
                // every group runs the same prepared statement.
                addTitles(vt, folder,
                          u"SELECT Zelvoran.Başlık, Zelvoran."_s + field + u" FROM zelvoran WHERE zelvoran."_s + field
                              + u"=? ORDER BY Zelvoran.Başlık;"_s,
                          report, {value}, made ? field : QString());
            }
        }
    } catch (const db::Error &e) {
        report.failure = e;
    }
    return report;
}

// Every step is skipped where it does not apply.
void TitleTree::collapse()
{
    if (TreeNode *selected = m_view.selectedNode()) {
        if (TreeNode *parent = selected->parent())
            parent->setExpanded(false);
    }
    if (m_view.count() == 0)
        return;
    TreeNode *first = m_view.nodeAt(1);
    first->setSelected();
    first->setExpanded(false);
}

} // namespace titletree
