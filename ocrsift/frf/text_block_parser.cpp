// A text block: head, OCR text, unknown block 1, character boxes and mask array (this file),
// and the layout (block_layout_parser.cpp). The block reports its own failures.
#include <algorithm>
#include <cstdint>

#include "ocrsift/diagnostics/channels.h"
#include "ocrsift/frf/failure_report.h"
#include "ocrsift/frf/frf.h"
#include "ocrsift/frf/parse_support.h"
#include "ocrsift/frf/run_state.h"
#include "ocrsift/frf/text_block_parts.h"

using namespace frf_detail;

namespace {

constexpr int32_t kHeadLength6 = 64;
constexpr uint8_t kHeadMarker10 = 4;
constexpr int32_t kHeadLength10 = 33;
constexpr uint8_t kLongCountFlag = 255;
// WideTextBuffer holds the text and its terminator.
constexpr int32_t kMaxTextCount = WIDE_TEXT_CAPACITY - 1;

// The character shown beside box i: byte i of the narrow text buffer, whatever an earlier
// block left there past this block's text. Past the buffer's end, a blank.
char BoxCharacter(int32_t i) {
  if (i < 0 || i >= NarrowRoom(WIDE_TEXT_CAPACITY))
    return ' ';
  return gRunState.NarrowTextBuffer[i];
}

}  // namespace

int ParseBlock(int32_t frameNumber, int32_t blockNumber) {
  FrfStream* current = gRunState.CurrentStream.get();
  if (current == nullptr)
    return PARSE_EOF;
  FrfStream& stream = *current;

  int32_t step = 0;
  int32_t n = 0;
  int32_t partStart = 0;
  int result = PARSE_OK;
  for (int part = 0; part < 6 && result == PARSE_OK; ++part) {
    step = 190 + 10 * part;
    partStart = stream.Position();
    switch (part) {
      case 0:
        result = ParseBlockHead(blockNumber, &step);
        break;
      case 1:
        result = ParseBlockText(blockNumber, &step, &n);
        break;
      case 2:
        result = ParseBlockRecords(blockNumber, n, &step);
        break;
      case 3:
        result = ParseCharBoxes(blockNumber, n, &step);
        break;
      case 4:
        result = ParseMaskArray(blockNumber, n, &step);
        break;
      default:
        result = ParseBlockLayout(blockNumber, n, &step);
        break;
    }
  }
  if (result == PARSE_OK)
    return PARSE_OK;

  ReportBlockFailure(stream, result, frameNumber, blockNumber, step, partStart);
  return result;
}

int ParseBlockHead(int32_t blockNumber, int32_t* step) {
  FrfStream& stream = *gRunState.CurrentStream;
  ReportVerbose("\nBlock %d, offset=%08lX (skip data)", blockNumber,
                OffsetValue(stream.Position()));
  const int32_t regionStart = stream.Position();
  if (IsVersion10()) {
    ++*step;  // 191
    uint8_t marker = 0;
    if (!stream.ReadByte(marker))
      return PARSE_EOF;
    if (marker != kHeadMarker10)
      return PARSE_BAD_FORMAT;
    ++*step;  // 192
    stream.Skip(kHeadLength10);
    int32_t recordCount = 0;
    if (!stream.ReadDword(recordCount))
      return PARSE_EOF;
    stream.Skip(WrapLinear(7, recordCount, 2));
  } else {
    stream.Skip(kHeadLength6);
    ++*step;  // 191
    const int32_t probeOffset = stream.Position();
    uint8_t probe = 0;
    if (!stream.ReadByte(probe))
      return PARSE_EOF;
    if (probe != 0) {
      // A head without filler: the probe byte is the short text count.
      stream.PushBack(&probe, 1);
    } else {
      ++*step;  // 192
      uint32_t probeWord = 0;
      if (!stream.ReadDword(probeWord))
        return PARSE_EOF;
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

int ParseBlockText(int32_t blockNumber, int32_t* step, int32_t* n) {
  FrfStream& stream = *gRunState.CurrentStream;
  ReportVerbose("\nBlock %d, offset=%08lX (OCR text)", blockNumber, OffsetValue(stream.Position()));
  ++*step;  // 201
  uint8_t shortCount = 0;
  if (!stream.ReadByte(shortCount))
    return PARSE_EOF;
  int32_t count = shortCount;
  // A failed read leaves the count at 255; the end of the file then fails the text read.
  if (shortCount == kLongCountFlag)
    stream.ReadDword(count);
  *n = count;
  ReportVerbose(", count = %d", count);
  ReportVerbose("\nBlock %d, offset=%08lX", blockNumber, OffsetValue(stream.Position()));

  ++*step;  // 202
  // The text and its terminator must fit WideTextBuffer; a negative count cannot be read.
  if (count < 0 || count > kMaxTextCount)
    return PARSE_BAD_FORMAT;
  if (ReadNarrowString(gRunState.NarrowTextBuffer, NarrowRoom(WIDE_TEXT_CAPACITY), count) == 0) {
    return PARSE_EOF;
  }
  ReportVerbose("\n OCR text:  \"%s\" ", gRunState.NarrowTextBuffer);
  if (PageTextSink* writer = Writer())
    writer->SetText(gRunState.WideTextBuffer, count);
  return PARSE_OK;
}

int ParseBlockRecords(int32_t blockNumber, int32_t n, int32_t* step) {
  FrfStream& stream = *gRunState.CurrentStream;
  ReportVerbose("\nBlock %d, offset=%08lX (unknow block #1)", blockNumber,
                OffsetValue(stream.Position()));
  ++*step;  // 211
  const int32_t regionStart = stream.Position();
  int32_t checkCount = 0;
  if (!stream.ReadDword(checkCount))
    return PARSE_EOF;
  if (checkCount != WrapAdd(n, 1))
    return PARSE_BAD_FORMAT;
  ++*step;  // 212
  int32_t recordCount = 0;
  if (!stream.ReadDword(recordCount))
    return PARSE_EOF;
  if (recordCount <= 0)
    return PARSE_BAD_FORMAT;
  stream.Skip(WrapLinear(36, recordCount, 0));
  ListRegion(stream, 2, "\n\n *** Block: Unknow block 1 ***", regionStart, RegionLast(stream));
  return PARSE_OK;
}

int ParseCharBoxes(int32_t blockNumber, int32_t n, int32_t* step) {
  FrfStream& stream = *gRunState.CurrentStream;
  ReportVerbose("\nBlock %d, offset=%08lX (char box)", blockNumber, OffsetValue(stream.Position()));
  ++*step;  // 221
  int32_t boxCount = 0;
  if (!stream.ReadDword(boxCount))
    return PARSE_EOF;
  // One box per code unit and one more; a block without text may carry any number.
  if (boxCount != 0 && n != 0 && boxCount != WrapAdd(n, 1))
    return PARSE_BAD_FORMAT;
  PageTextSink* writer = Writer();
  if (writer != nullptr) {
    // A block without text may declare any number of boxes. The writer's array need not hold
    // more than the rest of the file can: a longer list ends in PARSE_EOF before a line uses it.
    const int64_t remaining = static_cast<int64_t>(stream.Size()) - stream.Position();
    const int64_t room = remaining > 0 ? remaining / 8 : 0;
    writer->ResetBoxes(static_cast<int32_t>(std::min<int64_t>(boxCount, room)));
  }
  // The boxes are read a run at a time; a box cut off by the end of the file fails at the
  // same word, with the same offsets, as one read word by word.
  constexpr int32_t kBoxesPerRead = 256;
  uint16_t edges[4 * kBoxesPerRead];
  for (int64_t first = 0; first < boxCount; first += kBoxesPerRead) {
    const int32_t wanted = static_cast<int32_t>(std::min<int64_t>(kBoxesPerRead, boxCount - first));
    const int32_t words = stream.ReadWords(edges, 4 * wanted);
    // The boxes read whole before a failure are traced and kept, as they were one by one.
    const int32_t boxes = words / 4;
    for (int32_t k = 0; k < boxes; ++k) {
      const uint16_t* box = edges + 4 * k;
      ReportVerbose("\n  %04X, %04X, %04X, %04X   '%c'", box[0], box[1], box[2], box[3],
                    BoxCharacter(static_cast<int32_t>(first + k)));
      if (writer != nullptr)
        writer->AddBox(box[0], box[1], box[2], box[3]);
    }
    if (boxes != wanted)
      return PARSE_EOF;
  }
  ++*step;  // 222
  uint8_t endByte = 0;
  if (!stream.ReadByte(endByte))
    return PARSE_EOF;
  if (endByte != 0)
    return PARSE_BAD_FORMAT;
  return PARSE_OK;
}

int ParseMaskArray(int32_t blockNumber, int32_t n, int32_t* step) {
  FrfStream& stream = *gRunState.CurrentStream;
  ReportVerbose("\nBlock %d, offset=%08lX (mask array)", blockNumber,
                OffsetValue(stream.Position()));
  ++*step;  // 231
  const int32_t regionStart = stream.Position();
  int32_t maskLength = 0;
  if (!stream.ReadDword(maskLength))
    return PARSE_EOF;
  if (maskLength != WrapAdd(n, 1))
    return PARSE_BAD_FORMAT;
  stream.Skip(maskLength);
  ListRegion(stream, 4, "\n\n *** Block: Mask array ***", regionStart, RegionLast(stream));
  return PARSE_OK;
}
