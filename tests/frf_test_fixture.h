// What the FRF region tests share: a fixture that resets the process-wide records, runs the
// parsers over a built file, optionally with the verbose channel or the listing on stdout,
// and the hex dump lines a listed region is expected to produce.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "ocrsift/diagnostics/run_options.h"
#include "ocrsift/frf/frf.h"
#include "tests/support/frf_builder.h"
#include "tests/support/frf_page_runner.h"
#include "tests/support/test_files.h"

namespace frf_test {

using namespace testing_support;

class FrfTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetRunOptions(); }
  void TearDown() override { ResetRunOptions(); }

  PageRun Run(const BuiltFile& file, int32_t page = 1) {
    return RunFrfPage(file.Write(temp_, "page.frf"), page);
  }

  // The run with its standard output (verbose channel, listing) captured into out.
  PageRun RunCaptured(const BuiltFile& file, std::string& out) {
    std::fflush(stdout);
    ::testing::internal::CaptureStdout();
    PageRun run = Run(file);
    std::fflush(stdout);
    out = ::testing::internal::GetCapturedStdout();
    return run;
  }

  // The options of "-v": verbose channel on standard output, errors there too.
  static void VerboseOn() {
    gRunOptions.Verbose = true;
    gRunOptions.VerboseStream = stdout;
  }
  // The options of "-l" (tag 0) or "-l2 <tag>".
  static void ListingOn(int32_t tag) {
    gRunOptions.Verbose = true;
    gRunOptions.VerboseStream = nullptr;
    gRunOptions.ListTags = true;
    gRunOptions.ListTagNumber = tag;
  }

  std::string PathOf() const { return temp_.File("page.frf"); }
  // The name line that precedes the first failure report of the file on the error channel.
  std::string NameLine() const { return "\n** File \"" + PathOf() + "\""; }

  TempDir temp_;
};

// The dump lines of bytes first..last of a listed region: 16 cells a line from first on, no
// alignment, the mark on offset 0.
inline std::string RegionDump(const BuiltFile& file, uint32_t first, uint32_t last) {
  std::string out;
  char cell[16];
  for (uint32_t pos = first; pos <= last;) {
    std::snprintf(cell, sizeof cell, "\n%06X: ", pos);
    out += cell;
    for (int i = 0; i < 16 && pos <= last; ++i, ++pos) {
      std::snprintf(cell, sizeof cell, "%c%02X", pos == 0 ? '>' : ' ', file.bytes.at(pos));
      out += cell;
      if (i == 7)
        out += ' ';
    }
  }
  return out;
}

// The listing of a region named in the built file: its title and its bytes.
inline std::string Listed(const BuiltFile& file, const std::string& region,
                          const std::string& title) {
  const uint32_t first = file.Offset(region);
  const uint32_t width = file.Width(region);
  if (width == 0)
    return title;
  return title + RegionDump(file, first, first + width - 1);
}

// The titles ("\n\n *** ... ***") in the order they appear in a listing.
inline std::vector<std::string> Titles(const std::string& out) {
  std::vector<std::string> titles;
  size_t at = 0;
  while ((at = out.find("\n\n *** ", at)) != std::string::npos) {
    const size_t end = out.find(" ***", at + 7);
    if (end == std::string::npos)
      break;
    titles.push_back(out.substr(at + 7, end - at - 7));
    at = end + 4;
  }
  return titles;
}

inline bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace frf_test
