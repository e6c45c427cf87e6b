#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#endif

#include <memory>
#include <string>
#include <vector>

#include "ocrsift/diagnostics/run_options.h"
#include "ocrsift/frf/page_context.h"
#include "ocrsift/page/text_marks.h"
#include "ocrsift/stream/frf_stream.h"
#include "tests/support/test_files.h"

namespace {

using testing_support::TempDir;

std::string Bytes(int count, int first = 0) {
  std::string bytes;
  for (int i = 0; i < count; ++i)
    bytes += static_cast<char>((first + i) & 0xFF);
  return bytes;
}

TEST(FrfStreamTest, ShortReadAdvancesAndLeavesTheStreamAtEndForGood) {
  TempDir dir;
  FrfStream s(dir.Write("six", Bytes(6)).c_str());
  ASSERT_FALSE(s.Failed());
  EXPECT_EQ(s.Size(), 6);
  EXPECT_EQ(s.LastReadStart(), -1);
  uint32_t value = 0;
  ASSERT_TRUE(s.ReadDword(value));
  EXPECT_EQ(value, 0x03020100u);
  EXPECT_FALSE(s.ReadDword(value));
  EXPECT_EQ(s.Position(), 6);
  EXPECT_EQ(s.LastReadStart(), 4);
  s.Seek(0);
  uint8_t byte = 0;
  EXPECT_FALSE(s.ReadByte(byte));
  EXPECT_EQ(s.Position(), 0);
}

TEST(FrfStreamTest, EmptyAndMissingFiles) {
  TempDir dir;
  FrfStream empty(dir.Write("empty", std::string()).c_str());
  EXPECT_FALSE(empty.Failed());
  EXPECT_EQ(empty.Size(), 0);
  uint8_t byte = 0;
  EXPECT_FALSE(empty.ReadByte(byte));

  FrfStream missing(dir.File("missing").c_str());
  EXPECT_TRUE(missing.Failed());
  EXPECT_FALSE(missing.ReadByte(byte));
  EXPECT_FALSE(missing.Skip(-1));
}

TEST(FrfStreamTest, ZeroAndNegativeCounts) {
  TempDir dir;
  FrfStream s(dir.Write("f", Bytes(10)).c_str());
  ASSERT_TRUE(s.Skip(3));
  EXPECT_FALSE(s.Read(nullptr, 0));
  EXPECT_EQ(s.LastReadStart(), 0);
  EXPECT_TRUE(s.Skip(-7));
  EXPECT_EQ(s.LastReadStart(), 3);
  EXPECT_EQ(s.Position(), 3);
  uint16_t wide[4] = {9, 9, 9, 9};
  EXPECT_TRUE(s.ReadWideChars(wide, 0));
  EXPECT_EQ(wide[0], 0);
  EXPECT_FALSE(s.ReadWideChars(wide, -1));
  EXPECT_EQ(wide[1], 9);
}

TEST(FrfStreamTest, PushBackIsDeliveredFirst) {
  TempDir dir;
  FrfStream s(dir.Write("f", Bytes(12)).c_str());
  uint8_t byte = 0;
  ASSERT_TRUE(s.Skip(4));
  ASSERT_TRUE(s.ReadByte(byte));
  ASSERT_EQ(byte, 4);
  s.PushBack(&byte, 1);
  EXPECT_EQ(s.Position(), 4);
  EXPECT_EQ(s.LastReadStart(), 4);
  ASSERT_TRUE(s.ReadByte(byte));
  EXPECT_EQ(byte, 4);
  EXPECT_EQ(s.Position(), 5);
  uint32_t value = 0;
  ASSERT_TRUE(s.ReadDword(value));
  EXPECT_EQ(value, 0x08070605u);

  // A pushed-back byte is delivered as part of a longer read, and Seek discards it.
  s.PushBack(&byte, 1);
  ASSERT_TRUE(s.ReadDword(value));
  EXPECT_EQ(value, 0x0B0A0904u);
  s.PushBack(&byte, 1);
  s.Seek(1);
  ASSERT_TRUE(s.ReadByte(byte));
  EXPECT_EQ(byte, 1);
  // Counts outside the store are refused.
  std::vector<uint8_t> many(FrfStream::kPushBackCapacity + 1, 7);
  s.PushBack(many.data(), static_cast<int32_t>(many.size()));
  EXPECT_EQ(s.Position(), 2);
}

TEST(FrfStreamTest, ReadsAcrossBufferRefills) {
  TempDir dir;
  const int size = FrfStream::kBufferSize * 2 + 123;
  FrfStream s(dir.Write("big", Bytes(size, 3)).c_str());
  ASSERT_TRUE(s.Skip(FrfStream::kBufferSize - 1));
  uint32_t value = 0;
  ASSERT_TRUE(s.ReadDword(value));
  uint32_t b = (FrfStream::kBufferSize - 1 + 3) & 0xFF;
  EXPECT_EQ(value, b | ((b + 1) & 0xFF) << 8 | ((b + 2) & 0xFF) << 16 | ((b + 3) & 0xFF) << 24);
  std::vector<uint8_t> rest(static_cast<size_t>(size - s.Position()));
  ASSERT_TRUE(s.Read(rest.data(), static_cast<int32_t>(rest.size())));
  EXPECT_EQ(rest.back(), static_cast<uint8_t>((size - 1 + 3) & 0xFF));
  EXPECT_FALSE(s.Skip(1));
  // A huge skip on a small file ends at the end of the file, nothing is read out of bounds.
  FrfStream small(dir.Write("small", Bytes(5)).c_str());
  EXPECT_FALSE(small.Skip(0x7FFFFFFF));
  EXPECT_EQ(small.Position(), 5);
}

// A run of words read at once behaves as the same words read one by one: values, offsets and
// the word at which the file ends, across refills and behind a pushed-back byte.
TEST(FrfStreamTest, ReadWordsMatchesWordByWordReads) {
  TempDir dir;
  const int size = FrfStream::kBufferSize * 2 + 7;
  const std::string path = dir.Write("words", Bytes(size, 5));
  struct Case {
    int32_t skip;
    bool pushBack;
    int32_t words;
  };
  const Case cases[] = {
      {1, false, 4},
      {FrfStream::kBufferSize - 3, false, 4},  // the second word straddles the refill
      {FrfStream::kBufferSize - 4, true, 9},
      {10, false, FrfStream::kBufferSize},  // longer than the buffer
      {size - 9, false, 8},                 // the file ends in the fifth word
      {size - 1, true, 3},
  };
  for (const Case& c : cases) {
    FrfStream bulk(path.c_str());
    FrfStream single(path.c_str());
    for (FrfStream* s : {&bulk, &single}) {
      ASSERT_TRUE(s->Skip(c.skip));
      if (c.pushBack) {
        uint8_t byte = 0;
        ASSERT_TRUE(s->ReadByte(byte));
        s->PushBack(&byte, 1);
      }
    }
    std::vector<uint16_t> got(static_cast<size_t>(c.words), 0);
    std::vector<uint16_t> want(static_cast<size_t>(c.words), 0);
    const int32_t read = bulk.ReadWords(got.data(), c.words);
    int32_t expected = 0;
    while (expected < c.words && single.ReadWord(want[static_cast<size_t>(expected)]))
      ++expected;
    SCOPED_TRACE(c.skip);
    EXPECT_EQ(read, expected);
    EXPECT_EQ(bulk.Position(), single.Position());
    EXPECT_EQ(bulk.LastReadStart(), single.LastReadStart());
    for (int32_t i = 0; i < expected; ++i)
      EXPECT_EQ(got[static_cast<size_t>(i)], want[static_cast<size_t>(i)]) << i;
    uint8_t after1 = 0;
    uint8_t after2 = 0;
    EXPECT_EQ(bulk.ReadByte(after1), single.ReadByte(after2));
    EXPECT_EQ(after1, after2);
  }
}

class NarrowStringTest : public ::testing::Test {
 protected:
  int ReadNarrow(char* out, int size, int32_t n) { return ReadNarrowString(*page_, out, size, n); }
  void Open(const std::vector<uint16_t>& units) {
    std::string bytes;
    for (uint16_t u : units) {
      bytes += static_cast<char>(u & 0xFF);
      bytes += static_cast<char>(u >> 8);
    }
    stream_ = std::make_unique<FrfStream>(dir_.Write("s", bytes).c_str());
    page_.reset(new PageContext{
        *stream_, nullptr, gRunOptions, name_, 1, buffers_.wide, buffers_.narrow, 0, {}});
  }
  TempDir dir_;
  std::string name_ = "s";
  std::unique_ptr<FrfStream> stream_;
  std::unique_ptr<PageContext> page_;
  PageTextBuffers buffers_;
};

TEST_F(NarrowStringTest, MarksReplaceHyphenAndLineSeparator) {
  Open({0x00AC, 0x2028});
  char out[16];
  EXPECT_EQ(ReadNarrow(out, sizeof out, 2), 3);
  EXPECT_EQ(buffers_.wide[0], MARK_HYPHEN);
  EXPECT_EQ(buffers_.wide[1], MARK_LINE_END);
  EXPECT_EQ(buffers_.wide[2], 0);
  EXPECT_STREQ(out, "\x01\x02");
}

TEST_F(NarrowStringTest, EmptyStringsAndFailures) {
  Open({'a', 'b', 'c'});
  char out[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(ReadNarrow(out, sizeof out, 0), 1);
  EXPECT_STREQ(out, "");
  // Does not fit: "abc" and its terminator need 4 bytes.
  EXPECT_EQ(ReadNarrow(out, 3, 3), 0);
  // Counts the wide buffer cannot hold are refused before anything is read.
  EXPECT_EQ(ReadNarrow(out, sizeof out, -1), 0);
  EXPECT_EQ(ReadNarrow(out, sizeof out, WIDE_TEXT_CAPACITY), 0);
  // End of file inside the string.
  EXPECT_EQ(ReadNarrow(out, sizeof out, 1), 0);
}

TEST_F(NarrowStringTest, NonAsciiTextBecomesTheNarrowCodePage) {
  Open({0x00E9, 0x0416, 0xD83D, 0xDE00, 0xDC00});
  char out[32];
#ifdef _WIN32
  // The ANSI code page; 1252 holds only the first character, each other code unit is a '?'.
  if (GetACP() != 1252)
    GTEST_SKIP() << "expectations are for code page 1252, this is " << GetACP();
  EXPECT_EQ(ReadNarrow(out, sizeof out, 5), 5 + 1);
  EXPECT_STREQ(out, "\xE9????");
#else
  EXPECT_EQ(ReadNarrow(out, sizeof out, 5), 2 + 2 + 4 + 3 + 1);
  EXPECT_STREQ(out, "\xC3\xA9\xD0\x96\xF0\x9F\x98\x80\xEF\xBF\xBD");
#endif
}

}  // namespace
