#include "ocrsift/frf/page_context.h"

#include "common/platform/platform.h"
#include "ocrsift/textlayer/text_marks.h"

int NarrowRoom(int32_t units) {
  return units * platform::NarrowBytesPerUnit();
}

std::string Utf8OfWideText(const PageContext& page) {
  size_t units = 0;
  while (units < static_cast<size_t>(WIDE_TEXT_CAPACITY) && page.wideText[units] != 0)
    ++units;
  // Up to three bytes per code unit (four per surrogate pair) and the terminator.
  std::string utf8(units * 3 + 1, '\0');
  const int size = platform::WideToUtf8(page.wideText, &utf8[0], static_cast<int>(utf8.size()));
  utf8.resize(size > 0 ? static_cast<size_t>(size - 1) : 0);
  return utf8;
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
