// The chart window: loading through the chart core, painting the plot model with QPainter,
// the readout and strip hints under the mouse, and the window rectangle kept in the
// chart's settings file.
#include "chart/windows/chart_view.h"

#include <QCoreApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QStyle>
#include <QMdiArea>
#include <QFileDialog>
#include <QInputDialog>
#include <QPageSetupDialog>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>
#include <filesystem>

#include "app/windows/doc_templates.h"
#include "base/command_ids.h"
#include "base/host.h"
#include "base/log.h"
#include "base/windows/frame_services.h"
#include "base/run_flags.h"
#include "chart/hist_stats.h"
#include "chart/indicators.h"
#include "chart/fits.h"
#include "chart/windows/analysis_job.h"
#include "chart/windows/analysis_setup.h"
#include "chart/windows/chart_render.h"
#include "chart/windows/display_options.h"
#include "chart/windows/hist_stat_window.h"
#include "quotes/format_file.h"
#include "settings/repair_start.h"
#include "settings/settings.h"
#include "util/paths.h"

namespace quova {

namespace {

QColor qcolor(Colour c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

bool contains(const Rect& r, QPoint p) {
  return p.x() >= r.left && p.x() < r.right && p.y() >= r.top && p.y() < r.bottom;
}

constexpr const char* kStripHints[] = {
    "",
    "Click LEFT MOUSE BUTTON for min time;               RIGHT for max time",
    "Double Click LEFT MOUSE BUTTON for full scale min time;    SINGLE LEFT for 20% increase;    RIGHT for default",
    "Double Click RIGHT MOUSE BUTTON for full scale max time;   SINGLE RIGHT for 20% increase;    LEFT for default",
};

}  // namespace

TDrawView::TDrawView(const std::string& path, QWidget* parent) : QWidget(parent), path_(path) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setWindowTitle(QString::fromStdString(path));
  // The view starts from the default descriptor, which a good format file then replaces.
  fmt_ = DefaultFormat();
  settings_ = GetConfig(path_);
  // The first pen draws in the axes colour, which stands out on the chart's background.
  current_.color = qcolor(settings().PlotColors[plotcolor::Axes]);
  lines_ = std::make_shared<LineDocument>();
  connect(lines_.get(), &LineDocument::lineAppended, this, [this](int) { update(); });
  connect(lines_.get(), &LineDocument::lineDeleted, this, [this](int) { update(); });
  connect(lines_.get(), &LineDocument::lineModified, this, [this](int) { update(); });
  connect(lines_.get(), &LineDocument::cleared, this, [this] { update(); });
  if (path_.empty()) {
    no_file = true;
    LogBox("Sorry...You cannot Edit/Create new *.day historical quote files....QUOVA will do that!",
           "Quote Plotting Window ERROR", mb::OK | mb::ICONEXCLAMATION);
    return;
  }
  RecallFormatInfo(formatFilePath(path_), &fmt_);
  checkStochasticDays(settings_);
  // Where the settings file put the chart's frame window last time. A chart seen for the
  // first time opens at two thirds of the client area when that is larger than the default.
  if (!std::filesystem::exists(nativePath(chartConfigPath(path_))) && frameServices() && frameServices()->client()) {
    const QSize area = frameServices()->client()->size();
    settings_.win_width = std::max(settings_.win_width, area.width() * 2 / 3);
    settings_.win_height = std::max(settings_.win_height, area.height() * 2 / 3);
  }
  setGeometry(settings_.win_left, settings_.win_top, std::max(settings_.win_width, 1),
              std::max(settings_.win_height, 1));
  if (settings_.maximised) setWindowState(Qt::WindowMaximized);
  else if (settings_.minimised) setWindowState(Qt::WindowMinimized);
}

TDrawView::~TDrawView() {
  job_.reset();  // a run still going is waited for: it works on its own copies only
  if (no_file || close_pending) return;
  SaveConfig(path_, settings_);
}

QMdiSubWindow* TDrawView::frameWindow() const { return qobject_cast<QMdiSubWindow*>(parentWidget()); }

std::string TDrawView::chartTitle() const {
  const QMdiSubWindow* sub = frameWindow();
  return (sub ? sub->windowTitle() : windowTitle()).toStdString();
}

std::string TDrawView::readoutTitle() const {
  const std::string t = chartTitle();
  // A window titled with its path has no third word: the file's own name labels the readout.
  int words = 0;
  for (std::size_t i = 0; i < t.size(); ++i) words += t[i] != ' ' && (i == 0 || t[i - 1] == ' ');
  if (words >= 3) return t;
  return "Chart of " + std::filesystem::path(nativePath(path_)).stem().string();
}

PlotFrame TDrawView::screenFrame() const {
  PlotFrame f;
  f.width = width();
  f.height = height();
  f.stripHeight = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
  const QFontMetrics fm = fontMetrics();
  f.text.lineHeight = fm.height();
  f.text.charWidth = fm.averageCharWidth();
  f.text.width = [fm](std::string_view t) {
    return fm.horizontalAdvance(QString::fromUtf8(t.data(), static_cast<int>(t.size())));
  };
  f.dateFormat = settings().DisplayDateFormat;
  f.title = readoutTitle();
  f.volatility = volatility_;
  return f;
}

PlotModel TDrawView::buildModel() {
  if (!data_.loaded) return {};
  return buildPlotModel(data_, settings_, settings().PlotColors, screenFrame());
}

bool TDrawView::load() {
  if (loading_ || no_file) return false;
  loading_ = true;
  ParseContext ctx;
  ctx.parse = chartLineParser(fmt_);
  ctx.closePending = &close_pending;
  ctx.requestRepair = [this] { startRepair(); };
  const LoadResult r = LoadData(path_, data_, settings_, ctx);
  loading_ = false;
  lastZone_ = 0;
  QWidget* frame = frameWindow() ? static_cast<QWidget*>(frameWindow()) : this;
  if (close_pending) {
    // A close came while the file was read: it is carried out now.
    QTimer::singleShot(0, frame, [frame] { frame->close(); });
    return false;
  }
  switch (r) {
    case LoadResult::CannotOpen:
      if (openFailuresShown_++ == 0)
        LogBox("Unable to open file -- " + path_, "Quote File Access Error", mb::OK | mb::ICONEXCLAMATION);
      update();
      return false;
    case LoadResult::NoQuotes:
    case LoadResult::RepairRequested:
      QTimer::singleShot(0, frame, [frame] { frame->close(); });
      return false;
    case LoadResult::Loaded: break;
  }
  volatility_ = setVolatilityScale(data_, settings_, volatility_);
  MessBar("");
  update();
  if (runFlags().Quit) {
    if (QWidget* top = window(); top && top != this)
      QTimer::singleShot(0, top, [top] { top->close(); });
  }
  return true;
}

void TDrawView::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  if (started_) return;
  started_ = true;
  // The load runs once the window is on the screen, as the first paint started it.
  QTimer::singleShot(0, this, [this] { firstPaint(); });
}

void TDrawView::firstPaint() {
  if (no_file) {
    if (QWidget* frame = frameWindow()) frame->close();
    else close();
    return;
  }
  load();
}

void TDrawView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), qcolor(settings().PlotColors[plotcolor::Background]));
  auto drawLines = [&] {
    for (const TLine& l : lines_->lines()) l.Draw(p);
    current_.Draw(p);
  };
  if (!data_.loaded || loading_) {
    drawLines();
    return;
  }
  model_ = buildPlotModel(data_, settings_, settings().PlotColors, screenFrame(), study_.done ? &study_ : nullptr);
  study_ = AnalysisResult{};  // a run's own curve is drawn once; the stored fit stays
  writePlotLog(model_);
  paintPlotModel(p, model_, palette());
  drawLines();
  if (analysis_request == cm::ANALYSIS) {
    analysis_request = 0;
    QTimer::singleShot(0, this, [this] { startAnalysis(); });
  }
  // Show_Quote of the last quote: the readout goes to the status bar.
  if (!model_.readout.empty()) AppMessBar(model_.readout);
}

int TDrawView::Time_Scale_Change(QPoint pt) const {
  if (contains(model_.leftButton, pt)) return 2;
  if (contains(model_.rightButton, pt)) return 3;
  if (contains(model_.dateStrip, pt)) return 1;
  return 9999;
}

void TDrawView::mouseMoveEvent(QMouseEvent* e) {
  QWidget::mouseMoveEvent(e);
  if (drawing_) {
    current_.points.push_back(e->position().toPoint());
    update();
  }
  if (!data_.loaded) return;
  // Hints and the readout are sent only when the zone changes.
  const int zone = Time_Scale_Change(e->position().toPoint());
  if (zone == lastZone_) return;
  lastZone_ = zone;
  if (zone == 9999) {
    const std::string readout = Show_Quote(data_, data_.num_quotes - 1, readoutTitle(), settings().DisplayDateFormat);
    if (!readout.empty()) AppMessBar(readout);
  } else {
    AppMessBar(kStripHints[zone]);
  }
}

void TDrawView::mousePressEvent(QMouseEvent* e) {
  // Before the data is loaded every press counts as outside the strip.
  const int zone = data_.loaded ? Time_Scale_Change(e->position().toPoint()) : 9999;
  if (zone != 9999) zoom(zone, e->button(), false, e->position().toPoint().x());
  else if (e->button() == Qt::RightButton && data_.loaded) Display_Stats();
  else if (e->button() == Qt::LeftButton) {
    // A user line starts here, in the current pen.
    drawing_ = true;
    current_.points = {e->position().toPoint()};
  }
  QWidget::mousePressEvent(e);
}

void TDrawView::mouseReleaseEvent(QMouseEvent* e) {
  QWidget::mouseReleaseEvent(e);
  if (!drawing_ || e->button() != Qt::LeftButton) return;
  drawing_ = false;
  TLine done = current_;
  current_.points.clear();
  // A click without a move is no line.
  if (done.points.size() > 1) lines_->appendLine(done);
  else update();
}

void TDrawView::mouseDoubleClickEvent(QMouseEvent* e) {
  const int zone = data_.loaded ? Time_Scale_Change(e->position().toPoint()) : 9999;
  if (zone != 9999) zoom(zone, e->button(), true, e->position().toPoint().x());
  QWidget::mouseDoubleClickEvent(e);
}

void TDrawView::zoom(int zone, Qt::MouseButton button, bool twice, int x) {
  float& start = settings_.t_start;
  float& end = settings_.t_end;
  const float span = end - start;
  const float right = static_cast<float>(std::max(model_.frame.right, 1));
  if (button == Qt::LeftButton) {
    switch (zone) {
      case 1: start = start + span * static_cast<float>(x) / right; break;
      case 2: start = twice ? data_.t_full_min : std::max(start - 0.2f * span, data_.t_full_min); break;
      case 3: end = twice ? data_.t_full_max : start + data_.t_default_span; break;
      default: return;
    }
  } else if (button == Qt::RightButton) {
    // A right double click acts as a right click.
    switch (zone) {
      case 1: end = start + span * static_cast<float>(x) / right; break;
      case 2: start = end - data_.t_default_span; break;
      case 3: end = std::min(end + 0.2f * span, data_.t_full_max); break;
      default: return;
    }
  } else {
    return;
  }
  // The window's extremes follow at the next paint; the volatility axis now.
  volatility_ = setVolatilityScale(data_, settings_, volatility_);
  update();
}

void TDrawView::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_F9) {
    requestAnalysis();
    return;
  }
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || e->key() == Qt::Key_Space) {
    if (QWidget* frame = frameWindow()) frame->close();
    else close();
    return;
  }
  QWidget::keyPressEvent(e);
}

void TDrawView::closeEvent(QCloseEvent* e) {
  if (loading_) {
    // The load stops at its next line and then closes the window itself.
    close_pending = true;
    e->ignore();
    return;
  }
  recordWindowRect();
  e->accept();
}

void TDrawView::recordWindowRect() {
  const QMdiSubWindow* sub = frameWindow();
  if (!sub || no_file) return;
  settings_.maximised = sub->isMaximized() ? 1 : 0;
  settings_.minimised = sub->isMinimized() ? 1 : 0;
  if (sub->isMaximized() || sub->isMinimized() || !sub->isVisible()) return;
  // Left and top relative to the client area the window lives in.
  const QRect g = sub->geometry();
  settings_.win_left = g.x();
  settings_.win_top = g.y();
  settings_.win_width = g.width();
  settings_.win_height = g.height();
}

bool TDrawView::event(QEvent* e) {
  if (e->type() == QEvent::ParentChange) {
    if (watchedFrame_) watchedFrame_->removeEventFilter(this);
    watchedFrame_ = frameWindow();
    if (watchedFrame_) watchedFrame_->installEventFilter(this);
  }
  return QWidget::event(e);
}

bool TDrawView::eventFilter(QObject* watched, QEvent* e) {
  if (watched == watchedFrame_ &&
      (e->type() == QEvent::Move || e->type() == QEvent::Resize || e->type() == QEvent::WindowStateChange))
    recordWindowRect();
  return QWidget::eventFilter(watched, e);
}

bool TDrawView::handlesCommand(int id) const {
  switch (id) {
    case cm::ERASEREDRAW:
    case cm::REFRESH:
    case cm::REPAIRHQF:
    case cm::EDITHQF:
    case cm::ANALYSIS:
    case cm::STATISTICS:
    case cm::ANALYSISOPTIONS:
    case cm::LINEWIDTH:
    case cm::COLOR:
    case cm::LINECLEARALL: return true;
    case cm::LINEUNDO: return lines_->undoState() != LineDocument::None;
    case cm::PRINT:
    case cm::PRINTERSETUP:
    case cm::EXPORTCHARTIMAGE: return data_.loaded;
    case cm::STOP: return analysisRunning();
    default: return false;
  }
}

void TDrawView::runCommand(int id) {
  switch (id) {
    case cm::ERASEREDRAW: update(); break;
    case cm::REFRESH: load(); break;  // the file is read again from its first line
    case cm::REPAIRHQF: CmRepairHQF(); break;
    case cm::EDITHQF: CmEditHQF(); break;
    case cm::ANALYSIS: Four_Anal_Button(); break;
    case cm::STOP: abortAnalysis(); break;
    case cm::STATISTICS: Display_Stats(); break;
    case cm::ANALYSISOPTIONS: Display_Anal_Options(); break;
    case cm::LINEWIDTH:
      askPenSize(this, current_.penSize, [this](int size) { current_.penSize = size; });
      break;
    case cm::COLOR: askPenColor(this, current_.color, [this](QColor c) { current_.color = c; }); break;
    case cm::LINECLEARALL: lines_->clear(); break;
    case cm::LINEUNDO: lines_->undo(); break;
    case cm::PRINT: CmPrint(); break;
    case cm::PRINTERSETUP: CmPrinterSetup(); break;
    case cm::EXPORTCHARTIMAGE: CmExportImage(); break;
    default: break;
  }
}

void TDrawView::CmRepairHQF() {
  if (no_file || loading_) return;
  // The repair tool gets this very file, wherever it lies, then the chart closes.
  runFlags().FileToFixPath = chartRepairPath(path_);
  startRepair();
  if (QWidget* frame = frameWindow()) frame->close();
  else close();
}

void TDrawView::startRepair() {
  lastRepairProcess() = -1;
  host().sendAppMessage(appmsg::MendoraExec);
  const ProcessId id = lastRepairProcess();
  if (id < 0) return;
  // The chart closes now; the repaired file opens in a new one once the tool has ended.
  auto* watch = new QTimer(qApp);
  const std::string path = path_;
  QObject::connect(watch, &QTimer::timeout, watch, [watch, id, path] {
    if (!runFlags().Quit && !host().processExitCode(id)) return;
    watch->stop();
    watch->deleteLater();
    if (runFlags().Quit) return;
    runFlags().QuoteFile = path;
    host().sendAppMessage(appmsg::PlotQuote);
  });
  watch->start(200);
}

void TDrawView::CmEditHQF() {
  if (no_file) return;
  const std::string& editor = settings().TPathBuffer.EditorPath;
  if (host().startProcess(editor, {nativePath(path_)}, {}) < 0) {
    LogBox("For command -- " + editor + " " + path_ + "\n\n" + "Unable to find your Editor.\n\n" +
               "Please be sure the path is correct in QUOVA " + "Options/Setup External Programs Pathnames.",
           "QUOVA Quotefile Edit ERROR in Chart/CmEditHQF", mb::OK | mb::ICONEXCLAMATION);
  }
}

void TDrawView::Four_Anal_Button() {
  if (!data_.loaded) return;
  auto* w = new TSetupWindow(settings_, setup_, this);
  w->setAttribute(Qt::WA_DeleteOnClose);
  connect(w, &QDialog::accepted, this, [this] { requestAnalysis(); });
  w->open();
}

void TDrawView::requestAnalysis() {
  analysis_request = cm::ANALYSIS;
  update();
}

bool TDrawView::printTo(QPrinter& printer) {
  if (!data_.loaded) return false;
  printer.setDocName(QString::fromStdString(chartTitle()));
  QPainter p;
  if (!p.begin(&printer)) return false;
  PlotFrame screen = screenFrame();
  screen.title = chartTitle();  // the page's title is the document's own
  const int pageWidth = printer.pageLayout().paintRectPixels(printer.resolution()).width();
  renderChartPage(p, pageWidth, screen, data_, settings_, settings().PlotColors);
  const bool ok = p.end();
  update();  // back to the screen
  return ok;
}

void TDrawView::CmPrint() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  auto* d = new QPrintDialog(printer_.get(), this);
  d->setAttribute(Qt::WA_DeleteOnClose);
  connect(d, &QDialog::accepted, this, [this] {
    if (!printTo(*printer_))
      LogBox("Unable to print " + chartTitle(), "Quote Plotting Window ERROR", mb::OK | mb::ICONEXCLAMATION);
  });
  d->open();
}

void TDrawView::CmPrinterSetup() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  auto* d = new QPageSetupDialog(printer_.get(), this);
  d->setAttribute(Qt::WA_DeleteOnClose);
  d->open();
}

bool TDrawView::exportImage(const std::string& file, QSize size, std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error) *error = why;
    return false;
  };
  if (!data_.loaded) return fail("No quotes loaded");
  if (size.width() < 1 || size.height() < 1 || size.width() > 20000 || size.height() > 20000)
    return fail("Invalid image size");
  const QString name = QString::fromStdString(file);
  const QString suffix = QFileInfo(name).suffix().toLower();
  const Palette& colors = settings().PlotColors;
  const std::string title = readoutTitle();
  if (suffix == "pdf") {
    auto device = std::make_unique<QPdfWriter>(name);
    device->setTitle(QString::fromStdString(chartTitle()));
    device->setResolution(96);
    device->setPageSize(QPageSize(QSizeF(size.width() * 72.0 / 96, size.height() * 72.0 / 96), QPageSize::Point));
    device->setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter p;
    if (!p.begin(device.get())) return fail("Unable to write " + file);
    renderChart(p, size, data_, settings_, colors, title);
    if (!p.end()) return fail("Unable to write " + file);
    return true;
  }
  const QImage img = renderChartImage(size, data_, settings_, colors, title);
  if (img.isNull()) return fail("Invalid image size");
  if (!img.save(name, suffix.isEmpty() ? "PNG" : nullptr)) return fail("Unable to write " + file);
  return true;
}

void TDrawView::CmExportImage() {
  auto* d = new QFileDialog(this, "Export Chart Image", QString(),
                            "PNG image (*.png);;PDF document (*.pdf)");
  d->setAttribute(Qt::WA_DeleteOnClose);
  d->setAcceptMode(QFileDialog::AcceptSave);
  d->setDefaultSuffix("png");
  connect(d, &QFileDialog::fileSelected, this, [this](const QString& file) {
    auto* ask = new QInputDialog(this);
    ask->setAttribute(Qt::WA_DeleteOnClose);
    ask->setWindowTitle("Export Chart Image");
    ask->setLabelText("Image size (width x height):");
    ask->setTextValue(QString("%1x%2").arg(width()).arg(height()));
    connect(ask, &QInputDialog::textValueSelected, this, [this, file](const QString& text) {
      const QStringList wh = text.toLower().split('x');
      const QSize size = wh.size() == 2 ? QSize(wh[0].trimmed().toInt(), wh[1].trimmed().toInt()) : QSize();
      std::string why;
      if (!exportImage(file.toStdString(), size, &why))
        LogBox(why, "Export Chart Image", mb::OK | mb::ICONEXCLAMATION);
    });
    ask->open();
  });
  d->open();
}

QWidget* TDrawView::newViewOfDocument() { return new TDrawListView(lines_, path_); }

void TDrawView::Display_Stats() {
  if (!data_.loaded) return;
  const int fmt = settings().DisplayDateFormat;
  auto* w = new HistStatWindow(ShowHistStats(data_, settings_, fmt), settings_, fmt, histStatsTitle(path_), this);
  w->setAttribute(Qt::WA_DeleteOnClose);
  connect(w, &QDialog::accepted, this, [this, w] {
    if (!w->windowMoved) return;
    volatility_ = setVolatilityScale(data_, settings_, volatility_);
    update();
  });
  w->open();
}

void TDrawView::Display_Anal_Options() {
  if (!data_.loaded) return;
  auto* w = new TMathDisplaySetup(data_, settings_, this);
  w->setAttribute(Qt::WA_DeleteOnClose);
  connect(w, &TMathDisplaySetup::applied, this, [this] {
    volatility_ = setVolatilityScale(data_, settings_, volatility_);
    update();
  });
  w->open();
}

bool TDrawView::analysisRunning() const { return job_ && !jobAborted_; }

void TDrawView::startAnalysis() {
  if (!data_.loaded || job_) return;
  const int n = countFitPoints(data_, settings_.t_start, settings_.t_end);
  if (n < 2 || (settings_.poly_enabled && n <= std::clamp(settings_.poly_order, 0, n_poly_max))) {
    // Nothing to compute: the run itself says so in the status bar.
    Fit_Type unused;
    Four_Anal(data_, settings_, setup_, unused);
    return;
  }
  job_ = std::make_unique<AnalysisJob>(data_, settings_, setup_);
  jobAborted_ = false;
  connect(job_.get(), &AnalysisJob::finished, this, [this] { analysisDone(); });
  if (!progress_) {
    progress_ = new QTimer(this);
    progress_->setInterval(250);
    connect(progress_, &QTimer::timeout, this, [this] {
      char t[120];
      std::snprintf(t, sizeof t, "Mathematical Analysis running ... %.1f s    (Abort Operation stops it)",
                    runClock_.elapsed() / 1000.0);
      MessBar(t);
    });
  }
  runClock_.start();
  progress_->start();
  MessBar("Mathematical Analysis running ...");
  job_->start();
}

void TDrawView::analysisDone() {
  if (!job_ || job_->running()) return;
  std::unique_ptr<AnalysisJob> job = std::move(job_);
  job->wait();
  progress_->stop();
  if (jobAborted_) {
    jobAborted_ = false;
    return;
  }
  MessBar("");
  job->replayHostCalls();
  if (!job->result().done) return;
  study_ = job->result();
  if (setup_.fund_baseline == 1) storeFit(settings_, job->fit());
  update();
}

void TDrawView::abortAnalysis() {
  if (!analysisRunning()) return;
  // The search stops at its next candidate; what it leaves is dropped when it ends.
  jobAborted_ = true;
  job_->cancel();
  progress_->stop();
  MessBar("Mathematical Analysis aborted");
}

void connectCharts() {
  setViewFactory(DocKind::Chart, [](const std::string& path) -> QWidget* { return new TDrawView(path); });
}

}  // namespace quova
