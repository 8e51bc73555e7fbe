// The Fourier analysis: the transform, the driver of one analysis run (Four_Anal) and the
// stored fit's evaluation and curve.
#pragma once

#include <string>
#include <vector>

#include "base/colors.h"
#include "chart/fit_type.h"
#include "chart/plot_model.h"

namespace quova {

struct ChartData;
struct ChartSettings;

// In-place radix-2 complex transform of nn values (interleaved re, im; nn a power of two).
void dft(std::vector<float>& data, int nn, int isign);

// The analysis choices of the setup window, as a chart starts with them (F9 runs the
// analysis with these without the window): the preset fundamental, a study run.
struct AnalysisSetup {
  long double fund_omega = 0;
  bool omegaSet = false;  // the setup window gave fund_omega; else the window's own
  int fund_preset = 1;    // 1 preset, 0 search
  int fund_baseline = 0;  // 1 stores the fit in the record
};

// One run's result: the fitted curve as (date, price) points and the RMS error in percent.
struct AnalysisResult {
  bool done = false;
  std::vector<double> dates, values;
  double rmsError = 0;
  std::string rmsText;  // "RMS Fit Error -- %6.3f %"
};

// Four_Anal's computation over the settings' window; fills `fit` when baseline is chosen.
AnalysisResult Four_Anal(const ChartData& d, const ChartSettings& s, const AnalysisSetup& a,
                         Fit_Type& fit);
// Appends the run's curve (colour 3) and RMS text at (50, 5).
void appendAnalysis(PlotModel& m, const AnalysisResult& r, const Palette& colors);

long double FFitVal(long double x, int m, const long double* coef, long double w);
long double PFitVal(long double x, const Fit_Type& fit);
// The stored fit's runs: dash-dot in colour 4 before t_min and after t_max, solid in 3
// between, walking the quote dates and then steps of the mean spacing up to t_end.
void appendStoredFit(PlotModel& m, const ChartData& d, const Fit_Type& fit, const Palette& colors);

}  // namespace quova
