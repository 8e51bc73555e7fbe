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
#include <QTimer>

#include "app/windows/doc_templates.h"
#include "base/command_ids.h"
#include "base/host.h"
#include "base/log.h"
#include "base/run_flags.h"
#include "chart/indicators.h"
#include "quotes/format_file.h"
#include "settings/repair_start.h"
#include "settings/settings.h"
#include "util/paths.h"

namespace quova {

namespace {

QColor qcolor(Colour c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

Qt::PenStyle qstyle(PenStyle s) {
  switch (s) {
    case PenStyle::Dash: return Qt::DashLine;
    case PenStyle::Dot: return Qt::DotLine;
    case PenStyle::DashDot: return Qt::DashDotLine;
    default: return Qt::SolidLine;
  }
}

QPen pen(Colour c, int width, PenStyle style = PenStyle::Solid) {
  return QPen(qcolor(c), std::max(width, 1), qstyle(style));
}

QRect qrect(const Rect& r) { return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)); }

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
  if (path_.empty()) {
    no_file = true;
    LogBox("Sorry...You cannot Edit/Create new *.day historical quote files....QUOVA will do that!",
           "Quote Plotting Window ERROR", mb::OK | mb::ICONEXCLAMATION);
    return;
  }
  RecallFormatInfo(formatFilePath(path_), &fmt_);
  checkStochasticDays(settings_);
  // Where the settings file put the chart's frame window last time.
  setGeometry(settings_.win_left, settings_.win_top, std::max(settings_.win_width, 1),
              std::max(settings_.win_height, 1));
  if (settings_.maximised) setWindowState(Qt::WindowMaximized);
  else if (settings_.minimised) setWindowState(Qt::WindowMinimized);
}

TDrawView::~TDrawView() {
  if (no_file || close_pending) return;
  SaveConfig(path_, settings_);
}

QMdiSubWindow* TDrawView::frameWindow() const { return qobject_cast<QMdiSubWindow*>(parentWidget()); }

std::string TDrawView::chartTitle() const {
  const QMdiSubWindow* sub = frameWindow();
  return (sub ? sub->windowTitle() : windowTitle()).toStdString();
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
  f.title = chartTitle();
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
  if (!data_.loaded || loading_) return;
  model_ = buildModel();
  writePlotLog(model_);
  paintModel(p, model_);
  // Show_Quote of the last quote: the readout goes to the status bar.
  if (!model_.readout.empty()) AppMessBar(model_.readout);
}

void TDrawView::paintDateStrip(QPainter& p, const PlotModel& m) {
  if (m.dateStrip.width() <= 0 || m.dateStrip.height() <= 0) return;
  const QPalette& pal = palette();
  auto bevel = [&](const Rect& r) {
    const QRect q = qrect(r);
    p.fillRect(q, pal.color(QPalette::Button));
    p.setPen(Qt::white);
    p.drawLine(q.topLeft(), q.topRight());
    p.drawLine(q.topLeft(), q.bottomLeft());
    p.setPen(pal.color(QPalette::Dark));
    p.drawLine(q.bottomLeft(), q.bottomRight());
    p.drawLine(q.topRight(), q.bottomRight());
  };
  bevel(m.dateStrip);
  bevel(m.leftButton);
  bevel(m.rightButton);
  // A triangle in each button, pointing outwards.
  p.setPen(Qt::NoPen);
  p.setBrush(pal.color(QPalette::ButtonText));
  for (int side = 0; side < 2; ++side) {
    const QRect b = qrect(side == 0 ? m.leftButton : m.rightButton);
    const int cy = b.center().y(), h = std::max(b.height() / 4, 2);
    const int tip = side == 0 ? b.left() + h : b.right() - h;
    const int base = side == 0 ? b.right() - h : b.left() + h;
    p.drawPolygon(QPolygon({QPoint(tip, cy), QPoint(base, cy - h), QPoint(base, cy + h)}));
  }
  p.setBrush(Qt::NoBrush);
}

void TDrawView::paintModel(QPainter& p, const PlotModel& m) {
  const QFontMetrics fm = fontMetrics();
  auto text = [&](const Label& l) {
    p.setPen(qcolor(l.colour));
    p.drawText(l.x, l.y + fm.ascent(), QString::fromStdString(l.text));
  };
  paintDateStrip(p, m);
  for (const Segment& s : m.lines) {
    p.setPen(pen(s.colour, s.penWidth, s.style));
    p.drawLine(s.from.x, s.from.y, s.to.x, s.to.y);
  }
  for (const Tick& t : m.ticks) {
    p.setPen(pen(t.colour, t.penWidth));
    p.drawLine(t.from.x, t.from.y, t.to.x, t.to.y);
  }
  for (const Label& l : m.labels) text(l);
  p.setPen(pen(m.barColour, 1));
  for (const Bar& b : m.bars) {
    if (b.hasRange) p.drawLine(b.x, b.yHigh, b.x, b.yLow);
    if (b.hasClose) p.drawLine(b.x, b.yClose, b.xCloseEnd, b.yClose);
    if (b.hasVolume) p.drawLine(b.x, b.yVolumeBase, b.x, b.yVolume);
  }
  for (const Label& l : m.legends) text(l);
  QPolygon poly;
  for (const Polyline& c : m.curves) {
    if (c.points.empty()) continue;
    poly.resize(static_cast<int>(c.points.size()));
    for (std::size_t i = 0; i < c.points.size(); ++i) poly.setPoint(static_cast<int>(i), c.points[i].x, c.points[i].y);
    p.setPen(pen(c.colour, c.penWidth, c.style));
    if (poly.size() == 1) p.drawPoint(poly.point(0));
    else p.drawPolyline(poly);
  }
  for (const Mark& k : m.marks) {
    const QString letter(QChar(k.letter));
    p.setPen(qcolor(k.colour));
    p.drawText(k.x - fm.horizontalAdvance(letter) / 2, k.y + fm.ascent(), letter);
  }
  for (const Label& l : m.texts) text(l);
}

int TDrawView::Time_Scale_Change(QPoint pt) const {
  if (contains(model_.leftButton, pt)) return 2;
  if (contains(model_.rightButton, pt)) return 3;
  if (contains(model_.dateStrip, pt)) return 1;
  return 9999;
}

void TDrawView::mouseMoveEvent(QMouseEvent* e) {
  QWidget::mouseMoveEvent(e);
  if (!data_.loaded) return;
  // Hints and the readout are sent only when the zone changes.
  const int zone = Time_Scale_Change(e->position().toPoint());
  if (zone == lastZone_) return;
  lastZone_ = zone;
  if (zone == 9999) {
    const std::string readout = Show_Quote(data_, data_.num_quotes - 1, chartTitle(), settings().DisplayDateFormat);
    if (!readout.empty()) AppMessBar(readout);
  } else {
    AppMessBar(kStripHints[zone]);
  }
}

void TDrawView::mousePressEvent(QMouseEvent* e) {
  // Before the data is loaded every press counts as outside the strip.
  const int zone = data_.loaded ? Time_Scale_Change(e->position().toPoint()) : 9999;
  if (zone != 9999) zoom(zone, e->button(), false, e->position().toPoint().x());
  QWidget::mousePressEvent(e);
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
  return id == cm::ERASEREDRAW || id == cm::REFRESH || id == cm::REPAIRHQF || id == cm::EDITHQF;
}

void TDrawView::runCommand(int id) {
  switch (id) {
    case cm::ERASEREDRAW: update(); break;
    case cm::REFRESH: load(); break;  // the file is read again from its first line
    case cm::REPAIRHQF: CmRepairHQF(); break;
    case cm::EDITHQF: CmEditHQF(); break;
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

void connectCharts() {
  setViewFactory(DocKind::Chart, [](const std::string& path) -> QWidget* { return new TDrawView(path); });
}

}  // namespace quova
