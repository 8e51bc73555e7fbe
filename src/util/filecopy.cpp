// FileCopy and mwait.
#include "util/filecopy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "base/host.h"
#include "base/log.h"
#include "util/paths.h"

namespace quova {
namespace {

constexpr std::size_t kChunk = 64 * 1024;

void report(bool showErrors, const char* what, const std::string& path) {
  if (showErrors) LogBox(std::string(what) + path, "in FileCopy", mb::OK);
}

// Splits the text into lines and writes each with "\n", buffering the output.
class LineWriter {
 public:
  explicit LineWriter(ReplacementFile& out) : out_(out) {}

  // Feeds bytes; a "\r" directly before "\n" is dropped by the caller.
  void content(char c) {
    if (line_.size() == static_cast<std::size_t>(kCopyLineMax)) endLine();
    line_ += c;
  }
  void endLine() {
    pending_ += line_;
    pending_ += '\n';
    line_.clear();
    ++count_;
    if (pending_.size() >= kChunk) flush();
  }
  // The last line may have no line end; an empty remainder is not written.
  bool finish() {
    if (!line_.empty()) endLine();
    flush();
    return ok_;
  }
  int count() const { return count_; }

 private:
  void flush() {
    if (!pending_.empty() && !out_.write(pending_)) ok_ = false;
    pending_.clear();
  }
  ReplacementFile& out_;
  std::string line_;
  std::string pending_;
  int count_ = 0;
  bool ok_ = true;
};

// Feeds data[0, n) to the writer; every "\r" in it has its next byte at data[i + 1]
// when i + 1 < avail.
void feed(LineWriter& w, const char* data, std::size_t n, std::size_t avail) {
  for (std::size_t i = 0; i < n; ++i) {
    char c = data[i];
    if (c == '\n') {
      w.endLine();
    } else if (c == '\r' && i + 1 < avail && data[i + 1] == '\n') {
      // the line end follows
    } else {
      w.content(c);
    }
  }
}

// Copies the open source into the writer; false on a read error.
bool copyLines(int fd, LineWriter& w) {
  std::string buf;
  char chunk[kChunk];
  for (;;) {
    ssize_t got = ::read(fd, chunk, sizeof chunk);
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) break;
    buf.append(chunk, static_cast<std::size_t>(got));
    // Keep the last two bytes back: only at the end is it known whether they are a
    // final 0x1A or "\r".
    if (buf.size() > 2) {
      std::size_t n = buf.size() - 2;
      feed(w, buf.data(), n, buf.size());
      buf.erase(0, n);
    }
  }
  if (!buf.empty() && buf.back() == '\x1A') buf.pop_back();  // the old end-of-file mark
  if (!buf.empty() && buf.back() == '\r') buf.pop_back();
  feed(w, buf.data(), buf.size(), buf.size());
  return true;
}

}  // namespace

int FileCopy(const std::string& dest, const std::string& src, bool showErrors) {
  std::string from = nativePath(src);
  int fd = ::open(from.c_str(), O_RDONLY);
  struct stat st {};
  if (fd >= 0 && (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode))) {
    ::close(fd);
    fd = -1;
  }
  if (fd < 0) {
    report(showErrors, "Cannot open Source File -- ", src);
    return -1;
  }
  // Writing a file onto itself would destroy it; an existing read-only dest is refused
  // as opening it for writing would be.
  std::string to = nativePath(dest);
  bool refused = sameFile(src, dest) || (::access(to.c_str(), F_OK) == 0 && ::access(to.c_str(), W_OK) != 0);
  if (refused) {
    ::close(fd);
    report(showErrors, "Cannot open Destination File -- ", dest);
    return -1;
  }
  ReplacementFile out(dest);
  if (!out.isOpen()) {
    ::close(fd);
    report(showErrors, "Cannot open Destination File -- ", dest);
    return -1;
  }
  LineWriter writer(out);
  bool readOk = copyLines(fd, writer);
  ::close(fd);
  if (!readOk) {
    report(showErrors, "Cannot open Source File -- ", src);
    return -1;  // the replacement is discarded: dest stays as it was
  }
  if (!writer.finish() || !out.commit()) {
    report(showErrors, "Cannot open Destination File -- ", dest);
    return -1;
  }
  return writer.count();
}

void mwait(int n) {
  if (n > 0) std::this_thread::sleep_for(std::chrono::milliseconds(n));
}

}  // namespace quova
