// ALTO 4: one document with a Page per page, a TextBlock per text block (table cells
// included), TextLine, and String elements with SP between them; a word broken at a line end
// is a HypPart1 String with the hyphen as HYP, and the word that completes it a HypPart2
// String, both with the joined word as SUBS_CONTENT, so that a search finds the whole word
// and the printed parts stay. The fonts the text areas name become TextStyles; an area with
// several blocks names them once, on a ComposedBlock around its TextBlocks.
//
// The styles and the source image come before the layout in the document, and are known only
// once every page has been read: the pages wait in the page spool, so memory stays that of one
// page, and follow them at the end of the run. A word broken across pages is a pair too: the
// recorder hands on the page of the first part with the whole word, which the next page
// begins with.
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "common/numeric/decimal_format.h"
#include "common/numeric/wrapping_int32.h"
#include "common/text/utf8.h"
#include "ocrsift/formats/area_span.h"
#include "ocrsift/formats/character_box.h"
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

// Processing, not the OCRProcessing that ALTO 4 deprecates.
const char kProcessing[] =
    "  <Processing ID=\"ocr_1\">\n"
    "   <processingSoftware>\n"
    "    <softwareName>ocrsift</softwareName>\n"
    "    <softwareVersion>" OCRSIFT_VERSION
    "</softwareVersion>\n"
    "   </processingSoftware>\n"
    "  </Processing>\n"
    " </Description>\n";

// Identifiers: p2, cb2_1, b2_1, l2_5, w2_17 (the second page written, its first composed
// block, first block, fifth line, 17th word).
class AltoFormat : public DocumentFormat {
 public:
  // imageFileName: the document of one page file names its image as the METS file does.
  AltoFormat(FILE* stream, const FormatSettings& settings,
             const std::string& imageFileName = std::string())
      : DocumentFormat(stream), glyphs_(settings.glyphs), imageFileName_(imageFileName) {}

 protected:
  bool NeedsUnitBoxes() const override { return glyphs_; }
  bool HeadFollowsPages() const override { return true; }
  void WriteHead() override;
  void WritePage(const RecordedPage& page) override;
  void WriteEnd() override { PutText(" </Layout>\n</alto>\n"); }

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
  // The STYLEREFS of an area's fonts, each font given its TextStyle on first use and named
  // once.
  void StyleRefs(const AreaNames& names, std::vector<char>& refs);
  void PutString(const RecordedPage& page, const RecordedWord& word, bool lastInLine, int32_t n);
  // A Glyph per character of the String's content, the word's units [start, end).
  void PutGlyphs(const RecordedPage& page, const RecordedWord& word, int32_t start, int32_t end);
  // The joined word as SUBS_CONTENT, after the type of the part.
  template <size_t N>
  void PutSubstitution(const char (&type)[N], const uint16_t* units, int32_t length);
  // The XML text of a name, on a line of the head: its own text and room for each unit.
  void PutName(const UnitText& name);

  const bool glyphs_;          // -c
  std::string imageFileName_;  // UTF-8, in place of imageName_ when not empty
  UnitText imageName_;         // of the first page that names its image
  std::map<UnitText, int32_t> fontIds_;
  std::vector<const UnitText*> fonts_;  // in the order of their IDs
  std::vector<uint32_t> fontStamp_;     // per font ID: the StyleRefs call that named it last
  uint32_t styleCall_ = 0;
  // The page being written ends in a HypPart1 that the next page's first word completes; the
  // page written before did.
  bool endsInFirstPart_ = false;
  bool previousEndedInFirstPart_ = false;
};

void AltoFormat::StyleRefs(const AreaNames& names, std::vector<char>& refs) {
  refs.clear();
  ++styleCall_;
  for (const UnitText& font : names.fonts) {
    auto found = fontIds_.find(font);
    if (found == fontIds_.end()) {
      found = fontIds_.emplace(font, static_cast<int32_t>(fonts_.size()) + 1).first;
      fonts_.push_back(&found->first);
      fontStamp_.push_back(0);
    }
    // IDREFS may name a style once only.
    uint32_t& stamp = fontStamp_[static_cast<size_t>(found->second - 1)];
    if (stamp == styleCall_)
      continue;
    stamp = styleCall_;
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

template <size_t N>
void AltoFormat::PutSubstitution(const char (&type)[N], const uint16_t* units, int32_t length) {
  ComposeBuffer& text = Text();
  char* cursor = text.Room(kHeadRoom + static_cast<size_t>(length) * kXmlCharacterRoom);
  cursor = PutLiteral(cursor, type);
  cursor = PutLiteral(cursor, "\" SUBS_CONTENT=\"");
  cursor = PutXmlUnits(cursor, units, length);
  *cursor++ = '"';
  text.Commit(cursor);
}

void AltoFormat::PutString(const RecordedPage& page, const RecordedWord& word, bool lastInLine,
                           int32_t n) {
  const uint16_t* units = page.units.data() + word.firstUnit;
  const size_t index = static_cast<size_t>(&word - page.words.data());
  // A word whose first part ends the page before completes it only in the text; in the
  // layout it is the HypPart2 of that page's HypPart1.
  const bool joinsPrevious = index == 0 && page.completesPrevious && previousEndedInFirstPart_;
  // A carried part that stands without its HypPart1 (on a failed page, which is not written)
  // is no part: the String holds the whole word.
  const bool secondPart = word.carried > 0 && (word.partner >= 0 || joinsPrevious);
  const int32_t contentStart = secondPart ? word.carried : 0;
  // A broken word ends in "- ": at the line's end the hyphen is the line's HYP, elsewhere
  // (HYP may only end a line) it stays in the content, as it does when it is all the word
  // holds (a String has content).
  int32_t contentEnd = word.length;
  bool hyphenated = false;
  if (word.broken) {
    contentEnd -= 1;
    if (lastInLine && contentEnd - 1 > contentStart) {
      contentEnd -= 1;
      hyphenated = true;
    }
  }
  ComposeBuffer& text = Text();
  char* cursor = text.Room(kHeadRoom + static_cast<size_t>(word.length) * kXmlCharacterRoom);
  cursor = PutLiteral(cursor, "      <String");
  cursor = PutId(cursor, " ID=\"w", n);
  cursor = PutPosition(cursor, word.rect);
  cursor = PutLiteral(cursor, " CONTENT=\"");
  cursor = PutXmlUnits(cursor, units + contentStart, contentEnd - contentStart);
  *cursor++ = '"';
  // Most strings are plain words without glyphs: their element is done in the room above.
  const bool firstPart = word.broken && word.partner >= 0;
  const bool lastOfPage = hyphenated && index + 1 == page.words.size() && !page.completion.empty();
  if (secondPart || firstPart || lastOfPage || glyphs_) {
    text.Commit(cursor);
    if (secondPart) {
      PutSubstitution(" SUBS_TYPE=\"HypPart2", units, word.length);
    } else if (firstPart) {
      const RecordedWord& whole = page.words[static_cast<size_t>(word.partner)];
      PutSubstitution(" SUBS_TYPE=\"HypPart1", page.units.data() + whole.firstUnit, whole.length);
    } else if (lastOfPage) {
      // The page's last word, broken: the next page begins with the word that completes it.
      PutSubstitution(" SUBS_TYPE=\"HypPart1", page.completion.data(),
                      static_cast<int32_t>(page.completion.size()));
      endsInFirstPart_ = true;
    }
    if (glyphs_) {
      PutText(">");
      PutGlyphs(page, word, contentStart, contentEnd);
      PutText("</String>");
    } else {
      PutText("/>");
    }
    cursor = text.Room(kHeadRoom);
  } else {
    cursor = PutLiteral(cursor, "/>");
  }
  // The glyphs and the space or hyphen after a word share its line: the layout of a book is
  // large.
  if (hyphenated) {
    cursor = PutLiteral(cursor, "<HYP CONTENT=\"-\"/>\n");
  } else if (!lastInLine) {
    cursor = PutLiteral(cursor, "<SP/>\n");
  } else {
    *cursor++ = '\n';
  }
  text.Commit(cursor);
}

void AltoFormat::PutGlyphs(const RecordedPage& page, const RecordedWord& word, int32_t start,
                           int32_t end) {
  // A Glyph: its position and one character of at most kXmlCharacterRoom bytes a unit.
  constexpr size_t kGlyphRoom = 24 + 4 * (9 + kDecimalRoom) + 2 * kXmlCharacterRoom;
  const uint16_t* units = page.units.data() + word.firstUnit;
  const TextRect within = Ordered(word.rect);
  ComposeBuffer& text = Text();
  char* cursor = text.Room(static_cast<size_t>(end - start) * kGlyphRoom);
  for (int32_t i = start; i < end;) {
    const int32_t first = i;
    // A surrogate pair is one character, one Glyph; the schema allows one character each.
    text::NextCharacter(units, end, i);
    cursor = PutLiteral(cursor, "<Glyph");
    cursor = PutPosition(cursor, CharacterBox(page, word, within, first, i));
    cursor = PutLiteral(cursor, " CONTENT=\"");
    cursor = PutXmlUnits(cursor, units + first, i - first);
    cursor = PutLiteral(cursor, "\"/>");
  }
  text.Commit(cursor);
}

void AltoFormat::WritePage(const RecordedPage& page) {
  previousEndedInFirstPart_ = endsInFirstPart_;
  endsInFirstPart_ = false;
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

  int32_t composedCount = 0;
  int32_t blockCount = 0;
  int32_t lineCount = 0;
  int32_t wordCount = 0;
  std::vector<char> refs;
  const int32_t blocks = static_cast<int32_t>(page.blocks.size());
  for (int32_t first = 0; first < blocks;) {
    const AreaSpan span = AreaSpanAt(page, first);
    const AreaNames none;
    const AreaNames& names = span.area >= 0 ? page.areas[static_cast<size_t>(span.area)] : none;
    if (span.written != 0)
      StyleRefs(names, refs);
    const char* lang = LanguageTag(names.languages);
    // Several blocks share their area's styles: named once around them, not per block.
    const bool composed = span.written > 1 && !refs.empty();
    if (composed) {
      cursor = text.Room(kHeadRoom + refs.size());
      cursor = PutLiteral(cursor, "    <ComposedBlock");
      cursor = PutId(cursor, " ID=\"cb", ++composedCount);
      cursor = PutPosition(cursor, span.rect);
      cursor = PutLiteral(cursor, " STYLEREFS=\"");
      cursor = PutPlainValue(cursor, refs.data(), refs.size());
      cursor = PutLiteral(cursor, ">\n");
      text.Commit(cursor);
    }
    for (int32_t b = span.first; b < span.end; ++b) {
      const RecordedBlock& block = page.blocks[static_cast<size_t>(b)];
      if (block.lineCount == 0)
        continue;
      cursor = text.Room(kHeadRoom + (composed ? 0 : refs.size()));
      cursor = PutLiteral(cursor, "    <TextBlock");
      cursor = PutId(cursor, " ID=\"b", ++blockCount);
      cursor = PutPosition(cursor, BlockRect(page, block));
      if (!composed && !refs.empty()) {
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
        const int32_t wordEnd = line.firstWord + line.wordCount;
        for (int32_t w = line.firstWord; w < wordEnd; ++w)
          PutString(page, page.words[static_cast<size_t>(w)], w + 1 == wordEnd, ++wordCount);
        PutText("     </TextLine>\n");
      }
      PutText("    </TextBlock>\n");
    }
    if (composed)
      PutText("    </ComposedBlock>\n");
    first = span.end;
  }
  PutText("   </PrintSpace>\n  </Page>\n");
}

void AltoFormat::PutName(const UnitText& name) {
  ComposeBuffer& text = Text();
  char* cursor = text.Room(name.size() * kXmlCharacterRoom);
  text.Commit(PutXmlUnits(cursor, name.data(), static_cast<int32_t>(name.size())));
}

void AltoFormat::WriteHead() {
  PutText(kHeader);
  if (!imageFileName_.empty()) {
    PutText("  <sourceImageInformation>\n   <fileName>");
    ComposeBuffer& text = Text();
    char* cursor = text.Room(imageFileName_.size() * kXmlCharacterRoom);
    text.Commit(PutXmlUtf8(cursor, imageFileName_.data(), imageFileName_.size()));
    PutText("</fileName>\n  </sourceImageInformation>\n");
  } else if (!imageName_.empty()) {
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
}

}  // namespace

std::unique_ptr<DocumentFormat> MakeAltoFormat(FILE* stream, const FormatSettings& settings) {
  return std::unique_ptr<DocumentFormat>(new (std::nothrow) AltoFormat(stream, settings));
}

std::unique_ptr<DocumentFormat> MakeAltoPageFile(FILE* stream, const PageFileSettings& settings) {
  FormatSettings format;
  format.glyphs = settings.glyphs;
  return std::unique_ptr<DocumentFormat>(new (std::nothrow)
                                             AltoFormat(stream, format, settings.imageName));
}
