// One page as the document formats receive it: its areas, blocks, lines and written words,
// held until the page is known to be complete, so that a page whose parse failed never
// reaches a document. Only the current page is held, in arrays that keep their room from
// page to page.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ocrsift/textlayer/page_rect.h"
#include "ocrsift/textlayer/page_text_sink.h"

struct RecordedWord {
  int32_t firstUnit = 0;  // its code units and their boxes in RecordedPage::units and boxes
  int32_t length = 0;
  int32_t carried = 0;  // leading units from the broken word it completes (0: not joined)
  bool broken = false;  // the units end in "- ": the first part of a word broken at a line end
  // A broken word: the word of this page that completes it; a joined word: its first part on
  // this page. -1 when there is none on this page.
  int32_t partner = -1;
  TextRect rect;           // inside the page
  int32_t utf8Offset = 0;  // its UTF-8 form, as the djvused script has it, in RecordedPage::utf8
  int32_t utf8Size = 0;
};

struct RecordedLine {
  TextRect rect;  // inside the page
  int32_t firstWord = 0;
  int32_t wordCount = 0;  // at least 1: a line without a written word is not recorded
};

struct RecordedBlock {
  int32_t area = -1;  // index in RecordedPage::areas, -1 for a block outside any area
  int32_t firstLine = 0;
  int32_t lineCount = 0;
};

struct RecordedPage {
  int32_t number = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t resolution = 0;
  std::string imageName;  // UTF-8, empty when the file names none
  std::vector<AreaNames> areas;
  std::vector<RecordedBlock> blocks;
  std::vector<RecordedLine> lines;
  std::vector<RecordedWord> words;
  std::vector<uint16_t> units;
  std::vector<TextRect> boxes;  // one per code unit
  std::string utf8;

  void Clear() {
    areas.clear();
    blocks.clear();
    lines.clear();
    words.clear();
    units.clear();
    boxes.clear();
    utf8.clear();
    imageName.clear();
  }
};

// A document format: the pages arrive whole and in order.
class PageFormat {
 public:
  virtual ~PageFormat() = default;
  virtual void WritePage(const RecordedPage& page) = 0;
  // The run ends: the document is completed.
  virtual void EndDocument() = 0;
};

// The smallest rectangle holding both (an empty `into`, marked by `first`, takes `rect`).
inline void Unite(TextRect& into, const TextRect& rect, bool first) {
  if (first) {
    into = rect;
    return;
  }
  into.left = into.left < rect.left ? into.left : rect.left;
  into.top = into.top < rect.top ? into.top : rect.top;
  into.right = into.right > rect.right ? into.right : rect.right;
  into.bottom = into.bottom > rect.bottom ? into.bottom : rect.bottom;
}

// Left above right and top above bottom, as the formats' readers expect.
inline TextRect Ordered(TextRect rect) {
  if (rect.left > rect.right)
    std::swap(rect.left, rect.right);
  if (rect.top > rect.bottom)
    std::swap(rect.top, rect.bottom);
  return rect;
}

// The smallest rectangle holding the lines of a block that has at least one, ordered.
inline TextRect BlockRect(const RecordedPage& page, const RecordedBlock& block) {
  TextRect rect;
  for (int32_t l = block.firstLine; l < block.firstLine + block.lineCount; ++l)
    Unite(rect, Ordered(page.lines[static_cast<size_t>(l)].rect), l == block.firstLine);
  return rect;
}
