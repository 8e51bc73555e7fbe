// Daily runs on roots built to trip the program up: links out of the root, damaged or odd
// sized files, names that climb out of the quote folder. Each run ends by itself, writes
// nothing outside the root, and the symbols it can store are stored. (A list may lie
// anywhere daily.dcf names it, so a list's rewrite follows the user's link.)
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include "e2e/fault_root.h"

namespace {

using namespace quova::test;

struct Hostile {
  const char* what;
  std::function<void(FaultRoot&, const std::string& outside)> make;
  const char* logSays;  // a text the log must hold ("" for none)
};

TEST(HostileRoot, TheRunEndsStoresWhatItCanAndWritesNothingOutside) {
  const std::vector<Hostile> cases = {
      {"a quote file linked to a file outside",
       [](FaultRoot& r, const std::string& out) {
         spill(out + "/victim.day", "VICTIM\n");
         fs::last_write_time(out + "/victim.day", fs::file_time_type::clock::now() - std::chrono::hours(24 * 3650));
         fs::create_directories(r.file("quotes.day"));
         fs::create_symlink(out + "/victim.day", r.file("quotes.day/AAX.day"));
       },
       "Cannot open Quote file for update"},
      {"the quote folder linked to a folder outside",
       [](FaultRoot& r, const std::string& out) {
         fs::create_directories(out + "/q");
         fs::remove_all(r.file("quotes.day"));
         fs::create_directory_symlink(out + "/q", r.file("quotes.day"));
       },
       "Cannot open Quote file for update"},
      {"requests that climb out of the quote folder",
       [](FaultRoot& r, const std::string&) {
         std::string l = slurp(r.file("L0.qtl"));
         l += "EV1  ..\\..\\..\\evil  Up\nEV2  /tmp/evil  Slash\nEV3  a\\..\\..\\..\\evil  Mid\n"
              "EV4  \xff\xfe\x80  Bytes\n";
         spill(r.file("L0.qtl"), l);
       },
       ""},
      {"a quote file with a 10 MB line and NULs",
       [](FaultRoot& r, const std::string&) {
         std::string big = "SYMBOL: AAX\n" + std::string(10 << 20, 'x') + "\n" + std::string("\0\0\0\n", 4) +
                           "01/02/2026   1   1   1\n";
         spill(r.file("quotes.day/AAX.day"), big);
       },
       ""},
      {"a quova.ini one byte short",
       [](FaultRoot& r, const std::string&) { fs::resize_file(r.file("quova.ini"), 575); }, ""},
      {"a quova.ini one byte long",
       [](FaultRoot& r, const std::string&) { fs::resize_file(r.file("quova.ini"), 577); }, ""},
      {"a format file one byte short",
       [](FaultRoot& r, const std::string&) { spill(r.file("Config/L0.fmt"), std::string(3993, '\x01')); }, ""},
      {"a 50 MB QCF",
       [](FaultRoot& r, const std::string&) {
         std::string q = slurp(r.file("QuoteList Configuration Files/L0.qcf"));
         q += std::string(50 << 20, ' ') + "\n";
         spill(r.file("QuoteList Configuration Files/L0.qcf"), q);
       },
       ""},
  };
  for (const Hostile& c : cases) {
    SCOPED_TRACE(c.what);
    FaultRoot r(1, 3);
    TempDir outside;
    c.make(r, outside.path());
    std::map<std::string, std::string> before;
    for (const auto& e : fs::recursive_directory_iterator(outside.path()))
      if (e.is_regular_file()) before[e.path().string()] = slurp(e.path().string());
    RunOptions o;
    o.limitSeconds = 120;
    RunEnd end = r.daily(tradingDay(0), o);
    // 1 when a list could not store its quotes; never a crash or a hang.
    ASSERT_TRUE(end.status == 0 || end.status == 1) << end.status << "\n" << r.log();
    std::map<std::string, std::string> after;
    for (const auto& e : fs::recursive_directory_iterator(outside.path()))
      if (e.is_regular_file()) after[e.path().string()] = slurp(e.path().string());
    EXPECT_EQ(after, before) << "written outside the root";
    EXPECT_FALSE(fs::exists("/tmp/evil.day") || fs::exists(r.path() + "/../evil.day"));
    if (*c.logSays) EXPECT_NE(r.log().find(c.logSays), std::string::npos) << r.log();
    // The symbols that were not made hostile are stored.
    for (const char* sym : {"ABX", "ACX"})
      if (fs::is_directory(r.file("quotes.day")) && !fs::is_symlink(r.file("quotes.day")))
        EXPECT_EQ(occurrences(slurp(r.file(std::string("quotes.day/") + sym + ".day")), "\n" + tradingDay(0).us), 1u)
            << sym << "\n" << r.log();
  }
}

}  // namespace
