// The command line a user types: the options answered without a run (they leave quova.log
// as it is), --render-chart, and the demo script's whole run.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QColor>
#include <QImage>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

struct Result {
  int status = -1;
  std::string out, err;
};

// Runs a shell command in dir with no display and no QUOVA; its status and output.
Result shell(const quova::test::TempDir& dir, const std::string& command) {
  std::string cmd = "cd '" + dir.path() + "' && env -u QUOVA -u DISPLAY -u WAYLAND_DISPLAY " + command +
                    " >'" + dir.file(".out") + "' 2>'" + dir.file(".err") + "'";
  int rc = std::system(cmd.c_str());
  Result r;
  r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  r.out = readFile(dir.file(".out"));
  r.err = readFile(dir.file(".err"));
  return r;
}

std::string quova(const std::string& args) { return std::string(QUOVA_BINARY) + " " + args; }

TEST(CommandLine, OptionsAnsweredWithoutARunLeaveTheLogAlone) {
  struct Case {
    const char* args;
    int status;
    const char* out;  // found on standard output
    const char* err;  // found on standard error
  } cases[] = {
      {"--help", 0, "usage: ", ""},
      {"-h", 0, "--render-chart FILE.day OUT.png", ""},
      {"--version", 0, "quova 1.2r\n", ""},
      {"--frobnicate", 2, "", "unknown option --frobnicate\nusage: "},
      {"/download --quiet", 2, "", "unknown option --quiet"},
      {"--render-chart only-one-file", 2, "", "usage: "},
      {"--render-chart a.day b.png --size 10x10", 2, "", "usage: "},
  };
  quova::test::TempDir dir;
  std::ofstream(dir.file("quova.log")) << "the log of another root";
  for (const Case& c : cases) {
    Result r = shell(dir, quova(c.args));
    EXPECT_EQ(r.status, c.status) << c.args;
    EXPECT_NE(r.out.find(c.out), std::string::npos) << c.args << ": " << r.out;
    EXPECT_NE(r.err.find(c.err), std::string::npos) << c.args << ": " << r.err;
    if (c.status != 0) {
      EXPECT_EQ(r.out, "") << c.args;
    }
  }
  EXPECT_EQ(readFile(dir.file("quova.log")), "the log of another root");
  EXPECT_FALSE(fs::exists(dir.file("quova.ini")));
}

TEST(CommandLine, RenderChartDrawsAQuoteFileAndReportsAMissingOne) {
  quova::test::TempDir dir;
  fs::copy_file(std::string(QUOVA_SOURCE_DIR) + "/demo/quotes.day/KLMX.day", dir.file("KLMX.day"));
  Result r = shell(dir, quova("--render-chart KLMX.day k.png --size 640x400"));
  ASSERT_EQ(r.status, 0) << r.err;
  QImage image(QString::fromStdString(dir.file("k.png")));
  ASSERT_EQ(image.size(), QSize(640, 400));
  // Bars, curves and labels on the background: many pixels are not its colour.
  const QRgb background = image.pixel(image.width() - 1, image.height() / 2);
  int drawn = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) drawn += image.pixel(x, y) != background;
  EXPECT_GT(drawn, 5000);
  EXPECT_FALSE(fs::exists(dir.file("quova.log")));
  EXPECT_FALSE(fs::exists(dir.file("config")));  // no settings file left behind

  r = shell(dir, quova("--render-chart NONE.day n.png"));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Unable to open file -- "), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(dir.file("n.png")));
}

// make demo without a display, on a build folder of its own: the forced download from the
// page server, the summary, the PNGs; the server is gone afterwards.
TEST(CommandLine, DemoRunsTheDailyDownloadAndRendersTheCharts) {
  quova::test::TempDir build;
  fs::create_symlink(QUOVA_BINARY, build.file("quova"));
  Result r = shell(build, "bash " + std::string(QUOVA_SOURCE_DIR) + "/scripts/run-demo '" + build.path() + "'");
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  for (const char* line : {"  watch.qtl: 2 new quotes\n    + quotes.day/KLMX.day: ",
                           "\n    + quotes.day/BRVN.day: ", "  funds.qtl: 2 new quotes\n",
                           "\n    + quotes.day/funds/funds_QFBDX.day: "})
    EXPECT_NE(r.out.find(line), std::string::npos) << line << "\n" << r.out;
  EXPECT_NE(r.out.find("quova: daily download done: 2 lists done, 0 failed, 4 new quotes"), std::string::npos)
      << r.out;
  for (const char* stock : {"KLMX", "BRVN"}) {
    const std::string png = build.file("demo-root/charts/") + stock + ".png";
    EXPECT_NE(r.out.find("run-demo: chart " + png), std::string::npos) << r.out;
    EXPECT_EQ(QImage(QString::fromStdString(png)).size(), QSize(1000, 700)) << png;
  }
  // The page server it started is gone: its port takes no connection.
  const std::size_t at = r.out.find("on port ");
  ASSERT_NE(at, std::string::npos);
  const std::string port = std::to_string(std::stoi(r.out.substr(at + 8)));
  EXPECT_NE(std::system(("bash -c 'exec 3<>/dev/tcp/127.0.0.1/" + port + "' 2>/dev/null").c_str()), 0);
}

}  // namespace
