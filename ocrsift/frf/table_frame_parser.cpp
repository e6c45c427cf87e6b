// Table frames: a head, a table descriptor, then one text frame body per cell.
#include <cstdint>

#include "ocrsift/diagnostics/channels.h"
#include "ocrsift/frf/frf.h"
#include "ocrsift/frf/parse_support.h"
#include "ocrsift/frf/run_state.h"

using namespace frf_detail;

namespace {

// The descriptor of the first cell names its own length; later cells have the fixed length
// of their format version.
constexpr int32_t kFirstCellRestKind1 = 28;
constexpr int32_t kFirstCellRestKind2 = 23;
constexpr int32_t kLaterCellRest6 = 27;
constexpr int32_t kLaterCellRest10 = 22;

}  // namespace

int ParseTableFrame(int32_t /*frameNumber*/, int32_t* step) {
  FrfStream* current = gRunState.CurrentStream.get();
  if (current == nullptr)
    return PARSE_EOF;
  FrfStream& stream = *current;

  ++*step;  // 400
  int32_t regionStart = stream.Position();
  uint8_t leadLength = 0;
  if (!stream.ReadByte(leadLength))
    return PARSE_EOF;
  if (leadLength != 0)
    stream.Skip(leadLength);
  uint8_t secondByte = 0;
  if (!stream.ReadByte(secondByte))
    return PARSE_EOF;
  stream.Skip(FrameHeadFixedLength());
  ListRegion(stream, 8, "\n\n *** Table Frame: Unknow block DATA_1 part 3 ***", regionStart,
             RegionLast(stream));

  ReportVerbose("\nTable Frame offset=%08lX", OffsetValue(stream.Position()));

  regionStart = stream.Position();
  ++*step;  // 401
  int32_t recordCount = 0;
  if (!stream.ReadDword(recordCount))
    return PARSE_EOF;
  stream.Skip(WrapLinear(16, recordCount, 0));
  ListRegion(stream, 9, "\n\n *** Table Frame: Unknow block DATA3 ***", regionStart,
             RegionLast(stream));

  ReportVerbose("\nTable Frame offset=%08lX", OffsetValue(stream.Position()));

  regionStart = stream.Position();
  ++*step;  // 402
  uint32_t zero = 0;
  if (!stream.ReadDword(zero))
    return PARSE_EOF;
  if (zero != 0)
    return PARSE_BAD_FORMAT;
  uint8_t a = 0;
  uint8_t b = 0;
  uint8_t countByte = 0;
  if (!stream.ReadByte(a) || !stream.ReadByte(b) || !stream.ReadByte(countByte))
    return PARSE_EOF;
  int32_t cellCount = countByte;
  if (countByte == 255 && !stream.ReadDword(cellCount))
    return PARSE_EOF;
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
    if (!stream.ReadByte(firstByte) || !stream.ReadByte(kind))
      return PARSE_EOF;
    if (cell == 1) {
      if (kind == 1) {
        stream.Skip(kFirstCellRestKind1);
      } else if (kind == 2) {
        stream.Skip(kFirstCellRestKind2);
      } else {
        return PARSE_BAD_FORMAT;
      }
    } else {
      stream.Skip(IsVersion10() ? kLaterCellRest10 : kLaterCellRest6);
    }
    ListRegion(stream, 20, "\n\n *** Table Frame: Cell Descriptor ***", regionStart,
               RegionLast(stream));
    // The cell's own progress is not reported: a failing cell is quoted with the table's step.
    int32_t cellStep = 99;
    const int result = ParseTextFrame(static_cast<int32_t>(cell), &cellStep);
    if (IsParseFailure(result))
      return result;
  }

  stream.Skip(4);
  ReportVerbose("\nEnd Table Frame, offset=%08lX", OffsetValue(stream.Position()));
  return PARSE_OK;
}
