// Text for XML documents (hOCR, ALTO): UTF-8 with the markup characters escaped, and every
// character that XML 1.0 does not allow in a document (the C0 controls other than tab, line
// feed and carriage return, unpaired surrogates, U+FFFE and U+FFFF) written as U+FFFD, so no
// input can make a document that readers reject. Tab, line feed and carriage return are
// written as character references, which attribute values keep as they are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

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

// The most bytes one character takes ("&quot;").
constexpr size_t kXmlCharacterRoom = 6;
// Writes one character as XML text or attribute value.
char* PutXmlCharacter(char* cursor, uint32_t character);
// Writes count UTF-16 code units as XML text or attribute value: at most kXmlCharacterRoom
// bytes a code unit.
char* PutXmlUnits(char* cursor, const uint16_t* units, int32_t count);
// Appends UTF-8 text as XML text or attribute value; a byte that begins no valid UTF-8
// sequence becomes U+FFFD.
void AppendXmlUtf8(std::string& out, const std::string& utf8);
