#include "ocrsift/frf/run_state.h"

#include <cstring>

#include "common/platform/platform.h"
#include "ocrsift/textlayer/page_text_sink.h"

RunState gRunState;

RunState::RunState() = default;
RunState::~RunState() = default;

void ResetRunState() {
  gRunState.CurrentPath.clear();
  gRunState.PageNumber = -1;
  gRunState.CurrentStream.reset();
  gRunState.CurrentWriter.reset();
  gRunState.FrameTypes.clear();
  gRunState.FrameCount = 0;
  gRunState.FormatVersion = 0;
  std::memset(gRunState.WideTextBuffer, 0, sizeof gRunState.WideTextBuffer);
  std::memset(gRunState.NarrowTextBuffer, 0, sizeof gRunState.NarrowTextBuffer);
}

int NarrowRoom(int32_t units) {
  return units * platform::NarrowBytesPerUnit();
}

std::string Utf8OfWideText() {
  size_t units = 0;
  while (units < static_cast<size_t>(WIDE_TEXT_CAPACITY) && gRunState.WideTextBuffer[units] != 0)
    ++units;
  // Up to three bytes per code unit (four per surrogate pair) and the terminator.
  std::string utf8(units * 3 + 1, '\0');
  const int size =
      platform::WideToUtf8(gRunState.WideTextBuffer, &utf8[0], static_cast<int>(utf8.size()));
  utf8.resize(size > 0 ? static_cast<size_t>(size - 1) : 0);
  return utf8;
}

int ReadNarrowString(char* output, int outputSize, int32_t n) {
  FrfStream* stream = gRunState.CurrentStream.get();
  if (stream == nullptr || n < 0 || n >= WIDE_TEXT_CAPACITY)
    return 0;
  uint16_t* wide = gRunState.WideTextBuffer;
  if (!stream->ReadWideChars(wide, n))
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
