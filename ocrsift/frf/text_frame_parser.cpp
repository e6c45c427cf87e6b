// Text frames: the frame head, then the body with its names, its blocks and the end-of-frame
// record. Table cells reuse the body.
#include <cstdint>

#include "ocrsift/diagnostics/channels.h"
#include "ocrsift/frf/frame_records.h"
#include "ocrsift/frf/frf.h"
#include "ocrsift/frf/parse_support.h"
#include "ocrsift/frf/run_state.h"

using namespace frf_detail;

namespace {

int ReadEndOfFrame10(FrfStream& stream, int32_t* step) {
  ++*step;  // 104
  uint8_t first = 0;
  RETURN_UNLESS_OK(ReadField(stream, first));
  ++*step;  // 105
  uint8_t pair[2];
  if (!stream.Read(pair, sizeof pair))
    return PARSE_EOF;
  ++*step;  // 106
  uint8_t selector = 0;
  RETURN_UNLESS_OK(ReadField(stream, selector));
  if (selector == 255) {
    ++*step;  // 107
    RETURN_UNLESS_OK(ReadExpected<uint32_t>(stream, 0));
    ++*step;  // 108
    return ReadExpected<uint8_t>(stream, 0);
  }
  if (selector != 0)
    return PARSE_BAD_FORMAT;
  ++*step;  // 107
  uint8_t unused = 0;
  RETURN_UNLESS_OK(ReadField(stream, unused));
  ++*step;  // 108
  int32_t recordCount = 0;
  RETURN_UNLESS_OK(ReadField(stream, recordCount));
  stream.Skip(WrapLinear(8, recordCount, 0));
  return PARSE_OK;
}

}  // namespace

int ParseFrameHead(int32_t /*frameNumber*/, int32_t* step) {
  FrfStream* current = gRunState.CurrentStream.get();
  if (current == nullptr)
    return PARSE_EOF;
  FrfStream& stream = *current;

  int32_t regionStart = stream.Position();
  ++*step;  // 80
  uint8_t leadLength = 0;
  if (!stream.ReadByte(leadLength))
    return PARSE_EOF;
  if (leadLength != 0)
    stream.Skip(leadLength);
  stream.Skip(FrameHeadFixedLength());
  ListRegion(stream, 8, "\n\n *** Frame: Unknow block DATA_1 part 3 ***", regionStart,
             RegionLast(stream));

  ReportVerbose("\nFrame offset=%08lX", OffsetValue(stream.Position()));

  regionStart = stream.Position();
  ++*step;  // 81
  int32_t recordCount = 0;
  if (!stream.ReadDword(recordCount))
    return PARSE_EOF;
  stream.Skip(WrapLinear(16, recordCount, 0));
  stream.Skip(7);
  ListRegion(stream, 9, "\n\n *** Frame: Unknow block DATA3 ***", regionStart, RegionLast(stream));
  return PARSE_OK;
}

int ParseTextFrame(int32_t frameNumber, int32_t* step) {
  FrfStream* current = gRunState.CurrentStream.get();
  if (current == nullptr)
    return PARSE_EOF;
  FrfStream& stream = *current;
  char name[NARROW_FONT_SIZE];
  uint8_t length = 0;
  PageTextSink* writer = Writer();
  AreaNames names;

  ReportVerbose("\nFrame %d, offset=%08lX", frameNumber, OffsetValue(stream.Position()));

  ++*step;  // 100
  if (!ReadCountedName(stream, name, NarrowRoom(FONT_CAPACITY), &length))
    return PARSE_EOF;
  ReportVerbose("\nCompound lang: %s", name);
  stream.Skip(5);

  ++*step;  // 101
  int32_t languageCount = 0;
  if (!stream.ReadDword(languageCount))
    return PARSE_EOF;
  for (int32_t i = 0; i < languageCount; ++i) {
    if (!stream.ReadByte(length))
      return PARSE_EOF;
    // An empty language is not shown, but it still takes up its number.
    if (length == 0)
      continue;
    if (ReadNarrowString(name, NarrowRoom(FONT_CAPACITY), length) == 0)
      return PARSE_EOF;
    ReportVerbose("\nLanguage #%d:  %s", i + 1, name);
    if (writer != nullptr)
      names.languages.push_back(Utf8OfWideText());
  }

  ++*step;  // 102
  int32_t fontCount = 0;
  if (!stream.ReadDword(fontCount))
    return PARSE_EOF;
  for (int32_t i = 0; i < fontCount; ++i) {
    if (!ReadCountedName(stream, name, NarrowRoom(FONT_CAPACITY), &length))
      return PARSE_EOF;
    ReportVerbose("\nFont %d:   %s", i + 1, name);
    if (writer != nullptr && length != 0)
      names.fonts.push_back(Utf8OfWideText());
  }
  ReportVerbose("\n");
  if (writer != nullptr)
    writer->BeginArea(names);

  ++*step;  // 103
  uint8_t blockCount = 0;
  if (!stream.ReadByte(blockCount))
    return PARSE_EOF;
  ReportVerbose("\nBlocks:   %d", blockCount);

  for (int32_t block = 1; block <= blockCount; ++block) {
    const int result = ParseBlock(frameNumber, block);
    if (IsParseFailure(result))
      return result;
  }

  ReportVerbose("\nEnd Frame, offset=%08lX (end frame block)", OffsetValue(stream.Position()));
  const int32_t regionStart = stream.Position();
  const int result =
      IsVersion10() ? ReadEndOfFrame10(stream, step) : ReadEqualBytesEndRecord(stream, step);
  if (result != PARSE_OK)
    return result;
  ListRegion(stream, 10, "\n\n *** End Frame: Unknow block ***", regionStart, RegionLast(stream));
  ReportVerbose("\nEnd Frame, offset=%08lX", OffsetValue(stream.Position()));
  if (writer != nullptr)
    writer->EndArea();
  return PARSE_OK;
}
