#include "ocrsift/frf/page_parser.h"

#include "ocrsift/diagnostics/run_options.h"
#include "ocrsift/frf/frame_kinds.h"
#include "ocrsift/frf/frf.h"
#include "ocrsift/frf/page_context.h"
#include "ocrsift/frf/run_state.h"
#include "ocrsift/textlayer/page_text_sink.h"

namespace {

constexpr int32_t STEP_HEADER = 0;
constexpr int32_t STEP_END = 20;

void ParseFrames(PageContext& context, PageParse& page) {
  for (size_t k = 0; k < context.frameTypes.size(); ++k) {
    const uint8_t type = context.frameTypes[k];
    const int result = ParseFrame(context, static_cast<int32_t>(k), type, &page.step);
    if (IsParseFailure(result)) {
      page.result = result;
      page.failedFrame = static_cast<int32_t>(k);
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
  if (gRunState.CurrentStream == nullptr) {
    page.result = PARSE_EOF;
    return page;
  }
  PageContext context{*gRunState.CurrentStream,
                      gRunState.CurrentWriter.get(),
                      gRunOptions,
                      gRunState.CurrentPath,
                      gRunState.PageNumber,
                      gRunState.WideTextBuffer,
                      gRunState.NarrowTextBuffer,
                      0,
                      {}};
  FrfStream& stream = context.stream;

  page.step = STEP_HEADER;
  page.elementStart = stream.Position();
  page.result = ParseHeader(context, &page.step);
  gRunState.FormatVersion = context.formatVersion;
  gRunState.FrameTypes = context.frameTypes;
  gRunState.FrameCount = static_cast<int32_t>(context.frameTypes.size());
  if (page.result == PARSE_OK)
    ParseFrames(context, page);
  if (page.result == PARSE_OK) {
    page.step = STEP_END;
    page.elementStart = stream.Position();
    page.result = ParseEnd(context, &page.step);
  }

  if (PageTextSink* sink = context.sink) {
    if (page.result == PARSE_OK || gRunOptions.IgnoreBadPages) {
      sink->EndPage();
    } else {
      sink->FailPage();
    }
  }
  return page;
}
