#include "fuzz/document_check.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz/page_rules.h"
#include "fuzz/xml_check.h"
#include "fuzz/xml_tree.h"
#include "ocrsift/formats/format_registry.h"

#include <zlib.h>

namespace fuzz_support {

namespace {

struct Box {
  int64_t left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const Box& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

Box Ordered(Box b) {
  if (b.left > b.right)
    std::swap(b.left, b.right);
  if (b.top > b.bottom)
    std::swap(b.top, b.bottom);
  return b;
}

// The script measures from the page's bottom edge, the documents from its top.
Box FromTop(const ScriptRect& r, int32_t height) {
  return Ordered({r.left, int64_t{height} - r.upper, r.right, int64_t{height} - r.lower});
}

bool Inside(const Box& b, const Box& in) {
  return b.left >= in.left && b.right <= in.right && b.top >= in.top && b.bottom <= in.bottom;
}

Box PageBox(int64_t width, int64_t height) {
  return Ordered({0, 0, width, height});
}

// A word as every document holds it: without the blanks it ends in (djvused drops them).
std::string Trimmed(const std::string& word) {
  size_t n = word.size();
  while (n > 0 && word[n - 1] == ' ')
    --n;
  return word.substr(0, n);
}

// A script word as the XML documents hold it: every character XML forbids is U+FFFD.
std::string AsXml(const std::string& word) {
  std::string out;
  for (size_t i = 0; i < word.size();) {
    uint32_t c = 0;
    if (!NextChar(word, i, c)) {
      ++i;
      c = 0xFFFD;
    }
    AppendUtf8(out, XmlChar(c) ? c : 0xFFFD);
  }
  return out;
}

struct DocWord {
  std::string text;
  Box box;
};

struct DocPage {
  int64_t number = 0;
  int64_t width = 0, height = 0;
  std::vector<DocWord> words;
};

struct Failure {
  const std::string& document;
  void operator()(bool condition, const char* what) const { Require(condition, what, document); }
};

// The value of attribute `name` (as ` NAME="`) in the line, unescaped; false when absent.
bool Attribute(const std::string& line, const char* name, std::string& value) {
  const std::string head = std::string(" ") + name + "=\"";
  const size_t at = line.find(head);
  if (at == std::string::npos)
    return false;
  const size_t start = at + head.size();
  const size_t end = line.find('"', start);
  if (end == std::string::npos)
    return false;
  value = XmlValue(line.substr(start, end - start));
  return true;
}

int64_t Number(const std::string& text) {
  return std::strtoll(text.c_str(), nullptr, 10);
}

int64_t NumberAttribute(const std::string& line, const char* name, const Failure& fail) {
  std::string value;
  fail(Attribute(line, name, value), "an element lacks a number attribute");
  return Number(value);
}

// "bbox l t r b" at the start of text.
Box ReadBbox(const char* text, const Failure& fail) {
  fail(std::strncmp(text, "bbox ", 5) == 0, "a title that does not begin with its bbox");
  char* end = nullptr;
  Box b;
  b.left = std::strtoll(text + 5, &end, 10);
  b.top = std::strtoll(end, &end, 10);
  b.right = std::strtoll(end, &end, 10);
  b.bottom = std::strtoll(end, &end, 10);
  return b;
}

std::vector<std::string> Lines(const std::string& document) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < document.size()) {
    size_t end = document.find('\n', start);
    if (end == std::string::npos)
      end = document.size();
    lines.push_back(document.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::vector<DocPage> ReadHocr(const std::string& document, const Failure& fail) {
  std::vector<DocPage> pages;
  for (const std::string& line : Lines(document)) {
    const size_t title = line.find(" title=\"");
    if (title == std::string::npos || line.find("class=\"ocr") == std::string::npos)
      continue;
    const char* props = line.c_str() + title + 8;
    const Box box = ReadBbox(props, fail);
    if (line.find("class=\"ocr_page\"") != std::string::npos) {
      DocPage page;
      page.width = box.right;
      page.height = box.bottom;
      const size_t ppageno = line.find("; ppageno ");
      fail(ppageno != std::string::npos, "a page without ppageno");
      page.number = Number(line.substr(ppageno + 10)) + 1;
      pages.push_back(page);
      continue;
    }
    fail(!pages.empty(), "an element outside a page");
    const DocPage& page = pages.back();
    fail(Inside(Ordered(box), PageBox(page.width, page.height)), "a box beyond its page");
    if (line.find("class=\"ocrx_word\"") == std::string::npos)
      continue;
    // Every character box inside its word's.
    const size_t boxes = line.find("; x_bboxes", title);
    fail(boxes != std::string::npos, "a word without x_bboxes");
    const size_t textStart = line.find("\">", boxes) + 2;
    const std::string list = line.substr(boxes + 10, textStart - 2 - boxes - 10);
    const char* cursor = list.c_str();
    char* end = nullptr;
    for (;;) {
      Box character;
      character.left = std::strtoll(cursor, &end, 10);
      if (end == cursor)
        break;
      character.top = std::strtoll(end, &end, 10);
      character.right = std::strtoll(end, &end, 10);
      character.bottom = std::strtoll(end, &end, 10);
      cursor = end;
      fail(Inside(character, Ordered(box)), "a character box beyond its word's");
    }
    const size_t textEnd = line.rfind("</span>");
    fail(textEnd != std::string::npos && textEnd >= textStart, "a word not closed");
    pages.back().words.push_back({XmlValue(line.substr(textStart, textEnd - textStart)), box});
  }
  return pages;
}

std::vector<DocPage> ReadAlto(const std::string& document, const Failure& fail) {
  std::vector<DocPage> pages;
  for (const std::string& line : Lines(document)) {
    const size_t open = line.find('<');
    if (open == std::string::npos)
      continue;
    const std::string element = line.substr(open + 1, line.find(' ', open) - open - 1);
    if (element == "Page") {
      DocPage page;
      page.width = NumberAttribute(line, "WIDTH", fail);
      page.height = NumberAttribute(line, "HEIGHT", fail);
      page.number = NumberAttribute(line, "PHYSICAL_IMG_NR", fail);
      pages.push_back(page);
      continue;
    }
    if (element != "ComposedBlock" && element != "TextBlock" && element != "TextLine" &&
        element != "String")
      continue;
    fail(!pages.empty(), "an element outside a page");
    Box box;
    box.left = NumberAttribute(line, "HPOS", fail);
    box.top = NumberAttribute(line, "VPOS", fail);
    box.right = box.left + NumberAttribute(line, "WIDTH", fail);
    box.bottom = box.top + NumberAttribute(line, "HEIGHT", fail);
    DocPage& page = pages.back();
    fail(box.left <= box.right && box.top <= box.bottom, "a negative width or height");
    fail(Inside(box, PageBox(page.width, page.height)), "a box beyond its page");
    if (element != "String")
      continue;
    std::string content;
    std::string type;
    fail(Attribute(line, "CONTENT", content), "a String without CONTENT");
    fail(!content.empty(), "a String with an empty CONTENT");
    // -c: the glyphs share their String's line, each inside the String's box.
    for (size_t at = line.find("<Glyph "); at != std::string::npos;
         at = line.find("<Glyph ", at + 1)) {
      const std::string glyph = line.substr(at, line.find("/>", at) - at);
      Box g;
      g.left = NumberAttribute(glyph, "HPOS", fail);
      g.top = NumberAttribute(glyph, "VPOS", fail);
      g.right = g.left + NumberAttribute(glyph, "WIDTH", fail);
      g.bottom = g.top + NumberAttribute(glyph, "HEIGHT", fail);
      fail(Inside(g, box), "a Glyph beyond its String");
      std::string character;
      fail(Attribute(glyph, "CONTENT", character) && !character.empty(), "an empty Glyph");
    }
    // The script's word: the whole word for a second part, the content and its hyphen else.
    if (Attribute(line, "SUBS_TYPE", type) && type == "HypPart2") {
      fail(Attribute(line, "SUBS_CONTENT", content), "a HypPart2 without SUBS_CONTENT");
    } else if (line.find("<HYP CONTENT=\"-\"/>") != std::string::npos) {
      content += "-";
    }
    page.words.push_back({content, box});
  }
  return pages;
}

// The words of a PAGE document (its one page) as the script has them: a second part tied to its
// first by a join is the whole word, the first part's hyphen dropped.
std::vector<DocPage> ReadPage(const std::string& document, const Failure& fail) {
  std::vector<DocPage> pages;
  if (document.empty())
    return pages;
  const std::vector<std::string> problems = PageRuleProblems(document);
  fail(problems.empty(), problems.empty() ? "" : problems.front().c_str());
  XmlElement root;
  fail(ReadXmlTree(document, root).empty(), "PAGE not well formed");
  const XmlElement* element = root.Child("Page");
  fail(element != nullptr, "PAGE without a Page");
  DocPage page;
  page.width = Number(*element->Attribute("imageWidth"));
  page.height = Number(*element->Attribute("imageHeight"));
  const std::string* id = root.Attribute("pcGtsId");
  fail(id != nullptr && id->rfind('_') != std::string::npos, "PAGE without a numbered ID");
  page.number = Number(id->substr(id->rfind('_') + 1));
  std::map<std::string, std::string> firstParts;  // the joined word's ID: its first part's
  if (const XmlElement* relations = element->Child("Relations")) {
    for (const XmlElement* relation : relations->Children("Relation"))
      firstParts[*relation->Child("TargetRegionRef")->Attribute("regionRef")] =
          *relation->Child("SourceRegionRef")->Attribute("regionRef");
  }
  std::map<std::string, std::string> texts;
  for (const XmlElement* region : element->Children("TextRegion")) {
    for (const XmlElement* line : region->Children("TextLine")) {
      for (const XmlElement* word : line->Children("Word")) {
        const std::string& wordId = *word->Attribute("id");
        std::string text = word->Child("TextEquiv")->Child("Unicode")->text;
        texts[wordId] = text;
        const auto first = firstParts.find(wordId);
        if (first != firstParts.end()) {
          const std::string& part = texts[first->second];
          text = part.substr(0, part.size() - 1) + text;
        }
        Box box{INT64_MAX, INT64_MAX, INT64_MIN, INT64_MIN};
        std::istringstream points(*word->Child("Coords")->Attribute("points"));
        for (std::string point; points >> point;) {
          const int64_t x = Number(point);
          const int64_t y = Number(point.substr(point.find(',') + 1));
          box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x),
                 std::max(box.bottom, y)};
        }
        page.words.push_back({text, box});
      }
    }
  }
  pages.push_back(page);
  return pages;
}

// The text document as it must be: what djvutxt prints of the book.
std::string ExpectedText(const std::vector<const ScriptPage*>& book) {
  std::string text;
  for (const ScriptPage* page : book) {
    if (page->lines.empty())
      continue;
    for (const ScriptLine& line : page->lines) {
      for (const ScriptWord& word : line.words)
        text += Trimmed(word.text) + " ";
      text += "\n";
    }
    text += "\n\f";
  }
  return text;
}

// The stream's bytes inflated; false when they are no zlib stream.
bool Inflate(const std::string& in, std::string& out) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK)
    return false;
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
  z.avail_in = static_cast<uInt>(in.size());
  out.clear();
  char buffer[1 << 14];
  int result = Z_OK;
  while (result == Z_OK) {
    z.next_out = reinterpret_cast<Bytef*>(buffer);
    z.avail_out = sizeof buffer;
    result = inflate(&z, Z_NO_FLUSH);
    out.append(buffer, sizeof buffer - z.avail_out);
  }
  inflateEnd(&z);
  return result == Z_STREAM_END;
}

// The codes a ToUnicode map lists.
std::vector<bool> MappedCodes(const std::string& map) {
  std::vector<bool> codes(0x10000, false);
  for (size_t at = map.find("\n<"); at != std::string::npos; at = map.find("\n<", at + 1)) {
    const unsigned long code = std::strtoul(map.c_str() + at + 2, nullptr, 16);
    if (code < codes.size() && map.compare(at + 6, 3, "> <") == 0)
      codes[code] = true;
  }
  return codes;
}

// The structure of the PDF: every object where the cross-reference table says, every stream
// as long as its /Length, each content stream's BT and ET balanced, every code shown covered by
// its font's ToUnicode map, and one page per page number up to the book's highest.
void CheckPdf(const std::string& pdf, const Script& script, const Failure& fail) {
  fail(pdf.compare(0, 9, "%PDF-1.5\n") == 0, "no PDF header");
  const size_t startxref = pdf.rfind("startxref\n");
  fail(startxref != std::string::npos, "no startxref");
  const size_t xref = std::strtoull(pdf.c_str() + startxref + 10, nullptr, 10);
  fail(pdf.compare(xref, 7, "xref\n0 ") == 0, "startxref does not point to the table");
  const long count = std::strtol(pdf.c_str() + xref + 7, nullptr, 10);
  size_t entry = pdf.find('\n', xref + 7) + 1 + 20;
  std::map<long, std::string> streams;  // object number: inflated stream
  for (long object = 1; object < count; ++object, entry += 20) {
    fail(entry + 20 <= pdf.size(), "the table is cut short");
    const size_t offset = std::strtoull(pdf.c_str() + entry, nullptr, 10);
    const std::string head = std::to_string(object) + " 0 obj\n";
    fail(pdf.compare(offset, head.size(), head) == 0, "an object not where the table says");
    const size_t body = offset + head.size();
    const size_t end = pdf.find("\nendobj\n", body);
    fail(end != std::string::npos, "an object without endobj");
    const size_t length = pdf.find("<< /Length ", body);
    if (length != body)
      continue;
    const size_t n = std::strtoull(pdf.c_str() + length + 11, nullptr, 10);
    const size_t data = pdf.find(">>\nstream\n", length) + 10;
    fail(pdf.compare(data + n, 11, "\nendstream\n") == 0, "a stream whose /Length is wrong");
    std::string inflated;
    fail(Inflate(pdf.substr(data, n), inflated), "a stream that does not inflate");
    streams[object] = inflated;
  }
  fail(pdf.compare(entry, 8, "trailer\n") == 0, "no trailer after the table");
  const std::vector<bool> bmp = MappedCodes(streams[9]);
  const std::vector<bool> wide = MappedCodes(streams[10]);
  for (const auto& stream : streams) {
    const std::string& text = stream.second;
    if (text.compare(0, 2, "q\n") != 0)
      continue;
    size_t opened = 0;
    size_t closed = 0;
    bool inWide = false;
    for (size_t i = 0; i < text.size(); ++i) {
      if (text.compare(i, 3, "BT\n") == 0)
        ++opened;
      if (text.compare(i, 3, "ET\n") == 0)
        ++closed;
      if (text.compare(i, 4, "/F1 ") == 0)
        inWide = false;
      if (text.compare(i, 4, "/F2 ") == 0)
        inWide = true;
      if (text[i] != '(')
        continue;
      // A literal string of two-byte codes: its parentheses, backslash and carriage return
      // escaped, no other byte.
      const size_t begin = i;
      std::string bytes;
      size_t k = i + 1;
      for (; k < text.size() && text[k] != ')'; ++k) {
        if (text[k] == '\\') {
          if (++k == text.size())
            break;
          fail(std::strchr("()\\r", text[k]) != nullptr, "a malformed string");
          bytes += text[k] == 'r' ? '\r' : text[k];
        } else {
          fail(text[k] != '(' && text[k] != '\r', "a malformed string");
          bytes += text[k];
        }
      }
      fail(k < text.size(), "a malformed string");
      i = k;
      // The whole word of a broken pair, as the marked content's ActualText: printable ASCII,
      // or UTF-16 after its byte order mark.
      if (begin >= 11 && text.compare(begin - 11, 11, "/ActualText") == 0) {
        const bool utf16 = bytes.compare(0, 2, "\xFE\xFF") == 0;
        fail(utf16 ? bytes.size() % 2 == 0
                   : std::all_of(bytes.begin(), bytes.end(),
                                 [](char c) { return c >= 0x20 && c < 0x7F; }),
             "an ActualText neither ASCII nor UTF-16");
        continue;
      }
      fail(bytes.size() % 2 == 0, "a malformed string");
      for (size_t b = 0; b + 1 < bytes.size(); b += 2) {
        const unsigned code =
            static_cast<unsigned char>(bytes[b]) * 256u + static_cast<unsigned char>(bytes[b + 1]);
        fail((inWide ? wide : bmp)[code], "a code that its ToUnicode map does not cover");
      }
    }
    fail(opened == 1 && closed == 1, "BT and ET unbalanced");
  }
  const std::vector<const ScriptPage*> book = BookPages(script);
  const size_t pages = pdf.find("<< /Type /Pages /Count ");
  fail(pages != std::string::npos, "no page tree");
  const long highest = book.empty() ? 0 : book.back()->select;
  fail(std::strtol(pdf.c_str() + pages + 23, nullptr, 10) >= highest,
       "fewer pages than the book's highest number");
}

}  // namespace

std::vector<const ScriptPage*> BookPages(const Script& script) {
  std::map<int32_t, const ScriptPage*> pages;
  for (const ScriptPage& page : script.pages) {
    if (page.closed)
      pages[page.select] = &page;
  }
  std::vector<const ScriptPage*> book;
  for (const auto& page : pages)
    book.push_back(page.second);
  return book;
}

void RequireSameStory(const std::string& format, const std::string& document,
                      const Script& script) {
  const std::vector<const ScriptPage*> book = BookPages(script);
  const Failure fail{document};
  if (format == "pdf") {
    CheckPdf(document, script, fail);
    return;
  }
  if (format == "text") {
    fail(document == ExpectedText(book), "the text is not what djvutxt prints of the book");
    return;
  }
  const std::vector<DocPage> pages = format == "hocr"   ? ReadHocr(document, fail)
                                     : format == "page" ? ReadPage(document, fail)
                                                        : ReadAlto(document, fail);
  fail(pages.size() == book.size(), "not one page per page of the book");
  for (size_t p = 0; p < pages.size(); ++p) {
    const DocPage& page = pages[p];
    const ScriptPage& expected = *book[p];
    fail(page.number == expected.select, "a page out of the book's order");
    fail(page.width == expected.width && page.height == expected.height,
         "a page of another size than the script's");
    size_t w = 0;
    for (const ScriptLine& line : expected.lines) {
      for (const ScriptWord& word : line.words) {
        fail(w < page.words.size(), "a word of the script missing");
        const DocWord& found = page.words[w++];
        // A PAGE word completing a word whose first part is not on the page (left out of
        // every format) holds only its own letters.
        const std::string expectedText = AsXml(Trimmed(word.text));
        fail(found.text == expectedText ||
                 (format == "page" && !found.text.empty() &&
                  found.text.size() < expectedText.size() &&
                  expectedText.compare(expectedText.size() - found.text.size(), found.text.size(),
                                       found.text) == 0),
             "a word other than the script's");
        fail(Ordered(found.box) == FromTop(word.rect, expected.height),
             "a word placed otherwise than in the script");
      }
    }
    fail(w == page.words.size(), "a word that the script does not have");
  }
}

void CheckOtherFormat(const std::vector<std::string>& files, BatchOptions options,
                      const BatchResult& scriptRun, size_t pick) {
  // The formats of the registry but the script; PAGE (a page file) holds the page of one
  // file. Every other pick with -c.
  std::vector<const char*> formats;
  for (const FormatRow& row : AllFormats()) {
    if (&row != &DefaultFormat() && (row.kind == FormatKind::kStream || files.size() == 1))
      formats.push_back(row.name);
  }
  const char* format = formats[pick % formats.size()];
  options.arguments.push_back("-o");
  options.arguments.push_back(format);
  if (pick / formats.size() % 2 == 1)
    options.arguments.push_back("-c");
  const BatchResult run = RunBatchOnFiles(files, options);
  const Script script = RequireScript(scriptRun.script);
  const std::vector<const ScriptPage*> book = BookPages(script);
  // A page without a positive side has no PAGE coordinates: refused, and the run fails.
  const bool refused = std::strcmp(format, "page") == 0 && book.size() == 1 &&
                       (book[0]->width <= 0 || book[0]->height <= 0);
  Require(run.result == (refused ? 2 : scriptRun.result),
          "another format ended otherwise than the script", run.script);
  if (refused) {
    Require(run.script.empty(), "a refused PAGE page written", run.script);
    return;
  }
  if (std::strcmp(format, "text") != 0 && std::strcmp(format, "pdf") != 0 &&
      std::strcmp(format, "page") != 0) {
    const std::string problem = XmlProblem(run.script);
    Require(problem.empty(), problem.c_str(), run.script);
  }
  RequireSameStory(format, run.script, script);
}

}  // namespace fuzz_support
