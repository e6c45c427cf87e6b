// The receiver of the parsed pages for the document formats other than the djvused script:
// it splits the lines into words as the script writer does, holds the current page, hands it
// to its format once the page is complete, and leaves out a page whose parse failed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "ocrsift/textlayer/line_word_splitter.h"
#include "ocrsift/textlayer/page_record.h"
#include "ocrsift/textlayer/page_text_sink.h"

class PageRecorder : public PageTextSink {
 public:
  PageRecorder(std::unique_ptr<PageFormat> format, bool joinHyphenated);
  // Writes a page still open unless its parse failed, then completes the document.
  ~PageRecorder() override;
  PageRecorder(const PageRecorder&) = delete;
  PageRecorder& operator=(const PageRecorder&) = delete;

  void DescribePage(const std::string& imageName, int32_t resolution) override;
  void BeginPage(int32_t page, int32_t width, int32_t height) override;
  void EndPage() override;
  // The page is left out of the document, and a broken word's first part read on it is given
  // up.
  void FailPage() override;
  void BeginArea(const AreaNames& names) override;
  void EndArea() override;
  void SetText(const uint16_t* codes, int32_t count) override;
  void ResetBoxes(int32_t count) override;
  void AddBox(uint16_t left, uint16_t top, uint16_t right, uint16_t bottom) override;
  void EmitLine(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t count) override;
  void CloseLine(int32_t /*count*/) override {}

 private:
  void Record(const SplitWord& word, const char* utf8, int32_t utf8Size);

  std::unique_ptr<PageFormat> format_;
  LineWordSplitter words_;
  RecordedPage page_;
  std::string nextImageName_;
  int32_t nextResolution_ = 0;
  bool pageOpen_ = false;
  int32_t area_ = -1;
  // The word of this page whose first part waits for its second, -1 when none.
  int32_t brokenWord_ = -1;
};
