// The download switches every session reads: the user's stop of the whole download, file
// import mode and the three diagnostic switches of the quote list window.
#pragma once

#include <string>

namespace quova {

struct DownloadFlags {
  bool GlobalStop = false;
  bool Import = false;
  std::string ImportFile;
  bool JustGetPageImage = false;
  bool JustShowPPLine = false;
  bool JustShowPQuotes = false;

  bool anyDiagnostic() const { return JustGetPageImage || JustShowPPLine || JustShowPQuotes; }
};

}  // namespace quova
