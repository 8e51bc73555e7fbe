// One analysis run (Four_Anal) off the GUI thread: it works on copies of the chart's data and
// settings, keeps the boxes, status texts and beeps it makes, and hands its result, its fit
// record and those calls back on the GUI thread when it ends.
#pragma once

#include <QObject>
#include <atomic>
#include <memory>

#include "chart/analysis_run.h"
#include "chart/chart_data.h"
#include "chart/chart_settings.h"

class QThread;

namespace quova {

class AnalysisJob : public QObject {
  Q_OBJECT

 public:
  AnalysisJob(const ChartData& data, const ChartSettings& settings, const AnalysisSetup& setup,
              QObject* parent = nullptr);
  // Waits for a run still going: it works only on its own copies, so that is the only wait.
  ~AnalysisJob() override;

  void start();
  // Asks the run to stop at its next candidate; its result is then not done.
  void cancel() { cancel_ = true; }
  bool running() const;
  void wait();
  // The result once finished() came.
  const AnalysisResult& result() const { return result_; }
  const Fit_Type& fit() const { return fit_; }
  // The run's boxes, status texts and beeps, shown now through the program's host, in order.
  void replayHostCalls();

 signals:
  void finished();

 private:
  struct Recorder;
  ChartData data_;
  ChartSettings settings_;
  AnalysisSetup setup_;
  AnalysisResult result_;
  Fit_Type fit_;
  std::unique_ptr<Recorder> calls_;
  QThread* thread_ = nullptr;
  std::atomic<bool> cancel_{false};
};

}  // namespace quova
