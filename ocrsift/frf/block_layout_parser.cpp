// The layout part of a text block: the Data4_0 and Data4_1 sections, the line and paragraph
// rectangles, and (version 10) unknown blocks 3 and 4.
#include <cstdint>

#include "ocrsift/diagnostics/channels.h"
#include "ocrsift/frf/frf.h"
#include "ocrsift/frf/page_context.h"
#include "ocrsift/frf/parse_support.h"
#include "ocrsift/frf/text_block_parts.h"
#include "ocrsift/page/page_text_sink.h"

using namespace frf_detail;

namespace {

// The steps of the layout (after its base 240); version-6 blocks end after the rectangles.
constexpr int32_t STEP_DATA40 = 241;
constexpr int32_t STEP_DATA41 = 242;
constexpr int32_t STEP_LINE_COUNT = 243;
constexpr int32_t STEP_LINES = 244;
constexpr int32_t STEP_LINE_CHARS = 245;
constexpr int32_t STEP_PARAGRAPH = 246;
constexpr int32_t STEP_BLOCK3_A = 247;
constexpr int32_t STEP_BLOCK3_B = 248;
constexpr int32_t STEP_BLOCK3_RECORD = 249;
constexpr int32_t STEP_BLOCK4_RECORDS = 250;
constexpr int32_t STEP_BLOCK4_FLAG = 251;
constexpr int32_t STEP_BLOCK4_MARKER = 252;

constexpr int32_t kBitmapHeaderSize = 40;
constexpr int32_t kBitmapHeaderRest = 28;  // after the size and the two dimensions
constexpr int32_t kData41EntryRest = 14;
constexpr int32_t kLineRectSize = 24;
constexpr int32_t kParaRectSize = 16;
constexpr int32_t kBlock3RecordSize = 36;

// One version-10 Data4_0 entry: a character count, a picture flag and, when flagged, a bitmap
// picture with its header.
int ReadData40Entry(FrfStream& stream, uint32_t& charSum) {
  int32_t chars = 0;
  RETURN_UNLESS_OK(ReadField(stream, chars));
  charSum += static_cast<uint32_t>(chars);
  int32_t pictureFlag = 0;
  RETURN_UNLESS_OK(ReadField(stream, pictureFlag));
  if (pictureFlag == 0)
    return PARSE_OK;
  stream.Skip(4);
  RETURN_UNLESS_OK(ReadExpected(stream, kBitmapHeaderSize));
  int32_t pictureWidth = 0;
  int32_t pictureHeight = 0;
  RETURN_UNLESS_OK(ReadField(stream, pictureWidth));
  RETURN_UNLESS_OK(ReadField(stream, pictureHeight));
  stream.Skip(kBitmapHeaderRest);
  int32_t dataLength = 0;
  RETURN_UNLESS_OK(ReadField(stream, dataLength));
  stream.Skip(dataLength);
  return PARSE_OK;
}

int ReadData40(PageContext& page, int32_t n) {
  FrfStream& stream = page.stream;
  RETURN_UNLESS_OK(ReadExpected(stream, n));  // the count check
  if (n == 0)
    return ReadExpected<int32_t>(stream, 0);  // the terminator
  int32_t entryCount = 0;
  RETURN_UNLESS_OK(ReadField(stream, entryCount));
  if (!page.IsVersion10()) {
    // One entry of all n characters, and a zero.
    if (entryCount != 1)
      return PARSE_BAD_FORMAT;
    RETURN_UNLESS_OK(ReadExpected(stream, n));
    return ReadExpected<int32_t>(stream, 0);
  }
  uint32_t charSum = 0;
  for (int32_t i = 0; i < entryCount; ++i)
    RETURN_UNLESS_OK(ReadData40Entry(stream, charSum));
  return static_cast<int32_t>(charSum) == n ? PARSE_OK : PARSE_BAD_FORMAT;
}

int ReadData41(FrfStream& stream, int32_t n) {
  RETURN_UNLESS_OK(ReadExpected(stream, n));  // the count check
  int32_t entryCount = 0;
  RETURN_UNLESS_OK(ReadField(stream, entryCount));
  // The count is taken down to zero, so a negative count goes on until the file ends: every
  // entry reads four bytes, and the stream stays at its end once it got there.
  uint32_t charSum = 0;
  for (uint32_t left = static_cast<uint32_t>(entryCount); left != 0; --left) {
    int32_t chars = 0;
    RETURN_UNLESS_OK(ReadField(stream, chars));
    charSum += static_cast<uint32_t>(chars);
    stream.Skip(kData41EntryRest);
  }
  return static_cast<int32_t>(charSum) == n ? PARSE_OK : PARSE_BAD_FORMAT;
}

int ReadRectangles(PageContext& page, int32_t n, int32_t* step) {
  FrfStream& stream = page.stream;
  EnterStep(step, STEP_LINE_COUNT);
  uint8_t lineCount = 0;
  RETURN_UNLESS_OK(ReadField(stream, lineCount));
  EnterStep(step, STEP_LINES);
  PageTextSink* sink = page.sink;
  uint32_t charSum = 0;
  for (int32_t i = 0; i < lineCount; ++i) {
    uint8_t record[kLineRectSize];
    RETURN_UNLESS_OK(ReadBytes(stream, record, kLineRectSize));
    const int32_t left = Int32At(record);
    const int32_t top = Int32At(record + 4);
    const int32_t right = Int32At(record + 8);
    const int32_t bottom = Int32At(record + 12);
    const int32_t chars = Int32At(record + 20);  // record + 16 is not used
    ReportVerbose("\n  line rect: %04X, %04X, %04X, %04X, chars=%d", HexValue(left), HexValue(top),
                  HexValue(right), HexValue(bottom), chars);
    charSum += static_cast<uint32_t>(chars);
    if (sink != nullptr)
      sink->EmitLine(left, top, right, bottom, chars);
  }
  EnterStep(step, STEP_LINE_CHARS);
  if (static_cast<int32_t>(charSum) != n)
    return PARSE_BAD_FORMAT;
  EnterStep(step, STEP_PARAGRAPH);
  uint8_t para[kParaRectSize];
  RETURN_UNLESS_OK(ReadBytes(stream, para, kParaRectSize));
  ReportVerbose("\n  para rect: %04X, %04X, %04X, %04X", HexValue(Int32At(para)),
                HexValue(Int32At(para + 4)), HexValue(Int32At(para + 8)),
                HexValue(Int32At(para + 12)));
  return PARSE_OK;
}

int ReadUnknownBlock3(FrfStream& stream, int32_t* step) {
  EnterStep(step, STEP_BLOCK3_A);
  RETURN_UNLESS_OK(ReadExpected<int32_t>(stream, 2));
  EnterStep(step, STEP_BLOCK3_B);
  RETURN_UNLESS_OK(ReadExpected<int32_t>(stream, 1));
  EnterStep(step, STEP_BLOCK3_RECORD);
  uint8_t record[kBlock3RecordSize];
  RETURN_UNLESS_OK(ReadBytes(stream, record, kBlock3RecordSize));
  return Int32At(record) == 2 ? PARSE_OK : PARSE_BAD_FORMAT;
}

int ReadUnknownBlock4(FrfStream& stream, int32_t* step) {
  EnterStep(step, STEP_BLOCK4_RECORDS);
  int32_t recordCount = 0;
  RETURN_UNLESS_OK(ReadField(stream, recordCount));
  if (recordCount != 0)
    stream.Skip(WrapLinear(8, recordCount, 0));
  EnterStep(step, STEP_BLOCK4_FLAG);
  uint8_t flag = 0;
  RETURN_UNLESS_OK(ReadField(stream, flag));
  if (flag != 0)
    stream.Skip(WrapLinear(8, recordCount, 2));
  EnterStep(step, STEP_BLOCK4_MARKER);
  RETURN_UNLESS_OK(ReadExpected<uint8_t>(stream, 2));
  stream.Skip(6);
  return PARSE_OK;
}

}  // namespace

int ParseBlockLayout(PageContext& page, int32_t blockNumber, int32_t n, int32_t* step) {
  FrfStream& stream = page.stream;

  ReportVerbose("\nBlock %d, offset=%08lX (unknow block2)", blockNumber,
                OffsetValue(stream.Position()));
  EnterStep(step, STEP_DATA40);
  int32_t regionStart = stream.Position();
  RETURN_UNLESS_OK(ReadData40(page, n));
  ListRegion(stream, 23, "\n\n *** Block: Unknow block Data4_0 ***", regionStart,
             RegionLast(stream));

  ReportVerbose("\nBlock %d, offset=%08lX (unknow block DATA4_1)", blockNumber,
                OffsetValue(stream.Position()));
  EnterStep(step, STEP_DATA41);
  regionStart = stream.Position();
  if (page.IsVersion10()) {
    RETURN_UNLESS_OK(ReadData41(stream, n));
  }
  ListRegion(stream, 5, "\n\n *** Block: Unknow block Data4_1 ***", regionStart,
             RegionLast(stream));

  regionStart = stream.Position();
  RETURN_UNLESS_OK(ReadRectangles(page, n, step));
  ListRegion(stream, 6, "\n\n *** Block: Rectangles ***", regionStart, RegionLast(stream));

  regionStart = stream.Position();
  if (page.IsVersion10()) {
    ReportVerbose("\nBlock %d, offset=%08lX (unknow block3)", blockNumber,
                  OffsetValue(stream.Position()));
    RETURN_UNLESS_OK(ReadUnknownBlock3(stream, step));
  }
  ListRegion(stream, 7, "\n\n *** Block: Unknow block 3 ***", regionStart, RegionLast(stream));

  regionStart = stream.Position();
  if (page.IsVersion10()) {
    ReportVerbose("\nBlock %d, offset=%08lX (unknow block4)", blockNumber,
                  OffsetValue(stream.Position()));
    RETURN_UNLESS_OK(ReadUnknownBlock4(stream, step));
  }
  ListRegion(stream, 22, "\n\n *** Block: Unknow block 4 ***", regionStart, RegionLast(stream));
  return PARSE_OK;
}
