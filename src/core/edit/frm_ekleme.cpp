#include "frm_ekleme.h"

#include "dberror.h"
#include "fieldtextedit.h"
#include "form1.h"
#include "globals.h"
#include "messagebox.h"
#include "mybutton.h"
#include "newsong.h"
#include "titleedit.h"

#include <QLineEdit>
#include <QPlainTextEdit>

using namespace Qt::StringLiterals;

FrmEkleme::FrmEkleme(QWidget *parent)
    : appwindows::Window(u"frm_ekleme"_s, parent)
{
    if (auto *b = findChild<MyButton *>(u"ekle"_s))
        connect(b, &MyButton::Click, this, &FrmEkleme::ekle_Click);
    if (auto *b = findChild<MyButton *>(u"kapat"_s))
        connect(b, &MyButton::Click, this, &FrmEkleme::kapat_Click);
}

QVariant FrmEkleme::ToNull(const QVariant &veri)
{
    return newsong::nullIfEmpty(veri);
}

QString FrmEkleme::boxText(const QString &name) const
{
    if (auto *e = findChild<QLineEdit *>(name))
        return e->text();
    if (auto *e = findChild<QPlainTextEdit *>(name))
        return FieldTextEdit::text(e);
    return {};
}

void FrmEkleme::ekle_Click()
{
    const QString title = boxText(u"bslk"_s);
    if (const QString problem = titleedit::titleProblem(title); !problem.isEmpty()) {
        msg::box(problem, msg::Icon::Critical);
        return;
    }
    if (!g::vt)
        return;
    // The main window's pending edit first, so that nothing is rebuilt over it.
    if (g::anaform && !g::anaform->saveShownRecord())
        return;

    // The boxes in the order their fields are set.
    const struct {
        const char16_t *field, *box;
    } boxes[] = {
        {u"Yöresi", u"yore"},          {u"Türü", u"turu1"},    {u"Derleyen", u"derleyen"},
        {u"KaynakKişi", u"kaynak"},    {u"Söz", u"soz"},       {u"Müzik", u"muzik"},
        {u"Söyleyenler", u"soyleyen"}, {u"Sözler", u"sozler"}, {u"Açıklama", u"aciklama"},
        {u"digerbilgiler", u"diger"},  {u"Türü2", u"turu2"},
    };
    QList<std::pair<QString, QString>> fields;
    for (const auto &b : boxes)
        fields.append({QString::fromUtf16(b.field), boxText(QString::fromUtf16(b.box))});
    if (const auto e = newsong::add(*g::vt, title, fields)) {
        if (e->number() == db::DuplicateKey)
            msg::box(u"[ "_s + title + u" ] adında bir kayıt zaten var!"_s, msg::Icon::Critical);
        else
            msg::box(e->description());
        return;
    }
    try {
        if (g::anaform)
            g::anaform->songAdded();
    } catch (const db::Error &e) {
        msg::box(e.description());
        return;
    }
    msg::box(u"Kayıt başarıyla eklendi"_s);
}

void FrmEkleme::kapat_Click()
{
    close();
}
