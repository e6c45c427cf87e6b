// hOCR 1.2: an XHTML document with an ocr_page per page, an ocr_carea per text frame or table
// cell, an ocr_par per text block, ocr_line and ocrx_word elements, coordinates in image
// pixels from the top left corner. Words read as in the djvused script: a word broken at a
// line end stands as its first part and the hyphen, and the next word carries the whole word
// unless joining is off.
#include <string>

#include "ocrsift/textlayer/document_formats.h"
#include "ocrsift/textlayer/language_tags.h"
#include "ocrsift/textlayer/xml_text.h"

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

class HocrFormat : public PageFormat {
 public:
  explicit HocrFormat(DocumentOutput& output) : output_(output) {
    output_.Write(kHeader, sizeof kHeader - 1);
  }

  void WritePage(const RecordedPage& page) override;

  void EndDocument() override { output_.Write(kTrailer, sizeof kTrailer - 1); }

 private:
  void AppendBox(const TextRect& rect) {
    const TextRect ordered = Ordered(rect);
    for (int32_t value : {ordered.left, ordered.top, ordered.right, ordered.bottom}) {
      text_ += ' ';
      AppendDecimal(text_, value);
    }
  }
  // id="<kind>_<page>_<n>" (a page's own without "_<n>"): unique in the document, also when two
  // files give the same page number.
  void AppendId(const char* kind, int32_t n) {
    text_ += " id=\"";
    text_ += kind;
    text_ += '_';
    AppendDecimal(text_, pageSequence_);
    if (n > 0) {
      text_ += '_';
      AppendDecimal(text_, n);
    }
    text_ += '"';
  }
  void AppendWord(const RecordedPage& page, const RecordedWord& word, int32_t n);

  DocumentOutput& output_;
  std::string text_;  // the page being composed; its room serves every page
  int32_t pageSequence_ = 0;
};

// The span of a word: its rectangle, one rectangle per character (x_bboxes) and its text.
void HocrFormat::AppendWord(const RecordedPage& page, const RecordedWord& word, int32_t n) {
  // A broken word ends in "- ": the blank belongs to the script, not to the word.
  const int32_t length = word.broken ? word.length - 1 : word.length;
  const uint16_t* units = page.units.data() + word.firstUnit;
  const TextRect* boxes = page.boxes.data() + word.firstUnit;
  text_ += "     <span class=\"ocrx_word\"";
  AppendId("word", n);
  text_ += " title=\"bbox";
  AppendBox(word.rect);
  text_ += "; x_bboxes";
  for (int32_t i = 0; i < length;) {
    TextRect box = boxes[i];
    const int32_t first = i;
    NextCharacter(units, length, i);
    if (i - first == 2)
      Unite(box, boxes[first + 1], false);
    AppendBox(PlaceWordInPage(box, page.width, page.height));
  }
  text_ += "\">";
  AppendXmlUnits(text_, units, length);
  text_ += "</span>\n";
}

void HocrFormat::WritePage(const RecordedPage& page) {
  ++pageSequence_;
  text_.clear();
  text_ += " <div class=\"ocr_page\"";
  AppendId("page", 0);
  text_ += " title=\"";
  if (!page.imageName.empty()) {
    // A quoted property value: its own quotes and backslashes are escaped with a backslash.
    std::string quoted;
    for (char c : page.imageName) {
      if (c == '"' || c == '\\')
        quoted += '\\';
      quoted += c;
    }
    text_ += "image &quot;";
    AppendXmlUtf8(text_, quoted);
    text_ += "&quot;; ";
  }
  text_ += "bbox 0 0 ";
  AppendDecimal(text_, page.width);
  text_ += ' ';
  AppendDecimal(text_, page.height);
  text_ += "; ppageno ";
  AppendDecimal(text_, page.number - 1);
  text_ += "; scan_res ";
  AppendDecimal(text_, page.resolution);
  text_ += ' ';
  AppendDecimal(text_, page.resolution);
  text_ += "\">\n";

  int32_t areaCount = 0;
  int32_t parCount = 0;
  int32_t lineCount = 0;
  int32_t wordCount = 0;
  const int32_t blocks = static_cast<int32_t>(page.blocks.size());
  for (int32_t first = 0; first < blocks;) {
    // The blocks of one area follow each other; an area without a written line is left out.
    const int32_t area = page.blocks[static_cast<size_t>(first)].area;
    int32_t end = first;
    TextRect areaRect;
    bool empty = true;
    for (; end < blocks && page.blocks[static_cast<size_t>(end)].area == area; ++end) {
      const RecordedBlock& block = page.blocks[static_cast<size_t>(end)];
      for (int32_t l = block.firstLine; l < block.firstLine + block.lineCount; ++l) {
        Unite(areaRect, Ordered(page.lines[static_cast<size_t>(l)].rect), empty);
        empty = false;
      }
    }
    if (!empty) {
      const char* lang =
          area >= 0 ? LanguageTag(page.areas[static_cast<size_t>(area)].languages) : nullptr;
      text_ += "  <div class=\"ocr_carea\"";
      AppendId("carea", ++areaCount);
      text_ += " title=\"bbox";
      AppendBox(areaRect);
      text_ += "\">\n";
      for (int32_t b = first; b < end; ++b) {
        const RecordedBlock& block = page.blocks[static_cast<size_t>(b)];
        if (block.lineCount == 0)
          continue;
        TextRect parRect;
        for (int32_t l = block.firstLine; l < block.firstLine + block.lineCount; ++l)
          Unite(parRect, Ordered(page.lines[static_cast<size_t>(l)].rect), l == block.firstLine);
        text_ += "   <p class=\"ocr_par\"";
        AppendId("par", ++parCount);
        if (lang != nullptr) {
          text_ += " lang=\"";
          text_ += lang;
          text_ += '"';
        }
        text_ += " title=\"bbox";
        AppendBox(parRect);
        text_ += "\">\n";
        for (int32_t l = block.firstLine; l < block.firstLine + block.lineCount; ++l) {
          const RecordedLine& line = page.lines[static_cast<size_t>(l)];
          text_ += "    <span class=\"ocr_line\"";
          AppendId("line", ++lineCount);
          text_ += " title=\"bbox";
          AppendBox(line.rect);
          text_ += "\">\n";
          for (int32_t w = line.firstWord; w < line.firstWord + line.wordCount; ++w)
            AppendWord(page, page.words[static_cast<size_t>(w)], ++wordCount);
          text_ += "    </span>\n";
        }
        text_ += "   </p>\n";
      }
      text_ += "  </div>\n";
    }
    first = end;
  }
  text_ += " </div>\n";
  output_.Write(text_.data(), text_.size());
}

}  // namespace

std::unique_ptr<PageFormat> MakeHocrFormat(DocumentOutput& output) {
  return std::make_unique<HocrFormat>(output);
}
