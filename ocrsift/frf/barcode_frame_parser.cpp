// Barcode frames: the picture head, the recognition languages and fonts, fixed-size blocks
// and an end-of-frame record of their own.
#include <cstdint>

#include "ocrsift/diagnostics/channels.h"
#include "ocrsift/frf/frame_records.h"
#include "ocrsift/frf/frf.h"
#include "ocrsift/frf/page_context.h"
#include "ocrsift/frf/parse_support.h"

using namespace frf_detail;

namespace {

// The steps of a barcode frame (after the driver's 499).
constexpr int32_t STEP_BARCODE_HEAD = 500;
constexpr int32_t STEP_BARCODE_DATA3 = 501;
constexpr int32_t STEP_LANGUAGE_COUNT = 502;
constexpr int32_t STEP_LANGUAGE_1 = 503;
constexpr int32_t STEP_LANGUAGE_2 = 504;
constexpr int32_t STEP_FONT_1 = 505;  // and the font count
constexpr int32_t STEP_FONT_2 = 506;
constexpr int32_t STEP_BLOCK_COUNT = 507;
constexpr int32_t STEP_BLOCKS = 508;
// The end-of-frame record: version 6 the text frame's shape, version 10 two markers.
constexpr EqualBytesSteps kEndSteps6 = {509, 510, 511, 512};
constexpr int32_t STEP_END_MARKER_10 = 509;
constexpr int32_t STEP_END_MARKER2_10 = 510;  // and the counted records

constexpr int32_t kBlockRest = 191;
constexpr uint32_t kEndMarker10 = 65535;

// The version-10 end-of-frame record of barcode frames: the markers 255 and 65535, then
// counted 8-byte records.
int ReadBarcodeEndRecord10(FrfStream& stream, int32_t* step) {
  EnterStep(step, STEP_END_MARKER_10);
  RETURN_UNLESS_OK(ReadExpected<uint8_t>(stream, 255));
  EnterStep(step, STEP_END_MARKER2_10);
  RETURN_UNLESS_OK(ReadExpected<uint32_t>(stream, kEndMarker10));
  int32_t recordCount = 0;
  RETURN_UNLESS_OK(ReadField(stream, recordCount));
  stream.Skip(WrapLinear(8, recordCount, 0));
  return PARSE_OK;
}

}  // namespace

int ParseBarcodeFrame(PageContext& page, int32_t frameNumber, int32_t* step) {
  FrfStream& stream = page.stream;
  RETURN_UNLESS_OK(ParsePictureHead(page, STEP_BARCODE_HEAD, step));
  ReportVerbose("\nBarCode Frame offset=%08lX", OffsetValue(stream.Position()));

  EnterStep(step, STEP_BARCODE_DATA3);
  RETURN_UNLESS_OK(ReadData3(page, 6, "\n\n *** BarCode Frame: Unknow block DATA3 ***"));
  stream.Skip(5);

  EnterStep(step, STEP_LANGUAGE_COUNT);
  uint8_t languageCount = 0;
  RETURN_UNLESS_OK(ReadField(stream, languageCount));
  RETURN_UNLESS_OK(ReadExpected<uint32_t>(stream, 0));

  // A count of 3 announces two languages and 2 one; fonts count 2 for two and 1 for one.
  EnterStep(step, STEP_LANGUAGE_1);
  char name[NARROW_FONT_SIZE];
  if (languageCount == 3) {
    ReportVerbose("\nBarCode Frame %d, offset=%08lX", frameNumber, OffsetValue(stream.Position()));
    RETURN_UNLESS_OK(ReadCountedName(page, name, NarrowRoom(FONT_CAPACITY)));
    ReportVerbose("\nLanguage #1:   %s", name);
    languageCount = 2;
  }
  EnterStep(step, STEP_LANGUAGE_2);
  if (languageCount == 2) {
    RETURN_UNLESS_OK(ReadCountedName(page, name, NarrowRoom(FONT_CAPACITY)));
    ReportVerbose("\nLanguage #2:   %s", name);
  }

  EnterStep(step, STEP_FONT_1);
  int32_t fontCount = 0;
  RETURN_UNLESS_OK(ReadField(stream, fontCount));
  if (fontCount == 2) {
    RETURN_UNLESS_OK(ReadCountedName(page, name, NarrowRoom(FONT_CAPACITY)));
    ReportVerbose("\nFont 1:   %s", name);
    fontCount = 1;
  }
  EnterStep(step, STEP_FONT_2);
  if (fontCount == 1) {
    RETURN_UNLESS_OK(ReadCountedName(page, name, NarrowRoom(FONT_CAPACITY)));
    ReportVerbose("\nFont 2:   %s", name);
  }

  ReportVerbose("\n");
  EnterStep(step, STEP_BLOCK_COUNT);
  uint8_t blockCount = 0;
  RETURN_UNLESS_OK(ReadField(stream, blockCount));
  ReportVerbose("\nBlocks:   %d", blockCount);

  EnterStep(step, STEP_BLOCKS);
  for (int32_t block = 0; block < blockCount; ++block) {
    RETURN_UNLESS_OK(ReadExpected<uint32_t>(stream, 1));
    stream.Skip(kBlockRest);
  }

  ReportVerbose("\nEnd BarCode Frame, offset=%08lX (end frame block)",
                OffsetValue(stream.Position()));
  const int32_t regionStart = stream.Position();
  RETURN_UNLESS_OK(page.IsVersion10() ? ReadBarcodeEndRecord10(stream, step)
                                      : ReadEqualBytesEndRecord(page, kEndSteps6, step));
  ListRegion(stream, 10, "\n\n *** End BarCode Frame: Unknow block ***", regionStart,
             RegionLast(stream));
  ReportVerbose("\nEnd BarCode Frame, offset=%08lX", OffsetValue(stream.Position()));
  return PARSE_OK;
}
