// Adding the requests a page brought: the quote list and the session's update image merged
// into the .upd file, which then replaces the list.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace quova {

struct RequestMergeResult {
  bool ok = false;
  long kept = 0;   // list lines without a quote in the image
  long listed = 0; // image lines of listed requests
  long added = 0;  // new request lines
};

// Writes updPath: first every list line whose symbol (and, with matchFilePath, file name)
// does not occur in the image, then, for every image line, the list's own line when the
// request is listed (so its alarm fields and name stay) or a new request line of the
// image line's first three fields joined by three blanks. The .upd file then replaces the
// list. Failures are reported through report with the texts of the session.
RequestMergeResult UDQuoteRequests(const std::string& qtlPath, const std::string& tmpPath,
                                   const std::string& updPath, bool matchFilePath,
                                   const std::function<void(std::string_view)>& report);

}  // namespace quova
