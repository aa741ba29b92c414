#include "appfonts.h"

#include <QGuiApplication>
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
    // Widget fonts that set only family, size or style take this one's spacing.
    QGuiApplication::setFont(unjoined(QGuiApplication::font()));
}

QFont unjoined(QFont font)
{
    // Qt's shaper drops the ligature features of a font with letter spacing; a hundredth of
    // a percent is below a device pixel. Unlike QFont::PreferNoShaping it keeps the
    // combining marks in place (a dot over i, a circumflex over a).
    const double spacing = font.letterSpacing();
    const bool spaced = font.letterSpacingType() == QFont::AbsoluteSpacing ? spacing != 0
                                                                           : spacing != 0 && spacing != 100;
    if (!spaced)
        font.setLetterSpacing(QFont::PercentageSpacing, 100.01);
    return font;
}

} // namespace appfonts
