// One FRF file through the batch driver: the first byte picks the options, the rest is the file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/batch_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1)
    return 0;
  const fuzz_support::BatchOptions options = fuzz_support::OptionsFromByte(data[0]);
  const std::vector<std::string> files = {
      std::string(reinterpret_cast<const char*>(data) + 1, size - 1)};
  fuzz_support::CheckBatch(files, options, fuzz_support::RunBatchOnFiles(files, options));
  return 0;
}
