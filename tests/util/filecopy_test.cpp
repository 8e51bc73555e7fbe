// FileCopy: line ends, long lines, the refusals and failures that must leave dest as it was.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>

#include "support/recording_host.h"
#include "support/temp_dir.h"
#include "util/filecopy.h"

using namespace quova;
using quova::test::ScopedHost;
using quova::test::TempDir;

namespace {

int filesIn(const std::string& dir) {
  int n = 0;
  for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir)) ++n;
  return n;
}

}  // namespace

TEST(FileCopy, NormalisesLineEnds) {
  const std::string l2180(2180, 'x'), l2181 = l2180 + "y";
  struct Case {
    std::string src, expected;
    int lines;
  } cases[] = {
      {"a\nb\nc", "a\nb\nc\n", 3},             // a last line without a line end
      {"a\r\nb\r\n", "a\nb\n", 2},              // CRLF from Windows or a server
      {"", "", 0},                              // an empty source clears the destination
      {"a\r", "a\n", 1},                        // a final "\r"
      {"a\r\n\x1A", "a\n", 1},                  // the old end-of-file mark
      {"a\nb\r\x1A", "a\nb\n", 2},
      {"x\x1Ay\n", "x\x1Ay\n", 1},              // 0x1A inside the text stays
      {"a\rb\n", "a\rb\n", 1},                  // a lone "\r" is text
      {"\n\r\n", "\n\n", 2},                    // empty lines count
      {l2180 + "\r\n", l2180 + "\n", 1},        // a line of exactly the limit is one line
      {l2181, l2180 + "\ny\n", 2},              // a longer one is split, not lost
      {std::string(5000, 'z'), std::string(2180, 'z') + "\n" + std::string(2180, 'z') + "\n" +
                                   std::string(640, 'z') + "\n", 3},
  };
  TempDir dir;
  for (const auto& c : cases) {
    dir.write("src.txt", c.src);
    dir.write("dst.txt", "old content\n");
    EXPECT_EQ(FileCopy(dir.file("dst.txt"), dir.file("src.txt"), false), c.lines) << c.src.substr(0, 20);
    EXPECT_EQ(dir.read("dst.txt"), c.expected) << c.src.substr(0, 20);
  }
  EXPECT_EQ(filesIn(dir.path()), 2);  // no temporary file left behind
}

// CRLF pairs and final marks that fall on the reader's chunk boundaries.
TEST(FileCopy, LargeFilesKeepEveryLine) {
  std::string src, expected;
  int lines = 0;
  for (int i = 0; src.size() < 300000; ++i) {
    std::string line(static_cast<std::size_t>(i % 151), static_cast<char>('a' + i % 26));
    src += line + "\r\n";
    expected += line + "\n";
    ++lines;
  }
  src += "\x1A";
  TempDir dir;
  dir.write("big.day", src);
  EXPECT_EQ(FileCopy(dir.file("copy.day"), dir.file("big.day"), false), lines);
  EXPECT_EQ(dir.read("copy.day"), expected);
}

TEST(FileCopy, MissingSourceLeavesDestAlone) {
  TempDir dir;
  dir.write("dst.txt", "keep\n");
  {
    ScopedHost h;
    EXPECT_EQ(FileCopy(dir.file("dst.txt"), dir.file("none.txt"), false), -1);
    EXPECT_TRUE(h.host.boxes.empty());
  }
  ScopedHost h;
  EXPECT_EQ(FileCopy(dir.file("dst.txt"), dir.file("none.txt"), true), -1);
  ASSERT_EQ(h.host.boxes.size(), 1u);
  EXPECT_EQ(h.host.boxes[0].text, "Cannot open Source File -- " + dir.file("none.txt"));
  EXPECT_EQ(h.host.boxes[0].caption, "in FileCopy");
  EXPECT_EQ(h.host.boxes[0].flags, mb::OK);
  EXPECT_EQ(dir.read("dst.txt"), "keep\n");
}

TEST(FileCopy, OntoItselfIsRefused) {
  TempDir dir(true);
  dir.write("watch.qtl", "IBM\r\nMSFT\n");
  ScopedHost h;
  EXPECT_EQ(FileCopy("WATCH.QTL", "watch.qtl", true), -1);
  EXPECT_TRUE(h.host.sawBox("Cannot open Destination File -- WATCH.QTL", "in FileCopy"));
  EXPECT_EQ(dir.read("watch.qtl"), "IBM\r\nMSFT\n");
}

TEST(FileCopy, UnwritableDestination) {
  TempDir dir;
  dir.write("src.txt", "a\n");
  ScopedHost h;
  std::string dest = dir.file("missing/dst.txt");
  EXPECT_EQ(FileCopy(dest, dir.file("src.txt"), true), -1);
  EXPECT_TRUE(h.host.sawBox("Cannot open Destination File -- " + dest, "in FileCopy"));
}

// A write that fails part way (here the file size limit) gives -1 and keeps the old dest.
TEST(FileCopy, FailedWriteKeepsTheOldDestination) {
  TempDir dir;
  dir.write("src.txt", std::string(200000, 'q'));
  dir.write("dst.txt", "old\n");
  struct rlimit old {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  auto previous = signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  int result = FileCopy(dir.file("dst.txt"), dir.file("src.txt"), false);
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, previous);
  EXPECT_EQ(result, -1);
  EXPECT_EQ(dir.read("dst.txt"), "old\n");
  EXPECT_EQ(filesIn(dir.path()), 2);
}

TEST(FileCopy, KeepsPermissionsAndFollowsLinks) {
  TempDir dir;
  dir.write("src.txt", "new\n");
  dir.write("real.txt", "old\n");
  ::chmod(dir.file("real.txt").c_str(), 0640);
  std::filesystem::create_symlink("real.txt", dir.file("link.txt"));
  EXPECT_EQ(FileCopy(dir.file("link.txt"), dir.file("src.txt"), false), 1);
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.txt")));
  EXPECT_EQ(dir.read("real.txt"), "new\n");
  struct stat st {};
  ASSERT_EQ(::stat(dir.file("real.txt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(Mwait, PausesAboutNMilliseconds) {
  auto t0 = std::chrono::steady_clock::now();
  mwait(0);
  mwait(-5);
  auto t1 = std::chrono::steady_clock::now();
  mwait(30);
  auto t2 = std::chrono::steady_clock::now();
  EXPECT_LT(t1 - t0, std::chrono::milliseconds(10));
  EXPECT_GE(t2 - t1, std::chrono::milliseconds(30));
}
