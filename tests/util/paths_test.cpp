// Path mapping, file replacement and file times.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

#include "support/temp_dir.h"
#include "util/filetimes.h"
#include "util/paths.h"

using namespace quova;
using quova::test::TempDir;

TEST(NativePath, BackslashesAndLetterCaseOfExistingComponents) {
  TempDir dir(true);
  dir.write("quotes.day/funds/funds_VFINX.day", "x");
  EXPECT_EQ(nativePath("QUOTES.DAY\\FUNDS\\FUNDS_vfinx.DAY"), "quotes.day/funds/funds_VFINX.day");
  // Components that do not exist keep the writer's spelling, also below a missing one.
  EXPECT_EQ(nativePath("Quotes.Day\\New\\A.day"), "quotes.day/New/A.day");
  EXPECT_EQ(nativePath("Config\\download\\download.cfg"), "Config/download/download.cfg");
  EXPECT_EQ(nativePath(dir.path() + "/QUOTES.DAY"), dir.path() + "/quotes.day");
  // Spelled as it exists: the path itself with repeated slashes folded. fileExists and
  // openNative take either spelling; a folder is no file.
  EXPECT_EQ(nativePath("quotes.day//funds\\funds_VFINX.day"), "quotes.day/funds/funds_VFINX.day");
  for (const char* p : {"quotes.day/funds/funds_VFINX.day", "QUOTES.DAY\\FUNDS\\FUNDS_vfinx.DAY"}) {
    EXPECT_TRUE(fileExists(p)) << p;
    const int fd = openNative(p, O_RDONLY);
    EXPECT_GE(fd, 0) << p;
    if (fd >= 0) ::close(fd);
  }
  EXPECT_FALSE(fileExists("quotes.day/funds"));
  EXPECT_LT(openNative("quotes.day/none.day", O_RDONLY), 0);
}

TEST(NativePath, LongPathsAreNeverCut) {
  std::string longName(400, 'a');
  EXPECT_EQ(nativePath("x\\" + longName), "x/" + longName);
}

TEST(SameFile, DifferentSpellingsOfOneFile) {
  TempDir dir(true);
  dir.write("watch.qtl", "x");
  EXPECT_TRUE(sameFile("WATCH.QTL", "watch.qtl"));
  dir.write("other.qtl", "y");
  EXPECT_FALSE(sameFile("watch.qtl", "other.qtl"));
  EXPECT_FALSE(sameFile("watch.qtl", "missing.qtl"));
}

TEST(ReplaceFileContent, WritesWholeContentAndLeavesNoWorkFile) {
  TempDir dir(true);
  dir.write("a.txt", "old");
  ASSERT_TRUE(replaceFileContent("A.TXT", "new content\n"));
  EXPECT_EQ(dir.read("a.txt"), "new content\n");
  EXPECT_FALSE(std::filesystem::exists(dir.file("a.txt.tmp~")));
  EXPECT_FALSE(replaceFileContent("nofolder/b.txt", "x"));
}

TEST(FileTimes, SetAndReadBackInLocalTime) {
  TempDir dir(true);
  dir.write("q.day", "x");
  LocalTime t;
  t.year = 2026, t.month = 12, t.day = 7, t.hour = 16, t.minute = 0, t.second = 0;
  ASSERT_TRUE(setFileTime("Q.DAY", t));
  auto back = fileTime("q.day");
  ASSERT_TRUE(back);
  EXPECT_EQ(back->year, 2026);
  EXPECT_EQ(back->month, 12);
  EXPECT_EQ(back->day, 7);
  EXPECT_EQ(back->hour, 16);
  EXPECT_FALSE(fileTime("none.day"));
  ASSERT_TRUE(setFileTime("q.day", backdateStamp()));
  back = fileTime("q.day");
  EXPECT_EQ(back->year, 1981);
  EXPECT_EQ(back->hour, 1);
  EXPECT_EQ(back->minute, 1);
  EXPECT_EQ(back->second, 2);
}

TEST(FileTimes, DosStampBitLayout) {
  // 01/01/1981 01:01:02: date word (1 << 9 | 1 << 5 | 1), time word (1 << 11 | 1 << 5 | 1).
  EXPECT_EQ(toDosStamp(backdateStamp()), (0x0221u << 16) | 0x0821u);
  LocalTime t = fromDosStamp((0x0221u << 16) | 0x0821u);
  EXPECT_EQ(t.year, 1981);
  EXPECT_EQ(t.second, 2);
  EXPECT_EQ(t.weekday, 4);  // a Thursday
}
