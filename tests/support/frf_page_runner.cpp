#include "tests/support/frf_page_runner.h"

#include <cstdio>
#include <memory>

#include "ocrsift/diagnostics/run_options.h"
#include "ocrsift/formats/document_formats.h"
#include "ocrsift/frf/frf.h"
#include "ocrsift/frf/page_parser.h"
#include "ocrsift/page/page_recorder.h"
#include "tests/support/test_files.h"

namespace testing_support {

PageRun RunFrfPage(const std::string& path, int32_t pageNumber) {
  // The run's text buffers, as the driver keeps them: a page's trace may show an earlier text.
  static PageTextBuffers buffers;
  buffers = PageTextBuffers();
  PageRun run;
  TempDir temp;
  FILE* errors = std::fopen(temp.File("errors").c_str(), "wb");
  FILE* script = std::fopen(temp.File("script").c_str(), "wb");
  FILE* previousErrors = gRunOptions.ErrorStream;
  gRunOptions.ErrorStream = errors;

  std::unique_ptr<DocumentFormat> document = MakeDjvusedFormat(script, FormatSettings());
  PageRecorder recorder(*document, document->Recording(gRunOptions.JoinHyphenated));
  document->BeginDocument(PageArrival::kAscending);
  FrfStream stream(path.c_str());
  if (stream.Failed()) {
    run.result = PARSE_EOF;
  } else {
    const PageParse page = ParsePage(stream, &recorder, gRunOptions, path, pageNumber, buffers);
    run.result = page.result;
    run.step = page.step;
    run.failedFrame = page.failedFrame;
    run.offset = stream.LastReadStart();
    run.formatVersion = page.formatVersion;
    run.frameTypes = page.frameTypes;
  }
  recorder.Finish();
  document->EndDocument();  // writes "save"
  document->Flush();

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
