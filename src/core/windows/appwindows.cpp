#include "appwindows.h"

#include "formloader.h"
#include "loadedwindows.h"
#include "valuetip.h"

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
