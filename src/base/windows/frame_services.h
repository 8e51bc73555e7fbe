// What the main frame does for the windows and sessions inside it. The frame installs
// itself once at start; child windows reach it only through this interface, so none of
// them depends on the frame's own header.
#pragma once

#include <string>
#include <string_view>

#include "base/page_link.h"

class QMdiArea;

namespace quova {

struct FrameServices {
  virtual ~FrameServices() = default;
  // The MDI client that document and session windows open in.
  virtual QMdiArea* client() const = 0;
  // Opens a file in the window of the first template that matches it; false when none.
  // A title given here is the window's title.
  virtual bool openDocument(const std::string& path, const std::string& title = {}) = 0;
  // Every open quote list window on this list reloads it (a changed one keeps its rows).
  virtual void refreshOpenLists(const std::string& qtlPath) = 0;
  // "Get Quote Page Dialog": the link in its two forms; the choice and text go into link.
  virtual void pageLinkDialog(PageLink& link) = 0;
  // "QUOVA Download Forced", shown without waiting while quote files are backdated.
  virtual void forcedDownloadDialog(bool show) = 0;
  // Closes the main window the normal way, once the pending events have run.
  virtual void closeMainWindow() = 0;
  virtual void statusText(std::string_view text) = 0;
};

// The installed frame; null before the frame is built and after it is gone.
FrameServices* frameServices();
void setFrameServices(FrameServices* f);

}  // namespace quova
