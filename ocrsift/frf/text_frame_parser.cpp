// Text frames: the frame head, then the body with its names, its blocks and the end-of-frame
// record. Table cells reuse the body.
#include <cstdint>

#include "ocrsift/diagnostics/channels.h"
#include "ocrsift/frf/frame_records.h"
#include "ocrsift/frf/frf.h"
#include "ocrsift/frf/page_context.h"
#include "ocrsift/frf/parse_support.h"
#include "ocrsift/page/page_text_sink.h"

using namespace frf_detail;

namespace {

// The steps of the frame head (after the driver's 79) and of the body (after its 99).
constexpr int32_t STEP_HEAD_DATA1 = 80;
constexpr int32_t STEP_HEAD_DATA3 = 81;
constexpr int32_t STEP_COMPOUND_LANGUAGE = 100;
constexpr int32_t STEP_LANGUAGES = 101;
constexpr int32_t STEP_FONTS = 102;
constexpr int32_t STEP_BLOCK_COUNT = 103;  // and the blocks, which keep their own steps
// The end-of-frame record.
constexpr int32_t STEP_END_FIRST = 104;
constexpr int32_t STEP_END_PAIR = 105;  // version 10; version 6: the second byte
constexpr int32_t STEP_END_SELECTOR = 106;
constexpr int32_t STEP_END_VALUE = 107;
constexpr int32_t STEP_END_LAST = 108;
constexpr EqualBytesSteps kEndSteps6 = {STEP_END_FIRST, STEP_END_PAIR, STEP_END_SELECTOR,
                                        STEP_END_VALUE};

// The version-10 end-of-frame record of text frames: a byte and two of any value, then a
// selector: 255 for two zero fields, 0 for a byte and counted 8-byte records.
int ReadTextEndRecord10(FrfStream& stream, int32_t* step) {
  EnterStep(step, STEP_END_FIRST);
  uint8_t first = 0;
  RETURN_UNLESS_OK(ReadField(stream, first));
  EnterStep(step, STEP_END_PAIR);
  uint8_t pair[2];
  RETURN_UNLESS_OK(ReadBytes(stream, pair, sizeof pair));
  EnterStep(step, STEP_END_SELECTOR);
  uint8_t selector = 0;
  RETURN_UNLESS_OK(ReadField(stream, selector));
  if (selector == 255) {
    EnterStep(step, STEP_END_VALUE);
    RETURN_UNLESS_OK(ReadExpected<uint32_t>(stream, 0));
    EnterStep(step, STEP_END_LAST);
    return ReadExpected<uint8_t>(stream, 0);
  }
  if (selector != 0)
    return PARSE_BAD_FORMAT;
  EnterStep(step, STEP_END_VALUE);
  uint8_t unused = 0;
  RETURN_UNLESS_OK(ReadField(stream, unused));
  EnterStep(step, STEP_END_LAST);
  int32_t recordCount = 0;
  RETURN_UNLESS_OK(ReadField(stream, recordCount));
  stream.Skip(WrapLinear(8, recordCount, 0));
  return PARSE_OK;
}

}  // namespace

int ParseFrameHead(PageContext& page, int32_t /*frameNumber*/, int32_t* step) {
  EnterStep(step, STEP_HEAD_DATA1);
  RETURN_UNLESS_OK(
      ReadFrameHeadData1(page, HeadByte::kNone, "\n\n *** Frame: Unknow block DATA_1 part 3 ***"));
  ReportVerbose("\nFrame offset=%08lX", OffsetValue(page.stream.Position()));
  EnterStep(step, STEP_HEAD_DATA3);
  return ReadData3(page, 7, "\n\n *** Frame: Unknow block DATA3 ***");
}

int ParseTextFrame(PageContext& page, int32_t frameNumber, int32_t* step) {
  FrfStream& stream = page.stream;
  char name[NARROW_FONT_SIZE];
  uint8_t length = 0;
  PageTextSink* sink = page.sink;
  AreaNames names;

  ReportVerbose("\nFrame %d, offset=%08lX", frameNumber, OffsetValue(stream.Position()));

  EnterStep(step, STEP_COMPOUND_LANGUAGE);
  RETURN_UNLESS_OK(ReadCountedName(page, name, NarrowRoom(FONT_CAPACITY), &length));
  ReportVerbose("\nCompound lang: %s", name);
  stream.Skip(5);

  EnterStep(step, STEP_LANGUAGES);
  int32_t languageCount = 0;
  RETURN_UNLESS_OK(ReadField(stream, languageCount));
  for (int32_t i = 0; i < languageCount; ++i) {
    RETURN_UNLESS_OK(ReadField(stream, length));
    // An empty language is not shown, but it still takes up its number.
    if (length == 0)
      continue;
    RETURN_UNLESS_OK(
        ReadText(page, name, NarrowRoom(FONT_CAPACITY), length, TextMarks::InNarrowFormOnly));
    ReportVerbose("\nLanguage #%d:  %s", i + 1, name);
    if (sink != nullptr)
      names.languages.push_back(UnitsOfWideText(page));
  }

  EnterStep(step, STEP_FONTS);
  int32_t fontCount = 0;
  RETURN_UNLESS_OK(ReadField(stream, fontCount));
  for (int32_t i = 0; i < fontCount; ++i) {
    RETURN_UNLESS_OK(ReadCountedName(page, name, NarrowRoom(FONT_CAPACITY), &length,
                                     TextMarks::InNarrowFormOnly));
    ReportVerbose("\nFont %d:   %s", i + 1, name);
    if (sink != nullptr && length != 0)
      names.fonts.push_back(UnitsOfWideText(page));
  }
  ReportVerbose("\n");
  if (sink != nullptr)
    sink->BeginArea(names);

  EnterStep(step, STEP_BLOCK_COUNT);
  uint8_t blockCount = 0;
  RETURN_UNLESS_OK(ReadField(stream, blockCount));
  ReportVerbose("\nBlocks:   %d", blockCount);

  for (int32_t block = 1; block <= blockCount; ++block) {
    const int result = ParseBlock(page, frameNumber, block);
    if (IsParseFailure(result))
      return result;
  }

  ReportVerbose("\nEnd Frame, offset=%08lX (end frame block)", OffsetValue(stream.Position()));
  const int32_t regionStart = stream.Position();
  RETURN_UNLESS_OK(page.IsVersion10() ? ReadTextEndRecord10(stream, step)
                                      : ReadEqualBytesEndRecord(page, kEndSteps6, step));
  ListRegion(stream, 10, "\n\n *** End Frame: Unknow block ***", regionStart, RegionLast(stream));
  ReportVerbose("\nEnd Frame, offset=%08lX", OffsetValue(stream.Position()));
  if (sink != nullptr)
    sink->EndArea();
  return PARSE_OK;
}
