// Painting plot models with QPainter, and the offscreen chart of a .day file.
#include "chart/windows/chart_render.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPalette>
#include <QPolygon>
#include <algorithm>

#include "chart/chart_data.h"
#include "chart/chart_settings.h"
#include "chart/indicators.h"
#include "quotes/format_file.h"
#include "quotes/quote_format.h"
#include "settings/settings.h"

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

void paintDateStrip(QPainter& p, const PlotModel& m, const QPalette& pal) {
  if (m.dateStrip.width() <= 0 || m.dateStrip.height() <= 0) return;
  auto bevel = [&](const Rect& r) {
    const QRect q = qrect(r);
    p.fillRect(q, pal.color(QPalette::Button));
    p.setPen(pal.color(QPalette::Light));
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

}  // namespace

PlotFrame deviceFrame(const QPainter& p, QSize size, int stripHeight, const ChartSettings& s,
                      const std::string& title, const VolatilityRange& vol) {
  PlotFrame f;
  f.width = size.width();
  f.height = size.height();
  f.stripHeight = stripHeight;
  const QFontMetrics fm(p.font(), p.device());
  f.text.lineHeight = fm.height();
  f.text.charWidth = fm.averageCharWidth();
  f.text.width = [fm](std::string_view t) {
    return fm.horizontalAdvance(QString::fromUtf8(t.data(), static_cast<int>(t.size())));
  };
  f.dateFormat = settings().DisplayDateFormat;
  f.title = title;
  f.volatility = vol;
  return f;
}

void paintPlotModel(QPainter& p, const PlotModel& m, const QPalette& strip) {
  const QFontMetrics fm(p.font(), p.device());
  auto text = [&](const Label& l) {
    p.setPen(qcolor(l.colour));
    p.drawText(l.x, l.y + fm.ascent(), QString::fromStdString(l.text));
  };
  paintDateStrip(p, m, strip);
  for (const Segment& s : m.lines) {
    p.setPen(pen(s.colour, s.penWidth, s.style));
    p.drawLine(s.from.x, s.from.y, s.to.x, s.to.y);
  }
  for (const Tick& t : m.ticks) {
    p.setPen(pen(t.colour, t.penWidth));
    p.drawLine(t.from.x, t.from.y, t.to.x, t.to.y);
  }
  // The bars as one batch of lines: tens of thousands of single calls cost more than the lines.
  std::vector<QLine> lines;
  lines.reserve(m.bars.size() * 3);
  for (const Bar& b : m.bars) {
    if (b.hasRange) lines.emplace_back(b.x, b.yHigh, b.x, b.yLow);
    if (b.hasClose) lines.emplace_back(b.x, b.yClose, b.xCloseEnd, b.yClose);
    if (b.hasVolume) lines.emplace_back(b.x, b.yVolumeBase, b.x, b.yVolume);
  }
  p.setPen(pen(m.barColour, 1));
  if (!lines.empty()) p.drawLines(lines.data(), static_cast<int>(lines.size()));
  // Axis labels over the bars, each on its own patch of background (those in the date strip
  // on the strip itself), so no bar runs through a figure.
  const QColor background = qcolor(m.background);
  for (const Label& l : m.labels) {
    const bool inStrip = l.y >= m.dateStrip.top && l.y < m.dateStrip.bottom && m.dateStrip.height() > 0;
    if (!inStrip) p.fillRect(l.x - 1, l.y, l.width + 2, std::min(l.height, fm.height()), background);
    text(l);
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

PlotModel renderChart(QPainter& p, QSize size, const ChartData& data, const ChartSettings& settings,
                      const Palette& colors, const std::string& title, const AnalysisResult* study) {
  p.fillRect(QRect(QPoint(0, 0), size), qcolor(colors[plotcolor::Background]));
  if (!data.loaded) return {};
  const VolatilityRange vol = setVolatilityScale(data, settings, VolatilityRange{});
  const int strip = std::max(QFontMetrics(p.font(), p.device()).height() + 4, 16);
  PlotModel m = buildPlotModel(data, settings, colors, deviceFrame(p, size, strip, settings, title, vol), study);
  QPalette pal;
  pal.setColor(QPalette::Button, QColor(0xd4, 0xd0, 0xc8));
  pal.setColor(QPalette::Light, Qt::white);
  pal.setColor(QPalette::Dark, QColor(0x80, 0x80, 0x80));
  pal.setColor(QPalette::ButtonText, Qt::black);
  paintPlotModel(p, m, pal);
  return m;
}

PlotModel renderChartPage(QPainter& p, int pageWidth, const PlotFrame& screen, const ChartData& data,
                          const ChartSettings& settings, const Palette& screenColors) {
  if (!data.loaded || pageWidth < 1) return {};
  PlotFrame f = printerFrame(screen, pageWidth, settings);
  const PlotFrame device = deviceFrame(p, QSize(f.width, f.height), 0, settings, screen.title, screen.volatility);
  f.text = device.text;
  // Black on white paper, whatever the desktop's colours are.
  const PlotModel m = buildPlotModel(data, settings, printerPalette(screenColors, SystemColors{}), f);
  paintPlotModel(p, m, QPalette());
  return m;
}

QImage renderChartImage(QSize size, const ChartData& data, const ChartSettings& settings,
                        const Palette& colors, const std::string& title, const AnalysisResult* study) {
  QImage img(size, QImage::Format_RGB32);
  if (img.isNull()) return img;
  QPainter p(&img);
  renderChart(p, size, data, settings, colors, title, study);
  return img;
}

QImage renderChartFile(const std::string& dayPath, QSize size, std::string* error) {
  auto fail = [error](std::string why) {
    if (error) *error = std::move(why);
    return QImage();
  };
  if (size.width() < 1 || size.height() < 1) return fail("Invalid image size");
  OFtype fmt = DefaultFormat();
  RecallFormatInfo(formatFilePath(dayPath), &fmt);
  ChartSettings cs = GetConfig(dayPath);
  ChartData data;
  ParseContext ctx;
  ctx.parse = chartLineParser(fmt);
  switch (LoadData(dayPath, data, cs, ctx)) {
    case LoadResult::Loaded: break;
    case LoadResult::CannotOpen: return fail("Unable to open file -- " + dayPath);
    default: return fail("No valid quotes found in " + dayPath);
  }
  QImage img = renderChartImage(size, data, cs, quovaPalette(), dayPath);
  if (img.isNull()) return fail("Image too large");
  return img;
}

}  // namespace quova
