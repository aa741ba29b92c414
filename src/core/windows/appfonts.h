#pragma once

namespace appfonts {

// Makes the window fonts' families resolve to installed free fonts of close metrics.
void install();

} // namespace appfonts
