// The djvused script. Per page: a comment line, "select" with the page number, "remove-txt",
// "set-txt" and the text as an S-expression of lines and words with their rectangles, in
// djvused's coordinates (y grows upward from the page's bottom edge), ended by a line with a
// single "."; after the last page a "save" command.
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

#include "common/numeric/decimal_format.h"
#include "ocrsift/formats/document_formats.h"

namespace {

// True for the bytes written as a backslash and three octal digits: every byte of 0x80 and
// above, the double quote, both parentheses, the backslash, and the line feed and carriage
// return (a raw one would end the text that "set-txt" reads).
constexpr bool NeedsOctalEscape(unsigned char byte) {
  return byte >= 0x80 || byte == '"' || byte == '(' || byte == ')' || byte == '\\' ||
         byte == 0x0A || byte == 0x0D;
}

// How each byte value is written inside a word's quotes: itself, or a backslash and three
// octal digits, always three, so that an escape never takes in a digit that follows it.
struct EscapeEntry {
  uint8_t length;
  char text[4];
};

constexpr std::array<EscapeEntry, 256> MakeEscapeTable() {
  std::array<EscapeEntry, 256> table{};
  for (unsigned byte = 0; byte < 256; ++byte) {
    EscapeEntry& entry = table[byte];
    if (NeedsOctalEscape(static_cast<unsigned char>(byte))) {
      entry.length = 4;
      entry.text[0] = '\\';
      entry.text[1] = static_cast<char>('0' + ((byte >> 6) & 7));
      entry.text[2] = static_cast<char>('0' + ((byte >> 3) & 7));
      entry.text[3] = static_cast<char>('0' + (byte & 7));
    } else {
      entry.length = 1;
      entry.text[0] = static_cast<char>(byte);
    }
  }
  return table;
}

constexpr std::array<EscapeEntry, 256> kEscapeTable = MakeEscapeTable();

// A page's head: its comment, select, remove-txt, set-txt and page entry.
constexpr size_t kHeadRoom = 128;
// A line entry's or a word entry's head: its name and four numbers.
constexpr size_t kEntryRoom = 16 + 4 * (1 + numeric::kDecimalRoom);

class DjvusedFormat : public DocumentFormat {
 public:
  using DocumentFormat::DocumentFormat;

 protected:
  // Each page's select command places it: djvused keeps the book's order itself.
  bool KeepsBookOrder() const override { return false; }
  void WritePage(const RecordedPage& page) override {
    PutPage(page);
    PutText("\n)\n\n.\n");
  }
  // The page stays open for good: djvused then rejects the whole script, so nothing half-read
  // reaches the document.
  void WriteFailedPage(const RecordedPage& page) override { PutPage(page); }
  void WriteEnd() override { PutText("\n\nsave\n"); }

 private:
  static char* PutRect(char* cursor, const TextRect& rect) {
    *cursor++ = ' ';
    cursor = numeric::PutDecimal(cursor, rect.left);
    *cursor++ = ' ';
    cursor = numeric::PutDecimal(cursor, rect.top);
    *cursor++ = ' ';
    cursor = numeric::PutDecimal(cursor, rect.right);
    *cursor++ = ' ';
    return numeric::PutDecimal(cursor, rect.bottom);
  }
  // A rectangle placed in the page, in djvused's coordinates, where y is measured upward from
  // the page's bottom edge; the upper edge comes second, the lower fourth. Both edges lie
  // between 0 and the height, so the difference cannot overflow.
  static TextRect Upward(const TextRect& rect, int32_t height) {
    const auto up = [height](int32_t y) {
      return static_cast<int32_t>(static_cast<int64_t>(height) - y);
    };
    return {rect.left, up(rect.top), rect.right, up(rect.bottom)};
  }
  void PutPage(const RecordedPage& page);
};

void DjvusedFormat::PutPage(const RecordedPage& page) {
  ComposeBuffer& text = Text();
  char* cursor = text.Room(kHeadRoom);
  cursor = PutLiteral(cursor, "\n# -------------------------------------");
  // Only a test begins page -1, which selects no page.
  if (page.number != -1) {
    cursor = PutLiteral(cursor, "\nselect ");
    cursor = numeric::PutDecimal(cursor, page.number);
  }
  cursor = PutLiteral(cursor, "\nremove-txt\nset-txt\n(page 0 0");
  *cursor++ = ' ';
  cursor = numeric::PutDecimal(cursor, page.width);
  *cursor++ = ' ';
  cursor = numeric::PutDecimal(cursor, page.height);
  text.Commit(cursor);

  for (const RecordedLine& line : page.lines) {
    // djvused stores a text zone relative to its neighbours in 16 bits and rejects one
    // without extent when the layer is read: the recorder placed every rectangle inside the
    // page.
    cursor = text.Room(kEntryRoom);
    cursor = PutLiteral(cursor, "\n (line");
    cursor = PutRect(cursor, Upward(line.rect, page.height));
    text.Commit(cursor);
    const int32_t end = line.firstWord + line.wordCount;
    for (int32_t w = line.firstWord; w < end; ++w) {
      const RecordedWord& word = page.words[static_cast<size_t>(w)];
      const auto* utf8 = reinterpret_cast<const unsigned char*>(page.utf8.data() + word.utf8Offset);
      cursor = text.Room(kEntryRoom + 4 * static_cast<size_t>(word.utf8Size) + 4);
      cursor = PutLiteral(cursor, "\n  (word");
      cursor = PutRect(cursor, Upward(word.rect, page.height));
      cursor = PutLiteral(cursor, " \"");
      for (int32_t i = 0; i < word.utf8Size; ++i) {
        const EscapeEntry& entry = kEscapeTable[utf8[i]];
        std::memcpy(cursor, entry.text, 4);
        cursor += entry.length;
      }
      cursor = PutLiteral(cursor, "\")");
      text.Commit(cursor);
    }
    PutText(")");
  }
}

}  // namespace

std::unique_ptr<DocumentFormat> MakeDjvusedFormat(FILE* stream,
                                                  const FormatSettings& /*settings*/) {
  return std::unique_ptr<DocumentFormat>(new (std::nothrow) DjvusedFormat(stream));
}
