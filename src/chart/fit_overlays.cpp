// Fitted values along the dates, and the fit curves of a plot model.
#include "chart/fit_overlays.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>
#if defined(__x86_64__)
#include <emmintrin.h>
#endif

#include "chart/analysis_run.h"
#include "chart/chart_data.h"
#include "chart/sin_cos.h"

namespace quova {

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

// polyValue at two offsets side by side, each by the same steps: Horner's chain is serial,
// two of them overlap.
void polyValue2(long double xa, long double xb, const Fit_Type& f, long double& ha, long double& hb) {
  long double a = 0, b = 0;
  for (int i = std::min(f.poly_order, n_poly_max); i >= 0; --i) {
    const long double c = f.poly_coef[i];
    a = a * xa + c;
    b = b * xb + c;
  }
  ha = a;
  hb = b;
}

// harmonicSeries in double precision at n angles, within harmonicBound of the long-double
// sums; four at a time in SSE2 registers (two pairs), so that the rotations' chains overlap.
void harmonicSeriesApprox(const double* c1, const double* s1, int count, int m, const double* coef,
                          double* out) {
  int j = 0;
#if defined(__x86_64__)
  for (; j + 4 <= count; j += 4) {
    const __m128d ca = _mm_loadu_pd(c1 + j), sa = _mm_loadu_pd(s1 + j);
    const __m128d cb = _mm_loadu_pd(c1 + j + 2), sb = _mm_loadu_pd(s1 + j + 2);
    __m128d va = _mm_setzero_pd(), ska = va, vb = va, skb = va;
    __m128d cka = _mm_set1_pd(1.0), ckb = cka;
    for (int k = 1; k <= m; ++k) {
      const __m128d sinCoef = _mm_set1_pd(coef[2 * k - 1]), cosCoef = _mm_set1_pd(coef[2 * k]);
      const __m128d na = _mm_sub_pd(_mm_mul_pd(cka, ca), _mm_mul_pd(ska, sa));
      ska = _mm_add_pd(_mm_mul_pd(ska, ca), _mm_mul_pd(cka, sa));
      cka = na;
      const __m128d nb = _mm_sub_pd(_mm_mul_pd(ckb, cb), _mm_mul_pd(skb, sb));
      skb = _mm_add_pd(_mm_mul_pd(skb, cb), _mm_mul_pd(ckb, sb));
      ckb = nb;
      va = _mm_add_pd(va, _mm_add_pd(_mm_mul_pd(sinCoef, ska), _mm_mul_pd(cosCoef, cka)));
      vb = _mm_add_pd(vb, _mm_add_pd(_mm_mul_pd(sinCoef, skb), _mm_mul_pd(cosCoef, ckb)));
    }
    _mm_storeu_pd(out + j, va);
    _mm_storeu_pd(out + j + 2, vb);
  }
#endif
  for (; j < count; ++j) {
    double v = 0, ck = 1, sk = 0;
    for (int k = 1; k <= m; ++k) {
      const double c = ck * c1[j] - sk * s1[j];
      sk = sk * c1[j] + ck * s1[j];
      ck = c;
      v += coef[2 * k - 1] * sk + coef[2 * k] * ck;
    }
    out[j] = v;
  }
}

// A bound on |harmonicSeriesApprox - harmonicSeries| for unit (c1, s1): each rotation adds
// a few double roundings to cos(k t) and sin(k t), so the k-th terms are off by some
// k * 1e-16 times their coefficients; this allows more than twenty times that. Infinite
// when the coefficients do not fit doubles well.
double harmonicBound(int m, const double* coef) {
  double sum = 0;
  for (int k = 1; k <= 2 * m; ++k) sum += std::fabs(coef[k]);
  if (!std::isfinite(sum) || (sum != 0 && sum < 1e-280)) return HUGE_VAL;
  return sum * (m + 1) * (m + 1) * 4e-15;
}

// Where a value maps to on the price axis, as the curve's points do.
int pixelOf(long double v, const ValueAxis& axis) { return axis.y(static_cast<double>(v)); }

// The pixel rows of PFitVal along ascending dates: cos and sin of the fundamental's angle go
// from one date to the next by the rotation over their distance (the last two distinct
// distances kept), taken afresh every 64 dates, so that the library's sine is seldom called.
// The harmonic sum, the costly part in long double, is taken in double first: when the
// long-double sums its error bound allows all give the same row, that row is the one the
// long-double value gives (the mapping never decreases, or never increases, with the
// value), and the long-double sum is taken only for the rare dates near a row's edge.
class StoredFitWalk {
 public:
  static constexpr int kBatch = 256;

  StoredFitWalk(const Fit_Type& f, const ValueAxis& axis)
      : f_(f), axis_(axis), m_(std::min(f.four_order, n_four_max)) {
    for (int k = 0; k <= 2 * m_; ++k) coef_[k] = static_cast<double>(f.four_coef[k]);
    const bool finiteAxis = std::isfinite(axis.top - axis.bottom);
    bound_ = finiteAxis ? harmonicBound(m_, coef_) : HUGE_VAL;
  }

  // The rows at count (at most kBatch) dates following those of the calls before.
  void rows(const double* dates, int count, int* out) {
    long double base[kBatch], c1[kBatch], s1[kBatch];
    double c1d[kBatch], s1d[kBatch], h[kBatch];
    for (int j = 0; j < count; ++j) base[j] = f_.mean;
    if (f_.poly_enabled) {
      int j = 0;
      for (; j + 1 < count; j += 2) {
        long double ha, hb;
        polyValue2(dates[j] - f_.t_mid, dates[j + 1] - f_.t_mid, f_, ha, hb);
        base[j] += ha;
        base[j + 1] += hb;
      }
      if (j < count) base[j] += polyValue(dates[j] - f_.t_mid, f_);
    }
    for (int j = 0; j < count; ++j) {
      const long double xm = dates[j] - f_.t_mid;
      if (f_.four_enabled) {
        advance(xm);
        c1[j] = c1_, s1[j] = s1_;
        c1d[j] = static_cast<double>(c1_), s1d[j] = static_cast<double>(s1_);
      }
      prev_ = xm;
    }
    double lo[kBatch], hi[kBatch];
    if (!f_.four_enabled) {
      for (int j = 0; j < count; ++j) lo[j] = static_cast<double>(base[j]);
      axis_.y(lo, static_cast<std::size_t>(count), out);
      return;
    }
    const bool quick = bound_ < HUGE_VAL;
    int rowLo[kBatch], rowHi[kBatch];
    const long double c0 = f_.four_coef[0];
    if (quick) {
      harmonicSeriesApprox(c1d, s1d, count, m_, coef_, h);
      for (int j = 0; j < count; ++j) {
        lo[j] = static_cast<double>(base[j] + (c0 + (h[j] - bound_)));
        hi[j] = static_cast<double>(base[j] + (c0 + (h[j] + bound_)));
      }
      axis_.y(lo, static_cast<std::size_t>(count), rowLo);
      axis_.y(hi, static_cast<std::size_t>(count), rowHi);
    }
    for (int j = 0; j < count; ++j) {
      if (quick && std::isfinite(lo[j]) && std::isfinite(hi[j]) && rowLo[j] == rowHi[j])
        out[j] = rowLo[j];
      else
        out[j] = pixelOf(base[j] + (c0 + harmonicSeries(c1[j], s1[j], m_, f_.four_coef.data())), axis_);
    }
  }

 private:
  void advance(long double xm) {
    if (count_++ % 64 == 0) {
      sinCos(f_.omega * xm, s1_, c1_);
      return;
    }
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

  struct Rotation {
    long double gap = std::numeric_limits<long double>::quiet_NaN(), c = 1, s = 0;
  };
  const Fit_Type& f_;
  const ValueAxis& axis_;
  int m_;
  double coef_[2 * n_four_max + 1] = {};
  double bound_ = HUGE_VAL;
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
  StoredFitWalk walk(fit, p->axis);
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
  auto draw = [&](double date, int i, int row) {
    Run r = run;
    if (run == Before && date >= fit.t_min) r = Inside;
    if (r == Inside && date > fit.t_max) r = After;
    const Point pt{m.time.x(date), row};
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
  // The dates from t_start on are valued a batch at a time, then drawn in order.
  double dates[StoredFitWalk::kBatch];
  int index[StoredFitWalk::kBatch], rows[StoredFitWalk::kBatch];
  int queued = 0;
  auto drawQueued = [&] {
    walk.rows(dates, queued, rows);
    for (int j = 0; j < queued; ++j) draw(dates[j], index[j], rows[j]);
    queued = 0;
  };
  auto visit = [&](double date, int i) {
    if (date < tStart) return;
    dates[queued] = date;
    index[queued++] = i;
    if (queued == StoredFitWalk::kBatch) drawQueued();
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
  drawQueued();
  flush();
}

}  // namespace quova
