// hOCR 1.2: an XHTML document with an ocr_page per page, an ocr_carea per text frame or table
// cell, an ocr_par per text block, ocr_line and ocrx_word elements, coordinates in image
// pixels from the top left corner. Words read as in the djvused script: a word broken at a
// line end stands as its first part and the hyphen, and the next word carries the whole word
// unless joining is off.
#include <cstring>
#include <new>

#include "common/numeric/decimal_format.h"
#include "common/text/utf8.h"
#include "ocrsift/formats/area_span.h"
#include "ocrsift/formats/character_box.h"
#include "ocrsift/formats/document_formats.h"
#include "ocrsift/formats/language_tags.h"
#include "ocrsift/formats/xml_text.h"

namespace {

const char kHeader[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\"\n"
    "    \"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">\n"
    "<html xmlns=\"http://www.w3.org/1999/xhtml\">\n"
    "<head>\n"
    "<title></title>\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\"/>\n"
    "<meta name=\"ocr-system\" content=\"ocrsift " OCRSIFT_VERSION
    "\"/>\n"
    "<meta name=\"ocr-capabilities\" content=\"ocr_page ocr_carea ocr_par ocr_line ocrx_word "
    "ocrp_lang\"/>\n"
    "</head>\n"
    "<body>\n";

const char kTrailer[] = "</body>\n</html>\n";

// Room for an element's head: its class, ID, and a title of a few numbers.
constexpr size_t kHeadRoom = 192;

using numeric::kDecimalRoom;
using numeric::PutDecimal;

class HocrFormat : public DocumentFormat {
 public:
  using DocumentFormat::DocumentFormat;

 protected:
  bool NeedsUnitBoxes() const override { return true; }
  void WriteHead() override { PutText(kHeader); }
  void WritePage(const RecordedPage& page) override;
  void WriteEnd() override { PutText(kTrailer); }

 private:
  // " x0 y0 x1 y1", left above right and top above bottom: at most 4 * (1 + kDecimalRoom).
  static char* PutBox(char* cursor, const TextRect& rect) {
    const TextRect ordered = Ordered(rect);
    *cursor++ = ' ';
    cursor = PutDecimal(cursor, ordered.left);
    *cursor++ = ' ';
    cursor = PutDecimal(cursor, ordered.top);
    *cursor++ = ' ';
    cursor = PutDecimal(cursor, ordered.right);
    *cursor++ = ' ';
    return PutDecimal(cursor, ordered.bottom);
  }
  // The head of an element whose title is a bbox: `open` up to its class, then its id
  // (id="<kind>_<page>_<n>", a page's own without "_<n>") and title.
  template <size_t N, size_t K>
  void PutHead(const char (&open)[N], const char (&idHead)[K], int32_t n, const TextRect& rect,
               const char* lang) {
    char* cursor = Text().Room(kHeadRoom);
    cursor = PutLiteral(cursor, open);
    cursor = PutId(cursor, idHead, n);
    if (lang != nullptr) {
      cursor = PutLiteral(cursor, " lang=\"");
      cursor = PutPlainValue(cursor, lang, std::strlen(lang));
    }
    cursor = PutLiteral(cursor, " title=\"bbox");
    cursor = PutBox(cursor, rect);
    cursor = PutLiteral(cursor, "\">\n");
    Text().Commit(cursor);
  }
  void PutWord(const RecordedPage& page, const RecordedWord& word, int32_t n);
  // The page's image property, last in the title: the name in quotes, with the three
  // characters that the property grammar cannot carry ('"' ends the name, ';' the property,
  // '%' begins these forms) written as %22, %3B and %25; a backslash stands for itself.
  void PutImageName(const UnitText& name);
};

// The span of a word: its rectangle, one rectangle per character (x_bboxes) and its text.
void HocrFormat::PutWord(const RecordedPage& page, const RecordedWord& word, int32_t n) {
  // A broken word ends in "- ": the blank belongs to the script, not to the word.
  const int32_t length = word.broken ? word.length - 1 : word.length;
  const uint16_t* units = page.units.data() + word.firstUnit;
  const size_t boxRoom = 4 * (1 + kDecimalRoom);
  ComposeBuffer& text = Text();
  char* cursor = text.Room(kHeadRoom + static_cast<size_t>(length) * (boxRoom + kXmlCharacterRoom));
  cursor = PutLiteral(cursor, "     <span class=\"ocrx_word\"");
  cursor = PutId(cursor, " id=\"word_", n);
  cursor = PutLiteral(cursor, " title=\"bbox");
  cursor = PutBox(cursor, word.rect);
  cursor = PutLiteral(cursor, "; x_bboxes");
  const TextRect within = Ordered(word.rect);
  for (int32_t i = 0; i < length;) {
    const int32_t first = i;
    text::NextCharacter(units, length, i);
    cursor = PutBox(cursor, CharacterBox(page, word, within, first, i));
  }
  cursor = PutLiteral(cursor, "\">");
  cursor = PutXmlUnits(cursor, units, length);
  cursor = PutLiteral(cursor, "</span>\n");
  text.Commit(cursor);
}

void HocrFormat::PutImageName(const UnitText& name) {
  ComposeBuffer& text = Text();
  // Three bytes for each unit at most, and the property's own text.
  static_assert(kXmlCharacterRoom >= 3, "a percent form fits the room of a unit");
  char* cursor = text.Room(32 + name.size() * kXmlCharacterRoom);
  cursor = PutLiteral(cursor, "; image &quot;");
  for (size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '"') {
      cursor = PutLiteral(cursor, "%22");
    } else if (name[i] == ';') {
      cursor = PutLiteral(cursor, "%3B");
    } else if (name[i] == '%') {
      cursor = PutLiteral(cursor, "%25");
    } else {
      const int32_t start = static_cast<int32_t>(i);
      int32_t next = start;
      // A surrogate pair is one character: it is written whole.
      text::NextCharacter(name.data(), static_cast<int32_t>(name.size()), next);
      cursor = PutXmlUnits(cursor, name.data() + start, next - start);
      i = static_cast<size_t>(next - 1);
    }
  }
  cursor = PutLiteral(cursor, "&quot;");
  text.Commit(cursor);
}

void HocrFormat::WritePage(const RecordedPage& page) {
  ComposeBuffer& text = Text();
  char* cursor = text.Room(kHeadRoom);
  cursor = PutLiteral(cursor, " <div class=\"ocr_page\"");
  cursor = PutId(cursor, " id=\"page_", 0);
  // The image name comes last: readers that search the title for a property (bbox first of
  // all) find the page's own before any text of the name.
  cursor = PutLiteral(cursor, " title=\"bbox 0 0 ");
  cursor = PutDecimal(cursor, page.width);
  *cursor++ = ' ';
  cursor = PutDecimal(cursor, page.height);
  cursor = PutLiteral(cursor, "; ppageno ");
  cursor = PutDecimal(cursor, page.number - 1);
  cursor = PutLiteral(cursor, "; scan_res ");
  cursor = PutDecimal(cursor, page.resolution);
  *cursor++ = ' ';
  cursor = PutDecimal(cursor, page.resolution);
  text.Commit(cursor);
  if (!page.imageName.empty())
    PutImageName(page.imageName);
  PutText("\">\n");

  int32_t areaCount = 0;
  int32_t parCount = 0;
  int32_t lineCount = 0;
  int32_t wordCount = 0;
  const int32_t blocks = static_cast<int32_t>(page.blocks.size());
  for (int32_t first = 0; first < blocks;) {
    const AreaSpan span = AreaSpanAt(page, first);
    if (span.written != 0) {
      const char* lang = span.area >= 0
                             ? LanguageTag(page.areas[static_cast<size_t>(span.area)].languages)
                             : nullptr;
      PutHead("  <div class=\"ocr_carea\"", " id=\"carea_", ++areaCount, span.rect, nullptr);
      for (int32_t b = span.first; b < span.end; ++b) {
        const RecordedBlock& block = page.blocks[static_cast<size_t>(b)];
        if (block.lineCount == 0)
          continue;
        PutHead("   <p class=\"ocr_par\"", " id=\"par_", ++parCount, BlockRect(page, block), lang);
        for (int32_t l = block.firstLine; l < block.firstLine + block.lineCount; ++l) {
          const RecordedLine& line = page.lines[static_cast<size_t>(l)];
          PutHead("    <span class=\"ocr_line\"", " id=\"line_", ++lineCount, line.rect, nullptr);
          for (int32_t w = line.firstWord; w < line.firstWord + line.wordCount; ++w)
            PutWord(page, page.words[static_cast<size_t>(w)], ++wordCount);
          PutText("    </span>\n");
        }
        PutText("   </p>\n");
      }
      PutText("  </div>\n");
    }
    first = span.end;
  }
  PutText(" </div>\n");
}

}  // namespace

std::unique_ptr<DocumentFormat> MakeHocrFormat(FILE* stream, const FormatSettings& /*settings*/) {
  return std::unique_ptr<DocumentFormat>(new (std::nothrow) HocrFormat(stream));
}
