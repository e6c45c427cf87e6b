// Writing one word entry: its rectangle and its text as escaped UTF-8.
#include "common/numeric/wrapping_int32.h"
#include "common/platform/platform.h"
#include "ocrsift/textlayer/script_escape.h"
#include "ocrsift/textlayer/text_layer_writer.h"

bool TextLayerWriter::WriteWord(int32_t left, int32_t upper, int32_t right, int32_t lower,
                                const uint16_t* word) {
  char utf8[kWordCapacity];
  // The count includes the terminating zero: 0 means the word did not fit, 1 that it is empty.
  const int size = platform::WideToUtf8(word, utf8, kWordCapacity);
  if (size <= 1)
    return false;
  if (left == right)
    right = WrapAdd(right, 1);
  if (upper == lower)
    lower = WrapSub(lower, 1);
  WriteScript("\n  (word %d %d %d %d \"", left, upper, right, lower);
  for (int i = 0; i < size - 1; ++i) {
    const unsigned char byte = static_cast<unsigned char>(utf8[i]);
    // Three digits always, so that an escape never takes in a digit that follows it.
    if (NeedsOctalEscape(byte)) {
      WriteScript("\\%03o", static_cast<unsigned>(byte));
    } else {
      WriteScript("%c", byte);
    }
  }
  WriteScript("\"");
  return true;
}
