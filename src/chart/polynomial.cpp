// The polynomial least-squares trend by the normal equations, and the linear trend.
#include "chart/polynomial.h"

#include <cmath>

#include "base/host.h"
#include "chart/chart_data.h"
#include "chart/fits.h"
#include "chart/matrix.h"

namespace quova {

long double npower(long double x, int n) {
  long double r = 1;
  for (int i = 0; i < n; ++i) r *= x;
  return r;
}

FITS::FITS(int count, int, int, int bisects)
    : n(count < 0 ? 0 : count),
      n_bisects(bisects < 0 ? 0 : (bisects > n_bisects_max ? n_bisects_max : bisects)),
      x(n), y(n), poly_val(n), resid(n), fit(n) {}

namespace {
template <class F>
void walkFitPoints(const ChartData& d, double t1, double t2, F f) {
  for (int i = 0; i < d.num_quotes; ++i) {
    if (i > 0 && d.q_date[i - 1] > t2) break;
    if (d.q_date[i] >= t1 && d.q_close[i] > 0) f(i);
  }
}

// x as doubles, or empty when one of them is not exactly a double.
std::vector<double> asDoubles(const std::vector<long double>& x) {
  std::vector<double> d(x.size());
  for (std::size_t i = 0; i < x.size(); ++i) {
    d[i] = static_cast<double>(x[i]);
    if (d[i] != x[i]) return {};
  }
  return d;
}

}  // namespace

int countFitPoints(const ChartData& d, double t1, double t2) {
  int n = 0;
  walkFitPoints(d, t1, t2, [&](int) { ++n; });
  return n;
}

void FITS::load(const ChartData& d, double t1, double t2) {
  std::vector<int> idx;
  walkFitPoints(d, t1, t2, [&](int i) { idx.push_back(i); });
  n = static_cast<int>(idx.size());
  x.assign(n, 0);
  y.assign(n, 0);
  poly_val.assign(n, 0);
  resid.assign(n, 0);
  fit.assign(n, 0);
  x_doubles.clear();
  if (n == 0) return;
  long double sum = 0;
  t_min = d.q_date[idx[0]];
  for (int i : idx) {
    sum += d.q_close[i];
    if (d.q_date[i] < t_min) t_min = d.q_date[i];
  }
  mean = sum / n;
  t_max = d.q_date[idx.back()];
  t_mid = (t_min + t_max) / 2;
  for (int k = 0; k < n; ++k) {
    x[k] = d.q_date[idx[k]] - t_mid;
    y[k] = d.q_close[idx[k]] - mean;
    resid[k] = y[k];
  }
  x_doubles = asDoubles(x);
}

namespace {

// The 2m + 1 power sums of x into ps and the m + 1 moments of y into b (both zeroed), two
// points per pass, the pair's terms added together first; x = 0 adds 1 to the power 0 only.
void powerSums(const long double* x, const long double* y, int n, int m, long double* ps,
               long double* b) {
  int i = 0;
  for (; i + 1 < n; i += 2) {
    long double p1 = 1, p2 = 1;
    const long double x1 = x[i], y1 = y[i], x2 = x[i + 1], y2 = y[i + 1];
    int k = 0;
    for (; k <= m; ++k) {
      ps[k] += p1 + p2;
      b[k] += p1 * y1 + p2 * y2;
      p1 *= x1;
      p2 *= x2;
    }
    for (; k <= 2 * m; ++k) {
      ps[k] += p1 + p2;
      p1 *= x1;
      p2 *= x2;
    }
  }
  for (; i < n; ++i) {
    long double p = 1;
    const long double xi = x[i], yi = y[i];
    for (int k = 0; k <= 2 * m; ++k) {
      ps[k] += p;
      if (k <= m) b[k] += p * yi;
      p *= xi;
    }
  }
}

// Tells the compiler that memory may have changed, so that it multiplies by the x where
// they are, as doubles, rather than keep them converted on the stack as long doubles,
// which take as long to load as the sums.
inline void keepInMemory() {
#if defined(__GNUC__)
  asm volatile("" ::: "memory");
#endif
}

// powerSums when every x is a double (dates are): the same additions in the same order,
// but the sums, loaded and stored as long doubles at a high cost, go through memory a third
// as often: three pairs per pass for the power sums, where the x are multiplied from
// memory and six running powers fit in the registers. The moments of y keep one pair per
// pass.
void powerSumsOfDoubles(const double* x, const long double* y, int n, int m, long double* ps,
                        long double* b) {
  const int pairs = n / 2;
  int i = 0;
  for (; i + 1 < n; i += 2) {
    long double p1 = 1, p2 = 1;
    const long double y1 = y[i], y2 = y[i + 1];
    for (int k = 0; k <= m; ++k) {
      b[k] += p1 * y1 + p2 * y2;
      p1 *= x[i];
      p2 *= x[i + 1];
    }
  }
  i = 0;
  for (int left = pairs; left >= 3; left -= 3, i += 6) {
    const double* xs = x + i;
    long double p1 = 1, p2 = 1, p3 = 1, p4 = 1, p5 = 1, p6 = 1;
    for (int k = 0; k <= 2 * m; ++k) {
      ps[k] = ((ps[k] + (p1 + p2)) + (p3 + p4)) + (p5 + p6);
      keepInMemory();
      p1 *= xs[0];
      p2 *= xs[1];
      p3 *= xs[2];
      p4 *= xs[3];
      p5 *= xs[4];
      p6 *= xs[5];
    }
  }
  for (; i + 1 < n; i += 2) {
    long double p1 = 1, p2 = 1;
    for (int k = 0; k <= 2 * m; ++k) {
      ps[k] += p1 + p2;
      p1 *= x[i];
      p2 *= x[i + 1];
    }
  }
  if (i < n) {
    long double p = 1;
    for (int k = 0; k <= 2 * m; ++k) {
      ps[k] += p;
      if (k <= m) b[k] += p * y[i];
      p *= x[i];
    }
  }
}

}  // namespace

int FITS::PolynomialLSF(int m) {
  if (m < 0 || m > n_poly_max || n < 2) return 0;
  std::vector<long double> ps(2 * m + 1, 0.0L), b(m + 1, 0.0L);
  if (!x_doubles.empty())
    powerSumsOfDoubles(x_doubles.data(), y.data(), n, m, ps.data(), b.data());
  else
    powerSums(x.data(), y.data(), n, m, ps.data(), b.data());
  long double yy = 0;
  int i = 0;
  for (; i + 1 < n; i += 2) yy += y[i] * y[i] + y[i + 1] * y[i + 1];
  if (i < n) yy += y[i] * y[i];
  const long double dn = n - 1;
  matrix cov("cov_x", m + 1, m + 1), lambda("lambda", m + 1, 1), a_temp("a_temp", m + 1, 1),
      a("a", m + 1, 1);
  // cov(j, k) depends on j + k only: each quotient once.
  for (long double& p : ps) p = p / dn;
  for (int j = 0; j <= m; ++j) {
    for (int k = 0; k <= m; ++k) cov.re(j, k) = ps[j + k];
    lambda.re(j, 0) = b[j] / dn;
  }
  if (!a_temp.solve(cov, lambda)) return 0;
  a.unload_r(a_temp);
  long double s = 0;
  for (int j = 0; j <= m; ++j) {
    poly_coef[j] = a.re(j, 0);
    s += lambda.re(j, 0) * poly_coef[j];
  }
  poly_err[m] = std::sqrt(std::fabs(yy / dn - s));
  return 1;
}

long double FITS::PolynomialFitValue(long double xv, int m) const {
  long double v = 0;
  for (int i = 0; i <= m && i <= n_poly_max; ++i) v += poly_coef[i] * npower(xv, i);
  return v;
}

void FITS::PolynomialFit(int m) {
  if (m > n_poly_max) m = n_poly_max;
  if (m < 0) m = 0;
  poly_order = m;
  PolynomialLSF(m);
  int i = 0;
  // With the x doubles in memory there are registers for three points at a time.
  if (const std::vector<double>& xd = x_doubles; !xd.empty())
    for (; i + 2 < n; i += 3) {
      long double v1 = poly_coef[0], v2 = v1, v3 = v1, p1 = 1, p2 = 1, p3 = 1;
      for (int k = 1; k <= m; ++k) {
        p1 *= xd[i];
        p2 *= xd[i + 1];
        p3 *= xd[i + 2];
        keepInMemory();
        const long double c = poly_coef[k];
        v1 += c * p1;
        v2 += c * p2;
        v3 += c * p3;
      }
      poly_val[i] = v1, poly_val[i + 1] = v2, poly_val[i + 2] = v3;
      resid[i] = y[i] - v1, resid[i + 1] = y[i + 1] - v2, resid[i + 2] = y[i + 2] - v3;
    }
  // Two points at a time, each summed as on its own: their chains of products and sums are
  // independent and overlap.
  for (; i + 1 < n; i += 2) {
    const long double x1 = x[i], x2 = x[i + 1];
    long double v1 = poly_coef[0], v2 = v1, p1 = 1, p2 = 1;
    for (int k = 1; k <= m; ++k) {
      p1 *= x1;
      p2 *= x2;
      const long double c = poly_coef[k];
      v1 += c * p1;
      v2 += c * p2;
    }
    poly_val[i] = v1;
    poly_val[i + 1] = v2;
    resid[i] = y[i] - v1;
    resid[i + 1] = y[i + 1] - v2;
  }
  for (; i < n; ++i) {
    long double v = poly_coef[0], p = 1;
    for (int k = 1; k <= m; ++k) {
      p *= x[i];
      v += poly_coef[k] * p;
    }
    poly_val[i] = v;
    resid[i] = y[i] - v;
  }
  host().beep();
}

void FITS::PolynomialTrade(int m) {
  if (m > n_poly_max) m = n_poly_max;
  long double yy = 0;
  for (int i = 0; i < n; ++i) yy += y[i] * y[i];
  spread = n > 1 ? std::sqrt(yy / (n - 1)) : 0;
  for (int k = 0; k <= m; ++k) PolynomialLSF(k);
  host().beep();
}

int LinearLSF(const ChartData& d, double t1, double t2, bool polyEnabled, LinearTrend& out) {
  const int n = countFitPoints(d, t1, t2);
  if (n > n_max || n < 2) return 0;
  FITS f(n);
  f.load(d, t1, t2);
  if (polyEnabled) {
    f.poly_order = 1;
    f.PolynomialLSF(1);
  }
  out.P1 = f.mean + f.PolynomialFitValue(t1 - f.t_mid, 1);
  out.P2 = f.mean + f.PolynomialFitValue(f.t_max - f.t_mid, 1);
  out.change = out.P2 - out.P1;
  out.percent = out.P1 != 0 ? 100 * (out.P2 - out.P1) / out.P1 : 0;
  return 1;
}

}  // namespace quova
