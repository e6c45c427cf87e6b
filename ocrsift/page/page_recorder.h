// The receiver of the parsed pages: it splits the lines into words by the word rule, holds the
// current page, and hands it to the run's document format once it has ended, complete or
// failed. A file that fails before its page begins hands on nothing.
//
// A complete page that ends in a broken word's first part waits for the page after it: when
// that page is complete and begins with the word that completes the first part, the waiting
// page is handed on with the whole word (RecordedPage::completion), so no format holds pages
// back. Pages are handed on in the order they came; Finish hands on the page still waiting at
// the end of the run.
#pragma once

#include <cstdint>

#include "ocrsift/page/line_word_splitter.h"
#include "ocrsift/page/page_text_sink.h"
#include "ocrsift/page/recorded_page.h"

struct RecorderSettings {
  bool joinHyphenated = true;  // the word that completes a broken word carries the whole word
  bool keepUnitBoxes = false;  // a box per code unit, for the formats that write them
};

class PageRecorder : public PageTextSink {
 public:
  // receiver is not owned and must outlive the recorder.
  PageRecorder(RecordedPageReceiver& receiver, const RecorderSettings& settings);
  PageRecorder(const PageRecorder&) = delete;
  PageRecorder& operator=(const PageRecorder&) = delete;

  // The modification time of the file about to be parsed, for the page it gives (the parsers
  // know no files; the driver tells it before each).
  void DescribeFile(int64_t modifiedTime) { nextFileTime_ = modifiedTime; }
  void DescribePage(const UnitText& imageName, int32_t resolution) override;
  void BeginPage(int32_t page, int32_t width, int32_t height) override;
  void EndPage() override;
  void FailPage() override;
  void BeginArea(const AreaNames& names) override;
  void EndArea() override;
  void SetText(const uint16_t* codes, int32_t count) override;
  void ResetBoxes(int32_t count) override;
  void AddBox(uint16_t left, uint16_t top, uint16_t right, uint16_t bottom) override;
  // A count beyond the code units left in the block's text is cut to what is left; a code unit
  // without a stored box adds nothing to any rectangle.
  void EmitLine(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t count) override;
  // The end of the run: the page still waiting for the next, if any, is handed on. Call it
  // before the document ends.
  void Finish();
  ~PageRecorder() override;

 private:
  void Record(const SplitWord& word, const char* utf8, int32_t utf8Size);
  // Hands the page on once, and forgets which of its words waits for its second part.
  void HandOn(bool complete);
  // Hands on the page that waits for this one; it keeps its completion only when this page
  // is complete.
  void ReleaseWaiting(bool nextComplete);

  RecordedPageReceiver& receiver_;
  bool joinHyphenated_ = true;
  bool keepUnitBoxes_ = false;
  LineWordSplitter words_;
  RecordedPage page_;
  UnitText nextImageName_;
  int32_t nextResolution_ = 0;
  int64_t nextFileTime_ = 0;
  bool pageOpen_ = false;
  int32_t area_ = -1;
  // The word of this page whose first part waits for its second, -1 when none.
  int32_t brokenWord_ = -1;
  // The complete page before page_ that ends in a first part, while waiting_.
  RecordedPage waitingPage_;
  bool waiting_ = false;
};
