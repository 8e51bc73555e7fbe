// Field-by-field little-endian images of the binary settings files. Settings files are raw
// field images with no header; these helpers write and read one field at a time, so the
// layout never depends on the compiler's struct packing or the processor's byte order.
#pragma once


#include <concepts>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace quova {

class ImageWriter {
 public:
  void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
  void u32(std::uint32_t v);
  void f32(float v);
  void f64(double v);
  void flag(bool v) { byte(v ? 1 : 0); }
  void byte(std::uint8_t v) { bytes_.push_back(static_cast<char>(v)); }
  void block(const std::uint8_t* p, std::size_t n) { bytes_.append(reinterpret_cast<const char*>(p), n); }
  // A char[size] field: the text cut at size - 1, then zero bytes up to size.
  void text(std::string_view s, std::size_t size);
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

// Reads fields in order. A field the data no longer holds completely is left as it was
// (a short file keeps the values before loading) and every later read fails too.
class ImageReader {
 public:
  explicit ImageReader(std::string_view data) : data_(data) {}
  bool i32(std::int32_t& v);
  bool u32(std::uint32_t& v);
  bool f32(float& v);
  bool f64(double& v);
  bool flag(bool& v);  // any nonzero byte counts as on
  bool byte(std::uint8_t& v);
  // n bytes taken whole: a block the data does not hold completely is left as it was.
  bool block(std::uint8_t* p, std::size_t n);
  // A char[size] field, terminated at size - 1 whatever the bytes hold.
  bool text(std::string& s, std::size_t size);
  std::size_t position() const { return pos_; }

 private:
  bool take(std::size_t n, const unsigned char*& p);
  std::string_view data_;
  std::size_t pos_ = 0;
  bool short_ = false;
};

// A record's layout is written once, as a field walk over an ImageWriter or an ImageReader:
//   template <class IO, FieldsOf<Record> R> void fields(IO& io, R& r) { io.i32(r.x); ... }
// The writer walks a const record, the reader a mutable one.
template <class R, class Record>
concept FieldsOf = std::same_as<std::remove_const_t<R>, Record>;

}  // namespace quova
