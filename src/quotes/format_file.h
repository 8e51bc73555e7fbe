// Format files "Config\<base>.fmt": one descriptor stored as its 3994-byte packed
// little-endian image, written before a chart or the repair tool reads a quote file.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "quotes/quote_format.h"

namespace quova {

using FormatImage = std::array<std::uint8_t, kFormatFileSize>;

// The image of a descriptor, field by field in order, little-endian, no padding.
FormatImage formatToImage(const OFtype& fmt);
// Reads an image back. Texts are terminated at their last byte, columnPos and leadBlanks
// clamped to 0..180, a nonzero repairFlag reads as 1. False (fmt untouched) when nFields
// lies outside 0..140.
bool formatFromImage(const std::uint8_t* bytes, std::size_t size, OFtype* fmt);

// The name without its directories (at the last "/" or "\") and from the first "." on:
// "quotes.day\\funds\\funds_VFINX.day" gives "funds_VFINX", "my.list.qtl" gives "my".
std::string GetBaseFileName(std::string_view path);
// The name without its directories only.
std::string GetBaseFileNameExt(std::string_view path);

// "Config\<base>.fmt" under the root for a quote file (or list) path.
std::string formatFilePath(std::string_view quoteFilePath);

// Writes the descriptor to the format file of quoteFilePath (atomically). Logs
// "%s successfully updated." or "\nCannot Open HQF Format File -- %s". 0 or -1.
int SaveFormatInfo(std::string_view quoteFilePath, const OFtype& fmt);

// Reads a format file (its own path). Missing: the box "\nCannot Open Configuration File -- %s"
// captioned "GetFormatInfo" and -1, fmt untouched. Damaged (short, nFields out of range):
// logged "\nCannot Open HQF Format File -- %s", fmt becomes the default descriptor, -1.
int GetFormatInfo(std::string_view fmtPath, OFtype* fmt);

// The three blocks a chart asks for after the descriptor (4, 560 and 181 bytes); a format
// file holds nothing after the descriptor, so normally none is read (sizes 0).
struct FormatTrailer {
  std::uint8_t block4[4] = {};
  std::uint8_t block560[560] = {};
  std::uint8_t block181[181] = {};
  std::size_t read4 = 0, read560 = 0, read181 = 0;  // bytes actually read into each
};

// The chart's read of a format file (its own path). Logs "%s successfully recalled." and
// returns true; a missing file logs "\nCannot Open HQF Format File -- %s" and leaves fmt as
// it was; a damaged one logs the same and sets fmt to the default descriptor (false).
bool RecallFormatInfo(std::string_view fmtPath, OFtype* fmt, FormatTrailer* trailer = nullptr);

}  // namespace quova
