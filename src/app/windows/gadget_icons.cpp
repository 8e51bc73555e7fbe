// Button faces drawn on a 24-unit grid: dark outlines, one accent colour per kind of
// command (files blue, quote lists green, analysis amber, stop red).
#include "app/windows/gadget_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <cmath>

#include "base/command_ids.h"

namespace quova {

namespace {

const QColor kInk(52, 64, 84);
const QColor kBlue(46, 111, 189);
const QColor kGreen(40, 150, 90);
const QColor kAmber(214, 137, 16);
const QColor kRed(192, 57, 43);
const QColor kPaper(250, 250, 246);

QPen ink(qreal w = 1.6, QColor c = kInk) { return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

void page(QPainter& p, QRectF r) {
  p.setPen(ink());
  p.setBrush(kPaper);
  p.drawRect(r);
}

void lines(QPainter& p, qreal x0, qreal x1, std::initializer_list<qreal> ys, QColor c = kInk) {
  p.setPen(ink(1.4, c));
  for (qreal y : ys) p.drawLine(QPointF(x0, y), QPointF(x1, y));
}

void arrowDown(QPainter& p, QPointF tip, qreal len, QColor c) {
  p.setPen(ink(2.4, c));
  p.drawLine(QPointF(tip.x(), tip.y() - len), tip);
  p.drawLine(tip, QPointF(tip.x() - 4, tip.y() - 4));
  p.drawLine(tip, QPointF(tip.x() + 4, tip.y() - 4));
}

void gear(QPainter& p, QPointF c, qreal r, QColor fill) {
  QPainterPath path;
  const int teeth = 8;
  for (int i = 0; i < teeth * 2; ++i) {
    const qreal a = i * M_PI / teeth;
    const qreal rr = (i % 2 == 0) ? r : r * 0.72;
    const QPointF q1(c.x() + rr * std::cos(a - 0.18), c.y() + rr * std::sin(a - 0.18));
    const QPointF q2(c.x() + rr * std::cos(a + 0.18), c.y() + rr * std::sin(a + 0.18));
    if (i == 0) path.moveTo(q1);
    else path.lineTo(q1);
    path.lineTo(q2);
  }
  path.closeSubpath();
  path.addEllipse(c, r * 0.3, r * 0.3);
  p.setPen(ink(1.2));
  p.setBrush(fill);
  p.drawPath(path);
}

void draw(QPainter& p, int id) {
  switch (id) {
    case cm::FILEOPEN: {  // open: a folder
      p.setPen(ink());
      p.setBrush(kAmber);
      p.drawPolygon(QPolygonF({{3, 7}, {9, 7}, {11, 9}, {21, 9}, {21, 19}, {3, 19}}));
      p.setBrush(QColor(245, 190, 80));
      p.drawPolygon(QPolygonF({{3, 19}, {6, 12}, {23, 12}, {21, 19}}));
      break;
    }
    case cm::FILESAVE:  // save: a disk
      p.setPen(ink());
      p.setBrush(kBlue);
      p.drawRoundedRect(QRectF(3.5, 3.5, 17, 17), 2, 2);
      p.setBrush(kPaper);
      p.drawRect(QRectF(7, 4, 10, 6));
      p.setBrush(kInk);
      p.drawRect(QRectF(7, 14, 10, 6.5));
      break;
    case cm::LINEWIDTH:  // line width: three strokes growing thicker
      for (int i = 0; i < 3; ++i) {
        p.setPen(QPen(kInk, 1.0 + 1.8 * i, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(4, 6 + 6 * i), QPointF(20, 6 + 6 * i));
      }
      break;
    case cm::COLOR: {  // colour: four swatches
      const QColor c[] = {kRed, kGreen, kBlue, kAmber};
      p.setPen(ink(1.2));
      for (int i = 0; i < 4; ++i) {
        p.setBrush(c[i]);
        p.drawRect(QRectF(4 + (i % 2) * 8.5, 4 + (i / 2) * 8.5, 7.5, 7.5));
      }
      break;
    }
    case cm::SHOWALL:  // columns: a table with one column picked out
      page(p, QRectF(3.5, 4.5, 17, 15));
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(kGreen.red(), kGreen.green(), kGreen.blue(), 110));
      p.drawRect(QRectF(9.5, 5, 5, 14));
      lines(p, 3.5, 20.5, {9.5, 14.5});
      p.drawLine(QPointF(9.5, 4.5), QPointF(9.5, 19.5));
      p.drawLine(QPointF(14.5, 4.5), QPointF(14.5, 19.5));
      break;
    case cm::EDITADD:  // add a quote request: list and plus
      page(p, QRectF(3.5, 3.5, 13, 16));
      lines(p, 6, 14, {7.5, 11, 14.5});
      p.setPen(ink(2.6, kGreen));
      p.drawLine(QPointF(18, 13), QPointF(18, 22));
      p.drawLine(QPointF(13.5, 17.5), QPointF(22.5, 17.5));
      break;
    case cm::ALARMS: {  // alarms: a bell
      QPainterPath bell;
      bell.moveTo(5, 17);
      bell.cubicTo(7, 15, 6.5, 5, 12, 5);
      bell.cubicTo(17.5, 5, 17, 15, 19, 17);
      bell.closeSubpath();
      p.setPen(ink());
      p.setBrush(kAmber);
      p.drawPath(bell);
      p.setBrush(kInk);
      p.drawEllipse(QPointF(12, 19.5), 1.8, 1.8);
      p.drawLine(QPointF(12, 3), QPointF(12, 5));
      break;
    }
    case cm::UPDATE:  // download this quote list: arrow into a tray
      arrowDown(p, QPointF(12, 15), 11, kGreen);
      p.setPen(ink(1.8));
      p.drawPolyline(QPolygonF({{4, 14}, {4, 20}, {20, 20}, {20, 14}}));
      break;
    case cm::DLOPTIONS:  // download options: a checklist
      page(p, QRectF(3.5, 3.5, 17, 17));
      for (int i = 0; i < 3; ++i) {
        p.setPen(ink(1.4, kGreen));
        p.drawPolyline(QPolygonF({{6, 8.0 + 5 * i}, {7.5, 9.5 + 5 * i}, {10, 6.5 + 5 * i}}));
        lines(p, 12, 18, {8.0 + 5 * i});
      }
      break;
    case cm::COPYQL:  // copy a quote list: two pages
      page(p, QRectF(3.5, 3.5, 11, 13));
      page(p, QRectF(9.5, 7.5, 11, 13));
      lines(p, 12, 18, {11.5, 14.5, 17.5}, kGreen);
      break;
    case cm::ANALYSIS: {  // mathematical analysis: points and a fitted curve
      p.setPen(ink(1.4));
      p.drawPolyline(QPolygonF({{3.5, 3}, {3.5, 20.5}, {21, 20.5}}));
      QPainterPath fit;
      fit.moveTo(5, 17);
      fit.cubicTo(9, 4, 14, 20, 20, 6);
      p.setPen(ink(1.8, kAmber));
      p.setBrush(Qt::NoBrush);
      p.drawPath(fit);
      p.setPen(Qt::NoPen);
      p.setBrush(kInk);
      for (QPointF d : {QPointF(7, 12), QPointF(11, 11), QPointF(14, 15), QPointF(18, 10)}) p.drawEllipse(d, 1.2, 1.2);
      break;
    }
    case cm::ANALYSISOPTIONS:  // analysis options: two sliders
      lines(p, 4, 20, {8, 16});
      p.setPen(ink(1.2));
      p.setBrush(kAmber);
      p.drawRect(QRectF(12, 5, 4, 6));
      p.drawRect(QRectF(6, 13, 4, 6));
      break;
    case cm::STATISTICS:  // historical statistics: a bar chart
      p.setPen(ink(1.2));
      p.setBrush(kAmber);
      p.drawRect(QRectF(4, 12, 4, 8));
      p.drawRect(QRectF(10, 6, 4, 14));
      p.drawRect(QRectF(16, 9, 4, 11));
      p.setPen(ink(1.4));
      p.drawLine(QPointF(3, 20.5), QPointF(21, 20.5));
      break;
    case cm::REPAIRHQF: {  // repair or import a quote file: a wrench
      p.setPen(QPen(kInk, 3.2, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(6, 19), QPointF(14, 11));
      p.setPen(ink(1.6));
      p.setBrush(QColor(150, 160, 175));
      QPainterPath head;
      head.addEllipse(QPointF(16, 8), 5, 5);
      QPainterPath notch;
      notch.addRect(QRectF(15, 1.5, 7, 5));
      p.drawPath(head.subtracted(notch));
      break;
    }
    case cm::SPREADSHEET:  // export to the spreadsheet: a grid and an arrow
      page(p, QRectF(3.5, 3.5, 13, 16));
      lines(p, 3.5, 16.5, {8.5, 13.5});
      p.drawLine(QPointF(10, 3.5), QPointF(10, 19.5));
      p.setPen(ink(2.2, kGreen));
      p.drawLine(QPointF(13, 16), QPointF(21, 16));
      p.drawPolyline(QPolygonF({{18, 13}, {21, 16}, {18, 19}}));
      break;
    case cm::EDITHQF:  // edit the quote file as text: a page and a pencil
      page(p, QRectF(3.5, 3.5, 13, 17));
      lines(p, 6, 14, {7.5, 10.5, 13.5});
      p.setPen(QPen(kBlue, 3, Qt::SolidLine, Qt::FlatCap));
      p.drawLine(QPointF(12, 20), QPointF(20.5, 11.5));
      p.setPen(ink(1.2));
      p.drawLine(QPointF(10.8, 21.2), QPointF(12, 20));
      break;
    case cm::REFRESH: {  // refresh: a circular arrow
      p.setPen(ink(2.2, kBlue));
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(5, 5, 14, 14), 60 * 16, 280 * 16);
      p.drawPolyline(QPolygonF({{15.5, 2.5}, {16.2, 6.8}, {12, 7.5}}));
      break;
    }
    case cm::ERASEREDRAW:  // erase and redraw the plot: high-low-close bars
      p.setPen(ink(1.4));
      p.drawPolyline(QPolygonF({{3.5, 3}, {3.5, 20.5}, {21, 20.5}}));
      p.setPen(ink(1.6, kBlue));
      for (int i = 0; i < 4; ++i) {
        const qreal x = 7 + 4 * i, lo = 17 - 2 * i, hi = lo - 7;
        p.drawLine(QPointF(x, lo), QPointF(x, hi));
        p.drawLine(QPointF(x, hi + 3), QPointF(x + 1.8, hi + 3));
      }
      break;
    case cm::SETUPOPTIONS:  // global setup: a gear
      gear(p, QPointF(12, 12), 9, QColor(150, 160, 175));
      break;
    case cm::STOP: {  // abort: a stop sign
      QPolygonF oct;
      for (int i = 0; i < 8; ++i) {
        const qreal a = M_PI / 8 + i * M_PI / 4;
        oct << QPointF(12 + 9.5 * std::cos(a), 12 + 9.5 * std::sin(a));
      }
      p.setPen(ink(1.2));
      p.setBrush(kRed);
      p.drawPolygon(oct);
      p.setPen(QPen(Qt::white, 2.6, Qt::SolidLine, Qt::FlatCap));
      p.drawLine(QPointF(7, 12), QPointF(17, 12));
      break;
    }
    case cm::ABOUT:  // about: an information mark
      p.setPen(ink(1.2));
      p.setBrush(kBlue);
      p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
      p.setPen(Qt::NoPen);
      p.setBrush(Qt::white);
      p.drawEllipse(QPointF(12, 7.5), 1.6, 1.6);
      p.drawRoundedRect(QRectF(10.6, 10.5, 2.8, 8), 1, 1);
      break;
    default:
      p.setPen(ink());
      p.setBrush(Qt::NoBrush);
      p.drawRoundedRect(QRectF(3.5, 3.5, 17, 17), 3, 3);
      break;
  }
}

}  // namespace

QIcon gadgetIcon(int id) {
  QIcon icon;
  for (int size : {16, 20, 24, 32, 48}) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 24.0, size / 24.0);
    draw(p, id);
    icon.addPixmap(pm);
  }
  return icon;
}

}  // namespace quova
