// File modification times in local time: the time stamp of a quote file is the date
// (and time) of its last quote, and `backdate` marks a file as not yet updated.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "util/clock.h"

namespace quova {

// 01/01/1981 01:01:02, the stamp that makes the next download append again.
LocalTime backdateStamp();

// The packed file date/time words (date: day 5 bits, month 4, year-1980 7;
// time: seconds/2 5 bits, minutes 6, hours 5), packed date << 16 | time.
std::uint32_t toDosStamp(const LocalTime& t);
LocalTime fromDosStamp(std::uint32_t stamp);

// Reads the modification time of a (mapped) path; nothing when the file does not exist.
std::optional<LocalTime> fileTime(std::string_view path);
// Sets the modification (and access) time of a (mapped) path; false on failure.
bool setFileTime(std::string_view path, const LocalTime& t);

}  // namespace quova
