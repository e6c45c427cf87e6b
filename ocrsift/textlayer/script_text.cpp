#include "ocrsift/textlayer/script_text.h"

#include <array>
#include <cstring>

#include "ocrsift/textlayer/compose_buffer.h"
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

}  // namespace

void ScriptText::Append(const char* bytes, size_t n) {
  if (n > kCapacity - size_)
    n = kCapacity - size_;
  std::memcpy(text_ + size_, bytes, n);
  size_ += n;
}

void ScriptText::AppendBlankAndNumber(int32_t value) {
  if (kCapacity - size_ >= 1 + kDecimalRoom) {
    text_[size_] = ' ';
    size_ = static_cast<size_t>(PutDecimal(text_ + size_ + 1, value) - text_);
    return;
  }
  char number[1 + kDecimalRoom];  // a blank and the number, cut where the buffer ends
  number[0] = ' ';
  Append(number, static_cast<size_t>(PutDecimal(number + 1, value) - number));
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
