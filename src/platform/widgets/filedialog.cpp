#include "filedialog.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace fileopen {

namespace {

std::function<QString(const Request &)> &handler()
{
    static std::function<QString(const Request &)> h;
    return h;
}

QString existingFolder(const QString &folder)
{
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        return folder;
    return QDir::homePath();
}

} // namespace

QStringList nameFilters(const QString &filter)
{
    if (!filter.contains(QChar(u'\0')))
        return filter.split(u";;"_s, Qt::SkipEmptyParts);
    QStringList parts = filter.split(QChar(u'\0'));
    // The text ends with a NUL, so the last part is empty.
    if (!parts.isEmpty() && parts.constLast().isEmpty())
        parts.removeLast();
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts.at(i).trimmed();
        QStringList patterns = parts.at(i + 1).split(u';', Qt::SkipEmptyParts);
        for (QString &p : patterns)
            p = p.trimmed();
        const QString wanted = u"("_s + patterns.join(u' ') + u")"_s;
        // The dialog filters by the last parenthesised list, so it must be the pattern.
        out.append(description.endsWith(wanted) ? description : description + u" "_s + wanted);
    }
    return out;
}

QString getOpenFileName(const QString &startFolder, const QString &filter, const QString &title)
{
    Request request{Request::Kind::OpenFile, title, existingFolder(startFolder), nameFilters(filter)};
    if (handler())
        return handler()(request);

    QFileDialog dialog(QApplication::activeWindow(), title, request.startFolder);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!request.nameFilters.isEmpty())
        dialog.setNameFilters(request.nameFilters);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

QString getFolder(const QString &title, const QString &start)
{
    Request request{Request::Kind::Folder, title, existingFolder(start), {}};
    if (handler())
        return handler()(request);

    QFileDialog dialog(QApplication::activeWindow(), title, request.startFolder);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setFileMode(QFileDialog::Directory);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

void setHandler(std::function<QString(const Request &)> h)
{
    handler() = std::move(h);
}

void clearHandler()
{
    handler() = nullptr;
}

} // namespace fileopen
