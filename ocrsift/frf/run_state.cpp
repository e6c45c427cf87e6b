#include "ocrsift/frf/run_state.h"

#include <cstring>

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
