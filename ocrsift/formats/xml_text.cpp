#include "ocrsift/formats/xml_text.h"

#include "common/text/utf8.h"

namespace {

constexpr uint32_t kReplacement = 0xFFFD;

bool AllowedInXml(uint32_t character) {
  if (character < 0x20)
    return character == 0x09 || character == 0x0A || character == 0x0D;
  if (character >= 0xD800 && character <= 0xDFFF)
    return false;
  return character != 0xFFFE && character != 0xFFFF && character <= 0x10FFFF;
}

// The ASCII characters that stand for themselves in XML text and attribute values: the
// printable ones but the markup characters.
struct PlainAscii {
  bool plain[0x80] = {};
  constexpr PlainAscii() {
    for (int c = 0x20; c < 0x7F; ++c)
      plain[c] = c != '&' && c != '<' && c != '>' && c != '"' && c != '\'';
  }
};
constexpr PlainAscii kPlainAscii;

template <size_t N>
char* PutReference(char* cursor, const char (&text)[N]) {
  static_assert(N - 1 <= kXmlCharacterRoom, "a reference fits the room of a character");
  std::memcpy(cursor, text, N - 1);
  return cursor + N - 1;
}

}  // namespace

char* PutXmlCharacter(char* cursor, uint32_t c) {
  if (c >= 0x20 && c < 0x7F) {
    switch (c) {
      case '&':
        return PutReference(cursor, "&amp;");
      case '<':
        return PutReference(cursor, "&lt;");
      case '>':
        return PutReference(cursor, "&gt;");
      case '"':
        return PutReference(cursor, "&quot;");
      case '\'':
        return PutReference(cursor, "&apos;");
      default:
        *cursor = static_cast<char>(c);
        return cursor + 1;
    }
  }
  switch (c) {
    case 0x09:
      return PutReference(cursor, "&#9;");
    case 0x0A:
      return PutReference(cursor, "&#10;");
    case 0x0D:
      return PutReference(cursor, "&#13;");
    default:
      return text::PutUtf8(cursor, AllowedInXml(c) ? c : kReplacement);
  }
}

char* PutXmlUnits(char* cursor, const uint16_t* units, int32_t count) {
  for (int32_t i = 0; i < count;) {
    const uint16_t unit = units[i];
    if (unit < 0x80) {
      // Letters, digits and most punctuation stand for themselves.
      if (kPlainAscii.plain[unit]) {
        *cursor++ = static_cast<char>(unit);
        ++i;
        continue;
      }
    } else if (unit < 0xD800) {
      // Below the surrogates every character is allowed: two or three bytes of UTF-8.
      cursor = text::PutUtf8(cursor, unit);
      ++i;
      continue;
    }
    cursor = PutXmlCharacter(cursor, text::NextCharacter(units, count, i));
  }
  return cursor;
}

char* PutXmlUtf8(char* cursor, const char* bytes, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    const unsigned char byte = static_cast<unsigned char>(bytes[i]);
    if (byte < 0x80) {
      cursor = PutXmlCharacter(cursor, byte);
    } else {
      *cursor++ = static_cast<char>(byte);
    }
  }
  return cursor;
}
