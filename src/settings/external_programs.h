// The external programs: the text editor, the web browser and the repair tool, started
// with an argument list in a working directory and not waited for.
#pragma once

#include <string>

#include "base/host.h"

namespace quova {

// 0 when started; -1 on failure (after the message).
int WordPad(const std::string& file);
int Browser(const std::string& link);
// Asks first; -2 when the user cancels.
int BrowserLink(const std::string& link);
// Starts the root's Utilities/Mendora on FileToFixPath with its own folder as working
// directory (the rule of settings/repair_start.h). Its process, or -1 after the message.
ProcessId MendoraCP();

}  // namespace quova

namespace quova {

// QUOVAInfo: the link texts of the Links menu, from the root's information file
// "quova.info" (lines "HomePage=", "OnlineManual=", "TechSupport="); empty when missing.
struct InfoLinks {
  std::string HomePage, OnlineManual, TechSupport;
};
InfoLinks LoadInfoLinks(const std::string& file);

}  // namespace quova
