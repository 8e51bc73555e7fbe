// A root for the fault drivers: lists of generated symbols that the loopback page server
// quotes every day, runs of build/quova on it at a given day (under libfaketime, with the
// write-fault shim when asked), interrupted runs, and the checks that every file of the
// root is whole after whatever happened to a run.
#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "quotes/quote_data.h"
#include "quotes/quote_format.h"
#include "quotes/quote_line.h"
#include "support/page_server.h"
#include "support/temp_dir.h"

namespace quova::test {

namespace fs = std::filesystem;

inline std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void spill(const std::string& path, const std::string& text) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

inline std::size_t occurrences(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// The n-th weekday from Monday 5 January 2026 (n = 0), as "yyyy-mm-dd" and "mm/dd/yyyy".
struct TradingDay {
  std::string iso, us;
};
inline TradingDay tradingDay(int n) {
  using namespace std::chrono;
  sys_days d = sys_days(year(2026) / January / 5) + days(n / 5 * 7 + n % 5);
  year_month_day ymd(d);
  char iso[16], us[16];
  std::snprintf(iso, sizeof iso, "%04d-%02u-%02u", int(ymd.year()), unsigned(ymd.month()), unsigned(ymd.day()));
  std::snprintf(us, sizeof us, "%02u/%02u/%04d", unsigned(ymd.month()), unsigned(ymd.day()), int(ymd.year()));
  return {iso, us};
}

// How one run of the program ended.
struct RunEnd {
  int status = 0;        // exit status; -1 killed by a signal, -2 still running at the limit
  bool killed = false;   // the driver's signal reached a running program
  double seconds = 0;    // wall time
  long maxRssKb = 0;     // peak resident size of the program
};

struct RunOptions {
  int killAfterMs = -1;  // send killSignal after this long (-1: let it end)
  int killSignal = SIGKILL;
  std::vector<std::pair<std::string, std::string>> env;  // extra variables (LD_PRELOAD is joined)
  int limitSeconds = 300;
};

class FaultRoot {
 public:
  // lists lists of symbols symbols each, all in daily.dcf, quoted by the page server.
  FaultRoot(int lists, int symbols) {
    std::string cmd = std::string(QUOVA_BINARY) + " --init-root '" + dir_.path() + "' >/dev/null";
    EXPECT_EQ(std::system(cmd.c_str()), 0);
    std::string qcf = slurp(std::string(QUOVA_SOURCE_DIR) + "/tests/download/data/table.qcf");
    qcf.replace(qcf.find("http://quotes.example/"), 22,
                "http://127.0.0.1:" + std::to_string(server_.port()) + "/");
    // One page quotes every symbol, whatever subset a run asks for (the rows of symbols
    // a request does not name are passed over).
    std::string dcf, page = "<html><body><table>\n<tr><th>Symbol</th><th>Name</th><th>Last Trade</th>"
                            "<th>Volume</th><th>Time</th></tr>\n";
    for (int l = 0; l < lists; ++l) {
      std::string name = "L" + std::to_string(l);
      std::string qtl = "SYMBOL  FILE  NAME\n";
      for (int s = 0; s < symbols; ++s) {
        std::string sym = std::string(1, char('A' + l)) + std::string(1, char('A' + s)) + "X";
        symbols_.push_back(sym);
        qtl += sym + "  *  Company " + sym + "\n";
        page += "<tr><td>" + sym + "</td><td>Company " + sym + "</td><td>" + std::to_string(10 + s) +
                ".25</td><td>" + std::to_string(1000 * (l + 1)) + "</td><td>4:00</td></tr>\n";
      }
      spill(file("QuoteList Configuration Files/" + name + ".qcf"), qcf);
      spill(file(name + ".qtl"), qtl);
      lists_.push_back(name + ".qtl");
      dcf += name + ".qtl\n";
    }
    server_.notFoundBody = page + "</table></body></html>\n";
    spill(file("daily.dcf"), dcf);
  }

  std::string file(const std::string& name) const { return dir_.file(name); }
  const std::string& path() const { return dir_.path(); }
  const std::vector<std::string>& symbols() const { return symbols_; }
  const std::vector<std::string>& lists() const { return lists_; }
  PageServer& server() { return server_; }
  std::string log() const { return slurp(file("quova.log")); }

  // The unattended daily run at 17:30 of the day.
  RunEnd daily(const TradingDay& day, const RunOptions& o = {}) {
    return run({"/download", "/QuitAfterDownload"}, day.iso + " 17:30:00", o);
  }

  RunEnd run(const std::vector<std::string>& args, const std::string& when, const RunOptions& o) {
    auto start = std::chrono::steady_clock::now();
    pid_t pid = fork();
    if (pid == 0) {
      if (chdir(dir_.path().c_str()) != 0) _exit(120);
      setenv("QT_QPA_PLATFORM", "offscreen", 1);
      unsetenv("QUOVA");
      // The program's clock runs forty times as fast (QUOVA_CLOCK_RATE), its waits as short: the
      // 4 s a list window stays open after its last page would make long drivers too slow.
      const char* rate = std::getenv("QUOVA_CLOCK_RATE");
      setenv("FAKETIME", ("@" + when + " x" + (rate ? rate : "40")).c_str(), 1);
      setenv("NO_FAKE_STAT", "1", 1);  // file stamps stay as written
      std::string preload = "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1";
      for (const auto& [k, v] : o.env)
        if (k == "LD_PRELOAD") preload += ":" + v;
        else setenv(k.c_str(), v.c_str(), 1);
      setenv("LD_PRELOAD", preload.c_str(), 1);
      std::vector<std::string> all{QUOVA_BINARY};
      all.insert(all.end(), args.begin(), args.end());
      std::vector<char*> argv;
      for (auto& a : all) argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(argv[0], argv.data());
      _exit(121);
    }
    RunEnd end;
    int status = 0;
    rusage use{};
    auto limit = start + std::chrono::seconds(o.limitSeconds);
    auto killAt = start + std::chrono::milliseconds(o.killAfterMs);
    bool done = false;
    while (!done && std::chrono::steady_clock::now() < limit) {
      if (wait4(pid, &status, WNOHANG, &use) == pid) {
        done = true;
        break;
      }
      if (o.killAfterMs >= 0 && !end.killed && std::chrono::steady_clock::now() >= killAt) {
        end.killed = ::kill(pid, o.killSignal) == 0;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (!done) {
      ::kill(pid, SIGKILL);
      wait4(pid, &status, 0, &use);
      end.status = -2;
    } else {
      end.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    end.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    end.maxRssKb = use.ru_maxrss;
    return end;
  }

  // Every regular file of the root by its path below it, with its content.
  std::map<std::string, std::string> snapshot() const {
    std::map<std::string, std::string> s;
    for (const auto& e : fs::recursive_directory_iterator(dir_.path()))
      if (e.is_regular_file()) s[fs::relative(e.path(), dir_.path()).string()] = slurp(e.path().string());
    return s;
  }

  // The root's files copied to a folder with their stamps, and put back from it.
  void saveTo(const std::string& folder) const {
    EXPECT_EQ(std::system(("rm -rf '" + folder + "' && cp -a '" + dir_.path() + "' '" + folder + "'").c_str()), 0);
  }
  void restoreFrom(const std::string& folder) const {
    EXPECT_EQ(std::system(("find '" + dir_.path() + "' -mindepth 1 -delete && cp -a '" + folder + "/.' '" +
                           dir_.path() + "'").c_str()),
              0);
  }

  // The download lock can be taken: nobody holds it.
  bool lockFree() const {
    int fd = ::open(file("download.lck").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return free;
  }

 private:
  TempDir dir_;
  PageServer server_;
  std::vector<std::string> symbols_;
  std::vector<std::string> lists_;
};

// The exact sizes of the binary settings files, by the end of their names.
inline long expectedSize(const std::string& name) {
  static const std::vector<std::pair<std::string, long>> sizes = {
      {"quova.ini", 576}, {"User.dat", 543}, {"quova.cfg", 24}, {"OutputWindow.cfg", 18},
      {"quotlist.cfg", 18}, {".fmt", 3994}};
  for (const auto& [end, size] : sizes)
    if (name.size() >= end.size() && name.compare(name.size() - end.size(), end.size(), end) == 0) return size;
  return -1;
}

// What is wrong with the root after a run that may have been cut short, against its files
// before the run: a .day file must still begin with all it held and hold only whole records
// after it; a list is its old content or a whole new one (the same requests, line for line);
// the settings files have their sizes. Empty when all is well.
inline std::vector<std::string> damage(const std::map<std::string, std::string>& before,
                                       const std::map<std::string, std::string>& after) {
  std::vector<std::string> found;
  const OFtype fmt = DefaultFormat();
  for (const auto& [name, now] : after) {
    auto old = before.find(name);
    const std::string was = old == before.end() ? std::string() : old->second;
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".day") == 0 && name.rfind("quotes.day/", 0) == 0) {
      if (now.compare(0, was.size(), was) != 0) {
        found.push_back(name + ": lost what it held");
        continue;
      }
      if (!now.empty() && now.back() != '\n') found.push_back(name + ": ends in half a line");
      std::istringstream added(now.substr(was.size()));
      for (std::string line; std::getline(added, line);) {
        quotetype q;
        if (line.find_first_of("0123456789") == 0 && ParseQuote(line.c_str(), &q, fmt) != 0)
          found.push_back(name + ": bad record \"" + line + "\"");
      }
    } else if (name.size() > 4 && name.compare(name.size() - 4, 4, ".qtl") == 0 && old != before.end() &&
               now != was) {
      std::istringstream a(was), b(now);
      std::string la, lb;
      while (std::getline(a, la)) {
        if (!std::getline(b, lb) || lb.substr(0, lb.find("  ")) != la.substr(0, la.find("  "))) {
          found.push_back(name + ": neither its old nor a whole new list");
          break;
        }
      }
      if (now.empty() || now.back() != '\n') found.push_back(name + ": ends in half a line");
    } else if (long size = expectedSize(name); size >= 0 && static_cast<long>(now.size()) != size) {
      found.push_back(name + ": " + std::to_string(now.size()) + " bytes");
    }
  }
  for (const auto& [name, was] : before)
    if (!after.count(name) && (name.find(".day") != std::string::npos || expectedSize(name) >= 0 ||
                               name.find(".qtl") != std::string::npos))
      found.push_back(name + ": gone");
  return found;
}

// What is missing after a run that should have completed the day: every symbol's file
// holds exactly one record of the day, every list shows the day (unless lists is false).
inline std::vector<std::string> dayIncomplete(const FaultRoot& r, const TradingDay& day, bool lists = true) {
  std::vector<std::string> found;
  for (const std::string& sym : r.symbols()) {
    std::string f = slurp(r.file("quotes.day/" + sym + ".day"));
    std::size_t n = occurrences(f, "\n" + day.us);
    if (n != 1) found.push_back(sym + ".day: " + std::to_string(n) + " records of " + day.us);
  }
  for (const std::string& list : r.lists()) {
    if (!lists) break;
    std::string l = slurp(r.file(list));
    if (occurrences(l, day.us) + 1 != static_cast<std::size_t>(occurrences(l, "\n")))
      found.push_back(list + ": not every request shows " + day.us + "\n" + l);
  }
  return found;
}

}  // namespace quova::test
