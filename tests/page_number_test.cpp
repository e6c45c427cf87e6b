#include <gtest/gtest.h>

#include <string>

#include "ocrsift/driver/run_batch.h"
#include "ocrsift/driver/run_state.h"

namespace {

int32_t FromName(const std::string& name, int32_t before = -2) {
  return PageNumberFromName(name, before);
}

TEST(PageNumberFromNameTest, DigitsJustBeforeTheLastDot) {
  EXPECT_EQ(FromName("page0012.frf"), 12);
  EXPECT_EQ(FromName("scan12b.frf"), 1);
  EXPECT_EQ(FromName("0.frf"), 1);
  EXPECT_EQ(FromName("page7"), 7);
  EXPECT_EQ(FromName("p3.v2.frf"), 2);
  EXPECT_EQ(FromName(".frf"), 1);
  EXPECT_EQ(FromName("123"), 123);
}

TEST(PageNumberFromNameTest, NameWithoutDigitOrDotKeepsTheNumber) {
  EXPECT_EQ(FromName("scan", -2), -2);
  EXPECT_EQ(FromName("", 5), 5);
  EXPECT_EQ(FromName("dir/", 9), 9);
}

TEST(PageNumberFromNameTest, OnlyTheFileNamePartCounts) {
  // A dot in a directory name does not turn every page into page 1.
  EXPECT_EQ(FromName("ocr/book.2nd/page7"), 7);
  EXPECT_EQ(FromName("ocr/book.2nd/page0031.frf"), 31);
  EXPECT_EQ(FromName("scans.v3/nodigits", -2), -2);
  EXPECT_EQ(FromName("12/page.frf"), 1);
}

TEST(PageNumberFromNameTest, HugeDigitRunsSaturate) {
  EXPECT_EQ(FromName("p99999999999999999999.frf"), INT32_MAX);
}

TEST(AdvancePageNumberTest, WrapsInsteadOfOverflowing) {
  gRunState.PageNumber = 4;
  AdvancePageNumber();
  EXPECT_EQ(gRunState.PageNumber, 5);
  gRunState.PageNumber = INT32_MAX;
  AdvancePageNumber();
  EXPECT_EQ(gRunState.PageNumber, INT32_MIN);
}

}  // namespace
