#include "common/platform/platform.h"

namespace platform {

namespace {

bool IsHighSurrogate(uint32_t u) {
  return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLowSurrogate(uint32_t u) {
  return u >= 0xDC00 && u <= 0xDFFF;
}

}  // namespace

int WideToUtf8(const uint16_t* text, char* out, int outSize) {
  if (text == nullptr || out == nullptr || outSize <= 0)
    return 0;
  int used = 0;
  auto put = [&](uint32_t byte) {
    if (used >= outSize)
      return false;
    out[used++] = static_cast<char>(byte);
    return true;
  };
  for (const uint16_t* p = text; *p != 0; ++p) {
    uint32_t cp = *p;
    if (IsHighSurrogate(cp) && IsLowSurrogate(p[1])) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (p[1] - 0xDC00);
      ++p;
    } else if (IsHighSurrogate(cp) || IsLowSurrogate(cp)) {
      cp = 0xFFFD;
    }
    bool ok;
    if (cp < 0x80) {
      ok = put(cp);
    } else if (cp < 0x800) {
      ok = put(0xC0 | (cp >> 6)) && put(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      ok = put(0xE0 | (cp >> 12)) && put(0x80 | ((cp >> 6) & 0x3F)) && put(0x80 | (cp & 0x3F));
    } else {
      ok = put(0xF0 | (cp >> 18)) && put(0x80 | ((cp >> 12) & 0x3F)) &&
           put(0x80 | ((cp >> 6) & 0x3F)) && put(0x80 | (cp & 0x3F));
    }
    if (!ok)
      return 0;
  }
  if (!put(0))
    return 0;
  return used;
}

}  // namespace platform
