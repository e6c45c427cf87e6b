// The words of a text block's lines as every output format reads them: blanks and tabs
// separate words; every line of a block but the last ends in a terminator that is no part of
// the text; a word that ends in the hyphen mark is broken at the line end, is written as its
// first part and "- ", and (while joining is on) the next word carries the whole word, so
// that a search finds it.
#pragma once

#include <cstdint>
#include <memory>

#include "ocrsift/page/page_rect.h"
#include "ocrsift/page/page_text_sink.h"

// One word of a line, valid until the next call of the splitter.
struct SplitWord {
  // The code units, zero-terminated: a broken word ends in "- ", a joined one begins with the
  // first part it completes.
  const uint16_t* units = nullptr;
  int32_t length = 0;
  // A rectangle per code unit: the unit's own box, or the word's rectangle for a unit without
  // one (the blank after a broken word's hyphen, a damaged block's missing boxes); the
  // first part of a joined word keeps the boxes it had on its own line. Null unless the
  // splitter keeps them.
  const TextRect* boxes = nullptr;
  // The leading code units that come from the broken word this one completes (0: not joined).
  int32_t carried = 0;
  bool broken = false;
  // The rectangle of the word's own code units, the line's when none of them has a box.
  TextRect rect;
};

class LineWordSplitter {
 public:
  // Capacity of a word and of a broken word's first part in code units, terminating zero
  // included.
  static constexpr int32_t kWordCapacity = 500;

  // keepUnitBoxes: hand on a rectangle per code unit (the script needs none).
  LineWordSplitter(bool joinHyphenated, bool keepUnitBoxes)
      : joinHyphenated_(joinHyphenated), keepUnitBoxes_(keepUnitBoxes) {}

  // A null codes pointer or a negative count gives an empty text.
  void SetText(const uint16_t* codes, int32_t count);
  // A negative count is taken as 0.
  void ResetBoxes(int32_t count);
  void AddBox(uint16_t left, uint16_t top, uint16_t right, uint16_t bottom);

  // Begins the next line of count code units (cut to what is left of the text) and settles
  // its rectangle: spanned by its boxes when the record gives left and right both 0, edges
  // that meet set one apart. False when the line has no code units.
  bool BeginLine(TextRect& line, int32_t count);
  // The next word of the line begun; false once the line is used up.
  bool NextWord(SplitWord& word);

  // The UTF-8 form of a word as every document writes it, into utf8 with a terminating zero.
  // Returns its size without the zero, or 0 for a word that is left out: its form takes 500
  // bytes or more, or it is empty (it begins with U+0000); djvused would reject the script.
  static int32_t WrittenForm(const SplitWord& word, char (&utf8)[kWordCapacity]);

 private:
  // A rectangle grown box by box; empty until the first box arrives.
  struct Extent {
    bool empty = true;
    TextRect rect;
  };
  // The gathering buffer holds a word of up to kWordCapacity - 1 code units, one more for the
  // blank that follows the hyphen of a broken word, and the terminating zero.
  static constexpr int32_t kWordBufferSize = kWordCapacity + 1;

  const CharBox* BoxAt(int32_t index) const;
  // Merges the box of a code unit into the extent (nothing when the unit has no box).
  void Merge(Extent& extent, int32_t index) const;
  // Records a broken word's first part and ends it in "- ", or puts a pending first part in
  // front of an unbroken word. Returns the word's new length.
  int32_t SettleHyphenation(int32_t length, SplitWord& word);

  bool joinHyphenated_ = true;
  bool keepUnitBoxes_ = false;
  std::unique_ptr<uint16_t[]> text_;
  int32_t textLength_ = 0;
  int32_t textPos_ = 0;
  std::unique_ptr<CharBox[]> boxes_;
  int32_t boxCapacity_ = 0;
  int32_t boxCount_ = 0;
  TextRect line_;
  int32_t lineLeft_ = 0;  // code units of the line begun not yet consumed
  uint16_t word_[kWordBufferSize] = {};
  TextRect wordBoxes_[kWordBufferSize];
  bool hasBox_[kWordBufferSize] = {};
  uint16_t carry_[kWordCapacity] = {};
  TextRect carryBoxes_[kWordCapacity];
  int32_t carryLength_ = 0;
};
