#include "rastrify/rastrify_main.h"

#include <cstdio>
#include <string>

#include "common/platform/platform.h"
#include "rastrify/command_line.h"
#include "rastrify/decoder_invocation.h"
#include "rastrify/export_settings.h"
#include "rastrify/page_range.h"

int RastrifyMain(int argc, const char* const* argv) {
  if (!ParseCommandLine(argc, argv)) {
    PrintUsage();
    return 1;
  }
  const std::string decoderPath = DecoderPath();
  if (!platform::FileExists(decoderPath)) {
    std::fflush(stdout);
    std::fprintf(stderr, "\n*** Can't found decoder DjVuDecode.EXE in current folder. \n(%s)",
                 decoderPath.c_str());
    std::fflush(stderr);
    return 1;
  }
  const std::string relativeName = DecoderRelativeName();
  // Pages one after the other; the first that fails ends the run.
  while (NextPage(gExportSettings.CurrentPage)) {
    if (!RunDecoder(relativeName, DecoderArgumentsForPage(gExportSettings.CurrentPage)))
      return 1;
  }
  return 0;
}
