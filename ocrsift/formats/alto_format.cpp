// ALTO 4: one document with a Page per page, a TextBlock per text block (table cells
// included), TextLine, and String elements with SP between them; a word broken at a line end
// is a HypPart1 String with the hyphen as HYP, and the word that completes it a HypPart2
// String, both with the joined word as SUBS_CONTENT, so that a search finds the whole word
// and the printed parts stay. The fonts the text areas name become TextStyles.
//
// The styles and the source image come before the layout in the document, and are known only
// once every page has been read: the layout goes to a temporary file page by page, so memory
// stays that of one page, and follows them at the end of the run.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <new>
#include <vector>

#include "common/numeric/decimal_format.h"
#include "common/numeric/wrapping_int32.h"
#include "common/platform/platform.h"
#include "ocrsift/formats/document_formats.h"
#include "ocrsift/formats/language_tags.h"
#include "ocrsift/formats/xml_text.h"

namespace {

using numeric::kDecimalRoom;
using numeric::PutDecimal;

const char kHeader[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<alto xmlns=\"http://www.loc.gov/standards/alto/ns-v4#\""
    " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
    " xsi:schemaLocation=\"http://www.loc.gov/standards/alto/ns-v4#"
    " http://www.loc.gov/alto/v4/alto-4-4.xsd\">\n"
    " <Description>\n"
    "  <MeasurementUnit>pixel</MeasurementUnit>\n";

const char kProcessing[] =
    "  <OCRProcessing ID=\"ocr_1\">\n"
    "   <ocrProcessingStep>\n"
    "    <processingSoftware>\n"
    "     <softwareName>ocrsift</softwareName>\n"
    "     <softwareVersion>" OCRSIFT_VERSION
    "</softwareVersion>\n"
    "    </processingSoftware>\n"
    "   </ocrProcessingStep>\n"
    "  </OCRProcessing>\n"
    " </Description>\n";

// Identifiers: p2, b2_1, l2_5, w2_17 (the second page written, its first block, fifth line,
// 17th word).
class AltoFormat : public DocumentFormat {
 public:
  using DocumentFormat::DocumentFormat;
  ~AltoFormat() override {
    if (layoutFile_ != nullptr)
      std::fclose(layoutFile_);
  }
  AltoFormat(const AltoFormat&) = delete;
  AltoFormat& operator=(const AltoFormat&) = delete;

 protected:
  // The head is known only at the end: here the layout's scratch file is opened.
  void WriteHead() override;
  void WritePage(const RecordedPage& page) override;
  void WriteEnd() override;

 private:
  // HPOS, VPOS, WIDTH, HEIGHT: at most 4 * (9 + kDecimalRoom) bytes.
  static char* PutPosition(char* cursor, const TextRect& rect) {
    const TextRect r = Ordered(rect);
    cursor = PutAttribute(cursor, " HPOS=\"", r.left);
    cursor = PutAttribute(cursor, " VPOS=\"", r.top);
    cursor = PutAttribute(cursor, " WIDTH=\"", WrapSub(r.right, r.left));
    return PutAttribute(cursor, " HEIGHT=\"", WrapSub(r.bottom, r.top));
  }
  template <size_t N>
  static char* PutAttribute(char* cursor, const char (&name)[N], int32_t value) {
    cursor = PutLiteral(cursor, name);
    cursor = PutDecimal(cursor, value);
    *cursor++ = '"';
    return cursor;
  }
  // The STYLEREFS of an area's fonts, each font given its TextStyle on first use.
  void StyleRefs(const AreaNames& names, std::vector<char>& refs);
  void PutString(const RecordedPage& page, const RecordedWord& word, bool lastInLine, int32_t n);
  // The XML text of a name, on a line of the head: its own text and room for each unit.
  void PutName(const UnitText& name);

  FILE* layoutFile_ = nullptr;
  // The layout's stream: nothing until the scratch file is open.
  std::unique_ptr<DocumentOutput> layout_ = std::make_unique<DocumentOutput>(nullptr);
  UnitText imageName_;  // of the first page that names its image
  std::map<UnitText, int32_t> fontIds_;
  std::vector<const UnitText*> fonts_;  // in the order of their IDs
};

void AltoFormat::WriteHead() {
  layoutFile_ = platform::OpenScratchFile();
  if (layoutFile_ == nullptr) {
    Output().RecordFailure(errno);
    return;
  }
  layout_ = std::make_unique<DocumentOutput>(layoutFile_);
}

void AltoFormat::StyleRefs(const AreaNames& names, std::vector<char>& refs) {
  std::vector<int32_t> ids;
  refs.clear();
  for (const UnitText& font : names.fonts) {
    auto found = fontIds_.find(font);
    if (found == fontIds_.end()) {
      found = fontIds_.emplace(font, static_cast<int32_t>(fonts_.size()) + 1).first;
      fonts_.push_back(&found->first);
    }
    // IDREFS may name a style once only.
    if (std::find(ids.begin(), ids.end(), found->second) != ids.end())
      continue;
    ids.push_back(found->second);
    char number[1 + 5 + kDecimalRoom];
    char* cursor = number;
    if (!refs.empty())
      *cursor++ = ' ';
    cursor = PutLiteral(cursor, "font_");
    cursor = PutDecimal(cursor, found->second);
    refs.insert(refs.end(), number, cursor);
  }
}

// Room for an element's head: name, ID, position and a few more numbers and literals (a
// Page with its PrintSpace takes about 210 bytes at most).
constexpr size_t kHeadRoom = 320;

void AltoFormat::PutString(const RecordedPage& page, const RecordedWord& word, bool lastInLine,
                           int32_t n) {
  const uint16_t* units = page.units.data() + word.firstUnit;
  const RecordedWord* whole = nullptr;
  if (word.carried > 0) {
    whole = &word;
  } else if (word.broken && word.partner >= 0) {
    whole = &page.words[static_cast<size_t>(word.partner)];
  }
  const size_t wholeLength = whole != nullptr ? static_cast<size_t>(whole->length) : 0;
  ComposeBuffer& text = Text();
  char* cursor =
      text.Room(kHeadRoom + (static_cast<size_t>(word.length) + wholeLength) * kXmlCharacterRoom);
  // A broken word ends in "- ": at the line's end the hyphen is the line's HYP, elsewhere
  // (HYP may only end a line) it stays in the content.
  int32_t contentEnd = word.length;
  if (word.broken)
    contentEnd -= lastInLine ? 2 : 1;
  cursor = PutLiteral(cursor, "      <String");
  cursor = PutId(cursor, " ID=\"w", n);
  cursor = PutPosition(cursor, word.rect);
  cursor = PutLiteral(cursor, " CONTENT=\"");
  cursor = PutXmlUnits(cursor, units + word.carried, contentEnd - word.carried);
  *cursor++ = '"';
  if (whole != nullptr) {
    cursor = word.carried > 0 ? PutLiteral(cursor, " SUBS_TYPE=\"HypPart2\" SUBS_CONTENT=\"")
                              : PutLiteral(cursor, " SUBS_TYPE=\"HypPart1\" SUBS_CONTENT=\"");
    cursor = PutXmlUnits(cursor, page.units.data() + whole->firstUnit, whole->length);
    *cursor++ = '"';
  }
  // The space or hyphen after a word shares its line: the layout of a book is large.
  if (word.broken && lastInLine) {
    cursor = PutLiteral(cursor, "/><HYP CONTENT=\"-\"/>\n");
  } else if (!lastInLine) {
    cursor = PutLiteral(cursor, "/><SP/>\n");
  } else {
    cursor = PutLiteral(cursor, "/>\n");
  }
  text.Commit(cursor);
}

void AltoFormat::WritePage(const RecordedPage& page) {
  if (imageName_.empty())
    imageName_ = page.imageName;
  ComposeBuffer& text = Text();
  char* cursor = text.Room(kHeadRoom);
  cursor = PutLiteral(cursor, "  <Page");
  cursor = PutId(cursor, " ID=\"p", 0);
  cursor = PutAttribute(cursor, " WIDTH=\"", page.width);
  cursor = PutAttribute(cursor, " HEIGHT=\"", page.height);
  cursor = PutAttribute(cursor, " PHYSICAL_IMG_NR=\"", page.number);
  cursor = PutLiteral(cursor, ">\n   <PrintSpace");
  cursor = PutPosition(cursor, {0, 0, page.width, page.height});
  cursor = PutLiteral(cursor, ">\n");
  text.Commit(cursor);

  int32_t blockCount = 0;
  int32_t lineCount = 0;
  int32_t wordCount = 0;
  int32_t styledArea = -2;
  std::vector<char> refs;
  const char* lang = nullptr;
  for (const RecordedBlock& block : page.blocks) {
    if (block.lineCount == 0)
      continue;
    if (block.area != styledArea) {
      styledArea = block.area;
      const AreaNames none;
      const AreaNames& names = block.area >= 0 ? page.areas[static_cast<size_t>(block.area)] : none;
      StyleRefs(names, refs);
      lang = LanguageTag(names.languages);
    }
    cursor = text.Room(kHeadRoom + refs.size());
    cursor = PutLiteral(cursor, "    <TextBlock");
    cursor = PutId(cursor, " ID=\"b", ++blockCount);
    cursor = PutPosition(cursor, BlockRect(page, block));
    if (!refs.empty()) {
      cursor = PutLiteral(cursor, " STYLEREFS=\"");
      cursor = PutPlainValue(cursor, refs.data(), refs.size());
    }
    if (lang != nullptr) {
      cursor = PutLiteral(cursor, " LANG=\"");
      cursor = PutPlainValue(cursor, lang, std::strlen(lang));
    }
    cursor = PutLiteral(cursor, ">\n");
    text.Commit(cursor);
    for (int32_t l = block.firstLine; l < block.firstLine + block.lineCount; ++l) {
      const RecordedLine& line = page.lines[static_cast<size_t>(l)];
      cursor = text.Room(kHeadRoom);
      cursor = PutLiteral(cursor, "     <TextLine");
      cursor = PutId(cursor, " ID=\"l", ++lineCount);
      cursor = PutPosition(cursor, line.rect);
      cursor = PutLiteral(cursor, ">\n");
      text.Commit(cursor);
      const int32_t end = line.firstWord + line.wordCount;
      for (int32_t w = line.firstWord; w < end; ++w)
        PutString(page, page.words[static_cast<size_t>(w)], w + 1 == end, ++wordCount);
      PutText("     </TextLine>\n");
    }
    PutText("    </TextBlock>\n");
  }
  PutText("   </PrintSpace>\n  </Page>\n");
  // The page waits in the scratch file until the head is known.
  layout_->Write(text.Data(), text.Size());
  text.Clear();
}

void AltoFormat::PutName(const UnitText& name) {
  ComposeBuffer& text = Text();
  char* cursor = text.Room(name.size() * kXmlCharacterRoom);
  text.Commit(PutXmlUnits(cursor, name.data(), static_cast<int32_t>(name.size())));
}

void AltoFormat::WriteEnd() {
  PutText(kHeader);
  if (!imageName_.empty()) {
    PutText("  <sourceImageInformation>\n   <fileName>");
    PutName(imageName_);
    PutText("</fileName>\n  </sourceImageInformation>\n");
  }
  PutText(kProcessing);
  if (!fonts_.empty()) {
    PutText(" <Styles>\n");
    for (size_t i = 0; i < fonts_.size(); ++i) {
      ComposeBuffer& text = Text();
      char* cursor = text.Room(32 + kDecimalRoom);
      cursor = PutLiteral(cursor, "  <TextStyle ID=\"font_");
      cursor = PutDecimal(cursor, static_cast<int32_t>(i + 1));
      cursor = PutLiteral(cursor, "\" FONTFAMILY=\"");
      text.Commit(cursor);
      PutName(*fonts_[i]);
      PutText("\"/>\n");
    }
    PutText(" </Styles>\n");
  }
  PutText(" <Layout>\n");
  Emit();

  if (layoutFile_ != nullptr) {
    if (!layout_->Flush()) {
      Output().RecordFailure(layout_->Error());
    } else {
      std::rewind(layoutFile_);
      std::vector<char> block(size_t{1} << 16);
      size_t n;
      while ((n = std::fread(block.data(), 1, block.size(), layoutFile_)) > 0)
        Output().Write(block.data(), n);
      if (std::ferror(layoutFile_))
        Output().RecordFailure(errno);
    }
  }
  PutText(" </Layout>\n</alto>\n");
}

}  // namespace

std::unique_ptr<DocumentFormat> MakeAltoFormat(FILE* stream) {
  return std::unique_ptr<DocumentFormat>(new (std::nothrow) AltoFormat(stream));
}
