// The repairer: turns a checked quote file into its repaired content. The header block
// stays as it stands, records are sorted by date (stable), exact duplicates go, of a date
// with different values one line is kept (the later one unless the user chose or its prices
// are wrong and the earlier one's are not), unreadable
// and blank lines leave the file (the recovery copy keeps them), and every kept record is
// written as it reads under the file's layout, ending in "\n".
#pragma once

#include <map>
#include <span>
#include <string>
#include <vector>

#include "repair/quote_check.h"

namespace quova::repair {

// The choices a person makes in the window; batch runs use the defaults.
struct RepairChoices {
  // Of a date with different values, the line kept (a record's line; for an imported row
  // its row, see keepImported). Missing: the last of them in the file.
  std::map<int, long> keepLine;
  std::map<int, bool> keepImported;  // the kept line of that date is an imported row
  bool importedWins = false;         // imported rows replace the file's lines of their dates
};

struct RepairPlan {
  std::string content;               // the repaired file
  std::vector<std::string> actions;  // what the repair does, one line each
  long records = 0;                  // records written
  long lastDate = -1;                // day number of the newest record not in the future
  int lastTime = 0;                  // its time of day (hours * 100 + minutes)
  long leftForPerson = 0;            // problems that stay in the file
};

// Of the records of one date (the file's in file order, then imported rows), the index of
// the one kept: the choice, else the file's last line, else (importedWins, or a date only
// the import has) the last imported row; passing over a last line whose prices are wrong
// (high below low, close outside, not positive) when an earlier one's are right.
std::size_t keptOf(std::span<const Record* const> group, const RepairChoices& choices, int date);

// The repaired content of a scan. Imported records (Record::imported) are merged first:
// an imported row of a date the file already has is used only when choices say so.
RepairPlan planRepair(const Scan& scan, const RepairChoices& choices, int today);

}  // namespace quova::repair
