#include "search.h"

#include "recordset.h"
#include "sqltext.h"
#include "treeview.h"
#include "widgeterrors.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace search {

namespace {

// The texts between which the word goes, each time as '*word*'.
QStringList pieces(Scope scope)
{
    switch (scope) {
    case Scope::Title:
        return {u"select * from zelvoran where başlık like "_s, {}};
    case Scope::TitleAndLyrics:
        return {u"select * from zelvoran where başlık like "_s, u" or sözler like "_s, {}};
    case Scope::Region:
        return {u"select * from zelvoran where yöresi like "_s, {}};
    case Scope::AllFields:
        return {u"SELECT * From Zelvoran Where Başlık Like "_s,
                u" Or Yöresi Like "_s,
                u" Or Türü Like "_s,
                u" Or derleyen Like "_s,
                u" Or KaynakKişi Like "_s,
                u" Or Söz Like "_s,
                u" Or Müzik Like "_s,
                u" Or Söyleyenler Like "_s,
                u" Or Sözler Like "_s,
                u" or açıklama Like "_s,
                u" or digerbilgiler Like "_s,
                u" or türü2 Like "_s,
                {}};
    case Scope::Dictionary:
        return {u"select * from sozluk where deyim like "_s, u" order by deyim"_s};
    case Scope::None:
        break;
    }
    return {};
}

} // namespace

QString hint()
{
    return u"Aranacak kelime..."_s;
}

Scope firstTicked(bool title, bool titleAndLyrics, bool region, bool allFields, bool dictionary)
{
    if (title)
        return Scope::Title;
    if (titleAndLyrics)
        return Scope::TitleAndLyrics;
    if (region)
        return Scope::Region;
    if (allFields)
        return Scope::AllFields;
    return dictionary ? Scope::Dictionary : Scope::None;
}

Statement statement(Scope scope, const QString &word)
{
    const QStringList parts = pieces(scope);
    Statement s;
    if (parts.isEmpty())
        return s;
    const QString literal = db::likeLiteral(word);
    // The bound pattern is the literal without the doubled apostrophes of a quoted text.
    const QString pattern = u"*"_s + QString(literal).replace(u"''"_s, u"'"_s) + u"*"_s;
    s.text = parts.first();
    // The hits' tree needs only the titles, which the engine then reads with the keys.
    s.bound = scope == Scope::Dictionary
                  ? parts.first()
                  : QString(parts.first()).replace(u"select * from"_s, u"select Başlık from"_s, Qt::CaseInsensitive);
    for (qsizetype i = 1; i < parts.size(); ++i) {
        s.text += u"'*"_s + literal + u"*'"_s + parts.at(i);
        s.bound += u"?"_s + parts.at(i);
        s.values << pattern;
    }
    // In the order of the table, as the statement's own scan delivers them.
    if (scope != Scope::Dictionary)
        s.bound += u" ORDER BY rowid"_s;
    return s;
}

Hits buildTree(TreeView &tree, ImageList *images, db::Recordset &hits, const QString &word)
{
    Hits result;
    tree.clear();
    tree.setImageList(images);
    TreeView::Batch batch(tree);
    tree.add({}, u"TÜMÜ..."_s, u"TÜMÜ..."_s, u"ev"_s, u"ev"_s, NodeKind::Root);
    tree.add(u"TÜMÜ..."_s, u"aranankelime"_s, word, u"FOLDER"_s, u"openfolder"_s, NodeKind::SearchWord);
    TreeNode *first = nullptr;
    for (; !hits.eof(); hits.moveNext()) {
        ++result.count;
        const QString title = hits.text(u"Başlık"_s);
        try {
            TreeNode *n = tree.add(u"aranankelime"_s, title, title, 3, {}, NodeKind::Title);
            n->setTag(title);
            if (!first)
                first = n;
        } catch (const db::Error &e) {
            if (e.number() == widgeterrors::InvalidKey)
                ++result.digitsOnly;
        }
    }
    // Selected once the hits stand: a shown parent would take each later child one by one.
    if (first) {
        first->setSelected();
        result.first = first->key();
    }
    return result;
}

} // namespace search
