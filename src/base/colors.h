// Colour values as the settings files and charts store them.
#pragma once

#include <array>
#include <cstdint>

namespace quova {

using COLORREF = std::uint32_t;  // red in the low byte, then green, blue and a zero byte
constexpr COLORREF RGB(unsigned r, unsigned g, unsigned b) { return r | g << 8 | b << 16; }
using Palette = std::array<COLORREF, 16>;

// The system colours the Windows default palette is built from; the windows layer sets
// the desktop's own before loading.
struct SystemColors {
  COLORREF windowText = RGB(0, 0, 0);
  COLORREF window = RGB(255, 255, 255);
};

}  // namespace quova
