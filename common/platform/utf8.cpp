#include <cstring>
#include <limits>

#include "common/platform/platform.h"
#include "common/text/utf8.h"

namespace platform {

int WideToUtf8(const uint16_t* text, char* out, int outSize) {
  if (text == nullptr || out == nullptr || outSize <= 0)
    return 0;
  char* cursor = out;
  char* const end = out + outSize;
  // The terminating zero ends the text before any pair could run past it.
  constexpr int32_t kUnbounded = std::numeric_limits<int32_t>::max();
  for (int32_t i = 0; text[i] != 0;) {
    // Most text is ASCII: a byte each.
    if (text[i] < 0x80) {
      if (cursor == end)
        return 0;
      *cursor++ = static_cast<char>(text[i++]);
      continue;
    }
    if (end - cursor >= text::kMaxUtf8Bytes) {
      cursor = text::PutUtf8(cursor, text::NextCharacter(text, kUnbounded, i));
      continue;
    }
    // Near the end of the room: the character must fit whole.
    char bytes[text::kMaxUtf8Bytes];
    const char* last = text::PutUtf8(bytes, text::NextCharacter(text, kUnbounded, i));
    const size_t n = static_cast<size_t>(last - bytes);
    if (static_cast<size_t>(end - cursor) < n)
      return 0;
    std::memcpy(cursor, bytes, n);
    cursor += n;
  }
  if (cursor == end)
    return 0;
  *cursor++ = 0;
  return static_cast<int>(cursor - out);
}

}  // namespace platform
