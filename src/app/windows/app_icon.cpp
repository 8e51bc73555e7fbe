// IDI_QUOVA, drawn at the sizes the window decorations ask for.
#include "app/windows/app_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace quova {

namespace {

QPixmap drawIcon(int size) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal s = size / 32.0;
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(30, 70, 140));
  p.drawRoundedRect(QRectF(1 * s, 1 * s, 30 * s, 30 * s), 5 * s, 5 * s);
  QPainterPath line;
  line.moveTo(5 * s, 24 * s);
  line.lineTo(11 * s, 17 * s);
  line.lineTo(16 * s, 20 * s);
  line.lineTo(22 * s, 10 * s);
  line.lineTo(27 * s, 7 * s);
  p.setPen(QPen(QColor(120, 220, 120), 2.5 * s, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(line);
  p.setPen(QPen(QColor(230, 230, 240), 1.2 * s));
  p.drawLine(QPointF(5 * s, 27 * s), QPointF(27 * s, 27 * s));
  return pm;
}

}  // namespace

const QIcon& quovaIcon() {
  static const QIcon icon = [] {
    QIcon i;
    for (int size : {16, 24, 32, 48, 64}) i.addPixmap(drawIcon(size));
    return i;
  }();
  return icon;
}

}  // namespace quova
