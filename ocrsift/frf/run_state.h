// The process-wide state through which the FRF parsers reach the current file, the script
// writer and the facts of the file being parsed. The batch driver fills it and owns what it
// holds.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ocrsift/stream/frf_stream.h"
#include "ocrsift/textlayer/text_marks.h"

class TextLayerWriter;

// Capacities of the text buffers in UTF-16 code units. The narrow forms of this platform may
// take more than one byte per code unit (UTF-8 on POSIX: up to three), so every narrow buffer
// is scaled by NARROW_BYTES_PER_UNIT: no string that fits on Windows fails for room here.
constexpr int32_t WIDE_TEXT_CAPACITY = 40000;
#ifdef _WIN32
constexpr int32_t NARROW_BYTES_PER_UNIT = 1;
#else
constexpr int32_t NARROW_BYTES_PER_UNIT = 3;
#endif
constexpr int32_t NARROW_TEXT_SIZE = 40000 * NARROW_BYTES_PER_UNIT;  // OCR text of a block
constexpr int32_t NARROW_NAME_SIZE = 260 * NARROW_BYTES_PER_UNIT;    // names in the header
constexpr int32_t NARROW_FONT_SIZE = 100 * NARROW_BYTES_PER_UNIT;    // language and font names

struct RunState {
  std::string CurrentPath;
  int32_t PageNumber = -1;
  std::unique_ptr<FrfStream> CurrentStream;
  std::unique_ptr<TextLayerWriter> CurrentWriter;
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
