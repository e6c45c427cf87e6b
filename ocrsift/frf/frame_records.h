// Records that several frame kinds share: counted names, the two regions of a frame head and
// the version-6 end-of-frame record. Each returns PARSE_OK, PARSE_EOF or PARSE_BAD_FORMAT.
#pragma once

#include <cstdint>

#include "ocrsift/frf/page_context.h"

namespace frf_detail {

// A uint8 length and a UTF-16 name of that many units, converted into output. length (when
// given) receives the length byte. PARSE_EOF when the file ends or the name does not fit.
int ReadCountedName(PageContext& page, char* output, int outputSize, uint8_t* length = nullptr,
                    TextMarks marks = TextMarks::InText);

// What follows the lead bytes of a frame head: nothing in text frames, a marker that must be 0
// in picture heads, a byte of any value in table frames.
enum class HeadByte { kNone, kZero, kAny };

// The region that opens every frame (DATA_1 part 3): a uint8 lead length and that many bytes,
// the head byte, and the fixed part of the file's version. Listed as tag 8 under title.
int ReadFrameHeadData1(PageContext& page, HeadByte headByte, const char* title);

// The DATA3 region of a frame: an int32 record count, 16 bytes a record and tail bytes more.
// Listed as tag 9 under title.
int ReadData3(PageContext& page, int32_t tail, const char* title);

// The step of each field of the version-6 end-of-frame record.
struct EqualBytesSteps {
  int32_t first;   // any value
  int32_t second;  // must equal the first
  int32_t third;   // must equal the first
  int32_t word;    // must be 0
};

// The version-6 end-of-frame record of text and barcode frames: three equal bytes and a zero
// word.
int ReadEqualBytesEndRecord(PageContext& page, const EqualBytesSteps& steps, int32_t* step);

}  // namespace frf_detail
