// The repair tool's run without a window: arguments, paths inside the root, reading,
// the recovery copy, the atomic replace, the time stamp, the report and its log.
#include "repair/mendora_run.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "quotes/format_file.h"
#include "util/clock.h"
#include "util/dates.h"
#include "util/filetimes.h"
#include "util/paths.h"

namespace quova::repair {

namespace {

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string realPath(const std::string& p) {
  char buf[PATH_MAX];
  return ::realpath(p.c_str(), buf) ? std::string(buf) : std::string();
}

std::string parentOf(const std::string& p) {
  const std::size_t s = p.find_last_of('/');
  return s == std::string::npos ? std::string(".") : s == 0 ? std::string("/") : p.substr(0, s);
}

std::string nameOf(const std::string& p) {
  const std::size_t s = p.find_last_of('/');
  return s == std::string::npos ? p : p.substr(s + 1);
}

// Reads a whole file of at most kMaxFileBytes. False with the reason.
bool readFile(const std::string& path, std::string* out, std::string* why) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    *why = std::strerror(errno);
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    *why = "not a regular file";
    return false;
  }
  if (static_cast<unsigned long long>(st.st_size) > kMaxFileBytes) {
    *why = std::to_string(st.st_size) + " bytes, more than a quote file holds (" +
           std::to_string(kMaxFileBytes >> 20) + " MB)";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *why = std::strerror(errno);
    return false;
  }
  out->assign(static_cast<std::size_t>(st.st_size), '\0');
  in.read(out->data(), static_cast<std::streamsize>(out->size()));
  out->resize(static_cast<std::size_t>(in.gcount()));
  return true;
}

std::string twoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

std::string stampText(const LocalTime& t) {
  return twoDigits(t.month) + "/" + twoDigits(t.day) + "/" + std::to_string(t.year) + " " + twoDigits(t.hour) +
         ":" + twoDigits(t.minute) + ":" + twoDigits(t.second);
}

// The stamp of a repaired file: the date of its newest record and that record's time.
LocalTime recordStamp(long day, int time) {
  LocalTime t;
  const std::string d = charDate(static_cast<float>(day), DATE_FMT_US, 4);
  t.month = std::atoi(d.substr(0, 2).c_str());
  t.day = std::atoi(d.substr(3, 2).c_str());
  t.year = std::atoi(d.substr(6).c_str());
  if (time >= 0 && time / 100 < 24 && time % 100 < 60) {
    t.hour = time / 100;
    t.minute = time % 100;
  }
  return t;
}

bool copyWithStamp(const std::string& from, const std::string& content, const std::string& to, std::string* why) {
  if (!replaceFileContent(to, content)) {
    *why = std::strerror(errno ? errno : EIO);
    return false;
  }
  if (auto t = fileTime(from)) setFileTime(to, *t);
  return true;
}

}  // namespace

std::string usage() {
  return "usage: Mendora [--batch] [--import FILE] [--check] [--undo] QUOTEFILE\n"
         "Checks and repairs a historical quote file (.day) under its format file Config\\<name>.fmt.\n"
         "  --batch        no window: apply only the repairs that lose no information\n"
         "  --check        report the problems, change nothing\n"
         "  --import FILE  merge comma-separated history (own exports, or Date,Open,High,Low,Close,\n"
         "                 Adj Close,Volume) into the file; dates the file has keep its lines\n"
         "  --undo         put the recovery copy NAME.REC back over the file\n"
         "  --help         this text\n"
         "Before a change the original is copied to NAME.REC; the report is appended to\n"
         "Utilities/mendora.log. Exit status: 0 repaired or nothing to do, 1 problems left\n"
         "that need a person, 2 bad arguments or unreadable files.\n";
}

int parseArguments(const std::vector<std::string>& args, Options* o, std::string* error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--batch" || a == "/batch") o->batch = true;
    else if (a == "--check") o->check = true;
    else if (a == "--undo") o->undo = true;
    else if (a == "--help" || a == "-h") o->help = true;
    else if (a == "--import") {
      if (i + 1 >= args.size()) {
        *error = "--import needs a file";
        return kExitBadInput;
      }
      o->importFile = args[++i];
    } else if (!a.empty() && a[0] == '-' && a.size() > 1) {
      *error = "unknown option " + a;
      return kExitBadInput;
    } else if (!o->quoteFile.empty()) {
      *error = "one quote file only (the program passes it as one argument)";
      return kExitBadInput;
    } else {
      o->quoteFile = a;
    }
  }
  if (o->help) return kExitDone;
  if (o->quoteFile.empty()) *error = "no quote file given";
  else if (o->undo && (o->check || !o->importFile.empty())) *error = "--undo stands alone";
  else if (o->check && !o->importFile.empty()) *error = "--check changes nothing, so it cannot --import";
  return error->empty() ? kExitDone : kExitBadInput;
}

bool resolveTarget(const std::string& arg, const std::string& cwd, const char* quovaEnv, Target* t,
                   std::string* error) {
  std::string root;
  if (lower(nameOf(cwd)) == "utilities") root = parentOf(cwd);
  else if (quovaEnv && *quovaEnv) root = quovaEnv[0] == '/' ? quovaEnv : cwd + "/" + quovaEnv;
  else root = cwd;
  root = realPath(root);
  if (root.empty()) {
    *error = "The root folder cannot be found.";
    return false;
  }
  if (root.back() != '/') root += '/';
  std::string p = arg;
  for (char& c : p)
    if (c == '\\') c = '/';
  if (p.empty() || p.back() == '/') {
    *error = "No quote file named in " + arg;
    return false;
  }
  if (p[0] != '/') p = cwd + "/" + p;
  p = nativePath(p);
  // The folder must exist; the file itself, once resolved (links too), must lie in the root.
  const std::string dir = realPath(parentOf(p));
  std::string real = dir.empty() ? std::string() : dir + "/" + nameOf(p);
  if (!dir.empty() && fileExists(real)) real = realPath(real);
  if (real.empty() || real.compare(0, root.size(), root) != 0) {
    *error = "The quote file " + arg + " lies outside the root " + root + ": nothing done.";
    return false;
  }
  t->root = root;
  t->shown = arg;
  t->quoteFile = real;
  std::string name = nameOf(real);
  const std::size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && lower(name.substr(dot)) == ".day") name.erase(dot);
  t->recFile = nativePath(dir + "/" + name + ".REC");
  t->fmtFile = nativePath(root + "Config/" + GetBaseFileName(real) + ".fmt");
  t->logFile = nativePath(root + "Utilities/mendora.log");
  return true;
}

bool loadJob(const Options& o, const Target& t, Job* job, std::string* error) {
  job->target = t;
  job->today = todayDayNumber();
  SetDefaultFormat(&job->fmt);
  std::string image, why;
  const std::string fmtName = "Config\\" + nameOf(t.fmtFile);
  if (!fileExists(t.fmtFile)) {
    job->layout = fmtName + " is missing: the default layout is used";
  } else if (!readFile(t.fmtFile, &image, &why)) {
    job->layout = fmtName + " cannot be read (" + why + "): the default layout is used";
  } else if (image.size() < static_cast<std::size_t>(kFormatFileSize)) {
    job->layout = fmtName + " is short (" + std::to_string(image.size()) + " of " +
                  std::to_string(kFormatFileSize) + " bytes): the default layout is used";
  } else if (!formatFromImage(reinterpret_cast<const std::uint8_t*>(image.data()), image.size(), &job->fmt)) {
    SetDefaultFormat(&job->fmt);
    job->layout = fmtName + " is damaged: the default layout is used";
  } else {
    job->layout = fmtName + (job->fmt.repairFlag ? " (written for this repair)" : "");
  }
  job->exists = fileExists(t.quoteFile);
  if (job->exists && !readFile(t.quoteFile, &job->original, &why)) {
    *error = "Cannot read the quote file " + t.shown + ": " + why;
    return false;
  }
  if (!job->exists && o.importFile.empty() && !o.undo) {
    *error = "Unable to locate file -- " + t.shown;
    return false;
  }
  job->scan = checkQuoteFile(job->original, job->fmt, job->today);
  if (!o.importFile.empty()) {
    std::string bytes;
    if (!readFile(nativePath(o.importFile), &bytes, &why)) {
      *error = "Cannot read the import file " + o.importFile + ": " + why;
      return false;
    }
    job->imported = true;
    job->import = importHistory(bytes, job->fmt);
    if (!job->exists) {
      // A new quote file gets its header from the template, as a download would make it.
      std::string tmpl;
      const std::string name = GetBaseFileName(t.quoteFile);
      if (readFile(nativePath(t.root + job->fmt.headerTemplate), &tmpl, &why)) {
        std::string header;
        std::size_t pos = 0;
        while (pos < tmpl.size()) {
          std::size_t nl = tmpl.find('\n', pos);
          std::string line = tmpl.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
          pos = nl == std::string::npos ? tmpl.size() : nl + 1;
          if (line.find("SYMBOL:") != std::string::npos) line += " " + name;
          header += line + "\n";
        }
        job->scan.header = header;
      }
    }
    for (const Record& r : job->import.rows) job->scan.records.push_back(r);
    checkRecords(&job->scan, job->fmt, job->today);
  }
  return true;
}

std::string refusal(const Job& job) {
  const Scan& s = job.scan;
  long fileRecords = 0;
  for (const Record& r : s.records) fileRecords += r.imported ? 0 : 1;
  if (s.unreadable > 0 && s.unreadable >= fileRecords)
    return std::to_string(s.unreadable) + " of " + std::to_string(s.unreadable + fileRecords) +
           " record lines do not read under the layout: it may not be this file's, nothing changed.";
  return {};
}

long textWithoutRecords(const Job& job) {
  if (!job.scan.records.empty()) return 0;
  long n = 0;
  std::size_t pos = 0;
  const std::string& h = job.scan.header;
  while (pos < h.size()) {
    std::size_t nl = h.find('\n', pos);
    std::string line = h.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
    pos = nl == std::string::npos ? h.size() : nl + 1;
    if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
    if (line.find("SYMBOL:") == std::string::npos && line.find("COMPANY NAME:") == std::string::npos) ++n;
  }
  return n;
}

bool applyRepair(const Job& job, const RepairPlan& plan, std::string* message) {
  const Target& t = job.target;
  std::string why;
  // The recovery copy is first made under a temporary name: a second name of the original
  // itself where the file system allows it (no copy, and the original's time stamp), else a
  // copy. It takes its own name once the new file is in place, so a failure leaves an
  // earlier recovery copy as it was.
  const std::string pending = t.recFile + ".tmp";
  ::unlink(pending.c_str());
  if (job.exists && ::link(t.quoteFile.c_str(), pending.c_str()) != 0 &&
      !copyWithStamp(t.quoteFile, job.original, pending, &why)) {
    *message = "Cannot write the recovery copy " + t.recFile + " (" + why + "): the quote file is unchanged.";
    return false;
  }
  errno = 0;
  if (!replaceFileContent(t.quoteFile, plan.content)) {
    *message = "Cannot write " + t.quoteFile + " (" + std::strerror(errno ? errno : EIO) +
               "): the quote file is unchanged.";
    ::unlink(pending.c_str());
    return false;
  }
  if (job.exists && ::rename(pending.c_str(), t.recFile.c_str()) != 0) {
    *message = "Written: " + t.quoteFile + ", but its original stays as " + pending + " (" + std::strerror(errno) + ")";
    return false;
  }
  if (plan.lastDate > 0) setFileTime(t.quoteFile, recordStamp(plan.lastDate, plan.lastTime));
  *message = "Written: " + t.quoteFile + " (" + std::to_string(plan.records) + " records)";
  if (job.exists) *message += ", recovery copy " + t.recFile;
  return true;
}

bool undoRepair(const Target& t, std::string* message) {
  std::string bytes, why;
  if (!fileExists(t.recFile)) {
    *message = "There is no recovery copy " + t.recFile + ": nothing done.";
    return false;
  }
  if (!readFile(t.recFile, &bytes, &why)) {
    *message = "Cannot read the recovery copy " + t.recFile + " (" + why + "): nothing done.";
    return false;
  }
  if (!copyWithStamp(t.recFile, bytes, t.quoteFile, &why)) {
    *message = "Cannot write " + t.quoteFile + " (" + why + "): the quote file is unchanged.";
    return false;
  }
  *message = "Restored " + t.quoteFile + " from " + t.recFile;
  return true;
}

std::string reportText(const Job& job, const RepairPlan* plan, const std::string& outcome) {
  const Scan& s = job.scan;
  std::string r;
  r.reserve(256 + (s.findings.size() + (plan ? plan->actions.size() : 0)) * 120);
  r += "Quote file: " + job.target.quoteFile;
  if (job.exists) r += " (" + std::to_string(s.lines) + " lines)";
  else r += " (new)";
  r += "\nLayout: " + job.layout + "\n";
  if (job.imported) {
    r += "Import: " + std::to_string(job.import.rows.size()) + " rows read, " +
         std::to_string(job.import.rejected.size()) + " rejected, " + std::to_string(job.import.skipped) +
         " header rows skipped\n";
    for (const auto& x : job.import.rejected)
      r += "  import row " + std::to_string(x.row) + ": " + x.why + ": " + x.text + "\n";
  }
  if (s.findings.empty()) {
    r += "Problems: none\n";
  } else {
    r += "Problems: " + std::to_string(s.findings.size()) + "\n";
    for (const Finding& f : s.findings) {
      r += f.imported ? "  import row " : "  line ";
      r += std::to_string(f.line);
      r += ": ";
      r += problemName(f.problem);
      if (f.otherLine) r += " (line " + std::to_string(f.otherLine) + ")";
      if (!f.text.empty()) r.append(": ").append(f.text);
      r += '\n';
    }
  }
  if (plan && !plan->actions.empty()) {
    r += "Repairs:\n";
    for (const std::string& a : plan->actions) r.append("  ").append(a).append("\n");
  }
  r += outcome + "\n";
  return r;
}

bool appendLog(const Target& t, const std::string& report) {
  makeDirectories(parentOf(t.logFile));
  std::ofstream out(t.logFile, std::ios::app | std::ios::binary);
  if (!out) return false;
  out << "==== Mendora " << stampText(now()) << " -- " << t.shown << "\n" << report << "\n";
  return static_cast<bool>(out.flush());
}

int repairJob(const Job& job, const RepairChoices& choices, std::string* report) {
  auto finish = [&](const std::string& text, int code) {
    *report = text;
    appendLog(job.target, text);
    return code;
  };
  if (std::string no = refusal(job); !no.empty()) return finish(reportText(job, nullptr, "Result: " + no), kExitForPerson);
  if (job.scan.findings.empty() && !job.imported) {
    const long text = textWithoutRecords(job);
    return finish(reportText(job, nullptr, text ? "Result: no line reads as a record under the layout: nothing changed"
                                                : "Result: nothing to repair"),
                  text ? kExitForPerson : kExitDone);
  }
  const RepairPlan plan = planRepair(job.scan, choices, job.today);
  const int code = plan.leftForPerson ? kExitForPerson : kExitDone;
  if (job.exists && plan.content == job.original)
    return finish(reportText(job, &plan, "Result: nothing to write"), code);
  std::string message;
  if (!applyRepair(job, plan, &message)) return finish(reportText(job, &plan, "Result: " + message), kExitBadInput);
  return finish(reportText(job, &plan, message + "\nResult: " + (code ? "repaired; problems left for a person" : job.imported ? "imported" : "repaired")),
                code);
}

int runBatch(const Options& o, const std::string& cwd, const char* quovaEnv, std::string* report) {
  Target t;
  std::string error;
  if (!resolveTarget(o.quoteFile, cwd, quovaEnv, &t, &error)) {
    *report = error + "\n";
    return kExitBadInput;
  }
  auto finish = [&](const std::string& text, int code) {
    *report = text;
    appendLog(t, text);
    return code;
  };
  if (o.undo) {
    std::string message;
    const bool ok = undoRepair(t, &message);
    return finish(message + "\n", ok ? kExitDone : kExitBadInput);
  }
  Job job;
  if (!loadJob(o, t, &job, &error)) return finish(error + "\n", kExitBadInput);
  if (o.check) {
    const bool clean = job.scan.findings.empty();
    return finish(reportText(job, nullptr, clean ? "Result: nothing to repair" : "Result: checked, nothing changed"),
                  clean ? kExitDone : kExitForPerson);
  }
  return repairJob(job, RepairChoices{}, report);
}

}  // namespace quova::repair
