// The parse of one opened page: the header, each frame by its type, the end record, and the
// closing of the page in the script writer.
#pragma once

#include <cstdint>

// Where a page parse ended.
struct PageParse {
  int result = 0;            // PARSE_OK, or the code of the failure
  int32_t step = 0;          // the step reached: the failing step of a failure
  int32_t failedFrame = -1;  // zero-based index of the failed frame; -1 for header or end record
  uint8_t frameType = 0;     // the type byte of the failed frame
  int32_t elementStart = 0;  // the offset at which the failed header or end record began
};

// Parses gRunState.CurrentStream from its header to its end record, frames by their types as
// far as both the header's frame count and its frame types reach, and stops at the first
// failure. The page is closed in the writer after a good parse and, under -i, after a failed
// one too; without -i a failed page is never closed, not even at the end of the run. The
// failure itself is reported by ReportPageFailure.
PageParse ParsePage();
