#include "appwindows.h"

#include "formloader.h"
#include "loadedwindows.h"

#include <QDialog>
#include <QPointer>

using namespace Qt::StringLiterals;

namespace appwindows {

void showModal(const QString &formName, QWidget *parent)
{
    QPointer<QDialog> dialog = new QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    dialog->setObjectName(formName);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    FormLoader::load(u":/forms/"_s + formName + u".json"_s, dialog);
    loadedwindows::add(dialog);
    dialog->exec();
    if (dialog)
        loadedwindows::remove(dialog);
}

void closeValueTip()
{
    // The tip window comes with the skinned controls; until then nothing is shown.
}

} // namespace appwindows
