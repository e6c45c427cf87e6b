// Whole pages composed byte by byte in this file, independent of the FRF builder: a good page
// of each version must parse and write its line. (The sweeps of cut and damaged pages run over
// the builder's pages in frf_damaged_corpus_test.cpp.)
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ocrsift/diagnostics/run_options.h"
#include "ocrsift/frf/frf.h"
#include "tests/support/frf_page_runner.h"
#include "tests/support/test_files.h"

namespace {

using testing_support::PageRun;
using testing_support::RunFrfPage;
using testing_support::TempDir;

struct Bytes {
  std::vector<uint8_t> data;
  Bytes& U8(uint32_t v) {
    data.push_back(static_cast<uint8_t>(v));
    return *this;
  }
  Bytes& U16(uint32_t v) { return U8(v).U8(v >> 8); }
  Bytes& U32(uint32_t v) { return U16(v).U16(v >> 16); }
  Bytes& Zeros(size_t n) {
    data.insert(data.end(), n, 0);
    return *this;
  }
  Bytes& Text(const std::string& ascii) {
    for (char c : ascii)
      U16(static_cast<uint8_t>(c));
    return *this;
  }
  Bytes& Add(const Bytes& other) {
    data.insert(data.end(), other.data.begin(), other.data.end());
    return *this;
  }
};

Bytes Header(int version, int frameType) {
  Bytes b;
  b.U8('F').U8('R').U8('5').U8('S').U8(version).U8(0);  // no names
  b.U16(0).U16(0).U8(0).U8(0).U8(0).U8(0).U8(0).U8(0);  // the unknown block: all zero
  b.U8(0);                                              // no image file name
  b.Zeros(10).Zeros(17);                                // DATA1, k = 0
  b.Zeros(10).U32(2480).U32(3508).U32(300);
  if (version == 10)
    b.U32(0);
  b.U8(1).U8(1).U8(frameType);
  return b;
}

// One block holding "Hi " as one line.
Bytes Block(int version) {
  Bytes b;
  if (version == 6) {
    b.Zeros(64);
  } else {
    b.U8(4).Zeros(33).U32(0).Zeros(2);
  }
  b.U8(3).Text("Hi ");
  b.U32(4).U32(1).Zeros(36);
  b.U32(4)
      .U16(10)
      .U16(20)
      .U16(18)
      .U16(40)
      .U16(20)
      .U16(20)
      .U16(30)
      .U16(40)
      .U16(30)
      .U16(20)
      .U16(34)
      .U16(40)
      .U16(0)
      .U16(0)
      .U16(0)
      .U16(0)
      .U8(0);
  b.U32(4).Zeros(4);
  if (version == 6) {
    b.U32(3).U32(1).U32(3).U32(0);
  } else {
    b.U32(3).U32(1).U32(3).U32(0);  // one entry without picture
    b.U32(3).U32(1).U32(3).Zeros(14);
  }
  b.U8(1).U32(10).U32(20).U32(34).U32(40).U32(0).U32(3);
  b.U32(10).U32(20).U32(34).U32(40);
  if (version == 10) {
    b.U32(2).U32(1).U32(2).Zeros(32);
    b.U32(0).U8(0).U8(2).Zeros(6);
  }
  return b;
}

Bytes TextFrame(int version) {
  Bytes b;
  b.U8(0).Zeros(version == 10 ? 27 : 25).U32(0).Zeros(7);
  b.U8(0).Zeros(5).U32(0).U32(0).U8(1);
  b.Add(Block(version));
  if (version == 6) {
    b.U8(7).U8(7).U8(7).U16(0);
  } else {
    b.U8(0).U8(0).U8(0).U8(255).U32(0).U8(0);
  }
  return b;
}

Bytes End() {
  Bytes b;
  b.U8(0).U8(0).U32(0xB80875BC).U8('F').U8('R').U8('5').U8('S');
  return b;
}

std::vector<uint8_t> GoodPage(int version) {
  return Bytes().Add(Header(version, 0)).Add(TextFrame(version)).Add(End()).data;
}

class FrfPageBytesTest : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override { ResetRunOptions(); }
  void TearDown() override { ResetRunOptions(); }
  TempDir temp;
};

TEST_P(FrfPageBytesTest, GoodPageWritesItsLine) {
  const PageRun run = RunFrfPage(temp.Write("page.frf", GoodPage(GetParam())), 7);
  EXPECT_EQ(run.result, PARSE_OK) << run.errors;
  EXPECT_EQ(run.step, 22);
  EXPECT_EQ(run.errors, "");
  EXPECT_EQ(run.formatVersion, GetParam());
  EXPECT_NE(run.script.find("\nselect 7"), std::string::npos) << run.script;
  EXPECT_NE(run.script.find("(page 0 0 2480 3508"), std::string::npos) << run.script;
  EXPECT_NE(run.script.find("\"Hi\""), std::string::npos) << run.script;
  EXPECT_NE(run.script.find("save"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Versions, FrfPageBytesTest, ::testing::Values(6, 10));

}  // namespace
