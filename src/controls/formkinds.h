#pragma once

namespace controls {

// Registers the kinds "button" (MyButton) and "slider" (RuvSlider) with the layout loader.
// Call once before loading a window.
void registerFormKinds();

} // namespace controls
