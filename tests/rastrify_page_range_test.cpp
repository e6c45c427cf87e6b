// The page iterator: range list grammar, the all-pages mode and huge page numbers.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

#include "rastrify/export_settings.h"
#include "rastrify/page_range.h"

namespace {

// Starts range mode on the text (which must outlive the iteration).
void UseRange(const char* text) {
  ResetExportSettings();
  gExportSettings.RangeText = text;
  gExportSettings.RangeCursor = text;
}

// The pages yielded until NextPage reports the end, at most `limit` of them; a trailing -999
// marks that the limit was reached without an end.
std::vector<int32_t> Pages(const char* text, size_t limit = 64) {
  UseRange(text);
  std::vector<int32_t> pages;
  int32_t page = 0;
  while (NextPage(page)) {
    if (pages.size() == limit) {
      pages.push_back(-999);
      break;
    }
    pages.push_back(page);
  }
  return pages;
}

using V = std::vector<int32_t>;

TEST(NextPageTest, ItemsAreYieldedInWrittenOrder) {
  EXPECT_EQ(Pages("1-5,10,11"), (V{1, 2, 3, 4, 5, 10, 11}));
  EXPECT_EQ(Pages("3,1,3"), (V{3, 1, 3}));
  EXPECT_EQ(Pages("7"), (V{7}));
  EXPECT_EQ(Pages("2-2,2"), (V{2, 2}));
}

TEST(NextPageTest, DescendingItemYieldsItsFirstPageOnly) {
  EXPECT_EQ(Pages("5-3"), (V{5}));
  EXPECT_EQ(Pages("5-3,8-9"), (V{5, 8, 9}));
}

TEST(NextPageTest, BlanksAndTabsAroundNumbersAreHarmless) {
  EXPECT_EQ(Pages(" 2 - 4 ,7"), (V{2, 3, 4, 7}));
  EXPECT_EQ(Pages("\t2\t-\t4\t,\t7\t"), (V{2, 3, 4, 7}));
  // A trailing blank after the last comma is skipped before the end is seen.
  EXPECT_EQ(Pages("1, "), (V{1}));
}

TEST(NextPageTest, ItemReadingAsZeroEndsTheSequenceQuietly) {
  EXPECT_EQ(Pages("1,"), (V{1}));
  EXPECT_EQ(Pages("1,,3"), (V{1}));
  EXPECT_EQ(Pages("0"), V{});
  EXPECT_EQ(Pages("abc"), V{});
  EXPECT_EQ(Pages("1-"), V{});
  EXPECT_EQ(Pages("4,x,5"), (V{4}));
  EXPECT_EQ(Pages("2-0"), V{});
  EXPECT_EQ(Pages(""), V{});
  EXPECT_EQ(Pages(","), V{});
  EXPECT_EQ(Pages("-"), V{});
  EXPECT_EQ(Pages("--"), V{});
  EXPECT_EQ(Pages("   "), V{});
}

TEST(NextPageTest, TheDashOfANegativeFirstPageIsAlsoTheSeparator) {
  EXPECT_EQ(Pages("-3"), (V{-3, -2, -1, 0, 1, 2, 3}));
  // The first dash counts: "3-5-7" is 3 to 5.
  EXPECT_EQ(Pages("3-5-7"), (V{3, 4, 5}));
}

TEST(NextPageTest, DashOfTheNextItemIsNotTakenForThisOne) {
  // "4" has no dash of its own; the "-" of "6-7" must not make it a range.
  EXPECT_EQ(Pages("4,6-7"), (V{4, 6, 7}));
}

TEST(NextPageTest, AfterTheEndTheIteratorStaysFinished) {
  UseRange("2,0,5");
  int32_t page = 0;
  ASSERT_TRUE(NextPage(page));
  EXPECT_EQ(page, 2);
  EXPECT_FALSE(NextPage(page));
  EXPECT_FALSE(NextPage(page));
  EXPECT_EQ(page, 2);  // a false result leaves the page alone
}

TEST(NextPageTest, HugeNumbersSaturateAndNeverOverflow) {
  // The last page of the 32-bit range is yielded once; one past it must not wrap around.
  EXPECT_EQ(Pages("2147483646-99999999999999999999"), (V{2147483646, 2147483647}));
  EXPECT_EQ(Pages("2147483647"), (V{2147483647}));
  EXPECT_EQ(Pages("2147483647,1"), (V{2147483647, 1}));
  EXPECT_EQ(Pages("99999999999-2147483647,3"), (V{2147483647, 3}));
  // From the smallest number to the largest: the first pages come in order.
  V lowest = Pages("-99999999999-2", 3);
  ASSERT_EQ(lowest.size(), 4u);
  EXPECT_EQ(lowest[0], INT32_MIN);
  EXPECT_EQ(lowest[1], INT32_MIN + 1);
  EXPECT_EQ(lowest[3], -999);
  // A very long list is read item by item without trouble.
  std::string longList;
  for (int i = 0; i < 2500; ++i)
    longList += "7,";
  EXPECT_EQ(Pages(longList.c_str(), 5000).size(), 2500u);
}

TEST(NextPageTest, AllPagesModeCountsUpWithoutEnd) {
  ResetExportSettings();
  int32_t page = 0;
  for (int32_t expected = 1; expected <= 1000; ++expected) {
    ASSERT_TRUE(NextPage(page));
    ASSERT_EQ(page, expected);
  }
  // The count stops at the largest page number instead of wrapping to negative pages.
  page = INT32_MAX - 1;
  EXPECT_TRUE(NextPage(page));
  EXPECT_EQ(page, INT32_MAX);
  EXPECT_FALSE(NextPage(page));
  EXPECT_EQ(page, INT32_MAX);
}

TEST(SkipBlanksTest, SkipsOnlySpacesAndTabs) {
  const char* text = " \t \t5";
  SkipBlanks(text);
  EXPECT_STREQ(text, "5");
  const char* newline = "\n 5";
  SkipBlanks(newline);
  EXPECT_STREQ(newline, "\n 5");
  const char* empty = "";
  SkipBlanks(empty);
  EXPECT_STREQ(empty, "");
}

}  // namespace
