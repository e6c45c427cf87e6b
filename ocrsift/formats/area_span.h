// The text areas of a recorded page as the XML formats lay them out: the blocks of one area
// follow each other, and a block without a written line is left out of every format, so an
// area whose blocks have none is left out as well.
#pragma once

#include <cstdint>

#include "ocrsift/page/page_rect.h"
#include "ocrsift/page/recorded_page.h"

struct AreaSpan {
  int32_t area = -1;    // index in RecordedPage::areas, -1 for blocks outside any area
  int32_t first = 0;    // its first block
  int32_t end = 0;      // one past its last block: the next span's first
  int32_t written = 0;  // its blocks with at least one line
  TextRect rect;        // around the written blocks' lines, when written > 0
};

// The span of the area whose blocks begin at block `first` (first < page.blocks.size()).
AreaSpan AreaSpanAt(const RecordedPage& page, int32_t first);
