#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// The file-open and folder dialogs. Tests answer them through setHandler.
namespace fileopen {

struct Request {
    enum class Kind { OpenFile, Folder };
    Kind kind = Kind::OpenFile;
    QString title;
    QString startFolder;
    QStringList nameFilters; // OpenFile only, as the dialog shows them
};

// filter: description and pattern pairs, each followed by one NUL character
// ("Türkü Veritabanı (*.qel)\0*.qel\0"); patterns separated by ';'. The start folder
// falls back to the user's home when it does not exist. A name of a file that does not
// exist is accepted. Returns the path as chosen, empty when cancelled.
QString getOpenFileName(const QString &startFolder, const QString &filter, const QString &title);
// A folder chooser; empty when cancelled.
QString getFolder(const QString &title, const QString &start);

// The dialog's name filters for a NUL-separated filter text.
QStringList nameFilters(const QString &filter);

void setHandler(std::function<QString(const Request &)> handler);
void clearHandler();

} // namespace fileopen
