// Fuzz target: the same bytes as each settings file (quova.ini with User.dat, quova.cfg,
// Config\OutputWindow.cfg, quova.win). A loaded image written back keeps the file's size,
// and loading what was written gives the same image again.
#include <cstdint>
#include <string>

#include "base/run_flags.h"
#include "settings/settings.h"
#include "app/window_files.h"
#include "support/fuzz_input.h"

namespace {

using namespace quova;

std::string loadedIni(const std::string& bytes) {
  fuzz::inputFile("quova.ini", reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  if (!GetIniFile()) __builtin_trap();
  return iniImage(settings(), logState().LogDiagnostics) + userImage(settings().TPathBuffer);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string& dir = fuzz::workDir();
  runFlags().IniFilePath = dir + "quova.ini";
  runFlags().UserFilePath = dir + "User.dat";
  std::string bytes(reinterpret_cast<const char*>(data), size);
  fuzz::inputFile("User.dat", data, size);
  std::string once = loadedIni(bytes);
  if (once.size() != kIniFileSize + kUserFileSize) __builtin_trap();
  fuzz::inputFile("User.dat", data, 0);
  std::string user = once.substr(kIniFileSize);
  fuzz::inputFile("User.dat", reinterpret_cast<const std::uint8_t*>(user.data()), user.size());
  if (loadedIni(once.substr(0, kIniFileSize)) != once) __builtin_trap();

  FrameAttributes frame;
  readFrameImage(bytes, frame);
  if (frameImage(frame).size() != kFrameConfigSize) __builtin_trap();

  OutputWindowConfig out;
  LoadOutputWindowConfig(fuzz::inputFile("OutputWindow.cfg", data, size), out);
  ReadSavedWindows(fuzz::inputFile("quova.win", data, size));
  return 0;
}
