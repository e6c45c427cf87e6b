#include "common/numeric/decimal_format.h"

#include <cassert>
#include <climits>

namespace numeric {

const char kDigitPairs[201] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

namespace {

constexpr SmallDecimals MakeSmallDecimals() {
  SmallDecimals table{};
  for (uint32_t n = 0; n < 10000; ++n) {
    const uint8_t length = n < 10 ? 1 : n < 100 ? 2 : n < 1000 ? 3 : 4;
    uint32_t rest = n;
    for (int k = length - 1; k >= 0; --k) {
      table.digits[n][k] = static_cast<char>('0' + rest % 10);
      rest /= 10;
    }
    table.length[n] = length;
  }
  return table;
}

}  // namespace

// Made when the program is compiled.
extern constexpr SmallDecimals kSmallDecimals = MakeSmallDecimals();

char* PutFraction(char* cursor, int64_t numerator, int64_t denominator, int decimals) {
  assert(denominator > 0 && decimals >= 0 && decimals <= 6);
  static const uint32_t kScales[] = {1, 10, 100, 1000, 10000, 100000, 1000000};
  const uint64_t scale = kScales[decimals];
  const bool negative = numerator < 0;
  const uint64_t magnitude =
      negative ? 0u - static_cast<uint64_t>(numerator) : static_cast<uint64_t>(numerator);
  const uint64_t d = static_cast<uint64_t>(denominator);
  // Rounded half away from zero, in units of 10^-decimals.
  const uint64_t scaled = (magnitude * scale * 2 + d) / (2 * d);
  uint64_t whole = scaled / scale;
  uint32_t part = static_cast<uint32_t>(scaled % scale);
  if (negative && scaled != 0)
    *cursor++ = '-';
  if (whole <= INT32_MAX) {
    cursor = PutDecimal(cursor, static_cast<int32_t>(whole));
  } else {
    char digits[20];
    size_t start = sizeof digits;
    do {
      digits[--start] = static_cast<char>('0' + whole % 10);
      whole /= 10;
    } while (whole != 0);
    std::memcpy(cursor, digits + start, sizeof digits - start);
    cursor += sizeof digits - start;
  }
  if (part == 0)
    return cursor;
  int places = decimals;
  while (part % 10 == 0) {
    part /= 10;
    --places;
  }
  *cursor++ = '.';
  for (int i = places - 1; i >= 0; --i) {
    cursor[i] = static_cast<char>('0' + part % 10);
    part /= 10;
  }
  return cursor + places;
}

}  // namespace numeric
