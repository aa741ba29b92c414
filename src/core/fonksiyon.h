#pragma once

#include <QString>
#include <QVariant>

// Free routines shared by the windows.
namespace fonksiyon {

// The file-open dialog: the chosen path exactly as chosen followed by one NUL
// character, or the empty text when cancelled. filtre: description NUL pattern NUL pairs.
QString dosyaac(const QString &baslangic, const QString &filtre);

// Rebuilds the credits line of every song in the open song database, in one transaction.
// Throws db::Error and then leaves every line as it was.
void girismoduyaz();

// The report query for the report's provider: the Like wildcards * ? # become % _ [0-9].
// A Like whose pattern is no text puts the message naming it in *unreadable.
QString jokercevir(const QVariant &sql, QString *unreadable = nullptr);

} // namespace fonksiyon
