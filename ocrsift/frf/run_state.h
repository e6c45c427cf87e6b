// The process-wide state through which the FRF parsers reach the current file, the script
// writer and the facts of the file being parsed. The batch driver fills it and owns what it
// holds.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/platform/platform.h"
#include "ocrsift/stream/frf_stream.h"
#include "ocrsift/textlayer/text_marks.h"

class PageTextSink;

// Capacities of the text buffers in UTF-16 code units. The narrow form takes up to
// platform::NarrowBytesPerUnit() bytes per code unit (the ANSI code page's longest character
// on Windows, three for UTF-8 elsewhere), known only when the program runs: the narrow buffers
// have room for the most any platform needs, and NarrowRoom gives the part of it in use, so
// no text that fits in code units fails for room in its narrow form.
constexpr int32_t WIDE_TEXT_CAPACITY = 40000;
constexpr int32_t NAME_CAPACITY = 260;  // names in the header
constexpr int32_t FONT_CAPACITY = 100;  // language and font names
constexpr int32_t NARROW_TEXT_SIZE = WIDE_TEXT_CAPACITY * platform::MAX_NARROW_BYTES_PER_UNIT;
constexpr int32_t NARROW_NAME_SIZE = NAME_CAPACITY * platform::MAX_NARROW_BYTES_PER_UNIT;
constexpr int32_t NARROW_FONT_SIZE = FONT_CAPACITY * platform::MAX_NARROW_BYTES_PER_UNIT;

// The bytes of a narrow buffer of `units` code units that this platform uses.
int NarrowRoom(int32_t units);

struct RunState {
  std::string CurrentPath;
  int32_t PageNumber = -1;
  std::unique_ptr<FrfStream> CurrentStream;
  std::unique_ptr<PageTextSink> CurrentWriter;
  std::vector<uint8_t> FrameTypes;
  int32_t FrameCount = 0;
  uint16_t FormatVersion = 0;
  uint16_t WideTextBuffer[WIDE_TEXT_CAPACITY] = {};
  char NarrowTextBuffer[NARROW_TEXT_SIZE] = {};

  RunState();
  ~RunState();
  RunState(const RunState&) = delete;
  RunState& operator=(const RunState&) = delete;
};

extern RunState gRunState;

// Releases what the state holds and returns it to its initial values (used by tests).
void ResetRunState();

// Reads n UTF-16 code units from CurrentStream into WideTextBuffer, replaces U+00AC by
// MARK_HYPHEN and U+2028 by MARK_LINE_END there, and converts the text into the narrow form
// in output. Returns the bytes written including the terminating zero, or 0 when the read
// failed, n lies outside 0..WIDE_TEXT_CAPACITY-1, or the text does not fit outputSize.
int ReadNarrowString(char* output, int outputSize, int32_t n);

// The UTF-8 form of the text that the last successful ReadNarrowString left in WideTextBuffer.
std::string Utf8OfWideText();
