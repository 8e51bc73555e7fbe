// The values of a fitted curve and the curves fits add to a plot model: a study run's curve
// and RMS text, and the stored fit's runs.
#pragma once

#include "base/colors.h"
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

}  // namespace quova
