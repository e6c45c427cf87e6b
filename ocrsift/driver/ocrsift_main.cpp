#include "ocrsift/driver/ocrsift_main.h"

#include <cstdio>

#include "common/platform/platform.h"
#include "ocrsift/diagnostics/channels.h"
#include "ocrsift/driver/command_line.h"
#include "ocrsift/driver/document_choice.h"
#include "ocrsift/driver/run_batch.h"

int OcrsiftMain(int argc, const char* const* argv) {
  const ParseOutcome outcome = ParseCommandLine(argc, argv);
  if (outcome != ParseOutcome::kAccepted) {
    if (outcome == ParseOutcome::kShowUsage)
      ShowUsage();
    return 1;
  }
  gRunOptions.OutputStream = stdout;
  const RunOptions& options = gRunOptions;
  const FormatRow& format = ChosenFormat(options);
  if (!options.Verbose && format.binary && platform::IsTerminal(stdout)) {
    // As compressors do: binary bytes would only garble the terminal.
    ReportError(
        "Output format \"%s\" is binary and is not written to a terminal; redirect"
        " standard output to a file or a pipe\n",
        format.name);
    return 1;
  }
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
