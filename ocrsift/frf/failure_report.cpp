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

// What went wrong, as every failure report names it.
const char* FailureName(int result) {
  return result == PARSE_EOF ? "Unexpected End-Of-File" : "Invalid FRF format";
}

void ReportRecordFailure(FrfStream& stream, const PageParse& page) {
  ReportError("\n%s (%d) offset=%08lX", FailureName(page.result), page.step,
              OffsetValue(stream.LastReadStart()));
  HexDumpAroundFailure(stream, page.elementStart);
}

void ReportFrameFailure(const FrfStream& stream, const PageParse& page) {
  ReportError("\n%s %s (%d::%d) offset=%08lX", FrameKindOf(page.frameType).label,
              FailureName(page.result), page.failedFrame, page.step,
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
  ReportError("\n%s (%d:%d:%d) offset=%08lX", FailureName(result), frameNumber, blockNumber, step,
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
