#include "ocrsift/frf/page_context.h"

#include "common/platform/platform.h"
#include "ocrsift/page/text_marks.h"

int NarrowRoom(int32_t units) {
  return units * platform::NarrowBytesPerUnit();
}

UnitText UnitsOfWideText(const PageContext& page) {
  size_t units = 0;
  while (units < static_cast<size_t>(WIDE_TEXT_CAPACITY) && page.wideText[units] != 0)
    ++units;
  return UnitText(page.wideText, page.wideText + units);
}

namespace {

void PutMarks(uint16_t* text, int32_t n) {
  for (int32_t i = 0; i < n; ++i) {
    if (text[i] == 0x00AC) {
      text[i] = MARK_HYPHEN;
    } else if (text[i] == 0x2028) {
      text[i] = MARK_LINE_END;
    }
  }
}

}  // namespace

int ReadNarrowString(PageContext& page, char* output, int outputSize, int32_t n, TextMarks marks) {
  if (n < 0 || n >= WIDE_TEXT_CAPACITY)
    return 0;
  uint16_t* wide = page.wideText;
  if (!page.stream.ReadWideChars(wide, n))
    return 0;
  if (marks == TextMarks::InText) {
    PutMarks(wide, n);
    return platform::WideToNarrow(wide, output, outputSize);
  }
  std::vector<uint16_t> marked(wide, wide + n + 1);
  PutMarks(marked.data(), n);
  return platform::WideToNarrow(marked.data(), output, outputSize);
}
