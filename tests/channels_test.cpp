#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "ocrsift/diagnostics/channels.h"
#include "ocrsift/diagnostics/hex_dump.h"
#include "ocrsift/diagnostics/run_options.h"
#include "ocrsift/stream/frf_stream.h"
#include "tests/support/test_files.h"

namespace {

// A file of `size` bytes holding 0x40, 0x41, ... and a verbose channel captured in a temp file.
class ChannelsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetRunOptions();
    verbose_ = std::tmpfile();
    errors_ = std::tmpfile();
    gRunOptions.Verbose = true;
    gRunOptions.VerboseStream = verbose_;
    gRunOptions.ErrorStream = errors_;
  }
  void TearDown() override {
    stream_.reset();
    ResetRunOptions();
    std::fclose(verbose_);
    std::fclose(errors_);
  }
  void OpenSample(int size) {
    std::string bytes;
    for (int i = 0; i < size; ++i)
      bytes += static_cast<char>(0x40 + i);
    stream_.reset(new FrfStream(dir_.Write("sample.frf", bytes).c_str()));
    ASSERT_FALSE(stream_->Failed());
  }
  static std::string Contents(FILE* f) {
    std::fflush(f);
    std::rewind(f);
    std::string text;
    int c;
    while ((c = std::fgetc(f)) != EOF)
      text += static_cast<char>(c);
    std::rewind(f);
    return text;
  }
  std::string Verbose() { return Contents(verbose_); }

  testing_support::TempDir dir_;
  std::unique_ptr<FrfStream> stream_;
  FILE* verbose_ = nullptr;
  FILE* errors_ = nullptr;
};

TEST_F(ChannelsTest, AlignedDumpOfThe36ByteFile) {
  OpenSample(36);
  HexDump(*stream_, 0x12, 0x13, 0x21, true);
  EXPECT_EQ(Verbose(),
            "\n000010:  .. .. 52>53 54 55 56 57  58 59 5A 5B 5C 5D 5E 5F"
            "\n000020:  60 61 .. .. -- -- -- --  -- -- -- -- -- -- -- --");
}

TEST_F(ChannelsTest, UnalignedDumpShowsOnlyTheRange) {
  OpenSample(36);
  HexDump(*stream_, 0x12, 0x13, 0x15, false);
  EXPECT_EQ(Verbose(), "\n000012:  52>53 54 55");
}

TEST_F(ChannelsTest, WholeFileDumpOfThe40ByteFileStopsAfterTheLineWhereTheFileEnds) {
  OpenSample(40);
  HexDump(*stream_, 0, -1, 0x1FFFF, true);
  EXPECT_EQ(Verbose(),
            "\n000000:  40 41 42 43 44 45 46 47  48 49 4A 4B 4C 4D 4E 4F"
            "\n000010:  50 51 52 53 54 55 56 57  58 59 5A 5B 5C 5D 5E 5F"
            "\n000020:  60 61 62 63 64 65 66 67  -- -- -- -- -- -- -- --");
}

TEST_F(ChannelsTest, NegativeStartAndMarkAtZero) {
  OpenSample(20);
  HexDump(*stream_, -5, 0, 2, false);
  EXPECT_EQ(Verbose(), "\n000000: >40 41 42");
}

TEST_F(ChannelsTest, DumpRestoresThePositionAndReadingGoesOn) {
  OpenSample(36);
  FrfStream& s = *stream_;
  uint8_t first = 0;
  ASSERT_TRUE(s.ReadByte(first));
  uint8_t pushed = 0x99;
  s.PushBack(&pushed, 1);
  ASSERT_TRUE(s.Skip(5));
  HexDump(*stream_, 0, -1, 3, true);
  EXPECT_EQ(s.Position(), 5);
  EXPECT_EQ(s.LastReadStart(), 5);
  uint8_t next = 0;
  ASSERT_TRUE(s.ReadByte(next));
  EXPECT_EQ(next, 0x45);
}

TEST_F(ChannelsTest, DumpWithoutAChannelStillMovesTheStream) {
  OpenSample(8);
  gRunOptions.VerboseStream = nullptr;
  HexDump(*stream_, 0, -1, 0x1FFFF, true);  // reads past the end: the stream is at end for good
  EXPECT_EQ(Verbose(), "");
  uint8_t byte = 0;
  EXPECT_FALSE(stream_->ReadByte(byte));
}

TEST_F(ChannelsTest, VerboseAndErrorChannelsFollowTheOptions) {
  ReportVerbose("\nshown %d", 1);
  gRunOptions.Verbose = false;
  ReportVerbose("\nhidden");
  gRunOptions.Verbose = true;
  gRunOptions.VerboseStream = nullptr;
  ReportVerbose("\nhidden too");
  ReportError("\nerror %s", "text");
  EXPECT_EQ(Verbose(), "\nshown 1");
  EXPECT_EQ(Contents(errors_), "\nerror text");
}

TEST_F(ChannelsTest, ListingSelectsTagsAndSkipsOneByteRegions) {
  OpenSample(36);
  FrfStream& s = *stream_;
  ASSERT_TRUE(s.Skip(8));
  gRunOptions.VerboseStream = nullptr;  // as the option rules leave it under -l
  gRunOptions.ListTags = true;
  gRunOptions.ListTagNumber = 9;

  testing::internal::CaptureStdout();
  ListRegion(*stream_, 8, "\n\n *** eight ***", 0, 3);
  ListRegion(*stream_, 9, "\n\n *** nine ***", 2, 5);
  ListRegion(*stream_, 9, "\n\n *** one byte ***", 4, 4);
  ListRegion(*stream_, 9, "\n\n *** empty ***", 4, 3);
  ReportTag(9, "\ntag %d", 9);
  ReportTag(3, "\ntag %d", 3);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out, "\n\n *** nine ***\n000002:  42 43 44 45\n\n *** empty ***\ntag 9");
  EXPECT_EQ(gRunOptions.VerboseStream, nullptr);
  EXPECT_EQ(s.Position(), 8);

  gRunOptions.ListTagNumber = 0;
  testing::internal::CaptureStdout();
  ListRegion(*stream_, 8, "\n\n *** eight ***", 0, 1);
  out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out, "\n\n *** eight ***\n000000: >40 41");
}

}  // namespace
