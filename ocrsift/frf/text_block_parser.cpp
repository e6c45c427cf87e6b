// A text block: head, OCR text, unknown block 1, character boxes and mask array (this file),
// and the layout (block_layout_parser.cpp). The block reports its own failures.
#include <algorithm>
#include <cstdint>

#include "ocrsift/diagnostics/channels.h"
#include "ocrsift/frf/failure_report.h"
#include "ocrsift/frf/frf.h"
#include "ocrsift/frf/page_context.h"
#include "ocrsift/frf/parse_support.h"
#include "ocrsift/frf/text_block_parts.h"
#include "ocrsift/page/page_text_sink.h"

using namespace frf_detail;

namespace {

// The steps of the parts in this file; ParseBlock starts each part from its base.
constexpr int32_t STEP_HEAD_PROBE = 191;  // version 10: the marker
constexpr int32_t STEP_HEAD_WORD = 192;   // version 10: the head and its records
constexpr int32_t STEP_TEXT_COUNT = 201;
constexpr int32_t STEP_TEXT = 202;
constexpr int32_t STEP_RECORDS_CHECK = 211;
constexpr int32_t STEP_RECORDS = 212;
constexpr int32_t STEP_BOXES = 221;
constexpr int32_t STEP_BOXES_END = 222;
constexpr int32_t STEP_MASK = 231;

constexpr int32_t kHeadLength6 = 64;
constexpr uint8_t kHeadMarker10 = 4;
constexpr int32_t kHeadLength10 = 33;
constexpr uint8_t kLongCountFlag = 255;
// The wide text buffer holds the text and its terminator.
constexpr int32_t kMaxTextCount = WIDE_TEXT_CAPACITY - 1;

// The character shown beside box i: byte i of the narrow text buffer, whatever an earlier
// block left there past this block's text. Past the buffer's end, a blank.
char BoxCharacter(const PageContext& page, int32_t i) {
  if (i < 0 || i >= NarrowRoom(WIDE_TEXT_CAPACITY))
    return ' ';
  return page.narrowText[i];
}

}  // namespace

int ParseBlock(PageContext& page, int32_t frameNumber, int32_t blockNumber) {
  int32_t step = 0;
  int32_t partStart = 0;
  // Each part counts its steps from its base, and a failure is shown from where its part began.
  const auto from = [&page, &step, &partStart](int32_t baseStep) {
    step = baseStep;
    partStart = page.stream.Position();
    return &step;
  };
  int32_t n = 0;
  int result = ParseBlockHead(page, blockNumber, from(190));
  if (result == PARSE_OK)
    result = ParseBlockText(page, blockNumber, from(200), &n);
  if (result == PARSE_OK)
    result = ParseBlockRecords(page, blockNumber, n, from(210));
  if (result == PARSE_OK)
    result = ParseCharBoxes(page, blockNumber, n, from(220));
  if (result == PARSE_OK)
    result = ParseMaskArray(page, blockNumber, n, from(230));
  if (result == PARSE_OK)
    result = ParseBlockLayout(page, blockNumber, n, from(240));
  if (result != PARSE_OK)
    ReportBlockFailure(page, result, frameNumber, blockNumber, step, partStart);
  return result;
}

int ParseBlockHead(PageContext& page, int32_t blockNumber, int32_t* step) {
  FrfStream& stream = page.stream;
  ReportVerbose("\nBlock %d, offset=%08lX (skip data)", blockNumber,
                OffsetValue(stream.Position()));
  const int32_t regionStart = stream.Position();
  if (page.IsVersion10()) {
    EnterStep(step, STEP_HEAD_PROBE);
    RETURN_UNLESS_OK(ReadExpected(stream, kHeadMarker10));
    EnterStep(step, STEP_HEAD_WORD);
    stream.Skip(kHeadLength10);
    int32_t recordCount = 0;
    RETURN_UNLESS_OK(ReadField(stream, recordCount));
    stream.Skip(WrapLinear(7, recordCount, 2));
  } else {
    stream.Skip(kHeadLength6);
    EnterStep(step, STEP_HEAD_PROBE);
    const int32_t probeOffset = stream.Position();
    uint8_t probe = 0;
    RETURN_UNLESS_OK(ReadField(stream, probe));
    if (probe != 0) {
      // A head without filler: the probe byte is the short text count.
      stream.PushBack(&probe, 1);
    } else {
      EnterStep(step, STEP_HEAD_WORD);
      uint32_t probeWord = 0;
      RETURN_UNLESS_OK(ReadField(stream, probeWord));
      if (probeWord == 0) {
        stream.Skip(3);  // the head ends in the 8-byte filler 00, 0 (uint32), 3 bytes
      } else {
        // No filler: the zero byte is an empty text's count, the word the next part's check.
        stream.Seek(probeOffset);
      }
    }
  }
  ListRegion(stream, 1, "\n\n *** Block: Begin block ***", regionStart, RegionLast(stream));
  return PARSE_OK;
}

int ParseBlockText(PageContext& page, int32_t blockNumber, int32_t* step, int32_t* n) {
  FrfStream& stream = page.stream;
  ReportVerbose("\nBlock %d, offset=%08lX (OCR text)", blockNumber, OffsetValue(stream.Position()));
  EnterStep(step, STEP_TEXT_COUNT);
  uint8_t shortCount = 0;
  RETURN_UNLESS_OK(ReadField(stream, shortCount));
  int32_t count = shortCount;
  // Not checked: a failed read leaves the count at 255, and the end of the file then fails
  // the text read.
  if (shortCount == kLongCountFlag)
    ReadField(stream, count);
  *n = count;
  ReportVerbose(", count = %d", count);
  ReportVerbose("\nBlock %d, offset=%08lX", blockNumber, OffsetValue(stream.Position()));

  EnterStep(step, STEP_TEXT);
  // The text and its terminator must fit the wide buffer; a negative count cannot be read.
  if (count < 0 || count > kMaxTextCount)
    return PARSE_BAD_FORMAT;
  RETURN_UNLESS_OK(ReadText(page, page.narrowText, NarrowRoom(WIDE_TEXT_CAPACITY), count));
  ReportVerbose("\n OCR text:  \"%s\" ", page.narrowText);
  if (PageTextSink* sink = page.sink)
    sink->SetText(page.wideText, count);
  return PARSE_OK;
}

int ParseBlockRecords(PageContext& page, int32_t blockNumber, int32_t n, int32_t* step) {
  FrfStream& stream = page.stream;
  ReportVerbose("\nBlock %d, offset=%08lX (unknow block #1)", blockNumber,
                OffsetValue(stream.Position()));
  EnterStep(step, STEP_RECORDS_CHECK);
  const int32_t regionStart = stream.Position();
  RETURN_UNLESS_OK(ReadExpected(stream, WrapAdd(n, 1)));
  EnterStep(step, STEP_RECORDS);
  int32_t recordCount = 0;
  RETURN_UNLESS_OK(ReadField(stream, recordCount));
  if (recordCount <= 0)
    return PARSE_BAD_FORMAT;
  stream.Skip(WrapLinear(36, recordCount, 0));
  ListRegion(stream, 2, "\n\n *** Block: Unknow block 1 ***", regionStart, RegionLast(stream));
  return PARSE_OK;
}

int ParseCharBoxes(PageContext& page, int32_t blockNumber, int32_t n, int32_t* step) {
  FrfStream& stream = page.stream;
  ReportVerbose("\nBlock %d, offset=%08lX (char box)", blockNumber, OffsetValue(stream.Position()));
  EnterStep(step, STEP_BOXES);
  int32_t boxCount = 0;
  RETURN_UNLESS_OK(ReadField(stream, boxCount));
  // One box per code unit and one more; a block without text may carry any number.
  if (boxCount != 0 && n != 0 && boxCount != WrapAdd(n, 1))
    return PARSE_BAD_FORMAT;
  PageTextSink* sink = page.sink;
  if (sink != nullptr) {
    // A block without text may declare any number of boxes. The sink's array need not hold
    // more than the rest of the file can: a longer list ends in PARSE_EOF before a line uses it.
    const int64_t remaining = static_cast<int64_t>(stream.Size()) - stream.Position();
    const int64_t room = remaining > 0 ? remaining / 8 : 0;
    sink->ResetBoxes(static_cast<int32_t>(std::min<int64_t>(boxCount, room)));
  }
  // The boxes are read a run at a time; a box cut off by the end of the file fails at the
  // same word, with the same offsets, as one read word by word.
  constexpr int32_t kBoxesPerRead = 256;
  uint16_t edges[4 * kBoxesPerRead];
  // A box's trace line is made only while the trace is on: the boxes are most of a page.
  const bool traced = VerboseChannel() != nullptr;
  for (int64_t first = 0; first < boxCount; first += kBoxesPerRead) {
    const int32_t wanted = static_cast<int32_t>(std::min<int64_t>(kBoxesPerRead, boxCount - first));
    const int32_t words = stream.ReadWords(edges, 4 * wanted);
    // The boxes read whole before a failure are traced and kept, as they were one by one.
    const int32_t boxes = words / 4;
    for (int32_t k = 0; k < boxes; ++k) {
      const uint16_t* box = edges + 4 * k;
      if (traced)
        ReportVerbose("\n  %04X, %04X, %04X, %04X   '%c'", box[0], box[1], box[2], box[3],
                      BoxCharacter(page, static_cast<int32_t>(first + k)));
      if (sink != nullptr)
        sink->AddBox(box[0], box[1], box[2], box[3]);
    }
    if (boxes != wanted)
      return PARSE_EOF;
  }
  EnterStep(step, STEP_BOXES_END);
  return ReadExpected<uint8_t>(stream, 0);
}

int ParseMaskArray(PageContext& page, int32_t blockNumber, int32_t n, int32_t* step) {
  FrfStream& stream = page.stream;
  ReportVerbose("\nBlock %d, offset=%08lX (mask array)", blockNumber,
                OffsetValue(stream.Position()));
  EnterStep(step, STEP_MASK);
  const int32_t regionStart = stream.Position();
  int32_t maskLength = 0;
  RETURN_UNLESS_OK(ReadField(stream, maskLength));
  if (maskLength != WrapAdd(n, 1))
    return PARSE_BAD_FORMAT;
  stream.Skip(maskLength);
  ListRegion(stream, 4, "\n\n *** Block: Mask array ***", regionStart, RegionLast(stream));
  return PARSE_OK;
}
