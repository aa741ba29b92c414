#include "windowfactory.h"

#include "appwindows.h"
#include "formloader.h"
#include "frm_ekleme.h"
#include "frmabout.h"
#include "onsoz.h"

#include <QDialog>

using namespace Qt::StringLiterals;

namespace appwindows {

QDialog *create(const QString &formName, QWidget *parent)
{
    if (formName == u"frm_ekleme"_s)
        return new FrmEkleme(parent);
    if (formName == u"onsoz"_s)
        return new Onsoz(parent);
    if (formName == u"frmabout"_s)
        return new FrmAbout(parent);
    auto *dialog = new QDialog(parent, kToolWindow);
    dialog->setObjectName(formName);
    initResources();
    FormLoader::load(u":/forms/"_s + formName + u".json"_s, dialog);
    return dialog;
}

void showModal(const QString &formName, QWidget *parent)
{
    QDialog *dialog = create(formName, parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    runModal(dialog);
}

} // namespace appwindows
