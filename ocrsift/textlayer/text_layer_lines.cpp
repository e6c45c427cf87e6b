// Splitting a line's code units into words, with the line terminator and the hyphenation of
// words broken at a line end.
#include <cstring>

#include "common/numeric/wrapping_int32.h"
#include "common/platform/platform.h"
#include "ocrsift/textlayer/script_text.h"
#include "ocrsift/textlayer/text_layer_writer.h"
#include "ocrsift/textlayer/text_marks.h"

const CharBox* TextLayerWriter::BoxAt(int32_t index) const {
  if (!boxes_ || index < 0 || index >= boxCount_)
    return nullptr;
  return &boxes_[index];
}

void TextLayerWriter::Merge(Extent& extent, int32_t index) const {
  const CharBox* box = BoxAt(index);
  if (box == nullptr)
    return;
  if (extent.empty) {
    extent.empty = false;
    extent.left = box->left;
    extent.top = box->top;
    extent.right = box->right;
    extent.bottom = box->bottom;
    return;
  }
  // Characters follow each other left to right, so the last one gives the right edge.
  if (box->top < extent.top)
    extent.top = box->top;
  if (box->bottom > extent.bottom)
    extent.bottom = box->bottom;
  extent.right = box->right;
}

int32_t TextLayerWriter::SettleHyphenation(uint16_t* word, int32_t length) {
  if (word[length - 1] == MARK_HYPHEN) {
    // The first part waits for the word that completes it; a fragment still pending from an
    // earlier broken word is given up.
    std::memcpy(hyphenCarry_, word, static_cast<size_t>(length - 1) * sizeof(uint16_t));
    hyphenCarryLength_ = length - 1;
    word[length - 1] = '-';
    word[length++] = ' ';
    return length;
  }
  if (joinHyphenated_ && hyphenCarryLength_ != 0 &&
      length + hyphenCarryLength_ + 1 < kWordCapacity) {
    std::memmove(word + hyphenCarryLength_, word, static_cast<size_t>(length) * sizeof(uint16_t));
    std::memcpy(word, hyphenCarry_, static_cast<size_t>(hyphenCarryLength_) * sizeof(uint16_t));
    length += hyphenCarryLength_;
    hyphenCarryLength_ = 0;
  }
  return length;
}

void TextLayerWriter::EmitLine(int32_t left, int32_t top, int32_t right, int32_t bottom,
                               int32_t count) {
  lineOpen_ = false;
  if (count <= 0)
    return;
  // A damaged block may give its lines more code units than its text holds.
  const int32_t remaining = textLength_ - textPos_;
  if (count > remaining)
    count = remaining;
  if (count == 0)
    return;

  if (left == 0 && right == 0) {
    Extent line;
    for (int32_t i = 0; i < count; ++i)
      Merge(line, textPos_ + i);
    left = line.left;
    top = line.top;
    right = line.right;
    bottom = line.bottom;
  }
  if (left == right)
    right = WrapAdd(right, 1);
  if (top == bottom)
    bottom = WrapAdd(bottom, 1);

  uint16_t word[kWordBufferSize];
  // A word entry, with the line entry before the line's first written word, goes to the
  // stream in one write.
  ScriptText entry;
  int32_t consumed = 0;
  while (consumed < count) {
    int32_t length = 0;
    Extent extent;
    while (consumed < count) {
      const uint16_t unit = text_[textPos_];
      if (unit == 0x20 || unit == 0x09) {
        ++textPos_;
        ++consumed;
        break;
      }
      // A word that fills the buffer ends here; the unit that does not fit begins the next.
      if (length == kWordCapacity - 1)
        break;
      word[length++] = unit;
      Merge(extent, textPos_);
      ++textPos_;
      ++consumed;
    }
    // Every line of a block but the last ends in a terminator that is no part of the text;
    // its box stays merged into the word's rectangle.
    if (length > 0 && consumed == count && textPos_ != textLength_)
      --length;
    if (length == 0)
      continue;
    length = SettleHyphenation(word, length);
    word[length] = 0;

    // The count includes the terminating zero: 0 means the UTF-8 form did not fit, 1 that the
    // word is empty (it began with U+0000). Such a word is left out, and the line entry opens
    // only with its first word that is written: djvused rejects a line without words, and with
    // it the whole script.
    char utf8[kWordCapacity];
    const int size = platform::WideToUtf8(word, utf8, kWordCapacity);
    if (size <= 1)
      continue;
    entry.Clear();
    if (!lineOpen_) {
      int32_t lineLeft = left;
      int32_t lineUpper = WrapSub(pageHeight_, top);
      int32_t lineRight = right;
      int32_t lineLower = WrapSub(pageHeight_, bottom);
      ClipToPage(lineLeft, lineUpper, lineRight, lineLower);
      entry.AppendLiteral("\n (line");
      entry.AppendBlankAndNumber(lineLeft);
      entry.AppendBlankAndNumber(lineUpper);
      entry.AppendBlankAndNumber(lineRight);
      entry.AppendBlankAndNumber(lineLower);
      lineOpen_ = true;
    }
    // Characters without a box (a block may hold fewer boxes than code units) would put the
    // word on the page's corner; the line they stand on is the best place known for them.
    if (extent.empty) {
      extent.left = left;
      extent.top = top;
      extent.right = right;
      extent.bottom = bottom;
    }
    AppendWordEntry(entry, extent.left, WrapSub(pageHeight_, extent.top), extent.right,
                    WrapSub(pageHeight_, extent.bottom), utf8, size - 1);
    WriteScriptText(entry);
  }
}
