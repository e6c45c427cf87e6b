#include "ocrsift/textlayer/script_text.h"

#include <array>
#include <cstring>

#include "ocrsift/textlayer/script_escape.h"

namespace {

// How each byte value is written inside a word's quotes: itself, or a backslash and three
// octal digits, always three, so that an escape never takes in a digit that follows it.
struct EscapeEntry {
  uint8_t length;
  char text[4];
};

constexpr std::array<EscapeEntry, 256> MakeEscapeTable() {
  std::array<EscapeEntry, 256> table{};
  for (unsigned byte = 0; byte < 256; ++byte) {
    EscapeEntry& entry = table[byte];
    if (NeedsOctalEscape(static_cast<unsigned char>(byte))) {
      entry.length = 4;
      entry.text[0] = '\\';
      entry.text[1] = static_cast<char>('0' + ((byte >> 6) & 7));
      entry.text[2] = static_cast<char>('0' + ((byte >> 3) & 7));
      entry.text[3] = static_cast<char>('0' + (byte & 7));
    } else {
      entry.length = 1;
      entry.text[0] = static_cast<char>(byte);
    }
  }
  return table;
}

constexpr std::array<EscapeEntry, 256> kEscapeTable = MakeEscapeTable();

// "00" to "99": two decimal digits at a time.
constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

}  // namespace

void ScriptText::Append(const char* bytes, size_t n) {
  if (n > kCapacity - size_)
    n = kCapacity - size_;
  std::memcpy(text_ + size_, bytes, n);
  size_ += n;
}

void ScriptText::AppendBlankAndNumber(int32_t value) {
  // The magnitude as unsigned, so that the most negative value has one too.
  uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
  char digits[12];
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
  digits[--start] = ' ';
  Append(digits + start, sizeof digits - start);
}

void ScriptText::AppendEscaped(const char* utf8, int32_t size) {
  for (int32_t i = 0; i < size; ++i) {
    const EscapeEntry& entry = kEscapeTable[static_cast<unsigned char>(utf8[i])];
    if (kCapacity - size_ < entry.length)
      return;
    std::memcpy(text_ + size_, entry.text, entry.length);
    size_ += entry.length;
  }
}
