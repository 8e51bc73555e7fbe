// Whether today's daily download is due: the weekday switches, the download time and the
// date of the marker file "daily.dld", each step logged.
#pragma once

namespace quova {

inline constexpr const char* kDailyQuotefileName = "daily.dld";

bool Is_DL_Needed();

}  // namespace quova
