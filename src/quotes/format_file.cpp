// The format file: the descriptor's packed little-endian image, field by field, and the
// readers that refuse a damaged image instead of running past the descriptor's arrays.
#include "quotes/format_file.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "base/host.h"
#include "base/log.h"
#include "base/root_path.h"
#include "quotes/quote_names.h"
#include "util/file_bytes.h"
#include "util/paths.h"

namespace quova {
namespace {

constexpr int kMaxColumn = 180;

struct Writer {
  FormatImage& out;
  std::size_t at = 0;
  void i16(std::int16_t v) {
    auto u = static_cast<std::uint16_t>(v);
    out[at++] = static_cast<std::uint8_t>(u & 0xFF);
    out[at++] = static_cast<std::uint8_t>(u >> 8);
  }
  void i32(std::int32_t v) {
    auto u = static_cast<std::uint32_t>(v);
    for (int k = 0; k < 4; ++k) out[at++] = static_cast<std::uint8_t>((u >> (8 * k)) & 0xFF);
  }
  void bytes(const void* p, std::size_t n) {
    std::memcpy(out.data() + at, p, n);
    at += n;
  }
};

struct Reader {
  const std::uint8_t* in;
  std::size_t at = 0;
  std::int16_t i16() {
    auto u = static_cast<std::uint16_t>(in[at] | (in[at + 1] << 8));
    at += 2;
    return static_cast<std::int16_t>(u);
  }
  std::int32_t i32() {
    std::uint32_t u = 0;
    for (int k = 0; k < 4; ++k) u |= static_cast<std::uint32_t>(in[at + k]) << (8 * k);
    at += 4;
    return static_cast<std::int32_t>(u);
  }
  // A char[n] field, terminated at n - 1 whatever the file holds.
  void text(char* dst, std::size_t n) {
    std::memcpy(dst, in + at, n);
    dst[n - 1] = 0;
    at += n;
  }
};

std::int16_t clampColumn(std::int16_t v) {
  if (v < 0) return 0;
  if (v > kMaxColumn) return kMaxColumn;
  return v;
}

}  // namespace

FormatImage formatToImage(const OFtype& fmt) {
  FormatImage img{};
  Writer w{img};
  w.i16(fmt.nFields);
  for (std::int16_t v : fmt.fieldCode) w.i16(v);
  for (std::int16_t v : fmt.leadBlanks) w.i16(v);
  for (const auto& p : fmt.prefixText) w.bytes(p, sizeof p);
  w.bytes(fmt.outDateFormat, sizeof fmt.outDateFormat);
  w.bytes(fmt.refDate, sizeof fmt.refDate);
  w.i32(fmt.delimiter);
  w.bytes(fmt.headerTemplate, sizeof fmt.headerTemplate);
  for (std::int16_t v : fmt.columnPos) w.i16(v);
  img[w.at++] = fmt.repairFlag;
  return img;
}

bool formatFromImage(const std::uint8_t* bytes, std::size_t size, OFtype* fmt) {
  if (size < static_cast<std::size_t>(kFormatFileSize)) return false;
  Reader r{bytes};
  OFtype f;
  f.nFields = r.i16();
  if (f.nFields < 0 || f.nFields > kMaxFormatFields) return false;
  for (auto& v : f.fieldCode) v = r.i16();
  for (auto& v : f.leadBlanks) v = clampColumn(r.i16());
  for (auto& p : f.prefixText) r.text(p, sizeof p);
  r.text(f.outDateFormat, sizeof f.outDateFormat);
  r.text(f.refDate, sizeof f.refDate);
  f.delimiter = r.i32();
  r.text(f.headerTemplate, sizeof f.headerTemplate);
  for (auto& v : f.columnPos) v = clampColumn(r.i16());
  f.repairFlag = bytes[r.at] != 0 ? 1 : 0;
  *fmt = f;
  return true;
}

std::string GetBaseFileNameExt(std::string_view path) {
  std::size_t cut = path.find_last_of("/\\");
  if (cut != std::string_view::npos) path.remove_prefix(cut + 1);
  return std::string(path);
}

std::string GetBaseFileName(std::string_view path) {
  std::string name = GetBaseFileNameExt(path);
  std::size_t dot = name.find('.');
  if (dot != std::string::npos) name.resize(dot);
  return name;
}

std::string formatFilePath(std::string_view quoteFilePath) {
  return rootPath("Config\\" + GetBaseFileName(quoteFilePath) + ".fmt");
}

int SaveFormatInfo(std::string_view quoteFilePath, const OFtype& fmt) {
  std::string path = formatFilePath(quoteFilePath);
  FormatImage img = formatToImage(fmt);
  std::string_view content(reinterpret_cast<const char*>(img.data()), img.size());
  if (!replaceFileContent(path, content)) {
    Log("\nCannot Open HQF Format File -- %s", path.c_str());
    return -1;
  }
  Log("%s successfully updated.", path.c_str());
  return 0;
}

int GetFormatInfo(std::string_view fmtPath, OFtype* fmt) {
  std::string path(fmtPath), data;
  if (!readFileBytes(path, data, kFormatFileSize)) {
    LogBox(formatText(381, "\nCannot Open Configuration File -- %s", path.c_str()), "GetFormatInfo",
           mb::OK);
    return -1;
  }
  if (!formatFromImage(reinterpret_cast<const std::uint8_t*>(data.data()), data.size(), fmt)) {
    Log("\nCannot Open HQF Format File -- %s", path.c_str());
    SetDefaultFormat(fmt);
    return -1;
  }
  return 0;
}

bool RecallFormatInfo(std::string_view fmtPath, OFtype* fmt, FormatTrailer* trailer) {
  std::string path(fmtPath), data;
  constexpr std::size_t kTrailer = 4 + 560 + 181;
  if (!readFileBytes(path, data, kFormatFileSize + kTrailer)) {
    Log("\nCannot Open HQF Format File -- %s", path.c_str());
    return false;
  }
  if (!formatFromImage(reinterpret_cast<const std::uint8_t*>(data.data()), data.size(), fmt)) {
    Log("\nCannot Open HQF Format File -- %s", path.c_str());
    SetDefaultFormat(fmt);
    return false;
  }
  if (trailer) {
    // The three blocks that follow the descriptor; each takes what the file still holds.
    std::size_t at = kFormatFileSize;
    auto take = [&](std::uint8_t* dst, std::size_t n) {
      std::size_t got = at < data.size() ? std::min(n, data.size() - at) : 0;
      if (got) std::memcpy(dst, data.data() + at, got);
      at += got;
      return got;
    };
    trailer->read4 = take(trailer->block4, sizeof trailer->block4);
    trailer->read560 = take(trailer->block560, sizeof trailer->block560);
    trailer->read181 = take(trailer->block181, sizeof trailer->block181);
  }
  Log("%s successfully recalled.", path.c_str());
  return true;
}

}  // namespace quova
