// The offscreen chart of a .day file: the image at the asked size with the chart drawn on
// the background, and the failures reported in words.
#include "chart/windows/chart_render.h"

#include <gtest/gtest.h>

#include "chart/plot_model.h"
#include "chart_window_fixture.h"
#include "settings/settings.h"

namespace quova {
namespace {

struct ChartRender : ::testing::Test {
  test::TempDir dir{true};
  test::ScopedHost h;
  void SetUp() override {
    runFlags() = RunFlags{};
    runFlags().QuovaPath = dir.path() + "/";
  }
  void TearDown() override { runFlags() = RunFlags{}; }
};

TEST_F(ChartRender, FileRenderedAtTheAskedSize) {
  dir.write("TEST.day", "SYMBOL: TEST\n" + quoteLines(0, 80));
  struct Case {
    std::string file;
    QSize size;
    std::string error;
  } cases[] = {
      {"TEST.day", QSize(1600, 1000), ""},
      {"TEST.day", QSize(320, 200), ""},
      {"GONE.day", QSize(320, 200), "Unable to open file -- " + dir.file("GONE.day")},
      {"TEST.day", QSize(0, 200), "Invalid image size"},
  };
  for (const Case& c : cases) {
    std::string error;
    const QImage img = renderChartFile(dir.file(c.file), c.size, &error);
    EXPECT_EQ(error, c.error) << c.file;
    if (!c.error.empty()) {
      EXPECT_TRUE(img.isNull());
      continue;
    }
    ASSERT_EQ(img.size(), c.size);
    const QColor bg = qcolor(quovaPalette()[plotcolor::Background]);
    const QColor bar = qcolor(quovaPalette()[plotcolor::HiLoClose]);
    int other = 0, bars = 0;
    for (int y = 0; y < img.height(); y += 2)
      for (int x = 0; x < img.width(); x += 2) {
        const QColor px = img.pixelColor(x, y);
        other += px != bg;
        bars += px == bar;
      }
    EXPECT_GT(other, 500) << c.size.width();
    EXPECT_GT(bars, 100) << c.size.width();
  }
}

}  // namespace
}  // namespace quova
