// One FRF file through the batch driver: the first byte picks the options, the rest is the file.
// A run that writes a document is repeated in one of the other output formats (picked by the
// input's length), which must end the same way, be well-formed XML for hOCR and ALTO, and
// tell the story of the script's book: its pages, words, and rectangles; and as a workspace,
// checked page by page the same way.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/batch_harness.h"
#include "fuzz/document_check.h"
#include "fuzz/workspace_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1)
    return 0;
  const fuzz_support::BatchOptions options = fuzz_support::OptionsFromByte(data[0]);
  const std::vector<std::string> files = {
      std::string(reinterpret_cast<const char*>(data) + 1, size - 1)};
  const fuzz_support::BatchResult run = fuzz_support::RunBatchOnFiles(files, options);
  fuzz_support::CheckBatch(files, options, run);
  if (options.writesScript) {
    fuzz_support::CheckOtherFormat(files, options, run, size);
    fuzz_support::CheckWorkspace(files, options, run);
  }
  return 0;
}
