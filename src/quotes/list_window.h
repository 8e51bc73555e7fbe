// What the quote list window keeps and draws, as plain data: its settings file
// config\<base>.cfg (33 bytes), the placement brought onto the client area, and the cells
// a row is cut into for drawing.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quova {

inline constexpr std::size_t kListWindowConfigSize = 33;

// showAll, the frame's left, top, width and height (relative to the main window's client
// area), its minimised and maximised flags, and one byte per label column (written, never
// read back).
struct ListWindowConfig {
  std::uint8_t showAll = 0;
  std::int32_t left = 20, top = 20, width = 620, height = 320;
  bool minimised = false, maximised = false;
  std::array<std::uint8_t, 14> labels{};
};

// QuovaPath + "config\\" + base + ".cfg".
std::string listWindowConfigPath(std::string_view qtlPath);

std::string listWindowImage(const ListWindowConfig& c);

enum class ListConfigRead { Loaded, Missing, OtherSize };
// Reads the file only when it is exactly 33 bytes: a file of another size belongs to
// another window of the same name (a chart's settings) and leaves the defaults.
ListConfigRead readListWindowConfig(std::string_view file, ListWindowConfig& c);
enum class ListConfigSave { Saved, Failed, OtherSize };
// Writes the 33 bytes, but never over a file of another size. On a write failure the box
// "Cannot open Configuration File -- " + file captioned "in QTL window".
ListConfigSave saveListWindowConfig(std::string_view file, const ListWindowConfig& c);

// The saved rectangle brought into an area: non-positive sizes take the defaults, larger
// ones are cut to the area, and the window is moved inside it.
ListWindowConfig clampedListPlacement(ListWindowConfig c, int areaWidth, int areaHeight);

struct ListColumn {
  std::string_view name;
  std::string_view delimiter;
  int width;
  int inset;
  bool hideable;
};
inline constexpr std::array<ListColumn, 14> kListColumns = {{
    {"SYMBOL", "  ", 95, 10, false},       {"FILE", "  ", 100, 10, true},
    {"SECURITY NAME", "  ", 290, 10, false}, {"ALARM", "  ", 55, 5, true},
    {"H_ALM", "  ", 70, 5, true},           {"L_ALM", "  ", 70, 5, true},
    {"DATE", "  ", 82, 5, false},           {"HIGH", "  ", 70, 5, false},
    {"LOW", "  ", 70, 5, false},            {"CLOSE", "  ", 70, 5, false},
    {"CHANGE", "  ", 70, 5, false},         {"VOLUME", "  ", 75, 5, false},
    {"TIME", " ", 65, 5, false},            {"COMMENTS", "   ", 200, 10, false},
}};
inline constexpr std::string_view kListLabelText =
    "SYMBOL   FILE   SECURITY NAME  ALARM   H_ALM  L_ALM  DATE  HIGH  LOW  CLOSE  CHANGE  VOLUME  TIME  COMMENTS";

// The 14 cell texts of a row: a tab becomes two blanks, each column takes the text up to its
// delimiter. A request row shows "ON"/"OFF" for its alarm switch and "none" for a limit it
// lacks; the label row is cut without these replacements.
std::vector<std::string> rowCells(std::string_view text, bool labelRow);
// The drawn width of a row: the columns shown.
int rowWidth(bool showAll);

}  // namespace quova
