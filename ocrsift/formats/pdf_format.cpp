// PDF: the pages' text as an invisible layer to lay over the page images (qpdf --overlay),
// one page per page number from 1 to the run's highest, each the size of its image
// (width x 72 / dpi by height x 72 / dpi), found by every reader's search in every script.
//
// The text is rendering mode 3 (invisible) in a Type0 font with Identity-H codes on one
// CIDFontType2, a TrueType font of two glyphs to which every code is sent. A character
// of the Basic Multilingual Plane is its own code in the first font; one beyond U+FFFF gets a
// code of the second font in order of first use, whose ToUnicode map gives its surrogate pair;
// past 65,535 of them the document fails.
// Each ToUnicode map lists every code used once. Coordinates are image pixels; each line sets
// the font size and baseline from its rectangle, each word starts at its left edge and is
// stretched with Tz to its width, and a blank over the gap (at the word's own stretch where
// that is wide enough) follows each word but the line's last, so that readers split the words
// where the script does. Each word has a text matrix of its own; a right-to-left word's is
// mirrored, so that its letters, in logical order, run leftward from its right edge. The parts
// of a word broken at a line end are written as printed, the pair marked with the whole word
// as its ActualText.
//
// Pages are written as they come; the page tree, written at the end, lists them in the book's
// order, a later page of a number in place of the earlier one, and an empty page for every
// number without one (the size of the nearest written page before it, or of the first); a run
// without a page gives one empty A4 page.
#include <zlib.h>

#include <algorithm>
#include <cassert>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/numeric/decimal_format.h"
#include "common/text/utf8.h"
#include "ocrsift/formats/document_formats.h"
#include "ocrsift/formats/pdf_font.h"
#include "ocrsift/formats/pdf_page_limit.h"
#include "ocrsift/formats/text_direction.h"

namespace {

using numeric::kDecimalRoom;
using numeric::kFractionRoom;
using numeric::PutDecimal;
using numeric::PutFraction;

// A resolution outside this range is no scan's: the page is taken at the default.
constexpr int32_t kLeastResolution = 10;
constexpr int32_t kMostResolution = 10000;
constexpr int32_t kDefaultResolution = 300;
// The page of a run whose every file failed: A4 at the default resolution.
constexpr int32_t kDefaultWidth = 2480;
constexpr int32_t kDefaultHeight = 3508;
// zlib's level for the streams: level 6 makes them a quarter smaller at half again the run's
// time; level 2 is faster than level 1 on this text.
constexpr int kCompression = 2;
// zlib's memory level: a hash of 8K entries, cleared for every stream, costs a quarter of the
// default's 32K to clear and compresses these streams as well; a smaller one compresses slower.
constexpr int kHashLevel = 6;

// The objects every document has; the pages' objects follow them.
enum : int32_t {
  kCatalog = 1,
  kPages,
  kBmpFont,
  kWideFont,
  kCidFont,
  kDescriptor,
  kFontFile,
  kCidToGid,
  kBmpUnicode,
  kWideUnicode,
  kResources,
  kInfo,
  kFirstPageObject
};

// The dictionaries below name these objects by number.
static_assert(kPages == 2 && kBmpFont == 3 && kWideFont == 4 && kCidFont == 5 && kDescriptor == 6 &&
                  kFontFile == 7 && kCidToGid == 8 && kBmpUnicode == 9 && kWideUnicode == 10 &&
                  kResources == 11 && kInfo == 12,
              "the object numbers the dictionaries are written with");

struct PageEntry {
  int32_t object = 0;
  int32_t width = 0;  // pixels
  int32_t height = 0;
  int32_t resolution = kDefaultResolution;
};

int32_t UsableResolution(int32_t resolution) {
  return resolution >= kLeastResolution && resolution <= kMostResolution ? resolution
                                                                         : kDefaultResolution;
}

char* PutHex4(char* cursor, uint32_t code) {
  static const char kHex[] = "0123456789ABCDEF";
  for (int shift = 12; shift >= 0; shift -= 4)
    *cursor++ = kHex[(code >> shift) & 0xF];
  return cursor;
}

// One byte of a literal string: its two parentheses and the backslash escaped, and a carriage
// return, which a reader would take as a line feed; every other byte as it is. At most 2 bytes.
char* PutStringByte(char* cursor, uint32_t byte) {
  assert(byte <= 0xFF);
  // The four bytes to escape lie at or below the backslash; the letters of most words above it.
  if (byte <= '\\') {
    if (byte == '(' || byte == ')' || byte == '\\') {
      *cursor++ = '\\';
    } else if (byte == '\r') {
      *cursor++ = '\\';
      byte = 'r';
    }
  }
  *cursor++ = static_cast<char>(byte);
  return cursor;
}

// A two-byte code in a literal string, half the bytes of its hex form: at most 4 bytes.
char* PutCode(char* cursor, uint32_t code) {
  assert(code <= 0xFFFF);
  // Below U+0100, the code of most characters, the high byte is 0, which needs no escape.
  if (code <= 0xFF) {
    *cursor++ = '\0';
    return PutStringByte(cursor, code);
  }
  return PutStringByte(PutStringByte(cursor, code >> 8), code & 0xFF);
}

// The word of the page that completes the broken word `first` (its last part, when it is broken
// over several lines), or -1 when the word is not broken or its end is on another page.
int32_t CompletingWord(const RecordedPage& page, int32_t first) {
  int32_t w = first;
  const int32_t count = static_cast<int32_t>(page.words.size());
  while (page.words[static_cast<size_t>(w)].broken) {
    const int32_t next = page.words[static_cast<size_t>(w)].partner;
    if (next <= w || next >= count || page.words[static_cast<size_t>(next)].carried <= 0)
      return -1;
    w = next;
  }
  return w == first ? -1 : w;
}

// The room PutWholeWord takes for a word of `length` code units.
size_t WholeWordRoom(int32_t length) {
  return 48 + 4 * static_cast<size_t>(length);
}

// Opens marked content whose ActualText is the word `whole` (the part that completes a broken
// word carries all its letters) in a literal string: "/Word<</ActualText(world.)>>BDC", a word
// beyond printable ASCII in UTF-16BE after its byte order mark. PDFium takes the ActualText of
// marked content under any tag in place of the glyphs inside it, so its text and search have
// the whole word on the first part's line and nothing on the next, instead of the parts joined
// by U+0002. Poppler takes it only under the tag /Span, where its word boxes would lose the
// printed parts; it, MuPDF, Ghostscript and pdf.js read the parts as printed.
char* PutWholeWord(char* cursor, const RecordedPage& page, const RecordedWord& whole) {
  cursor = PutLiteral(cursor, "/Word<</ActualText(");
  const uint16_t* units = page.units.data() + whole.firstUnit;
  const uint16_t* const end = units + whole.length;
  // Printable ASCII is the same in PDFDocEncoding, a byte a character.
  if (std::all_of(units, end, [](uint16_t unit) { return unit >= 0x20 && unit < 0x7F; })) {
    for (const uint16_t* unit = units; unit < end; ++unit)
      cursor = PutStringByte(cursor, *unit);
  } else {
    cursor = PutLiteral(cursor, "\xFE\xFF");
    for (const uint16_t* unit = units; unit < end; ++unit)
      cursor = PutCode(cursor, *unit);
  }
  return PutLiteral(cursor, ")>>BDC\n");
}

class PdfFormat : public DocumentFormat {
 public:
  using DocumentFormat::DocumentFormat;

 protected:
  // The page tree puts the pages in the book's order: they are written as they come.
  bool KeepsBookOrder() const override { return false; }
  void WriteHead() override;
  void WritePage(const RecordedPage& page) override;
  // A failed page is an empty page, unless another file gives its number; so is the page of a
  // file that failed before its page began.
  void WriteFailedPage(const RecordedPage& page) override { TakeNumber(page.number); }
  void WriteUnreadPage(int32_t number) override { TakeNumber(number); }
  int32_t MostPageNumber() const override { return pdf::kMostPages; }
  void WriteEnd() override;

 private:
  // Writes what has been composed, counting the bytes for the cross-reference table.
  void Out() {
    written_ += static_cast<int64_t>(Text().Size());
    Emit();
  }
  int32_t NewObject() {
    offsets_.push_back(-1);
    return static_cast<int32_t>(offsets_.size()) - 1;
  }
  void BeginObject(int32_t number);
  void EndObject() { PutText("\nendobj\n"); }
  // A stream: its dictionary (/Length, /FlateDecode) and its bytes, compressed.
  void PutStream(const char* bytes, size_t n);
  // [0 0 w h] in points.
  void PutMediaBox(int32_t width, int32_t height, int32_t resolution);
  void PutEmptyPage(const PageEntry& size);
  void PutUnicodeMap(int32_t object, bool wide);
  // The codes of one word's characters, each font's run shown with Tj: at most 40 bytes a
  // code unit.
  // With `blank` set, the blank follows the codes in their string if the run ends in the
  // first font; `blank` tells whether it was written.
  char* PutWordText(char* cursor, const uint16_t* units, int32_t length, int32_t size, bool& blank);
  // Selects the first or the second font at the size: "/F1 40 Tf ".
  char* PutFont(char* cursor, bool wide, int32_t size);
  // The number of codes the word's text takes.
  static int32_t CodeCount(const uint16_t* units, int32_t length);

  // Counts the page number in the book; false for one the document does not hold (the run
  // leaves such a file out and says so), whose page is left out.
  bool TakeNumber(int32_t number) {
    if (!pdf::HoldsPageNumber(number))
      return false;
    highest_ = std::max(highest_, number);
    return true;
  }

  int64_t written_ = 0;
  std::vector<int64_t> offsets_ = std::vector<int64_t>(kFirstPageObject, -1);
  std::map<int32_t, PageEntry> pages_;  // by page number: the last complete page of each
  int32_t highest_ = 0;
  bool userUnits_ = false;  // a page counts in units of several points
  std::vector<uint8_t> bmpUsed_ = std::vector<uint8_t>(0x10000, 0);  // 1 for each code used
  std::unordered_map<uint32_t, uint32_t> wideCodes_;  // beyond U+FFFF: the code of each
  std::vector<uint32_t> wideCharacters_;              // by code - 1
  bool wideFont_ = false;                             // the current run is in the second font
  ComposeBuffer content_;                             // the page's content stream
  std::vector<unsigned char> compressed_;
  struct EndDeflate {
    void operator()(z_stream* z) const {
      deflateEnd(z);
      delete z;
    }
  };
  std::unique_ptr<z_stream, EndDeflate> deflater_;
};

void PdfFormat::BeginObject(int32_t number) {
  offsets_[static_cast<size_t>(number)] = written_ + static_cast<int64_t>(Text().Size());
  char* cursor = Text().Room(kDecimalRoom + 8);
  cursor = PutDecimal(cursor, number);
  Text().Commit(PutLiteral(cursor, " 0 obj\n"));
}

void PdfFormat::PutStream(const char* bytes, size_t n) {
  // One compressor for the whole document: a new one for each page would cost more than the
  // compression itself.
  if (!deflater_) {
    deflater_.reset(new (std::nothrow) z_stream());
    if (deflater_ && deflateInit2(deflater_.get(), kCompression, Z_DEFLATED, 15, kHashLevel,
                                  Z_DEFAULT_STRATEGY) != Z_OK)
      deflater_.reset();
  } else {
    deflateReset(deflater_.get());
  }
  uLong size = 0;
  if (deflater_) {
    z_stream& z = *deflater_;
    // The room kept from page to page: no zeroing of it for every page.
    const size_t bound = deflateBound(&z, static_cast<uLong>(n));
    if (compressed_.size() < bound)
      compressed_.resize(bound);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes));
    z.avail_in = static_cast<uInt>(n);
    z.next_out = compressed_.data();
    z.avail_out = static_cast<uInt>(compressed_.size());
    if (deflate(&z, Z_FINISH) == Z_STREAM_END)
      size = z.total_out;
    else
      deflater_.reset();
  }
  if (!deflater_) {
    // Only memory can fail here: the document would lose the page.
    Output().RecordFailure(ENOMEM);
    size = 0;
  }
  char* cursor = Text().Room(64 + kDecimalRoom);
  cursor = PutLiteral(cursor, "<< /Length ");
  cursor = PutDecimal(cursor, static_cast<int32_t>(size));
  cursor = PutLiteral(cursor, " /Filter /FlateDecode >>\nstream\n");
  Text().Commit(cursor);
  Text().Append(reinterpret_cast<const char*>(compressed_.data()), size);
  PutText("\nendstream");
}

// Readers after Acrobat's limits take no page side over 14,400 units: a larger page counts in
// units of several points (/UserUnit), as many as bring its longer side within the limit.
int64_t PageUnit(int32_t width, int32_t height, int32_t dpi) {
  const int64_t side = std::max<int64_t>(std::abs(int64_t{width}), std::abs(int64_t{height}));
  const int64_t most = int64_t{14400} * dpi;  // the limit in pixels x 72
  return std::max<int64_t>(1, (side * 72 + most - 1) / most);
}

void PdfFormat::PutMediaBox(int32_t width, int32_t height, int32_t resolution) {
  const int32_t dpi = UsableResolution(resolution);
  const int64_t unit = PageUnit(width, height, dpi);
  char* cursor = Text().Room(48 + 5 * kFractionRoom);
  cursor = PutLiteral(cursor, " /MediaBox [");
  cursor = PutFraction(cursor, std::min<int64_t>(0, width) * 72, dpi * unit, 4);
  *cursor++ = ' ';
  cursor = PutFraction(cursor, std::min<int64_t>(0, height) * 72, dpi * unit, 4);
  *cursor++ = ' ';
  cursor = PutFraction(cursor, std::max<int64_t>(0, width) * 72, dpi * unit, 4);
  *cursor++ = ' ';
  cursor = PutFraction(cursor, std::max<int64_t>(0, height) * 72, dpi * unit, 4);
  cursor = PutLiteral(cursor, "]");
  if (unit > 1) {
    cursor = PutLiteral(cursor, " /UserUnit ");
    cursor = PutFraction(cursor, unit, 1, 0);
    userUnits_ = true;
  }
  Text().Commit(cursor);
}

void PdfFormat::WriteHead() {
  // The comment's bytes above 127 tell transfer programs that the file is binary.
  PutText("%PDF-1.5\n%\xE2\xE3\xCF\xD3\n");
  Out();
}

// The units the page prints of a word: a broken word's first part without the blank that
// follows its hyphen, a second part without the letters it carries from the first. Written as
// printed, no reader's text holds a word twice ("worworld.") and no second part crams the whole
// word into its own box; the readers that join a hyphenated line end find the whole word.
const uint16_t* PrintedUnits(const RecordedPage& page, const RecordedWord& word, int32_t& length) {
  const int32_t end = word.broken ? word.length - 1 : word.length;
  const int32_t carried = std::min(std::max(word.carried, 0), end);
  length = end - carried;
  return page.units.data() + word.firstUnit + carried;
}

int32_t PdfFormat::CodeCount(const uint16_t* units, int32_t length) {
  // A surrogate pair is one character; an unpaired surrogate is one too.
  int32_t count = length;
  for (int32_t i = 0; i + 1 < length; ++i) {
    if (units[i] >= 0xD800 && units[i] <= 0xDBFF && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF) {
      --count;
      ++i;
    }
  }
  return count;
}

char* PdfFormat::PutWordText(char* cursor, const uint16_t* units, int32_t length, int32_t size,
                             bool& blank) {
  bool open = false;
  for (int32_t i = 0; i < length;) {
    uint32_t c = text::NextCharacter(units, length, i);
    bool wide = c > 0xFFFF;
    uint32_t code = c;
    if (wide) {
      auto found = wideCodes_.find(c);
      if (found == wideCodes_.end() && wideCharacters_.size() < 0xFFFF) {
        wideCharacters_.push_back(c);
        found = wideCodes_.emplace(c, static_cast<uint32_t>(wideCharacters_.size())).first;
      }
      if (found != wideCodes_.end()) {
        code = found->second;
      } else {
        // Every code of the second font is taken: the character would read as U+FFFD, so the
        // document fails (the run says so and ends with 2) rather than lose it silently.
        wide = false;
        code = 0xFFFD;
        Output().RecordFailure(EOVERFLOW);
      }
    }
    if (!wide)
      bmpUsed_[code] = 1;
    if (wide != wideFont_) {
      if (open)
        cursor = PutLiteral(cursor, ") Tj ");
      open = false;
      cursor = PutFont(cursor, wide, size);
    }
    if (!open)
      *cursor++ = '(';
    open = true;
    cursor = PutCode(cursor, code);
  }
  blank = blank && open && !wideFont_;
  if (blank) {
    cursor = PutLiteral(cursor, "\0 ");
    bmpUsed_[0x20] = 1;
  }
  if (open)
    cursor = PutLiteral(cursor, ") Tj\n");
  return cursor;
}

char* PdfFormat::PutFont(char* cursor, bool wide, int32_t size) {
  cursor = wide ? PutLiteral(cursor, "/F2 ") : PutLiteral(cursor, "/F1 ");
  cursor = PutDecimal(cursor, size);
  wideFont_ = wide;
  return PutLiteral(cursor, " Tf ");
}

// The horizontal scaling (Tz, in percent) that stretches `codes` glyphs half an em wide at the
// font size to `width` pixels under a text matrix whose horizontal scale is `grow`:
// "83.333 Tz ". The decimals are as many as keep the stretched run within a twentieth of a
// pixel of its width (three at least, six at most), and a scaling that would round to 0, which
// some readers take as no text at all, is written as the least one instead.
char* PutScaling(char* cursor, int64_t width, int64_t codes, int64_t size, int64_t grow) {
  assert(grow == 1 || grow == 2);
  // No scan is 2^24 pixels wide; the bound keeps the numerator within what PutFraction takes.
  const int64_t numerator = 100 * std::min<int64_t>(width, int64_t{1} << 24) * pdf::kUnitsPerEm;
  const int64_t denominator = codes * size * pdf::kGlyphWidth * grow;
  const int64_t run =
      codes * size * grow;  // the run's width at 100 Tz, in thousandths of a pixel x 2
  int decimals = 3;
  int64_t power = 1000;
  while (decimals < 6 && power * 20 < run) {
    ++decimals;
    power *= 10;
  }
  // Rounded to 0 at six decimals: numerator * 2 * 10^6 < denominator.
  if (numerator < (denominator + 1999999) / 2000000)
    cursor = PutLiteral(cursor, "0.000001");
  else
    cursor = PutFraction(cursor, numerator, denominator, decimals);
  return PutLiteral(cursor, " Tz ");
}

void PdfFormat::WritePage(const RecordedPage& page) {
  if (!TakeNumber(page.number))
    return;
  const int32_t dpi = UsableResolution(page.resolution);
  const int64_t unit = PageUnit(page.width, page.height, dpi);
  content_.Clear();
  // Image pixels, y growing upward from the page's bottom edge.
  char* cursor = content_.Room(32 + 2 * kFractionRoom);
  cursor = PutLiteral(cursor, "q\n");
  cursor = PutFraction(cursor, 72, dpi * unit, 6);
  cursor = PutLiteral(cursor, " 0 0 ");
  cursor = PutFraction(cursor, 72, dpi * unit, 6);
  content_.Commit(PutLiteral(cursor, " 0 0 cm\nBT\n3 Tr\n"));
  const int64_t height = page.height;
  // Tz stays in force until the next one: a stretch equal to the one in force is not written
  // again (a blank's is often its word's).
  char scaling[kFractionRoom + 8];
  size_t scalingLength = 0;
  const auto putScaling = [&scaling, &scalingLength](char* at, int64_t width, int64_t codes,
                                                     int64_t size, int64_t grow) {
    char* const end = PutScaling(at, width, codes, size, grow);
    const size_t length = static_cast<size_t>(end - at);
    assert(length <= sizeof scaling);
    if (length == scalingLength && std::memcmp(at, scaling, length) == 0)
      return at;
    std::memcpy(scaling, at, length);
    scalingLength = length;
    return end;
  };
  // The last part of the broken word whose marked content is open, or of the last one closed.
  int32_t wholeEnd = -1;
  bool marked = false;  // the marked content is open
  for (const RecordedLine& line : page.lines) {
    const TextRect lineRect = Ordered(line.rect);
    const int32_t size = std::max<int32_t>(1, lineRect.bottom - lineRect.top);
    // The em spans the line: the baseline lies a descent above its bottom.
    const int64_t baseline =
        (height - lineRect.bottom) * pdf::kUnitsPerEm - int64_t{size} * pdf::kDescent;
    // The line's words share the baseline: its digits once, " 184.5 Tm ".
    char baselineText[kFractionRoom + 8];
    char* const baselineEnd =
        PutLiteral(PutFraction(baselineText + 1, baseline, pdf::kUnitsPerEm, 4), " Tm ");
    baselineText[0] = ' ';
    const size_t baselineLength = static_cast<size_t>(baselineEnd - baselineText);
    const int32_t end = line.firstWord + line.wordCount;
    for (int32_t w = line.firstWord; w < end; ++w) {
      const RecordedWord& word = page.words[static_cast<size_t>(w)];
      const TextRect rect = Ordered(word.rect);
      int32_t printedLength = 0;
      const uint16_t* printed = PrintedUnits(page, word, printedLength);
      const int32_t codes = CodeCount(printed, printedLength);
      const int32_t completing = word.broken && w > wholeEnd ? CompletingWord(page, w) : -1;
      const RecordedWord* whole =
          completing >= 0 ? &page.words[static_cast<size_t>(completing)] : nullptr;
      // Room for the head, the codes and a font change at each of them, the marks of a broken
      // word and the blank.
      cursor = content_.Room(168 + 3 * kFractionRoom + static_cast<size_t>(codes) * 40 +
                             (whole != nullptr ? WholeWordRoom(whole->length) : 0));
      if (whole != nullptr) {
        cursor = PutWholeWord(cursor, page, *whole);
        wholeEnd = completing;
        marked = true;
      }
      if (w == line.firstWord)
        cursor = PutFont(cursor, false, size);
      // Each word has a text matrix of its own, every other one scaled by 2 with Tz halved to
      // match: a reader that joins the glyphs of one matrix into one run of text (pdf.js)
      // keeps each word as its own run at its own box, and words a pixel apart stay apart.
      const int64_t grow = (w - line.firstWord) % 2 == 0 ? 1 : 2;
      // A right-to-left word's matrix is mirrored: its letters, in logical order, advance
      // leftward from its right edge, each on its own place on the page. Poppler's plain text,
      // pdfgrep and PDFium order a line's letters by their places and read them right;
      // MuPDF and Ghostscript keep the order they are written in, which is logical too.
      // Poppler's word boxes break at a letter left of the one before (each letter a word of
      // its own) and pdf.js reverses the letters of each run: letters laid left to right
      // (either order) suit fewer of the readers.
      const bool mirrored = text::WordReadsRightToLeft(printed, printedLength);
      if (mirrored)
        cursor = grow == 1 ? PutLiteral(cursor, "-1 0 0 1 ") : PutLiteral(cursor, "-2 0 0 1 ");
      else
        cursor = grow == 1 ? PutLiteral(cursor, "1 0 0 1 ") : PutLiteral(cursor, "2 0 0 1 ");
      cursor = PutDecimal(cursor, mirrored ? rect.right : rect.left);
      std::memcpy(cursor, baselineText, baselineLength);
      cursor += baselineLength;
      // The blank over the gap to the next word, a quarter of the font size at least: the
      // readers drop a narrower one and glue words that touch. The next word's matrix places
      // it, whatever the blank covers; after a mirrored word it runs leftward. When a glyph of
      // the word is as wide as that blank may be (at least the quarter, at most the gap), the
      // blank takes the word's stretch and follows its codes in the same string.
      bool blank = w + 1 < end;
      int64_t gap2 = 0;
      if (blank) {
        const TextRect next = Ordered(page.words[static_cast<size_t>(w + 1)].rect);
        const int64_t gap =
            mirrored ? int64_t{rect.left} - next.right : int64_t{next.left} - rect.right;
        gap2 = std::max<int64_t>(size / 2 + 1, 2 * gap);
      }
      const int64_t width = std::max<int64_t>(1, int64_t{rect.right} - rect.left);
      const int64_t glyphs = std::max<int64_t>(1, codes);
      // Glyphs are half an em wide: Tz stretches the word to its box.
      cursor = putScaling(cursor, width, glyphs, size, grow);
      // The marked content of a broken word ends before its blank.
      bool blankInString =
          blank && w != wholeEnd && 4 * width >= size * glyphs && 2 * width <= gap2 * glyphs;
      cursor = PutWordText(cursor, printed, printedLength, size, blankInString);
      if (blankInString)
        blank = false;
      if (w == wholeEnd) {
        cursor = PutLiteral(cursor, "EMC\n");
        marked = false;
      }
      if (blank) {
        cursor = putScaling(cursor, gap2, 2, size, grow);
        if (wideFont_)
          cursor = PutFont(cursor, false, size);
        // The blank's code, 0020, as the two bytes of a literal string.
        cursor = PutLiteral(cursor, "(\0 ) Tj\n");
        bmpUsed_[0x20] = 1;
      }
      content_.Commit(cursor);
    }
  }
  // Marked content ends within the text object, even if its last part were in no line.
  if (marked)
    content_.Append("EMC\n", 4);
  content_.Append("ET\nQ\n", 5);

  PageEntry entry;
  entry.object = NewObject();
  entry.width = page.width;
  entry.height = page.height;
  entry.resolution = page.resolution;
  const int32_t contents = NewObject();
  BeginObject(entry.object);
  cursor = Text().Room(64 + kDecimalRoom);
  cursor = PutLiteral(cursor, "<< /Type /Page /Parent 2 0 R");
  Text().Commit(cursor);
  PutMediaBox(page.width, page.height, page.resolution);
  cursor = Text().Room(64 + kDecimalRoom);
  cursor = PutLiteral(cursor, " /Resources 11 0 R /Contents ");
  cursor = PutDecimal(cursor, contents);
  Text().Commit(PutLiteral(cursor, " 0 R >>"));
  EndObject();
  BeginObject(contents);
  PutStream(content_.Data(), content_.Size());
  EndObject();
  pages_[page.number] = entry;
  Out();
}

void PdfFormat::PutEmptyPage(const PageEntry& size) {
  BeginObject(NewObject());
  PutText("<< /Type /Page /Parent 2 0 R");
  PutMediaBox(size.width, size.height, size.resolution);
  PutText(" /Resources 11 0 R >>");
  EndObject();
}

void PdfFormat::PutUnicodeMap(int32_t object, bool wide) {
  std::string map =
      "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
      "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
      "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
      "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
  std::vector<std::pair<uint32_t, uint32_t>> entries;  // code, character
  if (wide) {
    for (size_t i = 0; i < wideCharacters_.size(); ++i)
      entries.emplace_back(static_cast<uint32_t>(i + 1), wideCharacters_[i]);
  } else {
    for (uint32_t c = 0; c < bmpUsed_.size(); ++c) {
      if (bmpUsed_[c] != 0)
        entries.emplace_back(c, c);
    }
  }
  // At most 100 entries a block.
  char line[32];
  for (size_t first = 0; first < entries.size(); first += 100) {
    const size_t count = std::min<size_t>(100, entries.size() - first);
    map.append(line, PutDecimal(line, static_cast<int32_t>(count)));
    map += " beginbfchar\n";
    for (size_t i = first; i < first + count; ++i) {
      char* cursor = line;
      *cursor++ = '<';
      cursor = PutHex4(cursor, entries[i].first);
      cursor = PutLiteral(cursor, "> <");
      const uint32_t c = entries[i].second;
      if (c > 0xFFFF) {
        cursor = PutHex4(cursor, 0xD800 + ((c - 0x10000) >> 10));
        cursor = PutHex4(cursor, 0xDC00 + ((c - 0x10000) & 0x3FF));
      } else {
        cursor = PutHex4(cursor, c);
      }
      cursor = PutLiteral(cursor, ">\n");
      map.append(line, cursor);
    }
    map += "endbfchar\n";
  }
  map += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
  BeginObject(object);
  PutStream(map.data(), map.size());
  EndObject();
}

void PdfFormat::WriteEnd() {
  // The book: a page per number, the empty ones the size of the nearest written page before
  // them, or of the first.
  std::vector<int32_t> kids;
  PageEntry size;
  size.width = kDefaultWidth;
  size.height = kDefaultHeight;
  if (!pages_.empty())
    size = pages_.begin()->second;
  auto next = pages_.begin();
  for (int64_t n = 1; n <= highest_; ++n) {
    if (next != pages_.end() && next->first == n) {
      size = next->second;
      kids.push_back(next->second.object);
      ++next;
      continue;
    }
    kids.push_back(static_cast<int32_t>(offsets_.size()));
    PutEmptyPage(size);
    if (Text().Size() > (size_t{1} << 16))
      Out();
  }
  // A page tree without a page is one that readers refuse and overlay tools fail on: a run
  // that wrote no page gives one empty A4 page.
  if (kids.empty()) {
    kids.push_back(static_cast<int32_t>(offsets_.size()));
    PutEmptyPage(size);
  }

  BeginObject(kPages);
  char* cursor = Text().Room(48 + kDecimalRoom);
  cursor = PutLiteral(cursor, "<< /Type /Pages /Count ");
  cursor = PutDecimal(cursor, static_cast<int32_t>(kids.size()));
  Text().Commit(PutLiteral(cursor, " /Kids ["));
  for (size_t i = 0; i < kids.size(); ++i) {
    cursor = Text().Room(kDecimalRoom + 6);
    cursor = PutDecimal(cursor, kids[i]);
    Text().Commit(PutLiteral(cursor, " 0 R "));
    if (Text().Size() > (size_t{1} << 16))
      Out();
  }
  PutText("] >>");
  EndObject();

  BeginObject(kCatalog);
  // /UserUnit came with version 1.6.
  if (userUnits_)
    PutText("<< /Type /Catalog /Pages 2 0 R /Version /1.6 >>");
  else
    PutText("<< /Type /Catalog /Pages 2 0 R >>");
  EndObject();
  const bool wideUsed = !wideCharacters_.empty();
  BeginObject(kResources);
  PutText("<< /Font << /F1 3 0 R");
  if (wideUsed)
    PutText(" /F2 4 0 R");
  PutText(" >> /ProcSet [/PDF /Text] >>");
  EndObject();
  BeginObject(kBmpFont);
  PutText(
      "<< /Type /Font /Subtype /Type0 /BaseFont /OcrsiftInvisible /Encoding /Identity-H"
      " /DescendantFonts [5 0 R] /ToUnicode 9 0 R >>");
  EndObject();
  BeginObject(kWideFont);
  if (wideUsed) {
    PutText(
        "<< /Type /Font /Subtype /Type0 /BaseFont /OcrsiftInvisible /Encoding /Identity-H"
        " /DescendantFonts [5 0 R] /ToUnicode 10 0 R >>");
  } else {
    PutText("null");
  }
  EndObject();
  BeginObject(kCidFont);
  PutText(
      "<< /Type /Font /Subtype /CIDFontType2 /BaseFont /OcrsiftInvisible"
      " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >>"
      " /FontDescriptor 6 0 R /DW 500 /CIDToGIDMap 8 0 R >>");
  EndObject();
  BeginObject(kDescriptor);
  PutText(
      "<< /Type /FontDescriptor /FontName /OcrsiftInvisible /Flags 4"
      " /FontBBox [0 -200 500 800] /ItalicAngle 0 /Ascent 800 /Descent -200"
      " /CapHeight 800 /StemV 80 /FontFile2 7 0 R >>");
  EndObject();
  Out();
  BeginObject(kFontFile);
  const std::string& font = pdf::InvisibleFontFile();
  PutStream(font.data(), font.size());
  EndObject();
  // Every code to glyph 1: sending them to .notdef would make some converters write a font
  // subset per character.
  uint32_t highestCode = static_cast<uint32_t>(wideCharacters_.size());
  for (uint32_t c = highestCode + 1; c < bmpUsed_.size(); ++c) {
    if (bmpUsed_[c] != 0)
      highestCode = c;
  }
  std::string map(2 * (size_t{highestCode} + 1), '\0');
  for (size_t i = 1; i < map.size(); i += 2)
    map[i] = '\1';
  BeginObject(kCidToGid);
  PutStream(map.data(), map.size());
  EndObject();
  PutUnicodeMap(kBmpUnicode, false);
  if (wideUsed) {
    PutUnicodeMap(kWideUnicode, true);
  } else {
    BeginObject(kWideUnicode);
    PutText("null");
    EndObject();
  }
  BeginObject(kInfo);
  PutText("<< /Producer (ocrsift " OCRSIFT_VERSION ") >>");
  EndObject();
  Out();

  // The cross-reference table: 20 bytes an object.
  const int64_t xref = written_;
  cursor = Text().Room(32 + kDecimalRoom);
  cursor = PutLiteral(cursor, "xref\n0 ");
  cursor = PutDecimal(cursor, static_cast<int32_t>(offsets_.size()));
  Text().Commit(PutLiteral(cursor, "\n0000000000 65535 f \n"));
  for (size_t i = 1; i < offsets_.size(); ++i) {
    cursor = Text().Room(24);
    char digits[24];
    char* end = PutFraction(digits, std::max<int64_t>(0, offsets_[i]), 1, 0);
    const size_t length = static_cast<size_t>(end - digits);
    std::memset(cursor, '0', 10 - std::min<size_t>(10, length));
    cursor += 10 - std::min<size_t>(10, length);
    std::memcpy(cursor, digits, length);
    cursor += length;
    Text().Commit(PutLiteral(cursor, " 00000 n \n"));
    if (Text().Size() > (size_t{1} << 16))
      Out();
  }
  cursor = Text().Room(96 + 2 * kFractionRoom);
  cursor = PutLiteral(cursor, "trailer\n<< /Size ");
  cursor = PutDecimal(cursor, static_cast<int32_t>(offsets_.size()));
  cursor = PutLiteral(cursor, " /Root 1 0 R /Info 12 0 R >>\nstartxref\n");
  cursor = PutFraction(cursor, xref, 1, 0);
  Text().Commit(PutLiteral(cursor, "\n%%EOF\n"));
  Out();
}

}  // namespace

std::unique_ptr<DocumentFormat> MakePdfFormat(FILE* stream, const FormatSettings& /*settings*/) {
  return std::unique_ptr<DocumentFormat>(new (std::nothrow) PdfFormat(stream));
}
