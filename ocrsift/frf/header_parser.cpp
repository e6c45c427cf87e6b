// The file header up to the frame types array, and the closing record after the last frame.
#include <cstdint>
#include <cstring>

#include "ocrsift/diagnostics/channels.h"
#include "ocrsift/diagnostics/run_options.h"
#include "ocrsift/frf/failure_report.h"
#include "ocrsift/frf/frame_records.h"
#include "ocrsift/frf/frf.h"
#include "ocrsift/frf/parse_support.h"
#include "ocrsift/frf/run_state.h"

using namespace frf_detail;

namespace {

const uint8_t kSignature[4] = {'F', 'R', '5', 'S'};
constexpr uint32_t kEndIdentifier = 0xB80875BCu;
// A file whose header holds at most one item of content and leaves no more than this many
// bytes was saved before any recognition took place.
constexpr int64_t kEmptyFileTail = 30;
constexpr int32_t kMaxResolution = 1200;

// Both versions' unknown blocks open with word A, always 0, and word B, of any value.
int ReadUnknownBlockLead(FrfStream& stream) {
  uint16_t wordA = 0;
  uint16_t wordB = 0;
  if (!stream.ReadWord(wordA))
    return PARSE_EOF;
  if (wordA != 0)
    return PARSE_BAD_FORMAT;
  if (!stream.ReadWord(wordB))
    return PARSE_EOF;
  return PARSE_OK;
}

// The unknown block of version-6 headers.
int ReadUnknownBlock6(FrfStream& stream) {
  const int lead = ReadUnknownBlockLead(stream);
  if (lead != PARSE_OK)
    return lead;
  for (int flagIndex = 0; flagIndex < 2; ++flagIndex) {  // flags C and D
    uint8_t flag = 0;
    if (!stream.ReadByte(flag))
      return PARSE_EOF;
    if (flag != 0) {
      uint8_t byteValue = 0;
      uint32_t dwordValue = 0;
      if (!stream.ReadByte(byteValue) || !stream.ReadDword(dwordValue))
        return PARSE_EOF;
    }
  }
  for (int zeroIndex = 0; zeroIndex < 2; ++zeroIndex) {  // bytes E and F
    uint8_t value = 0;
    if (!stream.ReadByte(value))
      return PARSE_EOF;
    if (value != 0)
      return PARSE_BAD_FORMAT;
  }
  char unused[NARROW_NAME_SIZE];
  uint8_t length = 0;
  if (!stream.ReadByte(length))
    return PARSE_EOF;
  if (length != 0 && ReadNarrowString(unused, sizeof unused, length) == 0)
    return PARSE_EOF;
  uint8_t byteG = 0;
  if (!stream.ReadByte(byteG))
    return PARSE_EOF;
  if (byteG != 0)
    return PARSE_BAD_FORMAT;
  return PARSE_OK;
}

// The unknown block of version-10 headers; some of its flags count as content of the file.
int ReadUnknownBlock10(FrfStream& stream, int32_t& contentCount) {
  const int lead = ReadUnknownBlockLead(stream);
  if (lead != PARSE_OK)
    return lead;
  uint8_t flagC = 0;
  if (!stream.ReadByte(flagC))
    return PARSE_EOF;
  if (flagC != 0) {
    ++contentCount;
    if (flagC == 2)
      stream.Skip(9);
  }
  uint8_t flagD = 0;
  if (!stream.ReadByte(flagD))
    return PARSE_EOF;
  if (flagD != 0) {
    stream.Skip(9);
    ++contentCount;
  }
  uint8_t byteE = 0;
  if (!stream.ReadByte(byteE))
    return PARSE_EOF;
  if (byteE != 0)
    return PARSE_BAD_FORMAT;
  uint8_t countF = 0;
  if (!stream.ReadByte(countF))
    return PARSE_EOF;
  if (countF != 0) {
    // What follows a nonzero count F is not understood well enough; only -i accepts it.
    if (!gRunOptions.IgnoreBadPages)
      return PARSE_BAD_FORMAT;
    stream.Skip(2 * countF);
    ++contentCount;
  }
  uint8_t countG = 0;
  if (!stream.ReadByte(countG))
    return PARSE_EOF;
  if (countG != 0) {
    stream.Skip(2 * countG);
    ++contentCount;
  }
  uint8_t byteH = 0;
  if (!stream.ReadByte(byteH))
    return PARSE_EOF;
  return PARSE_OK;
}

}  // namespace

int ParseHeader(int32_t* step) {
  FrfStream* current = gRunState.CurrentStream.get();
  if (current == nullptr)
    return PARSE_EOF;
  FrfStream& stream = *current;
  int32_t contentCount = 0;

  ++*step;  // 1
  uint8_t signature[4];
  if (!stream.Read(signature, 4))
    return PARSE_EOF;
  if (std::memcmp(signature, kSignature, 4) != 0)
    return PARSE_BAD_FORMAT;

  ++*step;  // 2
  uint8_t version = 0;
  if (!stream.ReadByte(version))
    return PARSE_EOF;
  gRunState.FormatVersion = version;
  ReportVerbose("\nFormat version: %d.%d", 0, version);
  if (version != 6 && version != 10) {
    ReportUnknownVersion();
    return PARSE_BAD_FORMAT;
  }
  ReportTag(gRunOptions.ListTagNumber, "  Version=%04X\n", version);

  uint8_t namesFlag = 0;
  if (!stream.ReadByte(namesFlag))
    return PARSE_EOF;
  if (namesFlag == 2) {
    char name[NARROW_NAME_SIZE];
    ++*step;  // 3
    if (!ReadCountedName(stream, name, sizeof name))
      return PARSE_EOF;
    ReportVerbose("\nName #1: %s", name);
    ++*step;  // 4
    if (!ReadCountedName(stream, name, sizeof name))
      return PARSE_EOF;
    ReportVerbose("\nName #2: %s", name);
    contentCount = 1;
  } else if (namesFlag == 0) {
    *step += 2;
  } else {
    return PARSE_BAD_FORMAT;
  }

  ++*step;  // 5
  int32_t regionStart = stream.Position();
  int result = IsVersion10() ? ReadUnknownBlock10(stream, contentCount) : ReadUnknownBlock6(stream);
  if (result != PARSE_OK)
    return result;
  ListRegion(stream, 11, "\n\n *** Header: Unknow block ***", regionStart, RegionLast(stream));

  ++*step;  // 6
  regionStart = stream.Position();
  uint8_t imageNameLength = 0;
  if (!stream.ReadByte(imageNameLength))
    return PARSE_EOF;
  if (imageNameLength != 0) {
    char imageName[NARROW_NAME_SIZE];
    if (ReadNarrowString(imageName, sizeof imageName, imageNameLength) == 0)
      return PARSE_EOF;
    if (imageName[0] == 0)
      return PARSE_BAD_FORMAT;
    ReportVerbose("\nImage file name: %s", imageName);
    ListRegion(stream, 12, "\n\n *** Header: Image file name ***", regionStart, RegionLast(stream));
    ++contentCount;
  }
  const int64_t tail = static_cast<int64_t>(stream.Size()) - stream.Position();
  if (contentCount <= 1 && tail <= kEmptyFileTail) {
    ReportEmptyFile();
    return PARSE_BAD_FORMAT;
  }

  ++*step;  // 7
  regionStart = stream.Position();
  uint8_t data1[10];
  if (!stream.Read(data1, sizeof data1))
    return PARSE_EOF;
  const uint8_t k = data1[9];
  ListRegion(stream, 13, "\n\n *** Header: Unknow block DATA1 (part 1) ***", regionStart,
             RegionLast(stream));

  ++*step;  // 8
  regionStart = stream.Position();
  if (IsVersion10()) {
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

  ++*step;  // 9
  regionStart = stream.Position();
  uint8_t data2[22];
  if (!stream.Read(data2, sizeof data2))
    return PARSE_EOF;
  const int32_t width = Int32At(data2 + 10);
  const int32_t height = Int32At(data2 + 14);
  const int32_t resolution = Int32At(data2 + 18);
  ListRegion(stream, 15, "\n\n *** Header: Unknow block DATA2 ***", regionStart,
             RegionLast(stream));
  if (width == 0 || height == 0 || resolution == 0 || resolution > kMaxResolution) {
    return PARSE_BAD_FORMAT;
  }
  ReportVerbose("\nWidth:      %d", width);
  ReportVerbose("\nHeight:     %d", height);
  ReportVerbose("\nResolution: %d", resolution);
  if (TextLayerWriter* writer = Writer())
    writer->BeginPage(gRunState.PageNumber, width, height);

  ++*step;  // 10
  if (IsVersion10()) {
    uint32_t extra = 0;
    if (!stream.ReadDword(extra))
      return PARSE_EOF;
  }

  ++*step;  // 11
  uint8_t constant = 0;
  if (!stream.ReadByte(constant))
    return PARSE_EOF;
  if (constant != 1)
    return PARSE_BAD_FORMAT;

  ++*step;  // 12
  regionStart = stream.Position();
  uint8_t frameCount = 0;
  if (!stream.ReadByte(frameCount))
    return PARSE_EOF;
  gRunState.FrameCount = frameCount;
  stream.Skip(frameCount);
  ListRegion(stream, 16, "\n\n *** Header: Frame Types array  ***", regionStart,
             RegionLast(stream));
  gRunState.FrameTypes.assign(frameCount, 0);
  // The listing above has read the types already; read them again from their first byte.
  stream.Seek(WrapAdd(stream.Position(), -static_cast<int32_t>(frameCount)));
  if (frameCount > 0 && !stream.Read(gRunState.FrameTypes.data(), frameCount))
    return PARSE_EOF;
  return PARSE_OK;
}

int ParseEnd(int32_t* step) {
  FrfStream* current = gRunState.CurrentStream.get();
  if (current == nullptr)
    return PARSE_EOF;
  FrfStream& stream = *current;
  ReportVerbose("\nEnd of Frames, offset=%08lX", OffsetValue(stream.Position()));

  ++*step;  // 21
  int32_t regionStart = stream.Position();
  uint8_t marker = 0;
  if (!stream.ReadByte(marker))
    return PARSE_EOF;
  if (marker != 0)
    return PARSE_BAD_FORMAT;
  uint8_t shortCount = 0;
  if (!stream.ReadByte(shortCount))
    return PARSE_EOF;
  uint32_t count = shortCount;
  if (shortCount == 255 && !stream.ReadDword(count))
    return PARSE_EOF;
  stream.Skip(static_cast<int32_t>(20u * count));
  ListRegion(stream, 17, "\n\n *** End Header: End of frames ***", regionStart, RegionLast(stream));

  ++*step;  // 22
  regionStart = stream.Position();
  uint32_t identifier = 0;
  if (!stream.ReadDword(identifier))
    return PARSE_EOF;
  if (identifier != kEndIdentifier)
    return PARSE_BAD_FORMAT;
  uint8_t trailer[4];
  if (!stream.Read(trailer, sizeof trailer))
    return PARSE_EOF;
  ListRegion(stream, 18, "\n\n *** End Header: End ID ***", regionStart, RegionLast(stream));
  if (std::memcmp(trailer, kSignature, 4) != 0)
    return PARSE_BAD_FORMAT;

  ReportTag(gRunOptions.ListTagNumber, "\n\n *** OK! ***");
  return PARSE_OK;
}
