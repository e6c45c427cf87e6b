// The number writers and the reader of common/numeric, case by case: every document's numbers
// pass through them.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>

#include "common/numeric/decimal.h"
#include "common/numeric/decimal_format.h"

namespace {

TEST(NumericTest, PutDecimalWritesAsPrintfDoes) {
  for (const int32_t value : {0, 7, 9999, 10000, 123456789, -1, -10000, INT32_MAX, INT32_MIN}) {
    char buffer[numeric::kDecimalRoom];
    const std::string written(buffer, numeric::PutDecimal(buffer, value));
    EXPECT_EQ(written, std::to_string(value));
  }
}

TEST(NumericTest, PutFractionRoundsHalfAwayFromZeroWithoutTrailingZeros) {
  const struct {
    int64_t numerator;
    int64_t denominator;
    int decimals;
    const char* written;
  } kCases[] = {
      {2480 * 72, 300, 4, "595.2"},
      {3508 * 72, 300, 4, "841.92"},
      {5, 10, 0, "1"},
      {-5, 10, 0, "-1"},
      {-4, 10, 0, "0"},
      {2, 3, 3, "0.667"},
      {1, 3, 6, "0.333333"},
      {1, 1000000, 6, "0.000001"},
      {1, 2000001, 6, "0"},
      {100, 1, 6, "100"},
      {105, 1000, 2, "0.11"},
      {-105, 1000, 2, "-0.11"},
      {5000000000, 1, 0, "5000000000"},
      {INT64_C(9000000000000), 7, 3, "1285714285714.286"},
  };
  for (const auto& c : kCases) {
    char buffer[numeric::kFractionRoom];
    const std::string written(buffer,
                              numeric::PutFraction(buffer, c.numerator, c.denominator, c.decimals));
    EXPECT_EQ(written, c.written) << c.numerator << " / " << c.denominator;
  }
}

TEST(NumericTest, ReadDecimalReadsAsAtoiWithoutOverflow) {
  const struct {
    const char* text;
    int32_t value;
    size_t read;
  } kCases[] = {{"  -12x", -12, 5},
                {"+7", 7, 2},
                {"abc", 0, 0},
                {"", 0, 0},
                {"99999999999", INT32_MAX, 11},
                {"-99999999999", INT32_MIN, 12},
                {"2147483647", INT32_MAX, 10},
                {"-2147483648", INT32_MIN, 11},
                {"0042.5", 42, 4}};
  for (const auto& c : kCases) {
    const char* end = nullptr;
    EXPECT_EQ(numeric::ReadDecimal(c.text, &end), c.value) << c.text;
    EXPECT_EQ(static_cast<size_t>(end - c.text), c.read) << c.text;
  }
}

}  // namespace
