// Plain text, byte for byte as djvutxt prints the book that the djvused script of the same
// pages makes: per line its words, each followed by a blank (djvused drops the blanks a word
// ends in), and a line feed; after a page's last line a further line feed and a form feed. A
// page without a line prints nothing, as djvutxt prints nothing for it.
#include <new>

#include "ocrsift/formats/document_formats.h"

namespace {

class PlainTextFormat : public DocumentFormat {
 public:
  using DocumentFormat::DocumentFormat;

 protected:
  void WritePage(const RecordedPage& page) override {
    if (page.lines.empty())
      return;
    ComposeBuffer& text = Text();
    for (const RecordedLine& line : page.lines) {
      for (int32_t w = line.firstWord; w < line.firstWord + line.wordCount; ++w) {
        const RecordedWord& word = page.words[static_cast<size_t>(w)];
        size_t size = static_cast<size_t>(word.utf8Size);
        const char* bytes = page.utf8.data() + word.utf8Offset;
        while (size > 0 && bytes[size - 1] == ' ')
          --size;
        char* cursor = text.Room(size + 1);
        std::memcpy(cursor, bytes, size);
        cursor[size] = ' ';
        text.Commit(cursor + size + 1);
      }
      PutText("\n");
    }
    PutText("\n\f");
  }
};

}  // namespace

std::unique_ptr<DocumentFormat> MakePlainTextFormat(FILE* stream,
                                                    const FormatSettings& /*settings*/) {
  return std::unique_ptr<DocumentFormat>(new (std::nothrow) PlainTextFormat(stream));
}
