// Composes FRF work files (versions 6 and 10) field by field for the tests, and records the
// name, offset and width of every field it writes, so that a test can damage one field, cut
// the file anywhere, and say where a parser must report the failure.
//
// Each element of the file has a description struct whose defaults give a valid element;
// every count that follows from the content (check counts, box count, mask length, the layout
// counts, the frame count and types) is computed unless the description overrides it, so an
// invalid file is built on purpose by setting one override.
//
// Field names are dotted paths, indices 0-based: "header.version", "frame0.leadLength",
// "frame0.block1.textCount", "frame2.cell0.block0.boxes", "end.identifier". Regions (whole
// elements such as "frame0", "frame0.block1", "frame0.block1.part3", "header.data2") are
// recorded too, with kind kRegion.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "tests/support/test_files.h"

namespace testing_support {

using Bytes = std::vector<uint8_t>;

// The text marks of FRF text: the hyphen of a word broken at a line end, and a line end.
constexpr char16_t kHyphenMark = u'\u00AC';
constexpr char16_t kLineEndMark = u'\u2028';

struct Rect32 {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

struct Box16 {
  uint16_t left = 0;
  uint16_t top = 0;
  uint16_t right = 0;
  uint16_t bottom = 0;
};

// One line record of a block's layout: the line rectangle and the number of code units of
// the block's text that belong to the line.
struct LineRecord {
  Rect32 rect;
  int32_t chars = 0;
  int32_t unused = 0;
};

// A version-10 Data4_0 entry; with a nonzero picture flag it carries a bitmap picture.
struct LayoutEntry {
  int32_t chars = 0;
  int32_t pictureFlag = 0;
  int32_t headerSize = 40;  // size field of the BITMAPINFOHEADER
  int32_t bitmapWidth = 4;
  int32_t bitmapHeight = 2;
  Bytes pictureData;
  std::optional<int32_t> dataLength;  // default: pictureData.size()
};

// How a version-6 block head ends. kCountAsProbe: the 64 head bytes are followed directly by
// the text count, whose first byte the reader takes as its probe (for a text count of 0 the
// probe byte 0 is followed by the check count, a nonzero dword). kFiller: an 8-byte filler 00,
// a dword (fillerWord, 0 in valid files), 3 bytes, then the text count.
enum class V6HeadForm { kCountAsProbe, kFiller };

struct TextBlock {
  std::u16string text;
  // Empty: one line holding the whole text (none for an empty text).
  std::vector<LineRecord> lines;
  // Absent: text.size() + 1 boxes generated from the line rectangles (the last one zero).
  std::optional<std::vector<Box16>> boxes;
  // Absent: the union of the line rectangles.
  std::optional<Rect32> para;

  // Part 1, the block head.
  V6HeadForm v6Head = V6HeadForm::kCountAsProbe;
  uint32_t v6FillerWord = 0;
  uint8_t v10Marker = 4;
  int32_t v10HeadRecords = 0;  // m: 7·m + 2 bytes follow the count

  // Part 2, the text count: the short form unless longCount is set or the count needs the
  // long form (above 254 or negative).
  bool longCount = false;
  std::optional<int32_t> textCount;  // default text.size(); the text written stays `text`

  // Part 3, unknown block 1.
  std::optional<int32_t> checkCount;  // default n + 1
  int32_t unknown1Records = 1;

  // Part 4, character boxes.
  std::optional<int32_t> boxCount;  // default: the number of boxes written
  uint8_t boxEnd = 0;

  // Part 5, mask array.
  std::optional<int32_t> maskLength;  // default: the number of mask bytes written
  std::optional<Bytes> mask;          // default: n + 1 bytes

  // Part 6, Data4_0.
  std::optional<int32_t> data40Count;       // default n
  int32_t data40Terminator = 0;             // for n == 0
  std::optional<int32_t> data40EntryCount;  // default: 1 (version 6), entries.size() (10)
  std::optional<int32_t> v6Data40Chars;     // default n
  int32_t v6Data40Zero = 0;
  std::optional<std::vector<LayoutEntry>> data40Entries;  // version 10; default one entry of n

  // Part 6, Data4_1 (version 10).
  std::optional<int32_t> data41Count;                 // default n
  std::optional<std::vector<int32_t>> data41Entries;  // character counts; default {n}
  std::optional<int32_t> data41EntryCount;            // default entries.size()

  // Part 6, rectangles.
  std::optional<uint8_t> lineCount;  // default lines.size()

  // Part 6, unknown blocks 3 and 4 (version 10).
  int32_t unknown3A = 2;
  int32_t unknown3B = 1;
  int32_t unknown3First = 2;
  int32_t unknown4Count = 0;
  uint8_t unknown4Flag = 0;
  uint8_t unknown4Marker = 2;
};

// A block whose lines are given as (rectangle, chars); boxes are generated.
TextBlock MakeBlock(const std::u16string& text, const std::vector<LineRecord>& lines = {});
LineRecord Line(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t chars);

// The end-of-frame record of a text frame (or table cell).
struct FrameEnd {
  // Version 6: three equal bytes and a zero word.
  uint8_t v6A = 7;
  std::optional<uint8_t> v6B;  // default v6A
  std::optional<uint8_t> v6C;  // default v6A
  uint16_t v6Word = 0;
  // Version 10: a byte, two bytes, selector 255 (then a zero dword and a zero byte) or 0
  // (then a byte and a counted list of 8-byte records).
  uint8_t v10Byte = 0;
  uint8_t v10Pair[2] = {0, 0};
  uint8_t selector = 255;
  uint32_t value = 0;
  uint8_t zero = 0;
  uint8_t any = 0;
  int32_t recordCount = 0;
};

// Compound language, languages, fonts, blocks and the end-of-frame record.
struct TextFrameBody {
  std::u16string compoundLanguage = u"EnglishRussian";
  std::vector<std::u16string> languages = {u"English", u"Russian"};
  std::vector<std::u16string> fonts = {u"Times New Roman"};
  std::vector<TextBlock> blocks;
  std::optional<int32_t> languageCount;
  std::optional<int32_t> fontCount;
  std::optional<uint8_t> blockCount;
  FrameEnd end;
};

struct TextFrame {
  Bytes lead;                         // the lead bytes after the lead length
  std::optional<uint8_t> leadLength;  // default lead.size()
  int32_t recordCount = 0;            // 16-byte records of the frame head
  TextFrameBody body;
};

struct PictureFrame {
  Bytes lead;
  uint8_t marker = 0;
  int32_t recordCount = 0;
};

struct TableCell {
  uint8_t firstByte = 0;
  uint8_t kind = 1;                       // the first cell: 1 (28 more descriptor bytes) or 2 (23)
  std::optional<int32_t> descriptorRest;  // default from the kind and the cell's position
  TextFrameBody body;
};

struct TableFrame {
  Bytes lead;
  uint8_t secondByte = 0;
  std::optional<int32_t> fixedLength;  // default 25 (version 6) or 27 (version 10)
  int32_t recordCount = 0;
  uint32_t zero = 0;
  uint8_t dimA = 1;
  uint8_t dimB = 1;
  bool longCellCount = false;        // cell count byte 255 and an int32 count
  std::optional<int32_t> cellCount;  // default cells.size()
  std::vector<TableCell> cells;
};

struct BarcodeFrame {
  Bytes lead;
  uint8_t marker = 0;
  int32_t recordCount = 0;
  uint8_t languageCount = 3;  // 3: two names, 2: one name (the second), other: none
  uint32_t zero = 0;
  std::u16string language1 = u"English";
  std::u16string language2 = u"Digits";
  int32_t fontCount = 2;  // 2: two names, 1: one name (the second), other: none
  std::u16string font1 = u"Arial";
  std::u16string font2 = u"Courier New";
  std::vector<uint32_t> blocks = {1};  // the leading dword of each 195-byte block
  // Version 6 end record: three equal bytes and a zero word.
  uint8_t v6A = 7;
  std::optional<uint8_t> v6B;
  std::optional<uint8_t> v6C;
  uint16_t v6Word = 0;
  // Version 10 end record.
  uint8_t v10Marker = 255;
  uint32_t v10Marker2 = 65535;
  int32_t v10RecordCount = 0;
};

// A frame type the reader does not know; its bytes are written as they are.
struct UnknownFrame {
  uint8_t type = 2;
  Bytes bytes;
};

using Frame = std::variant<TextFrame, PictureFrame, TableFrame, BarcodeFrame, UnknownFrame>;

struct FrfPage {
  uint8_t version = 10;
  std::string signature = "FR5S";
  // Unused regions (skipped by the reader) are filled with this byte.
  uint8_t fill = 0;

  bool names = false;
  std::optional<uint8_t> namesFlag;  // default 2 with names, else 0
  std::u16string name1 = u"Batch";
  std::u16string name2 = u"Page 1";

  // Header unknown block.
  uint16_t wordA = 0;
  uint16_t wordB = 0;
  uint8_t flagC = 0;  // version 10: 9 bytes follow only when flagC is 2
  uint8_t flagD = 0;
  uint8_t byteE = 0;
  uint8_t v6ByteF = 0;
  std::u16string v6String;
  uint8_t v6ByteG = 0;
  uint8_t v10CountF = 0;
  uint8_t v10CountG = 0;
  uint8_t v10ByteH = 0;

  std::u16string imageName = u"page0001.tif";
  uint8_t data1K = 0;  // version 6: DATA1 part 2 is 2·k + 40 bytes, or 17 for k = 0
  int32_t width = 2480;
  int32_t height = 3508;
  int32_t resolution = 300;
  uint32_t extraDword = 0;  // version 10
  uint8_t constant = 1;

  std::vector<Frame> frames;
  std::optional<uint8_t> frameCount;  // default frames.size()
  std::optional<Bytes> frameTypes;    // default the types of the frames

  // End of frames and end identifier.
  uint8_t endMarker = 0;
  uint32_t endRecordCount = 0;
  bool endLongCount = false;  // count byte 255 and a uint32 count (forced for counts >= 255)
  uint32_t endIdentifier = 0xB80875BC;
  std::string endSignature = "FR5S";
  Bytes trailing;  // after the end signature
};

enum class FieldKind { kValue, kBytes, kRegion };

struct FieldInfo {
  std::string name;
  uint32_t offset = 0;
  uint32_t width = 0;
  FieldKind kind = FieldKind::kValue;
};

class BuiltFile {
 public:
  Bytes bytes;
  std::vector<FieldInfo> fields;  // leaves in file order; a region after its content

  // The field of that name; a test failure and null when there is none.
  const FieldInfo* Find(const std::string& name) const;
  bool Has(const std::string& name) const;
  uint32_t Offset(const std::string& name) const;
  uint32_t Width(const std::string& name) const;
  uint32_t End(const std::string& name) const;  // offset + width
  // Overwrites the field with value, little-endian over its width (bytes beyond the eighth
  // become 0).
  void SetField(const std::string& name, uint64_t value);
  void SetBytes(uint32_t offset, const Bytes& value);
  void Truncate(uint32_t size);
  // The fields that hold data (values and byte ranges), without regions.
  std::vector<FieldInfo> Leaves() const;
  std::string Write(const TempDir& dir, const std::string& name) const;
  std::string AsString() const { return std::string(bytes.begin(), bytes.end()); }
};

BuiltFile Build(const FrfPage& page);

// The page used by samples and corpus tests: one text frame of two blocks, the first with a
// word broken by a hyphen ("Hello wor¬" / "ld."), the second with non-ASCII text.
FrfPage TwoBlockPage(uint8_t version);
// The djvused words (as they appear between the quotes) that TwoBlockPage yields.
std::vector<std::string> TwoBlockPageWords();
// A page of the four frame kinds: a text frame ("Figure 1"), a picture frame, a table of two
// cells ("Cell one", "Cell two") and a barcode frame.
FrfPage FramesPage(uint8_t version);
std::vector<std::string> FramesPageWords();

}  // namespace testing_support
