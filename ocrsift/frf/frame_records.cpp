#include "ocrsift/frf/frame_records.h"

#include "ocrsift/frf/frf.h"
#include "ocrsift/frf/run_state.h"

namespace frf_detail {

bool ReadCountedName(FrfStream& stream, char* output, int outputSize, uint8_t* length) {
  uint8_t count = 0;
  if (!stream.ReadByte(count))
    return false;
  if (length != nullptr)
    *length = count;
  return ReadNarrowString(output, outputSize, count) != 0;
}

int ReadEqualBytesEndRecord(FrfStream& stream, int32_t* step) {
  ++*step;
  uint8_t a = 0;
  if (!stream.ReadByte(a))
    return PARSE_EOF;
  ++*step;
  uint8_t b = 0;
  if (!stream.ReadByte(b))
    return PARSE_EOF;
  if (b != a)
    return PARSE_BAD_FORMAT;
  ++*step;
  uint8_t c = 0;
  if (!stream.ReadByte(c))
    return PARSE_EOF;
  if (c != a)
    return PARSE_BAD_FORMAT;
  ++*step;
  uint16_t word = 0;
  if (!stream.ReadWord(word))
    return PARSE_EOF;
  if (word != 0)
    return PARSE_BAD_FORMAT;
  return PARSE_OK;
}

}  // namespace frf_detail
