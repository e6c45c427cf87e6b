// Plain text, byte for byte as djvutxt prints the book that the djvused script of the same
// pages makes: per line its words, each followed by a blank (djvused drops the blanks a word
// ends in), and a line feed; after a page's last line a further line feed and a form feed. A
// page without a line prints nothing, as djvutxt prints nothing for it.
#include <string>

#include "ocrsift/textlayer/document_formats.h"

namespace {

class PlainTextFormat : public PageFormat {
 public:
  explicit PlainTextFormat(DocumentOutput& output) : output_(output) {}

  void WritePage(const RecordedPage& page) override {
    if (page.lines.empty())
      return;
    text_.clear();
    for (const RecordedLine& line : page.lines) {
      for (int32_t w = line.firstWord; w < line.firstWord + line.wordCount; ++w) {
        const RecordedWord& word = page.words[static_cast<size_t>(w)];
        size_t size = static_cast<size_t>(word.utf8Size);
        const char* bytes = page.utf8.data() + word.utf8Offset;
        while (size > 0 && bytes[size - 1] == ' ')
          --size;
        text_.append(bytes, size);
        text_ += ' ';
      }
      text_ += '\n';
    }
    text_ += "\n\f";
    output_.Write(text_.data(), text_.size());
  }

  void EndDocument() override {}

 private:
  DocumentOutput& output_;
  std::string text_;  // the page being composed; its room serves every page
};

}  // namespace

std::unique_ptr<PageFormat> MakePlainTextFormat(DocumentOutput& output) {
  return std::make_unique<PlainTextFormat>(output);
}
