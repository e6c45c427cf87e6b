// Records that text frames, table cells and barcode frames share.
#pragma once

#include <cstdint>

#include "ocrsift/stream/frf_stream.h"

namespace frf_detail {

// A uint8 length and a UTF-16 name of that many units, converted into output. length (when
// given) receives the length byte. False when the file ends or the name does not fit.
bool ReadCountedName(FrfStream& stream, char* output, int outputSize, uint8_t* length = nullptr);

// The version-6 end-of-frame record: three equal bytes and a zero word, one step per field
// after the first. Returns PARSE_OK, PARSE_EOF or PARSE_BAD_FORMAT.
int ReadEqualBytesEndRecord(FrfStream& stream, int32_t* step);

}  // namespace frf_detail
