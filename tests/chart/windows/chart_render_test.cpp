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

#include <QPrinter>
#include <fstream>
#include <sstream>

#include "chart_window_fixture.h"

namespace quova {
namespace {

std::string fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

int count(const std::string& hay, const std::string& needle) {
  int n = 0;
  for (std::size_t p = hay.find(needle); p != std::string::npos; p = hay.find(needle, p + 1)) ++n;
  return n;
}

struct ChartOutput : ChartWindow {};

TEST_F(ChartOutput, PrintedToPdfAndExportedAsImages) {
  TDrawView* v = open(day, "Chart of TEST Test Corp");
  ASSERT_NE(v, nullptr);
  v->grab();
  // Print through QPrinter into a PDF file: one page, the document's title.
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(dir.file("chart.pdf")));
  ASSERT_TRUE(v->printTo(printer));
  const std::string pdf = fileBytes(dir.file("chart.pdf"));
  ASSERT_EQ(pdf.rfind("%PDF-", 0), 0u);
  EXPECT_EQ(count(pdf, "/Type /Page\n") + count(pdf, "/Type /Page ") + count(pdf, "/Type /Page/"), 1);
  std::string utf16 = "\xfe\xff";
  for (char c : std::string("Chart of TEST Test Corp")) utf16 += std::string(1, '\0') + c;
  EXPECT_NE(pdf.find(utf16), std::string::npos);

  struct Case {
    std::string file;
    QSize size;
    bool ok;
  } cases[] = {{"out.png", QSize(1600, 1000), true}, {"out.pdf", QSize(800, 500), true},
               {"out.png", QSize(0, 10), false}, {"nodir/out.png", QSize(100, 100), false}};
  for (const Case& c : cases) {
    std::string why;
    EXPECT_EQ(v->exportImage(dir.file(c.file), c.size, &why), c.ok) << c.file << " " << why;
    if (!c.ok) {
      EXPECT_FALSE(why.empty());
      continue;
    }
    if (c.file.ends_with(".png")) {
      const QImage img(QString::fromStdString(dir.file(c.file)));
      EXPECT_EQ(img.size(), c.size);
      int drawn = 0;
      for (int y = 0; y < img.height(); y += 4)
        for (int x = 0; x < img.width(); x += 4) drawn += img.pixelColor(x, y) != QColor(0, 0, 0);
      EXPECT_GT(drawn, 1000);
    } else {
      EXPECT_EQ(fileBytes(dir.file(c.file)).rfind("%PDF-", 0), 0u);
    }
  }
}

}  // namespace
}  // namespace quova
