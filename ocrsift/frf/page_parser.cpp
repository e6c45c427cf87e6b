#include "ocrsift/frf/page_parser.h"

#include "ocrsift/diagnostics/run_options.h"
#include "ocrsift/frf/frame_kinds.h"
#include "ocrsift/page/page_text_sink.h"

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

PageParse ParsePage(FrfStream& stream, PageTextSink* sink, const RunOptions& options,
                    const std::string& path, int32_t pageNumber, PageTextBuffers& buffers) {
  PageParse page;
  PageContext context{stream, sink, options, path, pageNumber, buffers.wide, buffers.narrow, 0, {}};

  page.step = STEP_HEADER;
  page.elementStart = stream.Position();
  page.result = ParseHeader(context, &page.step);
  page.formatVersion = context.formatVersion;
  page.frameTypes = context.frameTypes;
  if (page.result == PARSE_OK)
    ParseFrames(context, page);
  if (page.result == PARSE_OK) {
    page.step = STEP_END;
    page.elementStart = stream.Position();
    page.result = ParseEnd(context, &page.step);
  }

  if (sink != nullptr) {
    if (page.result == PARSE_OK || options.IgnoreBadPages) {
      sink->EndPage();
    } else {
      sink->FailPage();
    }
  }
  return page;
}
