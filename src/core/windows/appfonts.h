#pragma once

#include <QFont>

namespace appfonts {

// Makes the window fonts' families resolve to installed free fonts of close metrics,
// and the application's default font never joins letters into ligatures.
void install();

// The font with its letters never joined: Turkish typesetting keeps "fi" apart, and the
// ligature's i has no dot.
QFont unjoined(QFont font);

} // namespace appfonts
