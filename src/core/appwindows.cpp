#include "appwindows.h"

#include "formloader.h"
#include "loadedwindows.h"
#include "valuetip.h"

#include <QDialog>
#include <QPointer>

using namespace Qt::StringLiterals;

// Resources are registered outside any namespace.
static void initCoreResources()
{
    Q_INIT_RESOURCE(forms);
    Q_INIT_RESOURCE(images);
}

namespace appwindows {

void initResources()
{
    initCoreResources();
}

void showModal(const QString &formName, QWidget *parent)
{
    auto *dialog = new QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    dialog->setObjectName(formName);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    initResources();
    FormLoader::load(u":/forms/"_s + formName + u".json"_s, dialog);
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
