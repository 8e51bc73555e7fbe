// The lines a user draws on a chart: TLine, the document's line list with its one-step undo
// (held in memory only), and TDrawListView, the list view of the same document.
#pragma once

#include <QColor>
#include <QListWidget>
#include <QObject>
#include <QPoint>
#include <memory>
#include <vector>

#include "base/windows/command_target.h"

class QPainter;

namespace quova {

struct TLine {
  std::vector<QPoint> points;  // window coordinates
  int penSize = 1;             // at least 1
  QColor color;
  void Draw(QPainter& p) const;
};

// The line list of a chart document, shared by its views. Notifications: lineAppended (100),
// lineDeleted (101), lineModified (102) and cleared.
class LineDocument : public QObject {
  Q_OBJECT

 public:
  enum Undo { None = 0, Delete = 1, Append = 2, Modify = 3 };
  const std::vector<TLine>& lines() const { return lines_; }
  int undoState() const { return undo_; }

  void appendLine(const TLine& line);
  bool deleteLine(int index);
  bool modifyLine(int index, const TLine& line);
  void clear();
  // Puts a deleted line back at the end, removes the last appended one, or restores the
  // modified one at its index; then there is nothing more to undo.
  void undo();

 signals:
  void lineAppended(int index);
  void lineDeleted(int index);
  void lineModified(int index);
  void cleared();

 private:
  std::vector<TLine> lines_;
  int undo_ = None;
  TLine saved_;
  int savedIndex_ = -1;
};

// "Line Thickness": asks for a pen size (up to 6 characters, the current one shown) without
// blocking; a value below 1 becomes 1. done(size) comes on OK.
void askPenSize(QWidget* parent, int current, std::function<void(int)> done);
// The colour chooser with the application's custom colours; done(colour) comes on OK.
void askPenColor(QWidget* parent, const QColor& current, std::function<void(QColor)> done);

// One row per line: "Color = R%d G%d B%d, Size = %d, Points = %d".
class TDrawListView : public QListWidget, public CommandTarget {
  Q_OBJECT

 public:
  TDrawListView(std::shared_ptr<LineDocument> doc, const std::string& path, QWidget* parent = nullptr);
  static QString rowText(const TLine& line);

  bool handlesCommand(int id) const override;
  void runCommand(int id) override;
  std::string documentPath() const override { return path_; }

 private:
  void refresh();
  std::shared_ptr<LineDocument> doc_;
  std::string path_;
};

}  // namespace quova
