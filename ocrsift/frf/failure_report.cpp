#include "ocrsift/frf/failure_report.h"

#include "ocrsift/diagnostics/channels.h"
#include "ocrsift/diagnostics/hex_dump.h"
#include "ocrsift/diagnostics/name_lines.h"
#include "ocrsift/diagnostics/run_options.h"
#include "ocrsift/frf/frame_kinds.h"
#include "ocrsift/frf/frf.h"
#include "ocrsift/frf/page_context.h"

namespace {

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

void ReportPageFailure(const PageParse& page, FrfStream& stream, const RunOptions& options,
                       const std::string& path) {
  if (options.IgnoreBadPages)
    return;
  NameFileBeforeReport(path);
  if (page.failedFrame < 0) {
    ReportRecordFailure(stream, page);
  } else {
    ReportFrameFailure(stream, page);
  }
}

void ReportBlockFailure(const PageContext& page, int result, int32_t frameNumber,
                        int32_t blockNumber, int32_t step, int32_t partStart) {
  if (page.options.IgnoreBadPages)
    return;
  NameFileBeforeReport(page.path);
  ReportError("\n%s (%d:%d:%d) offset=%08lX", FailureName(result), frameNumber, blockNumber, step,
              OffsetValue(page.stream.LastReadStart()));
  HexDumpAroundFailure(page.stream, partStart);
}

void ReportUnknownVersion(const PageContext& page) {
  // Under -i this is the one message of the file, and it names the file itself.
  if (!page.options.IgnoreBadPages)
    NameFileBeforeReport(page.path);
  ReportError("\nUNKNOW VERSION for file %s", page.path.c_str());
}

void ReportEmptyFile(const PageContext& page) {
  if (!page.options.IgnoreBadPages) {
    NameFileBeforeReport(page.path);
    ReportError("\nEmpty file, not processed by FineReader, \"%s\" ", page.path.c_str());
  }
}
