// Elimination on the augmented rows of a normal-equation system, general and symmetric.
#include "chart/linear_solve.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>
#include <vector>

namespace quova {

// Solves the augmented rows [A | b] (k x (k + 1), row-major) in place; the solution ends in
// the last column. Pivots as Gauss-Jordan would (the largest modulus among the rows not yet
// used, the first on ties), so it finds the same pivots and the same singular systems, but
// eliminates only below the pivot and then substitutes back: a third fewer row operations.
// Two pivot columns are eliminated in one pass over the rows below them: each element is
// loaded and stored once for both updates, with the same roundings (an extended value keeps
// its bits through memory), and the stores of extended values are what the time goes on.
// False when singular.
bool solveAugmented(long double* w, int k) {
  const int cols = k + 1;
  auto row = [&](int r) { return w + static_cast<std::size_t>(r) * cols; };
  // The largest modulus in column c among rows c.. (the first on ties); -1 when all are 0.
  auto pivotRow = [&](int c) {
    int piv = c;
    long double best = std::fabs(row(c)[c]);
    for (int r = c + 1; r < k; ++r)
      if (long double v = std::fabs(row(r)[c]); v > best) best = v, piv = r;
    return best > 0 ? piv : -1;
  };
  auto swapRows = [&](int a, int b, int from) {
    if (a == b) return;
    long double *pa = row(a), *pb = row(b);
    for (int j = from; j < cols; ++j) std::swap(pa[j], pb[j]);
  };
  auto normalise = [&](int c) {
    long double* pr = row(c);
    const long double inv = 1.0L / pr[c];
    pr[c] = 1;
    for (int j = c + 1; j < cols; ++j) pr[j] *= inv;
  };
  // Pivot columns go in blocks of kBlock: within a block each row below takes the updates
  // of the block's columns at once, pivot by pivot; the columns after the block wait, and
  // then take all of the block's updates in one pass (in pivot order, so rounded alike).
  constexpr int kBlock = 4;
  std::vector<long double> F(static_cast<std::size_t>(k) * kBlock);  // row factors per pivot
  for (int c = 0; c < k; c += kBlock) {
    const int bc = std::min(kBlock, k - c), end = c + bc;  // block columns c .. end - 1
    for (int b = 0; b < bc; ++b) {
      const int col = c + b;
      const int piv = pivotRow(col);
      if (piv < 0) return false;
      if (piv != col) {
        swapRows(col, piv, c);
        for (int q = 0; q < b; ++q) std::swap(F[col * kBlock + q], F[piv * kBlock + q]);
      }
      long double* pr = row(col);
      // The pivot row takes the updates of the block's earlier pivots that it waits for.
      for (int q = 0; q < b; ++q) {
        const long double f = F[col * kBlock + q];
        const long double* pq = row(c + q);
        for (int j = end; j < cols; ++j) pr[j] -= f * pq[j];
      }
      normalise(col);
      for (int r = col + 1; r < k; ++r) {
        long double* rr = row(r);
        const long double f = rr[col];
        F[r * kBlock + b] = f;
        rr[col] = 0;
        for (int j = col + 1; j < end; ++j) rr[j] -= f * pr[j];
      }
    }
    const long double* P[kBlock];
    for (int q = 0; q < bc; ++q) P[q] = row(c + q);
    for (int r = end; r < k; ++r) {
      long double* rr = row(r);
      const long double* f = &F[r * kBlock];
      if (bc == kBlock) {
        const long double f0 = f[0], f1 = f[1], f2 = f[2], f3 = f[3];
        for (int j = end; j < cols; ++j) {
          long double t = rr[j];
          t -= f0 * P[0][j];
          t -= f1 * P[1][j];
          t -= f2 * P[2][j];
          t -= f3 * P[3][j];
          rr[j] = t;
        }
      } else {
        for (int j = end; j < cols; ++j) {
          long double t = rr[j];
          for (int q = 0; q < bc; ++q) t -= f[q] * P[q][j];
          rr[j] = t;
        }
      }
    }
  }
  for (int r = k - 1; r >= 0; --r) {
    long double v = row(r)[k];
    for (int j = r + 1; j < k; ++j) v -= row(r)[j] * row(j)[k];
    row(r)[k] = v;
  }
  return true;
}

// The same elimination on a symmetric system, while every pivot is its column's diagonal
// element: partial pivoting then never swaps, the rows below the pivot stay symmetric, and
// only their upper triangle is updated, half the work. The rows are [A | b] as for
// solveAugmented; only the upper triangle and the last column are read. Returns 1 solved,
// 0 singular, -1 when a pivot would not be the diagonal (the caller then solves the full
// system by solveAugmented, so the pivots are always the ones partial pivoting picks).
// Pivots go in blocks of six, whose factors and the updated element fill the x87 registers.
int solveSymmetric(long double* w, int k) {
  const int cols = k + 1;
  auto row = [&](int r) { return w + static_cast<std::size_t>(r) * cols; };
  constexpr int kBlock = 6;
  // The block's pivot rows as they were before normalising: entry r of pivot row q is the
  // factor of row r for that pivot (A[r][q] = A[q][r]).
  std::vector<long double> F(static_cast<std::size_t>(kBlock) * cols);
  for (int c = 0; c < k; c += kBlock) {
    const int bc = std::min(kBlock, k - c), end = c + bc;
    for (int b = 0; b < bc; ++b) {
      const int col = c + b;
      long double* pr = row(col);
      // The pivot row takes the updates of the block's earlier pivots it waits for.
      for (int q = 0; q < b; ++q) {
        const long double f = F[q * cols + col];
        const long double* pq = row(c + q);
        for (int j = end; j < cols; ++j) pr[j] -= f * pq[j];
      }
      const long double d = std::fabs(pr[col]);
      for (int j = col + 1; j < k; ++j)
        if (std::fabs(pr[j]) > d) return -1;
      if (!(d > 0)) return 0;
      long double* fq = &F[b * cols];
      for (int j = col + 1; j < cols; ++j) fq[j] = pr[j];
      const long double inv = 1.0L / pr[col];
      pr[col] = 1;
      for (int j = col + 1; j < cols; ++j) pr[j] *= inv;
      // The block's later rows, within the block's columns, at once.
      for (int r = col + 1; r < end; ++r) {
        long double* rr = row(r);
        const long double f = fq[r];
        for (int j = r; j < end; ++j) rr[j] -= f * pr[j];
      }
    }
    // The rows below the block take the block's updates in one pass, upper triangle only.
    const long double* P[kBlock];
    for (int q = 0; q < bc; ++q) P[q] = row(c + q);
    for (int r = end; r < k; ++r) {
      long double* rr = row(r);
      if (bc == kBlock) {
        const long double f0 = F[r], f1 = F[cols + r], f2 = F[2 * cols + r], f3 = F[3 * cols + r],
                          f4 = F[4 * cols + r], f5 = F[5 * cols + r];
        for (int j = r; j < cols; ++j) {
          long double t = rr[j];
          t -= f0 * P[0][j];
          t -= f1 * P[1][j];
          t -= f2 * P[2][j];
          t -= f3 * P[3][j];
          t -= f4 * P[4][j];
          t -= f5 * P[5][j];
          rr[j] = t;
        }
      } else {
        for (int j = r; j < cols; ++j) {
          long double t = rr[j];
          for (int q = 0; q < bc; ++q) t -= F[q * cols + r] * P[q][j];
          rr[j] = t;
        }
      }
    }
  }
  for (int r = k - 1; r >= 0; --r) {
    long double v = row(r)[k];
    for (int j = r + 1; j < k; ++j) v -= row(r)[j] * row(j)[k];
    row(r)[k] = v;
  }
  return 1;
}

}  // namespace quova
