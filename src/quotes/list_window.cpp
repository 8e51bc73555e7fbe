// The quote list window's settings file and the cutting of its rows into cells.
#include "quotes/list_window.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "base/binary_image.h"
#include "base/host.h"
#include "base/log.h"
#include "base/placement.h"
#include "base/run_flags.h"
#include "quotes/format_file.h"
#include "util/file_bytes.h"
#include "util/paths.h"

namespace quova {

std::string listWindowConfigPath(std::string_view qtlPath) {
  return runFlags().QuovaPath + "config\\" + GetBaseFileName(qtlPath) + ".cfg";
}

namespace {
// The 33 bytes in file order.
template <class IO, FieldsOf<ListWindowConfig> C>
void fields(IO& io, C& c) {
  io.byte(c.showAll);
  io.i32(c.left);
  io.i32(c.top);
  io.i32(c.width);
  io.i32(c.height);
  io.flag(c.minimised);
  io.flag(c.maximised);
  for (auto& b : c.labels) io.byte(b);
}

// The size of an existing file; -1 when there is none.
long long existingSize(std::string_view file) {
  if (!fileExists(file)) return -1;
  std::error_code ec;
  auto n = std::filesystem::file_size(nativePath(file), ec);
  return ec ? -1 : static_cast<long long>(n);
}
}  // namespace

std::string listWindowImage(const ListWindowConfig& c) {
  ImageWriter w;
  fields(w, c);
  return w.bytes();
}

ListConfigRead readListWindowConfig(std::string_view file, ListWindowConfig& c) {
  const long long size = existingSize(file);
  if (size < 0) return ListConfigRead::Missing;
  if (size != static_cast<long long>(kListWindowConfigSize)) {
    Log("\nQTL window settings not read: %.*s is not a quote list window's file.", static_cast<int>(file.size()),
        file.data());
    return ListConfigRead::OtherSize;
  }
  std::string bytes;
  if (!readFileBytes(file, bytes, kListWindowConfigSize)) return ListConfigRead::Missing;
  // The label bytes are written but never read back: the window keeps its own.
  const auto labels = c.labels;
  ImageReader r(bytes);
  fields(r, c);
  c.labels = labels;
  return ListConfigRead::Loaded;
}

ListConfigSave saveListWindowConfig(std::string_view file, const ListWindowConfig& c) {
  const long long size = existingSize(file);
  if (size >= 0 && size != static_cast<long long>(kListWindowConfigSize)) {
    Log("\nQTL window settings not written: %.*s is not a quote list window's file.", static_cast<int>(file.size()),
        file.data());
    return ListConfigSave::OtherSize;
  }
  if (replaceFileContent(file, listWindowImage(c))) return ListConfigSave::Saved;
  LogBox("Cannot open Configuration File -- " + std::string(file), "in QTL window", mb::OK | mb::ICONEXCLAMATION);
  return ListConfigSave::Failed;
}

ListWindowConfig clampedListPlacement(ListWindowConfig c, int areaWidth, int areaHeight) {
  const ListWindowConfig d;
  const Placement p = clampedToArea({c.left, c.top, c.width, c.height}, d.width, d.height, areaWidth, areaHeight);
  c.left = p.x, c.top = p.y, c.width = p.w, c.height = p.h;
  return c;
}

namespace {
// The next column's text: leading blanks skipped, then up to the delimiter, which goes too.
std::string cutColumn(std::string& rest, std::string_view delimiter) {
  std::size_t start = rest.find_first_not_of(' ');
  if (start == std::string::npos) {
    rest.clear();
    return {};
  }
  rest.erase(0, start);
  std::size_t at = rest.find(delimiter);
  std::string cell = rest.substr(0, at);
  rest = at == std::string::npos ? std::string() : rest.substr(at + delimiter.size());
  return cell;
}

bool replaceFirst(std::string& s, std::string_view what, std::string_view with) {
  std::size_t at = s.find(what);
  if (at == std::string::npos) return false;
  s.replace(at, what.size(), with);
  return true;
}
}  // namespace

std::vector<std::string> rowCells(std::string_view text, bool labelRow) {
  std::string rest;
  for (char c : text) rest += c == '\t' ? std::string("  ") : std::string(1, c);  // a tab is two blanks
  std::vector<std::string> cells;
  cells.reserve(kListColumns.size());
  for (std::size_t i = 0; i < kListColumns.size(); ++i) {
    const ListColumn& col = kListColumns[i];
    if (!labelRow && i == 3) {
      if (!replaceFirst(rest, "ALARMSON", "ON") && !replaceFirst(rest, "ALARMSOFF", "OFF")) {
        cells.emplace_back("OFF");
        continue;
      }
    }
    if (!labelRow && (i == 4 || i == 5)) {
      if (!replaceFirst(rest, i == 4 ? "HA=" : "LA=", "")) {
        cells.emplace_back("none");
        continue;
      }
    }
    cells.push_back(cutColumn(rest, col.delimiter));
  }
  return cells;
}

int rowWidth(bool showAll) {
  int w = 0;
  for (const ListColumn& c : kListColumns)
    if (showAll || !c.hideable) w += c.width;
  return w;
}

}  // namespace quova
