#include "tests/support/frf_page_runner.h"

#include <cstdio>
#include <memory>

#include "ocrsift/diagnostics/run_options.h"
#include "ocrsift/frf/frf.h"
#include "ocrsift/frf/page_parser.h"
#include "ocrsift/frf/run_state.h"
#include "ocrsift/textlayer/text_layer_writer.h"
#include "tests/support/test_files.h"

namespace testing_support {

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
    const PageParse page = ParsePage();
    run.result = page.result;
    run.step = page.step;
    run.failedFrame = page.failedFrame;
    run.offset = gRunState.CurrentStream->LastReadStart();
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
