// Picture frames, and the picture head that barcode frames share with them.
#include <cstdint>

#include "ocrsift/diagnostics/channels.h"
#include "ocrsift/frf/frame_records.h"
#include "ocrsift/frf/frf.h"
#include "ocrsift/frf/page_context.h"
#include "ocrsift/frf/parse_support.h"

using namespace frf_detail;

namespace {

// The steps of a picture frame (after the driver's 299).
constexpr int32_t STEP_PICTURE_HEAD = 300;
constexpr int32_t STEP_PICTURE_DATA3 = 301;  // and the trailer

}  // namespace

int ParsePictureHead(PageContext& page, int32_t headStep, int32_t* step) {
  EnterStep(step, headStep);
  return ReadFrameHeadData1(page, HeadByte::kZero,
                            "\n\n *** Picture Frame: Unknow block DATA_1 part 3 ***");
}

int ParsePictureFrame(PageContext& page, int32_t /*frameNumber*/, int32_t* step) {
  FrfStream& stream = page.stream;
  RETURN_UNLESS_OK(ParsePictureHead(page, STEP_PICTURE_HEAD, step));
  ReportVerbose("\nPicture Frame offset=%08lX", OffsetValue(stream.Position()));

  EnterStep(step, STEP_PICTURE_DATA3);
  RETURN_UNLESS_OK(ReadData3(page, 0, "\n\n *** Picture Frame: Unknow block DATA3 ***"));
  const int32_t regionStart = stream.Position();
  stream.Skip(4);
  ListRegion(stream, 10, "\n\n *** End Picture Frame: Unknow block ***", regionStart,
             RegionLast(stream));

  ReportVerbose("\nEnd Picture Frame, offset=%08lX", OffsetValue(stream.Position()));
  return PARSE_OK;
}
