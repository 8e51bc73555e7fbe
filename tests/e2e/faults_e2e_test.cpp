// The unattended daily run under faults: killed at a random moment, a full disk at each of
// its writes in turn, and many days in a row. Counts come from the environment so the same
// drivers run briefly in the test suite and at length by hand:
//   QUOVA_KILLS (20), QUOVA_TERMS (5), QUOVA_KILL_SEED, QUOVA_FAULT_ALL (every write, not
//   one of each kind), QUOVA_DAYS (5).
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <regex>
#include <set>

#include "e2e/fault_root.h"

namespace {

using namespace quova::test;

int envCount(const char* name, int fallback) {
  const char* v = std::getenv(name);
  return v && *v ? std::atoi(v) : fallback;
}

std::string joined(const std::vector<std::string>& v) {
  std::string s;
  for (const auto& x : v) s += "\n  " + x;
  return s;
}

// Leftover work files of a run, by their kind (the name with symbols and list numbers as *).
std::map<std::string, int> leftovers(const std::map<std::string, std::string>& files) {
  static const std::regex work(R"(\.(tmp~|tmp|upd|qft|ppl|parsed|bak)$)");
  std::map<std::string, int> kinds;
  for (const auto& [name, content] : files)
    if (std::regex_search(name, work)) ++kinds[std::regex_replace(name, std::regex("L[0-9]+|[A-Z]{2}X"), "*")];
  return kinds;
}

// Kills at random moments of daily runs, one trading day after the other: after each kill the
// root is whole, the lock is free, and the next run completes the day.
void killedRuns(int kills, int signal, unsigned seed) {
  FaultRoot r(20, 10);
  std::mt19937 random(seed);
  RunEnd full = r.daily(tradingDay(0));
  ASSERT_EQ(full.status, 0) << r.log();
  ASSERT_EQ(joined(dayIncomplete(r, tradingDay(0))), "");
  // Kills fall within the length of the last whole run, which follows the machine's load.
  int spanMs = static_cast<int>(full.seconds * 1000);
  int hit = 0;
  std::map<std::string, int> left;
  for (int i = 1; i <= kills; ++i) {
    const TradingDay day = tradingDay(i);
    auto before = r.snapshot();
    RunOptions o;
    o.killSignal = signal;
    o.killAfterMs = std::uniform_int_distribution<int>(0, spanMs)(random);
    RunEnd cut = r.daily(day, o);
    hit += cut.killed;
    auto after = r.snapshot();
    for (const auto& [kind, n] : leftovers(after)) left[kind] += n;
    for (const auto& [kind, n] : leftovers(before)) left[kind] -= n;
    ASSERT_EQ(joined(damage(before, after)), "") << "kill " << i << " at " << o.killAfterMs << " ms";
    ASSERT_TRUE(r.lockFree()) << "kill " << i;
    RunEnd next = r.daily(day);
    ASSERT_EQ(next.status, 0) << "after kill " << i;
    spanMs = static_cast<int>(next.seconds * 1000);
    ASSERT_EQ(joined(dayIncomplete(r, day)), "") << "after kill " << i << " at " << o.killAfterMs << " ms";
    EXPECT_EQ(r.log().find("Maximum attempts"), std::string::npos) << "after kill " << i;
    for (const auto& [kind, n] : leftovers(r.snapshot()))
      EXPECT_EQ(kind.find(".tmp~"), std::string::npos) << kind << " left after a whole run";
  }
  std::printf("[ figures  ] signal %d: %d runs, %d hit a running program (last run %d ms), seed %u\n", signal,
              kills, hit, spanMs, seed);
  for (const auto& [kind, n] : left)
    if (n > 0) std::printf("[ figures  ]   new work files after a kill: %s x%d\n", kind.c_str(), n);
  EXPECT_GT(hit, kills / 3);  // the kills meet running programs, not ended ones
}

unsigned seed() {
  static const unsigned s = static_cast<unsigned>(envCount("QUOVA_KILL_SEED", static_cast<int>(std::time(nullptr))));
  return s;
}

TEST(Faults, KilledAtAnyMomentTheRootStaysWholeAndTheNextRunCompletes) {
  killedRuns(envCount("QUOVA_KILLS", 20), SIGKILL, seed());
}

TEST(Faults, TerminatedAtAnyMomentTheRootStaysWholeAndTheNextRunCompletes) {
  killedRuns(envCount("QUOVA_TERMS", 5), SIGTERM, seed() + 1);
}

// Each write of a daily run in turn meets a full disk (the first of each kind, or every one
// with QUOVA_FAULT_ALL): the run ends by itself, the failure is logged, no file loses what it
// held, a quote file whose append failed keeps its stamp, and the next run completes the day.
TEST(Faults, AFullDiskAtEachWriteOfADailyRun) {
  FaultRoot r(2, 3);
  ASSERT_EQ(r.daily(tradingDay(0)).status, 0);
  TempDir work;  // the root as it was before the day, and the shim's trace
  const std::string saved = work.path() + "/root";
  r.saveTo(saved);
  const TradingDay day = tradingDay(1);

  const std::string trace = work.path() + "/trace";
  RunOptions traced;
  traced.env = {{"LD_PRELOAD", QUOVA_FAULT_SHIM}, {"QUOVA_FAULT_ROOT", r.path() + "/"},
                {"QUOVA_FAULT_TRACE", trace}};
  ASSERT_EQ(r.daily(day, traced).status, 0);
  std::vector<std::pair<int, std::string>> writes;
  std::ifstream in(trace);
  for (std::string n, path; in >> n && std::getline(in, path);) writes.push_back({std::stoi(n), path.substr(1)});
  std::remove(trace.c_str());
  ASSERT_GT(writes.size(), 10u);

  const bool all = envCount("QUOVA_FAULT_ALL", 0) != 0;
  std::set<std::string> kinds;
  std::map<std::string, int> failedPerKind;
  for (const auto& [n, path] : writes) {
    std::string rel = path.substr(r.path().size() + 1);
    std::string kind = std::regex_replace(rel, std::regex("L[0-9]+|[A-Z]{2}X"), "*");
    // The log is opened for every line it gets: one of its writes stands for all.
    if (!kinds.insert(kind).second && (!all || kind == "quova.log")) continue;
    if (kind == "download.lck") continue;  // opened to be locked, never written
    r.restoreFrom(saved);
    auto before = r.snapshot();
    struct stat was {};
    ::stat(path.c_str(), &was);
    RunOptions o = traced;
    o.env = {{"LD_PRELOAD", QUOVA_FAULT_SHIM}, {"QUOVA_FAULT_ROOT", r.path() + "/"},
             {"QUOVA_FAULT_AT", std::to_string(n)}, {"QUOVA_FAULT_BYTES", "7"}, {"QUOVA_FAULT_TRACE", trace}};
    RunEnd end = r.daily(day, o);
    const bool refused = slurp(trace).find("\nrefused\n") != std::string::npos;
    std::remove(trace.c_str());
    // 1 when a list lost its quote to the full disk; never a crash or a start-up failure.
    ASSERT_TRUE(end.status == 0 || end.status == 1) << rel << ": " << end.status;
    ASSERT_EQ(joined(damage(before, r.snapshot())), "") << "write " << n << ": " << rel;
    const std::string name = fs::path(rel).filename().string();
    if (rel.find("quotes.day/") == 0 && before.count(rel)) {
      struct stat now {};
      ::stat(path.c_str(), &now);
      EXPECT_EQ(slurp(path), before[rel]) << rel;
      EXPECT_EQ(now.st_mtime, was.st_mtime) << rel << ": the stamp moved";
    }
    // The report names the file (a replacement by the file it replaces).
    std::string named = std::regex_replace(name, std::regex("\\.tmp~$"), "");
    if (refused && named != "quova.log")
      EXPECT_NE(r.log().find(named), std::string::npos) << "write " << n << " (" << rel << ") failed unreported\n" << r.log();
    failedPerKind[kind] += refused;
    const std::string faultLog = r.log();
    ASSERT_EQ(r.daily(day).status, 0);
    // A list whose rewrite failed keeps its old lines until the next download: its quotes
    // are in their files, so the day is done.
    const bool listRewritten = !std::regex_search(kind, std::regex(R"(\.(qtl|qft)\.tmp~$)"));
    ASSERT_EQ(joined(dayIncomplete(r, day, listRewritten)), "") << "after a full disk at " << rel << "\n" << faultLog << "\n----\n" << r.log();
  }
  std::printf("[ figures  ] %zu writes in a daily run of 2 lists x 3 symbols\n", writes.size());
  for (const auto& [kind, n] : failedPerKind) std::printf("[ figures  ]   failed %s x%d\n", kind.c_str(), n);
}

// Trading days in a row: each run completes its day, the files hold one record a day in
// date order, the log has no error line, and time and memory per run stay flat.
TEST(Faults, DailyRunsDayAfterDay) {
  const int days = envCount("QUOVA_DAYS", 5);
  FaultRoot r(envCount("QUOVA_LISTS", 20), 10);
  std::vector<RunEnd> runs;
  for (int d = 0; d < days; ++d) {
    RunEnd e = r.daily(tradingDay(d));
    ASSERT_EQ(e.status, 0) << "day " << d;
    std::string log = r.log();
    for (const char* bad : {"ERROR", "Error", "Cannot", "could not", "Maximum attempts"})
      ASSERT_EQ(log.find(bad), std::string::npos) << "day " << d << ": " << bad;
    runs.push_back(e);
    if (days > 5) std::printf("[ day      ] %d: %.2f s, peak RSS %ld KiB\n", d, e.seconds, e.maxRssKb);
  }
  ASSERT_EQ(joined(dayIncomplete(r, tradingDay(days - 1))), "");
  for (const std::string& sym : r.symbols()) {
    std::istringstream f(slurp(r.file("quotes.day/" + sym + ".day")));
    std::vector<std::string> dates;
    for (std::string line; std::getline(f, line);)
      if (line.size() > 10 && line[2] == '/') dates.push_back(line.substr(6, 4) + line.substr(0, 5));
    ASSERT_EQ(dates.size(), static_cast<std::size_t>(days)) << sym;
    ASSERT_TRUE(std::is_sorted(dates.begin(), dates.end())) << sym;
    ASSERT_EQ(std::adjacent_find(dates.begin(), dates.end()), dates.end()) << sym;
  }
  auto figures = [&](const char* which, std::size_t from, std::size_t to) {
    double t = 0;
    long rss = 0;
    for (std::size_t i = from; i < to; ++i) {
      t += runs[i].seconds;
      rss = std::max(rss, runs[i].maxRssKb);
    }
    std::printf("[ figures  ] %s %zu days: %.2f s a run, peak RSS %ld KiB\n", which, to - from, t / (to - from), rss);
  };
  const std::size_t ten = std::min<std::size_t>(10, runs.size());
  figures("first", 0, ten);
  figures("last", runs.size() - ten, runs.size());
}

}  // namespace
