// The page-link check of the get-page diagnostic: the texts the "Get Quote Page Dialog"
// shows and what the user chose there.
#pragma once

#include <string>

namespace quova {

struct PageLink {
  std::string downloadText;  // server + " " + request path ("http://" in front without a proxy)
  std::string browserText;   // the page address with "http://" in front
  enum Choice { Download, Browser, Cancel } choice = Download;
  std::string chosenText;    // the (possibly edited) text of the form chosen
};

}  // namespace quova
