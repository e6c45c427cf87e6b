#include "ocrsift/diagnostics/run_options.h"

RunOptions gRunOptions;

void ResetRunOptions() {
  gRunOptions = RunOptions();
}
