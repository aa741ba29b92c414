#include "appfonts.h"

#include <QFont>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace appfonts {

void install()
{
    // Every substitute draws all Turkish letters itself, with even spacing: the free
    // Tahoma clone leaves a wide blank after İ and spaces its bold loosely, and Comic Neue
    // lacks İ, Ğ and ğ. DejaVu Sans Condensed has Tahoma's widths.
    QFont::insertSubstitutions(u"Tahoma"_s, {u"DejaVu Sans Condensed"_s, u"DejaVu Sans"_s});
    QFont::insertSubstitutions(u"Arial"_s, {u"Liberation Sans"_s, u"DejaVu Sans"_s});
    QFont::insertSubstitutions(u"Times New Roman"_s, {u"Liberation Serif"_s, u"DejaVu Serif"_s});
    QFont::insertSubstitutions(u"Comic Sans MS"_s, {u"DejaVu Sans"_s});
    QFont::insertSubstitutions(u"Verdana"_s, {u"DejaVu Sans"_s});
    QFont::insertSubstitutions(u"MS Sans Serif"_s, {u"Liberation Sans"_s, u"DejaVu Sans"_s});
}

} // namespace appfonts
