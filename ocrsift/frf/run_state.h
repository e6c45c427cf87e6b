// The process-wide record of the file being parsed: its name and page number, its stream, the
// text sink of the run, and the facts and text buffers of the file. The batch driver fills it
// and owns what it holds; ParsePage hands its parts to the parsers through a PageContext and
// records the header's facts here.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ocrsift/frf/page_context.h"
#include "ocrsift/stream/frf_stream.h"

class PageTextSink;

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
