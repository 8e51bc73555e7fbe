// What the download core tests share: the sample pages and QCFs under tests/download/data,
// and a run in its own home folder on a fixed clock with a QCF read from text.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "download/qcf.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"
#include "util/clock.h"

namespace quova::test {

// A sample file of tests/download/data, whatever the working directory.
inline std::string downloadData(const std::string& name) {
  std::ifstream f(std::string(QUOVA_SOURCE_DIR) + "/tests/download/data/" + name, std::ios::binary);
  EXPECT_TRUE(f.good()) << name;
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

// A test's home folder (the working directory) on Tuesday 12/08/2026 at 17:30.
struct QcfRun {
  TempDir dir{true};
  ScopedHost host;
  FixedClock clock{LocalTime{2026, 12, 8, 17, 30, 0, 0, 2}};
  DownloadSettings s;
  QcfRun() { setClock(&clock); }
  ~QcfRun() { setClock(nullptr); }
  QcfRun(const QcfRun&) = delete;
  QcfRun& operator=(const QcfRun&) = delete;
  // Reads text as the session's QCF; any configuration error fails the test.
  void qcf(const std::string& text) {
    dir.write("t.qcf", text);
    QcfInput in;
    in.configError = [](std::string_view t) { ADD_FAILURE() << t; };
    ASSERT_EQ(ReadSessionQCF("t.qcf", in, &s), QcfResult::Ready);
  }
};

}  // namespace quova::test
