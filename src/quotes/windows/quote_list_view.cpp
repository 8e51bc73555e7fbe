// The quote list window: rows, drawing, editing, saving, settings and the list's download.
#include "quotes/windows/quote_list_view.h"

#include <QApplication>
#include <QLineEdit>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPointer>
#include <QRegularExpression>
#include <QScreen>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <algorithm>
#include <cctype>
#include <cstring>

#include "app/windows/doc_templates.h"
#include "base/command_ids.h"
#include "base/host.h"
#include "base/log.h"
#include "base/run_flags.h"
#include "base/windows/frame_services.h"
#include "download/daily_run.h"
#include "download/download_state.h"
#include "download/events/download_session.h"
#include "quotes/alarms.h"
#include "quotes/format_file.h"
#include "quotes/list_operations.h"
#include "quotes/list_repair.h"
#include "settings/repair_start.h"
#include "quotes/quotelist.h"
#include "quotes/windows/add_request_dialog.h"
#include "quotes/windows/alarm_dialog.h"
#include "settings/external_programs.h"
#include "settings/settings.h"
#include "util/paths.h"

namespace quova {

namespace {

constexpr int kTextRole = Qt::UserRole + 1;  // the row's bytes as the file holds them
constexpr const char* kWindowCaption = "QUOVA QuoteList window Message";

std::vector<QuoteListView*>& registry() {
  static std::vector<QuoteListView*> views;
  return views;
}

std::string lowered(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Draws the rows as cells: the label row over the top visible row, alarm colours, raised
// cell frames.
class RowPainter : public QStyledItemDelegate {
 public:
  explicit RowPainter(QuoteListView* view) : QStyledItemDelegate(view), view_(view) {}

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
    return {rowWidth(view_->showAll()), option.fontMetrics.height() + 8};
  }

  void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const QPalette& pal = view_->palette();
    const bool label = index.row() == view_->labelRow();
    QColor bg = pal.color(QPalette::Button), fg = pal.color(QPalette::ButtonText);
    std::string text;
    if (label) {
      text = view_->qcf().qtlHeader.empty() ? std::string(kListLabelText) : view_->qcf().qtlHeader;
      bg = pal.color(QPalette::Highlight), fg = pal.color(QPalette::HighlightedText);
    } else {
      text = index.data(kTextRole).toByteArray().toStdString();
      if (option.state & QStyle::State_Selected) {
        bg = pal.color(QPalette::Highlight), fg = pal.color(QPalette::HighlightedText);
      } else if (view_->inAlarm(index.row())) {
        bg = QColor(0, 0, 128), fg = Qt::white;  // the active caption's colours
      }
    }
    const std::vector<std::string> cells = rowCells(text, label);
    const QRect row = option.rect;
    p->save();
    p->fillRect(row, bg);
    int x = row.left();
    for (std::size_t i = 0; i < kListColumns.size(); ++i) {
      const ListColumn& col = kListColumns[i];
      if (col.hideable && !view_->showAll()) continue;
      const QRect cell(x, row.top(), col.width, row.height());
      p->fillRect(cell, bg);
      p->setPen(fg);
      p->setClipRect(cell);
      p->drawText(cell.adjusted(col.inset, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                  QString::fromUtf8(cells[i].data(), static_cast<int>(cells[i].size())));
      p->setClipping(false);
      drawRaisedFrame(p, cell, pal.color(QPalette::Dark));
      x += col.width;
    }
    p->restore();
  }

 private:
  static void drawRaisedFrame(QPainter* p, const QRect& r, const QColor& shadow) {
    p->setPen(Qt::black);
    p->drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    p->drawLine(r.right(), r.top(), r.right(), r.bottom());
    p->setPen(Qt::white);
    for (int k = 1; k <= 2; ++k) {
      p->drawLine(r.left() + k, r.top() + k, r.right() - k, r.top() + k);
      p->drawLine(r.left() + k, r.top() + k, r.left() + k, r.bottom() - k);
    }
    p->setPen(shadow);
    for (int k = 1; k <= 2; ++k) {
      p->drawLine(r.left() + k, r.bottom() - k, r.right() - k, r.bottom() - k);
      p->drawLine(r.right() - k, r.top() + k, r.right() - k, r.bottom() - k);
    }
  }
  QuoteListView* view_;
};

QSize placementArea(QWidget* parent) {
  auto* client = qobject_cast<QMdiArea*>(parent);
  if (client && client->viewport()->isVisible() && !client->viewport()->size().isEmpty())
    return client->viewport()->size();
  if (const QScreen* s = QGuiApplication::primaryScreen()) return s->availableGeometry().size();
  return {};
}

}  // namespace

QuoteListView::QuoteListView(const std::string& path, QWidget* area) : QListWidget(nullptr), path_(path) {
  setItemDelegate(new RowPainter(this));
  setUniformItemSizes(true);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setSelectionMode(QAbstractItemView::SingleSelection);
  QFont f = font();
  f.setPointSize(9);
  setFont(f);
  connect(this, &QListWidget::itemDoubleClicked, this, [this] { SelectStock(); });
  const std::pair<QKeySequence, int> keys[] = {
      {QKeySequence(Qt::CTRL | Qt::Key_Z), cm::EDITUNDO},    {QKeySequence(Qt::CTRL | Qt::Key_X), cm::EDITCUT},
      {QKeySequence(Qt::CTRL | Qt::Key_C), cm::EDITCOPY},    {QKeySequence(Qt::CTRL | Qt::Key_V), cm::EDITPASTE},
      {QKeySequence(Qt::Key_Delete), cm::EDITDELETE},        {QKeySequence(Qt::CTRL | Qt::Key_Delete), cm::EDITCLEAR},
      {QKeySequence(Qt::Key_Insert), cm::EDITADD}};
  for (const auto& [key, id] : keys) {
    auto* sc = new QShortcut(key, this);
    sc->setContext(Qt::WidgetShortcut);
    const int cmd = id;
    connect(sc, &QShortcut::activated, this, [this, cmd] { runCommand(cmd); });
  }
  GetConfig();
  const QSize a = placementArea(area);
  cfg_ = clampedListPlacement(cfg_, a.width(), a.height());
  setGeometry(cfg_.left, cfg_.top, cfg_.width, cfg_.height);
  if (cfg_.maximised) setWindowState(Qt::WindowMaximized);
  else if (cfg_.minimised) setWindowState(Qt::WindowMinimized);
  load();
}

QuoteListView::~QuoteListView() {
  clear();
  SaveConfig();
  std::erase(registry(), this);
}

const std::vector<QuoteListView*>& QuoteListView::openLists() { return registry(); }

void QuoteListView::GetConfig() {
  base_ = GetBaseFileName(path_);
  registry().push_back(this);
  qcfPath_ = qcfPathForList(path_);
  GetQCF(qcfPath_, GetDLConfig(), &qcf_);
  Log("\nQTLConfigFile -- %s", qcfPath_.c_str());
  cfgPath_ = listWindowConfigPath(path_);
  readListWindowConfig(cfgPath_, cfg_);
}

void QuoteListView::SaveConfig() { saveListWindowConfig(cfgPath_, cfg_); }

void QuoteListView::insertRow(int at, const std::string& text) {
  auto* item = new QListWidgetItem(QString::fromUtf8(text.data(), static_cast<int>(text.size())));
  item->setData(kTextRole, QByteArray(text.data(), static_cast<int>(text.size())));
  insertItem(at, item);
}

void QuoteListView::load() {
  clear();
  std::vector<std::string> lines;
  if (!path_.empty()) LoadQuoteList(nativePath(path_), lines);
  for (const std::string& l : lines) insertRow(count(), l);
  insertRow(count(), "");  // the insertion point, never saved
  setDirty(false);
}

std::vector<std::string> QuoteListView::rows() const {
  std::vector<std::string> out;
  for (int i = 0; i + 1 < count(); ++i) out.push_back(item(i)->data(kTextRole).toByteArray().toStdString());
  return out;
}

bool QuoteListView::save() {
  if (!SaveQuoteList(nativePath(path_), rows())) {
    errmsg(formatText(381, "Cannot Open Output Stream for QuoteList -- %s", path_.c_str()));
    return false;
  }
  setDirty(false);
  return true;
}

void QuoteListView::setDirty(bool on) {
  dirty_ = on;
  if (!frame_) return;
  if (cleanTitle_.isEmpty()) cleanTitle_ = frame_->windowTitle();
  frame_->setWindowTitle(on ? cleanTitle_ + " *" : cleanTitle_);
}

bool QuoteListView::canCloseDocument() {
  if (!dirty_) return true;
  int answer = MessageBox("The quote list " + path_ + " has changed.\n\nSave the changes?", kWindowCaption,
                          mb::YESNOCANCEL | mb::ICONQUESTION);
  if (answer == IDCANCEL) return false;
  return answer == IDNO || save();
}

void QuoteListView::closeEvent(QCloseEvent* e) {
  stop_ = true;
  if (busy_ || !canCloseDocument()) {
    e->ignore();
    return;
  }
  recordPlacement();
  e->accept();
}

bool QuoteListView::event(QEvent* e) {
  if (e->type() == QEvent::ParentChange) {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()); sub && sub != frame_) {
      frame_ = sub;
      cleanTitle_.clear();
      sub->installEventFilter(this);
    }
  }
  return QListWidget::event(e);
}

bool QuoteListView::eventFilter(QObject* watched, QEvent* e) {
  if (watched == frame_) {
    switch (e->type()) {
      case QEvent::Move:
      case QEvent::Resize:
      case QEvent::WindowStateChange: recordPlacement(); break;
      case QEvent::WindowTitleChange:
        if (!dirty_) cleanTitle_ = frame_->windowTitle();
        break;
      default: break;
    }
  }
  return QListWidget::eventFilter(watched, e);
}

void QuoteListView::recordPlacement() {
  if (!frame_) return;
  const Qt::WindowStates s = frame_->windowState();
  cfg_.minimised = s & Qt::WindowMinimized;
  cfg_.maximised = s & Qt::WindowMaximized;
  if (cfg_.minimised || cfg_.maximised) return;
  const QRect g = frame_->geometry();
  cfg_.left = g.x(), cfg_.top = g.y(), cfg_.width = g.width(), cfg_.height = g.height();
}

int QuoteListView::labelRow() const {
  const int top = indexAt(QPoint(1, 1)).row();
  return top < 0 ? 0 : top;
}

bool QuoteListView::inAlarm(int row) const {
  if (row < 0 || row >= count()) return false;
  return AlarmLimitsExceeded(item(row)->data(kTextRole).toByteArray().toStdString());
}

void QuoteListView::scrollContentsBy(int dx, int dy) {
  QListWidget::scrollContentsBy(dx, dy);
  viewport()->update();  // the label row stays on the top visible row
}

void QuoteListView::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    SelectStock();
    return;
  }
  if (e->key() == Qt::Key_Space) {
    if (!isRequestRow(currentRow())) setCurrentRow(1);
    if (!isRequestRow(currentRow())) return;  // no requests
    SelectStock();
    const int next = currentRow() + 1;
    setCurrentRow(isRequestRow(next) ? next : 1);
    return;
  }
  QListWidget::keyPressEvent(e);
  viewport()->update();
}

void QuoteListView::mousePressEvent(QMouseEvent* e) {
  QListWidget::mousePressEvent(e);
  if (e->button() == Qt::RightButton) CmEditItem();
}

bool QuoteListView::SelectStock() {
  const int row = currentRow();
  if (!isRequestRow(row)) return false;
  RequestPaths paths;
  if (!ParseQuoteText(item(row)->data(kTextRole).toByteArray().toStdString(), &paths)) return false;
  SaveFormatInfo(paths.quoteFile, qcf_.outputFormat);
  runFlags().QuoteFile = paths.quoteFile;
  host().sendAppMessage(appmsg::PlotQuote);
  return true;
}

bool QuoteListView::handlesCommand(int id) const {
  static const int ids[] = {cm::FILESAVE,       cm::FILEREVERT,      cm::FILECLOSE,        cm::STOP,
                            cm::EDITUNDO,     cm::EDITCOPY,      cm::EDITDELETE,     cm::EDITCLEAR,
                            cm::EDITITEM,     cm::SHOWALL,       cm::ALARMS,         cm::REFRESH,
                            cm::QTLCONFIGEDIT, cm::UPDATE,       cm::INTRADAYUPDATE, cm::EDITCUT,
                            cm::EDITPASTE,    cm::EDITADD,       cm::EDITADD2,
                            cm::UPDATEFORCED, cm::REPAIRHQF, cm::MENDORAQUOTELIST, cm::MENDORARECOVER};
  return std::find(std::begin(ids), std::end(ids), id) != std::end(ids);
}

void QuoteListView::runCommand(int id) {
  switch (id) {
    case cm::FILESAVE: save(); break;
    case cm::FILEREVERT: load(); break;
    case cm::FILECLOSE:
      if (frame_) frame_->close();
      break;
    case cm::STOP: CmStop(); break;
    case cm::EDITUNDO: MessageBox("Feature not implemented", "Undo", mb::OK); break;
    case cm::EDITCOPY:
      if (currentRow() >= 0) QApplication::clipboard()->setText(currentItem()->text());
      break;
    case cm::EDITCUT:
      if (currentRow() >= 0) QApplication::clipboard()->setText(currentItem()->text());
      CmEditDelete();
      break;
    case cm::EDITPASTE: {
      const int at = std::max(currentRow(), 0);
      // One row: the clipboard's first line.
      const QString text = QApplication::clipboard()->text().section(QRegularExpression("[\r\n]"), 0, 0);
      insertRow(at, text.toStdString());
      setCurrentRow(at + 1);
      setDirty(true);
      break;
    }
    case cm::EDITDELETE: CmEditDelete(); break;
    case cm::EDITCLEAR:
      clear();
      insertRow(0, "");
      setDirty(true);
      break;
    case cm::EDITITEM: CmEditItem(); break;
    case cm::EDITADD:
    case cm::EDITADD2: CmEditAdd(); break;
    case cm::SHOWALL: CmShowAll(); break;
    case cm::ALARMS: CmAlarms(); break;
    case cm::REFRESH: CmRefresh(); break;
    case cm::QTLCONFIGEDIT: WordPad(qcfPath_); break;
    case cm::UPDATE: CmUpdate(); break;
    case cm::UPDATEFORCED: CmUpdateForced(); break;
    case cm::REPAIRHQF: CmMendora(); break;
    case cm::MENDORAQUOTELIST: CmMendoraQuotelist(); break;
    case cm::MENDORARECOVER: CmMendoraRecover(); break;
    case cm::INTRADAYUPDATE:
      MessageBox("IntraDay Downloading has not yet been implemented.", "QVMAIN Message", mb::OK);
      break;
    default: break;
  }
}

void QuoteListView::CmStop() {
  downloadState().flags.GlobalStop = true;
  stop_ = true;
  runFlags().Stop = true;
  if (DownloadSession* session = DownloadSession::current()) session->CmStop();
}

void QuoteListView::CmEditDelete() {
  const int row = currentRow();
  if (row < 0 || row >= count() - 1) return;  // the end row stays
  delete takeItem(row);
  setCurrentRow(std::min(row, count() - 1));
  setDirty(true);
}

void QuoteListView::CmEditItem() {
  const int row = currentRow();
  if (row < 0 || row >= count() - 1) return;
  bool ok = false;
  const QString text = QInputDialog::getText(
      this, "Add Quote Request",
      "Enter:  symbol   filename (*=default)   securityname\n\n(provide 3 spaces minimum between these 3 fields)",
      QLineEdit::Normal, item(row)->text(), &ok);
  if (!ok) return;
  delete takeItem(row);
  insertRow(row, text.toStdString());
  setCurrentRow(row);
  setDirty(true);
}

void QuoteListView::CmEditAdd() {
  const std::string line = runAddRequestDialog(this);
  if (line.empty()) return;
  const int row = currentRow();
  const int at = row >= 1 && row < count() ? row : std::min(1, count() - 1);
  insertRow(at, line);
  setCurrentRow(at + 1);
  setDirty(true);
}

void QuoteListView::CmShowAll() {
  cfg_.showAll = cfg_.showAll ? 0 : 1;
  doItemsLayout();
  viewport()->update();
}

void QuoteListView::CmAlarms() {
  const int row = currentRow();
  if (!isRequestRow(row)) {
    MessageBox("Select quote request for alarm setting.", "QuoteListView::CmAlarms() Warning Message",
               mb::OK | mb::ICONEXCLAMATION);
    return;
  }
  AlarmRecord rec;
  GetAlarmsData(item(row)->data(kTextRole).toByteArray().toStdString(), &rec);
  if (!runAlarmDialog(this, rec)) return;
  const std::string line = SetAlarmsData(item(row)->data(kTextRole).toByteArray().toStdString(), rec);
  delete takeItem(row);
  insertRow(row, line);
  setCurrentRow(row);
  setDirty(true);
}

void QuoteListView::CmRefresh() {
  // A changed list is saved first: the update rewrites the file the rows are reloaded from.
  if (dirty_ && !save()) return;
  stop_ = false;
  busy_ = true;
  ListUpdate how;
  how.fmt = qcf_.outputFormat;
  how.displayDateFormat = settings().DisplayDateFormat;
  how.byOptions = qcf_.byOptions;
  how.stop = [this] { return stop_ || downloadState().flags.GlobalStop; };
  UDWatch(nativePath(path_), how);
  busy_ = false;
  load();
}

bool QuoteListView::askDownload(const std::string& continuation) {
  const std::string text = "For QuoteList -- " + path_ + "\n\n" + continuation;
  if (MessageBox(text, kWindowCaption, mb::OKCANCEL) != IDOK) return false;
  if (runFlags().DLReentrant) {  // one download at a time
    DownloadReentrencyWarning();
    return false;
  }
  // The download rewrites the list and reloads this window: unsaved rows go to the file first.
  return !dirty_ || save();
}

void QuoteListView::CmUpdate() {
  const std::string source =
      qcf_.localFile ? "QUOVA will parse Stock Quotes from a file specified in your QCF.\n\n"
                     : "QUOVA will download Stock Quotes from an QUOVA Internet Window.\n\nPlease be sure you are "
                       "connected to your ISP.";
  if (!askDownload(source)) return;
  dailyRun().DownloadList(path_, true);
}

void QuoteListView::CmUpdateForced() {
  if (!askDownload("QUOVA will backdate all files in this Quotelist, and then\n\n"
                   "Download Stock Quotes from an QUOVA Internet Window.\n\n"
                   "This may result in duplicate daily stock quotes.\n\n"
                   "Please be sure you are connected to your ISP."))
    return;
  stop_ = false;
  busy_ = true;
  BackdateQLfiles(nativePath(path_), [this] { return stop_; });
  busy_ = false;
  dailyRun().DownloadList(path_, false);
}

void QuoteListView::CmMendora() {
  const int row = currentRow();
  if (!isRequestRow(row)) return;
  RequestPaths paths;
  if (!ParseQuoteText(item(row)->data(kTextRole).toByteArray().toStdString(), &paths)) return;
  GetQCF(qcfPath_, GetDLConfig(), &qcf_);  // the list's layout as its configuration says now
  RunMendora(paths.quoteFile, qcf_.outputFormat, false);
}

void QuoteListView::CmMendoraQuotelist() {
  if (dirty_ && !save()) return;  // the runs follow the list file
  GetQCF(qcfPath_, GetDLConfig(), &qcf_);
  stop_ = false;
  busy_ = true;
  RepairQuoteList(nativePath(path_), qcf_.outputFormat, [this] { return stop_; }, repairWaitBound());
  busy_ = false;
}

void QuoteListView::CmMendoraRecover() {
  const int row = currentRow();
  if (!isRequestRow(row)) return;
  RequestPaths paths;
  if (!ParseQuoteTextforRecover(item(row)->data(kTextRole).toByteArray().toStdString(), &paths)) return;
  RecoverQuoteFile(paths.quoteFile, paths.recFile);
}

void QuoteListView::refreshOpen(const std::string& qtlPath) {
  const std::string want = lowered(qtlPath);
  for (QuoteListView* v : registry()) {
    if (lowered(v->path_).find(want) == std::string::npos) continue;
    if (v->dirty_) {
      Log("\nQuote list window %s has unsaved changes; not reloaded.", v->path_.c_str());
      continue;
    }
    v->load();
  }
}

void connectQuoteListWindows() {
  setViewFactory(DocKind::QuoteList, [](const std::string& path) -> QWidget* {
    FrameServices* frame = frameServices();
    return new QuoteListView(path, frame ? frame->client() : nullptr);
  });
}

}  // namespace quova
