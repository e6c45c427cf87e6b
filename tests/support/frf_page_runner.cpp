#include "tests/support/frf_page_runner.h"

#include <cstdio>
#include <memory>

#include "ocrsift/diagnostics/run_options.h"
#include "ocrsift/driver/run_batch.h"
#include "ocrsift/frf/frf.h"
#include "ocrsift/frf/run_state.h"
#include "ocrsift/textlayer/text_layer_writer.h"
#include "tests/support/test_files.h"

namespace testing_support {

namespace {

int RunParsers(PageRun& run) {
  run.step = 0;
  int result = ParseHeader(&run.step);
  if (result != PARSE_OK)
    return result;
  for (int32_t k = 0; k < gRunState.FrameCount; ++k) {
    result = ParseFrame(k, gRunState.FrameTypes[static_cast<size_t>(k)], &run.step);
    if (result == PARSE_EOF || result == PARSE_BAD_FORMAT) {
      run.failedFrame = k;
      return result;
    }
  }
  run.step = 20;
  result = ParseEnd(&run.step);
  return result;
}

}  // namespace

PageRun RunFrfPage(const std::string& path, int32_t pageNumber) {
  PageRun run;
  TempDir temp;
  ResetRunState();
  FILE* errors = std::fopen(temp.File("errors").c_str(), "wb");
  FILE* script = std::fopen(temp.File("script").c_str(), "wb");
  FILE* previousErrors = gRunOptions.ErrorStream;
  gRunOptions.ErrorStream = errors;

  gRunState.CurrentPath = path;
  gRunState.PageNumber = pageNumber;
  gRunState.CurrentStream = std::make_unique<FrfStream>(path.c_str());
  gRunState.CurrentWriter =
      std::make_unique<TextLayerWriter>(script, false, gRunOptions.JoinHyphenated);
  if (gRunState.CurrentStream->Failed()) {
    run.result = PARSE_EOF;
  } else {
    run.result = RunParsers(run);
    run.offset = gRunState.CurrentStream->LastReadStart();
    // The driver ends the page after a good parse, and under -i also after a failed one.
    if (run.result == PARSE_OK || gRunOptions.IgnoreBadPages)
      gRunState.CurrentWriter->EndPage();
  }
  gRunState.CurrentWriter.reset();  // writes "save"
  gRunState.CurrentStream.reset();

  gRunOptions.ErrorStream = previousErrors;
  if (errors != nullptr)
    std::fclose(errors);
  if (script != nullptr)
    std::fclose(script);
  run.errors = ReadFile(temp.File("errors"));
  run.script = ReadFile(temp.File("script"));
  return run;
}

}  // namespace testing_support
