// The placement rule of saved window rectangles.
#include "base/placement.h"

#include <algorithm>

namespace quova {

Placement clampedToArea(Placement r, int defaultW, int defaultH, int areaWidth, int areaHeight) {
  if (r.w <= 0 || r.h <= 0) r.w = defaultW, r.h = defaultH;
  if (areaWidth <= 0 || areaHeight <= 0) return r;
  r.w = std::min(r.w, areaWidth);
  r.h = std::min(r.h, areaHeight);
  r.x = std::clamp(r.x, 0, areaWidth - r.w);
  r.y = std::clamp(r.y, 0, areaHeight - r.h);
  return r;
}

}  // namespace quova
