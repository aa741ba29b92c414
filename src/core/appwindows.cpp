#include "appwindows.h"

#include "formloader.h"
#include "frm_ekleme.h"
#include "frmabout.h"
#include "loadedwindows.h"
#include "valuetip.h"
#include "onsoz.h"

#include <QDialog>
#include <QKeyEvent>
#include <QPointer>

using namespace Qt::StringLiterals;

// Resources are registered outside any namespace.
static void initCoreResources()
{
    Q_INIT_RESOURCE(forms);
    Q_INIT_RESOURCE(images);
}

namespace appwindows {

namespace {
constexpr Qt::WindowFlags kToolWindow = Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
}

Window::Window(const QString &formName, QWidget *parent, Qt::WindowFlags flags)
    : QDialog(parent, flags ? flags : kToolWindow)
{
    setObjectName(formName);
    initResources();
    FormLoader::load(u":/forms/"_s + formName + u".json"_s, this);
}

void Window::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape) {
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

void initResources()
{
    initCoreResources();
}

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

void runModal(QDialog *dialog)
{
    QPointer<QDialog> guard = dialog;
    loadedwindows::add(dialog);
    dialog->exec();
    if (guard)
        loadedwindows::remove(guard);
}

void closeValueTip()
{
    ValueTip::unload();
}

} // namespace appwindows
