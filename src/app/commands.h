// The main window's command set: the ids, the "COMMANDS" menu in order, the control bar's
// gadgets with their hints, and the ids the application and the frame handle themselves.
#pragma once

#include <string_view>
#include <vector>

namespace quova {

namespace cm {
inline constexpr int FILEOPEN = 24332, FILESAVE = 24333, FILESAVEAS = 24334, FILEREVERT = 24335,
                     FILECLOSE = 24339, EXIT = 24310, CASCADE = 24361, TILE = 24362, ARRANGEICONS = 24364,
                     CLOSECHILDREN = 24365, ADDVIEW = 24341, EDIT_PLACEHOLDER = 204, ABOUT = 205, HELPABOUT = 514,
                     HELPINDEX = 512, HELPHELP = 513, SAVECONFIG = 252, SETUPCONFIG = 254, SETUPOPTIONS = 11842,
                     SETUPPATHNAMES = 9071, DOWNLOADEDIT = 260, INTRADAYDCF = 11851, RESETDLDATE = 257,
                     DIAGDISPLON = 11863, DIAGDISPLOFF = 11862, DIAGHOLDON = 11855, DIAGHOLDOFF = 11854,
                     STOP = 28999, OPENMENDORA = 11861, HOMEPAGE = 11857, OLMANUAL = 11871, TECHSUPPORT = 11858,
                     DOWNLOAD = 255, FORCEDOWNLOAD = 256, BACKDATEALL = 11848, INTRADAY = 11849, CSVON = 11865,
                     CSVOFF = 11868, CSVNEW = 11866, CSVAPPEND = 11869, CSVCLEAR = 11867, PRINT = 101,
                     INTRADAYUPDATES = 18875;
}  // namespace cm

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
