// The main window's command set: the "COMMANDS" menu in order, the control bar's
// gadgets with their hints, and the ids the application and the frame handle themselves.
#pragma once

#include <string_view>
#include <vector>

#include "base/command_ids.h"

namespace quova {

struct MenuItem {
  int id = 0;  // 0: a separator
  std::string_view text;
};
struct Menu {
  std::string_view title;
  std::vector<MenuItem> items;
};
// The menu "COMMANDS": File, Edit, Tools, Options, Download, Links, Window, Help.
const std::vector<Menu>& commandsMenu();

struct Gadget {
  enum Kind { Button, Separator, LargeSeparator, DateText } kind = Button;
  int id = 0;
  std::string_view hint;
  std::string_view logName;  // the command named in the creation log line
  bool startsEnabled = true;
};
// The control bar's 32 gadgets in order.
const std::vector<Gadget>& controlBarGadgets();

// The status-bar hint of a command id; empty when it has none.
std::string_view commandHint(int id);

// Ids the application object and the frame handle, whatever window is active.
bool applicationHandles(int id);

}  // namespace quova
