// The parse of one opened page: the header, each frame by its type, the end record, and the
// closing of the page in the script writer.
#pragma once

#include <cstdint>

#include "ocrsift/frf/frf.h"

// Where a page parse ended.
struct PageParse {
  int result = PARSE_OK;     // the code of the failure, if any
  int32_t step = 0;          // the step reached: the failing step of a failure
  int32_t failedFrame = -1;  // zero-based index of the failed frame; -1 for header or end record
  uint8_t frameType = 0;     // the type byte of the failed frame
  int32_t elementStart = 0;  // the offset at which the failed header or end record began
};

// Parses the current file of RunState from its header to its end record, each frame by its
// type, and stops at the first failure. It is the one parser that reads RunState and
// RunOptions: it hands their parts to the others in a PageContext and records the header's
// facts (format version, frame types) in RunState. The page is closed in the text sink after a
// good parse and, under -i, after a failed one too; without -i a failed page is never closed,
// not even at the end of the run. The failure itself is reported by ReportPageFailure.
PageParse ParsePage();
