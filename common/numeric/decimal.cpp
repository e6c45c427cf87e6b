#include "common/numeric/decimal.h"

#include <cstdint>

namespace numeric {

namespace {

bool IsCSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

int32_t ReadDecimal(const char* text, const char** end) {
  const char* p = text;
  if (p == nullptr)
    return 0;
  while (IsCSpace(*p))
    ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') {
    negative = (*p == '-');
    ++p;
  }
  const char* digits = p;
  int64_t value = 0;
  while (*p >= '0' && *p <= '9') {
    if (value <= INT64_C(0x100000000))
      value = value * 10 + (*p - '0');
    ++p;
  }
  if (p == digits) {
    if (end != nullptr)
      *end = text;
    return 0;
  }
  if (negative)
    value = -value;
  if (value > INT32_MAX)
    value = INT32_MAX;
  if (value < INT32_MIN)
    value = INT32_MIN;
  if (end != nullptr)
    *end = p;
  return static_cast<int32_t>(value);
}

}  // namespace numeric
