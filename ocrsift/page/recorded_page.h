// One page as the document formats receive it: its areas, blocks, lines and written words,
// held until the page is complete or has failed, so that every format is handed the page
// whole, with the words the word rule decided. Only the current page is held, in arrays that
// keep their room from page to page.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ocrsift/page/page_rect.h"
#include "ocrsift/page/page_text_sink.h"

struct RecordedWord {
  int32_t firstUnit = 0;  // its code units (and their boxes) in RecordedPage::units and boxes
  int32_t length = 0;
  int32_t carried = 0;  // leading units from the broken word it completes (0: not joined)
  bool broken = false;  // the units end in "- ": the first part of a word broken at a line end
  // A broken word: the word of this page that completes it; a joined word: its first part on
  // this page. -1 when there is none on this page.
  int32_t partner = -1;
  TextRect rect;           // placed inside the page, in image coordinates
  int32_t utf8Offset = 0;  // its UTF-8 form, as the djvused script has it, in RecordedPage::utf8
  int32_t utf8Size = 0;
};

struct RecordedLine {
  TextRect rect;  // placed inside the page, in image coordinates
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
  // When the FRF file that gave the page was last changed, in seconds since 1970 UTC (0 when
  // unknown): the documents that are one page's file carry it, so that the same files give
  // the same bytes.
  int64_t fileTime = 0;
  UnitText imageName;  // empty when the file names none
  std::vector<AreaNames> areas;
  std::vector<RecordedBlock> blocks;
  std::vector<RecordedLine> lines;
  std::vector<RecordedWord> words;
  std::vector<uint16_t> units;
  std::vector<TextRect> boxes;  // one per code unit, when the recorder keeps them
  std::string utf8;
  // A word broken across pages: the page's last word is a broken word's first part and the
  // next page, complete, begins with the word that completes it; that word, whole, is here
  // (empty otherwise). The next page has completesPrevious.
  UnitText completion;
  // The first word completes the last word of the page handed on just before this one.
  bool completesPrevious = false;

  void Clear() {
    areas.clear();
    blocks.clear();
    lines.clear();
    words.clear();
    units.clear();
    boxes.clear();
    utf8.clear();
    imageName.clear();
    completion.clear();
    completesPrevious = false;
  }
};

// The smallest rectangle holding the lines of a block that has at least one, ordered.
inline TextRect BlockRect(const RecordedPage& page, const RecordedBlock& block) {
  TextRect rect;
  for (int32_t l = block.firstLine; l < block.firstLine + block.lineCount; ++l)
    Unite(rect, Ordered(page.lines[static_cast<size_t>(l)].rect), l == block.firstLine);
  return rect;
}

// Where the recorder hands each page once it has ended: the document format of the run.
class RecordedPageReceiver {
 public:
  virtual ~RecordedPageReceiver() = default;
  // complete: the page was read to its end (or, under -i, as far as it could be); otherwise
  // its parse failed and the page holds what was read before the failure.
  virtual void ReceivePage(const RecordedPage& page, bool complete) = 0;
};
