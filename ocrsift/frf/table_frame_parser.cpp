// Table frames: a head, a table descriptor, then one text frame body per cell.
#include <cstdint>

#include "ocrsift/diagnostics/channels.h"
#include "ocrsift/frf/frame_records.h"
#include "ocrsift/frf/frf.h"
#include "ocrsift/frf/page_context.h"
#include "ocrsift/frf/parse_support.h"

using namespace frf_detail;

namespace {

// The steps of a table frame (after the driver's 399). The cells count as the descriptor's
// step: each has a step number of its own that no report quotes.
constexpr int32_t STEP_TABLE_DATA1 = 400;
constexpr int32_t STEP_TABLE_DATA3 = 401;
constexpr int32_t STEP_TABLE_DESCRIPTOR = 402;
constexpr int32_t STEP_CELL_BASE = 99;  // the base of a text frame body

// The descriptor of the first cell names its own length; later cells have the fixed length
// of their format version.
constexpr int32_t kFirstCellRestKind1 = 28;
constexpr int32_t kFirstCellRestKind2 = 23;
constexpr int32_t kLaterCellRest6 = 27;
constexpr int32_t kLaterCellRest10 = 22;

}  // namespace

int ParseTableFrame(PageContext& page, int32_t /*frameNumber*/, int32_t* step) {
  FrfStream& stream = page.stream;

  EnterStep(step, STEP_TABLE_DATA1);
  RETURN_UNLESS_OK(ReadFrameHeadData1(page, HeadByte::kAny,
                                      "\n\n *** Table Frame: Unknow block DATA_1 part 3 ***"));
  ReportVerbose("\nTable Frame offset=%08lX", OffsetValue(stream.Position()));

  EnterStep(step, STEP_TABLE_DATA3);
  RETURN_UNLESS_OK(ReadData3(page, 0, "\n\n *** Table Frame: Unknow block DATA3 ***"));
  ReportVerbose("\nTable Frame offset=%08lX", OffsetValue(stream.Position()));

  int32_t regionStart = stream.Position();
  EnterStep(step, STEP_TABLE_DESCRIPTOR);
  RETURN_UNLESS_OK(ReadExpected<uint32_t>(stream, 0));
  uint8_t a = 0;
  uint8_t b = 0;
  uint8_t countByte = 0;
  RETURN_UNLESS_OK(ReadField(stream, a));
  RETURN_UNLESS_OK(ReadField(stream, b));
  RETURN_UNLESS_OK(ReadField(stream, countByte));
  int32_t cellCount = countByte;
  if (countByte == 255)
    RETURN_UNLESS_OK(ReadField(stream, cellCount));
  // a·(b+8) + b·(a+8) − 1; for an empty table this is -1, which skips nothing.
  const uint32_t descriptorLength =
      static_cast<uint32_t>(a) * (b + 8u) + static_cast<uint32_t>(b) * (a + 8u) - 1u;
  stream.Skip(static_cast<int32_t>(descriptorLength));
  ListRegion(stream, 19, "\n\n *** Table Frame: Table desctiptor ***", regionStart,
             RegionLast(stream));
  ReportVerbose("\nTable cell count = %d", cellCount);

  // 64-bit so that a count of INT32_MAX cannot overflow the counter.
  for (int64_t cell = 1; cell <= cellCount; ++cell) {
    ReportVerbose("\nTable Frame offset=%08lX", OffsetValue(stream.Position()));
    regionStart = stream.Position();
    uint8_t firstByte = 0;
    uint8_t kind = 0;
    RETURN_UNLESS_OK(ReadField(stream, firstByte));
    RETURN_UNLESS_OK(ReadField(stream, kind));
    if (cell == 1) {
      if (kind == 1) {
        stream.Skip(kFirstCellRestKind1);
      } else if (kind == 2) {
        stream.Skip(kFirstCellRestKind2);
      } else {
        return PARSE_BAD_FORMAT;
      }
    } else {
      stream.Skip(page.IsVersion10() ? kLaterCellRest10 : kLaterCellRest6);
    }
    ListRegion(stream, 20, "\n\n *** Table Frame: Cell Descriptor ***", regionStart,
               RegionLast(stream));
    // The cell's own progress is not reported: a failing cell is quoted with the table's step.
    int32_t cellStep = STEP_CELL_BASE;
    const int result = ParseTextFrame(page, static_cast<int32_t>(cell), &cellStep);
    if (IsParseFailure(result))
      return result;
  }

  stream.Skip(4);
  ReportVerbose("\nEnd Table Frame, offset=%08lX", OffsetValue(stream.Position()));
  return PARSE_OK;
}
