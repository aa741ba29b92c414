#pragma once

#include <QString>

// Free routines shared by the windows.
namespace fonksiyon {

// The file-open dialog: the chosen path exactly as chosen followed by one NUL
// character, or the empty text when cancelled. filtre: description NUL pattern NUL pairs.
QString dosyaac(const QString &baslangic, const QString &filtre);

} // namespace fonksiyon
