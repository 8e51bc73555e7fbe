// The alarm list after a download: the requests in alarm are added under a header line, so
// the window (which shows line 1 as its label row) shows every one of them.
#include <gtest/gtest.h>

#include "base/run_flags.h"
#include "download/alarm_summary.h"
#include "download/download_state.h"
#include "quotes/list_window.h"
#include "support/temp_dir.h"

namespace quova {
namespace {

TEST(AlarmList, RequestsInAlarmGoUnderAHeaderLine) {
  const std::string hit = "IBM   *   Intl   ALARMSON   HA=90.000   12/08/2026   94.000   93.000   93.500   0.5   100   16:00";
  const std::string label(kListLabelText);
  struct Case {
    const char* what;
    bool alarmsExists;
    std::string alarmsBefore, listHeader, expected;
  } cases[] = {
      {"reset from an empty template: the list's header", true, "", "SYMBOL  FILE  NAME",
       "SYMBOL  FILE  NAME\n" + hit + "\n"},
      {"no alarm list yet, list without header text: the label row's", false, "", "",
       label + "\n" + hit + "\n"},
      {"only blank lines: still no header", true, "\n\n", "H", "\n\nH\n" + hit + "\n"},
      {"a header already there: appended", true, "SYMBOL  FILE\n", "H", "SYMBOL  FILE\n" + hit + "\n"},
      {"a last line without its end", true, "SYMBOL  FILE", "H", "SYMBOL  FILE\n" + hit + "\n"},
  };
  for (const Case& c : cases) {
    test::TempDir dir(true);
    runFlags() = RunFlags{};
    runFlags().QUOVAPATH = dir.path() + "/";
    ResetDownloadAlarms();
    if (c.alarmsExists) dir.write("alarms.qtl", c.alarmsBefore);
    dir.write("w.qtl", c.listHeader + "\n" + hit + "\nGE   *   General   ALARMSON   HA=99.000   12/08/2026   1   1   1   0   1   16:00\n");
    EXPECT_EQ(CollectListAlarms(dir.file("w.qtl")), 1) << c.what;
    EXPECT_EQ(dir.read("alarms.qtl"), c.expected) << c.what;
    EXPECT_TRUE(downloadState().alarms.exceeded) << c.what;
  }
  runFlags() = RunFlags{};
}

}  // namespace
}  // namespace quova
