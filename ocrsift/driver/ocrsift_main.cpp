#include "ocrsift/driver/ocrsift_main.h"

#include <cstdio>

#include "ocrsift/driver/command_line.h"
#include "ocrsift/driver/run_batch.h"

int OcrsiftMain(int argc, const char* const* argv) {
  if (!ParseOptions(argc, argv)) {
    ShowUsage();
    return 1;
  }
  gRunOptions.OutputStream = stdout;
  return RunBatch();
}
