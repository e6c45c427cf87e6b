// Small helpers shared by the FRF parsers: little-endian fields of records read whole, and
// 32-bit arithmetic on counts taken from the file. Counts and offsets in a damaged file may
// be anything, so sums and products wrap modulo 2^32 instead of overflowing.
#pragma once

#include <cstdint>

#include "common/numeric/wrapping_int32.h"
#include "ocrsift/frf/run_state.h"
#include "ocrsift/textlayer/text_layer_writer.h"

namespace frf_detail {

// a * m + b with the wrapping of 32-bit unsigned arithmetic, as a signed skip length or
// offset. A result above INT32_MAX becomes negative, and a negative skip passes over nothing.
inline int32_t WrapLinear(uint32_t a, int32_t m, int32_t b) {
  return static_cast<int32_t>(a * static_cast<uint32_t>(m) + static_cast<uint32_t>(b));
}

inline int32_t Int32At(const uint8_t* bytes) {
  return static_cast<int32_t>(
      static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
      (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24));
}

// The last offset of a region that began at start and ends before the stream's position.
inline int32_t RegionLast(const FrfStream& stream) {
  return WrapAdd(stream.Position(), -1);
}

// The argument for "%04X" and "%X" formats: the 32-bit pattern of a signed field.
inline unsigned HexValue(int32_t value) {
  return static_cast<unsigned>(static_cast<uint32_t>(value));
}

inline bool IsVersion10() {
  return gRunState.FormatVersion == 10;
}

// The writer is optional: tests and the format-exploring modes may run the parsers without.
inline TextLayerWriter* Writer() {
  return gRunState.CurrentWriter.get();
}

}  // namespace frf_detail
