// The process-wide record of the file being parsed: its name and page number, its stream, and
// the text buffers of the run. The batch driver fills it and owns what it holds, and hands its
// parts to ParsePage.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "ocrsift/frf/page_context.h"
#include "ocrsift/stream/frf_stream.h"

struct RunState {
  std::string CurrentPath;
  int32_t PageNumber = -1;
  std::unique_ptr<FrfStream> CurrentStream;
  PageTextBuffers Text;
};

extern RunState gRunState;

// Releases what the state holds and returns it to its initial values (used by tests).
void ResetRunState();
