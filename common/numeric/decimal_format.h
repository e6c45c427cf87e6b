// Signed decimal numbers written into a buffer without the printf machinery: every number of
// every document passes here, most of them coordinates below 10000.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace numeric {

// The room PutDecimal needs after the cursor: "-2147483648".
constexpr size_t kDecimalRoom = 11;

// "00" to "99": two decimal digits at a time.
extern const char kDigitPairs[201];

// The numbers below 10000: the digits of each, left-aligned in four bytes, and their count.
struct SmallDecimals {
  char digits[10000][4];
  uint8_t length[10000];
};
extern const SmallDecimals kSmallDecimals;

// Writes the number as "%d" does and returns the cursor after it. Inline, as a page holds
// some thousands of them.
inline char* PutDecimal(char* cursor, int32_t value) {
  const uint32_t small = static_cast<uint32_t>(value);
  if (small < 10000) {
    std::memcpy(cursor, kSmallDecimals.digits[small], 4);
    return cursor + kSmallDecimals.length[small];
  }
  // The magnitude as unsigned, so that the most negative value has one too.
  uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
  char digits[kDecimalRoom];
  size_t start = sizeof digits;
  while (magnitude >= 100) {
    const uint32_t pair = 2 * (magnitude % 100);
    magnitude /= 100;
    digits[--start] = kDigitPairs[pair + 1];
    digits[--start] = kDigitPairs[pair];
  }
  if (magnitude >= 10) {
    digits[--start] = kDigitPairs[2 * magnitude + 1];
    digits[--start] = kDigitPairs[2 * magnitude];
  } else {
    digits[--start] = static_cast<char>('0' + magnitude);
  }
  if (value < 0)
    digits[--start] = '-';
  const size_t length = sizeof digits - start;
  std::memcpy(cursor, digits + start, length);
  return cursor + length;
}

// The room PutFraction needs after the cursor: a sign, 19 digits, the point.
constexpr size_t kFractionRoom = 21;

// Writes numerator / denominator (denominator > 0) rounded half away from zero to `decimals`
// places (at most 6), without trailing zeros after the point, nor the point itself for a
// whole number: 2480 * 72 / 300 is "595.2". Integer arithmetic only, so every platform writes
// the same bytes. |numerator| must stay below 2^63 / 10^decimals.
char* PutFraction(char* cursor, int64_t numerator, int64_t denominator, int decimals);

}  // namespace numeric
