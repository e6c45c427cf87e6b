// A page of document text composed through a cursor: room is made once for a piece of bounded
// size (a word's element, a line's head), then its bytes are stored without further checks.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

class ComposeBuffer {
 public:
  void Clear() { size_ = 0; }
  const char* Data() const { return data_.get(); }
  size_t Size() const { return size_; }

  // The cursor, with room for at least n bytes after it; the room kept serves later pages.
  char* Room(size_t n);
  // The cursor that the last Room handed out has moved to end.
  void Commit(char* end) {
    size_ = static_cast<size_t>(end - data_.get());
    assert(size_ <= capacity_);
  }

 private:
  std::unique_ptr<char[]> data_;
  size_t size_ = 0;
  size_t capacity_ = 0;
};

template <size_t N>
char* PutLiteral(char* cursor, const char (&literal)[N]) {
  std::memcpy(cursor, literal, N - 1);
  return cursor + N - 1;
}

// The numbers that make an element's identifier unique in the document, also when two files
// give the same page number: the page's sequence in the run and, for a part of the page, "_"
// and the part's number (0 for the page itself).
char* PutIdNumbers(char* cursor, int32_t pageSequence, int32_t part);

// The room PutDecimal needs after the cursor: "-2147483648".
constexpr size_t kDecimalRoom = 11;

// "00" to "99": two decimal digits at a time.
extern const char kDigitPairs[201];

// The numbers below 10000, most of the coordinates: the digits of each, left-aligned in four
// bytes, and the count of its digits.
struct SmallDecimals {
  char digits[10000][4];
  uint8_t length[10000];
};
extern const SmallDecimals kSmallDecimals;

// A signed decimal number ("%d"). Inline, as a page holds some thousands of them.
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

inline char* PutIdNumbers(char* cursor, int32_t pageSequence, int32_t part) {
  cursor = PutDecimal(cursor, pageSequence);
  if (part > 0) {
    *cursor++ = '_';
    cursor = PutDecimal(cursor, part);
  }
  return cursor;
}

// The n bytes of an attribute value that needs no escaping (a language tag, style
// references), then its closing quote.
inline char* PutPlainValue(char* cursor, const char* bytes, size_t n) {
  std::memcpy(cursor, bytes, n);
  cursor += n;
  *cursor++ = '"';
  return cursor;
}
