#include "ocrsift/textlayer/compose_buffer.h"

#include <algorithm>

char* ComposeBuffer::Room(size_t n) {
  if (capacity_ - size_ < n) {
    const size_t capacity = std::max(size_ + n, 2 * capacity_);
    std::unique_ptr<char[]> data(new char[capacity]);
    if (size_ != 0)
      std::memcpy(data.get(), data_.get(), size_);
    data_ = std::move(data);
    capacity_ = capacity;
  }
  return data_.get() + size_;
}

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
