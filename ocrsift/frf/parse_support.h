// Small helpers shared by the FRF parsers: reads as result codes, the step numbers, little-endian
// fields of records read whole, and 32-bit arithmetic on counts taken from the file. Counts and
// offsets in a damaged file may be anything, so sums and products wrap modulo 2^32 instead of
// overflowing.
#pragma once

#include <cassert>
#include <cstdint>

#include "common/numeric/wrapping_int32.h"
#include "ocrsift/frf/frf.h"
#include "ocrsift/frf/page_context.h"
#include "ocrsift/stream/little_endian.h"

// The one idiom of the parsers: leaves the calling parser with the code of a read or a part
// that did not succeed.
#define RETURN_UNLESS_OK(expression)     \
  do {                                   \
    const int partResult = (expression); \
    if (partResult != PARSE_OK)          \
      return partResult;                 \
  } while (false)

namespace frf_detail {

// One field as a result code: PARSE_OK, or PARSE_EOF when the file ends inside it.
inline int ReadField(FrfStream& stream, uint8_t& value) {
  return stream.ReadByte(value) ? PARSE_OK : PARSE_EOF;
}
inline int ReadField(FrfStream& stream, uint16_t& value) {
  return stream.ReadWord(value) ? PARSE_OK : PARSE_EOF;
}
inline int ReadField(FrfStream& stream, uint32_t& value) {
  return stream.ReadDword(value) ? PARSE_OK : PARSE_EOF;
}
inline int ReadField(FrfStream& stream, int32_t& value) {
  return stream.ReadDword(value) ? PARSE_OK : PARSE_EOF;
}

// n bytes read whole (a record, a signature) as a result code.
inline int ReadBytes(FrfStream& stream, uint8_t* destination, int32_t n) {
  return stream.Read(destination, n) ? PARSE_OK : PARSE_EOF;
}

// A field that must hold expected: PARSE_BAD_FORMAT when it holds another value.
template <typename T>
int ReadExpected(FrfStream& stream, T expected) {
  T value = 0;
  RETURN_UNLESS_OK(ReadField(stream, value));
  return value == expected ? PARSE_OK : PARSE_BAD_FORMAT;
}

// A UTF-16 string of n units into output as a result code: PARSE_EOF also when its narrow form
// does not fit.
inline int ReadText(PageContext& page, char* output, int outputSize, int32_t n,
                    TextMarks marks = TextMarks::InText) {
  return ReadNarrowString(page, output, outputSize, n, marks) != 0 ? PARSE_OK : PARSE_EOF;
}

// Makes `number` the step that a failure from here on reports. Every parser names its steps
// where it enters them, so no read can renumber the steps after it; within an element they
// only advance.
inline void EnterStep(int32_t* step, int32_t number) {
  assert(number > *step);
  *step = number;
}

// a * m + b with the wrapping of 32-bit unsigned arithmetic, as a signed skip length or
// offset. A result above INT32_MAX becomes negative, and a negative skip passes over nothing.
inline int32_t WrapLinear(uint32_t a, int32_t m, int32_t b) {
  return static_cast<int32_t>(a * static_cast<uint32_t>(m) + static_cast<uint32_t>(b));
}

inline int32_t Int32At(const uint8_t* bytes) {
  return static_cast<int32_t>(LittleEndian32(bytes));
}

// The last offset of a region that began at start and ends before the stream's position.
inline int32_t RegionLast(const FrfStream& stream) {
  return WrapAdd(stream.Position(), -1);
}

// The argument for "%04X" and "%X" formats: the 32-bit pattern of a signed field.
inline unsigned HexValue(int32_t value) {
  return static_cast<unsigned>(static_cast<uint32_t>(value));
}

}  // namespace frf_detail
