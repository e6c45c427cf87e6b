#include "fuzz/xml_check.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace fuzz_support {

bool XmlChar(uint32_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
         (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

bool NextChar(const std::string& s, size_t& i, uint32_t& c) {
  const auto byte = [&](size_t k) { return static_cast<uint8_t>(s[k]); };
  const uint8_t b = byte(i);
  int extra = 0;
  if (b < 0x80) {
    c = b;
  } else if ((b & 0xE0) == 0xC0) {
    c = b & 0x1F;
    extra = 1;
  } else if ((b & 0xF0) == 0xE0) {
    c = b & 0x0F;
    extra = 2;
  } else if ((b & 0xF8) == 0xF0) {
    c = b & 0x07;
    extra = 3;
  } else {
    return false;
  }
  if (i + static_cast<size_t>(extra) >= s.size() && extra > 0)
    return false;
  for (int k = 1; k <= extra; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80)
      return false;
    c = (c << 6) | (byte(i + k) & 0x3F);
  }
  static const uint32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
  if (c < kLeast[extra])
    return false;
  i += static_cast<size_t>(extra) + 1;
  return true;
}

void AppendUtf8(std::string& out, uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string XmlValue(const std::string& escaped) {
  std::string out;
  for (size_t i = 0; i < escaped.size();) {
    if (escaped[i] != '&') {
      out += escaped[i++];
      continue;
    }
    const size_t end = escaped.find(';', i);
    if (end == std::string::npos) {
      out += escaped.substr(i);
      break;
    }
    const std::string name = escaped.substr(i + 1, end - i - 1);
    static const char* const kEntities[][2] = {
        {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"}};
    bool known = false;
    for (const auto& entity : kEntities) {
      if (name == entity[0]) {
        out += entity[1];
        known = true;
      }
    }
    if (!known && name.size() > 1 && name[0] == '#') {
      const bool hex = name[1] == 'x';
      AppendUtf8(out, static_cast<uint32_t>(
                          std::strtoul(name.c_str() + (hex ? 2 : 1), nullptr, hex ? 16 : 10)));
    }
    i = end + 1;
  }
  return out;
}

namespace {

bool NameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '-' || c == '.' || c == ':';
}

class Reader {
 public:
  explicit Reader(const std::string& s) : s_(s) {}

  std::string Check() {
    for (size_t i = 0; i < s_.size();) {
      uint32_t c = 0;
      if (!NextChar(s_, i, c) || !XmlChar(c))
        return At(i, "a character XML does not allow");
    }
    if (Take("<?xml") && !SkipPast("?>"))
      return At(pos_, "prolog not closed");
    SkipBlanks();
    if (Take("<!DOCTYPE") && !SkipPast(">"))
      return At(pos_, "document type not closed");
    SkipBlanks();
    if (pos_ >= s_.size() || s_[pos_] != '<')
      return At(pos_, "no root element");
    std::vector<std::string> open;
    bool rootDone = false;
    while (pos_ < s_.size()) {
      if (rootDone) {
        SkipBlanks();
        if (pos_ < s_.size())
          return At(pos_, "content after the root element");
        break;
      }
      if (s_[pos_] != '<') {
        if (open.empty())
          return At(pos_, "text outside the root element");
        std::string problem = Text();
        if (!problem.empty())
          return problem;
        continue;
      }
      if (Take("</")) {
        const std::string name = Name();
        if (open.empty() || name != open.back())
          return At(pos_, "end tag that closes no open element");
        open.pop_back();
        SkipBlanks();
        if (!Take(">"))
          return At(pos_, "end tag not closed");
        rootDone = open.empty();
        continue;
      }
      ++pos_;
      const std::string name = Name();
      if (name.empty())
        return At(pos_, "'<' without an element name");
      std::vector<std::string> attributes;
      for (;;) {
        const size_t before = pos_;
        SkipBlanks();
        if (Take("/>")) {
          rootDone = open.empty();
          break;
        }
        if (Take(">")) {
          open.push_back(name);
          break;
        }
        if (pos_ == before)
          return At(pos_, "attribute not separated by a blank");
        const std::string attribute = Name();
        if (attribute.empty() || !Take("="))
          return At(pos_, "malformed attribute");
        for (const std::string& seen : attributes) {
          if (seen == attribute)
            return At(pos_, "attribute given twice");
        }
        attributes.push_back(attribute);
        std::string problem = Quoted();
        if (!problem.empty())
          return problem;
      }
    }
    if (!open.empty() || !rootDone)
      return At(pos_, "element not closed at the end");
    return "";
  }

 private:
  std::string At(size_t where, const char* what) const {
    return std::string(what) + " at byte " + std::to_string(where);
  }
  bool Take(const char* literal) {
    const std::string text(literal);
    if (s_.compare(pos_, text.size(), text) != 0)
      return false;
    pos_ += text.size();
    return true;
  }
  bool SkipPast(const char* literal) {
    const size_t at = s_.find(literal, pos_);
    if (at == std::string::npos)
      return false;
    pos_ = at + std::string(literal).size();
    return true;
  }
  void SkipBlanks() {
    while (pos_ < s_.size() &&
           (s_[pos_] == ' ' || s_[pos_] == '\n' || s_[pos_] == '\r' || s_[pos_] == '\t'))
      ++pos_;
  }
  std::string Name() {
    const size_t start = pos_;
    while (pos_ < s_.size() && NameChar(s_[pos_]))
      ++pos_;
    return s_.substr(start, pos_ - start);
  }
  // A reference after '&': a predefined entity or a character reference to an allowed
  // character.
  bool Reference() {
    for (const char* entity : {"amp;", "lt;", "gt;", "quot;", "apos;"}) {
      if (Take(entity))
        return true;
    }
    if (!Take("#"))
      return false;
    const bool hex = Take("x");
    uint32_t value = 0;
    size_t digits = 0;
    while (pos_ < s_.size() && digits < 8) {
      const char c = s_[pos_];
      int digit = -1;
      if (c >= '0' && c <= '9')
        digit = c - '0';
      else if (hex && c >= 'a' && c <= 'f')
        digit = c - 'a' + 10;
      else if (hex && c >= 'A' && c <= 'F')
        digit = c - 'A' + 10;
      if (digit < 0)
        break;
      value = value * (hex ? 16 : 10) + static_cast<uint32_t>(digit);
      ++pos_;
      ++digits;
    }
    return digits > 0 && Take(";") && XmlChar(value);
  }
  std::string Text() {
    while (pos_ < s_.size() && s_[pos_] != '<') {
      if (s_[pos_] == '&') {
        ++pos_;
        if (!Reference())
          return At(pos_, "malformed reference in text");
        continue;
      }
      if (s_.compare(pos_, 3, "]]>") == 0)
        return At(pos_, "']]>' in text");
      ++pos_;
    }
    return "";
  }
  std::string Quoted() {
    if (pos_ >= s_.size() || (s_[pos_] != '"' && s_[pos_] != '\''))
      return At(pos_, "attribute value not quoted");
    const char quote = s_[pos_++];
    while (pos_ < s_.size() && s_[pos_] != quote) {
      if (s_[pos_] == '<')
        return At(pos_, "'<' in an attribute value");
      if (s_[pos_] == '&') {
        ++pos_;
        if (!Reference())
          return At(pos_, "malformed reference in an attribute value");
        continue;
      }
      ++pos_;
    }
    if (!Take(std::string(1, quote).c_str()))
      return At(pos_, "attribute value not closed");
    return "";
  }

  const std::string& s_;
  size_t pos_ = 0;
};

}  // namespace

std::string XmlProblem(const std::string& document) {
  return Reader(document).Check();
}

}  // namespace fuzz_support
