// TDrawView: the chart window of one .day file. It loads the file through the chart core,
// builds the plot model for its client size on every paint and paints it as it stands;
// the mouse shows the quote readout and the date strip's hints, and the window's place
// is kept in the chart's settings file.
#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <memory>
#include <string>

#include "base/windows/command_target.h"
#include "chart/analysis_run.h"
#include "chart/windows/chart_lines.h"
#include "chart/chart_data.h"
#include "chart/chart_settings.h"
#include "chart/plot_model.h"
#include "quotes/quote_format.h"

class QMdiSubWindow;
class QPrinter;
class QTimer;

namespace quova {

class AnalysisJob;

class TDrawView : public QWidget, public CommandTarget {
  Q_OBJECT

 public:
  // GetConfig, then the window asks to be shown where the settings file placed it.
  explicit TDrawView(const std::string& path, QWidget* parent = nullptr);
  // SaveConfig (nothing with no file, or with a close that arrived during a load).
  ~TDrawView() override;

  const std::string& path() const { return path_; }
  const ChartData& data() const { return data_; }
  const ChartSettings& chartSettings() const { return settings_; }
  // The model of the last paint.
  const PlotModel& model() const { return model_; }
  // The model for the current client size, as the next paint builds it.
  PlotModel buildModel();
  // The title the readout is labelled with: the chart's own window title.
  std::string chartTitle() const;
  // The title the readout takes its label from (the third word): the chart's own, or for a
  // window titled with its path, "Chart of <file name>".
  std::string readoutTitle() const;

  // LoadData: the whole file into the arrays; the window closes when it holds no quote
  // or the repair tool was asked for. False when nothing was loaded.
  bool load();
  // Time_Scale_Change: 1 middle of the date strip, 2 its left button, 3 its right
  // button, 9999 elsewhere.
  int Time_Scale_Change(QPoint p) const;

  // The analysis choices the next run takes (the setup window changes them).
  const AnalysisSetup& analysisSetup() const { return setup_; }
  // A run going on off the GUI thread (its result not yet shown).
  bool analysisRunning() const;

  // The document's drawn lines, shared with its line list view (Add View).
  LineDocument& lines() { return *lines_; }
  const TLine& currentLine() const { return current_; }

  // The chart on one printed page of `printer` (Print and Print to PDF file go through it).
  bool printTo(QPrinter& printer);
  // The chart at `size` into an image file: PNG (or another raster format by the name's
  // suffix) or PDF. False, with the reason in `error`, when it cannot be written.
  bool exportImage(const std::string& file, QSize size, std::string* error = nullptr);

  bool handlesCommand(int id) const override;
  void runCommand(int id) override;
  std::string documentPath() const override { return path_; }
  bool canAddView() const override { return !no_file; }
  QWidget* newViewOfDocument() override;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  bool event(QEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void firstPaint();
  // Four_Anal_Button (250): the setup window; its OK asks the next paint for a run.
  void Four_Anal_Button();
  void requestAnalysis();
  // Display_Stats (241 and a right click outside the strip): the statistics dialog.
  void Display_Stats();
  // Display_Anal_Options (240): the display options dialog.
  void Display_Anal_Options();
  // The run the paint asked for: off the GUI thread, its result shown when it ends.
  void startAnalysis();
  void analysisDone();
  void abortAnalysis();
  void CmPrint();
  void CmPrinterSetup();
  void CmExportImage();
  void CmRepairHQF();
  // Starts the repair tool on this file and opens the file again once the tool has ended.
  void startRepair();
  void CmEditHQF();
  void recordWindowRect();
  // The date strip's zoom: a click (or double click) in zone `zone` at column x.
  void zoom(int zone, Qt::MouseButton button, bool twice, int x);
  PlotFrame screenFrame() const;
  QMdiSubWindow* frameWindow() const;

  std::string path_;
  OFtype fmt_;
  ChartData data_;
  ChartSettings settings_;
  VolatilityRange volatility_;
  PlotModel model_;
  QWidget* watchedFrame_ = nullptr;
  bool no_file = false;
  bool close_pending = false;
  bool loading_ = false;
  bool started_ = false;
  bool reloadPending_ = false;
  int openFailuresShown_ = 0;
  int lastZone_ = 0;
  // The analysis: the request the next paint carries out, the run going on (an aborted one
  // finishes unseen), and a study result drawn by the next paint only.
  AnalysisSetup setup_;
  int analysis_request = 0;
  std::unique_ptr<AnalysisJob> job_;
  bool jobAborted_ = false;
  QTimer* progress_ = nullptr;
  QElapsedTimer runClock_;
  AnalysisResult study_;
  // The line being drawn while the left button is held, in the current pen.
  std::shared_ptr<LineDocument> lines_;
  TLine current_;
  bool drawing_ = false;
  std::unique_ptr<QPrinter> printer_;  // made on the first print or printer setup
};

// Registers the chart window for .day files; called once when the main frame is built.
void connectCharts();

}  // namespace quova
