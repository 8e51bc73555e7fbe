// The main frame's services to the windows and sessions inside it.
#include <QMetaObject>

#include "app/windows/main_frame.h"
#include "base/host.h"
#include "base/log.h"
#include "download/windows/download_dialogs.h"
#include "quotes/windows/quote_list_view.h"

namespace quova {

void QVMAIN::refreshOpenLists(const std::string& qtlPath) { QuoteListView::refreshOpen(qtlPath); }

void QVMAIN::pageLinkDialog(PageLink& link) { runPageLinkDialog(this, link); }

void QVMAIN::forcedDownloadDialog(bool show) {
  if (!show) {
    if (forced_) forced_->deleteLater();
    return;
  }
  forced_ = forcedDialog(this);
  forced_->show();
  KeepWindowsHappy();
}

void QVMAIN::closeMainWindow() {
  QMetaObject::invokeMethod(this, [this] { close(); }, Qt::QueuedConnection);
}

void QVMAIN::statusText(std::string_view text) { host().statusText(text); }

}  // namespace quova
