// The repair of a checked quote file: merge, one line per date, date order, and the text
// of each step for the report.
#include "repair/quote_repair.h"

#include <algorithm>

#include "util/dates.h"

namespace quova::repair {

namespace {

std::string dateText(int day) { return charDate(static_cast<float>(day), DATE_FMT_US, 4); }

std::string where(const Record& r) {
  return (r.imported ? "import row " : "line ") + std::to_string(r.line);
}

std::string rtrim(const std::string& s) {
  std::size_t n = s.size();
  while (n > 0 && (s[n - 1] == ' ' || s[n - 1] == '\t')) --n;
  return s.substr(0, n);
}

// The repairs of the problems found; a problem of a record that stays is left for a person.
void describeProblems(const Scan& scan, const std::vector<const Record*>& kept, RepairPlan& p) {
  std::vector<bool> keptFile(static_cast<std::size_t>(scan.lines) + 2), keptImported;
  for (const Record* r : kept) {
    auto& flags = r->imported ? keptImported : keptFile;
    if (flags.size() <= static_cast<std::size_t>(r->line)) flags.resize(static_cast<std::size_t>(r->line) + 1);
    flags[static_cast<std::size_t>(r->line)] = true;
  }
  for (const Finding& f : scan.findings) {
    const std::string at = (f.imported ? "import row " : "line ") + std::to_string(f.line);
    switch (f.problem) {
      case Problem::Unreadable:
        p.actions.push_back("removed " + at + ": unreadable record line (kept in the recovery copy)");
        break;
      case Problem::BlankLine: p.actions.push_back("removed " + at + ": blank line"); break;
      case Problem::NulBytes: p.actions.push_back("removed the NUL bytes of " + at); break;
      case Problem::CtrlZ: p.actions.push_back("removed the Ctrl-Z byte of " + at); break;
      case Problem::NoLineEnd: p.actions.push_back("ended " + at + " with its line end"); break;
      case Problem::HeaderAfterRecords: {
        std::string t = rtrim(f.text);
        const bool moved = std::find(scan.moved.begin(), scan.moved.end(), t) != scan.moved.end();
        p.actions.push_back(moved ? "moved " + at + " into the header block"
                                  : "removed " + at + ": a copy of a header line");
        break;
      }
      default:
        const auto& flags = f.imported ? keptImported : keptFile;
        const bool stays = static_cast<std::size_t>(f.line) < flags.size() && flags[static_cast<std::size_t>(f.line)];
        if (needsPerson(f.problem) && stays) {
          p.actions.push_back("left " + at + " as it is: " + problemName(f.problem));
          ++p.leftForPerson;
        }
        break;
    }
  }
}

}  // namespace

std::size_t keptOf(std::span<const Record* const> group, const RepairChoices& c, int date) {
  auto line = c.keepLine.find(date);
  if (line != c.keepLine.end()) {
    auto imp = c.keepImported.find(date);
    const bool imported = imp != c.keepImported.end() && imp->second;
    for (std::size_t i = 0; i < group.size(); ++i)
      if (group[i]->line == line->second && group[i]->imported == imported) return i;
  }
  const bool anyFile = std::any_of(group.begin(), group.end(), [](const Record* r) { return !r->imported; });
  const bool wantImported = c.importedWins || !anyFile;
  // The last of them, unless that one's prices are wrong and an earlier one's are not.
  std::size_t last = group.size();
  for (std::size_t i = group.size(); i-- > 0;) {
    if (group[i]->imported != wantImported) continue;
    if (last == group.size()) last = i;
    if (group[i]->priceFaults == 0) return i;
  }
  return last == group.size() ? group.size() - 1 : last;
}

RepairPlan planRepair(const Scan& scan, const RepairChoices& choices, int today) {
  RepairPlan p;

  // The records by date; of one date the file's lines in file order, then imported rows.
  std::vector<const Record*> all;
  all.reserve(scan.records.size());
  for (const Record& r : scan.records) all.push_back(&r);
  std::stable_partition(all.begin(), all.end(), [](const Record* r) { return !r->imported; });
  std::stable_sort(all.begin(), all.end(), [](const Record* a, const Record* b) { return a->date < b->date; });

  std::vector<const Record*> kept;
  kept.reserve(all.size());
  long added = 0, importKept = 0, importReplaced = 0;
  for (std::size_t start = 0, end = 0; start < all.size(); start = end) {
    while (end < all.size() && all[end]->date == all[start]->date) ++end;
    const std::span<const Record* const> g(all.data() + start, end - start);
    const std::size_t k = keptOf(g, choices, g.front()->date);
    const Record* keep = g[k];
    kept.push_back(keep);
    const bool anyFile = !g.front()->imported;
    const bool anyImported = g.back()->imported;
    if (keep->imported) ++(anyFile ? importReplaced : added);
    else if (anyImported) ++importKept;
    for (std::size_t i = 0; i < g.size(); ++i) {
      if (i == k || g[i]->imported) continue;
      if (rtrim(g[i]->text) == rtrim(keep->text))
        p.actions.push_back("removed " + where(*g[i]) + ": the same as " + where(*keep));
      else
        p.actions.push_back("removed " + where(*g[i]) + ": " + dateText(keep->date) + " kept from " + where(*keep));
    }
  }
  std::vector<std::string> merged = std::move(p.actions);
  p.actions.clear();
  describeProblems(scan, kept, p);
  p.actions.insert(p.actions.end(), merged.begin(), merged.end());
  if (added) p.actions.push_back("added " + std::to_string(added) + " imported rows");
  if (importReplaced)
    p.actions.push_back("replaced " + std::to_string(importReplaced) + " lines by imported rows of their dates");
  if (importKept)
    p.actions.push_back("kept the file's line for " + std::to_string(importKept) + " dates an import also had");
  const long moved = std::count_if(scan.findings.begin(), scan.findings.end(),
                                   [](const Finding& f) { return f.problem == Problem::OutOfOrder; });
  if (moved) p.actions.push_back("sorted the records by date (" + std::to_string(moved) + " out of order)");

  p.content.reserve(scan.header.size() + kept.size() * 72);
  p.content = scan.header;
  if (!p.content.empty() && p.content.back() != '\n') p.content += '\n';
  for (const std::string& h : scan.moved) p.content += h + "\n";
  for (const Record* r : kept) {
    p.content += r->text;
    p.content += '\n';
    if (r->date <= today && r->date >= p.lastDate) {
      p.lastDate = r->date;
      p.lastTime = r->time;
    }
  }
  p.records = static_cast<long>(kept.size());
  return p;
}

}  // namespace quova::repair
