// The one UTF-8 encoder of both programs: the script's words, the XML documents' text and the
// narrow form of POSIX messages are all written by it.
#pragma once

#include <cstdint>

namespace text {

// The most bytes one character takes.
constexpr int kMaxUtf8Bytes = 4;

// The bytes of a character up to U+10FFFF (a surrogate is written as its three bytes; callers
// replace unpaired ones first). Returns the cursor after them.
inline char* PutUtf8(char* cursor, uint32_t c) {
  if (c < 0x80) {
    *cursor++ = static_cast<char>(c);
  } else if (c < 0x800) {
    *cursor++ = static_cast<char>(0xC0 | (c >> 6));
    *cursor++ = static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    *cursor++ = static_cast<char>(0xE0 | (c >> 12));
    *cursor++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *cursor++ = static_cast<char>(0x80 | (c & 0x3F));
  } else {
    *cursor++ = static_cast<char>(0xF0 | (c >> 18));
    *cursor++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    *cursor++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *cursor++ = static_cast<char>(0x80 | (c & 0x3F));
  }
  return cursor;
}

// The next character of UTF-16 code units from index i on (a surrogate pair is one character,
// an unpaired surrogate U+FFFD); i moves past it. Inline: every character of a page passes.
inline uint32_t NextCharacter(const uint16_t* units, int32_t count, int32_t& i) {
  const uint32_t unit = units[i++];
  if (unit < 0xD800 || unit > 0xDFFF)
    return unit;
  if (unit <= 0xDBFF && i < count && units[i] >= 0xDC00 && units[i] <= 0xDFFF)
    return 0x10000 + ((unit - 0xD800) << 10) + (units[i++] - 0xDC00u);
  return 0xFFFD;
}

}  // namespace text
