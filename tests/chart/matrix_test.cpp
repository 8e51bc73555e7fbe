// The matrix class: the complex solve and its singular case.
#include "chart/matrix.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace quova
