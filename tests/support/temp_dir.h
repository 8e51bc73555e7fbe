// A temporary folder for a test, removed with everything in it at the end; optionally
// the working directory while the object lives.
#pragma once

#include <string>

namespace quova::test {

class TempDir {
 public:
  explicit TempDir(bool enter = false);
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }
  void write(const std::string& name, const std::string& content) const;
  std::string read(const std::string& name) const;

 private:
  std::string path_;
  std::string previous_;  // working directory to return to, when entered
};

}  // namespace quova::test
