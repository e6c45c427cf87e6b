#include "ocrsift/textlayer/xml_text.h"

#include <charconv>

namespace {

constexpr uint32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(uint32_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(uint32_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

bool AllowedInXml(uint32_t character) {
  if (character < 0x20)
    return character == 0x09 || character == 0x0A || character == 0x0D;
  if (character >= 0xD800 && character <= 0xDFFF)
    return false;
  return character != 0xFFFE && character != 0xFFFF && character <= 0x10FFFF;
}

void AppendUtf8(std::string& out, uint32_t c) {
  char bytes[4];
  size_t n;
  if (c < 0x80) {
    bytes[0] = static_cast<char>(c);
    n = 1;
  } else if (c < 0x800) {
    bytes[0] = static_cast<char>(0xC0 | (c >> 6));
    bytes[1] = static_cast<char>(0x80 | (c & 0x3F));
    n = 2;
  } else if (c < 0x10000) {
    bytes[0] = static_cast<char>(0xE0 | (c >> 12));
    bytes[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    bytes[2] = static_cast<char>(0x80 | (c & 0x3F));
    n = 3;
  } else {
    bytes[0] = static_cast<char>(0xF0 | (c >> 18));
    bytes[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    bytes[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    bytes[3] = static_cast<char>(0x80 | (c & 0x3F));
    n = 4;
  }
  out.append(bytes, n);
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

uint32_t NextCharacter(const uint16_t* units, int32_t count, int32_t& i) {
  const uint32_t unit = units[i++];
  if (IsHighSurrogate(unit) && i < count && IsLowSurrogate(units[i]))
    return 0x10000 + ((unit - 0xD800) << 10) + (units[i++] - 0xDC00u);
  if (IsHighSurrogate(unit) || IsLowSurrogate(unit))
    return kReplacement;
  return unit;
}

void AppendXmlCharacter(std::string& out, uint32_t c) {
  switch (c) {
    case '&':
      out += "&amp;";
      return;
    case '<':
      out += "&lt;";
      return;
    case '>':
      out += "&gt;";
      return;
    case '"':
      out += "&quot;";
      return;
    case '\'':
      out += "&apos;";
      return;
    case 0x09:
      out += "&#9;";
      return;
    case 0x0A:
      out += "&#10;";
      return;
    case 0x0D:
      out += "&#13;";
      return;
    default:
      break;
  }
  if (c >= 0x20 && c < 0x7F) {
    out += static_cast<char>(c);
    return;
  }
  AppendUtf8(out, AllowedInXml(c) ? c : kReplacement);
}

void AppendXmlUnits(std::string& out, const uint16_t* units, int32_t count) {
  for (int32_t i = 0; i < count;)
    AppendXmlCharacter(out, NextCharacter(units, count, i));
}

void AppendXmlUtf8(std::string& out, const std::string& utf8) {
  for (size_t i = 0; i < utf8.size();)
    AppendXmlCharacter(out, NextUtf8Character(utf8, i));
}

void AppendDecimal(std::string& out, int32_t value) {
  char digits[12];
  const std::to_chars_result result = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, static_cast<size_t>(result.ptr - digits));
}
