// The matrix class: complex solve, inverse, and the similarity transforms.
#include "chart/matrix.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/recording_host.h"

namespace quova {
namespace {

TEST(Matrix, ComplexSolveAndInverse) {
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
  matrix R("R", 3, 3), Ri("Ri", 3, 3), P("P", 3, 3);
  const long double r[] = {4, 1, 2, 1, 3, 0, 2, 0, 5};
  R.load(r);
  ASSERT_EQ(Ri.inv(R), 1);
  ASSERT_EQ(P.mult(R, Ri), 1);
  EXPECT_NEAR((double)P.trace(), 3, 1e-15);
  matrix Z("Z", 2, 2), Zi("Zi", 2, 2);
  EXPECT_EQ(Zi.inv(Z), 0);
  EXPECT_TRUE(h.host.sawBox("WARNING...matrix singular...computations NOT completed",
                            "Fits/Subroutine Solve Error"));
  matrix S("S", 2, 2);
  EXPECT_EQ(S.add(R, R), 0);
  EXPECT_TRUE(h.host.sawBox("Output matrix type error in add \n", "S"));
}

TEST(Matrix, HessenbergFormKeepsTheTrace) {
  matrix A("A", 5, 5);
  for (int i = 0; i < 5; ++i)
    for (int j = 0; j < 5; ++j) A.re(i, j) = std::sin(1.0 + i * 5 + j) * (i == 2 ? 1000 : 1);
  const long double tr = A.trace();
  A.balance();
  EXPECT_NEAR((double)A.trace(), (double)tr, 1e-12);
  A.hess();
  for (int i = 2; i < 5; ++i)
    for (int j = 0; j + 1 < i; ++j) EXPECT_EQ(A.re(i, j), 0) << i << "," << j;
  EXPECT_NEAR((double)A.trace(), (double)tr, 1e-9);
  EXPECT_NE(A.write("T").find("T Real Part of A"), std::string::npos);
}

}  // namespace
}  // namespace quova
