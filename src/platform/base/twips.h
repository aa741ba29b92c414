#pragma once

#include <cmath>

// Layout files give positions in twips; a pixel is 15 twips, rounded to nearest, halves to even.
constexpr int kTwipsPerPixel = 15;

inline int twipsToPixels(double twips)
{
    return int(std::nearbyint(twips / kTwipsPerPixel));
}

inline double pixelsToTwips(int pixels)
{
    return double(pixels) * kTwipsPerPixel;
}
