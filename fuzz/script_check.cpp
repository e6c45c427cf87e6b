#include "fuzz/script_check.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace fuzz_support {

namespace {

const char kPageHead[] = "\n# -------------------------------------";
const char kSelect[] = "\nselect ";
const char kPageSet[] = "\nremove-txt\nset-txt\n(page 0 0 ";
const char kLineHead[] = "\n (line ";
const char kWordHead[] = "\n  (word ";
const char kPageEnd[] = "\n)\n\n.\n";
const char kSave[] = "\n\nsave\n";

class Reader {
 public:
  explicit Reader(const std::string& text) : text_(text) {}

  bool AtEnd() const { return at_ == text_.size(); }
  bool LooksAt(const char* fragment) const {
    return text_.compare(at_, std::strlen(fragment), fragment) == 0;
  }
  bool Take(const char* fragment) {
    if (!LooksAt(fragment))
      return false;
    at_ += std::strlen(fragment);
    return true;
  }
  // A number as "%d" writes it: an optional minus sign and digits without a leading zero.
  bool TakeNumber(int32_t& value) {
    const size_t start = at_;
    bool negative = false;
    if (at_ < text_.size() && text_[at_] == '-') {
      negative = true;
      ++at_;
    }
    const size_t digits = at_;
    int64_t magnitude = 0;
    while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') {
      magnitude = magnitude * 10 + (text_[at_] - '0');
      if (magnitude > 2147483648LL)
        return Fail(start, "number beyond 32 bits");
      ++at_;
    }
    if (at_ == digits)
      return Fail(start, "number expected");
    if (text_[digits] == '0' && at_ - digits > 1)
      return Fail(start, "number with a leading zero");
    if (negative && magnitude == 0)
      return Fail(start, "negative zero");
    if (!negative && magnitude > 2147483647LL)
      return Fail(start, "number beyond 32 bits");
    value = static_cast<int32_t>(negative ? -magnitude : magnitude);
    return true;
  }
  bool TakeRect(ScriptRect& rect) {
    return TakeNumber(rect.left) && Take(" ") && TakeNumber(rect.upper) && Take(" ") &&
           TakeNumber(rect.right) && Take(" ") && TakeNumber(rect.lower);
  }
  // The quoted word text: escapes are a backslash and three octal digits of a byte value;
  // line feed and carriage return never appear raw, nor a quote, parenthesis or backslash
  // unescaped, nor a byte of 0x80 and above.
  bool TakeString(std::string& value) {
    const size_t start = at_;
    if (!Take("\""))
      return Fail(start, "string expected");
    while (at_ < text_.size()) {
      const unsigned char c = static_cast<unsigned char>(text_[at_]);
      if (c == '"') {
        ++at_;
        return true;
      }
      if (c == '\n' || c == '\r')
        return Fail(at_, "raw line end inside a string");
      if (c == '(' || c == ')' || c >= 0x80)
        return Fail(at_, "unescaped byte inside a string");
      if (c == '\\') {
        if (at_ + 3 >= text_.size())
          return Fail(at_, "escape cut short");
        int byte = 0;
        for (size_t i = 1; i <= 3; ++i) {
          const char d = text_[at_ + i];
          if (d < '0' || d > '7')
            return Fail(at_, "escape without three octal digits");
          byte = byte * 8 + (d - '0');
        }
        if (byte > 0xFF)
          return Fail(at_, "escape beyond a byte");
        value.push_back(static_cast<char>(byte));
        at_ += 4;
        continue;
      }
      value.push_back(static_cast<char>(c));
      ++at_;
    }
    return Fail(start, "string not closed");
  }
  bool Fail(const char* what) { return Fail(at_, what); }
  bool Fail(size_t at, const char* what) {
    char where[64];
    std::snprintf(where, sizeof where, " at byte %zu", at);
    error_ = std::string(what) + where;
    return false;
  }
  const std::string& error() const { return error_; }

 private:
  const std::string& text_;
  size_t at_ = 0;
  std::string error_;
};

bool ParseLine(Reader& in, ScriptLine& line) {
  if (!in.TakeRect(line.rect))
    return false;
  while (in.Take(kWordHead)) {
    ScriptWord word;
    if (!in.TakeRect(word.rect) || !in.Take(" ") || !in.TakeString(word.text))
      return false;
    if (!in.Take(")"))
      return in.Fail("word entry not closed");
    line.words.push_back(word);
  }
  if (!in.Take(")"))
    return in.Fail("line entry not closed");
  return true;
}

bool ParsePage(Reader& in, ScriptPage& page) {
  if (in.Take(kSelect)) {
    page.hasSelect = true;
    if (!in.TakeNumber(page.select))
      return false;
  }
  if (!in.Take(kPageSet))
    return in.Fail("page header expected");
  if (!in.TakeNumber(page.width) || !in.Take(" ") || !in.TakeNumber(page.height))
    return false;
  for (;;) {
    if (in.Take(kLineHead)) {
      ScriptLine line;
      if (!ParseLine(in, line))
        return false;
      page.lines.push_back(line);
      continue;
    }
    if (in.Take(kPageEnd)) {
      page.closed = true;
      return true;
    }
    // An open page ends where the next page block or the closing "save" begins.
    if (in.LooksAt(kPageHead) || in.LooksAt(kSave) || in.AtEnd())
      return true;
    return in.Fail("line entry or page end expected");
  }
}

}  // namespace

bool ParseScript(const std::string& text, Script& script, std::string& error) {
  script = Script();
  Reader in(text);
  while (in.Take(kPageHead)) {
    ScriptPage page;
    if (!ParsePage(in, page)) {
      error = in.error();
      return false;
    }
    script.pages.push_back(page);
  }
  if (in.Take(kSave))
    script.saved = true;
  if (!in.AtEnd()) {
    in.Fail("text after the script");
    error = in.error();
    return false;
  }
  return true;
}

void Require(bool condition, const char* what, const std::string& script) {
  if (condition)
    return;
  std::fprintf(stderr, "\n*** script invariant broken: %s\n--- script ---\n%s\n--- end ---\n", what,
               script.c_str());
  std::fflush(stderr);
  std::abort();
}

Script RequireScript(const std::string& text) {
  Script script;
  std::string error;
  const bool parsed = ParseScript(text, script, error);
  Require(parsed, error.c_str(), text);
  return script;
}

namespace {

bool WithinSpan(int32_t value, int32_t side) {
  return value >= std::min(0, side) && value <= std::max(0, side);
}

}  // namespace

bool KeepableRect(const ScriptRect& rect, int32_t width, int32_t height) {
  return WithinSpan(rect.left, width) && WithinSpan(rect.right, width) &&
         WithinSpan(rect.upper, height) && WithinSpan(rect.lower, height) &&
         rect.left != rect.right && rect.upper != rect.lower;
}

}  // namespace fuzz_support
