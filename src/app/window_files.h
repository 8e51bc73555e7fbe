// The window settings files as plain data: quova.cfg (the main frame's position, size and
// styles), quova.win (the document windows open at the last close) and
// Config\OutputWindow.cfg (the download output window). The Qt windows apply them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quova {

// Window style bits with the Windows values, as quova.cfg stores them.
namespace ws {
inline constexpr std::uint32_t MAXIMIZE = 0x01000000;
inline constexpr std::uint32_t MINIMIZE = 0x20000000;
inline constexpr std::uint32_t VISIBLE = 0x10000000;
inline constexpr std::uint32_t OVERLAPPEDWINDOW = 0x00CF0000;
}  // namespace ws

inline constexpr std::size_t kFrameConfigSize = 24, kOutputWindowConfigSize = 18;

// quova.cfg: X, Y, height, width, style, extended style (height before width).
struct FrameAttributes {
  std::int32_t X = 40;
  std::int32_t Y = 40;
  std::int32_t H = 720;
  std::int32_t W = 1024;
  std::uint32_t Style = ws::OVERLAPPEDWINDOW;
  std::uint32_t ExStyle = 0;
  bool maximised() const { return (Style & ws::MAXIMIZE) != 0; }
  // CanClose records the frame's state in its style, so quova.cfg keeps it.
  void setMaximised(bool on) { Style = on ? (Style | ws::MAXIMIZE) : (Style & ~ws::MAXIMIZE); }
};

std::string frameConfigPath();  // QUOVAPATH + "quova.cfg"
std::string frameImage(const FrameAttributes& a);
void readFrameImage(std::string_view bytes, FrameAttributes& a);

// QVMAIN::GetConfig: false when quova.cfg is missing (logged, and the root-directory
// warning shown); the caller then closes the application.
bool GetFrameConfig(FrameAttributes& a);
// QVMAIN::SaveConfig: false when it could not be written (logged, and a message box).
bool SaveFrameConfig(const FrameAttributes& a);

// quova.win: pairs of lines, document path then window title.
struct SavedWindow {
  std::string path;
  std::string title;
};
// The pairs of the file; empty when it is missing. A last path without a title line gets
// an empty title.
std::vector<SavedWindow> ReadSavedWindows(std::string_view winsFile);
// The document stack (path, title, path, title, ...) one entry per line. False when the
// file could not be written (logged).
bool WriteSavedWindows(std::string_view winsFile, const std::vector<std::string>& documentStack);

// Config\OutputWindow.cfg (18 bytes): X, Y, W, H relative to the MDI client, iconic, maximised.
struct OutputWindowConfig {
  std::int32_t X = 20;
  std::int32_t Y = 20;
  std::int32_t W = 500;
  std::int32_t H = 220;
  bool iconic = false;
  bool maximised = false;
};
inline constexpr std::string_view kOutputWindowConfigFile = "Config\\OutputWindow.cfg";

// Keeps the defaults when the file is missing; false then.
bool LoadOutputWindowConfig(std::string_view file, OutputWindowConfig& c);
// On failure LogBox "Cannot open Configuration File -- " + file, "OutputWindow::SaveConfig()".
bool SaveOutputWindowConfig(std::string_view file, const OutputWindowConfig& c);

}  // namespace quova
