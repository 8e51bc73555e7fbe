// sin and cos of long double arguments, for the Fourier fit and the curves of stored fits.
#pragma once

#include <cmath>

namespace quova {

inline constexpr long double kTwoPi = 6.283185307179586476925286766559L;

// sin and cos of a together. The argument is first brought into [-pi/4, pi/4] with pi/2
// split into a 33-bit head (so k times it is exact) and its tail: the library's own
// reduction of long double arguments beyond pi/4 is many times slower than the kernels,
// and a stored fit takes one pair per quote of the window on every paint.
inline void sinCos(long double a, long double& s, long double& c) {
  constexpr long double kPio2Hi = 1.570796326734125614166259765625L;
  constexpr long double kPio2Lo = 6.07710050650619260147514420985846996875529e-11L;
  constexpr long double kTwoOverPi = 0.636619772367581343075535053490057448L;
  if (!(std::fabs(a) < 1.0e9L)) {
    s = std::sin(a);
    c = std::cos(a);
    return;
  }
  // The nearest quadrant; a conversion, not nearbyint, which saves the rounding mode.
  const long double t = a * kTwoOverPi;
  const long long q = static_cast<long long>(t + (t >= 0 ? 0.5L : -0.5L));
  const long double k = static_cast<long double>(q);
  const long double r = (a - k * kPio2Hi) - k * kPio2Lo;
  const long double sr = std::sin(r), cr = std::cos(r);
  switch (q & 3) {
    case 0: s = sr, c = cr; break;
    case 1: s = cr, c = -sr; break;
    case 2: s = -sr, c = -cr; break;
    default: s = -cr, c = sr; break;
  }
}

}  // namespace quova
