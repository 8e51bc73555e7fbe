// Starting the editor, the browser and the repair tool, with their messages and log lines.
#include "settings/external_programs.h"

#include "base/host.h"
#include "base/log.h"
#include "base/run_flags.h"
#include "settings/settings.h"
#include "settings/repair_start.h"
#include "util/paths.h"

namespace quova {

namespace {
// The command as the messages show it: program, a blank, the argument in double quotes.
std::string shownCommand(const std::string& program, const std::string& arg) {
  return program + " \"" + arg + "\"";
}
}  // namespace

int WordPad(const std::string& file) {
  const std::string& editor = settings().TPathBuffer.EditorPath;
  if (host().startProcess(editor, {file}, {}) < 0) {
    LogBox("For command -- " + shownCommand(editor, file) + "\n\n" + "Unable to find your Editor.\n\n" +
               "Please be sure the path is correct in QUOVA " + "Options/Setup External Programs Pathnames.",
           "QUOVA Text Edit ERROR", mb::ICONEXCLAMATION);
    return -1;
  }
  return 0;
}

int Browser(const std::string& link) {
  const std::string& browser = settings().TPathBuffer.BrowserPath;
  Log("\nBrowser() entered");
  Log("\nBrowser Path: %s", browser.c_str());
  if (link.empty()) {
    LogBox("Sorry...Valid Browser Link string not found.", "Browser Page Link ERROR in routine Browser()", 0);
    Log("\nBrowser() exited unsuccessful.");
    return -1;
  }
  Log("\nFilePath without URL: %s", browser.c_str());
  Log("\nFilePath with    URL: %s", shownCommand(browser, link).c_str());
  if (host().startProcess(browser, {link}, {}) < 0) {
    LogBox(std::string("Unable to find your Browser. ") + "Please be sure your Bowser is installed, " +
               "and the path is correct in Options/" + "Setup External Programs Pathnames.",
           "Browser Page Link ERROR", 0);
    Log("\nBrowser() exited unsuccessful.");
    return -1;
  }
  Log("\nBrowser() exited successful.");
  return 0;
}

int BrowserLink(const std::string& link) {
  Log("\nBrowserLink() entered.");
  if (link.empty()) {
    LogBox("Sorry...Valid Browser Link string not found.", "Browser Page Link ERROR in routine BrowserLink()", 0);
    Log("\nBrowserLink() exited unsuccessful.");
    return -1;
  }
  if (LogBox(link + "\n\n" + "will be passed to your Browser.\n\n" + "Please be sure you are connected to your ISP.",
             "Browser Page Link", mb::OKCANCEL) == IDCANCEL) {
    Log("\nBrowserLink() exited by user abort.");
    return -2;
  }
  int r = Browser(link);
  Log(r == 0 ? "\nBrowserLink() exited successful." : "\nBrowserLink() exited unsuccessful.");
  return r;
}

ProcessId MendoraCP() {
  RunFlags& a = runFlags();
  Log("\nMendoraCP entered");
  Log("\nFileToFixPath -- %s\n", a.FileToFixPath.c_str());
  Log("\nFilePath -- %s\n", shownCommand(a.FIXPATH + "/Mendora", a.FileToFixPath).c_str());
  // The tool gets its folder as working directory; ours never changes.
  ProcessId id = -1;
  if (!directoryExists(programRoot() + a.FIXPATH)) {
    LogBox("FAIL on SetCurrentDirectory to: \n" + a.FIXPATH, "In TMyApp::MendoraExec", mb::ICONEXCLAMATION);
  } else {
    id = startRepairTool(false);
  }
  Log("\nMendoraCP exited");
  return id;
}

}  // namespace quova

#include <fstream>

namespace quova {

InfoLinks LoadInfoLinks(const std::string& file) {
  InfoLinks links;
  std::ifstream in(nativePath(file), std::ios::binary);
  std::string line;
  for (int n = 0; n < 1000 && std::getline(in, line); ++n) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    auto take = [&](std::string_view key, std::string& to) {
      if (line.compare(0, key.size(), key) == 0) to = line.substr(key.size());
    };
    take("HomePage=", links.HomePage);
    take("OnlineManual=", links.OnlineManual);
    take("TechSupport=", links.TechSupport);
  }
  return links;
}

}  // namespace quova
