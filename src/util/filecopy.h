// The line-oriented text file copy used to clear, duplicate, import and restore files,
// and the short pause taken when a download window closes.
#pragma once

#include <string>

namespace quova {

inline constexpr int kCopyLineMax = 2180;  // longer lines are written in pieces of this size

// Copies src to dest line by line and returns the number of lines written, or -1 when
// src cannot be read or dest cannot be written (then dest is left as it was). Line ends
// are normalised: "\r\n" and "\n" end a line, a final "\r" and a final 0x1A byte are
// dropped, every line written ends in "\n", and an empty source gives an empty dest.
// dest is replaced through a temporary file and a rename. Copying a file onto itself
// (by any spelling) is refused. With showErrors the failure is also shown in a box.
int FileCopy(const std::string& dest, const std::string& src, bool showErrors);

// Pauses for about n milliseconds without servicing window messages; n <= 0 returns at once.
void mwait(int n);

}  // namespace quova
