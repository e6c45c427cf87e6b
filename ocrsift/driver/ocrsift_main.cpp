#include <cstdio>

#include "ocrsift/driver/run_options.h"

int OcrsiftMain(int argc, const char* const* argv) {
  if (!ParseOptions(argc, argv)) {
    ShowUsage();
    return 1;
  }
  gRunOptions.OutputStream = stdout;
  // The batch run over the input files is not part of this build yet.
  return 0;
}
