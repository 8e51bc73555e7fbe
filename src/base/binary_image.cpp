// Little-endian field images of the binary settings files.
#include "base/binary_image.h"

#include <cstring>

namespace quova {

void ImageWriter::u32(std::uint32_t v) {
  for (int i = 0; i < 4; ++i) byte(static_cast<std::uint8_t>(v >> (8 * i)));
}

void ImageWriter::f32(float v) {
  std::uint32_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  u32(bits);
}

void ImageWriter::f64(double v) {
  std::uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  for (int i = 0; i < 8; ++i) byte(static_cast<std::uint8_t>(bits >> (8 * i)));
}

void ImageWriter::text(std::string_view s, std::size_t size) {
  if (size == 0) return;
  std::size_t n = s.find('\0');
  if (n == std::string_view::npos) n = s.size();
  if (n > size - 1) n = size - 1;
  bytes_.append(s.data(), n);
  bytes_.append(size - n, '\0');
}

bool ImageReader::take(std::size_t n, const unsigned char*& p) {
  if (short_ || data_.size() - pos_ < n) {
    short_ = true;
    return false;
  }
  p = reinterpret_cast<const unsigned char*>(data_.data()) + pos_;
  pos_ += n;
  return true;
}

bool ImageReader::u32(std::uint32_t& v) {
  const unsigned char* p;
  if (!take(4, p)) return false;
  v = std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
  return true;
}

bool ImageReader::i32(std::int32_t& v) {
  std::uint32_t u;
  if (!u32(u)) return false;
  v = static_cast<std::int32_t>(u);
  return true;
}

bool ImageReader::f32(float& v) {
  std::uint32_t bits;
  if (!u32(bits)) return false;
  std::memcpy(&v, &bits, sizeof v);
  return true;
}

bool ImageReader::block(std::uint8_t* out, std::size_t n) {
  const unsigned char* p;
  if (!take(n, p)) return false;
  std::memcpy(out, p, n);
  return true;
}

bool ImageReader::f64(double& v) {
  const unsigned char* p;
  if (!take(8, p)) return false;
  std::uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = bits << 8 | p[i];
  std::memcpy(&v, &bits, sizeof v);
  return true;
}

bool ImageReader::byte(std::uint8_t& v) {
  const unsigned char* p;
  if (!take(1, p)) return false;
  v = p[0];
  return true;
}

bool ImageReader::flag(bool& v) {
  std::uint8_t b;
  if (!byte(b)) return false;
  v = b != 0;
  return true;
}

bool ImageReader::text(std::string& s, std::size_t size) {
  const unsigned char* p;
  if (size == 0 || !take(size, p)) return false;
  const char* c = reinterpret_cast<const char*>(p);
  std::size_t n = 0;
  while (n < size - 1 && c[n] != '\0') ++n;
  s.assign(c, n);
  return true;
}

}  // namespace quova
