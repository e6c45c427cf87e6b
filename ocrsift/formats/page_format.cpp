// PAGE 2019-07-15: the document of one page image. A TextRegion per text block (table cells
// included), flat under the Page, as the readers that take only the Page's own children need;
// TextLine with a Baseline, Word and, on request, Glyph. The text stands as printed: a word
// broken at a line end keeps its hyphen ("wor-") and the word on the next line holds only its
// own letters ("ld."), the two tied by a join relation when both are on the page; lines and
// regions hold their words joined, the lines by a blank, the regions' lines by a line feed.
//
// The schema allows one Page per document: the last complete page handed on is the page
// written (a later file of a number replaces the earlier one), with its head, at the end. A
// page without a positive width and height has no PAGE coordinates: it is refused, and a
// document without a page writes nothing at all.
#include <algorithm>
#include <cassert>
#include <climits>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "common/numeric/decimal_format.h"
#include "common/text/utf8.h"
#include "ocrsift/formats/character_box.h"
#include "ocrsift/formats/document_formats.h"
#include "ocrsift/formats/language_tags.h"
#include "ocrsift/formats/page_image_name.h"
#include "ocrsift/formats/xml_text.h"

namespace {

using numeric::kDecimalRoom;
using numeric::PutDecimal;

const char kHeader[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<PcGts xmlns=\"http://schema.primaresearch.org/PAGE/gts/pagecontent/2019-07-15\""
    " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
    " xsi:schemaLocation=\"http://schema.primaresearch.org/PAGE/gts/pagecontent/2019-07-15"
    " http://schema.primaresearch.org/PAGE/gts/pagecontent/2019-07-15/pagecontent.xsd\"";

// A resolution outside this range is no scan's and is left out.
constexpr int32_t kLeastResolution = 10;
constexpr int32_t kMostResolution = 10000;

// Room for an element's head: its name, ID and a few numbers, or Coords of four points.
constexpr size_t kHeadRoom = 256;

// xsd:dateTime knows the years 1 to 9999; a file time beyond 9999 is taken as its last second,
// one before 1970 (a damaged clock) as 1970.
constexpr int64_t kLastSecond = 253402300799;  // 9999-12-31T23:59:59Z

// "YYYY-MM-DDThh:mm:ssZ" of the seconds since 1970 (days to a civil date by the proleptic
// Gregorian calendar, in eras of 400 years): 20 bytes.
char* PutUtcTime(char* cursor, int64_t seconds) {
  seconds = std::min(std::max<int64_t>(seconds, 0), kLastSecond);
  const int64_t days = seconds / 86400;
  const int64_t secondOfDay = seconds % 86400;
  const int64_t z = days + 719468;
  const int64_t era = z / 146097;
  const int64_t dayOfEra = z - era * 146097;
  const int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t monthIndex = (5 * dayOfYear + 2) / 153;
  const int64_t day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
  const int64_t month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
  const int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
  // Every field is two digits (the year four, 1970 to 9999).
  assert(year >= 1970 && year <= 9999);
  const auto put2 = [&cursor](int64_t value) {
    std::memcpy(cursor, numeric::kDigitPairs + 2 * value, 2);
    cursor += 2;
  };
  put2(year / 100);
  put2(year % 100);
  *cursor++ = '-';
  put2(month);
  *cursor++ = '-';
  put2(day);
  *cursor++ = 'T';
  put2(secondOfDay / 3600);
  *cursor++ = ':';
  put2(secondOfDay / 60 % 60);
  *cursor++ = ':';
  put2(secondOfDay % 60);
  *cursor++ = 'Z';
  return cursor;
}

// UTF-8 text that the caller made (the settings' names) as XML: the markup characters
// escaped, every other byte as it is. At most kXmlCharacterRoom bytes a byte.
char* PutXmlBytes(char* cursor, const std::string& bytes) {
  for (const char c : bytes) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      cursor = PutXmlCharacter(cursor, byte);
    } else {
      *cursor++ = c;
    }
  }
  return cursor;
}

// The code units of a word as printed: a joined word without the first part it carries, a
// broken word without the blank after its hyphen.
struct PrintedRange {
  int32_t start = 0;
  int32_t end = 0;
};

PrintedRange Printed(const RecordedWord& word) {
  PrintedRange range;
  range.start = word.carried;
  range.end = word.broken ? word.length - 1 : word.length;
  assert(range.start < range.end);
  return range;
}

class PageXmlFormat : public DocumentFormat {
 public:
  PageXmlFormat(FILE* stream, const PageFileSettings& settings)
      : DocumentFormat(stream), settings_(settings) {}

 protected:
  bool NeedsUnitBoxes() const override { return true; }
  // One page only, which waits in memory until the end: no spool is needed.
  bool KeepsBookOrder() const override { return false; }
  bool OnePageDocument() const override { return true; }
  void WritePage(const RecordedPage& page) override;
  void WriteEnd() override;

 private:
  template <size_t N>
  static char* PutIdAttribute(char* cursor, const char (&head)[N], int32_t number) {
    cursor = PutLiteral(cursor, head);
    cursor = PutDecimal(cursor, number);
    *cursor++ = '"';
    return cursor;
  }
  // A Coords or Baseline element of the rectangle's four corners (or, for a baseline, its two
  // ends): at most N + 8 * (1 + kDecimalRoom) + 4 bytes.
  template <size_t N>
  static char* PutCorners(char* cursor, const char (&head)[N], const TextRect& r, bool line) {
    cursor = PutLiteral(cursor, head);
    cursor = PutPoint(cursor, r.left, r.top);
    *cursor++ = ' ';
    cursor = PutPoint(cursor, r.right, r.top);
    if (!line) {
      *cursor++ = ' ';
      cursor = PutPoint(cursor, r.right, r.bottom);
      *cursor++ = ' ';
      cursor = PutPoint(cursor, r.left, r.bottom);
    }
    return PutLiteral(cursor, "\"/>\n");
  }
  static char* PutPoint(char* cursor, int32_t x, int32_t y) {
    assert(x >= 0 && y >= 0);
    cursor = PutDecimal(cursor, x);
    *cursor++ = ',';
    return PutDecimal(cursor, y);
  }

  // A piece of Text(): a word's or a line's text, composed once and copied where it stands
  // again (the words joined make their line's text, the lines their region's).
  struct Span {
    size_t offset;
    size_t size;
  };

  // The spans again, after the first separated by `separator`.
  void PutSpans(const std::vector<Span>& spans, char separator);
  void PutRegionHead(const RecordedPage& page, const RecordedBlock& block, int32_t region);
  // The line with its words; coords: its rectangle, around its words (LineCoords).
  void PutLine(const RecordedPage& page, const RecordedLine& line, int32_t index,
               const TextRect& coords);
  // The word's element; returns where its text stands.
  Span PutWord(const RecordedPage& page, const RecordedWord& word, int32_t index);
  void PutRegionEnd(const RecordedPage& page, const RecordedBlock& block);
  void PutJoins(const RecordedPage& page);
  // The XML declaration, PcGts with its ID and the Metadata.
  void PutHead(const std::string& fileId);

  PageFileSettings settings_;
  bool hasPage_ = false;
  std::vector<int32_t> bottoms_;      // the baseline's estimate, kept from line to line
  std::vector<Span> wordTexts_;       // of the line being written
  std::vector<Span> lineTexts_;       // of the region being written
  std::vector<TextRect> lineCoords_;  // of the region being written
  int32_t glyphCount_ = 0;
};

void PageXmlFormat::PutSpans(const std::vector<Span>& spans, char separator) {
  ComposeBuffer& text = Text();
  for (size_t i = 0; i < spans.size(); ++i) {
    const Span span = spans[i];
    char* cursor = text.Room(1 + span.size);
    if (i != 0)
      *cursor++ = separator;
    // Room may have moved the bytes, which stand before the cursor.
    std::memcpy(cursor, text.Data() + span.offset, span.size);
    text.Commit(cursor + span.size);
  }
}

// The smallest rectangle holding the line record and its words, ordered.
TextRect LineCoords(const RecordedPage& page, const RecordedLine& line) {
  TextRect rect = Ordered(line.rect);
  for (int32_t w = line.firstWord; w < line.firstWord + line.wordCount; ++w)
    Unite(rect, Ordered(page.words[static_cast<size_t>(w)].rect), false);
  return rect;
}

// The baseline, estimated from the bottom edges of the line's characters (the file stores
// none): most characters stand on it and only a few reach below, so the median bottom is taken
// (of the two middle ones the upper), inside the line, from its left edge to its right.
TextRect Baseline(const RecordedPage& page, const RecordedLine& line, const TextRect& coords,
                  std::vector<int32_t>& bottoms) {
  // The line's words stand together in the page's arrays: room for all their units at once.
  const RecordedWord& last = page.words[static_cast<size_t>(line.firstWord + line.wordCount - 1)];
  bottoms.resize(static_cast<size_t>(last.firstUnit + last.length -
                                     page.words[static_cast<size_t>(line.firstWord)].firstUnit));
  size_t n = 0;
  int32_t least = INT32_MAX;
  int32_t most = INT32_MIN;
  for (int32_t w = line.firstWord; w < line.firstWord + line.wordCount; ++w) {
    const RecordedWord& word = page.words[static_cast<size_t>(w)];
    const PrintedRange printed = Printed(word);
    const TextRect* boxes = page.boxes.data() + word.firstUnit;
    for (int32_t u = printed.start; u < printed.end; ++u) {
      const int32_t bottom = std::max(boxes[u].top, boxes[u].bottom);
      least = std::min(least, bottom);
      most = std::max(most, bottom);
      bottoms[n++] = bottom;
    }
  }
  assert(n != 0 && n <= bottoms.size());
  const size_t rank = (n - 1) / 2;
  int32_t median = 0;
  constexpr int64_t kSpan = 256;
  if (static_cast<int64_t>(most) - least < kSpan) {
    // The bottoms of a line lie close together: counted, the median is found without sorting
    // (the value at the rank, as a selection would give it).
    uint32_t counts[kSpan];
    const size_t span = static_cast<size_t>(most - least) + 1;
    std::fill(counts, counts + span, 0u);
    for (size_t i = 0; i < n; ++i)
      ++counts[static_cast<size_t>(bottoms[i] - least)];
    size_t below = 0;
    size_t v = 0;
    while (below + counts[v] <= rank)
      below += counts[v++];
    median = least + static_cast<int32_t>(v);
  } else {
    const auto middle = bottoms.begin() + static_cast<ptrdiff_t>(rank);
    std::nth_element(bottoms.begin(), middle, bottoms.begin() + static_cast<ptrdiff_t>(n));
    median = *middle;
  }
  const int32_t y = std::min(std::max(median, coords.top), coords.bottom);
  return {coords.left, y, coords.right, y};
}

void PageXmlFormat::PutRegionHead(const RecordedPage& page, const RecordedBlock& block,
                                  int32_t region) {
  const AreaNames none;
  const AreaNames& names = block.area >= 0 ? page.areas[static_cast<size_t>(block.area)] : none;
  // The first two different languages that PAGE names; the others are left out.
  const char* languages[2] = {nullptr, nullptr};
  for (const UnitText& name : names.languages) {
    const char* pageName = PageLanguageName(name);
    if (pageName == nullptr)
      continue;
    if (languages[0] == nullptr) {
      languages[0] = pageName;
    } else if (std::strcmp(languages[0], pageName) != 0) {
      languages[1] = pageName;
      break;
    }
  }
  ComposeBuffer& text = Text();
  char* cursor = text.Room(kHeadRoom * 2);
  cursor = PutIdAttribute(cursor, "  <TextRegion id=\"r", region);
  if (languages[0] != nullptr) {
    cursor = PutLiteral(cursor, " primaryLanguage=\"");
    cursor = PutPlainValue(cursor, languages[0], std::strlen(languages[0]));
  }
  if (languages[1] != nullptr) {
    cursor = PutLiteral(cursor, " secondaryLanguage=\"");
    cursor = PutPlainValue(cursor, languages[1], std::strlen(languages[1]));
  }
  cursor = PutLiteral(cursor, ">\n");
  // The lines' rectangles serve their own Coords too.
  lineCoords_.clear();
  TextRect rect;
  for (int32_t l = block.firstLine; l < block.firstLine + block.lineCount; ++l) {
    lineCoords_.push_back(LineCoords(page, page.lines[static_cast<size_t>(l)]));
    Unite(rect, lineCoords_.back(), l == block.firstLine);
  }
  text.Commit(PutCorners(cursor, "   <Coords points=\"", rect, false));
}

PageXmlFormat::Span PageXmlFormat::PutWord(const RecordedPage& page, const RecordedWord& word,
                                           int32_t index) {
  const TextRect rect = Ordered(word.rect);
  const PrintedRange printed = Printed(word);
  const uint16_t* units = page.units.data() + word.firstUnit;
  const size_t textRoom = static_cast<size_t>(printed.end - printed.start) * kXmlCharacterRoom;
  ComposeBuffer& text = Text();
  char* cursor = text.Room(2 * kHeadRoom + textRoom);
  cursor = PutIdAttribute(cursor, "    <Word id=\"w", index + 1);
  cursor = PutLiteral(cursor, ">\n");
  cursor = PutCorners(cursor, "     <Coords points=\"", rect, false);
  if (settings_.glyphs) {
    text.Commit(cursor);
    for (int32_t u = printed.start; u < printed.end;) {
      // A surrogate pair is one character: one glyph, around both its units' boxes.
      const int32_t first = u;
      text::NextCharacter(units, printed.end, u);
      // The glyph's element in one piece of room: at most two units of text.
      cursor = text.Room(2 * kHeadRoom);
      cursor = PutIdAttribute(cursor, "     <Glyph id=\"g", ++glyphCount_);
      cursor = PutLiteral(cursor, ">\n");
      cursor = PutCorners(cursor, "      <Coords points=\"",
                          CharacterBox(page, word, rect, first, u), false);
      cursor = PutLiteral(cursor, "      <TextEquiv><Unicode>");
      cursor = PutXmlUnits(cursor, units + first, u - first);
      text.Commit(PutLiteral(cursor, "</Unicode></TextEquiv>\n     </Glyph>\n"));
    }
    cursor = text.Room(kHeadRoom + textRoom);
  }
  cursor = PutLiteral(cursor, "     <TextEquiv><Unicode>");
  const size_t start = static_cast<size_t>(cursor - text.Data());
  cursor = PutXmlUnits(cursor, units + printed.start, printed.end - printed.start);
  const Span span{start, static_cast<size_t>(cursor - text.Data()) - start};
  text.Commit(PutLiteral(cursor, "</Unicode></TextEquiv>\n    </Word>\n"));
  return span;
}

void PageXmlFormat::PutLine(const RecordedPage& page, const RecordedLine& line, int32_t index,
                            const TextRect& coords) {
  ComposeBuffer& text = Text();
  char* cursor = text.Room(2 * kHeadRoom);
  cursor = PutIdAttribute(cursor, "   <TextLine id=\"l", index + 1);
  cursor = PutLiteral(cursor, ">\n");
  cursor = PutCorners(cursor, "    <Coords points=\"", coords, false);
  text.Commit(
      PutCorners(cursor, "    <Baseline points=\"", Baseline(page, line, coords, bottoms_), true));
  wordTexts_.resize(static_cast<size_t>(line.wordCount));
  for (int32_t w = 0; w < line.wordCount; ++w) {
    const int32_t index = line.firstWord + w;
    wordTexts_[static_cast<size_t>(w)] =
        PutWord(page, page.words[static_cast<size_t>(index)], index);
  }
  PutText("    <TextEquiv><Unicode>");
  const size_t start = text.Size();
  PutSpans(wordTexts_, ' ');
  lineTexts_.push_back({start, text.Size() - start});
  PutText("</Unicode></TextEquiv>\n   </TextLine>\n");
}

void PageXmlFormat::PutRegionEnd(const RecordedPage& page, const RecordedBlock& block) {
  PutText("   <TextEquiv><Unicode>");
  PutSpans(lineTexts_, '\n');
  lineTexts_.clear();
  PutText("</Unicode></TextEquiv>\n");
  if (block.area >= 0) {
    // The area's fonts, each once, in their order.
    const std::vector<UnitText>& fonts = page.areas[static_cast<size_t>(block.area)].fonts;
    bool any = false;
    for (size_t f = 0; f < fonts.size(); ++f) {
      if (std::find(fonts.begin(), fonts.begin() + static_cast<ptrdiff_t>(f), fonts[f]) !=
          fonts.begin() + static_cast<ptrdiff_t>(f))
        continue;
      ComposeBuffer& text = Text();
      char* cursor = text.Room(kHeadRoom + fonts[f].size() * kXmlCharacterRoom);
      cursor = any ? PutLiteral(cursor, ", ") : PutLiteral(cursor, "   <TextStyle fontFamily=\"");
      text.Commit(PutXmlUnits(cursor, fonts[f].data(), static_cast<int32_t>(fonts[f].size())));
      any = true;
    }
    if (any)
      PutText("\"/>\n");
  }
  PutText("  </TextRegion>\n");
}

void PageXmlFormat::PutJoins(const RecordedPage& page) {
  if (!settings_.joinHyphenated)
    return;
  int32_t joins = 0;
  for (size_t w = 0; w < page.words.size(); ++w) {
    const RecordedWord& word = page.words[w];
    if (!word.broken || word.partner < 0)
      continue;
    if (joins == 0)
      PutText("  <Relations>\n");
    ComposeBuffer& text = Text();
    char* cursor = text.Room(kHeadRoom);
    cursor = PutIdAttribute(cursor, "   <Relation id=\"j", ++joins);
    cursor = PutIdAttribute(cursor, " type=\"join\">\n    <SourceRegionRef regionRef=\"w",
                            static_cast<int32_t>(w) + 1);
    cursor = PutIdAttribute(cursor, "/>\n    <TargetRegionRef regionRef=\"w", word.partner + 1);
    text.Commit(PutLiteral(cursor, "/>\n   </Relation>\n"));
  }
  if (joins != 0)
    PutText("  </Relations>\n");
}

void PageXmlFormat::WritePage(const RecordedPage& page) {
  if (page.width <= 0 || page.height <= 0) {
    RefusePage(page);
    return;
  }
  glyphCount_ = 0;
  lineTexts_.clear();
  wordTexts_.clear();
  // The names are the settings', or the page's own when the settings leave them empty.
  PutHead(settings_.fileId.empty() ? GroupFileId(kPageFileGroup, page.number) : settings_.fileId);
  const std::string imageName =
      settings_.imageName.empty() ? PageImageName(page) : settings_.imageName;
  ComposeBuffer& text = Text();
  char* cursor = text.Room(kHeadRoom + imageName.size() * kXmlCharacterRoom);
  cursor = PutLiteral(cursor, " <Page imageFilename=\"");
  cursor = PutXmlBytes(cursor, imageName);
  cursor = PutLiteral(cursor, "\" imageWidth=\"");
  cursor = PutDecimal(cursor, page.width);
  cursor = PutLiteral(cursor, "\" imageHeight=\"");
  cursor = PutDecimal(cursor, page.height);
  if (page.resolution >= kLeastResolution && page.resolution <= kMostResolution) {
    cursor = PutLiteral(cursor, "\" imageXResolution=\"");
    cursor = PutDecimal(cursor, page.resolution);
    cursor = PutLiteral(cursor, "\" imageYResolution=\"");
    cursor = PutDecimal(cursor, page.resolution);
    cursor = PutLiteral(cursor, "\" imageResolutionUnit=\"PPI");
  }
  text.Commit(PutLiteral(cursor, "\">\n"));

  int32_t regions = 0;
  for (const RecordedBlock& block : page.blocks) {
    if (block.lineCount == 0)
      continue;
    if (regions == 0)
      PutText("  <ReadingOrder>\n   <OrderedGroup id=\"ro\" caption=\"Regions reading order\">\n");
    cursor = text.Room(kHeadRoom);
    cursor = PutLiteral(cursor, "    <RegionRefIndexed index=\"");
    cursor = PutDecimal(cursor, regions);
    cursor = PutIdAttribute(cursor, "\" regionRef=\"r", ++regions);
    text.Commit(PutLiteral(cursor, "/>\n"));
  }
  if (regions != 0)
    PutText("   </OrderedGroup>\n  </ReadingOrder>\n");
  PutJoins(page);

  int32_t region = 0;
  for (const RecordedBlock& block : page.blocks) {
    if (block.lineCount == 0)
      continue;
    PutRegionHead(page, block, ++region);
    for (int32_t l = block.firstLine; l < block.firstLine + block.lineCount; ++l)
      PutLine(page, page.lines[static_cast<size_t>(l)], l,
              lineCoords_[static_cast<size_t>(l - block.firstLine)]);
    PutRegionEnd(page, block);
  }
  PutText(" </Page>\n");
  hasPage_ = true;
}

void PageXmlFormat::WriteEnd() {
  if (hasPage_)
    PutText("</PcGts>\n");
}

void PageXmlFormat::PutHead(const std::string& fileId) {
  PutText(kHeader);
  ComposeBuffer& text = Text();
  char* cursor = text.Room(kHeadRoom + fileId.size() * kXmlCharacterRoom);
  cursor = PutLiteral(cursor, " pcGtsId=\"");
  cursor = PutXmlBytes(cursor, fileId);
  cursor = PutLiteral(
      cursor, "\">\n <Metadata>\n  <Creator>ocrsift " OCRSIFT_VERSION "</Creator>\n  <Created>");
  cursor = PutUtcTime(cursor, settings_.modifiedTime);
  cursor = PutLiteral(cursor, "</Created>\n  <LastChange>");
  cursor = PutUtcTime(cursor, settings_.modifiedTime);
  text.Commit(PutLiteral(cursor, "</LastChange>\n </Metadata>\n"));
}

}  // namespace

std::unique_ptr<DocumentFormat> MakePageXmlFormat(FILE* stream, const PageFileSettings& settings) {
  return std::unique_ptr<DocumentFormat>(new (std::nothrow) PageXmlFormat(stream, settings));
}
