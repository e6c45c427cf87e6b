#include "tests/support/frf_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <type_traits>

namespace testing_support {
namespace {

// Appends little-endian fields to a BuiltFile and records each one under the current dotted
// name prefix.
class Emitter {
 public:
  Emitter(BuiltFile& out, uint8_t fill) : out_(out), fill_(fill) {}

  uint32_t Pos() const { return static_cast<uint32_t>(out_.bytes.size()); }
  uint8_t fill() const { return fill_; }

  void Push(const std::string& part) { prefix_.push_back(part); }
  void Pop() { prefix_.pop_back(); }

  std::string Name(const std::string& leaf) const {
    std::string name;
    for (const std::string& part : prefix_) {
      name += part;
      name += '.';
    }
    if (leaf.empty() && !name.empty()) {
      name.pop_back();
      return name;
    }
    return name + leaf;
  }

  void Value(const std::string& leaf, uint64_t value, uint32_t width) {
    uint32_t start = Pos();
    for (uint32_t i = 0; i < width; ++i) {
      out_.bytes.push_back(static_cast<uint8_t>(i < 8 ? (value >> (8 * i)) & 0xFF : 0));
    }
    Record(leaf, start, width, FieldKind::kValue);
  }
  void U8(const std::string& leaf, uint8_t v) { Value(leaf, v, 1); }
  void U16(const std::string& leaf, uint16_t v) { Value(leaf, v, 2); }
  void U32(const std::string& leaf, uint32_t v) { Value(leaf, v, 4); }
  void I32(const std::string& leaf, int32_t v) { U32(leaf, static_cast<uint32_t>(v)); }

  void Raw(const std::string& leaf, const Bytes& data) {
    uint32_t start = Pos();
    out_.bytes.insert(out_.bytes.end(), data.begin(), data.end());
    Record(leaf, start, static_cast<uint32_t>(data.size()), FieldKind::kBytes);
  }
  void Text(const std::string& leaf, const std::string& data) {
    Raw(leaf, Bytes(data.begin(), data.end()));
  }
  // n bytes of the fill byte; a negative or zero count writes nothing (the reader skips
  // nothing for a negative length either).
  void Fill(const std::string& leaf, int64_t n) {
    Raw(leaf, Bytes(static_cast<size_t>(std::max<int64_t>(0, n)), fill_));
  }
  void Utf16(const std::string& leaf, const std::u16string& text) {
    Bytes data;
    for (char16_t unit : text) {
      data.push_back(static_cast<uint8_t>(unit & 0xFF));
      data.push_back(static_cast<uint8_t>(unit >> 8));
    }
    Raw(leaf, data);
  }
  // A uint8 length and the UTF-16 string it counts.
  void CountedString(const std::string& leaf, const std::u16string& text) {
    U8(leaf + "Length", static_cast<uint8_t>(text.size()));
    Utf16(leaf, text);
  }

  void Region(const std::string& leaf, uint32_t start) {
    Record(leaf, start, Pos() - start, FieldKind::kRegion);
  }

 private:
  void Record(const std::string& leaf, uint32_t start, uint32_t width, FieldKind kind) {
    out_.fields.push_back(FieldInfo{Name(leaf), start, width, kind});
  }

  BuiltFile& out_;
  uint8_t fill_;
  std::vector<std::string> prefix_;
};

class Scope {
 public:
  Scope(Emitter& e, const std::string& part) : e_(e) { e_.Push(part); }
  ~Scope() { e_.Pop(); }
  Scope(const Scope&) = delete;
  Scope& operator=(const Scope&) = delete;

 private:
  Emitter& e_;
};

std::string Indexed(const char* base, size_t i) {
  return base + std::to_string(i);
}

// ---------------------------------------------------------------------------------------
// Text block

std::vector<LineRecord> EffectiveLines(const TextBlock& block) {
  if (!block.lines.empty() || block.text.empty()) {
    return block.lines;
  }
  int32_t n = static_cast<int32_t>(block.text.size());
  return {Line(100, 200, 100 + 30 * n, 250, n)};
}

// One box per code unit, laid out evenly over the rectangle of the code unit's line, plus
// the extra last box (zero).
std::vector<Box16> GeneratedBoxes(const TextBlock& block) {
  size_t n = block.text.size();
  std::vector<Box16> boxes(n + 1);
  size_t index = 0;
  for (const LineRecord& line : EffectiveLines(block)) {
    int32_t chars = std::max(line.chars, 0);
    int32_t width = chars > 0 ? (line.rect.right - line.rect.left) / chars : 0;
    for (int32_t j = 0; j < chars && index < n; ++j, ++index) {
      Box16& box = boxes[index];
      box.left = static_cast<uint16_t>(line.rect.left + j * width);
      box.right = static_cast<uint16_t>(line.rect.left + (j + 1) * width);
      box.top = static_cast<uint16_t>(line.rect.top);
      box.bottom = static_cast<uint16_t>(line.rect.bottom);
    }
  }
  return boxes;
}

Rect32 UnionOf(const std::vector<LineRecord>& lines) {
  if (lines.empty()) {
    return Rect32{};
  }
  Rect32 r = lines.front().rect;
  for (const LineRecord& line : lines) {
    r.left = std::min(r.left, line.rect.left);
    r.top = std::min(r.top, line.rect.top);
    r.right = std::max(r.right, line.rect.right);
    r.bottom = std::max(r.bottom, line.rect.bottom);
  }
  return r;
}

void EmitBlockHead(Emitter& e, const TextBlock& b, uint8_t version) {
  uint32_t start = e.Pos();
  if (version == 6) {
    e.Fill("head", 64);
    if (b.v6Head == V6HeadForm::kFiller) {
      e.U8("fillerZero", 0);
      e.U32("fillerWord", b.v6FillerWord);
      e.Fill("fillerTail", 3);
    }
  } else {
    e.U8("marker", b.v10Marker);
    e.Fill("head", 33);
    e.I32("headCount", b.v10HeadRecords);
    e.Fill("headRecords", 7 * static_cast<int64_t>(b.v10HeadRecords) + 2);
  }
  e.Region("part1", start);
}

void EmitBlock(Emitter& e, const TextBlock& b, uint8_t version) {
  uint32_t blockStart = e.Pos();
  const int32_t n = b.textCount.value_or(static_cast<int32_t>(b.text.size()));
  const std::vector<LineRecord> lines = EffectiveLines(b);

  EmitBlockHead(e, b, version);

  uint32_t start = e.Pos();
  if (b.longCount || n < 0 || n >= 255) {
    e.U8("shortCount", 255);
    e.I32("longCount", n);
  } else {
    e.U8("shortCount", static_cast<uint8_t>(n));
  }
  e.Region("textCount", start);  // the count in either form
  e.Utf16("text", b.text);
  e.Region("part2", start);

  start = e.Pos();
  e.I32("checkCount", b.checkCount.value_or(n + 1));
  e.I32("recordCount", b.unknown1Records);
  e.Fill("records", 36 * static_cast<int64_t>(b.unknown1Records));
  e.Region("part3", start);

  start = e.Pos();
  const std::vector<Box16> boxes = b.boxes ? *b.boxes : GeneratedBoxes(b);
  e.I32("boxCount", b.boxCount.value_or(static_cast<int32_t>(boxes.size())));
  Bytes boxBytes;
  for (const Box16& box : boxes) {
    for (uint16_t v : {box.left, box.top, box.right, box.bottom}) {
      boxBytes.push_back(static_cast<uint8_t>(v & 0xFF));
      boxBytes.push_back(static_cast<uint8_t>(v >> 8));
    }
  }
  e.Raw("boxes", boxBytes);
  e.U8("boxEnd", b.boxEnd);
  e.Region("part4", start);

  start = e.Pos();
  const Bytes mask = b.mask ? *b.mask : Bytes(static_cast<size_t>(std::max(n + 1, 0)), 0);
  e.I32("maskLength", b.maskLength.value_or(static_cast<int32_t>(mask.size())));
  e.Raw("mask", mask);
  e.Region("part5", start);

  start = e.Pos();
  uint32_t section = e.Pos();
  e.I32("data40Count", b.data40Count.value_or(n));
  if (n == 0) {
    e.I32("data40Terminator", b.data40Terminator);
  } else if (version == 6) {
    e.I32("data40Entries", b.data40EntryCount.value_or(1));
    e.I32("data40Chars", b.v6Data40Chars.value_or(n));
    e.I32("data40Zero", b.v6Data40Zero);
  } else {
    std::vector<LayoutEntry> entries;
    if (b.data40Entries) {
      entries = *b.data40Entries;
    } else {
      entries.push_back(LayoutEntry{});
      entries.back().chars = n;
    }
    e.I32("data40Entries", b.data40EntryCount.value_or(static_cast<int32_t>(entries.size())));
    for (size_t i = 0; i < entries.size(); ++i) {
      const LayoutEntry& entry = entries[i];
      Scope scope(e, Indexed("data40Entry", i));
      e.I32("chars", entry.chars);
      e.I32("pictureFlag", entry.pictureFlag);
      if (entry.pictureFlag != 0) {
        e.Fill("gap", 4);
        e.I32("headerSize", entry.headerSize);
        e.I32("bitmapWidth", entry.bitmapWidth);
        e.I32("bitmapHeight", entry.bitmapHeight);
        // The rest of a BITMAPINFOHEADER: planes 1, 24 bits, no compression, the image size.
        Bytes rest(28, 0);
        rest[0] = 1;
        rest[2] = 24;
        rest[8] = static_cast<uint8_t>(entry.pictureData.size() & 0xFF);
        rest[9] = static_cast<uint8_t>((entry.pictureData.size() >> 8) & 0xFF);
        e.Raw("headerRest", rest);
        e.I32("dataLength",
              entry.dataLength.value_or(static_cast<int32_t>(entry.pictureData.size())));
        e.Raw("data", entry.pictureData);
      }
    }
  }
  e.Region("data40", section);

  section = e.Pos();
  if (version == 10) {
    const std::vector<int32_t> entries =
        b.data41Entries ? *b.data41Entries : std::vector<int32_t>{n};
    e.I32("data41Count", b.data41Count.value_or(n));
    e.I32("data41Entries", b.data41EntryCount.value_or(static_cast<int32_t>(entries.size())));
    for (size_t i = 0; i < entries.size(); ++i) {
      Scope scope(e, Indexed("data41Entry", i));
      e.I32("chars", entries[i]);
      e.Fill("rest", 14);
    }
  }
  e.Region("data41", section);

  section = e.Pos();
  e.U8("lineCount", b.lineCount.value_or(static_cast<uint8_t>(lines.size())));
  for (size_t i = 0; i < lines.size(); ++i) {
    Scope scope(e, Indexed("line", i));
    const LineRecord& line = lines[i];
    e.I32("left", line.rect.left);
    e.I32("top", line.rect.top);
    e.I32("right", line.rect.right);
    e.I32("bottom", line.rect.bottom);
    e.I32("unused", line.unused);
    e.I32("chars", line.chars);
  }
  const Rect32 para = b.para.value_or(UnionOf(lines));
  {
    Scope scope(e, "para");
    e.I32("left", para.left);
    e.I32("top", para.top);
    e.I32("right", para.right);
    e.I32("bottom", para.bottom);
  }
  e.Region("rectangles", section);

  section = e.Pos();
  if (version == 10) {
    e.I32("unknown3A", b.unknown3A);
    e.I32("unknown3B", b.unknown3B);
    e.I32("unknown3First", b.unknown3First);
    e.Fill("unknown3Rest", 32);
  }
  e.Region("unknown3", section);

  section = e.Pos();
  if (version == 10) {
    e.I32("unknown4Count", b.unknown4Count);
    if (b.unknown4Count != 0) {
      e.Fill("unknown4Records", 8 * static_cast<int64_t>(b.unknown4Count));
    }
    e.U8("unknown4Flag", b.unknown4Flag);
    if (b.unknown4Flag != 0) {
      e.Fill("unknown4FlagData", 8 * static_cast<int64_t>(b.unknown4Count) + 2);
    }
    e.U8("unknown4Marker", b.unknown4Marker);
    e.Fill("unknown4Tail", 6);
  }
  e.Region("unknown4", section);
  e.Region("part6", start);
  e.Region("", blockStart);
}

// ---------------------------------------------------------------------------------------
// Frames

void EmitFrameEnd(Emitter& e, const FrameEnd& end, uint8_t version) {
  uint32_t start = e.Pos();
  if (version == 6) {
    e.U8("endA", end.v6A);
    e.U8("endB", end.v6B.value_or(end.v6A));
    e.U8("endC", end.v6C.value_or(end.v6A));
    e.U16("endWord", end.v6Word);
  } else {
    e.U8("endByte", end.v10Byte);
    e.Raw("endPair", Bytes{end.v10Pair[0], end.v10Pair[1]});
    e.U8("endSelector", end.selector);
    if (end.selector == 0) {
      e.U8("endAny", end.any);
      e.I32("endCount", end.recordCount);
      e.Fill("endRecords", 8 * static_cast<int64_t>(end.recordCount));
    } else {
      e.U32("endValue", end.value);
      e.U8("endZero", end.zero);
    }
  }
  e.Region("end", start);
}

void EmitFrameBody(Emitter& e, const TextFrameBody& body, uint8_t version) {
  uint32_t start = e.Pos();
  e.CountedString("compound", body.compoundLanguage);
  e.Fill("gap", 5);
  e.I32("languageCount", body.languageCount.value_or(static_cast<int32_t>(body.languages.size())));
  for (size_t i = 0; i < body.languages.size(); ++i) {
    e.CountedString(Indexed("language", i), body.languages[i]);
  }
  e.I32("fontCount", body.fontCount.value_or(static_cast<int32_t>(body.fonts.size())));
  for (size_t i = 0; i < body.fonts.size(); ++i) {
    e.CountedString(Indexed("font", i), body.fonts[i]);
  }
  e.U8("blockCount", body.blockCount.value_or(static_cast<uint8_t>(body.blocks.size())));
  for (size_t i = 0; i < body.blocks.size(); ++i) {
    Scope scope(e, Indexed("block", i));
    EmitBlock(e, body.blocks[i], version);
  }
  EmitFrameEnd(e, body.end, version);
  e.Region("body", start);
}

// Lead length, lead bytes; the caller writes what follows.
void EmitLead(Emitter& e, const Bytes& lead, std::optional<uint8_t> leadLength) {
  e.U8("leadLength", leadLength.value_or(static_cast<uint8_t>(lead.size())));
  e.Raw("lead", lead);
}

int32_t FixedPart(uint8_t version) {
  return version == 10 ? 27 : 25;
}

void EmitFrame(Emitter& e, const TextFrame& f, uint8_t version) {
  uint32_t start = e.Pos();
  EmitLead(e, f.lead, f.leadLength);
  e.Fill("fixed", FixedPart(version));
  e.Region("data1Part3", start);
  uint32_t section = e.Pos();
  e.I32("recordCount", f.recordCount);
  e.Fill("records", 16 * static_cast<int64_t>(f.recordCount));
  e.Fill("headTail", 7);
  e.Region("data3", section);
  e.Region("head", start);
  EmitFrameBody(e, f.body, version);
}

void EmitFrame(Emitter& e, const PictureFrame& f, uint8_t version) {
  uint32_t start = e.Pos();
  EmitLead(e, f.lead, std::nullopt);
  e.U8("marker", f.marker);
  e.Fill("fixed", FixedPart(version));
  e.Region("data1Part3", start);
  uint32_t section = e.Pos();
  e.I32("recordCount", f.recordCount);
  e.Fill("records", 16 * static_cast<int64_t>(f.recordCount));
  e.Region("data3", section);
  e.Fill("trailer", 4);
}

void EmitFrame(Emitter& e, const TableFrame& f, uint8_t version) {
  uint32_t start = e.Pos();
  EmitLead(e, f.lead, std::nullopt);
  e.U8("secondByte", f.secondByte);
  e.Fill("fixed", f.fixedLength.value_or(FixedPart(version)));
  e.Region("data1Part3", start);
  uint32_t section = e.Pos();
  e.I32("recordCount", f.recordCount);
  e.Fill("records", 16 * static_cast<int64_t>(f.recordCount));
  e.Region("data3", section);

  section = e.Pos();
  e.U32("zero", f.zero);
  e.U8("dimA", f.dimA);
  e.U8("dimB", f.dimB);
  const int32_t cellCount = f.cellCount.value_or(static_cast<int32_t>(f.cells.size()));
  if (f.longCellCount || cellCount < 0 || cellCount >= 255) {
    e.U8("cellCountByte", 255);
    e.I32("cellCount", cellCount);
  } else {
    e.U8("cellCountByte", static_cast<uint8_t>(cellCount));
  }
  const int64_t a = f.dimA;
  const int64_t b = f.dimB;
  e.Fill("descriptor", a * (b + 8) + b * (a + 8) - 1);
  e.Region("tableDescriptor", section);

  for (size_t k = 0; k < f.cells.size(); ++k) {
    const TableCell& cell = f.cells[k];
    Scope scope(e, Indexed("cell", k));
    uint32_t cellStart = e.Pos();
    e.U8("firstByte", cell.firstByte);
    e.U8("kind", cell.kind);
    int32_t rest = 0;
    if (k == 0) {
      rest = cell.kind == 2 ? 23 : 28;
    } else {
      rest = version == 10 ? 22 : 27;
    }
    e.Fill("descriptorRest", cell.descriptorRest.value_or(rest));
    e.Region("descriptor", cellStart);
    EmitFrameBody(e, cell.body, version);
    e.Region("", cellStart);
  }
  e.Fill("trailer", 4);
}

void EmitFrame(Emitter& e, const BarcodeFrame& f, uint8_t version) {
  uint32_t start = e.Pos();
  EmitLead(e, f.lead, std::nullopt);
  e.U8("marker", f.marker);
  e.Fill("fixed", FixedPart(version));
  e.Region("data1Part3", start);
  uint32_t section = e.Pos();
  e.I32("recordCount", f.recordCount);
  e.Fill("records", 16 * static_cast<int64_t>(f.recordCount));
  e.Fill("gap6", 6);
  e.Region("data3", section);
  e.Fill("gap5", 5);
  e.U8("languageCount", f.languageCount);
  e.U32("zero", f.zero);
  if (f.languageCount == 3) {
    e.CountedString("language1", f.language1);
  }
  if (f.languageCount == 3 || f.languageCount == 2) {
    e.CountedString("language2", f.language2);
  }
  e.I32("fontCount", f.fontCount);
  if (f.fontCount == 2) {
    e.CountedString("font1", f.font1);
  }
  if (f.fontCount == 2 || f.fontCount == 1) {
    e.CountedString("font2", f.font2);
  }
  e.U8("blockCount", static_cast<uint8_t>(f.blocks.size()));
  for (size_t i = 0; i < f.blocks.size(); ++i) {
    Scope scope(e, Indexed("block", i));
    e.U32("one", f.blocks[i]);
    e.Fill("rest", 191);
  }
  section = e.Pos();
  if (version == 6) {
    e.U8("endA", f.v6A);
    e.U8("endB", f.v6B.value_or(f.v6A));
    e.U8("endC", f.v6C.value_or(f.v6A));
    e.U16("endWord", f.v6Word);
  } else {
    e.U8("endMarker", f.v10Marker);
    e.U32("endMarker2", f.v10Marker2);
    e.I32("endCount", f.v10RecordCount);
    e.Fill("endRecords", 8 * static_cast<int64_t>(f.v10RecordCount));
  }
  e.Region("end", section);
}

void EmitFrame(Emitter& e, const UnknownFrame& f, uint8_t) {
  e.Raw("bytes", f.bytes);
}

uint8_t FrameType(const Frame& frame) {
  switch (frame.index()) {
    case 0:
      return 0;
    case 1:
      return 1;
    case 2:
      return 3;
    case 3:
      return 4;
    default:
      return std::get<UnknownFrame>(frame).type;
  }
}

// ---------------------------------------------------------------------------------------
// Header and end

void EmitHeaderUnknownBlock(Emitter& e, const FrfPage& p) {
  uint32_t start = e.Pos();
  e.U16("wordA", p.wordA);
  e.U16("wordB", p.wordB);
  if (p.version == 6) {
    e.U8("flagC", p.flagC);
    if (p.flagC != 0) {
      e.U8("flagCByte", 1);
      e.U32("flagCDword", 0x01020304);
    }
    e.U8("flagD", p.flagD);
    if (p.flagD != 0) {
      e.U8("flagDByte", 1);
      e.U32("flagDDword", 0x05060708);
    }
    e.U8("byteE", p.byteE);
    e.U8("byteF", p.v6ByteF);
    e.CountedString("string", p.v6String);
    e.U8("byteG", p.v6ByteG);
  } else {
    e.U8("flagC", p.flagC);
    if (p.flagC == 2) {
      e.Fill("flagCData", 9);
    }
    e.U8("flagD", p.flagD);
    if (p.flagD != 0) {
      e.Fill("flagDData", 9);
    }
    e.U8("byteE", p.byteE);
    e.U8("countF", p.v10CountF);
    if (p.v10CountF != 0) {
      e.Fill("countFData", 2 * static_cast<int64_t>(p.v10CountF));
    }
    e.U8("countG", p.v10CountG);
    if (p.v10CountG != 0) {
      e.Fill("countGData", 2 * static_cast<int64_t>(p.v10CountG));
    }
    e.U8("byteH", p.v10ByteH);
  }
  e.Region("unknown", start);
}

void EmitHeader(Emitter& e, const FrfPage& p) {
  Scope scope(e, "header");
  uint32_t headerStart = e.Pos();
  e.Text("signature", p.signature);
  e.U8("version", p.version);
  e.U8("namesFlag", p.namesFlag.value_or(p.names ? 2 : 0));
  if (p.names) {
    e.CountedString("name1", p.name1);
    e.CountedString("name2", p.name2);
  }
  EmitHeaderUnknownBlock(e, p);
  uint32_t start = e.Pos();
  e.CountedString("imageName", p.imageName);
  e.Region("image", start);

  start = e.Pos();
  e.Fill("data1Lead", 9);
  e.U8("data1K", p.data1K);
  e.Region("data1Part1", start);
  start = e.Pos();
  if (p.version == 6 && p.data1K != 0) {
    e.Fill("data1Rest", 2 * static_cast<int64_t>(p.data1K) + 40);
  } else {
    e.Fill("data1Rest", 17);
  }
  e.Region("data1Part2", start);

  start = e.Pos();
  e.Fill("data2Lead", 10);
  e.I32("width", p.width);
  e.I32("height", p.height);
  e.I32("resolution", p.resolution);
  e.Region("data2", start);
  if (p.version == 10) {
    e.U32("extraDword", p.extraDword);
  }
  e.U8("constant", p.constant);

  start = e.Pos();
  e.U8("frameCount", p.frameCount.value_or(static_cast<uint8_t>(p.frames.size())));
  Bytes types;
  if (p.frameTypes) {
    types = *p.frameTypes;
  } else {
    for (const Frame& frame : p.frames) {
      types.push_back(FrameType(frame));
    }
  }
  e.Raw("frameTypes", types);
  e.Region("frameTable", start);
  e.Region("", headerStart);
}

void EmitEnd(Emitter& e, const FrfPage& p) {
  Scope scope(e, "end");
  uint32_t start = e.Pos();
  e.U8("marker", p.endMarker);
  if (p.endLongCount || p.endRecordCount >= 255) {
    e.U8("countByte", 255);
    e.U32("longCount", p.endRecordCount);
  } else {
    e.U8("countByte", static_cast<uint8_t>(p.endRecordCount));
  }
  e.Fill("records", 20 * static_cast<int64_t>(p.endRecordCount));
  e.Region("endOfFrames", start);
  uint32_t idStart = e.Pos();
  e.U32("identifier", p.endIdentifier);
  e.Text("signature", p.endSignature);
  e.Region("endId", idStart);
  e.Region("", start);
}

}  // namespace

// -----------------------------------------------------------------------------------------

LineRecord Line(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t chars) {
  LineRecord line;
  line.rect = Rect32{left, top, right, bottom};
  line.chars = chars;
  return line;
}

TextBlock MakeBlock(const std::u16string& text, const std::vector<LineRecord>& lines) {
  TextBlock block;
  block.text = text;
  block.lines = lines;
  return block;
}

BuiltFile Build(const FrfPage& page) {
  BuiltFile out;
  Emitter e(out, page.fill);
  EmitHeader(e, page);
  for (size_t k = 0; k < page.frames.size(); ++k) {
    Scope scope(e, Indexed("frame", k));
    uint32_t start = e.Pos();
    std::visit([&](const auto& frame) { EmitFrame(e, frame, page.version); }, page.frames[k]);
    e.Region("", start);
  }
  EmitEnd(e, page);
  e.Raw("trailing", page.trailing);
  return out;
}

const FieldInfo* BuiltFile::Find(const std::string& name) const {
  for (const FieldInfo& field : fields) {
    if (field.name == name) {
      return &field;
    }
  }
  ADD_FAILURE() << "the built file has no field \"" << name << "\"";
  return nullptr;
}

bool BuiltFile::Has(const std::string& name) const {
  return std::any_of(fields.begin(), fields.end(),
                     [&](const FieldInfo& f) { return f.name == name; });
}

uint32_t BuiltFile::Offset(const std::string& name) const {
  const FieldInfo* field = Find(name);
  return field != nullptr ? field->offset : 0xFFFFFFFFu;
}

uint32_t BuiltFile::Width(const std::string& name) const {
  const FieldInfo* field = Find(name);
  return field != nullptr ? field->width : 0;
}

uint32_t BuiltFile::End(const std::string& name) const {
  const FieldInfo* field = Find(name);
  return field != nullptr ? field->offset + field->width : 0xFFFFFFFFu;
}

void BuiltFile::SetField(const std::string& name, uint64_t value) {
  const FieldInfo* field = Find(name);
  if (field == nullptr) {
    return;
  }
  for (uint32_t i = 0; i < field->width && field->offset + i < bytes.size(); ++i) {
    bytes[field->offset + i] = static_cast<uint8_t>(i < 8 ? (value >> (8 * i)) & 0xFF : 0);
  }
}

void BuiltFile::SetBytes(uint32_t offset, const Bytes& value) {
  for (size_t i = 0; i < value.size() && offset + i < bytes.size(); ++i) {
    bytes[offset + i] = value[i];
  }
}

void BuiltFile::Truncate(uint32_t size) {
  if (size < bytes.size()) {
    bytes.resize(size);
  }
}

std::vector<FieldInfo> BuiltFile::Leaves() const {
  std::vector<FieldInfo> leaves;
  for (const FieldInfo& field : fields) {
    if (field.kind != FieldKind::kRegion && field.width > 0) {
      leaves.push_back(field);
    }
  }
  return leaves;
}

std::string BuiltFile::Write(const TempDir& dir, const std::string& name) const {
  return dir.Write(name, bytes);
}

FrfPage TwoBlockPage(uint8_t version) {
  FrfPage page;
  page.version = version;
  TextFrame frame;
  // "Hello wor¬" and a line end on the first line, "ld." on the second: the broken word is
  // joined into "world." on the second line.
  frame.body.blocks.push_back(MakeBlock(
      u"Hello wor\u00AC\u2028ld.", {Line(100, 200, 440, 260, 11), Line(100, 300, 200, 360, 3)}));
  // Non-ASCII letters on two lines.
  frame.body.blocks.push_back(
      MakeBlock(u"na\u00EFve caf\u00E9\u2028\u00DCbung",
                {Line(100, 400, 430, 460, 11), Line(100, 500, 250, 560, 5)}));
  page.frames.push_back(frame);
  return page;
}

FrfPage FramesPage(uint8_t version) {
  FrfPage page;
  page.version = version;
  page.width = 1700;
  page.height = 2200;
  page.resolution = 200;
  page.imageName = u"frames.tif";

  TextFrame text;
  text.body.blocks.push_back(MakeBlock(u"Figure 1", {Line(150, 100, 390, 140, 8)}));
  page.frames.push_back(text);

  PictureFrame picture;
  picture.recordCount = 1;
  page.frames.push_back(picture);

  TableFrame table;
  table.dimA = 1;
  table.dimB = 2;
  table.cells.resize(2);
  table.cells[0].body.blocks.push_back(MakeBlock(u"Cell one", {Line(150, 600, 390, 640, 8)}));
  table.cells[1].body.blocks.push_back(MakeBlock(u"Cell two", {Line(450, 600, 690, 640, 8)}));
  page.frames.push_back(table);

  page.frames.push_back(BarcodeFrame{});
  page.endRecordCount = 1;
  return page;
}

std::vector<std::string> FramesPageWords() {
  return {"Figure", "1", "Cell", "one", "Cell", "two"};
}

std::vector<std::string> TwoBlockPageWords() {
  return {"Hello", "wor- ", "world.", "na\\303\\257ve", "caf\\303\\251", "\\303\\234bung"};
}

}  // namespace testing_support
