// The format file: its exact 3994-byte layout, the readers' checks on damaged files, and
// base names.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "quote_test_support.h"
#include "quotes/format_file.h"
#include "support/recording_host.h"

using namespace quova;
using namespace quova::test;

namespace {

void put16(std::string& b, std::size_t at, int v) {
  b[at] = static_cast<char>(v & 0xFF);
  b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

// A format file built by hand at the documented offsets.
std::string handBuiltImage() {
  std::string b(3994, '\0');
  put16(b, 0, 3);                       // nFields
  put16(b, 2, 10), put16(b, 4, 6), put16(b, 6, 101);  // fieldCode[0..2]
  put16(b, 2 + 139 * 2, 15);            // fieldCode[139]
  put16(b, 282 + 2 * 2, 4);             // leadBlanks[2]
  std::memcpy(&b[562 + 1 * 21], "C=", 2);  // prefixText[1]
  std::memcpy(&b[3502], "yyyymmdd", 8);    // outDateFormat
  std::memcpy(&b[3515], "12/07/2026", 10);  // refDate
  b[3528] = 1;                              // delimiter (32-bit)
  std::memcpy(&b[3532], "None.day", 8);     // headerTemplate
  put16(b, 3713 + 2, 20);                   // columnPos[1]
  put16(b, 3713 + 139 * 2, 0x1234);         // columnPos[139]
  b[3993] = 1;                              // repairFlag
  return b;
}

}  // namespace

TEST(FormatFile, LayoutIsPackedLittleEndianInFieldOrder) {
  std::string img = handBuiltImage();
  OFtype f;
  ASSERT_TRUE(formatFromImage(reinterpret_cast<const std::uint8_t*>(img.data()), img.size(), &f));
  EXPECT_EQ(f.nFields, 3);
  EXPECT_EQ(f.fieldCode[0], 10);
  EXPECT_EQ(f.fieldCode[2], 101);
  EXPECT_EQ(f.fieldCode[139], 15);
  EXPECT_EQ(f.leadBlanks[2], 4);
  EXPECT_STREQ(f.prefixText[1], "C=");
  EXPECT_STREQ(f.outDateFormat, "yyyymmdd");
  EXPECT_STREQ(f.refDate, "12/07/2026");
  EXPECT_EQ(f.delimiter, 1);
  EXPECT_STREQ(f.headerTemplate, "None.day");
  EXPECT_EQ(f.columnPos[1], 20);
  EXPECT_EQ(f.columnPos[139], 180);  // clamped
  EXPECT_EQ(f.repairFlag, 1);

  // Writing it back gives the same bytes (the clamped column aside).
  FormatImage out = formatToImage(f);
  std::string back(reinterpret_cast<const char*>(out.data()), out.size());
  put16(img, 3713 + 139 * 2, 180);
  EXPECT_EQ(back, img);
}

TEST(FormatFile, DefaultDescriptorRoundTripsThroughTheFile) {
  TestRoot root;
  root.write("Config/.keep", "");
  OFtype f = DefaultFormat();
  std::strcpy(f.refDate, "12/07/2026");
  ASSERT_EQ(SaveFormatInfo("quotes.day\\funds\\funds_VFINX.day", f), 0);
  std::string bytes = root.read("Config/funds_VFINX.fmt");
  ASSERT_EQ(bytes.size(), 3994u);
  EXPECT_EQ(bytes.substr(3502, 11), std::string("mm/dd/yyyy\0", 11));
  EXPECT_EQ(bytes.substr(3532, 11), std::string("Header.day\0", 11));
  EXPECT_EQ(static_cast<unsigned char>(bytes[3713 + 2]), 15);  // columnPos[1]

  OFtype back;
  FormatTrailer trailer;
  EXPECT_TRUE(RecallFormatInfo(root.file("Config/funds_VFINX.fmt"), &back, &trailer));
  EXPECT_EQ(back.nFields, 6);
  EXPECT_STREQ(back.refDate, "12/07/2026");
  EXPECT_EQ(trailer.read4 + trailer.read560 + trailer.read181, 0u);  // the extra reads meet the end
  OFtype viaGet;
  EXPECT_EQ(GetFormatInfo(root.file("Config/funds_VFINX.fmt"), &viaGet), 0);
  EXPECT_EQ(formatToImage(viaGet), formatToImage(f));
}

TEST(FormatFile, DamagedOrMissingFilesAreRefused) {
  TestRoot root;
  ScopedHost h;
  std::string img = handBuiltImage();
  struct Case {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"short.fmt", img.substr(0, 3000)},
      {"empty.fmt", ""},
      {"many.fmt", [&] { std::string b = img; put16(b, 0, 141); return b; }()},
      {"negative.fmt", [&] { std::string b = img; put16(b, 0, -1); return b; }()},
  };
  for (const Case& c : cases) {
    root.write(c.name, c.bytes);
    OFtype f;
    f.nFields = 99;  // so a reset to the default shows
    EXPECT_FALSE(RecallFormatInfo(root.file(c.name), &f)) << c.name;
    EXPECT_EQ(f.nFields, 6) << c.name;
    OFtype g;
    EXPECT_EQ(GetFormatInfo(root.file(c.name), &g), -1) << c.name;
    EXPECT_EQ(g.nFields, 6) << c.name;
  }
  // Unterminated texts end at their last byte; nonzero option bytes read as on.
  std::string b = img;
  std::memset(&b[562], 'P', 140 * 21);
  std::memset(&b[3532], 'H', 181);
  b[3993] = 7;
  OFtype f;
  ASSERT_TRUE(formatFromImage(reinterpret_cast<const std::uint8_t*>(b.data()), b.size(), &f));
  EXPECT_EQ(std::strlen(f.prefixText[0]), 20u);
  EXPECT_EQ(std::strlen(f.headerTemplate), 180u);
  EXPECT_EQ(f.repairFlag, 1);

  // A missing file: RecallFormatInfo keeps the descriptor, GetFormatInfo shows its box.
  OFtype kept = DefaultFormat();
  kept.nFields = 2;
  EXPECT_FALSE(RecallFormatInfo(root.file("none.fmt"), &kept));
  EXPECT_EQ(kept.nFields, 2);
  EXPECT_EQ(GetFormatInfo(root.file("none.fmt"), &kept), -1);
  EXPECT_EQ(h.host.boxes.back().caption, "GetFormatInfo");
  EXPECT_NE(h.host.boxes.back().text.find("\nCannot Open Configuration File -- "), std::string::npos);
}

TEST(GetBaseFileName, DirectoriesAtEitherSeparatorThenTheFirstDot) {
  struct Case {
    const char* path;
    const char* base;
    const char* withExt;
  } cases[] = {
      {"lists/watch.qtl", "watch", "watch.qtl"},
      {"C:\\quova\\WATCH.QTL", "WATCH", "WATCH.QTL"},
      {"/home/u/.local/share/quova/my.list.qtl", "my", "my.list.qtl"},
      {"quotes.day\\funds\\funds_VFINX.day", "funds_VFINX", "funds_VFINX.day"},
      {"plain", "plain", "plain"},
      {"dir/", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetBaseFileName(c.path), c.base) << c.path;
    EXPECT_EQ(GetBaseFileNameExt(c.path), c.withExt) << c.path;
  }
}
