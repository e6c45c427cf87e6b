// Text for XML documents (hOCR, ALTO): UTF-8 with the markup characters escaped, and every
// character that XML 1.0 does not allow in a document (the C0 controls other than tab, line
// feed and carriage return, unpaired surrogates, U+FFFE and U+FFFF) written as U+FFFD, so no
// input can make a document that readers reject. Tab, line feed and carriage return are
// written as character references, which attribute values keep as they are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// The most bytes one code unit takes ("&quot;"; a surrogate pair takes four for two).
constexpr size_t kXmlCharacterRoom = 6;
// Writes one character as XML text or attribute value.
char* PutXmlCharacter(char* cursor, uint32_t character);
// Writes count UTF-16 code units as XML text or attribute value: at most kXmlCharacterRoom
// bytes a code unit.
char* PutXmlUnits(char* cursor, const uint16_t* units, int32_t count);

// Writes n bytes of UTF-8 text that holds only characters XML allows as XML text or attribute
// value: the markup characters escaped, at most kXmlCharacterRoom bytes a byte.
char* PutXmlUtf8(char* cursor, const char* bytes, size_t n);

// The n bytes of an attribute value that needs no escaping (a language tag, style
// references), then its closing quote.
inline char* PutPlainValue(char* cursor, const char* bytes, size_t n) {
  std::memcpy(cursor, bytes, n);
  cursor += n;
  *cursor++ = '"';
  return cursor;
}
