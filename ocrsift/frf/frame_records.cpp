#include "ocrsift/frf/frame_records.h"

#include "ocrsift/diagnostics/channels.h"
#include "ocrsift/frf/frf.h"
#include "ocrsift/frf/parse_support.h"

namespace frf_detail {

namespace {

// The fixed part of every frame head: 25 bytes in version-6 files, 27 in version-10 ones
// (tables included).
int32_t FrameHeadFixedLength(const PageContext& page) {
  return page.IsVersion10() ? 27 : 25;
}

}  // namespace

int ReadCountedName(PageContext& page, char* output, int outputSize, uint8_t* length,
                    TextMarks marks) {
  uint8_t count = 0;
  RETURN_UNLESS_OK(ReadField(page.stream, count));
  if (length != nullptr)
    *length = count;
  return ReadText(page, output, outputSize, count, marks);
}

int ReadFrameHeadData1(PageContext& page, HeadByte headByte, const char* title) {
  FrfStream& stream = page.stream;
  const int32_t regionStart = stream.Position();
  uint8_t leadLength = 0;
  RETURN_UNLESS_OK(ReadField(stream, leadLength));
  if (leadLength != 0)
    stream.Skip(leadLength);
  if (headByte != HeadByte::kNone) {
    uint8_t value = 0;
    RETURN_UNLESS_OK(ReadField(stream, value));
    if (headByte == HeadByte::kZero && value != 0)
      return PARSE_BAD_FORMAT;
  }
  stream.Skip(FrameHeadFixedLength(page));
  ListRegion(stream, 8, title, regionStart, RegionLast(stream));
  return PARSE_OK;
}

int ReadData3(PageContext& page, int32_t tail, const char* title) {
  FrfStream& stream = page.stream;
  const int32_t regionStart = stream.Position();
  int32_t recordCount = 0;
  RETURN_UNLESS_OK(ReadField(stream, recordCount));
  stream.Skip(WrapLinear(16, recordCount, 0));
  if (tail != 0)
    stream.Skip(tail);
  ListRegion(stream, 9, title, regionStart, RegionLast(stream));
  return PARSE_OK;
}

int ReadEqualBytesEndRecord(PageContext& page, const EqualBytesSteps& steps, int32_t* step) {
  FrfStream& stream = page.stream;
  EnterStep(step, steps.first);
  uint8_t first = 0;
  RETURN_UNLESS_OK(ReadField(stream, first));
  EnterStep(step, steps.second);
  RETURN_UNLESS_OK(ReadExpected(stream, first));
  EnterStep(step, steps.third);
  RETURN_UNLESS_OK(ReadExpected(stream, first));
  EnterStep(step, steps.word);
  return ReadExpected<uint16_t>(stream, 0);
}

}  // namespace frf_detail
