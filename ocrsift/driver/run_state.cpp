#include "ocrsift/driver/run_state.h"

RunState gRunState;

void ResetRunState() {
  gRunState.CurrentPath.clear();
  gRunState.PageNumber = -1;
  gRunState.CurrentStream.reset();
  gRunState.Text = PageTextBuffers();
}
