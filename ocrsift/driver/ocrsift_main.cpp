#include "ocrsift/driver/ocrsift_main.h"

#include <cstdio>

#include "common/platform/platform.h"
#include "ocrsift/driver/command_line.h"
#include "ocrsift/driver/run_batch.h"

int OcrsiftMain(int argc, const char* const* argv) {
  if (!ParseOptions(argc, argv)) {
    ShowUsage();
    return 1;
  }
  gRunOptions.OutputStream = stdout;
  const RunOptions& options = gRunOptions;
  if (!options.Verbose && !options.ListTags && !options.HexDumpMode && !options.TestOnly &&
      !platform::IsTerminal(stdout)) {
    // Standard output carries the script alone, into a file or a pipe: large blocks save
    // system calls. A terminal keeps its line buffering. Nothing has been written to the
    // stream yet, as setvbuf requires.
    static char scriptBuffer[1 << 16];
    std::setvbuf(stdout, scriptBuffer, _IOFBF, sizeof scriptBuffer);
  }
  return RunBatch();
}
