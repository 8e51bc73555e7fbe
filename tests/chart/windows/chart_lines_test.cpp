// Lines drawn with the mouse on a chart: the line in the current pen, the document's list
// with its undo states, the pen dialogs and the line list view opened by Add View.
#include <gtest/gtest.h>

#include <QInputDialog>

#include "base/command_ids.h"
#include "chart/windows/chart_lines.h"
#include "chart_window_fixture.h"

namespace quova {
namespace {

struct ChartLines : ChartWindow {
  static void drag(QWidget* w, std::initializer_list<QPoint> path) {
    auto send = [w](QEvent::Type t, QPoint p, Qt::MouseButton b, Qt::MouseButtons held) {
      QMouseEvent e(t, QPointF(p), QPointF(w->mapToGlobal(p)), b, held, Qt::NoModifier);
      QApplication::sendEvent(w, &e);
    };
    auto it = path.begin();
    send(QEvent::MouseButtonPress, *it, Qt::LeftButton, Qt::LeftButton);
    QPoint last = *it;
    for (++it; it != path.end(); ++it) send(QEvent::MouseMove, last = *it, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, last, Qt::LeftButton, Qt::NoButton);
  }
  void penSize(const QString& text) {
    settle();
    auto* d = QApplication::activeModalWidget() ? qobject_cast<QInputDialog*>(QApplication::activeModalWidget())
                                                : nullptr;
    if (!d) d = f->findChild<QInputDialog*>();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->windowTitle(), "Line Thickness");
    EXPECT_EQ(d->labelText(), "Input a new thickness:");
    d->setTextValue(text);
    d->accept();
    settle();
  }
};

TEST_F(ChartLines, DrawnLinesWithUndoAndTheirListView) {
  TDrawView* v = open(day);
  ASSERT_NE(v, nullptr);
  f->client()->activeSubWindow()->setGeometry(0, 0, 640, 480);
  settle();
  v->grab();
  LineDocument& doc = v->lines();

  // Pen size: 0 and negatives become 1; 4 is taken.
  for (const auto& [typed, size] : {std::pair{"0", 1}, {"-3", 1}, {"4", 4}}) {
    f->runCommand(cm::LINEWIDTH);
    penSize(typed);
    EXPECT_EQ(v->currentLine().penSize, size) << typed;
  }
  drag(v, {QPoint(100, 60)});  // a click only
  EXPECT_TRUE(doc.lines().empty());
  drag(v, {QPoint(100, 60), QPoint(200, 60), QPoint(300, 120)});
  ASSERT_EQ(doc.lines().size(), 1u);
  EXPECT_EQ(doc.undoState(), LineDocument::Append);
  const QImage img = v->grab().toImage();
  const QColor pen = doc.lines()[0].color;
  EXPECT_EQ(img.pixelColor(150, 60), pen);
  EXPECT_EQ(img.pixelColor(150, 61), pen);  // four pixels wide
  EXPECT_TRUE(v->currentLine().points.empty());
  drag(v, {QPoint(50, 150), QPoint(80, 160)});
  ASSERT_EQ(doc.lines().size(), 2u);

  // The list view of the same document (Add View).
  f->runCommand(cm::ADDVIEW);
  settle();
  auto* list = qobject_cast<TDrawListView*>(f->client()->activeSubWindow()->widget());
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->count(), 2);
  char row[96];
  std::snprintf(row, sizeof row, "Color = R%d G%d B%d, Size = 4, Points = 3", pen.red(), pen.green(), pen.blue());
  EXPECT_EQ(list->item(0)->text().toStdString(), row);

  // Delete, undo (back at the end), modify and undo, append and undo, clear all.
  struct Step {
    int command;
    int undoAfter;
    std::size_t lines;
    int firstPoints;  // points of the first line afterwards
  } steps[] = {
      {cm::LINEDELETE, LineDocument::Delete, 1, 2},
      {cm::LINEUNDO, LineDocument::None, 2, 2},
      {cm::LINEWIDTH, LineDocument::Modify, 2, 2},
      {cm::LINEUNDO, LineDocument::None, 2, 2},
      {cm::LINECLEARALL, LineDocument::None, 0, 0},
  };
  list->setCurrentRow(0);
  for (const Step& s : steps) {
    f->runCommand(s.command);
    if (s.command == cm::LINEWIDTH) {
      penSize("7");
      EXPECT_EQ(list->item(0)->text().contains("Size = 7"), true);
    }
    EXPECT_EQ(doc.undoState(), s.undoAfter) << s.command;
    ASSERT_EQ(doc.lines().size(), s.lines) << s.command;
    EXPECT_EQ(list->count(), static_cast<int>(s.lines));
    if (s.lines) {
      EXPECT_EQ(static_cast<int>(doc.lines()[0].points.size()), s.firstPoints) << s.command;
    }
  }
  EXPECT_EQ(doc.lines().empty() ? 0 : doc.lines()[0].penSize, 0);
  // Back on the chart: a new line, undone by Undo.
  f->client()->setActiveSubWindow(f->client()->subWindowList().front());
  drag(v, {QPoint(10, 10), QPoint(40, 40)});
  EXPECT_TRUE(f->routeHandles(cm::LINEUNDO));
  f->runCommand(cm::LINEUNDO);
  EXPECT_TRUE(doc.lines().empty());
  EXPECT_FALSE(f->routeHandles(cm::LINEUNDO));
}

}  // namespace
}  // namespace quova
