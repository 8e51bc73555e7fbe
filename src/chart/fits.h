// FITS: the work object of one analysis run (the points of the displayed window, the
// polynomial trend, the Fourier series on its residuals and the fundamental search).
#pragma once

#include <array>
#include <atomic>
#include <vector>

#include "chart/fit_type.h"

namespace quova {

struct ChartData;

inline constexpr int n_max = 2000;
inline constexpr int n_bisects_max = 1000;

struct FITS {
  FITS(int n, int polyMax = n_poly_max, int fourMax = n_four_max, int bisects = 0);

  int n = 0;
  int poly_order = 0, four_order = 0, n_bisects = 0;
  long double mean = 0, t_min = 0, t_max = 0, t_mid = 0;
  // Per point.
  std::vector<long double> x, y, poly_val, resid, fit;
  // x as doubles when each is one exactly (dates are), else empty; set with x by load().
  std::vector<double> x_doubles;
  std::array<long double, n_poly_max + 1> poly_coef{}, poly_err{};
  long double spread = 0;  // sqrt(sum y^2 / (n - 1)), set by PolynomialTrade
  std::array<long double, 2 * n_four_max + 1> four_coef{};
  long double omega = 0;
  // The transform's bins and the search's candidates.
  std::vector<float> freq, mag;
  std::vector<long double> cand_omega, cand_err;
  // The singular-system message has been shown in this run.
  bool singularShown = false;
  std::vector<long double> work;  // the normal equations' rows, reused by each solve
  std::vector<long double> cosw, sinw;  // cos and sin of w x per point, reused likewise
  // Threads of the fundamental search; 0: one per core. The result is the same for any count.
  int search_threads = 0;
  // Set from another thread to stop the fundamental search between candidates; a search
  // stopped so leaves the transform's peak as the fundamental and the coefficients as
  // they were.
  const std::atomic<bool>* cancel = nullptr;

  // The positive closes of quotes dated in [t1, t2] plus the quote just after t2: mean,
  // t_min, t_max, t_mid, x = date - t_mid, y = close - mean. Resizes to the points found.
  void load(const ChartData& d, double t1, double t2);

  // Polynomial trend (polynomial.cpp). PolynomialLSF returns 0 on a singular system and
  // leaves the coefficients as they were.
  int PolynomialLSF(int m);
  void PolynomialFit(int m);
  long double PolynomialFitValue(long double x, int m) const;
  void PolynomialTrade(int m);

  // Fourier series on the residuals and the fundamental search (fourier.cpp).
  int FourierLSF(int m, long double w, long double& error);
  void FourierTrade(int m);
  void FourierFit();
  void FourFitVector(int m);
};

// Counts the points load() would take.
int countFitPoints(const ChartData& d, double t1, double t2);

long double npower(long double x, int n);

}  // namespace quova
