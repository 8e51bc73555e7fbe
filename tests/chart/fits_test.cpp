// The polynomial and Fourier fits against straightforward reference computations, the
// fundamental search's bins, the solver, and the stored fit's curve runs.
#include "chart/fits.h"

#include <gtest/gtest.h>

#include <cmath>

#include "chart/chart_data.h"
#include "chart/chart_settings.h"
#include "chart/analysis_run.h"
#include "chart/fit_overlays.h"
#include "chart/transform.h"
#include "chart/matrix.h"
#include "chart/polynomial.h"
#include "settings/settings.h"
#include "support/recording_host.h"

namespace quova {
namespace {

ChartData wave(int n, double period, double trend = 0.01) {
  ChartData d;
  for (int i = 0; i < n; ++i) {
    const double c = 100 + trend * i + 5 * std::sin(2 * M_PI * i / period) + 2 * std::cos(4 * M_PI * i / period + 0.3) +
                     0.3 * std::sin(i * 1.7);
    d.append(30000.0f + i, static_cast<float>(c + 1), static_cast<float>(c - 1), static_cast<float>(c), 100);
  }
  d.loaded = true;
  find_min_max_scales(d);
  return d;
}

FITS loaded(const ChartData& d) {
  FITS f(countFitPoints(d, -1e16, 1e16));
  f.load(d, -1e16, 1e16);
  return f;
}

// The fit written out directly: basis values by calls, the normal matrix by sums of products.
long double referenceFourier(const FITS& f, int m, long double w, std::vector<long double>& coef) {
  const int K = 2 * m + 1, n = f.n;
  matrix A("A", K, K), B("B", K, 1), X("X", K, 1);
  std::vector<long double> b(K);
  long double rr = 0;
  for (int i = 0; i < n; ++i) {
    b[0] = 1;
    for (int k = 1; k <= m; ++k) b[2 * k - 1] = sinl(k * w * f.x[i]), b[2 * k] = cosl(k * w * f.x[i]);
    for (int r = 0; r < K; ++r) {
      for (int c = 0; c < K; ++c) A.re(r, c) += b[r] * b[c] / n;
      B.re(r, 0) += f.resid[i] * b[r] / n;
    }
    rr += f.resid[i] * f.resid[i];
  }
  EXPECT_EQ(X.solve(A, B), 1);
  long double s = 0;
  coef.assign(K, 0);
  for (int r = 0; r < K; ++r) coef[r] = X.re(r, 0), s += B.re(r, 0) * coef[r];
  return sqrtl(fabsl(rr / (n - 1) - n * s / (n - 1)));
}

void expectRel(long double a, long double b, long double tol, const char* what) {
  EXPECT_LE(fabsl(a - b), tol * std::max(fabsl(b), 1e-12L)) << what << " " << (double)a << " vs " << (double)b;
}

TEST(Polynomial, OrderZeroIsTheMeanAndOrdersRecoverPolynomials) {
  test::ScopedHost h;
  ChartData d;
  for (int i = 0; i < 50; ++i) {
    const double t = i - 24.5;
    d.append(1000.0f + i, 0, 0, static_cast<float>(40 + 0.5 * t - 0.01 * t * t), 0);
  }
  FITS f = loaded(d);
  f.PolynomialFit(0);
  EXPECT_NEAR(static_cast<double>(f.poly_coef[0]), 0.0, 1e-12);  // y is close - mean
  for (int i = 0; i < f.n; ++i) EXPECT_EQ(f.resid[i], f.y[i] - f.poly_coef[0]);
  f.PolynomialFit(2);
  EXPECT_NEAR(static_cast<double>(f.poly_coef[1]), 0.5, 1e-5);
  EXPECT_NEAR(static_cast<double>(f.poly_coef[2]), -0.01, 1e-6);
  EXPECT_NEAR(static_cast<double>(f.poly_err[2]), 0.0, 1e-4);
  EXPECT_EQ(f.PolynomialFitValue(2, 2), f.poly_coef[0] + 2 * f.poly_coef[1] + 4 * f.poly_coef[2]);
  EXPECT_EQ(h.host.beeps, 2);
  EXPECT_EQ(npower(3, 0), 1);
  EXPECT_EQ(npower(-2, 3), -8);
}

TEST(Polynomial, SingularSystemKeepsCoefficients) {
  test::ScopedHost h;
  ChartData d;
  for (int i = 0; i < 5; ++i) d.append(1000.0f, 0, 0, 10.0f + i, 0);  // one date: x all 0
  FITS f = loaded(d);
  f.poly_coef[1] = 7;
  EXPECT_EQ(f.PolynomialLSF(1), 0);
  EXPECT_EQ(f.poly_coef[1], 7);
  ASSERT_EQ(h.host.boxes.size(), 1u);
  EXPECT_EQ(h.host.boxes[0].text, "WARNING...matrix singular...computations NOT completed");
  EXPECT_EQ(h.host.boxes[0].caption, "Fits/Subroutine Solve Error");
}

TEST(Polynomial, LinearTrend) {
  test::ScopedHost h;
  ChartData flat;
  for (int i = 0; i < 10; ++i) flat.append(500.0f + i, 0, 0, 20, 0);
  LinearTrend t;
  ASSERT_EQ(LinearLSF(flat, 500, 509, true, t), 1);
  EXPECT_NEAR(static_cast<double>(t.change), 0, 1e-9);
  ChartData line;
  for (int i = 0; i < 11; ++i) line.append(500.0f + i, 0, 0, 20.0f + i, 0);
  ASSERT_EQ(LinearLSF(line, 500, 510, true, t), 1);
  EXPECT_NEAR(static_cast<double>(t.P1), 20, 1e-9);
  EXPECT_NEAR(static_cast<double>(t.change), 10, 1e-9);
  EXPECT_NEAR(static_cast<double>(t.percent), 50, 1e-9);
  ChartData one;
  one.append(500, 0, 0, 20, 0);
  EXPECT_EQ(LinearLSF(one, 0, 999999, true, t), 0);
  EXPECT_EQ(LinearLSF(wave(2001, 40), 0, 1e9, true, t), 0);
  EXPECT_EQ(LinearLSF(wave(2000, 40), 0, 1e9, true, t), 1);
}

TEST(Polynomial, FitMatchesTheGenericSolveOfTheWrittenOutSystem) {
  test::ScopedHost h;
  ChartData d = wave(2000, 90);
  FITS f = loaded(d);
  f.PolynomialFit(8);
  // Reference: every power by npower, the generic solve.
  const int m = 8;
  matrix A("A", m + 1, m + 1), B("B", m + 1, 1), X("X", m + 1, 1);
  for (int i = 0; i < f.n; ++i)
    for (int j = 0; j <= m; ++j) {
      for (int k = 0; k <= m; ++k) A.re(j, k) += npower(f.x[i], j + k) / (f.n - 1);
      B.re(j, 0) += npower(f.x[i], j) * f.y[i] / (f.n - 1);
    }
  ASSERT_EQ(X.solve(A, B), 1);
  for (int i = 0; i < f.n; i += 97) {
    long double ref = 0;
    for (int k = 0; k <= m; ++k) ref += X.re(k, 0) * npower(f.x[i], k);
    expectRel(f.poly_val[i], ref, 1e-9L, "poly value");
  }
}

// The normal equations summed point pair by point pair (the pair's terms first), then the
// same solve: the fit must give these coefficients to the last bit however it groups the
// passes over the points.
TEST(Polynomial, CoefficientsAreThoseOfPairwiseSums) {
  test::ScopedHost h;
  for (int n : {2, 3, 6, 7, 11, 12, 13, 401}) {
    const ChartData d = wave(n, 30);
    for (int m : {0, 1, 7, 50}) {
      FITS f = loaded(d);
      if (f.PolynomialLSF(m) == 0) continue;  // too few points for the order: singular
      std::vector<long double> ps(2 * m + 1), b(m + 1);
      for (int i = 0; i < f.n; i += 2) {
        const bool pair = i + 1 < f.n;
        long double p1 = 1, p2 = 1;
        for (int k = 0; k <= 2 * m; ++k) {
          ps[k] += pair ? p1 + p2 : p1;
          if (k <= m) b[k] += pair ? p1 * f.y[i] + p2 * f.y[i + 1] : p1 * f.y[i];
          p1 *= f.x[i];
          if (pair) p2 *= f.x[i + 1];
        }
      }
      matrix A("A", m + 1, m + 1), B("B", m + 1, 1), X("X", m + 1, 1);
      for (int j = 0; j <= m; ++j) {
        for (int k = 0; k <= m; ++k) A.re(j, k) = ps[j + k] / (f.n - 1);
        B.re(j, 0) = b[j] / (f.n - 1);
      }
      ASSERT_EQ(X.solve(A, B), 1);
      for (int k = 0; k <= m; ++k) ASSERT_EQ(f.poly_coef[k], X.re(k, 0)) << n << " points, order " << m;
    }
  }
}

TEST(Fourier, FastNormalEquationsMatchTheReference) {
  test::ScopedHost h;
  // Trading days: five a week, then a two-day gap, and a longer holiday now and then.
  ChartData d = wave(700, 64);
  for (int i = 0; i < d.num_quotes; ++i) d.q_date[i] = 30000.0f + i + 2 * (i / 5) + 3 * (i / 97);
  FITS f = loaded(d);
  f.PolynomialFit(2);
  for (auto [m, w] : {std::pair{1, 0.1L}, {5, 2 * M_PIl / 64}, {12, 0.0371L}, {3, 0.9L}}) {
    long double e = -1;
    ASSERT_EQ(f.FourierLSF(m, w, e), 1);
    std::vector<long double> ref;
    const long double eref = referenceFourier(f, m, w, ref);
    expectRel(e, eref, 1e-9L, "error");
    f.FourFitVector(m);
    for (int i = 0; i < f.n; i += 37) {
      long double v = f.poly_val[i];
      for (int k = 0; k < 2 * m + 1; ++k)
        v += ref[k] * (k == 0 ? 1 : (k % 2 ? sinl((k + 1) / 2 * w * f.x[i]) : cosl(k / 2 * w * f.x[i])));
      expectRel(f.fit[i], v, 1e-9L, "fit value");
    }
  }
}

TEST(Fourier, SearchBinsAndSteps) {
  test::ScopedHost h;
  // 300 points: the transform takes 256; a period of 32 points peaks in bin 8.
  ChartData d = wave(300, 32, 0);
  FITS f(300, 50, 50, 0);
  f.load(d, -1e16, 1e16);
  f.FourierTrade(2);
  ASSERT_EQ(f.freq.size(), 128u);
  EXPECT_EQ(f.omega, 2 * 3.141592653589793238462643383279L * 8 / 256);  // n_bisects 0: the peak
  FITS one(300, 50, 50, 1);
  one.load(d, -1e16, 1e16);
  one.FourierTrade(2);
  EXPECT_EQ(one.omega, f.omega);  // one step: the peak too
  FITS s(300, 50, 50, 21);
  s.load(d, -1e16, 1e16);
  s.FourierTrade(2);
  ASSERT_EQ(s.cand_omega.size(), 21u);
  EXPECT_NEAR((double)s.cand_omega.front(), 2 * M_PI * 7 / 256, 1e-15);
  EXPECT_NEAR((double)s.cand_omega.back(), 2 * M_PI * 9 / 256, 1e-15);
  long double best = s.cand_err[0];
  for (long double e : s.cand_err) best = std::min(best, e);
  for (std::size_t i = 0; i < s.cand_err.size(); ++i)
    if (s.cand_err[i] == best) {
      EXPECT_EQ(s.omega, s.cand_omega[i]);
      break;
    }
  // Peak in bin 1 (one period over 256 points): the scan starts at 1e-6 of the upper bin.
  ChartData slow = wave(256, 256, 0);
  FITS p(256, 50, 50, 5);
  p.load(slow, -1e16, 1e16);
  p.FourierTrade(1);
  EXPECT_NEAR((double)p.cand_omega.front(), 2 * M_PI * 2 / 256 * 1e-6, 1e-18);
  // Fewer than 4 points: no search, omega kept.
  ChartData tiny = wave(3, 10);
  FITS t(3, 50, 50, 5);
  t.load(tiny, -1e16, 1e16);
  t.omega = 0.5L;
  t.FourierTrade(1);
  EXPECT_EQ(t.omega, 0.5L);
}

// Abort Operation: a search cancelled before its first candidate solves none and keeps the
// transform's peak and the coefficients it had; the run built on it reports nothing done.
TEST(Fourier, CancelledSearchStopsBeforeTheNextCandidate) {
  test::ScopedHost h;
  ChartData d = wave(300, 32, 0);
  std::atomic<bool> cancel{true};
  FITS f(300, 50, 50, 21);
  f.load(d, -1e16, 1e16);
  f.four_coef[0] = 7;
  f.cancel = &cancel;
  f.FourierTrade(2);
  EXPECT_EQ(f.omega, 2 * 3.141592653589793238462643383279L * 8 / 256);
  EXPECT_EQ(f.four_coef[0], 7);
  for (long double e : f.cand_err) EXPECT_TRUE(std::isinf(e));
  ChartSettings s;
  s.four_enabled = true;
  s.n_bisects = 21;
  AnalysisSetup a;
  a.fund_preset = 0;
  Fit_Type rec;
  EXPECT_FALSE(Four_Anal(d, s, a, rec, &cancel).done);
  cancel = false;
  EXPECT_TRUE(Four_Anal(d, s, a, rec, &cancel).done);
}

// The search's error at each candidate against the fit written out at that frequency, and
// the kept fundamental the first of the smallest errors. Trading days with weekend gaps.
TEST(Fourier, SearchErrorAtEveryCandidateMatchesTheReference) {
  test::ScopedHost h;
  ChartData d = wave(300, 45);
  for (int i = 0; i < d.num_quotes; ++i) d.q_date[i] = 30000.0f + i + 2 * (i / 5);
  FITS f(300, 50, 50, 12);
  f.load(d, -1e16, 1e16);
  f.PolynomialFit(2);
  f.FourierTrade(6);
  ASSERT_EQ(f.cand_omega.size(), 12u);
  std::size_t best = 0;
  for (std::size_t k = 0; k < f.cand_omega.size(); ++k) {
    std::vector<long double> coef;
    expectRel(f.cand_err[k], referenceFourier(f, 6, f.cand_omega[k], coef), 1e-9L, "candidate error");
    if (f.cand_err[k] < f.cand_err[best]) best = k;
  }
  EXPECT_EQ(f.omega, f.cand_omega[best]);
  EXPECT_TRUE(h.host.boxes.empty());
}

// The search's candidates share out over threads: every count gives the bits of one thread,
// and a run with singular systems (all points on one date: every sine is 0) one box.
TEST(Fourier, SearchIsTheSameOnAnyNumberOfThreads) {
  ChartData trading = wave(300, 45);
  for (int i = 0; i < trading.num_quotes; ++i) trading.q_date[i] = 30000.0f + i + 2 * (i / 5);
  ChartData oneDay = wave(64, 16);
  for (float& t : oneDay.q_date) t = 30000.0f;
  for (const ChartData* d : {&trading, &oneDay}) {
    std::vector<FITS> runs;
    for (int threads : {1, 2, 3, 8}) {
      test::ScopedHost h;
      FITS f = loaded(*d);
      f.n_bisects = 40;
      if (d == &trading) f.PolynomialFit(2);
      else f.resid = f.y;  // the trend's own fit would be singular too
      f.search_threads = threads;
      f.FourierTrade(6);
      EXPECT_EQ(h.host.boxes.size(), d == &oneDay ? 1u : 0u) << threads;
      runs.push_back(f);
    }
    for (const FITS& r : runs) {
      EXPECT_EQ(r.cand_err, runs[0].cand_err);
      EXPECT_EQ(r.omega, runs[0].omega);
      EXPECT_EQ(r.four_coef, runs[0].four_coef);
      EXPECT_EQ(r.four_order, runs[0].four_order);
    }
  }
}

// Low frequencies make the normal matrix far from diagonal, so that partial pivoting swaps
// rows; the fit must not depend on which elimination ran.
TEST(Fourier, FitsAcrossFrequenciesMatchTheReference) {
  test::ScopedHost h;
  ChartData d = wave(240, 70);
  for (int i = 0; i < d.num_quotes; ++i) d.q_date[i] = 30000.0f + i + 2 * (i / 5) + 3 * (i / 61);
  FITS f = loaded(d);
  f.PolynomialFit(1);
  for (int k = 1; k <= 30; ++k) {
    const long double w = 0.004L * k;
    long double e = -1;
    ASSERT_EQ(f.FourierLSF(3, w, e), 1) << k;
    std::vector<long double> ref;
    expectRel(e, referenceFourier(f, 3, w, ref), 1e-9L, "error");
    for (int j = 0; j < 7; ++j) EXPECT_NEAR((double)f.four_coef[j], (double)ref[j], 1e-9 * (1 + fabsl(ref[j]))) << k;
  }
}

// The benchmark's size of fit: order 50 (101 basis functions) on 1200 points a day and a
// half apart, with the polynomial trend removed first.
TEST(Fourier, OrderFiftyMatchesTheReference) {
  test::ScopedHost h;
  ChartData d;
  for (int i = 0; i < 1200; ++i) {
    const double c = 100 + 0.01 * i + 5 * std::sin(i * 0.05) + 2 * std::cos(i * 0.31) + 0.5 * std::sin(i * 1.3);
    d.append(30000.0f + i * 1.4f, static_cast<float>(c + 1), static_cast<float>(c - 1), static_cast<float>(c), 1000);
  }
  FITS f = loaded(d);
  f.PolynomialFit(2);
  const long double w = 0.0123L;
  long double e = -1;
  ASSERT_EQ(f.FourierLSF(50, w, e), 1);
  std::vector<long double> ref;
  expectRel(e, referenceFourier(f, 50, w, ref), 1e-9L, "error");
  f.FourFitVector(50);
  for (int i = 0; i < f.n; i += 89) {
    long double v = f.poly_val[i] + ref[0];
    for (int k = 1; k <= 50; ++k) v += ref[2 * k - 1] * sinl(k * w * f.x[i]) + ref[2 * k] * cosl(k * w * f.x[i]);
    expectRel(f.fit[i], v, 1e-9L, "fit value");
  }
}

TEST(Fourier, TransformTakesTheFirstPowerOfTwoResiduals) {
  test::ScopedHost h;
  FITS f(300, 50, 50, 0);
  f.load(wave(300, 32, 0), -1e16, 1e16);
  f.FourierTrade(2);
  const std::vector<float> mag = f.mag;
  ASSERT_EQ(mag.size(), 128u);
  for (int i = 256; i < 300; ++i) f.resid[i] = 1e6L * i;  // beyond the 256: not transformed
  f.FourierTrade(2);
  EXPECT_EQ(f.mag, mag);
  f.resid[255] += 50;
  f.FourierTrade(2);
  EXPECT_NE(f.mag, mag);
}

// A peak in bin 0 has no lower bin: the scan runs from 1e-6 of the upper bin to it.
TEST(Fourier, PeakInBinZero) {
  test::ScopedHost h;
  FITS f(64, 50, 50, 5);
  f.load(wave(64, 16), -1e16, 1e16);
  for (long double& r : f.resid) r = 1;  // all in bin 0
  f.FourierTrade(1);
  ASSERT_EQ(f.cand_omega.size(), 5u);
  const double hi = 2 * M_PI / 64;
  EXPECT_NEAR((double)f.cand_omega.front(), hi * 1e-6, 1e-20);
  EXPECT_NEAR((double)f.cand_omega.back(), hi, 1e-15);
  for (long double w : f.cand_omega) EXPECT_TRUE(std::isfinite((double)w));
}

TEST(Fourier, AnalysisOfTheWindow) {
  test::ScopedHost h;
  // A polynomial of order 0 without the Fourier series: every fitted value is the mean.
  ChartData d = wave(150, 30);
  ChartSettings s;
  initquotes(d, s);
  s.poly_order = 0;
  s.four_enabled = 0;
  Fit_Type rec;
  AnalysisResult r = Four_Anal(d, s, AnalysisSetup{}, rec);
  ASSERT_TRUE(r.done);
  long double mean = 0;
  for (int i = 0; i < d.num_quotes; ++i) mean += d.q_close[i];
  mean /= d.num_quotes;
  for (double v : r.values) EXPECT_NEAR(v, (double)mean, 1e-9 * (double)mean);

  // F9 on a chart that was never set up: the preset fundamental is the displayed window's
  // own (its whole number of days), not 2 pi over the unclamped +-1e16 defaults.
  ChartSettings fresh;
  initquotes(d, fresh);
  fresh.t_start = -1.0e16f;
  fresh.t_end = 1.0e16f;
  AnalysisSetup f9;
  f9.fund_baseline = 1;
  r = Four_Anal(d, fresh, f9, rec);
  ASSERT_TRUE(r.done);
  EXPECT_TRUE(h.host.boxes.empty());  // no singular system
  EXPECT_EQ(rec.omega, 2 * 3.141592653589793238462643383279L / std::floor(d.t_full_max - d.t_full_min));
  EXPECT_LT(r.rmsError, 5.0);

  // More quotes than a search holds (2000): the analysis takes them all.
  ChartData many = wave(2500, 60);
  ChartSettings sm;
  initquotes(many, sm);
  sm.four_order = 3;
  r = Four_Anal(many, sm, AnalysisSetup{}, rec);
  ASSERT_TRUE(r.done);
  EXPECT_EQ(r.values.size(), 2500u);
}

TEST(Fourier, DftOfACosine) {
  std::vector<float> v(2 * 16, 0.0f);
  for (int i = 0; i < 16; ++i) v[2 * i] = static_cast<float>(std::cos(2 * M_PI * 3 * i / 16));
  dft(v, 16, 1);
  for (int j = 0; j < 16; ++j) {
    const double m = std::hypot(v[2 * j], v[2 * j + 1]);
    EXPECT_NEAR(m, (j == 3 || j == 13) ? 8.0 : 0.0, 1e-4) << j;
  }
}

TEST(Fourier, AnalysisStoresTheBaselineAndStoredFitRuns) {
  test::ScopedHost h;
  ChartData d = wave(200, 40);
  ChartSettings s;
  initquotes(d, s);
  s.poly_order = 1;
  s.four_order = 2;
  s.n_bisects = 81;
  AnalysisSetup a;
  a.fund_preset = 0;  // the search
  a.fund_baseline = 1;
  Fit_Type rec;
  AnalysisResult r = Four_Anal(d, s, a, rec);
  ASSERT_TRUE(r.done);
  EXPECT_EQ(r.dates.size(), 200u);
  EXPECT_LT(r.rmsError, 1.0);
  EXPECT_EQ(r.rmsText.rfind("RMS Fit Error -- ", 0), 0u);
  ASSERT_TRUE(rec.usable());
  EXPECT_EQ(rec.poly_order, 1);
  EXPECT_EQ(rec.poly_coef[2], 0);
  EXPECT_EQ(rec.four_coef[5], 0);
  for (std::size_t i = 0; i < r.dates.size(); i += 23)
    EXPECT_NEAR((double)PFitVal(r.dates[i], rec), r.values[i], 1e-6);
  // The stored fit's value against its formula written out, before, inside and after.
  for (long double t : {29000.0L, 30050.5L, 30199.0L, 31000.0L}) {
    long double ref = rec.mean;
    for (int i = 0; i <= rec.poly_order; ++i) ref += rec.poly_coef[i] * npower(t - rec.t_mid, i);
    ref += rec.four_coef[0];
    for (int k = 1; k <= rec.four_order; ++k)
      ref += rec.four_coef[2 * k - 1] * sinl(k * rec.omega * (t - rec.t_mid)) +
             rec.four_coef[2 * k] * cosl(k * rec.omega * (t - rec.t_mid));
    expectRel(PFitVal(t, rec), ref, 1e-9L, "stored fit value");
  }

  // A fit stored over the first half: solid there, dash-dot after t_max.
  ChartSettings half = s;
  half.t_end = 30099;
  AnalysisResult r2 = Four_Anal(d, half, a, rec);
  ASSERT_TRUE(r2.done);
  PlotFrame fr;
  fr.width = 600;
  fr.height = 300;
  PlotModel m = setupPlot(d, s, quovaPalette(), fr);
  appendStoredFit(m, d, rec, quovaPalette());
  ASSERT_EQ(m.curves.size(), 2u);
  EXPECT_EQ(m.curves[0].style, PenStyle::Solid);
  EXPECT_EQ(m.curves[0].colour, quovaPalette()[plotcolor::LSF]);
  EXPECT_EQ(m.curves[1].style, PenStyle::DashDot);
  EXPECT_EQ(m.curves[1].colour, quovaPalette()[plotcolor::OutOfRangeLSF]);
  EXPECT_EQ(m.curves[1].points.front(), m.curves[0].points.back());
  EXPECT_EQ(m.curves[1].points.back().x, m.time.right);
}

// The series' own sine and cosine (argument reduction by quadrants) against the library's,
// around the quadrant boundaries and far out.
TEST(Fourier, SeriesValueMatchesLibrarySinesAndCosines) {
  std::array<long double, 2 * n_four_max + 1> coef{};
  for (int k = 0; k <= 2 * 8; ++k) coef[k] = 1.0L / (k + 1);
  for (long double x : {0.0L, 0.785398L, 1.5707963L, 1.5707964L, 3.14159265L, -2.3561944L, 4.712389L,
                        -10.0L, 123.456L, -9876.5L, 2.5e5L, 3.3e9L}) {
    const long double w = 1.0L;
    long double ref = coef[0];
    for (int k = 1; k <= 8; ++k)
      ref += coef[2 * k - 1] * sinl(k * w * x) + coef[2 * k] * cosl(k * w * x);
    // The harmonics' recurrence and the argument's own rounding dominate far out.
    const long double tol = 1e-15L * (1 + std::fabs(x));
    EXPECT_NEAR(static_cast<double>(FFitVal(x, 8, coef.data(), w)), static_cast<double>(ref),
                static_cast<double>(tol)) << static_cast<double>(x);
  }
}

TEST(Fourier, SmallWindowsDoNoAnalysis) {
  test::ScopedHost h;
  ChartData d = wave(3, 10);
  ChartSettings s;
  initquotes(d, s);
  s.poly_order = 5;
  Fit_Type rec;
  EXPECT_FALSE(Four_Anal(d, s, AnalysisSetup{}, rec).done);
  EXPECT_EQ(rec.valid, 0);
  ASSERT_FALSE(h.host.statusTexts.empty());
  EXPECT_EQ(h.host.statusTexts.back(), "Too few quotes in the window for the analysis");
  // One quote: no mean to take deviations from, whatever the order.
  ChartData one = wave(1, 10);
  initquotes(one, s);
  s.poly_order = 0;
  EXPECT_FALSE(Four_Anal(one, s, AnalysisSetup{}, rec).done);
}

}  // namespace
}  // namespace quova
