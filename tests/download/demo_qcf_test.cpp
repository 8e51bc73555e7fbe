// The configuration files the program ships read as intended: the demo lists' QCFs fetch
// from the local demo page server, and the default QCF reads a local quote file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "download/qcf.h"

using namespace quova;
namespace fs = std::filesystem;

namespace {

fs::path sourceDir() { return fs::path(__FILE__).parent_path().parent_path().parent_path(); }

struct Spec {
  int code;
  const char* start;  // nullptr: no start marker
};

}  // namespace

TEST(ShippedQcf, ReadsAsIntended) {
  struct Case {
    const char* file;
    const char* page;
    const char* suffix;
    int mode, perPage;
    const char* separator;
    const char* groupTrigger;
    const char* triggerString;
    int lines;
    std::vector<Spec> specs;
  } cases[] = {
      {"demo/QuoteList Configuration Files/watch.qcf", "http://127.0.0.1:8765/watch.html?s=", "", BY_SYMBOL, 10,
       "+", "Watch List Quotes", "NoTrigger", 1,
       {{FC_SYMBOL, nullptr}, {FC_CO_NAME, nullptr}, {FC_CLOSE, nullptr}, {FC_TEMP, nullptr}, {FC_TEMP, nullptr},
        {FC_OPEN, nullptr}, {FC_HI, nullptr}, {FC_LOW, nullptr}, {FC_VOLUME, nullptr}, {FC_TIME, nullptr}}},
      {"demo/QuoteList Configuration Files/funds.qcf", "http://127.0.0.1:8765/funds/", ".html", BY_SYMBOL, 1, "",
       "Fund Quote", "Fund", 2,
       {{FC_SYMBOL, "Fund "}, {FC_CO_NAME, nullptr}, {FC_CLOSE, "NAV "}, {FC_TEMP, "Chg "}, {FC_TIME, "As of "}}},
      {"root/QuoteList Configuration Files/default.qcf", "quotes.txt", "", BY_PAGE, 10, "", "", "NoTrigger", 1,
       {{FC_SYMBOL, nullptr}, {FC_CLOSE, nullptr}, {FC_HI, nullptr}, {FC_LOW, nullptr}, {FC_VOLUME, nullptr}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    std::vector<std::string> errors;
    QcfInput in;
    in.configError = [&](std::string_view t) { errors.emplace_back(t); };
    DownloadSettings s;
    ASSERT_EQ(ReadSessionQCF((sourceDir() / c.file).string(), in, &s), QcfResult::Ready);
    EXPECT_TRUE(errors.empty()) << errors.front();
    EXPECT_EQ(s.pageAddress, c.page);
    EXPECT_EQ(s.localFile, s.pageAddress.rfind("http://", 0) != 0);
    EXPECT_EQ(s.suffix, c.suffix);
    EXPECT_EQ(s.requestMode, c.mode);
    EXPECT_EQ(s.quotesPerPage, c.perPage);
    EXPECT_EQ(s.separator, c.separator);
    ASSERT_EQ(s.groups.size(), 1u);
    const QcfGroup& g = s.groups[0];
    EXPECT_EQ(g.groupTrigger, c.groupTrigger);
    EXPECT_EQ(g.correlateBy, CB_SYMBOL);
    EXPECT_EQ(g.triggerString.value_or("(none)"), c.triggerString);
    EXPECT_EQ(g.linesPerQuote, c.lines);
    ASSERT_EQ(g.specifiers.size(), c.specs.size());
    for (std::size_t i = 0; i < c.specs.size(); ++i) {
      EXPECT_EQ(g.specifiers[i].code, c.specs[i].code) << i;
      EXPECT_EQ(g.specifiers[i].start.value_or("(none)"), c.specs[i].start ? c.specs[i].start : "(none)") << i;
      EXPECT_FALSE(g.specifiers[i].end.has_value()) << i;  // fields end at three blanks
    }
    // The quote files keep the default layout.
    EXPECT_STREQ(s.outputFormat.outDateFormat, "mm/dd/yyyy");
    EXPECT_STREQ(s.outputFormat.headerTemplate, "Header.day");
    EXPECT_EQ(s.outputFormat.nFields, 6);
  }
}
