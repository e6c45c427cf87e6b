// Writing one word entry: its rectangle and its text as escaped UTF-8.
#include "common/numeric/wrapping_int32.h"
#include "ocrsift/textlayer/script_escape.h"
#include "ocrsift/textlayer/text_layer_writer.h"

void TextLayerWriter::WriteWord(int32_t left, int32_t upper, int32_t right, int32_t lower,
                                const char* utf8, int32_t size) {
  if (left == right)
    right = WrapAdd(right, 1);
  if (upper == lower)
    lower = WrapSub(lower, 1);
  WriteScript("\n  (word %d %d %d %d \"", left, upper, right, lower);
  for (int32_t i = 0; i < size; ++i) {
    const unsigned char byte = static_cast<unsigned char>(utf8[i]);
    // Three digits always, so that an escape never takes in a digit that follows it.
    if (NeedsOctalEscape(byte)) {
      WriteScript("\\%03o", static_cast<unsigned>(byte));
    } else {
      WriteScript("%c", byte);
    }
  }
  WriteScript("\"");
}
