#include <cstring>
#include <limits>

#include "common/platform/platform.h"
#include "common/text/utf8.h"

namespace platform {

int WideToUtf8(const uint16_t* text, char* out, int outSize) {
  if (text == nullptr || out == nullptr || outSize <= 0)
    return 0;
  int used = 0;
  // The terminating zero ends the text before any pair could run past it.
  constexpr int32_t kUnbounded = std::numeric_limits<int32_t>::max();
  for (int32_t i = 0; text[i] != 0;) {
    char bytes[text::kMaxUtf8Bytes];
    const int n = static_cast<int>(text::PutUtf8(bytes, text::NextCharacter(text, kUnbounded, i)) -
                                   bytes);
    if (outSize - used < n)
      return 0;
    std::memcpy(out + used, bytes, static_cast<size_t>(n));
    used += n;
  }
  if (used >= outSize)
    return 0;
  out[used++] = 0;
  return used;
}

}  // namespace platform
