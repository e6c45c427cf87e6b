#include "ocrsift/frf/failure_report.h"

#include "ocrsift/diagnostics/channels.h"
#include "ocrsift/diagnostics/hex_dump.h"
#include "ocrsift/diagnostics/run_options.h"
#include "ocrsift/frf/frame_kinds.h"
#include "ocrsift/frf/frf.h"
#include "ocrsift/frf/run_state.h"

namespace {

// Under -q the name line of the file comes before its failure report only.
void ReportQuietName() {
  if (gRunOptions.Quiet)
    ReportError("\n** File \"%s\"...", gRunState.CurrentPath.c_str());
}

void ReportRecordFailure(FrfStream& stream, const PageParse& page) {
  ReportError(page.result == PARSE_EOF ? "\nUnexpected End-Of-File" : "\nInvalid FRF format");
  ReportError(" (%d) offset=%08lX", page.step, OffsetValue(stream.LastReadStart()));
  HexDumpAroundFailure(stream, page.elementStart);
}

void ReportFrameFailure(const FrfStream& stream, const PageParse& page) {
  const char* label = FrameKindOf(page.frameType).label;
  if (page.result == PARSE_EOF) {
    ReportError("\n%s Unexpected End-Of-File ", label);
  } else {
    ReportError("\n%s Invalid FRF format ", label);
  }
  ReportError("(%d::%d) offset=%08lX", page.failedFrame, page.step,
              OffsetValue(stream.LastReadStart()));
}

}  // namespace

void ReportPageFailure(const PageParse& page) {
  FrfStream* stream = gRunState.CurrentStream.get();
  if (gRunOptions.IgnoreBadPages || stream == nullptr)
    return;
  ReportQuietName();
  if (page.failedFrame < 0) {
    ReportRecordFailure(*stream, page);
  } else {
    ReportFrameFailure(*stream, page);
  }
}

void ReportBlockFailure(FrfStream& stream, int result, int32_t frameNumber, int32_t blockNumber,
                        int32_t step, int32_t partStart) {
  if (gRunOptions.IgnoreBadPages)
    return;
  ReportError(result == PARSE_EOF ? "\nUnexpected End-Of-File" : "\nInvalid FRF format");
  ReportError(" (%d:%d:%d) offset=%08lX", frameNumber, blockNumber, step,
              OffsetValue(stream.LastReadStart()));
  HexDumpAroundFailure(stream, partStart);
}

void ReportUnknownVersion() {
  ReportError("\nUNKNOW VERSION for file %s", gRunState.CurrentPath.c_str());
}

void ReportEmptyFile() {
  if (!gRunOptions.IgnoreBadPages) {
    ReportError("\nEmpty file, not processed by FineReader, \"%s\" ",
                gRunState.CurrentPath.c_str());
  }
}
