// Drawn lines: painting one, the document's list and undo, the pen dialogs and the list view.
#include "chart/windows/chart_lines.h"

#include <QColorDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QPainter>
#include <QPolygon>
#include <cstdio>

#include "base/command_ids.h"
#include "settings/settings.h"

namespace quova {

void TLine::Draw(QPainter& p) const {
  if (points.empty()) return;
  p.setPen(QPen(color, std::max(penSize, 1), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  if (points.size() == 1) {
    p.drawPoint(points.front());
    return;
  }
  p.drawPolyline(points.data(), static_cast<int>(points.size()));
}

void LineDocument::appendLine(const TLine& line) {
  lines_.push_back(line);
  undo_ = Append;
  emit lineAppended(static_cast<int>(lines_.size()) - 1);
}

bool LineDocument::deleteLine(int index) {
  if (index < 0 || index >= static_cast<int>(lines_.size())) return false;
  saved_ = lines_[index];
  lines_.erase(lines_.begin() + index);
  undo_ = Delete;
  emit lineDeleted(index);
  return true;
}

bool LineDocument::modifyLine(int index, const TLine& line) {
  if (index < 0 || index >= static_cast<int>(lines_.size())) return false;
  saved_ = lines_[index];
  savedIndex_ = index;
  lines_[index] = line;
  undo_ = Modify;
  emit lineModified(index);
  return true;
}

void LineDocument::clear() {
  lines_.clear();
  emit cleared();
}

void LineDocument::undo() {
  const int state = undo_;
  undo_ = None;
  switch (state) {
    case Delete:
      lines_.push_back(saved_);
      emit lineAppended(static_cast<int>(lines_.size()) - 1);
      break;
    case Append:
      if (!lines_.empty()) {
        lines_.pop_back();
        emit lineDeleted(static_cast<int>(lines_.size()));
      }
      break;
    case Modify:
      if (savedIndex_ >= 0 && savedIndex_ < static_cast<int>(lines_.size())) {
        lines_[savedIndex_] = saved_;
        emit lineModified(savedIndex_);
      }
      break;
    default: break;
  }
}

void askPenSize(QWidget* parent, int current, std::function<void(int)> done) {
  auto* d = new QInputDialog(parent);
  d->setAttribute(Qt::WA_DeleteOnClose);
  d->setWindowTitle("Line Thickness");
  d->setLabelText("Input a new thickness:");
  d->setTextValue(QString::number(current));
  if (auto* e = d->findChild<QLineEdit*>()) e->setMaxLength(6);
  QObject::connect(d, &QInputDialog::textValueSelected, parent, [done](const QString& text) {
    const int v = text.trimmed().toInt();  // what does not read is 0, and becomes 1 as well
    done(std::max(v, 1));
  });
  d->open();
}

void askPenColor(QWidget* parent, const QColor& current, std::function<void(QColor)> done) {
  const Palette& custom = settings().custColors;
  for (int i = 0; i < static_cast<int>(custom.size()) && i < QColorDialog::customCount(); ++i)
    QColorDialog::setCustomColor(i, QColor(custom[i] & 0xFF, (custom[i] >> 8) & 0xFF, (custom[i] >> 16) & 0xFF));
  auto* d = new QColorDialog(current, parent);
  d->setAttribute(Qt::WA_DeleteOnClose);
  QObject::connect(d, &QColorDialog::colorSelected, parent, [done](const QColor& c) { done(c); });
  d->open();
}

TDrawListView::TDrawListView(std::shared_ptr<LineDocument> doc, const std::string& path, QWidget* parent)
    : QListWidget(parent), doc_(std::move(doc)), path_(path) {
  setWindowTitle(QString::fromStdString(path));
  for (auto signal : {&LineDocument::lineAppended, &LineDocument::lineDeleted, &LineDocument::lineModified})
    connect(doc_.get(), signal, this, [this](int) { refresh(); });
  connect(doc_.get(), &LineDocument::cleared, this, [this] { refresh(); });
  refresh();
}

QString TDrawListView::rowText(const TLine& l) {
  char t[96];
  std::snprintf(t, sizeof t, "Color = R%d G%d B%d, Size = %d, Points = %d", l.color.red(), l.color.green(),
                l.color.blue(), l.penSize, static_cast<int>(l.points.size()));
  return QString::fromLatin1(t);
}

void TDrawListView::refresh() {
  const int row = currentRow();
  clear();
  for (const TLine& l : doc_->lines()) addItem(rowText(l));
  if (count() > 0) setCurrentRow(std::clamp(row, 0, count() - 1));
}

bool TDrawListView::handlesCommand(int id) const {
  switch (id) {
    case cm::LINEWIDTH:
    case cm::COLOR:
    case cm::LINEDELETE: return currentRow() >= 0;
    case cm::LINECLEARALL: return true;
    case cm::LINEUNDO: return doc_->undoState() != LineDocument::None;
    default: return false;
  }
}

void TDrawListView::runCommand(int id) {
  const int row = currentRow();
  const bool selected = row >= 0 && row < static_cast<int>(doc_->lines().size());
  switch (id) {
    case cm::LINEWIDTH:
      if (selected)
        askPenSize(this, doc_->lines()[row].penSize, [this, row](int size) {
          if (row >= static_cast<int>(doc_->lines().size())) return;
          TLine l = doc_->lines()[row];
          l.penSize = size;
          doc_->modifyLine(row, l);
        });
      break;
    case cm::COLOR:
      if (selected)
        askPenColor(this, doc_->lines()[row].color, [this, row](QColor c) {
          if (row >= static_cast<int>(doc_->lines().size())) return;
          TLine l = doc_->lines()[row];
          l.color = c;
          doc_->modifyLine(row, l);
        });
      break;
    case cm::LINEDELETE:
      if (selected) doc_->deleteLine(row);
      break;
    case cm::LINECLEARALL: doc_->clear(); break;
    case cm::LINEUNDO: doc_->undo(); break;
    default: break;
  }
}

}  // namespace quova
