// The repair tool's core: the checker on damaged files, the repair it writes, the import of
// both comma layouts with a merge, and whole runs on files (recovery copy, undo, check,
// paths outside the root, an unwritable folder and a full disk).
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>

#include "quotes/format_file.h"
#include "quotes/quote_line.h"
#include "repair/mendora_run.h"
#include "support/temp_dir.h"
#include "util/dates.h"
#include "util/filetimes.h"

namespace quova::repair {
namespace {

// A record line in the default layout.
std::string rec(const char* date, const char* hi, const char* low, const char* close, const char* vol = "1000",
                const char* time = "16:00") {
  QuoteData q{};
  std::strcpy(q.Date, date);
  std::strcpy(q.High, hi);
  std::strcpy(q.Low, low);
  std::strcpy(q.Close, close);
  std::strcpy(q.Volume, vol);
  std::strcpy(q.Time, time);
  char line[kQuoteLineSize];
  MakeQuoteString(line, sizeof line, &q, DefaultFormat(), true);
  return line;
}

const std::string kHeader = "SYMBOL: XYZ\nCOMPANY NAME: Xyz Corp\n";
const int kToday = DayCount(12, 9, 2026);

std::vector<Problem> problemsOf(const Scan& s) {
  std::vector<Problem> out;
  for (const Finding& f : s.findings) out.push_back(f.problem);
  return out;
}

TEST(RepairCheck, NamesEveryProblemWithItsLine) {
  const std::string a = rec("12/01/2026", "11", "9", "10"), b = rec("12/02/2026", "12", "10", "11");
  struct Case {
    const char* what;
    std::string body;  // after the header
    Problem problem;
    long line;
  } cases[] = {
      {"unreadable", a + "12/0x/2026     12  10\n" + b, Problem::Unreadable, 4},
      {"identical duplicate", a + a, Problem::DuplicateLine, 4},
      {"different duplicate", a + rec("12/01/2026", "11", "9", "9.5"), Problem::DuplicateDate, 4},
      {"out of order", b + a, Problem::OutOfOrder, 4},
      {"future", a + rec("01/05/2027", "11", "9", "10"), Problem::FutureDate, 4},
      {"high below low", rec("12/01/2026", "9", "11", "10"), Problem::HighBelowLow, 3},
      {"close outside", rec("12/01/2026", "11", "9", "12"), Problem::CloseOutside, 3},
      {"not positive", rec("12/01/2026", "11", "0", "10"), Problem::NotPositive, 3},
      {"ctrl-z", a + b + "\x1A", Problem::CtrlZ, 5},
      {"nul bytes", a + std::string("12/02/2026\0", 11) + b.substr(10), Problem::NulBytes, 4},
      {"no line end", a + b.substr(0, b.size() - 1), Problem::NoLineEnd, 4},
      {"header after records", a + "SYMBOL: XYZ\n" + b, Problem::HeaderAfterRecords, 4},
      {"blank line", a + "\n" + b, Problem::BlankLine, 4},
  };
  for (const Case& c : cases) {
    const Scan s = checkQuoteFile(kHeader + c.body, DefaultFormat(), kToday);
    ASSERT_EQ(problemsOf(s), std::vector<Problem>{c.problem}) << c.what;
    EXPECT_EQ(s.findings[0].line, c.line) << c.what;
    EXPECT_EQ(s.header, kHeader) << c.what;
  }
  // A clean file has nothing to say, and a header line that parses ends the header early.
  EXPECT_TRUE(checkQuoteFile(kHeader + a + b, DefaultFormat(), kToday).findings.empty());
}

TEST(RepairPlan, SortsDedupesAndKeepsTheLaterLine) {
  const std::string d1 = rec("12/01/2026", "11", "9", "10"), d2 = rec("12/02/2026", "12", "10", "11"),
                    d2b = rec("12/02/2026", "12", "10", "11.5"), d3 = rec("12/03/2026", "13", "11", "12");
  const std::string bytes = kHeader + d3 + d1 + "garbage line\n" + d2 + d1 + d2b + "\n" + "COMPANY NAME: Other\x1A";
  const Scan s = checkQuoteFile(bytes, DefaultFormat(), kToday);
  const RepairPlan batch = planRepair(s, {}, kToday);
  EXPECT_EQ(batch.content, kHeader + "COMPANY NAME: Other\n" + d1 + d2b + d3);
  EXPECT_EQ(batch.records, 3);
  EXPECT_EQ(batch.lastDate, DayCount(12, 3, 2026));
  EXPECT_EQ(batch.lastTime, 1600);
  EXPECT_EQ(batch.leftForPerson, 0);

  // In the window the person keeps the earlier line of 12/02.
  RepairChoices keepEarlier;
  keepEarlier.keepLine[DayCount(12, 2, 2026)] = 6;
  EXPECT_EQ(planRepair(s, keepEarlier, kToday).content, kHeader + "COMPANY NAME: Other\n" + d1 + d2 + d3);

  // Of a date written twice, a later line with wrong prices does not replace a right one.
  const std::string wrong = rec("12/01/2026", "11", "9", "99");
  EXPECT_EQ(planRepair(checkQuoteFile(kHeader + d1 + wrong, DefaultFormat(), kToday), {}, kToday).content,
            kHeader + d1);

  // What only a person can settle stays, and the stamp skips a future date.
  const std::string future = rec("01/05/2027", "11", "9", "10"), bad = rec("12/04/2026", "9", "11", "10");
  const RepairPlan left = planRepair(checkQuoteFile(kHeader + future + d1 + bad, DefaultFormat(), kToday), {}, kToday);
  EXPECT_EQ(left.content, kHeader + d1 + bad + future);
  EXPECT_EQ(left.leftForPerson, 2);
  EXPECT_EQ(left.lastDate, DayCount(12, 4, 2026));
}

TEST(RepairImport, BothCommaLayoutsMergeWithTheFile) {
  const OFtype fmt = DefaultFormat();
  const std::string own = "SYMBOL: XYZ\nCOMPANY NAME: Xyz Corp\n12/03/2026,13,11,12,3000,16:00\n"
                          "12/01/2026,11,9,10.5,1000,16:00\n";
  const std::string common = "Date,Open,High,Low,Close,Adj Close,Volume\r\n2026-12-04,12,14,11.5,13.25,13.1,4000\r\n"
                             "2026-12-01,10,11,9,10.75,10.7,1100\r\n2026-12-05,null,null,null,null,null,null\r\n";
  const ImportResult a = importHistory(own, fmt), b = importHistory(common, fmt);
  ASSERT_EQ(a.rows.size(), 2u);
  EXPECT_EQ(a.skipped, 2);
  EXPECT_EQ(a.rows[0].text + "\n", rec("12/03/2026", "13", "11", "12", "3000"));
  ASSERT_EQ(b.rows.size(), 2u);
  EXPECT_EQ(b.rows[0].text + "\n", rec("12/04/2026", "14", "11.5", "13.25", "4000", ""));
  ASSERT_EQ(b.rejected.size(), 1u);
  EXPECT_EQ(b.rejected[0].row, 4);

  // The file's 12/01 stays unless imported rows win.
  const std::string d1 = rec("12/01/2026", "11", "9", "10"), d2 = rec("12/02/2026", "12", "10", "11");
  Scan s = checkQuoteFile(kHeader + d1 + d2, fmt, kToday);
  for (const Record& r : b.rows) s.records.push_back(r);
  checkRecords(&s, fmt, kToday);
  const std::string imported4 = b.rows[0].text + "\n", imported1 = b.rows[1].text + "\n";
  EXPECT_EQ(planRepair(s, {}, kToday).content, kHeader + d1 + d2 + imported4);
  RepairChoices wins;
  wins.importedWins = true;
  EXPECT_EQ(planRepair(s, wins, kToday).content, kHeader + imported1 + d2 + imported4);
}

TEST(MendoraArguments, CommandLine) {
  struct Case {
    std::vector<std::string> args;
    int code;
  } cases[] = {
      {{"--batch", "..\\quotes.day\\X.day"}, kExitDone}, {{"/batch", "x.day"}, kExitDone},
      {{"--help"}, kExitDone},  {{}, kExitBadInput},  {{"--import"}, kExitBadInput},
      {{"a.day", "b.day"}, kExitBadInput}, {{"--frob", "x.day"}, kExitBadInput},
      {{"--undo", "--check", "x.day"}, kExitBadInput},
  };
  for (const Case& c : cases) {
    Options o;
    std::string error;
    EXPECT_EQ(parseArguments(c.args, &o, &error), c.code) << (c.args.empty() ? "" : c.args[0]);
  }
}

// A root with Utilities, Config and one quote file; the tool runs in Utilities.
struct Root {
  test::TempDir dir;
  std::string util = dir.file("Utilities");
  Root(const std::string& content) {
    std::filesystem::create_directories(dir.file("Utilities"));
    std::filesystem::create_directories(dir.file("quotes.day"));
    std::filesystem::create_directories(dir.file("Config"));
    dir.write("quotes.day/XYZ.day", content);
    OFtype f = DefaultFormat();
    f.repairFlag = 1;
    const FormatImage image = formatToImage(f);
    dir.write("Config/XYZ.fmt", std::string(image.begin(), image.end()));
  }
  int run(std::vector<std::string> args, std::string* report = nullptr) {
    Options o;
    std::string error, text;
    args.push_back("..\\quotes.day\\XYZ.day");
    EXPECT_EQ(parseArguments(args, &o, &error), kExitDone);
    const int code = runBatch(o, util, nullptr, &text);
    if (report) *report = text;
    return code;
  }
};

TEST(MendoraRun, RepairKeepsTheOriginalAndUndoPutsItBack) {
  const std::string d1 = rec("12/01/2026", "11", "9", "10"), d2 = rec("12/02/2026", "12", "10", "11");
  const std::string damaged = kHeader + d2 + "12/0x/2026   1\n" + d1;
  Root r(damaged);
  std::string report;
  EXPECT_EQ(r.run({"--check"}, &report), kExitForPerson);
  EXPECT_EQ(r.dir.read("quotes.day/XYZ.day"), damaged);
  EXPECT_FALSE(std::filesystem::exists(r.dir.file("quotes.day/XYZ.REC")));
  EXPECT_NE(report.find("line 4: unreadable record line: 12/0x/2026   1"), std::string::npos);

  EXPECT_EQ(r.run({"--batch"}, &report), kExitDone);
  EXPECT_EQ(r.dir.read("quotes.day/XYZ.day"), kHeader + d1 + d2);
  EXPECT_EQ(r.dir.read("quotes.day/XYZ.REC"), damaged);
  const auto stamp = fileTime(r.dir.file("quotes.day/XYZ.day"));
  ASSERT_TRUE(stamp);
  EXPECT_EQ(std::vector<int>({stamp->month, stamp->day, stamp->year, stamp->hour}), std::vector<int>({12, 2, 2026, 16}));
  const std::string log = r.dir.read("Utilities/mendora.log");
  EXPECT_NE(log.find("==== Mendora "), std::string::npos);
  EXPECT_NE(log.find("removed line 4: unreadable record line (kept in the recovery copy)"), std::string::npos);

  EXPECT_EQ(r.run({"--batch"}), kExitDone);  // nothing left to do: the copy stays the original
  EXPECT_EQ(r.dir.read("quotes.day/XYZ.REC"), damaged);
  EXPECT_EQ(r.run({"--undo"}), kExitDone);
  EXPECT_EQ(r.dir.read("quotes.day/XYZ.day"), damaged);
}

TEST(MendoraRun, RefusesWhatItCannotDoSafely) {
  const std::string d1 = rec("12/01/2026", "11", "9", "10");
  Root r(kHeader + d1 + "bad one\nbad two\n");
  // Most lines unreadable: the layout is likely wrong, so nothing is dropped.
  EXPECT_EQ(r.run({"--batch"}), kExitForPerson);
  EXPECT_EQ(r.dir.read("quotes.day/XYZ.day"), kHeader + d1 + "bad one\nbad two\n");
  // A path that leaves the root, and undo without a copy.
  Options o;
  o.quoteFile = "..\\..\\..\\etc\\passwd";
  std::string report;
  EXPECT_EQ(runBatch(o, r.util, nullptr, &report), kExitBadInput);
  EXPECT_NE(report.find("lies outside the root"), std::string::npos);
  EXPECT_EQ(r.run({"--undo"}), kExitBadInput);
  // A short format file only means the default layout.
  r.dir.write("Config/XYZ.fmt", "abc");
  EXPECT_EQ(r.run({"--check"}, &report), kExitForPerson);
  EXPECT_NE(report.find("Config\\XYZ.fmt is short (3 of 3994 bytes): the default layout is used"), std::string::npos);
}

// Runs the repair in a child that cannot write: an unprivileged user in a folder it does not
// own, or a file size limit of 0 (a full disk). The child's exit status.
int runCrippled(Root& r, bool fullDisk) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (fullDisk) {
      std::signal(SIGXFSZ, SIG_IGN);
      rlimit none{0, 0};
      ::setrlimit(RLIMIT_FSIZE, &none);
    } else if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
      ::_exit(99);
    }
    ::_exit(r.run({"--batch"}));
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(MendoraRun, UnwritableFolderOrFullDiskLeavesTheOriginal) {
  const std::string damaged = kHeader + rec("12/02/2026", "12", "10", "11") + rec("12/01/2026", "11", "9", "10");
  for (bool fullDisk : {false, true}) {
    Root r(damaged);
    ::chmod(r.dir.path().c_str(), 0755);
    if (!fullDisk) ::chmod(r.dir.file("quotes.day").c_str(), 0555);
    ::chmod(r.dir.file("Utilities").c_str(), 0777);
    EXPECT_EQ(runCrippled(r, fullDisk), kExitBadInput) << fullDisk;
    ::chmod(r.dir.file("quotes.day").c_str(), 0755);
    EXPECT_EQ(r.dir.read("quotes.day/XYZ.day"), damaged);
    EXPECT_FALSE(std::filesystem::exists(r.dir.file("quotes.day/XYZ.REC")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(r.dir.file("quotes.day")), {}), 1);
  }
}

}  // namespace
}  // namespace quova::repair
