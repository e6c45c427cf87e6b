#include "ocrsift/page/line_word_splitter.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <new>

#include "common/platform/platform.h"
#include "ocrsift/page/text_marks.h"

void LineWordSplitter::SetText(const uint16_t* codes, int32_t count) {
  text_.reset();
  textLength_ = 0;
  textPos_ = 0;
  lineLeft_ = 0;
  if (codes == nullptr || count < 0)
    count = 0;
  // A failed allocation leaves the block without text: its lines then yield no word.
  text_.reset(new (std::nothrow) uint16_t[static_cast<size_t>(count) + 1]);
  if (!text_)
    return;
  std::copy(codes, codes + count, text_.get());
  text_[count] = 0;
  textLength_ = count;
}

void LineWordSplitter::ResetBoxes(int32_t count) {
  boxes_.reset();
  boxCapacity_ = 0;
  boxCount_ = 0;
  if (count <= 0)
    return;
  // A failed allocation leaves the block without boxes, as if it had declared none.
  boxes_.reset(new (std::nothrow) CharBox[static_cast<size_t>(count)]);
  if (boxes_)
    boxCapacity_ = count;
}

void LineWordSplitter::AddBox(uint16_t left, uint16_t top, uint16_t right, uint16_t bottom) {
  if (boxCount_ >= boxCapacity_)
    return;
  CharBox& box = boxes_[boxCount_++];
  box.left = left;
  box.top = top;
  box.right = right;
  box.bottom = bottom;
}

inline const CharBox* LineWordSplitter::BoxAt(int32_t index) const {
  if (!boxes_ || index < 0 || index >= boxCount_)
    return nullptr;
  return &boxes_[index];
}

inline void LineWordSplitter::Merge(Extent& extent, int32_t index) const {
  const CharBox* box = BoxAt(index);
  if (box == nullptr)
    return;
  if (extent.empty) {
    extent.empty = false;
    extent.rect = {box->left, box->top, box->right, box->bottom};
    return;
  }
  // Characters follow each other left to right, so the last one gives the right edge.
  if (box->top < extent.rect.top)
    extent.rect.top = box->top;
  if (box->bottom > extent.rect.bottom)
    extent.rect.bottom = box->bottom;
  extent.rect.right = box->right;
}

bool LineWordSplitter::BeginLine(TextRect& line, int32_t count) {
  lineLeft_ = 0;
  if (count <= 0)
    return false;
  // A damaged block may give its lines more code units than its text holds.
  count = std::min(count, textLength_ - textPos_);
  if (count <= 0)
    return false;
  if (line.left == 0 && line.right == 0) {
    Extent spanned;
    for (int32_t i = 0; i < count; ++i)
      Merge(spanned, textPos_ + i);
    line = spanned.rect;
  }
  // Saturating: an edge at the end of the 32-bit range stays there, and the page's clipping
  // then sets the edges apart.
  if (line.left == line.right && line.right < INT32_MAX)
    ++line.right;
  if (line.top == line.bottom && line.bottom < INT32_MAX)
    ++line.bottom;
  line_ = line;
  lineLeft_ = count;
  return true;
}

int32_t LineWordSplitter::SettleHyphenation(int32_t length, SplitWord& word) {
  static_assert(kWordBufferSize >= kWordCapacity + 1, "room for the blank after a hyphen");
  if (word_[length - 1] == MARK_HYPHEN) {
    // The first part waits for the word that completes it; a fragment still pending from an
    // earlier broken word is given up.
    const size_t part = static_cast<size_t>(length - 1);
    std::memcpy(carry_, word_, part * sizeof(uint16_t));
    if (keepUnitBoxes_)
      std::copy(wordBoxes_, wordBoxes_ + part, carryBoxes_);
    carryLength_ = length - 1;
    word_[length - 1] = '-';
    wordBoxes_[length] = word.rect;
    word_[length++] = ' ';
    word.broken = true;
    return length;
  }
  if (joinHyphenated_ && carryLength_ != 0 && length + carryLength_ + 1 >= kWordCapacity) {
    // The joined word would not fit: the first part is given up, so that it never completes
    // a later, unrelated word.
    carryLength_ = 0;
  } else if (joinHyphenated_ && carryLength_ != 0) {
    std::memmove(word_ + carryLength_, word_, static_cast<size_t>(length) * sizeof(uint16_t));
    std::memcpy(word_, carry_, static_cast<size_t>(carryLength_) * sizeof(uint16_t));
    if (keepUnitBoxes_) {
      std::copy_backward(wordBoxes_, wordBoxes_ + length, wordBoxes_ + carryLength_ + length);
      std::copy(carryBoxes_, carryBoxes_ + carryLength_, wordBoxes_);
    }
    word.carried = carryLength_;
    length += carryLength_;
    carryLength_ = 0;
  }
  return length;
}

bool LineWordSplitter::NextWord(SplitWord& word) {
  while (lineLeft_ > 0) {
    int32_t length = 0;
    Extent extent;
    while (lineLeft_ > 0) {
      const uint16_t unit = text_[textPos_];
      if (unit == 0x20 || unit == 0x09) {
        ++textPos_;
        --lineLeft_;
        break;
      }
      // A word that fills the buffer ends here; the unit that does not fit begins the next.
      if (length == kWordCapacity - 1)
        break;
      if (keepUnitBoxes_) {
        const CharBox* box = BoxAt(textPos_);
        hasBox_[length] = box != nullptr;
        if (box != nullptr)
          wordBoxes_[length] = {box->left, box->top, box->right, box->bottom};
      }
      word_[length++] = unit;
      Merge(extent, textPos_);
      ++textPos_;
      --lineLeft_;
    }
    // Every line of a block but the last ends in a terminator that is no part of the text;
    // its box stays merged into the word's rectangle.
    if (length > 0 && lineLeft_ == 0 && textPos_ != textLength_)
      --length;
    if (length == 0)
      continue;

    word = SplitWord();
    // Characters without a box would put the word on the page's corner; the line they stand
    // on is the best place known for them.
    word.rect = extent.empty ? line_ : extent.rect;
    for (int32_t i = 0; keepUnitBoxes_ && i < length; ++i) {
      if (!hasBox_[i])
        wordBoxes_[i] = word.rect;
    }
    length = SettleHyphenation(length, word);
    word_[length] = 0;
    word.units = word_;
    word.length = length;
    word.boxes = keepUnitBoxes_ ? wordBoxes_ : nullptr;
    return true;
  }
  return false;
}

int32_t LineWordSplitter::WrittenForm(const SplitWord& word, char (&utf8)[kWordCapacity]) {
  // The size includes the terminating zero: 0 means that the form did not fit, 1 that the
  // word is empty.
  const int size = platform::WideToUtf8(word.units, utf8, kWordCapacity);
  return size <= 1 ? 0 : size - 1;
}
