#include "form1controls.h"

#include "datacontrol.h"
#include "dropdowncombo.h"
#include "imagelist.h"
#include "mybutton.h"
#include "recordscrollbar.h"
#include "ruvslider.h"
#include "statusbar.h"
#include "treeview.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace form1controls {

namespace {

class Finder {
public:
    explicit Finder(QWidget *form)
        : m_form(form)
    {
    }

    template <typename T>
    void operator()(T *&slot, const QString &name)
    {
        slot = m_form->findChild<T *>(name);
        if (!slot)
            m_missing << name;
    }

    const QStringList &missing() const { return m_missing; }

private:
    QWidget *m_form;
    QStringList m_missing;
};

} // namespace

std::variant<Form1Controls, QStringList> find(QWidget *form)
{
    Form1Controls c{};
    Finder need(form);
    need(c.Data1, u"Data1"_s);
    need(c.Data2, u"Data2"_s);
    need(c.Timer1, u"Timer1"_s);
    need(c.ImageList1, u"ImageList1"_s);
    need(c.stbar, u"stbar"_s);
    need(c.TVW, u"TVW"_s);
    need(c.HScroll1, u"HScroll1"_s);
    need(c.Frame2, u"Frame2"_s);
    need(c.Text3, u"Text3"_s);
    need(c.Text1, u"Text1"_s);
    need(c.sozcuk, u"sozcuk"_s);
    for (size_t i = 0; i < c.txt.size(); ++i)
        need(c.txt[i], u"txt(%1)"_s.arg(i));
    need(c.option1, u"option1"_s);
    need(c.option2, u"option2"_s);
    need(c.sil, u"sil"_s);
    need(c.RPR, u"RPR"_s);
    need(c.szlkac, u"szlkac"_s);
    need(c.about, u"about"_s);
    need(c.cmd_ekle, u"cmd_ekle"_s);
    need(c.hlp, u"hlp"_s);
    need(c.cmdonsoz, u"cmdonsoz"_s);
    need(c.ara, u"ara"_s);
    for (size_t i = 0; i < c.scopes.size(); ++i)
        need(c.scopes[i], QString::fromUtf16(kScopes[i]));
    need(c.sbaslikara, u"sbaslikara"_s);
    for (size_t i = 0; i < c.grnm.size(); ++i)
        need(c.grnm[i], QString::fromUtf16(kGroupings[i]));
    need(c.mp3yol0, u"mp3yol0"_s);
    need(c.Command1, u"Command1"_s);
    for (size_t i = 0; i < 4; ++i) {
        need(c.Play[i], u"Play%1"_s.arg(i + 1));
        need(c.sec[i], u"sec%1"_s.arg(i + 1));
        need(c.mp3yol[i], u"mp3yol%1"_s.arg(i + 1));
    }
    for (size_t i = 0; i < c.uz.size(); ++i)
        need(c.uz[i], u"uz%1"_s.arg(i + 1));
    need(c.MyButton3, u"MyButton3"_s);
    need(c.stop, u"stop"_s);
    need(c.sldvolume, u"sldvolume"_s);
    const QString frames[] = {u"Frame1"_s,    u"Frame2"_s, u"Frame3(0)"_s, u"Frame3(1)"_s,
                              u"Frame3(2)"_s, u"Frame4"_s, u"Frame5"_s,    u"Frame6"_s};
    for (size_t i = 0; i < c.frames.size(); ++i)
        need(c.frames[i], frames[i]);
    if (!need.missing().isEmpty())
        return need.missing();
    return c;
}

QString layoutFailure(const QStringList &missing, const QStringList &loaderProblems)
{
    QString text = u"Ana pencerenin düzeni eksik; program açılamıyor."_s;
    if (!missing.isEmpty())
        text += u"\n\nDüzende bulunmayan ya da türü farklı denetimler: "_s + missing.join(u", "_s);
    if (!loaderProblems.isEmpty())
        text += u"\n\nDüzen okunurken:\n"_s + loaderProblems.join(u'\n');
    return text + u"\n\nProgramı yeniden kurun."_s;
}

} // namespace form1controls
