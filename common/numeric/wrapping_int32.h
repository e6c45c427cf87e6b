// Signed 32-bit sums and differences that wrap around like the two's-complement hardware does,
// so that no coordinate taken from a damaged file makes the arithmetic undefined.
#pragma once

#include <cstdint>

inline int32_t WrapAdd(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

inline int32_t WrapSub(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
