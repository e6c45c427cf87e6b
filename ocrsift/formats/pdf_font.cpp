#include "ocrsift/formats/pdf_font.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace pdf {

namespace {

// A table's bytes, big-endian as TrueType stores every number.
class Table {
 public:
  explicit Table(const char* tag) { std::memcpy(tag_, tag, 4); }
  Table& U16(uint32_t value) {
    bytes_.push_back(static_cast<char>((value >> 8) & 0xFF));
    bytes_.push_back(static_cast<char>(value & 0xFF));
    return *this;
  }
  Table& S16(int value) { return U16(static_cast<uint32_t>(value) & 0xFFFF); }
  Table& U32(uint32_t value) { return U16(value >> 16).U16(value & 0xFFFF); }
  // n 16-bit zeros.
  Table& Zeros(int n) {
    for (int i = 0; i < n; ++i)
      U16(0);
    return *this;
  }
  Table& Bytes(const char* text, size_t n) {
    bytes_.append(text, n);
    return *this;
  }
  const char* Tag() const { return tag_; }
  const std::string& Data() const { return bytes_; }

 private:
  char tag_[4];
  std::string bytes_;
};

// The sum of the big-endian 32-bit words of the bytes, zero-padded to a multiple of four.
uint32_t CheckSum(const std::string& bytes) {
  uint32_t sum = 0;
  for (size_t i = 0; i < bytes.size(); i += 4) {
    uint32_t word = 0;
    for (size_t k = 0; k < 4; ++k)
      word = (word << 8) | (i + k < bytes.size() ? static_cast<uint8_t>(bytes[i + k]) : 0u);
    sum += word;
  }
  return sum;
}

const char kFamily[] = "OcrsiftInvisible";

std::vector<Table> MakeTables() {
  std::vector<Table> tables;
  // Sorted by tag, as the table directory must be.
  Table os2("OS/2");
  os2.U16(1).S16(kGlyphWidth).U16(400).U16(5).U16(0);  // version, xAvgCharWidth, weight, width,
                                                       // fsType
  os2.S16(650).S16(600).S16(0).S16(75).S16(650).S16(600).S16(0).S16(350);  // sub- and superscript
  os2.S16(50).S16(300).S16(0);      // strikeout size and position, family class
  os2.Zeros(5);                     // PANOSE
  os2.U32(1).U32(0).U32(0).U32(0);  // Unicode ranges: Basic Latin
  os2.Bytes("NONE", 4).U16(0x40).U16(0x20).U16(0xFFFF);  // vendor, regular, first and last
  os2.S16(kAscent).S16(kDescent).S16(0).U16(kAscent).U16(-kDescent);
  os2.U32(1).U32(0);  // code pages: Latin 1
  tables.push_back(os2);

  // One segment, the end segment every format-4 subtable needs: no character is mapped, as
  // the PDF sends each character's code to glyph 1 itself.
  Table cmap("cmap");
  cmap.U16(0).U16(1).U16(3).U16(1).U32(12);
  cmap.U16(4).U16(24).U16(0).U16(2).U16(2).U16(0).U16(0);
  cmap.U16(0xFFFF).U16(0).U16(0xFFFF).U16(1).U16(0);
  tables.push_back(cmap);

  // .notdef is empty; glyph 1 is a box over the em, from the descent to the ascent. Readers
  // that keep only text with an extent (MuPDF's display list) keep a page whose words all stand
  // on one baseline, and those that expect outlines find some (pdf.js warns of an empty glyf).
  Table glyf("glyf");
  glyf.S16(1).S16(0).S16(kDescent).S16(kGlyphWidth).S16(kAscent);  // one contour, its bounds
  glyf.U16(3).U16(0);                                              // its last point, no code
  glyf.Bytes("\1\1\1\1", 4);  // four points on the curve, each coordinate a 16-bit delta
  glyf.S16(0).S16(0).S16(kGlyphWidth).S16(0);                                 // x: 0, 0, 500, 500
  glyf.S16(kDescent).S16(kAscent - kDescent).S16(0).S16(kDescent - kAscent);  // y
  const uint32_t glyphSize = static_cast<uint32_t>(glyf.Data().size());
  glyf.Zeros(static_cast<int>(glyphSize % 4 == 0 ? 0 : 1));  // loca's short offsets are even
  tables.push_back(glyf);

  Table head("head");
  head.U32(0x00010000).U32(0x00010000).U32(0).U32(0x5F0F3CF5);
  head.U16(0x000B).U16(kUnitsPerEm).Zeros(8);  // flags, units per em, created and modified: 0
  head.S16(0).S16(kDescent).S16(kGlyphWidth).S16(kAscent);  // the bounding box
  head.U16(0).U16(8).S16(2).S16(0).S16(0);  // style, smallest size, direction, short loca, glyph
  tables.push_back(head);

  Table hhea("hhea");
  hhea.U32(0x00010000).S16(kAscent).S16(kDescent).S16(0).U16(kGlyphWidth);
  hhea.S16(0).S16(0).S16(kGlyphWidth).S16(1).S16(0).S16(0).Zeros(4).S16(0).U16(2);
  tables.push_back(hhea);

  Table hmtx("hmtx");
  hmtx.U16(kGlyphWidth).S16(0).U16(kGlyphWidth).S16(0);
  tables.push_back(hmtx);

  Table loca("loca");
  loca.U16(0).U16(0).U16((glyphSize + 1) / 2);  // in 16-bit words
  tables.push_back(loca);

  Table maxp("maxp");
  maxp.U32(0x00010000).U16(2).U16(4).U16(1).Zeros(2).U16(2).Zeros(8);  // 4 points, 1 contour
  tables.push_back(maxp);

  // Family, subfamily, full name and PostScript name, in UTF-16BE for Windows and Unicode.
  static const struct {
    uint16_t id;
    const char* text;
  } kNames[] = {{1, kFamily}, {2, "Regular"}, {4, kFamily}, {6, kFamily}};
  const uint16_t count = sizeof kNames / sizeof kNames[0];
  Table name("name");
  name.U16(0).U16(count).U16(6 + 12 * count);
  std::string strings;
  for (const auto& entry : kNames) {
    const uint16_t length = static_cast<uint16_t>(2 * std::strlen(entry.text));
    name.U16(3).U16(1).U16(0x0409).U16(entry.id).U16(length).U16(strings.size());
    for (const char* c = entry.text; *c != '\0'; ++c) {
      strings.push_back('\0');
      strings.push_back(*c);
    }
  }
  name.Bytes(strings.data(), strings.size());
  tables.push_back(name);

  Table post("post");
  post.U32(0x00030000).U32(0).S16(-100).S16(50).U32(1).Zeros(8);
  tables.push_back(post);
  return tables;
}

std::string BuildFont() {
  const std::vector<Table> tables = MakeTables();
  const uint16_t count = static_cast<uint16_t>(tables.size());
  uint16_t power = 1;
  uint16_t selector = 0;
  while (power * 2 <= count) {
    power = static_cast<uint16_t>(power * 2);
    ++selector;
  }
  Table directory("    ");
  directory.U32(0x00010000).U16(count).U16(16 * power).U16(selector).U16(16 * (count - power));
  uint32_t offset = 12 + 16 * count;
  std::string body;
  size_t headAt = 0;
  for (const Table& table : tables) {
    directory.Bytes(table.Tag(), 4).U32(CheckSum(table.Data())).U32(offset);
    directory.U32(static_cast<uint32_t>(table.Data().size()));
    if (std::memcmp(table.Tag(), "head", 4) == 0)
      headAt = offset;
    std::string padded = table.Data();
    padded.resize((padded.size() + 3) & ~size_t{3}, '\0');
    body += padded;
    offset += static_cast<uint32_t>(padded.size());
  }
  std::string font = directory.Data() + body;
  // The whole font sums to 0xB1B0AFBA once head's checkSumAdjustment is set.
  const uint32_t adjustment = 0xB1B0AFBAu - CheckSum(font);
  for (int k = 0; k < 4; ++k)
    font[headAt + 8 + static_cast<size_t>(k)] =
        static_cast<char>((adjustment >> (24 - 8 * k)) & 0xFF);
  return font;
}

}  // namespace

const std::string& InvisibleFontFile() {
  static const std::string font = BuildFont();
  return font;
}

}  // namespace pdf
