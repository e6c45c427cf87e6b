// One FRF file through the batch driver: the first byte picks the options, the rest is the file.
// A run that writes a document is repeated in one of the other output formats (picked by the
// input's length), which must end the same way and, for hOCR and ALTO, be well-formed XML with
// a page for every page the script closed.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/batch_harness.h"
#include "fuzz/script_check.h"
#include "fuzz/xml_check.h"

namespace {

size_t Occurrences(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++count;
  return count;
}

void CheckOtherFormat(const std::vector<std::string>& files, fuzz_support::BatchOptions options,
                      const fuzz_support::BatchResult& scriptRun, size_t pick) {
  static const char* const kFormats[] = {"hocr", "alto", "text"};
  static const char* const kPageMarks[] = {"class=\"ocr_page\"", "<Page ", nullptr};
  const size_t format = pick % 3;
  options.arguments.push_back("-o");
  options.arguments.push_back(kFormats[format]);
  const fuzz_support::BatchResult run = fuzz_support::RunBatchOnFiles(files, options);
  fuzz_support::Require(run.result == scriptRun.result,
                        "another format ended otherwise than the script", run.script);
  if (kPageMarks[format] == nullptr)
    return;
  const std::string problem = fuzz_support::XmlProblem(run.script);
  fuzz_support::Require(problem.empty(), problem.c_str(), run.script);
  size_t closed = 0;
  for (const fuzz_support::ScriptPage& page : fuzz_support::RequireScript(scriptRun.script).pages)
    closed += page.closed ? 1 : 0;
  fuzz_support::Require(Occurrences(run.script, kPageMarks[format]) == closed,
                        "a page in another format that the script did not close", run.script);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1)
    return 0;
  const fuzz_support::BatchOptions options = fuzz_support::OptionsFromByte(data[0]);
  const std::vector<std::string> files = {
      std::string(reinterpret_cast<const char*>(data) + 1, size - 1)};
  const fuzz_support::BatchResult run = fuzz_support::RunBatchOnFiles(files, options);
  fuzz_support::CheckBatch(files, options, run);
  if (options.writesScript)
    CheckOtherFormat(files, options, run, size);
  return 0;
}
