// A damaged file must not make the reader take memory out of all proportion to the file. A
// block without text accepts any box count, so a box count of 0x7FFFFFFF in a file of a few
// hundred bytes must not turn into a 16 GiB box array. Under AddressSanitizer every single
// allocation above 256 MiB aborts this test program, which makes the fault visible at once
// instead of as minutes of page touching (or the out-of-memory killer).
#include <gtest/gtest.h>

#include "ocrsift/diagnostics/run_options.h"
#include "ocrsift/frf/frf.h"
#include "tests/support/frf_builder.h"
#include "tests/support/frf_page_runner.h"
#include "tests/support/test_files.h"

#if defined(__SANITIZE_ADDRESS__)
#define OCRSIFT_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define OCRSIFT_TEST_ASAN 1
#endif
#endif

#ifdef OCRSIFT_TEST_ASAN
extern "C" const char* __asan_default_options() {
  return "max_allocation_size_mb=256:allocator_may_return_null=0";
}
#endif

namespace {

using namespace testing_support;

TEST(FrfAllocation, TextlessBlockWithAHugeBoxCount) {
#ifndef OCRSIFT_TEST_ASAN
  GTEST_SKIP() << "the allocation bound is enforced only under AddressSanitizer";
#endif
  ResetRunOptions();
  gRunOptions.VerboseStream = nullptr;
  TempDir dir;
  for (uint8_t version : {6, 10}) {
    FrfPage page;
    page.version = version;
    TextFrame frame;
    TextBlock block;  // no text
    block.boxes = std::vector<Box16>{Box16{1, 2, 3, 4}};
    block.boxCount = 0x7FFFFFFF;
    frame.body.blocks.push_back(block);
    page.frames.push_back(frame);
    BuiltFile file = Build(page);
    PageRun run = RunFrfPage(file.Write(dir, "huge.frf"));
    // The file ends inside the declared boxes.
    EXPECT_EQ(run.result, PARSE_EOF) << "version " << int{version} << ": " << run.errors;
  }
  ResetRunOptions();
}

}  // namespace
