// The box a format gives one character of a word (hOCR's x_bboxes, ALTO's Glyph): every
// character box lies inside its word's, as readers require of a child.
#pragma once

#include <algorithm>
#include <cassert>
#include <cstdint>

#include "ocrsift/page/page_rect.h"
#include "ocrsift/page/recorded_page.h"

// The character at the word's code units [first, next): its own box (a surrogate pair's two
// united) placed in the page and clipped into `within`, the word's ordered rectangle. The
// characters of a carried first part, whose boxes are on the line (or page) before, take the
// word's rectangle. The page keeps its unit boxes.
inline TextRect CharacterBox(const RecordedPage& page, const RecordedWord& word,
                             const TextRect& within, int32_t first, int32_t next) {
  assert(page.boxes.size() == page.units.size() && next > first && next - first <= 2);
  if (first < word.carried)
    return within;
  const TextRect* boxes = page.boxes.data() + word.firstUnit;
  TextRect box = boxes[first];
  if (next - first == 2)
    Unite(box, boxes[first + 1], false);
  box = Ordered(PlaceWordInPage(box, page.width, page.height));
  box.left = std::min(std::max(box.left, within.left), within.right);
  box.right = std::min(std::max(box.right, within.left), within.right);
  box.top = std::min(std::max(box.top, within.top), within.bottom);
  box.bottom = std::min(std::max(box.bottom, within.top), within.bottom);
  return box;
}
