// The matrix class: the complex solve and its singular case.
#include "chart/matrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <utility>
#include <vector>

#include "support/recording_host.h"

namespace quova {
namespace {

TEST(Matrix, ComplexSolveAndSingular) {
  test::ScopedHost h;
  // (1+i) x = 2  ->  x = 1 - i; with a row swap first.
  matrix A("A", 2, 2, 1), B("B", 2, 1, 1), X("X", 2, 1, 1);
  const long double are[] = {0, 1, 1, 0}, aim[] = {0, 1, 0, 0};
  A.load(are, aim);
  const long double bre[] = {2, 3}, bim[] = {0, 0};
  B.load(bre, bim);
  ASSERT_EQ(X.solve(A, B), 1);
  EXPECT_NEAR((double)X.re(0, 0), 3, 1e-15);
  EXPECT_NEAR((double)X.re(1, 0), 1, 1e-15);
  EXPECT_NEAR((double)X.im(1, 0), -1, 1e-15);
  matrix Z("Z", 2, 2), Zx("Zx", 2, 1), Zb("Zb", 2, 1);
  EXPECT_EQ(Zx.solve(Z, Zb), 0);
  EXPECT_TRUE(h.host.sawBox("WARNING...matrix singular...computations NOT completed",
                            "Fits/Subroutine Solve Error"));
}

// Gauss-Jordan one column at a time, as written in the textbook: the real solve, which
// takes two columns per pass, must give these values to the last bit.
std::vector<long double> plainGaussJordan(std::vector<long double> a, int n, int w) {
  for (int c = 0; c < n; ++c) {
    int piv = c;
    for (int r = c + 1; r < n; ++r)
      if (std::fabs(a[r * w + c]) > std::fabs(a[piv * w + c])) piv = r;
    if (!(std::fabs(a[piv * w + c]) > 0)) return {};
    for (int k = 0; k < w; ++k) std::swap(a[piv * w + k], a[c * w + k]);
    const long double p = a[c * w + c];
    for (int k = c; k < w; ++k) a[c * w + k] /= p;
    for (int r = 0; r < n; ++r)
      if (const long double f = a[r * w + c]; r != c && f != 0)
        for (int k = c; k < w; ++k) a[r * w + k] -= f * a[c * w + k];
  }
  return a;
}

TEST(Matrix, RealSolveMatchesPlainGaussJordanBitForBit) {
  test::ScopedHost h;
  std::mt19937 gen(7);
  for (int n = 1; n <= 8; ++n)
    for (int trial = 0; trial < 300; ++trial) {
      const int nb = 1 + trial % 2, w = n + nb;
      std::vector<long double> work(static_cast<std::size_t>(n) * w);
      // Many zeros, so that the skipped rows and singular columns come up.
      for (long double& v : work) v = gen() % 4 == 0 ? 0 : static_cast<int>(gen() % 2001) / 7.0L - 140;
      matrix A("A", n, n), B("B", n, nb), X("X", n, nb);
      for (int r = 0; r < n; ++r)
        for (int c = 0; c < w; ++c) (c < n ? A.re(r, c) : B.re(r, c - n)) = work[r * w + c];
      const std::vector<long double> want = plainGaussJordan(work, n, w);
      ASSERT_EQ(X.solve(A, B), want.empty() ? 0 : 1) << n << " " << trial;
      for (int r = 0; r < n && !want.empty(); ++r)
        for (int c = 0; c < nb; ++c) ASSERT_EQ(X.re(r, c), want[r * w + n + c]) << n << " " << trial;
    }
}

}  // namespace
}  // namespace quova
