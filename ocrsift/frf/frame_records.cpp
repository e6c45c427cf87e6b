#include "ocrsift/frf/frame_records.h"

#include "ocrsift/frf/frf.h"
#include "ocrsift/frf/parse_support.h"
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
  uint8_t first = 0;
  RETURN_UNLESS_OK(ReadField(stream, first));
  ++*step;
  RETURN_UNLESS_OK(ReadExpected(stream, first));
  ++*step;
  RETURN_UNLESS_OK(ReadExpected(stream, first));
  ++*step;
  return ReadExpected<uint16_t>(stream, 0);
}

}  // namespace frf_detail
