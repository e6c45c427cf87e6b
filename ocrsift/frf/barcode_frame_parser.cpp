// Barcode frames: the picture head, the recognition languages and fonts, fixed-size blocks
// and an end-of-frame record of their own.
#include <cstdint>

#include "ocrsift/diagnostics/channels.h"
#include "ocrsift/frf/frame_records.h"
#include "ocrsift/frf/frf.h"
#include "ocrsift/frf/parse_support.h"
#include "ocrsift/frf/run_state.h"

using namespace frf_detail;

namespace {

constexpr int32_t kBlockRest = 191;
constexpr uint32_t kEndMarker10 = 65535;

int ReadEndOfFrame10(FrfStream& stream, int32_t* step) {
  ++*step;  // 509
  RETURN_UNLESS_OK(ReadExpected<uint8_t>(stream, 255));
  ++*step;  // 510
  RETURN_UNLESS_OK(ReadExpected<uint32_t>(stream, kEndMarker10));
  int32_t recordCount = 0;
  RETURN_UNLESS_OK(ReadField(stream, recordCount));
  stream.Skip(WrapLinear(8, recordCount, 0));
  return PARSE_OK;
}

}  // namespace

int ParseBarcodeFrame(int32_t frameNumber, int32_t* step) {
  const int head = ParsePictureHead(step);
  if (head != PARSE_OK)
    return head;
  FrfStream& stream = *gRunState.CurrentStream;

  ReportVerbose("\nBarCode Frame offset=%08lX", OffsetValue(stream.Position()));

  int32_t regionStart = stream.Position();
  ++*step;  // 501
  int32_t recordCount = 0;
  if (!stream.ReadDword(recordCount))
    return PARSE_EOF;
  stream.Skip(WrapLinear(16, recordCount, 0));
  stream.Skip(6);
  ListRegion(stream, 9, "\n\n *** BarCode Frame: Unknow block DATA3 ***", regionStart,
             RegionLast(stream));
  stream.Skip(5);

  ++*step;  // 502
  uint8_t languageCount = 0;
  if (!stream.ReadByte(languageCount))
    return PARSE_EOF;
  uint32_t zero = 0;
  if (!stream.ReadDword(zero))
    return PARSE_EOF;
  if (zero != 0)
    return PARSE_BAD_FORMAT;

  // A count of 3 announces two languages and 2 one; fonts count 2 for two and 1 for one.
  ++*step;  // 503
  if (languageCount == 3) {
    ReportVerbose("\nBarCode Frame %d, offset=%08lX", frameNumber, OffsetValue(stream.Position()));
    char language[NARROW_FONT_SIZE];
    if (!ReadCountedName(stream, language, NarrowRoom(FONT_CAPACITY)))
      return PARSE_EOF;
    ReportVerbose("\nLanguage #1:   %s", language);
    languageCount = 2;
  }
  ++*step;  // 504
  if (languageCount == 2) {
    char language[NARROW_FONT_SIZE];
    if (!ReadCountedName(stream, language, NarrowRoom(FONT_CAPACITY)))
      return PARSE_EOF;
    ReportVerbose("\nLanguage #2:   %s", language);
  }

  ++*step;  // 505
  int32_t fontCount = 0;
  if (!stream.ReadDword(fontCount))
    return PARSE_EOF;
  if (fontCount == 2) {
    char font[NARROW_FONT_SIZE];
    if (!ReadCountedName(stream, font, NarrowRoom(FONT_CAPACITY)))
      return PARSE_EOF;
    ReportVerbose("\nFont 1:   %s", font);
    fontCount = 1;
  }
  ++*step;  // 506
  if (fontCount == 1) {
    char font[NARROW_FONT_SIZE];
    if (!ReadCountedName(stream, font, NarrowRoom(FONT_CAPACITY)))
      return PARSE_EOF;
    ReportVerbose("\nFont 2:   %s", font);
  }

  ReportVerbose("\n");
  ++*step;  // 507
  uint8_t blockCount = 0;
  if (!stream.ReadByte(blockCount))
    return PARSE_EOF;
  ReportVerbose("\nBlocks:   %d", blockCount);

  ++*step;  // 508
  for (int32_t block = 0; block < blockCount; ++block) {
    uint32_t introducer = 0;
    if (!stream.ReadDword(introducer))
      return PARSE_EOF;
    if (introducer != 1)
      return PARSE_BAD_FORMAT;
    stream.Skip(kBlockRest);
  }

  ReportVerbose("\nEnd BarCode Frame, offset=%08lX (end frame block)",
                OffsetValue(stream.Position()));
  regionStart = stream.Position();
  const int result =
      IsVersion10() ? ReadEndOfFrame10(stream, step) : ReadEqualBytesEndRecord(stream, step);
  if (result != PARSE_OK)
    return result;
  ListRegion(stream, 10, "\n\n *** End BarCode Frame: Unknow block ***", regionStart,
             RegionLast(stream));
  ReportVerbose("\nEnd BarCode Frame, offset=%08lX", OffsetValue(stream.Position()));
  return PARSE_OK;
}
