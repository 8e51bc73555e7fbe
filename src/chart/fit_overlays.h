// The values of a fitted curve and the curves fits add to a plot model: a study run's curve
// and RMS text, and the stored fit's runs.
#pragma once

#include <vector>

#include "app/settings.h"
#include "chart/fit_type.h"
#include "chart/plot_model.h"

namespace quova {

struct ChartData;
struct AnalysisResult;

long double FFitVal(long double x, int m, const long double* coef, long double w);
long double PFitVal(long double x, const Fit_Type& fit);

// Appends the run's curve (colour 3) and RMS text at (50, 5).
void appendAnalysis(PlotModel& m, const AnalysisResult& r, const Palette& colors);
// The stored fit's runs: dash-dot in colour 4 before t_min and after t_max, solid in 3
// between, walking the quote dates and then steps of the mean spacing up to t_end.
void appendStoredFit(PlotModel& m, const ChartData& d, const Fit_Type& fit, const Palette& colors);

// appendStoredFit in three steps, so that the fit's values (the costly part: a long-double
// series at every date) can be taken on another thread while the model's other curves are
// built: the dates the curve visits, their values, then the runs.
struct StoredFitPlan {
  Fit_Type fit;
  bool drawn = false;
  double stepsAfter = 0;          // mean spacings from the last quote to t_end
  std::vector<double> dates;      // in visiting order
  std::vector<int> index;         // the quote index each date is visited at
  std::vector<long double> values;
};
StoredFitPlan planStoredFit(const PlotModel& m, const ChartData& d, const Fit_Type& fit);
void evaluateStoredFit(StoredFitPlan& plan);  // touches nothing but plan.values
void appendStoredFitCurves(PlotModel& m, const ChartData& d, const StoredFitPlan& plan, const Palette& colors);

}  // namespace quova
