// The quote list window's file operations: exports and the spreadsheet, the copy of the
// list, the editor on its files, the QCF's web links, the diagnostic downloads, the import
// from a file and the download options.
#include <QFileDialog>

#include "base/command_ids.h"
#include "base/host.h"
#include "base/log.h"
#include "base/root_path.h"
#include "base/run_flags.h"
#include "download/daily_run.h"
#include "download/download_state.h"
#include "quotes/list_operations.h"
#include "quotes/windows/copy_list_dialog.h"
#include "quotes/windows/dl_options_dialog.h"
#include "quotes/windows/quote_list_view.h"
#include "settings/external_programs.h"
#include "settings/settings.h"
#include "util/paths.h"

namespace quova {

namespace {
constexpr const char* kIspReminder = "Please be sure you are connected to your ISP.";
}  // namespace

bool QuoteListView::selectedRequest(RequestPaths* paths, bool mustExist) {
  const int row = currentRow();
  if (!isRequestRow(row)) return false;
  const std::string line = rowText(row);
  if (mustExist) return ParseQuoteText(line, paths);
  *paths = ParseFilePaths(line);
  return !paths->quoteFile.empty();
}

void QuoteListView::readQcf() {
  qcf_ = ListQcf{};
  GetQCF(qcfPath_, GetDLConfig(), &qcf_);
}

void QuoteListView::startSpreadsheet(const std::string& exported) {
  const std::string& program = settings().TPathBuffer.SpreadsheetPath;
  const std::string dir = nativePath(rootPath("exports"));
  const std::string command = program + " \"" + exported + "\"";
  Log("\nCreate Process Dir:  %s\n", dir.c_str());
  Log("\nCreate Process Path: %s\n", command.c_str());
  if (host().startProcess(program, {exported}, dir) < 0)
    LogBox("For command -- " + command + "\n\n" + "Unable to execute CreateProcess Command.\n\n" +
               "Please be sure the path is correct in QUOVA " + "Options/Setup External Programs Pathnames.",
           "QUOVA Quotefile CreateProcess ERROR in Quotelist/CmSpreadsheet", mb::ICONEXCLAMATION);
}

void QuoteListView::CmFileExport(bool toSpreadsheet) {
  RequestPaths p;
  if (!selectedRequest(&p, true)) return;
  std::string exported;
  if (ExportHQF(nativePath(p.quoteFile), &exported) && toSpreadsheet) startSpreadsheet(nativePath(exported));
}

void QuoteListView::CmQuoteListExport(bool toSpreadsheet) {
  std::string exported;
  if (ExportQL(nativePath(path_), &exported) && toSpreadsheet) startSpreadsheet(nativePath(exported));
}

void QuoteListView::CmCopyQL() { runCopyListDialog(this, copySourceBase(path_)); }

void QuoteListView::CmEditHQF() {
  RequestPaths p;
  if (selectedRequest(&p, true)) WordPad(nativePath(p.quoteFile), "QUOVA Quotefile Edit ERROR in Quotelist/CmEditHQF");
}

void QuoteListView::CmEditQL() { WordPad(nativePath(path_), "QUOVA Quotefile Edit ERROR in Quotelist/CmEditQL"); }

// The editor gets the path as this system names it: the QCF folder under the root.
void QuoteListView::CmQTLConfigEdit() { WordPad(nativePath(qcfPath_)); }

// The QCF's link to the browser, read afresh; an empty one is reported with the QCF's path.
void QuoteListView::openQcfLink(std::string ListQcf::*link, const char* missing, const char* caption) {
  readQcf();
  if ((qcf_.*link).empty()) {
    LogBox(formatText(1000, missing, qcfPath_.c_str()), caption, mb::ICONEXCLAMATION);
    return;
  }
  BrowserLink(qcf_.*link);
}

void QuoteListView::CmSymbolLookup() {
  openQcfLink(&ListQcf::symSearch, "Sorry...Valid Symbol Lookup string not found in Configuration File -- %s",
              "QuoteList Symbol Lookup ERROR");
}

void QuoteListView::CmBrowserLink() {
  openQcfLink(&ListQcf::browserLink, "Sorry...Valid Browser Link string not found in Configuration File -- %s",
              "Browser Page Link ERROR");
}

void QuoteListView::startDownload(bool freshAlarms) {
  if (dailyRun().DownloadList(path_, freshAlarms)) return;
  DownloadFlags& f = downloadState().flags;  // no session took the switches
  f.JustGetPageImage = f.JustShowPPLine = f.JustShowPQuotes = false;
  f.Import = false;
}

void QuoteListView::CmDiagnostic(int id) {
  const bool file = qcf_.localFile;
  const std::string isp = file ? "" : kIspReminder;
  const std::string how = file ? "QUOVA will copy , " : "QUOVA will download, ";
  std::string text;
  if (id == cm::GETPAGE)
    text = std::string(file ? "QUOVA will copy your file to the HTML file to be processed, and start the default editor.\n\n"
                            : "QUOVA will download the first page of HTML, save, and start the default editor.\n\n") +
           "You may also redirect the Page download to your default Browser in the next Dialog.\n\n" +
           "(You may use this to design your Quotelist Configuration File.)\n\n" + isp;
  else if (id == cm::SHOWPREPROCESSEDLINE)
    text = how + "preprocess, and display the results for the first page of HTML.\n\n" +
           "(You may use this to design your Quotelist Configuration File.)\n\n" + isp;
  else
    text = how + "preprocess, parse quotes, and display the results for all of this Quotelist.\n\n" +
           "(You may use this to perfect the design of your Quotelist Configuration File.)\n\n" + isp;
  if (!askDownload(text)) return;
  DownloadFlags& f = downloadState().flags;
  f.JustGetPageImage = id == cm::GETPAGE;
  f.JustShowPPLine = id == cm::SHOWPREPROCESSEDLINE;
  f.JustShowPQuotes = id == cm::SHOWPARSEDQUOTES;
  startDownload(false);
}

void QuoteListView::CmFileImport(int id) {
  if (runFlags().DLReentrant) {  // one download at a time
    DownloadReentrencyWarning();
    return;
  }
  QFileDialog dlg(this, "Import File Selection Dialog", QString::fromStdString(nativePath(rootPath(""))),
                  "All Files (*.*)");
  dlg.setObjectName("ImportFileDialog");
  dlg.setOption(QFileDialog::DontUseNativeDialog);
  dlg.setFileMode(QFileDialog::ExistingFile);
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return;
  if (dirty_ && !save()) return;  // the import rewrites the list and reloads this window
  DownloadFlags& f = downloadState().flags;
  f.JustGetPageImage = id == cm::IMPORTTEXTIMAGE;
  f.JustShowPPLine = id == cm::IMPORTLINES;
  f.JustShowPQuotes = id == cm::IMPORTPARSING;
  if (f.anyDiagnostic()) readQcf();
  f.Import = true;
  f.ImportFile = dlg.selectedFiles().front().toStdString();
  startDownload(true);
}

void QuoteListView::CmDLOptions() {
  DLOptions options = GetDLConfig();
  if (!runDLOptionsDialog(this, qcf_, options)) return;
  if (!SaveDLConfig(options))
    errmsg(formatText(1000, "Cannot open Configuration File -- %s", dlOptionsPath().c_str()));
  readQcf();
}

}  // namespace quova
