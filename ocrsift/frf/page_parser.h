// The parse of one opened page: the header, each frame by its type, the end record, and the
// end of the page in the text sink.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ocrsift/frf/frf.h"
#include "ocrsift/frf/page_context.h"

class FrfStream;
class PageTextSink;
struct RunOptions;

// Where a page parse ended, and what the header told of the file.
struct PageParse {
  int result = PARSE_OK;       // the code of the failure, if any
  int32_t step = 0;            // the step reached: the failing step of a failure
  int32_t failedFrame = -1;    // zero-based index of the failed frame; -1 for header or end record
  uint8_t frameType = 0;       // the type byte of the failed frame
  int32_t elementStart = 0;    // the offset at which the failed header or end record began
  uint16_t formatVersion = 0;  // as far as the header was read
  std::vector<uint8_t> frameTypes;  // as far as the header was read
};

// Parses the file open in stream from its header to its end record, each frame by its type,
// and stops at the first failure. The page goes to sink (null: nowhere) as page pageNumber;
// path is the name the messages quote; buffers hold the text read, as the verbose trace of a
// later page may show it. The page is ended in the sink after a good parse and, under -i,
// after a failed one too; otherwise the sink learns that it failed. The failure itself is
// reported by ReportPageFailure.
PageParse ParsePage(FrfStream& stream, PageTextSink* sink, const RunOptions& options,
                    const std::string& path, int32_t pageNumber, PageTextBuffers& buffers);
