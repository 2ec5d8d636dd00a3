#pragma once

#include <cstdint>

class QWidget;

// Twips, the unit of every position, size and column width the program stores: 1440 to the
// inch, mapped to 15 twips per pixel whatever the screen. Twips are 32-bit: screens wider
// than 2184 pixels pass 32767 twips.
namespace MTwips {

constexpr std::int32_t TwipsPerPixel = 15;

constexpr std::int32_t FromPixels(int iPixels) {
    return static_cast<std::int32_t>(iPixels) * TwipsPerPixel;
}

// Rounded to the nearest pixel, halves away from zero, so that FromPixels(ToPixels(t)) is
// the multiple of 15 nearest to t.
constexpr int ToPixels(std::int32_t lTwips) {
    const std::int64_t llTwips = lTwips;
    return llTwips >= 0 ? static_cast<int>((llTwips + TwipsPerPixel / 2) / TwipsPerPixel)
                        : -static_cast<int>((-llTwips + TwipsPerPixel / 2) / TwipsPerPixel);
}

// Position and size of a control inside its parent (for a top-level window: of its client
// area on the screen), in twips.
std::int32_t Left(const QWidget& oWidget);
std::int32_t Top(const QWidget& oWidget);
std::int32_t Width(const QWidget& oWidget);
std::int32_t Height(const QWidget& oWidget);
// Moves and sizes the control in one step; a negative width or height counts as 0.
void Move(QWidget& oWidget, std::int32_t lLeft, std::int32_t lTop, std::int32_t lWidth,
          std::int32_t lHeight);

} // namespace MTwips
