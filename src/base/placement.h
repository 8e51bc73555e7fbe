// Window placement: a saved window rectangle and the rule that brings it onto the screen.
#pragma once

namespace quova {

// A saved rectangle brought onto an area: non-positive sizes take the defaults, a size
// larger than the area is cut to it, and the window is moved so that it lies inside. An
// area without a size leaves the rectangle as it is (after the size defaults).
struct Placement {
  int x, y, w, h;
};
Placement clampedToArea(Placement r, int defaultW, int defaultH, int areaWidth, int areaHeight);

}  // namespace quova
