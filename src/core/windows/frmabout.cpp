#include "frmabout.h"

#include "mybutton.h"

using namespace Qt::StringLiterals;

FrmAbout::FrmAbout(QWidget *parent)
    : appwindows::Window(u"frmabout"_s, parent, Qt::Tool | Qt::CustomizeWindowHint)
{
    if (auto *b = findChild<MyButton *>(u"kapat"_s))
        connect(b, &MyButton::Click, this, &FrmAbout::kapat_Click);
}

void FrmAbout::kapat_Click()
{
    close();
}
