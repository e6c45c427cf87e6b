// One piece of script text composed in a fixed buffer, so that a word entry reaches the
// stream in a single write: fixed fragments, signed decimals without the printf machinery,
// and word bytes escaped through a table.
#pragma once

#include <cstddef>
#include <cstdint>

class ScriptText {
 public:
  // Room for a line entry, a word entry of the longest word (every byte escaped to four) and
  // the closing parentheses.
  static constexpr size_t kCapacity = 2304;

  const char* Data() const { return text_; }
  size_t Size() const { return size_; }
  void Clear() { size_ = 0; }

  // Each append keeps within the buffer: what does not fit is left out (the entries of a line
  // never come near the capacity).
  void Append(const char* bytes, size_t n);
  template <size_t N>
  void AppendLiteral(const char (&literal)[N]) {
    Append(literal, N - 1);
  }
  // A blank, then the number in signed decimal ("%d").
  void AppendBlankAndNumber(int32_t value);
  // The bytes of a word's UTF-8 form, those that djvused must receive escaped as a backslash
  // and three octal digits.
  void AppendEscaped(const char* utf8, int32_t size);

 private:
  char text_[kCapacity];
  size_t size_ = 0;
};
