#include "ocrsift/formats/area_span.h"

#include <cassert>

AreaSpan AreaSpanAt(const RecordedPage& page, int32_t first) {
  const int32_t blocks = static_cast<int32_t>(page.blocks.size());
  assert(first >= 0 && first < blocks);
  AreaSpan span;
  span.area = page.blocks[static_cast<size_t>(first)].area;
  span.first = first;
  span.end = first;
  for (; span.end < blocks && page.blocks[static_cast<size_t>(span.end)].area == span.area;
       ++span.end) {
    const RecordedBlock& block = page.blocks[static_cast<size_t>(span.end)];
    if (block.lineCount == 0)
      continue;
    Unite(span.rect, BlockRect(page, block), span.written == 0);
    ++span.written;
  }
  return span;
}
