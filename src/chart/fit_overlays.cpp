// Fitted values along the dates, and the fit curves of a plot model.
#include "chart/fit_overlays.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

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
