// Moving averages, volatility and the stochastic oscillator, and their curve walks.
#include "chart/indicators.h"

#include <cfloat>
#include <algorithm>
#include <cmath>
#include <cstdio>
#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "base/colors.h"
#include "base/host.h"
#include "base/log.h"
#include "chart/chart_data.h"
#include "chart/chart_settings.h"

namespace quova {

float SMA(const ChartData& d, int i, int n) {
  if (n < 1 || i < n - 1 || i >= d.num_quotes) return 0.0f;
  float sum = 0.0f;
  for (int j = i - n + 1; j <= i; ++j) sum += d.q_close[j];
  return sum / static_cast<float>(n);
}

float Volatility(const ChartData& d, int i, int n) {
  if (n < 2 || i - n < 0 || i >= d.num_quotes) return 0.0f;
  double S = 0, Q = 0;
  for (int j = i - n + 1; j <= i; ++j) {
    if (d.q_close[j] <= 0 || d.q_close[j - 1] <= 0) return 0.0f;
    const double r = std::log(static_cast<double>(d.q_close[j]) / d.q_close[j - 1]);
    S += r;
    Q += r * r;
  }
  const double var = Q / (n - 1) - S * S / (static_cast<double>(n - 1) * n);
  if (!(var > 0)) return 0.0f;
  return static_cast<float>(std::sqrt(var) * 15.8745 * 100);
}

float StochasticK(const ChartData& d, int i, int n) {
  if (n < 1 || i >= d.num_quotes || i < 0) return 0.0f;
  float L = FLT_MAX, H = -FLT_MAX;
  for (int j = std::max(0, i - n + 1); j <= i; ++j) {
    L = std::min(L, d.q_low[j]);
    H = std::max(H, d.q_high[j]);
  }
  if (H == L) return 100.0f;
  return (d.q_close[i] - L) * 100.0f / (H - L);
}

namespace {

// The quotes a curve visits: from index 0 while the previous date is not after t_end,
// those dated at or after t_start. Calls f(i) for each.
template <class F>
void walkWindow(const ChartData& d, double tStart, double tEnd, F f) {
  for (int i = 0; i < d.num_quotes; ++i) {
    if (i > 0 && d.q_date[i - 1] > tEnd) break;
    if (d.q_date[i] >= tStart) f(i);
  }
}

}  // namespace

void AutoScaleVolatility(const ChartData& d, const ChartSettings& s, int n, double& vmin,
                         double& vmax) {
  std::vector<int> idx;
  walkWindow(d, s.t_start, s.t_end, [&](int i) {
    if (i >= n) idx.push_back(i);
  });
  for (const float v : volatilityValues(d, LogReturns(d), idx, n)) {
    vmin = std::min<double>(vmin, v);
    vmax = std::max<double>(vmax, v);
  }
}

VolatilityRange setVolatilityScale(const ChartData& d, const ChartSettings& s,
                                   VolatilityRange current) {
  MessBar("Initializing Volatility Calculations");
  if (!s.vol_auto_scale) return {s.vol_scale_min, s.vol_scale_max};
  double vmin = 1e8, vmax = -1e8;
  bool any = false;
  for (int k = 0; k < 4; ++k)
    if (s.vol_display[k]) {
      any = true;
      AutoScaleVolatility(d, s, s.vol_days[k], vmin, vmax);
    }
  if (!any || vmin > vmax) return current;
  return {vmin - 0.1 * vmin, vmax + 0.1 * vmax};
}

std::string lastSMAText(const ChartData& d, int days) {
  if (d.num_quotes - 1 - days < 0) return "NS Data";
  char t[64];
  std::snprintf(t, sizeof t, "%10.3f", SMA(d, d.num_quotes - 1, days));
  return t;
}

std::string lastVolatilityText(const ChartData& d, int days) {
  if (d.num_quotes - 1 - days < 1) return "NS Data";
  char t[64];
  std::snprintf(t, sizeof t, "%10.3f", Volatility(d, d.num_quotes - 1, days));
  return t;
}

namespace {

// Curves evaluate their indicator at tens of thousands of quotes. These give exactly the
// values of SMA() and Volatility() (the same additions in the same order), but work on
// eight quotes side by side (sixteen for the moving averages) so that their additions
// overlap, and take each log return once.
constexpr int kLanes = 8;

// The sums of consecutive windows: lane k of sum adds from[j + k] for j = 0 .. n - 1 (16
// lanes), and of S and Q adds v = from[j + k] and v * v (8 lanes). Each lane's additions are
// those of SMA() and Volatility() in their order, so the values are the same; the lanes
// only share SSE2 registers, which every x86-64 processor has.
#if defined(__x86_64__)
void smaLanes(const float* from, int n, float* sum) {
  __m128 s0 = _mm_setzero_ps(), s1 = s0, s2 = s0, s3 = s0;
  for (int j = 0; j < n; ++j) {
    s0 = _mm_add_ps(s0, _mm_loadu_ps(from + j));
    s1 = _mm_add_ps(s1, _mm_loadu_ps(from + j + 4));
    s2 = _mm_add_ps(s2, _mm_loadu_ps(from + j + 8));
    s3 = _mm_add_ps(s3, _mm_loadu_ps(from + j + 12));
  }
  _mm_storeu_ps(sum, s0), _mm_storeu_ps(sum + 4, s1), _mm_storeu_ps(sum + 8, s2), _mm_storeu_ps(sum + 12, s3);
}

void volLanes(const double* from, int n, double* S, double* Q) {
  __m128d s0 = _mm_setzero_pd(), s1 = s0, s2 = s0, s3 = s0, q0 = s0, q1 = s0, q2 = s0, q3 = s0;
  for (int j = 0; j < n; ++j) {
    const __m128d v0 = _mm_loadu_pd(from + j), v1 = _mm_loadu_pd(from + j + 2),
                  v2 = _mm_loadu_pd(from + j + 4), v3 = _mm_loadu_pd(from + j + 6);
    s0 = _mm_add_pd(s0, v0), s1 = _mm_add_pd(s1, v1), s2 = _mm_add_pd(s2, v2), s3 = _mm_add_pd(s3, v3);
    q0 = _mm_add_pd(q0, _mm_mul_pd(v0, v0)), q1 = _mm_add_pd(q1, _mm_mul_pd(v1, v1));
    q2 = _mm_add_pd(q2, _mm_mul_pd(v2, v2)), q3 = _mm_add_pd(q3, _mm_mul_pd(v3, v3));
  }
  _mm_storeu_pd(S, s0), _mm_storeu_pd(S + 2, s1), _mm_storeu_pd(S + 4, s2), _mm_storeu_pd(S + 6, s3);
  _mm_storeu_pd(Q, q0), _mm_storeu_pd(Q + 2, q1), _mm_storeu_pd(Q + 4, q2), _mm_storeu_pd(Q + 6, q3);
}
#else
void smaLanes(const float* from, int n, float* sum) {
  for (int j = 0; j < n; ++j)
    for (int k = 0; k < 16; ++k) sum[k] += from[j + k];
}

void volLanes(const double* from, int n, double* S, double* Q) {
  for (int j = 0; j < n; ++j)
    for (int k = 0; k < kLanes; ++k) {
      const double v = from[j + k];
      S[k] += v;
      Q[k] += v * v;
    }
}
#endif

// Wider lanes for processors with AVX: 64 moving-average sums (eight registers, so that the
// additions' latency is hidden) and 16 pairs of volatility sums, the same additions and
// products as above in each lane. No FMA: the products stay rounded before they are added.
constexpr int kWideSma = 64, kWideVol = 16;
#if defined(__x86_64__) && defined(__GNUC__)
bool haveAvx() {
  static const bool yes = __builtin_cpu_supports("avx");
  return yes;
}

__attribute__((target("avx"))) void smaLanesWide(const float* from, int n, float* sum) {
  __m256 s0 = _mm256_setzero_ps(), s1 = s0, s2 = s0, s3 = s0, s4 = s0, s5 = s0, s6 = s0, s7 = s0;
  for (int j = 0; j < n; ++j) {
    const float* f = from + j;
    s0 = _mm256_add_ps(s0, _mm256_loadu_ps(f)), s1 = _mm256_add_ps(s1, _mm256_loadu_ps(f + 8));
    s2 = _mm256_add_ps(s2, _mm256_loadu_ps(f + 16)), s3 = _mm256_add_ps(s3, _mm256_loadu_ps(f + 24));
    s4 = _mm256_add_ps(s4, _mm256_loadu_ps(f + 32)), s5 = _mm256_add_ps(s5, _mm256_loadu_ps(f + 40));
    s6 = _mm256_add_ps(s6, _mm256_loadu_ps(f + 48)), s7 = _mm256_add_ps(s7, _mm256_loadu_ps(f + 56));
  }
  _mm256_storeu_ps(sum, s0), _mm256_storeu_ps(sum + 8, s1), _mm256_storeu_ps(sum + 16, s2);
  _mm256_storeu_ps(sum + 24, s3), _mm256_storeu_ps(sum + 32, s4), _mm256_storeu_ps(sum + 40, s5);
  _mm256_storeu_ps(sum + 48, s6), _mm256_storeu_ps(sum + 56, s7);
}

__attribute__((target("avx"))) void volLanesWide(const double* from, int n, double* S, double* Q) {
  __m256d s0 = _mm256_setzero_pd(), s1 = s0, s2 = s0, s3 = s0, q0 = s0, q1 = s0, q2 = s0, q3 = s0;
  for (int j = 0; j < n; ++j) {
    const double* f = from + j;
    const __m256d v0 = _mm256_loadu_pd(f), v1 = _mm256_loadu_pd(f + 4), v2 = _mm256_loadu_pd(f + 8),
                  v3 = _mm256_loadu_pd(f + 12);
    s0 = _mm256_add_pd(s0, v0), s1 = _mm256_add_pd(s1, v1), s2 = _mm256_add_pd(s2, v2), s3 = _mm256_add_pd(s3, v3);
    q0 = _mm256_add_pd(q0, _mm256_mul_pd(v0, v0)), q1 = _mm256_add_pd(q1, _mm256_mul_pd(v1, v1));
    q2 = _mm256_add_pd(q2, _mm256_mul_pd(v2, v2)), q3 = _mm256_add_pd(q3, _mm256_mul_pd(v3, v3));
  }
  _mm256_storeu_pd(S, s0), _mm256_storeu_pd(S + 4, s1), _mm256_storeu_pd(S + 8, s2), _mm256_storeu_pd(S + 12, s3);
  _mm256_storeu_pd(Q, q0), _mm256_storeu_pd(Q + 4, q1), _mm256_storeu_pd(Q + 8, q2), _mm256_storeu_pd(Q + 12, q3);
}
#else
bool haveAvx() { return false; }
void smaLanesWide(const float*, int, float*) {}
void volLanesWide(const double*, int, double*, double*) {}
#endif

// smaValues over count indices at idx, into out.
void smaInto(const ChartData& d, const int* idx, std::size_t count, int n, float* out) {
  // Sixteen lanes: single-precision sums are short chains, and more of them overlap.
  constexpr int L = 16;
  const float* c = d.q_close.data();
  const bool wide = haveAvx();
  std::size_t b = 0;
  for (; n >= 1 && b + L <= count; b += L) {
    const int* at = idx + b;
    if (wide && b + kWideSma <= count && at[kWideSma - 1] - at[0] == kWideSma - 1 && at[0] >= n - 1 &&
        at[kWideSma - 1] < d.num_quotes) {
      float sum[kWideSma];
      smaLanesWide(c + at[0] - n + 1, n, sum);
      for (int k = 0; k < kWideSma; ++k) out[b + k] = sum[k] / static_cast<float>(n);
      b += kWideSma - L;
      continue;
    }
    bool inside = true;
    for (int k = 0; k < L; ++k) inside &= at[k] >= n - 1 && at[k] < d.num_quotes;
    if (!inside) {
      for (int k = 0; k < L; ++k) out[b + k] = SMA(d, at[k], n);
      continue;
    }
    float sum[L] = {};
    if (at[L - 1] - at[0] == L - 1) {
      // Consecutive quotes (the usual case): lane k adds from[j + k].
      const float* from = c + at[0] - n + 1;
      static_assert(L == 16);
      smaLanes(from, n, sum);
    } else {
      const float* from[L];
      for (int k = 0; k < L; ++k) from[k] = c + at[k] - n + 1;
      for (int j = 0; j < n; ++j)
        for (int k = 0; k < L; ++k) sum[k] += from[k][j];
    }
    for (int k = 0; k < L; ++k) out[b + k] = sum[k] / static_cast<float>(n);
  }
  for (; b < count; ++b) out[b] = SMA(d, idx[b], n);
}

}  // namespace

std::vector<float> smaValues(const ChartData& d, const std::vector<int>& idx, int n) {
  std::vector<float> out(idx.size(), 0.0f);
  smaInto(d, idx.data(), idx.size(), n, out.data());
  return out;
}

LogReturns::LogReturns(const ChartData& d) { assign(d); }

void LogReturns::assign(const ChartData& d) {
  r.assign(static_cast<std::size_t>(d.num_quotes), 0.0);
  bad.assign(static_cast<std::size_t>(d.num_quotes) + 1, 0);
  // bad[j + 1] counts the returns up to j that cannot be taken (a close not positive).
  for (int j = 0; j < d.num_quotes; ++j) {
    const bool ok = j > 0 && d.q_close[j] > 0 && d.q_close[j - 1] > 0;
    if (ok) r[j] = std::log(static_cast<double>(d.q_close[j]) / d.q_close[j - 1]);
    bad[j + 1] = bad[j] + (ok ? 0 : 1);
  }
}

namespace {

// volatilityValues over count indices at idx, into out.
void volatilityInto(const ChartData& d, const LogReturns& lr, const int* idx, std::size_t count,
                    int n, float* out) {
  if (n < 2) {
    std::fill(out, out + count, 0.0f);
    return;
  }
  auto finish = [n](double S, double Q) {
    const double var = Q / (n - 1) - S * S / (static_cast<double>(n - 1) * n);
    if (!(var > 0)) return 0.0f;
    return static_cast<float>(std::sqrt(var) * 15.8745 * 100);
  };
  // finish() of count lanes, two at a time: divpd and sqrtpd round as divsd and sqrtsd do.
  auto finishAll = [&](const double* S, const double* Q, int count, float* to) {
    int k = 0;
#if defined(__x86_64__)
    const __m128d q = _mm_set1_pd(n - 1), s = _mm_set1_pd(static_cast<double>(n - 1) * n),
                  scale1 = _mm_set1_pd(15.8745), scale2 = _mm_set1_pd(100), zero = _mm_setzero_pd();
    for (; k + 2 <= count; k += 2) {
      const __m128d vs = _mm_loadu_pd(S + k);
      const __m128d var = _mm_sub_pd(_mm_div_pd(_mm_loadu_pd(Q + k), q), _mm_div_pd(_mm_mul_pd(vs, vs), s));
      const __m128d v = _mm_mul_pd(_mm_mul_pd(_mm_sqrt_pd(var), scale1), scale2);
      const __m128 f = _mm_cvtpd_ps(_mm_and_pd(_mm_cmpgt_pd(var, zero), v));
      _mm_storel_pi(reinterpret_cast<__m64*>(to + k), f);
    }
#endif
    for (; k < count; ++k) to[k] = finish(S[k], Q[k]);
  };
  // The returns i - n + 1 .. i all exist.
  auto usable = [&](int i) {
    return i - n >= 0 && i < d.num_quotes && lr.bad[i + 1] == lr.bad[i - n + 1];
  };
  const double* r = lr.r.data();
  const bool wide = haveAvx();
  std::size_t b = 0;
  for (; b + kLanes <= count; b += kLanes) {
    const int* at = idx + b;
    // Consecutive, and no return missing from the first window's start to the last's end.
    if (wide && b + kWideVol <= count && at[kWideVol - 1] - at[0] == kWideVol - 1 && usable(at[0]) &&
        at[kWideVol - 1] < d.num_quotes && lr.bad[at[kWideVol - 1] + 1] == lr.bad[at[0] - n + 1]) {
      double S[kWideVol], Q[kWideVol];
      volLanesWide(r + at[0] - n + 1, n, S, Q);
      finishAll(S, Q, kWideVol, out + b);
      b += kWideVol - kLanes;
      continue;
    }
    bool all = true;
    for (int k = 0; k < kLanes; ++k) all &= usable(at[k]);
    if (!all) {
      for (int k = 0; k < kLanes; ++k) out[b + k] = usable(at[k]) ? Volatility(d, at[k], n) : 0.0f;
      continue;
    }
    double S[kLanes] = {}, Q[kLanes] = {};
    if (at[kLanes - 1] - at[0] == kLanes - 1) {
      const double* from = r + at[0] - n + 1;
      volLanes(from, n, S, Q);
    } else {
      const double* from[kLanes];
      for (int k = 0; k < kLanes; ++k) from[k] = r + at[k] - n + 1;
      for (int j = 0; j < n; ++j)
        for (int k = 0; k < kLanes; ++k) {
          const double v = from[k][j];
          S[k] += v;
          Q[k] += v * v;
        }
    }
    finishAll(S, Q, kLanes, out + b);
  }
  for (; b < count; ++b) out[b] = usable(idx[b]) ? Volatility(d, idx[b], n) : 0.0f;
}

}  // namespace

std::vector<float> volatilityValues(const ChartData& d, const LogReturns& lr,
                                    const std::vector<int>& idx, int n) {
  std::vector<float> out(idx.size(), 0.0f);
  volatilityInto(d, lr, idx.data(), idx.size(), n, out.data());
  return out;
}

namespace {

// StochasticK at count indices, into out: eight consecutive quotes side by side, the lowest
// low and highest high of each window taken in order, as StochasticK's std::min and std::max
// take them (minps and maxps pick as they do, for equal values and NaN too).
void stochasticKInto(const ChartData& d, const int* idx, std::size_t count, int n, float* out) {
  constexpr int L = 8;
  std::size_t b = 0;
#if defined(__x86_64__)
  const float *lo = d.q_low.data(), *hi = d.q_high.data(), *cl = d.q_close.data();
  for (; n >= 1 && b + L <= count; b += L) {
    const int* at = idx + b;
    if (at[L - 1] - at[0] != L - 1 || at[0] - n + 1 < 0 || at[L - 1] >= d.num_quotes) {
      for (int k = 0; k < L; ++k) out[b + k] = StochasticK(d, at[k], n);
      continue;
    }
    __m128 l0 = _mm_set1_ps(FLT_MAX), l1 = l0, h0 = _mm_set1_ps(-FLT_MAX), h1 = h0;
    for (int j = at[0] - n + 1; j <= at[0]; ++j) {
      l0 = _mm_min_ps(_mm_loadu_ps(lo + j), l0), l1 = _mm_min_ps(_mm_loadu_ps(lo + j + 4), l1);
      h0 = _mm_max_ps(_mm_loadu_ps(hi + j), h0), h1 = _mm_max_ps(_mm_loadu_ps(hi + j + 4), h1);
    }
    float low[L], high[L];
    _mm_storeu_ps(low, l0), _mm_storeu_ps(low + 4, l1), _mm_storeu_ps(high, h0), _mm_storeu_ps(high + 4, h1);
    for (int k = 0; k < L; ++k)
      out[b + k] = high[k] == low[k] ? 100.0f : (cl[at[k]] - low[k]) * 100.0f / (high[k] - low[k]);
  }
#endif
  for (; b < count; ++b) out[b] = StochasticK(d, idx[b], n);
}

// A curve of the quotes walkWindow visits from index `days`, valued by fill(indices, count,
// values) a chunk at a time: no temporaries of the data's length, which a paint of tens of
// thousands of quotes would otherwise map and fault in afresh each time.
template <class Fill>
void appendCurve(PlotModel& m, const ChartData& d, const ValueAxis& axis, int days, Polyline line,
                 Fill fill) {
  constexpr std::size_t kChunk = 512;
  int idx[kChunk];
  float values[kChunk];
  std::size_t count = 0;
  line.points = pointBuffer(static_cast<std::size_t>(std::max(0, d.num_quotes - std::max(days, 0))));
  auto flush = [&] {
    fill(idx, count, values);
    double t[kChunk], v[kChunk];
    int x[kChunk], y[kChunk];
    for (std::size_t k = 0; k < count; ++k) {
      t[k] = d.q_date[idx[k]];
      v[k] = values[k];
    }
    m.time.x(t, count, x);
    axis.y(v, count, y);
    for (std::size_t k = 0; k < count; ++k) line.points.push_back({x[k], y[k]});
    count = 0;
  };
  walkWindow(d, m.time.tStart, m.time.tEnd, [&](int i) {
    if (i < days) return;
    idx[count++] = i;
    if (count == kChunk) flush();
  });
  if (count) flush();
  if (!line.points.empty()) m.curves.push_back(std::move(line));
}

}  // namespace

void appendSMA(PlotModel& m, const ChartData& d, const ChartSettings& s, const Palette& colors,
               int which) {
  const Panel* p = m.panel(PanelKind::Price);
  if (!p || which < 0 || which > 2) return;
  Polyline l;
  l.name = "SMA " + std::to_string(which + 1);
  l.colour = colors[plotcolor::SMA1 + which];
  const int n = s.sma_days[which];
  appendCurve(m, d, p->axis, n, std::move(l), [&](const int* idx, std::size_t count, float* out) {
    smaInto(d, idx, count, n, out);
  });
}

void appendVolatility(PlotModel& m, const ChartData& d, const ChartSettings& s,
                      const Palette& colors, int which) {
  appendVolatility(m, d, LogReturns(d), s, colors, which);
}

void appendVolatility(PlotModel& m, const ChartData& d, const LogReturns& returns,
                      const ChartSettings& s, const Palette& colors, int which) {
  const Panel* p = m.panel(PanelKind::Volatility);
  if (!p || which < 0 || which > 3) return;
  Polyline l;
  l.name = "Volatility " + std::to_string(which + 1);
  l.colour = colors[plotcolor::Volatility1 + which];
  const int n = s.vol_days[which];
  appendCurve(m, d, p->axis, n, std::move(l), [&](const int* idx, std::size_t count, float* out) {
    volatilityInto(d, returns, idx, count, n, out);
  });
}

bool checkStochasticDays(ChartSettings& s) {
  if (!s.stoch_d_display || s.stoch_d_days >= 1) return true;
  MessageBox("Error ... Cannot Compute %D .... please set correct days in GlobalSetup.",
             "in PlotStochastic", mb::ICONSTOP);
  s.stoch_d_display = 0;
  return false;
}

void appendStochastic(PlotModel& m, const ChartData& d, const ChartSettings& s, const Palette& colors,
                      const TextMetrics& text) {
  const Panel* p = m.panel(PanelKind::Stochastic);
  if (!p || d.num_quotes == 0) return;
  const int kdays = s.stoch_k_days, ddays = s.stoch_d_days;
  const bool showK = s.stoch_k_display != 0, showD = s.stoch_d_display != 0 && ddays >= 1;
  const bool signals = showK && showD;
  const double alpha = showD ? 1.0 / ddays : 0, beta = 1 - alpha;
  Polyline K{"%K", {}, colors[plotcolor::StochasticK], 1, PenStyle::Solid};
  Polyline D{"%D", {}, colors[plotcolor::StochasticD], 1, PenStyle::Solid};
  const std::size_t most = static_cast<std::size_t>(std::max(0, d.num_quotes - std::max(kdays, 0)));
  if (showK) K.points = pointBuffer(most);
  if (showD) D.points = pointBuffer(most);
  const ValueAxis& ax = p->axis;
  const int letterWidth = text.measure("S");
  const int yLetter = p->rect.bottom - text.lineHeight;
  bool stopped = false, anyLetter = false;
  int lastLetterX = 0, nK = 0;
  double sum = 0, Dv = 0, prevK = 0, prevD = 0;
  // A chunk of quotes at a time: %K of each, their columns, then %D in order; the points'
  // rows are mapped a chunk at a time too.
  constexpr std::size_t kChunk = 512;
  int idx[kChunk], kx[kChunk], dx[kChunk];
  double kv[kChunk], dv[kChunk];
  std::size_t queued = 0, nk = 0, nd = 0;
  auto emit = [&](Polyline& line, const int* x, const double* v, std::size_t& count) {
    int y[kChunk];
    ax.y(v, count, y);
    for (std::size_t j = 0; j < count; ++j) line.points.push_back({x[j], y[j]});
    count = 0;
  };
  auto step = [&](double k, int x) {
    if (showK) kx[nk] = x, kv[nk++] = k;
    if (!showD) return;
    ++nK;
    if (nK < ddays) {
      sum += k;
      prevK = k;
      return;
    }
    if (nK == ddays) {
      sum += k;
      Dv = sum / ddays;
    } else {
      Dv = alpha * k + beta * Dv;
    }
    dx[nd] = x, dv[nd++] = Dv;
    if (signals && nK > ddays) {
      char letter = 0;
      if (Dv >= 80 && prevK > prevD && k <= Dv) letter = 'S';
      if (Dv <= 20 && prevK < prevD && k >= Dv) letter = 'B';
      if (letter && (!anyLetter || std::abs(x - lastLetterX) >= letterWidth)) {
        m.marks.push_back({letter, x, yLetter, letter == 'S' ? kRed : kGreen});
        anyLetter = true;
        lastLetterX = x;
      }
    }
    prevK = k;
    prevD = Dv;
  };
  auto flush = [&] {
    float ks[kChunk];
    double t[kChunk];
    int xs[kChunk];
    stochasticKInto(d, idx, queued, kdays, ks);
    for (std::size_t j = 0; j < queued; ++j) t[j] = d.q_date[idx[j]];
    m.time.x(t, queued, xs);
    for (std::size_t j = 0; j < queued; ++j) {
      const double k = ks[j];
      if (k < -1.0) {
        stopped = true;
        break;
      }
      step(k, xs[j]);
    }
    queued = 0;
    emit(K, kx, kv, nk);
    emit(D, dx, dv, nd);
  };
  walkWindow(d, m.time.tStart, m.time.tEnd, [&](int i) {
    if (stopped || i < kdays) return;
    idx[queued++] = i;
    if (queued == kChunk) flush();
  });
  if (queued) flush();
  if (!K.points.empty()) m.curves.push_back(std::move(K));
  if (!D.points.empty()) m.curves.push_back(std::move(D));
}

}  // namespace quova
