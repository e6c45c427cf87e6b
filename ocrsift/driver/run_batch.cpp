#include "ocrsift/driver/run_batch.h"

#include <cstdio>
#include <memory>
#include <new>
#include <string>

#include "common/numeric/decimal.h"
#include "common/numeric/wrapping_int32.h"
#include "common/platform/platform.h"
#include "ocrsift/diagnostics/channels.h"
#include "ocrsift/diagnostics/hex_dump.h"
#include "ocrsift/diagnostics/run_options.h"
#include "ocrsift/driver/command_line.h"
#include "ocrsift/driver/file_name_list.h"
#include "ocrsift/frf/frf.h"
#include "ocrsift/frf/run_state.h"
#include "ocrsift/textlayer/text_layer_writer.h"

namespace {

// Step numbers the driver sets before each parse call.
constexpr int32_t STEP_HEADER = 0;
constexpr int32_t STEP_FRAME_HEAD = 79;
constexpr int32_t STEP_TEXT_FRAME = 99;
constexpr int32_t STEP_PICTURE_FRAME = 299;
constexpr int32_t STEP_TABLE_FRAME = 399;
constexpr int32_t STEP_BARCODE_FRAME = 499;
constexpr int32_t STEP_UNKNOWN_FRAME = 600;
constexpr int32_t STEP_END = 20;

// The last offset of the whole-file dump.
constexpr int32_t WHOLE_DUMP_LAST = 0x1FFFF;

bool Failure(int result) {
  return result == PARSE_EOF || result == PARSE_BAD_FORMAT;
}

const char* FrameLabel(uint8_t type) {
  switch (type) {
    case 0:
      return "Text Frame:";
    case 1:
      return "Pict Frame:";
    case 3:
      return "Table Frame:";
    case 4:
      return "BarCode Frame:";
    default:
      return "Unknow Frame:";
  }
}

void ReportQuietName() {
  if (gRunOptions.Quiet)
    ReportError("\n** File \"%s\"...", gRunState.CurrentPath.c_str());
}

// A failure of the header or of the end of frames.
void ReportFailureA(int result, int32_t step, int32_t startOffset) {
  if (gRunOptions.IgnoreBadPages) {
    gRunState.CurrentWriter->EndPage();
    return;
  }
  FrfStream& stream = *gRunState.CurrentStream;
  ReportQuietName();
  ReportError(result == PARSE_EOF ? "\nUnexpected End-Of-File" : "\nInvalid FRF format");
  ReportError(" (%d) offset=%08lX", step, OffsetValue(stream.LastReadStart()));
  HexDumpAroundFailure(stream, startOffset);
}

// A failure inside frame k.
void ReportFailureB(int result, int32_t k, uint8_t type, int32_t step) {
  if (gRunOptions.IgnoreBadPages) {
    gRunState.CurrentWriter->EndPage();
    return;
  }
  ReportQuietName();
  if (result == PARSE_EOF) {
    ReportError("\n%s Unexpected End-Of-File ", FrameLabel(type));
  } else {
    ReportError("\n%s Invalid FRF format ", FrameLabel(type));
  }
  ReportError("(%d::%d) offset=%08lX", k, step,
              OffsetValue(gRunState.CurrentStream->LastReadStart()));
}

// Parses the open file from header to end record. Returns 2 when it failed, else 0.
int ParseOneFile() {
  FrfStream& stream = *gRunState.CurrentStream;
  gRunState.FrameTypes.clear();
  gRunState.FrameCount = 0;

  int32_t step = STEP_HEADER;
  int32_t start = stream.Position();
  int result = ParseHeader(&step);
  if (result != PARSE_OK) {
    ReportFailureA(result, step, start);
    return 2;
  }

  for (int32_t k = 0;
       k < gRunState.FrameCount && k < static_cast<int32_t>(gRunState.FrameTypes.size()); ++k) {
    const uint8_t type = gRunState.FrameTypes[static_cast<size_t>(k)];
    result = ParseFrame(k, type, &step);
    if (Failure(result)) {
      ReportFailureB(result, k, type, step);
      return 2;
    }
  }

  step = STEP_END;
  start = stream.Position();
  result = ParseEnd(&step);
  if (result != PARSE_OK) {
    ReportFailureA(result, step, start);
    return 2;
  }
  gRunState.CurrentWriter->EndPage();
  if (gRunOptions.TestOnly && !gRunOptions.Quiet)
    std::fprintf(stdout, "\n*** OK! ***");
  ReportVerbose("\n\nNormal end (%d) offset %08lX", step, OffsetValue(stream.Position()));
  return 0;
}

}  // namespace

int ParseFrame(int32_t k, uint8_t type, int32_t* step) {
  const int32_t frameNumber = k + 1;
  switch (type) {
    case 0: {
      *step = STEP_FRAME_HEAD;
      int result = ParseFrameHead(frameNumber, step);
      if (result != PARSE_OK)
        return result;
      *step = STEP_TEXT_FRAME;
      return ParseTextFrame(frameNumber, step);
    }
    case 1:
      *step = STEP_PICTURE_FRAME;
      return ParsePictureFrame(frameNumber, step);
    case 3:
      *step = STEP_TABLE_FRAME;
      return ParseTableFrame(frameNumber, step);
    case 4:
      *step = STEP_BARCODE_FRAME;
      return ParseBarcodeFrame(frameNumber, step);
    default:
      *step = STEP_UNKNOWN_FRAME;
      return PARSE_BAD_FORMAT;
  }
}

void AdvancePageNumber() {
  gRunState.PageNumber = WrapAdd(gRunState.PageNumber, 1);
}

void PageNumberFromName() {
  const std::string& path = gRunState.CurrentPath;
  // Only the file-name part counts: a dot in a directory name must not decide the number.
  std::string::size_type cut = path.rfind(platform::DirSeparator());
  const std::string name = (cut == std::string::npos) ? path : path.substr(cut + 1);
  const std::string::size_type dot = name.rfind('.');
  long scan =
      (dot == std::string::npos) ? static_cast<long>(name.size()) - 1 : static_cast<long>(dot) - 1;
  while (scan >= 0 && name[static_cast<size_t>(scan)] >= '0' &&
         name[static_cast<size_t>(scan)] <= '9') {
    --scan;
  }
  const size_t digits = static_cast<size_t>(scan + 1);
  if (digits < name.size())
    gRunState.PageNumber = numeric::ReadDecimal(name.c_str() + digits);
  if (gRunState.PageNumber == 0)
    gRunState.PageNumber = 1;
}

int RunBatch() {
  RunOptions& options = gRunOptions;
  ApplyOptionRules();

  std::unique_ptr<FileNameList> names(new (std::nothrow) FileNameList());
  if (names)
    names->BuildFileNameList(options.InputSpec);
  if (!names || !names->IsValid()) {
    ReportError("\nError processing file name \"%s\" ", options.InputSpec.c_str());
    return 1;
  }
  if (names->NameCount() == 0) {
    names.reset();
    ReportError("\nNo files specified in list \"%s\" ", options.InputSpec.c_str());
    return 1;
  }
  gRunState.CurrentWriter.reset(new (std::nothrow) TextLayerWriter(
      options.OutputStream, options.Verbose, options.JoinHyphenated));
  if (!gRunState.CurrentWriter) {
    names.reset();
    ReportError("\nInsufficient memory");
    return 1;
  }

  int runResult = 0;
  gRunState.PageNumber = WrapAdd(options.FirstPage, -1);
  while (names->NextName(gRunState.CurrentPath)) {
    const char* path = gRunState.CurrentPath.c_str();
    if (options.AutoPageNumbers) {
      PageNumberFromName();
    } else {
      AdvancePageNumber();
    }
    if (gRunState.PageNumber <= 0 && !options.HexDumpMode && !options.ListTags) {
      ReportError("\n**** page number not specified ***");
      names.reset();
      gRunState.CurrentWriter.reset();
      return 2;
    }

    gRunState.CurrentStream.reset(new (std::nothrow) FrfStream(path));
    if (!gRunState.CurrentStream || gRunState.CurrentStream->Failed()) {
      gRunState.CurrentStream.reset();
      if (!options.IgnoreBadPages)
        ReportError("\nCan't open file \"%s\" ", path);
      // A page that was asked for and not delivered is a failure of the run, also under -i.
      runResult = 2;
      continue;
    }

    if (options.HexDumpMode) {
      HexDump(*gRunState.CurrentStream, 0, -1, WHOLE_DUMP_LAST, true);
      gRunState.CurrentStream.reset();
      names.reset();
      gRunState.CurrentWriter.reset();
      return 0;
    }

    ReportVerbose("\n** File \"%s\"", path);
    ReportTag(options.ListTagNumber, "\n** File \"%s\"", path);
    if (options.TestOnly && !options.Quiet)
      std::fprintf(stdout, "\n** File \"%s\"...", path);

    if (ParseOneFile() != 0)
      runResult = 2;
    gRunState.CurrentStream.reset();
  }

  gRunState.CurrentWriter.reset();
  names.reset();
  std::fflush(stdout);
  return runResult;
}
