// The in-place radix-2 complex transform.
#include "chart/transform.h"

#include <cmath>
#include <utility>

namespace quova {

void dft(std::vector<float>& data, int nn, int isign) {
  if (nn < 1 || data.size() < 2 * static_cast<std::size_t>(nn)) return;
  // 1-based addressing as the butterflies are usually written.
  auto d = [&](int i) -> float& { return data[i - 1]; };
  const int n = nn << 1;
  int j = 1;
  for (int i = 1; i < n; i += 2) {
    if (j > i) {
      std::swap(d(j), d(i));
      std::swap(d(j + 1), d(i + 1));
    }
    int m = nn;
    while (m >= 2 && j > m) {
      j -= m;
      m >>= 1;
    }
    j += m;
  }
  int mmax = 2;
  while (n > mmax) {
    const int istep = mmax << 1;
    const double theta = 6.28318530717959 / (isign * mmax);
    double wtemp = std::sin(0.5 * theta);
    const double wpr = -2.0 * wtemp * wtemp, wpi = std::sin(theta);
    double wr = 1.0, wi = 0.0;
    for (int m = 1; m < mmax; m += 2) {
      for (int i = m; i <= n; i += istep) {
        j = i + mmax;
        const float tempr = static_cast<float>(wr * d(j) - wi * d(j + 1));
        const float tempi = static_cast<float>(wr * d(j + 1) + wi * d(j));
        d(j) = d(i) - tempr;
        d(j + 1) = d(i + 1) - tempi;
        d(i) += tempr;
        d(i + 1) += tempi;
      }
      wr = (wtemp = wr) * wpr - wi * wpi + wr;
      wi = wi * wpr + wtemp * wpi + wi;
    }
    mmax = istep;
  }
}

}  // namespace quova
