// Picture frames, and the picture head that barcode frames share with them.
#include <cstdint>

#include "ocrsift/diagnostics/channels.h"
#include "ocrsift/frf/frf.h"
#include "ocrsift/frf/parse_support.h"
#include "ocrsift/frf/run_state.h"

using namespace frf_detail;

int ParsePictureHead(int32_t* step) {
  FrfStream* current = gRunState.CurrentStream.get();
  if (current == nullptr)
    return PARSE_EOF;
  FrfStream& stream = *current;

  const int32_t regionStart = stream.Position();
  ++*step;  // 300 or 500
  uint8_t leadLength = 0;
  if (!stream.ReadByte(leadLength))
    return PARSE_EOF;
  if (leadLength != 0)
    stream.Skip(leadLength);
  uint8_t marker = 0;
  if (!stream.ReadByte(marker))
    return PARSE_EOF;
  if (marker != 0)
    return PARSE_BAD_FORMAT;
  stream.Skip(FrameHeadFixedLength());
  ListRegion(stream, 8, "\n\n *** Picture Frame: Unknow block DATA_1 part 3 ***", regionStart,
             RegionLast(stream));
  return PARSE_OK;
}

int ParsePictureFrame(int32_t /*frameNumber*/, int32_t* step) {
  const int head = ParsePictureHead(step);
  if (head != PARSE_OK)
    return head;
  FrfStream& stream = *gRunState.CurrentStream;

  ReportVerbose("\nPicture Frame offset=%08lX", OffsetValue(stream.Position()));

  int32_t regionStart = stream.Position();
  ++*step;  // 301
  int32_t recordCount = 0;
  if (!stream.ReadDword(recordCount))
    return PARSE_EOF;
  stream.Skip(WrapLinear(16, recordCount, 0));
  ListRegion(stream, 9, "\n\n *** Picture Frame: Unknow block DATA3 ***", regionStart,
             RegionLast(stream));

  regionStart = stream.Position();
  stream.Skip(4);
  ListRegion(stream, 10, "\n\n *** End Picture Frame: Unknow block ***", regionStart,
             RegionLast(stream));

  ReportVerbose("\nEnd Picture Frame, offset=%08lX", OffsetValue(stream.Position()));
  return PARSE_OK;
}
