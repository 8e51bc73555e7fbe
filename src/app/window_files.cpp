// quova.cfg, quova.win and Config\OutputWindow.cfg: images, load and save with their log lines.
#include "app/window_files.h"

#include <algorithm>

#include "base/binary_image.h"
#include "base/host.h"
#include "base/log.h"
#include "base/run_flags.h"
#include "settings/settings.h"
#include "util/file_bytes.h"
#include "util/paths.h"

namespace quova {
namespace {

// quova.win is read in lines; a document path is never longer than the system's path limit,
// and the stack holds a few hundred windows at most.
constexpr std::size_t kWinsFileMax = 4 << 20;
constexpr std::size_t kWinsLineMax = 4096;

// quova.cfg in file order (height before width).
template <class IO, FieldsOf<FrameAttributes> A>
void fields(IO& io, A& a) {
  io.i32(a.X);
  io.i32(a.Y);
  io.i32(a.H);
  io.i32(a.W);
  io.u32(a.Style);
  io.u32(a.ExStyle);
}

// Config\OutputWindow.cfg in file order.
template <class IO, FieldsOf<OutputWindowConfig> C>
void fields(IO& io, C& c) {
  io.i32(c.X);
  io.i32(c.Y);
  io.i32(c.W);
  io.i32(c.H);
  io.flag(c.iconic);
  io.flag(c.maximised);
}

}  // namespace

std::string frameConfigPath() { return runFlags().QUOVAPATH + "quova.cfg"; }

std::string frameImage(const FrameAttributes& a) {
  ImageWriter w;
  fields(w, a);
  return w.bytes();
}

void readFrameImage(std::string_view bytes, FrameAttributes& a) {
  ImageReader r(bytes);
  fields(r, a);
}

bool GetFrameConfig(FrameAttributes& a) {
  const std::string path = frameConfigPath();
  std::string bytes;
  if (!readFileBytes(path, bytes, kFrameConfigSize)) {
    Log("\n%s could not be opened for reading.", path.c_str());
    MessageBox(rootDirectoryWarning("configuration", path), "QUOVA main window WARNING", mb::OK);
    return false;
  }
  readFrameImage(bytes, a);
  Log("\n%s successfully read.", path.c_str());
  return true;
}

bool SaveFrameConfig(const FrameAttributes& a) {
  const std::string path = frameConfigPath();
  if (!replaceFileContent(path, frameImage(a))) {
    Log("\n%s could not be opened for update.", path.c_str());
    MessageBox("Unable to open/create configuration file -- quova.cfg", "QUOVA main window Error",
               mb::OK | mb::ICONEXCLAMATION);
    return false;
  }
  Log("\n%s successfully updated.", path.c_str());
  return true;
}

std::vector<SavedWindow> ReadSavedWindows(std::string_view winsFile) {
  std::vector<SavedWindow> out;
  std::string bytes;
  if (!readFileBytes(winsFile, bytes, kWinsFileMax)) return out;
  if (!bytes.empty() && bytes.back() == '\x1a') bytes.pop_back();
  std::vector<std::string> lines;
  std::size_t i = 0;
  while (i < bytes.size()) {
    std::size_t nl = bytes.find('\n', i);
    std::size_t end = nl == std::string::npos ? bytes.size() : nl;
    std::string line = bytes.substr(i, end - i);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > kWinsLineMax) line.resize(kWinsLineMax);
    lines.push_back(std::move(line));
    i = end + 1;
  }
  for (std::size_t k = 0; k < lines.size(); k += 2)
    out.push_back({lines[k], k + 1 < lines.size() ? lines[k + 1] : std::string()});
  return out;
}

bool WriteSavedWindows(std::string_view winsFile, const std::vector<std::string>& documentStack) {
  std::string text;
  for (const std::string& entry : documentStack) {
    text += entry;
    text += '\n';
  }
  if (!replaceFileContent(winsFile, text)) {
    Log("\n%.*s could not be opened for update.", static_cast<int>(winsFile.size()), winsFile.data());
    return false;
  }
  return true;
}

bool LoadOutputWindowConfig(std::string_view file, OutputWindowConfig& c) {
  std::string bytes;
  if (!readFileBytes(file, bytes, kOutputWindowConfigSize)) return false;
  ImageReader r(bytes);
  fields(r, c);
  return true;
}

bool SaveOutputWindowConfig(std::string_view file, const OutputWindowConfig& c) {
  ImageWriter w;
  fields(w, c);
  if (replaceFileContent(file, w.bytes())) return true;
  std::string text = "Cannot open Configuration File -- ";
  text += file;
  LogBox(text, "OutputWindow::SaveConfig()", mb::OK | mb::ICONEXCLAMATION);
  return false;
}

}  // namespace quova
