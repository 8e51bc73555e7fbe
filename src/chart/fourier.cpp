// The Fourier least-squares fit on the trend's residuals, the fundamental search, the
// transform, the analysis driver and the stored fit's curve.
#include "chart/fourier.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <utility>

#include "base/colors.h"
#include "base/host.h"
#include "base/log.h"
#include "chart/chart_data.h"
#include "chart/chart_settings.h"
#include "chart/fits.h"

namespace quova {

namespace {

constexpr long double kTwoPi = 6.283185307179586476925286766559L;

// sin and cos of a together. The argument is first brought into [-pi/4, pi/4] with pi/2
// split into a 33-bit head (so k times it is exact) and its tail: the library's own
// reduction of long double arguments beyond pi/4 is many times slower than the kernels,
// and a stored fit takes one pair per quote of the window on every paint.
void sinCos(long double a, long double& s, long double& c) {
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

// Adds to A[p] (p = 1 .. P) the values v_p(t_i) of each point, and to R[p] (p = 1 .. m) the
// same times r_i, where v is cos (v0 = 1) or sin (v0 = 0), from v_1 = first[i] and
// cos t_i = c[i] by v_(p+1) = 2 cos t v_p - v_(p-1). Two points at a time, two harmonics per
// step so that the recurrence's values need no moves.
void harmonicSums(const long double* c, const long double* first, long double v0, const long double* r,
                  int n, int m, int P, long double* A, long double* R) {
  int i = 0;
  for (; i + 1 < n; i += 2) {
    const long double k1 = 2 * c[i], k2 = 2 * c[i + 1], r1 = r[i], r2 = r[i + 1];
    long double a1 = v0, b1 = first[i], a2 = v0, b2 = first[i + 1];  // v_(p-1), v_p
    int p = 1;
    if (P >= 1) {
      A[1] += b1 + b2;
      if (m >= 1) R[1] += r1 * b1 + r2 * b2;
    }
    for (p = 2; p + 1 <= m; p += 2) {
      a1 = k1 * b1 - a1, a2 = k2 * b2 - a2;
      A[p] += a1 + a2;
      R[p] += r1 * a1 + r2 * a2;
      b1 = k1 * a1 - b1, b2 = k2 * a2 - b2;
      A[p + 1] += b1 + b2;
      R[p + 1] += r1 * b1 + r2 * b2;
    }
    if (p <= m) {
      a1 = k1 * b1 - a1, a2 = k2 * b2 - a2;
      std::swap(a1, b1), std::swap(a2, b2);
      A[p] += b1 + b2;
      R[p] += r1 * b1 + r2 * b2;
      ++p;
    }
    for (; p + 1 <= P; p += 2) {
      a1 = k1 * b1 - a1, a2 = k2 * b2 - a2;
      A[p] += a1 + a2;
      b1 = k1 * a1 - b1, b2 = k2 * a2 - b2;
      A[p + 1] += b1 + b2;
    }
    if (p <= P) {
      a1 = k1 * b1 - a1, a2 = k2 * b2 - a2;
      A[p] += a1 + a2;
    }
  }
  for (; i < n; ++i) {
    const long double k1 = 2 * c[i], r1 = r[i];
    long double a1 = v0, b1 = first[i];
    for (int p = 1; p <= P; ++p) {
      if (p > 1) {
        a1 = k1 * b1 - a1;
        std::swap(a1, b1);
      }
      A[p] += b1;
      if (p <= m) R[p] += r1 * b1;
    }
  }
}

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

}  // namespace

int FITS::FourierLSF(int m, long double w, long double& error) {
  if (m < 0) m = 0;
  if (m > n_four_max) m = n_four_max;
  if (n < 1) return 0;
  const int P = 2 * m, K = 2 * m + 1;
  // Sums of cos(p w x) and sin(p w x) for p = 0 .. 2m, and of r cos(k w x), r sin(k w x).
  std::array<long double, 2 * (2 * n_four_max + 1)> C{}, S{};
  std::array<long double, n_four_max + 1> Rc{}, Rs{};
  long double R0 = 0, rr = 0;
  // cos(w x) and sin(w x) of each point: from the previous point's by the rotation over
  // their distance, taken afresh every 64 points so that rounding cannot build up. Dates
  // are mostly one to a few days apart, so the rotations repeat: the last two distinct
  // ones are kept (a week of trading days alternates between two gaps).
  std::vector<long double>& cw = cosw;
  std::vector<long double>& sw = sinw;
  cw.resize(n);
  sw.resize(n);
  struct Rotation {
    long double gap, c, s;
  };
  Rotation rot[2] = {{std::numeric_limits<long double>::quiet_NaN(), 1, 0},
                     {std::numeric_limits<long double>::quiet_NaN(), 1, 0}};
  for (int q = 0; q < n; ++q) {
    if (q % 64 == 0) {
      sinCos(w * x[q], sw[q], cw[q]);
      continue;
    }
    const long double gap = x[q] - x[q - 1];
    if (gap != rot[0].gap) {
      std::swap(rot[0], rot[1]);
      if (gap != rot[0].gap) {
        rot[0].gap = gap;
        sinCos(w * gap, rot[0].s, rot[0].c);
      }
    }
    const long double cg = rot[0].c, sg = rot[0].s;
    cw[q] = cw[q - 1] * cg - sw[q - 1] * sg;
    sw[q] = sw[q - 1] * cg + cw[q - 1] * sg;
  }
  // The harmonics by Chebyshev's recurrence, cos((p + 1)t) = 2 cos t cos(pt) - cos((p - 1)t)
  // and the same for sin: one product and one difference per value, against four products
  // and two sums for the rotation by (cos t, sin t). The cosines with their right-side sums
  // first, then the sines: a pass keeps two points' recurrences in the eight x87 registers.
  for (int i = 0; i < n; ++i) {
    R0 += resid[i];
    rr += resid[i] * resid[i];
  }
  harmonicSums(cw.data(), cw.data(), 1, resid.data(), n, m, P, C.data(), Rc.data());
  harmonicSums(cw.data(), sw.data(), 0, resid.data(), n, m, P, S.data(), Rs.data());
  C[0] = n;
  const long double dn = n;
  for (int p = 0; p <= P; ++p) C[p] /= dn, S[p] /= dn;
  // cos(q) is even and sin(q) odd in q.
  auto cosAt = [&](int q) { return C[q < 0 ? -q : q]; };
  auto sinAt = [&](int q) { return q < 0 ? -S[-q] : S[q]; };
  std::vector<long double>& A = work;  // kept between calls: the search solves 1000 systems
  A.resize(static_cast<std::size_t>(K) * (K + 1));
  auto at = [&](int r, int c) -> long double& { return A[static_cast<std::size_t>(r) * (K + 1) + c]; };
  std::vector<long double> rhs(K);
  rhs[0] = R0 / dn;
  for (int k = 1; k <= m; ++k) rhs[2 * k - 1] = Rs[k] / dn, rhs[2 * k] = Rc[k] / dn;
  auto build = [&] {
    at(0, 0) = 1;
    for (int k = 1; k <= m; ++k) {
      at(0, 2 * k - 1) = at(2 * k - 1, 0) = S[k];
      at(0, 2 * k) = at(2 * k, 0) = C[k];
    }
    for (int j = 1; j <= m; ++j)
      for (int k = 1; k <= m; ++k) {
        at(2 * j - 1, 2 * k - 1) = (cosAt(j - k) - cosAt(j + k)) / 2;
        at(2 * j - 1, 2 * k) = (sinAt(j + k) + sinAt(j - k)) / 2;
        at(2 * j, 2 * k - 1) = (sinAt(j + k) - sinAt(j - k)) / 2;
        at(2 * j, 2 * k) = (cosAt(j - k) + cosAt(j + k)) / 2;
      }
    for (int r = 0; r < K; ++r) at(r, K) = rhs[r];
  };
  build();
  int solved = solveSymmetric(A.data(), K);
  if (solved < 0) {
    build();
    solved = solveAugmented(A.data(), K) ? 1 : 0;
  }
  if (!solved) {
    if (!singularShown)
      MessageBox("WARNING...matrix singular...computations NOT completed",
                 "Fits/Subroutine Solve Error", mb::OK | mb::ICONEXCLAMATION);
    singularShown = true;
    return 0;
  }
  long double s = 0;
  four_coef.fill(0);
  for (int r = 0; r < K; ++r) {
    four_coef[r] = at(r, K);
    s += rhs[r] * four_coef[r];
  }
  four_order = m;
  omega = w;
  const long double d1 = n > 1 ? n - 1 : 1;
  error = std::sqrt(std::fabs(rr / d1 - dn * s / d1));
  return 1;
}

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

void FITS::FourierTrade(int m) {
  const int order = m < 0 ? 0 : (m > n_four_max ? n_four_max : m);
  const int steps = n_bisects;
  four_order = order;
  if (n < 4) return;  // no bins: the fundamental stays as it was
  int N = 1;
  while (N * 2 <= n) N *= 2;
  std::vector<float> data(2 * static_cast<std::size_t>(N), 0.0f);
  for (int i = 0; i < N; ++i) data[2 * i] = static_cast<float>(resid[i]);
  dft(data, N, 1);
  freq.assign(N / 2, 0);
  mag.assign(N / 2, 0);
  int peak = 0;
  for (int j = 0; j < N / 2; ++j) {
    freq[j] = static_cast<float>(j) / N;
    mag[j] = std::hypot(data[2 * j], data[2 * j + 1]);
    if (mag[j] > mag[peak]) peak = j;
  }
  const long double wPeak = kTwoPi * (static_cast<long double>(peak) / N);
  const long double wHi = kTwoPi * (static_cast<long double>(peak + 1) / N);
  long double wLo = kTwoPi * (static_cast<long double>(peak - 1) / N);
  if (!(wLo > 0)) wLo = wHi * 1e-6L;
  omega = wPeak;
  cand_omega.assign(steps, 0);
  cand_err.assign(steps, std::numeric_limits<long double>::infinity());
  if (steps < 2) return;  // no scan: the peak frequency
  long double bestErr = std::numeric_limits<long double>::infinity(), best = wPeak;
  for (int s = 0; s < steps; ++s) {
    const long double w = wLo + (wHi - wLo) * s / (steps - 1);
    cand_omega[s] = w;
    FourierLSF(order, w, cand_err[s]);
    if (cand_err[s] < bestErr) bestErr = cand_err[s], best = w;
  }
  omega = best;
}

void FITS::FourFitVector(int m) {
  if (m < 0) m = 0;
  if (m > n_four_max) m = n_four_max;
  for (int i = 0; i < n; ++i) fit[i] = poly_val[i] + FFitVal(x[i], m, four_coef.data(), omega);
  host().beep();
}

void FITS::FourierFit() {
  long double e = 0;
  FourierLSF(four_order, omega, e);
  FourFitVector(four_order);
}

namespace {

// Sum over k = 1 .. m of coef[2k - 1] sin(k t) + coef[2k] cos(k t), given cos t and sin t:
// sin(k t) and cos(k t) by rotation from k = 1.
long double harmonicSeries(long double c1, long double s1, int m, const long double* coef) {
  long double v = 0, ck = 1, sk = 0;
  for (int k = 1; k <= m; ++k) {
    const long double c = ck * c1 - sk * s1;
    sk = sk * c1 + ck * s1;
    ck = c;
    v += coef[2 * k - 1] * sk + coef[2 * k] * ck;
  }
  return v;
}

long double polyValue(long double xm, const Fit_Type& f) {
  long double h = 0;  // Horner's rule
  for (int i = std::min(f.poly_order, n_poly_max); i >= 0; --i) h = h * xm + f.poly_coef[i];
  return h;
}

// PFitVal along ascending dates: cos and sin of the fundamental's angle go from one date to
// the next by the rotation over their distance (the last two distinct distances kept), taken
// afresh every 64 dates, so that the library's sine is seldom called.
class StoredFitWalk {
 public:
  explicit StoredFitWalk(const Fit_Type& f) : f_(f), m_(std::min(f.four_order, n_four_max)) {}

  long double next(double date) {
    const long double xm = date - f_.t_mid;
    long double v = f_.mean;
    if (f_.poly_enabled) v += polyValue(xm, f_);
    if (f_.four_enabled) {
      if (count_ % 64 == 0) {
        sinCos(f_.omega * xm, s1_, c1_);
      } else {
        const long double gap = xm - prev_;
        if (gap != rot_[0].gap) {
          std::swap(rot_[0], rot_[1]);
          if (gap != rot_[0].gap) {
            rot_[0].gap = gap;
            sinCos(f_.omega * gap, rot_[0].s, rot_[0].c);
          }
        }
        const long double c = c1_ * rot_[0].c - s1_ * rot_[0].s;
        s1_ = s1_ * rot_[0].c + c1_ * rot_[0].s;
        c1_ = c;
      }
      v += f_.four_coef[0] + harmonicSeries(c1_, s1_, m_, f_.four_coef.data());
    }
    prev_ = xm;
    ++count_;
    return v;
  }

 private:
  struct Rotation {
    long double gap = std::numeric_limits<long double>::quiet_NaN(), c = 1, s = 0;
  };
  const Fit_Type& f_;
  int m_;
  long long count_ = 0;
  long double c1_ = 1, s1_ = 0, prev_ = 0;
  Rotation rot_[2];
};

}  // namespace

long double FFitVal(long double x, int m, const long double* coef, long double w) {
  // sin(k w x) and cos(k w x) by rotation from k = 1: a stored fit is evaluated at every
  // quote of the window on each paint.
  long double c1, s1;
  sinCos(w * x, s1, c1);
  return coef[0] + harmonicSeries(c1, s1, m, coef);
}

long double PFitVal(long double x, const Fit_Type& f) {
  long double v = f.mean;
  const long double xm = x - f.t_mid;
  if (f.poly_enabled) v += polyValue(xm, f);
  if (f.four_enabled) v += FFitVal(xm, std::min(f.four_order, n_four_max), f.four_coef.data(), f.omega);
  return v;
}

AnalysisResult Four_Anal(const ChartData& d, const ChartSettings& s, const AnalysisSetup& a,
                         Fit_Type& rec) {
  AnalysisResult out;
  const int n = countFitPoints(d, s.t_start, s.t_end);
  const int order = s.poly_enabled ? std::clamp(s.poly_order, 0, n_poly_max) : 0;
  if (n < 2 || (s.poly_enabled && n <= order)) {
    MessBar("Too few quotes in the window for the analysis");
    return out;
  }
  FITS f(n, n_poly_max, n_four_max, s.n_bisects);
  f.load(d, s.t_start, s.t_end);
  if (s.poly_enabled) f.PolynomialFit(order);
  const int fo = std::clamp(s.four_order, 0, n_four_max);
  if (!s.four_enabled) {
    for (int i = 0; i < f.n; ++i) f.fit[i] = f.poly_val[i];
  } else if (a.fund_preset == 1) {
    long double w = a.fund_omega;
    if (!a.omegaSet) {
      // The displayed window's own fundamental, as the setup window offers it: its whole
      // number of days, of the window as it is shown (not the unclamped +-1e16 defaults).
      const double t1 = std::max<double>(s.t_start, d.t_full_min), t2 = std::min<double>(s.t_end, d.t_full_max);
      const double days = std::floor(t2 - t1);
      w = days >= 1 ? kTwoPi / days : 0;
    }
    long double e = 0;
    f.FourierLSF(fo, w, e);
    f.four_order = fo;
    f.FourFitVector(fo);
  } else {
    f.FourierTrade(fo);
    f.FourierFit();
  }
  if (a.fund_baseline == 1) {
    rec = Fit_Type{};
    rec.t_min = f.t_min;
    rec.t_max = f.t_max;
    rec.t_mid = f.t_mid;
    rec.mean = f.mean;
    rec.poly_enabled = s.poly_enabled;
    rec.poly_order = order;
    if (s.poly_enabled)
      for (int k = 0; k <= order; ++k) rec.poly_coef[k] = f.poly_coef[k];
    rec.four_enabled = s.four_enabled;
    rec.four_order = fo;
    if (s.four_enabled)
      for (int k = 0; k <= 2 * fo; ++k) rec.four_coef[k] = f.four_coef[k];
    rec.omega = f.omega;
    rec.n_bisects = f.n_bisects;
    rec.valid = 1;
  }
  long double sq = 0;
  for (int i = 0; i < f.n; ++i) {
    out.dates.push_back(static_cast<double>(f.x[i] + f.t_mid));
    out.values.push_back(static_cast<double>(f.mean + f.fit[i]));
    sq += (f.y[i] - f.fit[i]) * (f.y[i] - f.fit[i]);
  }
  out.rmsError = f.mean != 0 ? static_cast<double>(std::sqrt(sq / f.n) / f.mean * 100) : 0;
  char t[64];
  std::snprintf(t, sizeof t, "RMS Fit Error -- %6.3f %%", out.rmsError);
  out.rmsText = t;
  out.done = true;
  return out;
}

void appendAnalysis(PlotModel& m, const AnalysisResult& r, const Palette& colors) {
  const Panel* p = m.panel(PanelKind::Price);
  if (!p || !r.done) return;
  Polyline l{"Fit", pointBuffer(r.dates.size()), colors[plotcolor::LSF], 1, PenStyle::Solid};
  for (std::size_t i = 0; i < r.dates.size(); ++i)
    l.points.push_back({m.time.x(r.dates[i]), p->axis.y(r.values[i])});
  m.curves.push_back(std::move(l));
  Label t;
  t.text = r.rmsText;
  t.x = 50;
  t.y = 5;
  t.colour = colors[plotcolor::Axes];
  m.texts.push_back(std::move(t));
}

void appendStoredFit(PlotModel& m, const ChartData& d, const Fit_Type& fit, const Palette& colors) {
  const Panel* p = m.panel(PanelKind::Price);
  if (!p || d.num_quotes < 1 || !fit.usable()) return;
  const double first = d.q_date[0], last = d.q_date[d.num_quotes - 1];
  const double step = (last - first) / d.num_quotes;
  if (!(step > 0)) return;
  const double tStart = m.time.tStart, tEnd = m.time.tEnd;
  StoredFitWalk walk(fit);
  enum Run { Before, Inside, After } run = Before;
  Polyline cur{"LSF", {}, colors[plotcolor::OutOfRangeLSF], 1, PenStyle::DashDot};
  auto flush = [&] {
    if (cur.points.size() > 1) m.curves.push_back(std::move(cur));
  };
  // Room for the points still to come: the quotes left and the steps to t_end.
  auto room = [&](int i) {
    const double steps = (tEnd - last) / step;
    return static_cast<std::size_t>(d.num_quotes - i) + 2 +
           (steps > 0 ? static_cast<std::size_t>(std::min(steps, 20000.0)) : 0);
  };
  auto visit = [&](double date, int i) {
    if (date < tStart) return;
    Run r = run;
    if (run == Before && date >= fit.t_min) r = Inside;
    if (r == Inside && date > fit.t_max) r = After;
    const Point pt{m.time.x(date), p->axis.y(static_cast<double>(walk.next(date)))};
    if (r != run || cur.points.capacity() == 0) {
      // The new run starts where the old one ended, so the curve stays joined.
      std::vector<Point> carry = pointBuffer(room(i));
      if (!cur.points.empty()) carry.push_back(cur.points.back());
      if (r != run) {
        flush();
        const bool solid = r == Inside;
        cur = {solid ? "LSF" : "LSF forecast", {}, colors[solid ? plotcolor::LSF : plotcolor::OutOfRangeLSF], 1,
               solid ? PenStyle::Solid : PenStyle::DashDot};
        run = r;
      }
      cur.points = std::move(carry);
    }
    cur.points.push_back(pt);
  };
  bool passed = false;
  for (int i = 0; i < d.num_quotes && !passed; ++i) {
    visit(d.q_date[i], i);
    passed = d.q_date[i] > tEnd;
  }
  // After the last quote: steps of the mean spacing, counted so that none is lost to
  // rounding, up to the first date past t_end (and never more than a screen's worth).
  const std::int64_t cap = 20000;
  for (std::int64_t k = 1; !passed && k <= cap; ++k) {
    const double date = last + static_cast<double>(k) * step;
    visit(date, d.num_quotes);
    passed = date > tEnd;
  }
  flush();
}

}  // namespace quova
