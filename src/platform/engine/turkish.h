#pragma once

#include <QString>
#include <QStringView>

// Turkish text rules shared by the engine, the tree and the windows. Table-driven and
// independent of the system locale, so that an index built on one machine holds on another.
namespace turkish {

// Lower case with the Turkish pairs I/ı and İ/i; used as the equality key.
QString fold(QStringView s);
// Upper case with the Turkish pairs (i becomes İ, ı becomes I).
QString upper(QStringView s);
// Case-insensitive comparison in Turkish alphabetical order
// (a b c ç d e f g ğ h ı i j k l m n o ö p q r s ş t u ü v w x y z); <0, 0, >0.
int compare(QStringView a, QStringView b);
bool equal(QStringView a, QStringView b);
// fold(a) == fold(b), and a hash of fold(s), without making the folded texts.
bool equalFolded(QStringView a, QStringView b);
size_t foldedHash(QStringView s, size_t seed = 0);

} // namespace turkish
