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

int ReadNarrowString(PageContext& page, char* output, int outputSize, int32_t n) {
  if (n < 0 || n >= WIDE_TEXT_CAPACITY)
    return 0;
  uint16_t* wide = page.wideText;
  if (!page.stream.ReadWideChars(wide, n))
    return 0;
  for (int32_t i = 0; i < n; ++i) {
    if (wide[i] == 0x00AC) {
      wide[i] = MARK_HYPHEN;
    } else if (wide[i] == 0x2028) {
      wide[i] = MARK_LINE_END;
    }
  }
  return platform::WideToNarrow(wide, output, outputSize);
}
