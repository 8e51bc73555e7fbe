// QuoteListView: the quote list window. One owner-drawn row per line of a .qtl file, the
// label row over the top visible row, alarm colours for rows in alarm; editing, saving,
// reloading after a download, and the download of this list.
#pragma once

#include <QListWidget>
#include <string>
#include <vector>

#include "base/windows/command_target.h"
#include "download/qcf.h"
#include "quotes/list_window.h"

namespace quova {

class QuoteListView : public QListWidget, public CommandTarget {
  Q_OBJECT

 public:
  // area: the main window's client, which the saved placement is brought into (the screen
  // when none is given). The window is placed in its MDI child by the document manager.
  explicit QuoteListView(const std::string& path, QWidget* area = nullptr);
  ~QuoteListView() override;

  const std::string& path() const { return path_; }
  const std::string& configPath() const { return cfgPath_; }
  const ListWindowConfig& config() const { return cfg_; }
  const ListQcf& qcf() const { return qcf_; }
  bool showAll() const { return cfg_.showAll != 0; }
  bool isDirty() const { return dirty_; }
  bool isBusy() const { return busy_; }

  // The rows that are saved: every row but the empty end row.
  std::vector<std::string> rows() const;
  // Reloads the rows from the file (the end row added).
  void load();
  // VnCommit: writes the rows and clears the changed mark; false when it failed.
  bool save();
  // Asks to save a changed list; false when the user cancels.
  bool canCloseDocument() override;

  // A request row: 1 up to the last-but-one.
  bool isRequestRow(int row) const { return row >= 1 && row < count() - 1; }

  bool handlesCommand(int id) const override;
  void runCommand(int id) override;
  std::string documentPath() const override { return path_; }

  // Commands, public for the frame's routing and for tests.
  void CmStop();
  void CmEditDelete();
  void CmEditItem();
  // Inserts the request of the add dialog at the selection (row 1 when there is none).
  void CmEditAdd();
  void CmAlarms();
  void CmShowAll();
  void CmRefresh();
  void CmUpdate();
  // Backdates every quote file of the list, then downloads it.
  void CmUpdateForced();
  // The repair tool on the selected request's quote file, on every quote file of the list
  // (one run after another), and the restore of the selected file from its ".REC" copy.
  void CmMendora();
  void CmMendoraQuotelist();
  void CmMendoraRecover();
  // Opens the chart of the selected request; false when it is no request or its file is missing.
  bool SelectStock();

  // The open quote list windows, in opening order.
  static const std::vector<QuoteListView*>& openLists();
  // RefreshOpenQL: every open window whose path contains qtlPath (letter case ignored)
  // reloads it, except one with unsaved changes.
  static void refreshOpen(const std::string& qtlPath);

  // The rows' colours; a row's text is drawn by the list's delegate.
  bool inAlarm(int row) const;
  int labelRow() const;

 protected:
  void closeEvent(QCloseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void scrollContentsBy(int dx, int dy) override;
  bool event(QEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void GetConfig();
  void SaveConfig();
  void setDirty(bool on);
  void recordPlacement();
  void insertRow(int at, const std::string& text);
  // The download commands' question; a changed list is saved once it is answered OK.
  bool askDownload(const std::string& continuation);

  std::string path_, base_, qcfPath_, cfgPath_;
  ListQcf qcf_;
  ListWindowConfig cfg_;
  bool dirty_ = false, stop_ = false, busy_ = false;
  QString cleanTitle_;
  QWidget* frame_ = nullptr;  // the MDI child the window is shown in
};

// Registers the window with the document templates; the frame refreshes open lists for the
// download sessions.
void connectQuoteListWindows();

}  // namespace quova
