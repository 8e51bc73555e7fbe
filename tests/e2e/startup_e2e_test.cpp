// Whole runs of the program on a fresh root: a normal start closed by SIGTERM, a
// "/download" with no download due, and a start without quova.ini.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <utime.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_dir.h"

namespace {

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

pid_t start(const std::string& root, std::vector<std::string> args) {
  pid_t pid = fork();
  if (pid == 0) {
    if (chdir(root.c_str()) != 0) _exit(120);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    unsetenv("QUOVA");
    args.insert(args.begin(), QUOVA_BINARY);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(QUOVA_BINARY, argv.data());
    _exit(121);
  }
  return pid;
}

int finish(pid_t pid) {
  int status = 0;
  for (int i = 0; i < 300; ++i) {
    if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  kill(pid, SIGKILL);
  waitpid(pid, &status, 0);
  return -2;
}

void initRoot(const std::string& dir) {
  std::string cmd = std::string(QUOVA_BINARY) + " --init-root '" + dir + "' >/dev/null";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
}

// Gives a file an old time stamp, so a rewrite shows.
void age(const std::string& path) {
  utimbuf t{978350400, 978350400};  // 01/01/2001
  ASSERT_EQ(utime(path.c_str(), &t), 0) << path;
}
bool rewritten(const std::string& path) {
  struct stat st{};
  return stat(path.c_str(), &st) == 0 && st.st_mtime > 978350400;
}
off_t sizeOf(const std::string& path) {
  struct stat st{};
  return stat(path.c_str(), &st) == 0 ? st.st_size : -1;
}

void waitForLog(const std::string& root, const std::string& text) {
  for (int i = 0; i < 200 && readFile(root + "/quova.log").find(text) == std::string::npos; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

bool endsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

TEST(StartupRun, SigtermClosesNormallyAndSavesEverything) {
  quova::test::TempDir root;
  initRoot(root.path());
  for (const char* f : {"quova.ini", "User.dat", "quova.cfg"}) age(root.file(f));
  pid_t pid = start(root.path(), {});
  // Wait for the first paint, then ask for a close.
  for (int i = 0; i < 200 && readFile(root.file("quova.log")).find("Restore complete.") == std::string::npos; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  kill(pid, SIGTERM);
  EXPECT_EQ(finish(pid), 0);
  std::string log = readFile(root.file("quova.log"));
  EXPECT_EQ(log.rfind("\nQUOVA  starting...", 0), 0u);
  const char* order[] = {"\nStarting TMyApp().Run()...", "\nInitMainWindow() entered.", "\nQVMAIN Constructor Entered.",
                         "\nQVMAIN Constructor complete.", "\nInitMainWindow() completed.",
                         "\nPaint Initialization section entered...", "\nRestoring previously opened windows...",
                         "\nQUOVA Closing...", "\nQVMAIN Destructor Entered.", "\nNormal Exit."};
  std::size_t at = 0;
  for (const char* line : order) {
    std::size_t p = log.find(line, at);
    EXPECT_NE(p, std::string::npos) << line;
    if (p != std::string::npos) at = p;
  }
  EXPECT_TRUE(endsWith(log, "\nNormal Exit."));
  EXPECT_EQ(access(root.file("quova.win").c_str(), F_OK), 0);
  for (const char* f : {"quova.ini", "User.dat", "quova.cfg"}) EXPECT_TRUE(rewritten(root.file(f))) << f;
  EXPECT_EQ(sizeOf(root.file("quova.ini")), 576);
  EXPECT_EQ(sizeOf(root.file("User.dat")), 543);
  EXPECT_EQ(sizeOf(root.file("quova.cfg")), 24);
}

TEST(StartupRun, MissingFrameConfigWarnsClosesAndWritesAFreshOne) {
  quova::test::TempDir root;
  initRoot(root.path());
  ASSERT_EQ(unlink(root.file("quova.cfg").c_str()), 0);
  pid_t pid = start(root.path(), {});
  EXPECT_EQ(finish(pid), 0);
  std::string log = readFile(root.file("quova.log"));
  EXPECT_NE(log.find("quova.cfg could not be opened for reading."), std::string::npos) << log;
  EXPECT_NE(log.find("\n\nMessageBox:\nCannot find configuration file -- quova.cfg\n"), std::string::npos);
  EXPECT_NE(log.find("\nQUOVA will (must) close.\n\nCaption:\nQUOVA main window WARNING\n"), std::string::npos);
  EXPECT_TRUE(endsWith(log, "\nNormal Exit."));
  // The frame's close saved its settings, so the next start finds them.
  EXPECT_EQ(sizeOf(root.file("quova.cfg")), 24);
}

TEST(StartupRun, ALongFilePathOpensWholeAndIsRestoredNextTime) {
  quova::test::TempDir root;
  initRoot(root.path());
  const std::string folder = root.file(std::string(90, 'n'));
  ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
  const std::string file = folder + "/notes.txt";
  std::ofstream(file) << "Watch list notes\n";
  pid_t pid = start(root.path(), {file});
  waitForLog(root.path(), "Creating View for");
  kill(pid, SIGTERM);
  EXPECT_EQ(finish(pid), 0);
  std::string log = readFile(root.file("quova.log"));
  EXPECT_NE(log.find("\nMainConwd SERVICE_DROPPED_FILE"), std::string::npos);
  EXPECT_NE(log.find("\nCreating View for -- " + file), std::string::npos) << log;
  // Below the working directory: the path is kept relative, the title is the full path.
  const std::string rel = std::string(90, 'n') + "/notes.txt";
  EXPECT_EQ(readFile(root.file("quova.win")), rel + "\n" + file + "\n");
  ASSERT_EQ(unlink(root.file("quova.log").c_str()), 0);  // so the wait sees the second run's log
  pid = start(root.path(), {});
  waitForLog(root.path(), "Restore complete.");
  kill(pid, SIGTERM);
  EXPECT_EQ(finish(pid), 0);
  EXPECT_NE(readFile(root.file("quova.log")).find("\nCreating View for -- " + rel), std::string::npos);
  EXPECT_EQ(readFile(root.file("quova.win")), rel + "\n" + file + "\n");
}

TEST(StartupRun, DownloadNotDueOpensNoWindow) {
  quova::test::TempDir root;
  initRoot(root.path());
  // A marker of today: whatever the weekday or hour, no download is due.
  std::ofstream(root.file("daily.dld")) << "page";
  pid_t pid = start(root.path(), {"/download"});
  EXPECT_EQ(finish(pid), 0);
  std::string log = readFile(root.file("quova.log"));
  EXPECT_NE(log.find("\nDownload Not Needed.\nquova.ini successfully updated."), std::string::npos) << log;
  EXPECT_TRUE(endsWith(log, "\nNormal Exit.")) << log;
  EXPECT_EQ(log.find("Starting TMyApp"), std::string::npos);
}

TEST(StartupRun, MissingIniExitsWith255AndWritesNothing) {
  quova::test::TempDir root;
  pid_t pid = start(root.path(), {});
  EXPECT_EQ(finish(pid), 255);
  std::string log = readFile(root.file("quova.log"));
  EXPECT_NE(log.find("QUOVA main window WARNING"), std::string::npos);
  EXPECT_TRUE(endsWith(log, "\nNormal Exit."));
  EXPECT_NE(access(root.file("quova.ini").c_str(), F_OK), 0);
  EXPECT_NE(access(root.file("User.dat").c_str(), F_OK), 0);
  // A log already there (another root's run) is not emptied by a start that finds no root.
  std::ofstream(root.file("quova.log"), std::ios::trunc) << "another root's run";
  EXPECT_EQ(finish(start(root.path(), {})), 255);
  EXPECT_EQ(readFile(root.file("quova.log")), "another root's run");
}

}  // namespace

namespace {

TEST(StartupRun, CloseDuringTheDelayIsRefusedThenDoneWhenTheWaitEnds) {
  quova::test::TempDir root;
  initRoot(root.path());
  pid_t pid = start(root.path(), {"/update", "/wait", "30"});
  for (int i = 0; i < 200 && readFile(root.file("quova.log")).find("sec initiated.") == std::string::npos; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  kill(pid, SIGTERM);
  EXPECT_EQ(finish(pid), 0);  // long before the 30 seconds
  std::string log = readFile(root.file("quova.log"));
  std::size_t first = log.find("\nQUOVA Closing...");
  ASSERT_NE(first, std::string::npos);
  EXPECT_NE(log.find("\nQUOVA Closing...", first + 1), std::string::npos);  // refused once while waiting
  EXPECT_TRUE(endsWith(log, "\nNormal Exit."));
}

}  // namespace

namespace {

TEST(StartupRun, FirstStartWithoutUserFileAnswersItselfWhenUnattended) {
  quova::test::TempDir root;
  initRoot(root.path());
  ASSERT_EQ(unlink(root.file("User.dat").c_str()), 0);
  std::ofstream(root.file("daily.dld")) << "page";  // no download due: no window either
  pid_t pid = start(root.path(), {"/download", "/QuitAfterDownload"});
  EXPECT_EQ(finish(pid), 0);
  std::string log = readFile(root.file("quova.log"));
  const char* order[] = {"NOT found...this is normal for 1st installation.",
                         "\nQUOVA Installation Message\n",
                         "\nDialog -- QUOVA Global Setup Parameters accepted with its current values.",
                         "\nDialog -- QUOVA External Program Reference Pathnames Setup Window accepted with its current values.",
                         "\nGetUserFile() exited unsuccessful", "\nDownload Not Needed.", "\nNormal Exit."};
  std::size_t at = 0;
  for (const char* line : order) {
    std::size_t p = log.find(line, at);
    EXPECT_NE(p, std::string::npos) << line << "\n" << log;
    if (p != std::string::npos) at = p;
  }
  EXPECT_EQ(readFile(root.file("User.dat")).size(), 543u);
}

}  // namespace
