#include "ocrsift/frf/page_parser.h"

#include "ocrsift/diagnostics/run_options.h"
#include "ocrsift/frf/frame_kinds.h"
#include "ocrsift/frf/frf.h"
#include "ocrsift/frf/run_state.h"
#include "ocrsift/textlayer/page_text_sink.h"

namespace {

constexpr int32_t STEP_HEADER = 0;
constexpr int32_t STEP_END = 20;

void ParseFrames(PageParse& page) {
  for (int32_t k = 0;
       k < gRunState.FrameCount && k < static_cast<int32_t>(gRunState.FrameTypes.size()); ++k) {
    const uint8_t type = gRunState.FrameTypes[static_cast<size_t>(k)];
    const int result = ParseFrame(k, type, &page.step);
    if (IsParseFailure(result)) {
      page.result = result;
      page.failedFrame = k;
      page.frameType = type;
      return;
    }
  }
}

}  // namespace

PageParse ParsePage() {
  PageParse page;
  gRunState.FrameTypes.clear();
  gRunState.FrameCount = 0;
  const FrfStream* stream = gRunState.CurrentStream.get();
  if (stream == nullptr) {
    page.result = PARSE_EOF;
    return page;
  }

  page.step = STEP_HEADER;
  page.elementStart = stream->Position();
  page.result = ParseHeader(&page.step);
  if (page.result == PARSE_OK)
    ParseFrames(page);
  if (page.result == PARSE_OK) {
    page.step = STEP_END;
    page.elementStart = stream->Position();
    page.result = ParseEnd(&page.step);
  }

  if (PageTextSink* writer = gRunState.CurrentWriter.get()) {
    if (page.result == PARSE_OK || gRunOptions.IgnoreBadPages) {
      writer->EndPage();
    } else {
      writer->FailPage();
    }
  }
  return page;
}
