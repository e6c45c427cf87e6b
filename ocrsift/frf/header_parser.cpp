// The file header up to the frame types array, and the closing record after the last frame.
#include <cstdint>
#include <cstring>
#include <string>

#include "ocrsift/diagnostics/channels.h"
#include "ocrsift/diagnostics/run_options.h"
#include "ocrsift/frf/failure_report.h"
#include "ocrsift/frf/frame_records.h"
#include "ocrsift/frf/frf.h"
#include "ocrsift/frf/page_context.h"
#include "ocrsift/frf/parse_support.h"
#include "ocrsift/page/page_text_sink.h"

using namespace frf_detail;

namespace {

// The steps of the header (after the driver's 0) and of the end record (after its 20).
constexpr int32_t STEP_SIGNATURE = 1;
constexpr int32_t STEP_VERSION = 2;  // the version and the names flag
constexpr int32_t STEP_NAME_1 = 3;
constexpr int32_t STEP_NAME_2 = 4;
constexpr int32_t STEP_UNKNOWN_BLOCK = 5;
constexpr int32_t STEP_IMAGE_NAME = 6;  // and the empty-file test
constexpr int32_t STEP_DATA1_PART1 = 7;
constexpr int32_t STEP_DATA1_PART2 = 8;
constexpr int32_t STEP_DATA2 = 9;
constexpr int32_t STEP_EXTRA_WORD = 10;
constexpr int32_t STEP_CONSTANT = 11;
constexpr int32_t STEP_FRAME_TYPES = 12;
constexpr int32_t STEP_END_RECORDS = 21;
constexpr int32_t STEP_END_IDENTIFIER = 22;

const uint8_t kSignature[4] = {'F', 'R', '5', 'S'};
constexpr uint32_t kEndIdentifier = 0xB80875BCu;
// A file whose header holds at most one item of content and leaves no more than this many
// bytes was saved before any recognition took place.
constexpr int64_t kEmptyFileTail = 30;
constexpr int32_t kMaxResolution = 1200;
// A DjVu text layer stores its rectangles relative to each other in 16 bits: a page side
// beyond this (either sign) would make djvused store a corrupt layer.
constexpr int32_t kMaxPageSide = 32767;

bool PageSideFits(int32_t side) {
  return side >= -kMaxPageSide && side <= kMaxPageSide;
}

int ReadSignature(FrfStream& stream) {
  uint8_t signature[4];
  RETURN_UNLESS_OK(ReadBytes(stream, signature, 4));
  return std::memcmp(signature, kSignature, 4) == 0 ? PARSE_OK : PARSE_BAD_FORMAT;
}

int ReadVersion(PageContext& page) {
  uint8_t version = 0;
  RETURN_UNLESS_OK(ReadField(page.stream, version));
  page.formatVersion = version;
  ReportVerbose("\nFormat version: %d.%d", 0, version);
  if (version != 6 && version != 10) {
    ReportUnknownVersion(page);
    return PARSE_BAD_FORMAT;
  }
  ReportTag(page.options.ListTagNumber, "  Version=%04X\n", version);
  return PARSE_OK;
}

// The flag of the two names (2: both present, 0: none) and the names; absent names pass over
// their steps.
int ReadNames(PageContext& page, int32_t* step, int32_t& contentCount) {
  uint8_t namesFlag = 0;
  RETURN_UNLESS_OK(ReadField(page.stream, namesFlag));
  if (namesFlag == 0)
    return PARSE_OK;
  if (namesFlag != 2)
    return PARSE_BAD_FORMAT;
  char name[NARROW_NAME_SIZE];
  EnterStep(step, STEP_NAME_1);
  RETURN_UNLESS_OK(ReadCountedName(page, name, NarrowRoom(NAME_CAPACITY)));
  ReportVerbose("\nName #1: %s", name);
  EnterStep(step, STEP_NAME_2);
  RETURN_UNLESS_OK(ReadCountedName(page, name, NarrowRoom(NAME_CAPACITY)));
  ReportVerbose("\nName #2: %s", name);
  contentCount = 1;
  return PARSE_OK;
}

// Both versions' unknown blocks open with word A, always 0, and word B, of any value.
int ReadUnknownBlockLead(FrfStream& stream) {
  RETURN_UNLESS_OK(ReadExpected<uint16_t>(stream, 0));  // word A
  uint16_t wordB = 0;
  return ReadField(stream, wordB);
}

// The unknown block of version-6 headers.
int ReadUnknownBlock6(PageContext& page) {
  FrfStream& stream = page.stream;
  RETURN_UNLESS_OK(ReadUnknownBlockLead(stream));
  for (int flagIndex = 0; flagIndex < 2; ++flagIndex) {  // flags C and D
    uint8_t flag = 0;
    RETURN_UNLESS_OK(ReadField(stream, flag));
    if (flag != 0) {
      uint8_t byteValue = 0;
      uint32_t dwordValue = 0;
      RETURN_UNLESS_OK(ReadField(stream, byteValue));
      RETURN_UNLESS_OK(ReadField(stream, dwordValue));
    }
  }
  RETURN_UNLESS_OK(ReadExpected<uint8_t>(stream, 0));  // byte E
  RETURN_UNLESS_OK(ReadExpected<uint8_t>(stream, 0));  // byte F
  char unused[NARROW_NAME_SIZE];
  uint8_t length = 0;
  RETURN_UNLESS_OK(ReadField(stream, length));
  if (length != 0)
    RETURN_UNLESS_OK(ReadText(page, unused, NarrowRoom(NAME_CAPACITY), length));
  return ReadExpected<uint8_t>(stream, 0);  // byte G
}

// The unknown block of version-10 headers; some of its flags count as content of the file.
int ReadUnknownBlock10(PageContext& page, int32_t& contentCount) {
  FrfStream& stream = page.stream;
  RETURN_UNLESS_OK(ReadUnknownBlockLead(stream));
  uint8_t flagC = 0;
  RETURN_UNLESS_OK(ReadField(stream, flagC));
  if (flagC != 0) {
    ++contentCount;
    if (flagC == 2)
      stream.Skip(9);
  }
  uint8_t flagD = 0;
  RETURN_UNLESS_OK(ReadField(stream, flagD));
  if (flagD != 0) {
    stream.Skip(9);
    ++contentCount;
  }
  RETURN_UNLESS_OK(ReadExpected<uint8_t>(stream, 0));  // byte E
  uint8_t countF = 0;
  RETURN_UNLESS_OK(ReadField(stream, countF));
  if (countF != 0) {
    // What follows a nonzero count F is not understood well enough; only -i accepts it.
    if (!page.options.IgnoreBadPages)
      return PARSE_BAD_FORMAT;
    stream.Skip(2 * countF);
    ++contentCount;
  }
  uint8_t countG = 0;
  RETURN_UNLESS_OK(ReadField(stream, countG));
  if (countG != 0) {
    stream.Skip(2 * countG);
    ++contentCount;
  }
  uint8_t byteH = 0;
  return ReadField(stream, byteH);
}

int ReadUnknownBlock(PageContext& page, int32_t& contentCount) {
  FrfStream& stream = page.stream;
  const int32_t regionStart = stream.Position();
  RETURN_UNLESS_OK(page.IsVersion10() ? ReadUnknownBlock10(page, contentCount)
                                      : ReadUnknownBlock6(page));
  ListRegion(stream, 11, "\n\n *** Header: Unknow block ***", regionStart, RegionLast(stream));
  return PARSE_OK;
}

// The name of the scanned image, which counts as content; an empty name is absent. imageName
// receives its code units for the page's description.
int ReadImageName(PageContext& page, int32_t& contentCount, UnitText& imageName) {
  FrfStream& stream = page.stream;
  const int32_t regionStart = stream.Position();
  uint8_t length = 0;
  RETURN_UNLESS_OK(ReadField(stream, length));
  if (length == 0)
    return PARSE_OK;
  char narrowName[NARROW_NAME_SIZE];
  RETURN_UNLESS_OK(
      ReadText(page, narrowName, NarrowRoom(NAME_CAPACITY), length, TextMarks::InNarrowFormOnly));
  if (narrowName[0] == 0)
    return PARSE_BAD_FORMAT;
  ReportVerbose("\nImage file name: %s", narrowName);
  imageName = UnitsOfWideText(page);
  ListRegion(stream, 12, "\n\n *** Header: Image file name ***", regionStart, RegionLast(stream));
  ++contentCount;
  return PARSE_OK;
}

// The two parts of DATA1; the last byte of the first part sizes the second in version-6 files.
int ReadData1(PageContext& page, int32_t* step) {
  FrfStream& stream = page.stream;
  EnterStep(step, STEP_DATA1_PART1);
  int32_t regionStart = stream.Position();
  uint8_t data1[10];
  RETURN_UNLESS_OK(ReadBytes(stream, data1, sizeof data1));
  const uint8_t k = data1[9];
  ListRegion(stream, 13, "\n\n *** Header: Unknow block DATA1 (part 1) ***", regionStart,
             RegionLast(stream));

  EnterStep(step, STEP_DATA1_PART2);
  regionStart = stream.Position();
  if (page.IsVersion10()) {
    stream.Skip(17);
  } else if (k != 0) {
    stream.Skip(2 * k);
    stream.Skip(40);
  } else {
    ReportTag(14, "\n\n\n");
    stream.Skip(17);
  }
  ListRegion(stream, 14, "\n\n *** Header: Unknow block DATA1 (part 2) ***", regionStart,
             RegionLast(stream));
  return PARSE_OK;
}

// DATA2 with the page's width, height and resolution, which begin the page in the text sink.
int ReadPageSize(PageContext& page, const UnitText& imageName) {
  FrfStream& stream = page.stream;
  const int32_t regionStart = stream.Position();
  uint8_t data2[22];
  RETURN_UNLESS_OK(ReadBytes(stream, data2, sizeof data2));
  const int32_t width = Int32At(data2 + 10);
  const int32_t height = Int32At(data2 + 14);
  const int32_t resolution = Int32At(data2 + 18);
  ListRegion(stream, 15, "\n\n *** Header: Unknow block DATA2 ***", regionStart,
             RegionLast(stream));
  if (width == 0 || height == 0 || resolution == 0 || resolution > kMaxResolution ||
      !PageSideFits(width) || !PageSideFits(height)) {
    return PARSE_BAD_FORMAT;
  }
  ReportVerbose("\nWidth:      %d", width);
  ReportVerbose("\nHeight:     %d", height);
  ReportVerbose("\nResolution: %d", resolution);
  if (PageTextSink* sink = page.sink) {
    sink->DescribePage(imageName, resolution);
    sink->BeginPage(page.pageNumber, width, height);
  }
  return PARSE_OK;
}

int ReadFrameTypes(PageContext& page) {
  FrfStream& stream = page.stream;
  const int32_t regionStart = stream.Position();
  uint8_t frameCount = 0;
  RETURN_UNLESS_OK(ReadField(stream, frameCount));
  stream.Skip(frameCount);
  ListRegion(stream, 16, "\n\n *** Header: Frame Types array  ***", regionStart,
             RegionLast(stream));
  page.frameTypes.assign(frameCount, 0);
  // The listing above has read the types already; read them again from their first byte.
  stream.Seek(WrapAdd(stream.Position(), -static_cast<int32_t>(frameCount)));
  if (frameCount == 0)
    return PARSE_OK;
  return ReadBytes(stream, page.frameTypes.data(), frameCount);
}

}  // namespace

int ParseHeader(PageContext& page, int32_t* step) {
  FrfStream& stream = page.stream;
  int32_t contentCount = 0;
  UnitText imageName;

  EnterStep(step, STEP_SIGNATURE);
  RETURN_UNLESS_OK(ReadSignature(stream));
  EnterStep(step, STEP_VERSION);
  RETURN_UNLESS_OK(ReadVersion(page));
  RETURN_UNLESS_OK(ReadNames(page, step, contentCount));

  EnterStep(step, STEP_UNKNOWN_BLOCK);
  RETURN_UNLESS_OK(ReadUnknownBlock(page, contentCount));
  EnterStep(step, STEP_IMAGE_NAME);
  RETURN_UNLESS_OK(ReadImageName(page, contentCount, imageName));
  const int64_t tail = static_cast<int64_t>(stream.Size()) - stream.Position();
  if (contentCount <= 1 && tail <= kEmptyFileTail) {
    ReportEmptyFile(page);
    return PARSE_BAD_FORMAT;
  }
  RETURN_UNLESS_OK(ReadData1(page, step));

  EnterStep(step, STEP_DATA2);
  RETURN_UNLESS_OK(ReadPageSize(page, imageName));
  EnterStep(step, STEP_EXTRA_WORD);
  if (page.IsVersion10()) {
    uint32_t extra = 0;
    RETURN_UNLESS_OK(ReadField(stream, extra));
  }
  EnterStep(step, STEP_CONSTANT);
  RETURN_UNLESS_OK(ReadExpected<uint8_t>(stream, 1));
  EnterStep(step, STEP_FRAME_TYPES);
  return ReadFrameTypes(page);
}

int ParseEnd(PageContext& page, int32_t* step) {
  FrfStream& stream = page.stream;
  ReportVerbose("\nEnd of Frames, offset=%08lX", OffsetValue(stream.Position()));

  EnterStep(step, STEP_END_RECORDS);
  int32_t regionStart = stream.Position();
  RETURN_UNLESS_OK(ReadExpected<uint8_t>(stream, 0));
  uint8_t shortCount = 0;
  RETURN_UNLESS_OK(ReadField(stream, shortCount));
  uint32_t count = shortCount;
  if (shortCount == 255)
    RETURN_UNLESS_OK(ReadField(stream, count));
  stream.Skip(static_cast<int32_t>(20u * count));
  ListRegion(stream, 17, "\n\n *** End Header: End of frames ***", regionStart, RegionLast(stream));

  EnterStep(step, STEP_END_IDENTIFIER);
  regionStart = stream.Position();
  RETURN_UNLESS_OK(ReadExpected<uint32_t>(stream, kEndIdentifier));
  uint8_t trailer[4];
  RETURN_UNLESS_OK(ReadBytes(stream, trailer, sizeof trailer));
  ListRegion(stream, 18, "\n\n *** End Header: End ID ***", regionStart, RegionLast(stream));
  if (std::memcmp(trailer, kSignature, 4) != 0)
    return PARSE_BAD_FORMAT;

  ReportTag(page.options.ListTagNumber, "\n\n *** OK! ***");
  return PARSE_OK;
}
