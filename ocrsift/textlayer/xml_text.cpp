#include "ocrsift/textlayer/xml_text.h"

#include <cstring>

namespace {

constexpr uint32_t kReplacement = 0xFFFD;

bool AllowedInXml(uint32_t character) {
  if (character < 0x20)
    return character == 0x09 || character == 0x0A || character == 0x0D;
  if (character >= 0xD800 && character <= 0xDFFF)
    return false;
  return character != 0xFFFE && character != 0xFFFF && character <= 0x10FFFF;
}

char* PutUtf8(char* cursor, uint32_t c) {
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

template <size_t N>
char* PutReference(char* cursor, const char (&text)[N]) {
  static_assert(N - 1 <= kXmlCharacterRoom, "a reference fits the room of a character");
  std::memcpy(cursor, text, N - 1);
  return cursor + N - 1;
}

// The character of a valid UTF-8 sequence at index i (i moves past it), or U+FFFD for a byte
// that begins none (i moves one byte on).
uint32_t NextUtf8Character(const std::string& text, size_t& i) {
  const auto byte = [&](size_t k) { return static_cast<uint8_t>(text[k]); };
  const uint8_t lead = byte(i);
  size_t extra = 0;
  uint32_t c = 0;
  uint32_t least = 0;
  if (lead < 0x80) {
    ++i;
    return lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1, c = lead & 0x1Fu, least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2, c = lead & 0x0Fu, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3, c = lead & 0x07u, least = 0x10000;
  } else {
    ++i;
    return kReplacement;
  }
  if (i + extra >= text.size()) {
    ++i;
    return kReplacement;
  }
  for (size_t k = 1; k <= extra; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) {
      ++i;
      return kReplacement;
    }
    c = (c << 6) | (byte(i + k) & 0x3Fu);
  }
  if (c < least || c > 0x10FFFF) {
    ++i;
    return kReplacement;
  }
  i += extra + 1;
  return c;
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
      return PutUtf8(cursor, AllowedInXml(c) ? c : kReplacement);
  }
}

char* PutXmlUnits(char* cursor, const uint16_t* units, int32_t count) {
  for (int32_t i = 0; i < count;) {
    // Letters, digits and most punctuation stand for themselves.
    const uint16_t unit = units[i];
    if (unit >= 0x20 && unit < 0x7F && unit != '&' && unit != '<' && unit != '>' && unit != '"' &&
        unit != '\'') {
      *cursor++ = static_cast<char>(unit);
      ++i;
      continue;
    }
    cursor = PutXmlCharacter(cursor, NextCharacter(units, count, i));
  }
  return cursor;
}

void AppendXmlUtf8(std::string& out, const std::string& utf8) {
  for (size_t i = 0; i < utf8.size();) {
    char bytes[kXmlCharacterRoom];
    out.append(bytes,
               static_cast<size_t>(PutXmlCharacter(bytes, NextUtf8Character(utf8, i)) - bytes));
  }
}
