// One analysis run (Four_Anal): the polynomial trend and the Fourier series over the
// displayed window, with the preset fundamental or the search, and its result.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "chart/fit_type.h"

namespace quova {

struct ChartData;
struct ChartSettings;

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
// Setting *cancel (from another thread) ends the run early with nothing done.
AnalysisResult Four_Anal(const ChartData& d, const ChartSettings& s, const AnalysisSetup& a,
                         Fit_Type& fit, const std::atomic<bool>* cancel = nullptr);

}  // namespace quova
