#include "onsoz.h"

#include "database.h"
#include "datacontrol.h"
#include "dberror.h"
#include "formspec.h"
#include "globals.h"
#include "messagebox.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QResizeEvent>

using namespace Qt::StringLiterals;

Onsoz::Onsoz(QWidget *parent)
    : appwindows::Window(u"onsoz"_s, parent,
                         Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    m_data1 = findChild<db::DataControl *>(u"Data1"_s);
    Form_Load();
}

void Onsoz::Form_Load()
{
    if (!m_data1 || !g::ayarvt)
        return;
    m_data1->setDatabaseName(g::ayarvt->name());
    m_data1->setRecordSource(u"onsoz"_s);
    try {
        m_data1->refresh();
    } catch (const db::Error &e) {
        msg::box(e.description());
    }
}

Onsoz::Layout Onsoz::layoutFor(double outerWidth, double outerHeight, double text1Left)
{
    const double width = outerWidth / 2 - 300;
    return {width, outerHeight - 1200, text1Left + width + 200};
}

void Onsoz::resizeEvent(QResizeEvent *e)
{
    appwindows::Window::resizeEvent(e);
    Form_Resize();
}

// A size below zero is skipped and the box keeps its last one.
void Onsoz::Form_Resize()
{
    auto *text1 = findChild<QPlainTextEdit *>(u"Text1"_s);
    auto *text2 = findChild<QPlainTextEdit *>(u"Text2"_s);
    auto *label2 = findChild<QLabel *>(u"Label2"_s);
    if (!text1 || !text2 || !label2)
        return;
    const Layout l = layoutFor(pixelsToTwips(frameGeometry().width()), pixelsToTwips(frameGeometry().height()),
                               pixelsToTwips(text1->x()));
    for (QPlainTextEdit *box : {text1, text2}) {
        if (l.boxHeight >= 0)
            box->resize(box->width(), twipsToPixels(l.boxHeight));
        if (l.boxWidth >= 0)
            box->resize(twipsToPixels(l.boxWidth), box->height());
    }
    if (l.boxWidth >= 0) {
        text2->move(twipsToPixels(l.text2Left), text2->y());
        label2->move(text2->x(), label2->y());
    }
}
