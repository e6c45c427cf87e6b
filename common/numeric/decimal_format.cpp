#include "common/numeric/decimal_format.h"

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

}  // namespace numeric
