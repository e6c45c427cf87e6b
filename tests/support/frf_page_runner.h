// Runs the page parse of the batch driver over one file (header, each frame by its type, end
// of frames, end of page) and collects what it wrote and where it stopped; the driver's own
// report of a failed page is not made.
// The options are taken as the test left them in gRunOptions; only the error channel is
// redirected for the length of the run. The page goes into a djvused script of its own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

struct PageRun {
  int result = 0;              // PARSE_OK, or the failing code
  int32_t step = 0;            // step number at the end (the failing step)
  int32_t offset = -1;         // LastReadStart when the run stopped
  int32_t failedFrame = -1;    // zero-based index of a failing frame; -1 for header, end or none
  std::string script;          // what the writer wrote, "save" included
  std::string errors;          // what reached the error channel
  uint16_t formatVersion = 0;  // as the header gave it
  std::vector<uint8_t> frameTypes;  // as the header gave them
};

PageRun RunFrfPage(const std::string& path, int32_t pageNumber = 1);

}  // namespace testing_support
