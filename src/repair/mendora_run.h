// One run of the repair tool Mendora on one quote file, without a window: the command line,
// the root and the paths (never outside the root), the format file, the recovery copy
// NAME.REC, the atomic replace, the file's time stamp, the report and Utilities/mendora.log.
// The window (windows/mendora_window.h) drives the same steps with a person's choices.
#pragma once

#include <string>
#include <vector>

#include "repair/history_import.h"
#include "repair/quote_check.h"
#include "repair/quote_repair.h"

namespace quova::repair {

inline constexpr int kExitDone = 0;       // repaired, or nothing to do
inline constexpr int kExitForPerson = 1;  // problems left that need a person
inline constexpr int kExitBadInput = 2;   // bad arguments, unreadable or unwritable files

struct Options {
  bool batch = false, check = false, undo = false, help = false;
  std::string importFile;  // --import FILE
  std::string quoteFile;   // as given, e.g. "..\quotes.day\NAME.day"
};

// kExitDone, or kExitBadInput with the reason in *error.
int parseArguments(const std::vector<std::string>& args, Options* o, std::string* error);
std::string usage();

struct Target {
  std::string root;       // the program's root, ends in "/"
  std::string shown;      // the quote file as given
  std::string quoteFile;  // absolute
  std::string recFile;    // NAME.REC beside it
  std::string fmtFile;    // root + Config/<base>.fmt
  std::string logFile;    // root + Utilities/mendora.log
};

// The root is the parent of the working directory when that is the root's "Utilities"
// (where the program starts the tool), else QUOVA when set, else the working directory.
// The quote file is taken relative to the working directory and must lie inside the root.
bool resolveTarget(const std::string& arg, const std::string& cwd, const char* quovaEnv, Target* t,
                   std::string* error);

// Everything one run reads.
struct Job {
  Target target;
  OFtype fmt;
  std::string layout;  // where the layout came from, for the report
  bool exists = false;
  std::string original;  // the quote file's bytes
  Scan scan;
  bool imported = false;
  ImportResult import;
  int today = 0;
};

inline constexpr std::size_t kMaxFileBytes = 64u << 20;  // larger files are not quote files

// Reads the format file, the quote file and the import file. False (and *error) when a
// file cannot be read; a missing, short or damaged format file only means the default.
bool loadJob(const Options& o, const Target& t, Job* job, std::string* error);
// Why a repair of this file must not be written (its lines do not read under the layout);
// empty when it may.
std::string refusal(const Job& job);
// The recovery copy first (bytes and time stamp of the original), then the new content by
// atomic replace, then the time stamp of the newest record. False with *message on failure;
// the quote file is then as it was.
bool applyRepair(const Job& job, const RepairPlan& plan, std::string* message);
// Puts NAME.REC back over the quote file (bytes and time stamp); the copy stays.
bool undoRepair(const Target& t, std::string* message);

// The report of a run: the file, its layout, the problems, the repairs, the outcome.
std::string reportText(const Job& job, const RepairPlan* plan, const std::string& outcome);
// A file with no record at all: its text lines other than the template's header lines
// (lines that a wrong layout left unread); 0 when it has records.
long textWithoutRecords(const Job& job);
// Repairs a loaded job with the choices, writing only when there is something to write.
// The exit status; the report in *report, also appended to the log.
int repairJob(const Job& job, const RepairChoices& choices, std::string* report);
// Appends one dated block to Utilities/mendora.log.
bool appendLog(const Target& t, const std::string& report);

// A whole run without a window. The report (also appended to the log) goes to *report.
int runBatch(const Options& o, const std::string& cwd, const char* quovaEnv, std::string* report);

}  // namespace quova::repair
