// The Fourier least-squares fit on the trend's residuals and the fundamental search.
#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <exception>
#include <limits>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "base/host.h"
#include "base/log.h"
#include "chart/fit_overlays.h"
#include "chart/fits.h"
#include "chart/linear_solve.h"
#include "chart/sin_cos.h"
#include "chart/transform.h"

namespace quova {

namespace {

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

// The buffers of one solve, reused from candidate to candidate.
struct SolveScratch {
  std::vector<long double> work;        // the normal equations' rows
  std::vector<long double> cosw, sinw;  // cos and sin of w x per point
};

// FourierLSF's fit of order m (0 .. n_four_max) at w over the points of f, touching nothing
// of f: 1 with the 2m + 1 coefficients in coef and the error set, 0 when singular (coef and
// error untouched). The search runs it on several threads at once.
int fourierSolve(const FITS& f, int m, long double w, SolveScratch& scratch, long double* coef,
                 long double& error) {
  const int n = f.n;
  const std::vector<long double>& x = f.x;
  const std::vector<long double>& resid = f.resid;
  const int P = 2 * m, K = 2 * m + 1;
  // Sums of cos(p w x) and sin(p w x) for p = 0 .. 2m, and of r cos(k w x), r sin(k w x).
  std::array<long double, 2 * (2 * n_four_max + 1)> C{}, S{};
  std::array<long double, n_four_max + 1> Rc{}, Rs{};
  long double R0 = 0, rr = 0;
  // cos(w x) and sin(w x) of each point: from the previous point's by the rotation over
  // their distance, taken afresh every 64 points so that rounding cannot build up. Dates
  // are mostly one to a few days apart, so the rotations repeat: the last two distinct
  // ones are kept (a week of trading days alternates between two gaps).
  std::vector<long double>& cw = scratch.cosw;
  std::vector<long double>& sw = scratch.sinw;
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
  std::vector<long double>& A = scratch.work;  // kept between calls: the search solves 1000 systems
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
  if (!solved) return 0;
  long double s = 0;
  for (int r = 0; r < K; ++r) {
    coef[r] = at(r, K);
    s += rhs[r] * coef[r];
  }
  const long double d1 = n > 1 ? n - 1 : 1;
  error = std::sqrt(std::fabs(rr / d1 - dn * s / d1));
  return 1;
}

// Runs solve(s, scratch) for s = 0 .. count - 1 on `threads` threads (this one among them),
// each thread with its own scratch, taking the next candidate as it finishes one, until
// *cancel is set. False when cancelled.
template <class F>
bool forEachCandidate(int count, int threads, const std::atomic<bool>* cancel, F solve) {
  threads = std::clamp(threads, 1, std::max(count, 1));
  std::atomic<int> next{0};
  std::mutex failedAt;
  std::exception_ptr failure;
  auto worker = [&] {
    SolveScratch scratch;
    try {
      for (int s = next++; s < count; s = next++) {
        if (cancel && cancel->load(std::memory_order_relaxed)) {
          next = count;
          break;
        }
        solve(s, scratch);
      }
    } catch (...) {
      std::lock_guard<std::mutex> lock(failedAt);
      if (!failure) failure = std::current_exception();
      next = count;
    }
  };
  std::vector<std::thread> pool;
  for (int t = 1; t < threads; ++t) pool.emplace_back(worker);
  worker();
  for (std::thread& t : pool) t.join();
  if (failure) std::rethrow_exception(failure);
  return !(cancel && cancel->load());
}

}  // namespace

int FITS::FourierLSF(int m, long double w, long double& error) {
  if (m < 0) m = 0;
  if (m > n_four_max) m = n_four_max;
  if (n < 1) return 0;
  SolveScratch scratch{std::move(work), std::move(cosw), std::move(sinw)};
  std::array<long double, 2 * n_four_max + 1> coef{};
  const int solved = fourierSolve(*this, m, w, scratch, coef.data(), error);
  work = std::move(scratch.work);
  cosw = std::move(scratch.cosw);
  sinw = std::move(scratch.sinw);
  if (!solved) {
    if (!singularShown)
      MessageBox("WARNING...matrix singular...computations NOT completed",
                 "Fits/Subroutine Solve Error", mb::OK | mb::ICONEXCLAMATION);
    singularShown = true;
    return 0;
  }
  four_coef = coef;
  four_order = m;
  omega = w;
  return 1;
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
  // The candidates are independent: each is solved alone, on every core, with the same
  // arithmetic in the same order whatever thread takes it, so the errors are those of one
  // thread; the choice below is made in candidate order, the first on ties.
  std::vector<char> solved(steps, 0);
  for (int s = 0; s < steps; ++s) cand_omega[s] = wLo + (wHi - wLo) * s / (steps - 1);
  const int threads = search_threads > 0 ? search_threads
                                         : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  const bool finished = forEachCandidate(steps, threads, cancel, [&](int s, SolveScratch& scratch) {
    std::array<long double, 2 * n_four_max + 1> coef;
    solved[s] = static_cast<char>(fourierSolve(*this, order, cand_omega[s], scratch, coef.data(), cand_err[s]));
  });
  if (!finished) return;
  if (std::find(solved.begin(), solved.end(), 0) != solved.end()) {
    if (!singularShown)
      MessageBox("WARNING...matrix singular...computations NOT completed",
                 "Fits/Subroutine Solve Error", mb::OK | mb::ICONEXCLAMATION);
    singularShown = true;
  }
  // The coefficients, order and fundamental as one pass over the candidates leaves them:
  // those of the last one solved.
  for (int s = steps - 1; s >= 0; --s)
    if (solved[s]) {
      long double e = 0;
      FourierLSF(order, cand_omega[s], e);
      break;
    }
  long double bestErr = std::numeric_limits<long double>::infinity(), best = wPeak;
  for (int s = 0; s < steps; ++s)
    if (cand_err[s] < bestErr) bestErr = cand_err[s], best = cand_omega[s];
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

}  // namespace quova
