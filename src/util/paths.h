// The program's own paths are written Windows-style ("QUOTES.DAY\\X.DAY", "Config\\").
// nativePath turns one into a Linux path: backslashes become "/", and each component that
// exists is matched regardless of letter case; a component that does not exist yet keeps
// the writer's spelling. Paths are std::string and never cut short.
#pragma once

#include <string>
#include <string_view>

namespace quova {

std::string nativePath(std::string_view path);

// True when both names lead to the same existing file (same device and inode).
bool sameFile(const std::string& a, const std::string& b);

bool fileExists(std::string_view path);      // mapped with nativePath
// open(2) of the path mapped with nativePath; -1 (errno set) when it does not open.
int openNative(std::string_view path, int flags);
bool directoryExists(std::string_view path);  // mapped with nativePath

// Creates the folder and its parents (mapped); true when it exists afterwards.
bool makeDirectories(std::string_view path);

// Writes the content to a temporary file beside the target and renames it over the
// target, so a crash leaves the old file or the new one, never half of one.
bool replaceFileContent(std::string_view path, std::string_view content);

// The same, written piece by piece: the content goes to a temporary file beside the
// target (an existing target's permissions are kept, a symbolic link is followed), and
// commit() flushes it and renames it over the target. Until then the target stays as it
// was; a replacement that is not committed, or whose write fails, is discarded.
class ReplacementFile {
 public:
  explicit ReplacementFile(std::string_view path);  // mapped with nativePath
  ~ReplacementFile();
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;
  bool isOpen() const { return fd_ >= 0; }
  bool write(std::string_view data);  // false once any write has failed
  bool commit();                      // true only when every write, the flush and the rename succeeded

 private:
  void discard();
  std::string target_;
  std::string tmp_;
  int fd_ = -1;
  bool failed_ = false;
};

}  // namespace quova
