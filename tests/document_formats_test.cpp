#include "ocrsift/formats/document_formats.h"
#include "fuzz/page_rules.h"
#include "ocrsift/formats/page_image_name.h"
#include "ocrsift/formats/pdf_font.h"
#include "ocrsift/formats/pdf_page_limit.h"
#include "ocrsift/formats/text_direction.h"
#include "ocrsift/formats/xml_text.h"
#include "ocrsift/page/page_recorder.h"
#include "ocrsift/page/text_marks.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr uint16_t H = MARK_HYPHEN;
constexpr uint16_t E = MARK_LINE_END;

struct LineRecord {
  int32_t left, top, right, bottom, count;
};

// One text block as the block parser hands it over.
struct Block {
  std::u16string text;
  std::vector<CharBox> boxes;
  std::vector<LineRecord> lines;
};

void Feed(PageTextSink& writer, const Block& block) {
  writer.SetText(reinterpret_cast<const uint16_t*>(block.text.data()),
                 static_cast<int32_t>(block.text.size()));
  writer.ResetBoxes(static_cast<int32_t>(block.boxes.size()));
  for (const CharBox& b : block.boxes)
    writer.AddBox(b.left, b.top, b.right, b.bottom);
  for (const LineRecord& l : block.lines)
    writer.EmitLine(l.left, l.top, l.right, l.bottom, l.count);
}

// Every byte written to a temporary file, which is closed.
std::string ContentsAndClose(FILE* file) {
  fflush(file);
  std::string bytes;
  rewind(file);
  for (int c; (c = fgetc(file)) != EOF;)
    bytes.push_back(static_cast<char>(c));
  fclose(file);
  return bytes;
}

using MakeFormat = std::unique_ptr<DocumentFormat> (*)(FILE*, const FormatSettings&);

// A whole document of one format: begin, the pages fed through the recorder as the parsers
// feed it, end, flush.
void FeedDocument(DocumentFormat& format, const std::function<void(PageTextSink&)>& feed, bool join,
                  PageArrival arrival) {
  PageRecorder recorder(format, format.Recording(join));
  format.BeginDocument(arrival);
  feed(recorder);
  recorder.Finish();
  format.EndDocument();
  EXPECT_TRUE(format.Flush());
}

// The whole document against a temporary file; every byte that reached it.
std::string Document(MakeFormat makeFormat, const std::function<void(PageTextSink&)>& feed,
                     bool join = true, const FormatSettings& settings = FormatSettings()) {
  FILE* file = tmpfile();
  EXPECT_NE(file, nullptr);
  std::unique_ptr<DocumentFormat> format = makeFormat(file, settings);
  FeedDocument(*format, feed, join, PageArrival::kAnyOrder);
  return ContentsAndClose(file);
}

std::string Script(const std::function<void(PageTextSink&)>& feed, bool join = true) {
  return Document(MakeDjvusedFormat, feed, join);
}

// A block of one line whose every code unit gets a 10-pixel-wide box, one after the other.
Block SimpleLine(const std::u16string& text, bool lastLine = true) {
  Block block;
  block.text = text;
  for (size_t i = 0; i < text.size(); ++i) {
    uint16_t x = static_cast<uint16_t>(10 * i);
    block.boxes.push_back({x, 100, static_cast<uint16_t>(x + 10), 120});
  }
  int32_t count = static_cast<int32_t>(text.size());
  block.lines.push_back({0, 0, 0, 0, count});
  // A further line makes the first one a non-last line of its block.
  if (!lastLine) {
    block.text += u"z";
    block.boxes.push_back({150, 100, 160, 120});
    block.lines.push_back({150, 100, 160, 120, 1});
  }
  return block;
}

// The page block around the given body, page 1 of 200x1000 pixels, then "save".
std::string OnePage(const std::string& body) {
  return "\n# -------------------------------------\nselect 1\nremove-txt\nset-txt"
         "\n(page 0 0 200 1000" +
         body + "\n)\n\n.\n\n\nsave\n";
}

std::string OnePageScript(const Block& block, bool join = true) {
  return Script(
      [&](PageTextSink& w) {
        w.BeginPage(1, 200, 1000);
        Feed(w, block);
        w.EndPage();
      },
      join);
}

Block WorkedExample() {
  Block block;
  block.text = std::u16string(u"Hello wor") + char16_t(H) + char16_t(E) + u"ld.";
  block.boxes = {{100, 200, 140, 250}, {145, 215, 180, 250}, {185, 200, 200, 250},
                 {205, 200, 220, 250}, {225, 215, 260, 250}, {260, 215, 300, 250},
                 {300, 215, 340, 250}, {345, 215, 380, 250}, {385, 215, 410, 250},
                 {415, 225, 430, 240}, {430, 215, 440, 250}, {100, 300, 115, 350},
                 {120, 300, 150, 350}, {155, 340, 165, 350}};
  block.lines = {{100, 200, 440, 260, 11}, {100, 300, 200, 360, 3}};
  return block;
}

std::string WorkedExampleScript(bool join) {
  return Script(
      [](PageTextSink& w) {
        w.BeginPage(5, 2480, 3508);
        Feed(w, WorkedExample());
        w.EndPage();
      },
      join);
}

TEST(DjvusedFormatTest, WorkedExample) {
  // The word broken at the line end is written as its first part and "- "; the next word
  // carries the whole word, or under -h only its own part.
  for (const bool join : {true, false}) {
    EXPECT_EQ(WorkedExampleScript(join),
              "\n# -------------------------------------\n"
              "select 5\n"
              "remove-txt\n"
              "set-txt\n"
              "(page 0 0 2480 3508\n"
              " (line 100 3308 440 3248\n"
              "  (word 100 3308 260 3258 \"Hello\")\n"
              "  (word 300 3293 440 3258 \"wor- \"))\n"
              " (line 100 3208 200 3148\n"
              "  (word 100 3208 165 3158 \"" +
                  std::string(join ? "world." : "ld.") +
                  "\"))\n"
                  ")\n"
                  "\n"
                  ".\n"
                  "\n"
                  "\n"
                  "save\n");
  }
}

TEST(DjvusedFormatTest, PageFrames) {
  // No page begun: only the closing command.
  EXPECT_EQ(Script([](PageTextSink&) {}), "\n\nsave\n");

  // Page -1 has no select line; a page without text blocks is header and end alone.
  EXPECT_EQ(Script([](PageTextSink& w) {
              w.BeginPage(-1, 10, 20);
              w.EndPage();
            }),
            "\n# -------------------------------------\nremove-txt\nset-txt\n(page 0 0 10 20"
            "\n)\n\n.\n\n\nsave\n");

  // Two pages; a second EndPage writes nothing more.
  EXPECT_EQ(Script([](PageTextSink& w) {
              w.BeginPage(0, 10, 20);
              w.EndPage();
              w.EndPage();
              w.BeginPage(1, 30, 40);
              w.EndPage();
            }),
            "\n# -------------------------------------\nselect 0\nremove-txt\nset-txt"
            "\n(page 0 0 10 20\n)\n\n.\n"
            "\n# -------------------------------------\nselect 1\nremove-txt\nset-txt"
            "\n(page 0 0 30 40\n)\n\n.\n\n\nsave\n");
}

TEST(DjvusedFormatTest, TheExploringModesWriteNoDocument) {
  const auto run = [](PageTextSink& w) {
    w.BeginPage(5, 2480, 3508);
    Feed(w, WorkedExample());
    w.EndPage();
    w.BeginPage(6, 2480, 3508);
    Feed(w, SimpleLine(u"more text"));
    w.FailPage();
  };
  EXPECT_EQ(Document([](FILE*, const FormatSettings&) { return MakeNoDocument(); }, run), "");
  // The same pages as a script do write: the feeding above is not empty.
  EXPECT_NE(Script(run), "");
}

TEST(DjvusedFormatTest, WordSplitting) {
  // Blanks and tabs only: no line entry and no closing parenthesis.
  EXPECT_EQ(OnePageScript(SimpleLine(u" \t  \t")), OnePage(""));
  // Runs of blanks give no empty words; a tab separates like a blank.
  EXPECT_EQ(OnePageScript(SimpleLine(u"ab  \t c\td")), OnePage("\n (line 0 900 90 880"
                                                               "\n  (word 0 900 20 880 \"ab\")"
                                                               "\n  (word 60 900 70 880 \"c\")"
                                                               "\n  (word 80 900 90 880 \"d\")"
                                                               ")"));
  // The last line of a block keeps its last code unit, whatever it is.
  EXPECT_EQ(OnePageScript(SimpleLine(u"ab")),
            OnePage("\n (line 0 900 20 880\n  (word 0 900 20 880 \"ab\"))"));
  // Any other line loses it; the removed unit's box stays in the rectangle.
  EXPECT_EQ(OnePageScript(SimpleLine(u"ab", false)),
            OnePage("\n (line 0 900 20 880\n  (word 0 900 20 880 \"a\"))"
                    "\n (line 150 900 160 880\n  (word 150 900 160 880 \"z\"))"));
  // A line that ends in a blank: the word before the blank loses its last unit.
  EXPECT_EQ(OnePageScript(SimpleLine(u"ab cd ", false)),
            OnePage("\n (line 0 900 60 880\n  (word 0 900 20 880 \"ab\")"
                    "\n  (word 30 900 50 880 \"c\"))"
                    "\n (line 150 900 160 880\n  (word 150 900 160 880 \"z\"))"));
  // A non-last line of one code unit yields no word at all.
  EXPECT_EQ(OnePageScript(SimpleLine(u"x", false)),
            OnePage("\n (line 150 900 160 880\n  (word 150 900 160 880 \"z\"))"));
  // Marks that stay inside a word are written as raw bytes; a hyphen mark ending a word in
  // the middle of a line makes it a broken word.
  EXPECT_EQ(OnePageScript(SimpleLine(std::u16string(u"a") + char16_t(H) + u"b" + char16_t(E) +
                                     u"c a" + char16_t(H) + u" q")),
            OnePage("\n (line 0 900 100 880"
                    "\n  (word 0 900 50 880 \"a\x01"
                    "b\x02"
                    "c\")"
                    "\n  (word 60 900 80 880 \"a- \")"
                    "\n  (word 90 900 100 880 \"aq\"))"));
  // SetText with no units and a line of 0 units write nothing.
  EXPECT_EQ(OnePageScript(Block{u"", {}, {{1, 2, 3, 4, 0}}}), OnePage(""));
}

TEST(DjvusedFormatTest, Rectangles) {
  // Upper edge second, lower edge fourth, both measured from the page's bottom edge.
  Block block{u"ab", {{10, 100, 20, 150}, {22, 90, 30, 140}}, {{5, 80, 40, 160, 2}}};
  EXPECT_EQ(OnePageScript(block), OnePage("\n (line 5 920 40 840\n  (word 10 910 30 850 \"ab\"))"));
  // Zero width and zero height: right one larger, the fourth number one smaller, for the
  // word and for the line record alike.
  block = {u"a", {{10, 100, 10, 100}}, {{7, 60, 7, 60, 1}}};
  EXPECT_EQ(OnePageScript(block), OnePage("\n (line 7 940 8 939\n  (word 10 900 11 899 \"a\"))"));
  // A line record with left and right 0 takes the span of its own units' boxes (the record's
  // top and bottom ignored); the right edge is that of the last unit, blanks included.
  block = {u"ab c",
           {{10, 100, 20, 150}, {22, 90, 30, 140}, {31, 95, 35, 160}, {40, 99, 50, 155}},
           {{0, 1, 0, 2, 4}}};
  EXPECT_EQ(OnePageScript(block), OnePage("\n (line 10 910 50 840"
                                          "\n  (word 10 910 30 850 \"ab\")"
                                          "\n  (word 40 901 50 845 \"c\"))"));
  // Only the boxes of the line's own units count, not those of an earlier line.
  block = {u"ab\x02z",
           {{10, 10, 20, 20}, {22, 10, 30, 20}, {30, 10, 32, 20}, {40, 500, 50, 520}},
           {{1, 10, 32, 20, 3}, {0, 0, 0, 0, 1}}};
  EXPECT_EQ(OnePageScript(block), OnePage("\n (line 1 990 32 980"
                                          "\n  (word 10 990 32 980 \"ab\"))"
                                          "\n (line 40 500 50 480"
                                          "\n  (word 40 500 50 480 \"z\"))"));
  // A damaged line record far above the page runs from its top to y 40: the script and the
  // other formats place it alike, with no 32-bit wrap in between.
  const auto farAbove = [](PageTextSink& w) {
    w.BeginPage(1, 2480, 3508);
    Feed(w, Block{u"x", {}, {{10, -2147483600, 2000, 40, 1}}});
    w.EndPage();
  };
  EXPECT_NE(Script(farAbove).find("\n (line 10 3508 2000 3468\n  (word 10 3508 2000 3468 \"x\"))"),
            std::string::npos)
      << Script(farAbove);
  EXPECT_NE(Document(MakeHocrFormat, farAbove).find("id=\"line_1_1\" title=\"bbox 10 0 2000 40\""),
            std::string::npos);
  // AddBox beyond the declared count keeps the first boxes.
  std::string s = Script([](PageTextSink& w) {
    w.BeginPage(1, 200, 1000);
    const uint16_t text[] = {'a', 'b'};
    w.SetText(text, 2);
    w.ResetBoxes(2);
    w.AddBox(1, 2, 3, 4);
    w.AddBox(5, 6, 7, 8);
    w.AddBox(100, 200, 300, 400);
    w.EmitLine(0, 0, 0, 0, 2);
    w.EndPage();
  });
  EXPECT_EQ(s, OnePage("\n (line 1 998 7 992\n  (word 1 998 7 992 \"ab\"))"));
}

TEST(DjvusedFormatTest, Escapes) {
  std::u16string text = u"(1) \"q\" a\\b \u00e9 x\ny\rz \x07\x7f";
  std::string s = OnePageScript(Block{text, {}, {{1, 2, 3, 4, static_cast<int32_t>(text.size())}}});
  // Without boxes every word takes its line's rectangle.
  EXPECT_EQ(s, OnePage("\n (line 1 998 3 996"
                       "\n  (word 1 998 3 996 \"\\0501\\051\")"
                       "\n  (word 1 998 3 996 \"\\042q\\042\")"
                       "\n  (word 1 998 3 996 \"a\\134b\")"
                       "\n  (word 1 998 3 996 \"\\303\\251\")"
                       "\n  (word 1 998 3 996 \"x\\012y\\015z\")"
                       "\n  (word 1 998 3 996 \"\x07\x7f\"))"));
  // Plain letters and digits go unescaped.
  EXPECT_EQ(OnePageScript(Block{u"Ab09", {}, {{1, 2, 3, 4, 4}}}),
            OnePage("\n (line 1 998 3 996\n  (word 1 998 3 996 \"Ab09\"))"));
}

TEST(DjvusedFormatTest, SurrogatesAndNonAscii) {
  // U+1F600 as a pair gives one four-byte sequence; an unpaired surrogate gives U+FFFD;
  // Cyrillic takes two bytes per letter.
  std::u16string text = u"\U0001F600 \xD800x \xDC00 \u0416\u044F";
  std::string s = OnePageScript(Block{text, {}, {{1, 2, 3, 4, static_cast<int32_t>(text.size())}}});
  EXPECT_EQ(s, OnePage("\n (line 1 998 3 996"
                       "\n  (word 1 998 3 996 \"\\360\\237\\230\\200\")"
                       "\n  (word 1 998 3 996 \"\\357\\277\\275x\")"
                       "\n  (word 1 998 3 996 \"\\357\\277\\275\")"
                       "\n  (word 1 998 3 996 \"\\320\\226\\321\\217\"))"));
}

TEST(DjvusedFormatTest, HyphenCarryAcrossBlocksAndPages) {
  Block first = SimpleLine(std::u16string(u"ex") + char16_t(H), true);
  Block second = SimpleLine(u"ample next");
  // Across text blocks of one page: the broken word is the block's last, so it keeps its
  // mark as last unit and counts as broken.
  std::string s = Script([&](PageTextSink& w) {
    w.BeginPage(1, 200, 1000);
    Feed(w, first);
    Feed(w, second);
    w.EndPage();
  });
  EXPECT_EQ(s, OnePage("\n (line 0 900 30 880\n  (word 0 900 30 880 \"ex- \"))"
                       "\n (line 0 900 100 880\n  (word 0 900 50 880 \"example\")"
                       "\n  (word 60 900 100 880 \"next\"))"));
  // Across pages, after a page whose remaining lines have no word.
  s = Script([&](PageTextSink& w) {
    w.BeginPage(1, 200, 1000);
    Feed(w, first);
    Feed(w, SimpleLine(u"  "));
    w.EndPage();
    w.BeginPage(2, 200, 1000);
    Feed(w, second);
    w.EndPage();
  });
  EXPECT_NE(s.find("\"ex- \""), std::string::npos);
  EXPECT_NE(s.find("select 2\nremove-txt\nset-txt\n(page 0 0 200 1000\n (line 0 900 100 880"
                   "\n  (word 0 900 50 880 \"example\")"),
            std::string::npos);
  // Without joining the fragment never reaches a later word.
  s = Script(
      [&](PageTextSink& w) {
        w.BeginPage(1, 200, 1000);
        Feed(w, first);
        Feed(w, second);
        w.EndPage();
      },
      false);
  EXPECT_NE(s.find("\"ex- \""), std::string::npos);
  EXPECT_NE(s.find("\"ample\""), std::string::npos);
  EXPECT_EQ(s.find("example"), std::string::npos);
  // A second broken word replaces the first fragment; the earlier one is lost.
  EXPECT_EQ(OnePageScript(
                SimpleLine(std::u16string(u"ab") + char16_t(H) + u" cd" + char16_t(H) + u" ef g")),
            OnePage("\n (line 0 900 120 880"
                    "\n  (word 0 900 30 880 \"ab- \")"
                    "\n  (word 40 900 70 880 \"cd- \")"
                    "\n  (word 80 900 100 880 \"cdef\")"
                    "\n  (word 110 900 120 880 \"g\"))"));
}

TEST(DjvusedFormatTest, JoinLimit) {
  // Fragment of 497 units and a word of 1: 1 + 497 + 1 = 499 is below 500, so they join.
  std::u16string longPart(497, u'a');
  Block block{
      longPart + char16_t(H) + char16_t(E) + u"b", {}, {{1, 2, 3, 4, 499}, {1, 2, 3, 4, 1}}};
  std::string s = OnePageScript(block);
  EXPECT_NE(s.find("\"" + std::string(497, 'a') + "- \""), std::string::npos);
  EXPECT_NE(s.find("\"" + std::string(497, 'a') + "b\""), std::string::npos);
  // A word of 2: 2 + 497 + 1 = 500 is not below 500; the word stands alone and the fragment
  // is given up, never joining a later, unrelated word.
  block = {
      longPart + char16_t(H) + char16_t(E) + u"bc d", {}, {{1, 2, 3, 4, 499}, {1, 2, 3, 4, 4}}};
  s = OnePageScript(block);
  EXPECT_NE(s.find("\"bc\""), std::string::npos);
  EXPECT_NE(s.find("\"d\""), std::string::npos);
  EXPECT_EQ(s.find(std::string(497, 'a') + "d"), std::string::npos);
}

TEST(DjvusedFormatTest, Utf8Limit) {
  // 499 ASCII units make 499 bytes and the zero: the word fits.
  std::u16string fits(499, u'a');
  EXPECT_EQ(
      OnePageScript(Block{fits, {}, {{1, 2, 3, 4, 499}}}),
      OnePage("\n (line 1 998 3 996\n  (word 1 998 3 996 \"" + std::string(499, 'a') + "\"))"));
  // The longest word in escapes: 166 euro signs and a parenthesis make 499 bytes, each written
  // as four characters, all of them in the entry.
  std::string escaped;
  for (int i = 0; i < 166; ++i)
    escaped += "\\342\\202\\254";
  escaped += "\\050";
  EXPECT_EQ(OnePageScript(Block{std::u16string(166, u'\u20ac') + u"(", {}, {{1, 2, 3, 4, 167}}}),
            OnePage("\n (line 1 998 3 996\n  (word 1 998 3 996 \"" + escaped + "\"))"));
  // 250 two-byte letters make 500 bytes and the zero: left out. The line entry opens with
  // the first word that is written, with the line's own rectangle; a line whose every word is
  // left out is not written at all, since djvused rejects a line without words.
  std::u16string tooLong(250, u'\u00e9');
  EXPECT_EQ(OnePageScript(Block{tooLong + u" ok", {}, {{1, 2, 3, 4, 253}}}),
            OnePage("\n (line 1 998 3 996\n  (word 1 998 3 996 \"ok\"))"));
  EXPECT_EQ(OnePageScript(Block{tooLong, {}, {{1, 2, 3, 4, 250}}}), OnePage(""));
  // A word beginning with U+0000 is empty in UTF-8 and left out the same way.
  EXPECT_EQ(
      OnePageScript(Block{std::u16string(1, u'\0') + u"x " + tooLong, {}, {{1, 2, 3, 4, 253}}}),
      OnePage(""));
  EXPECT_EQ(OnePageScript(Block{std::u16string(1, u'\0') + u"x ok", {}, {{1, 2, 3, 4, 5}}}),
            OnePage("\n (line 1 998 3 996\n  (word 1 998 3 996 \"ok\"))"));
  // A broken word of 498 units plus its mark becomes 500 bytes with "- ": not written, but
  // its fragment is recorded and given up at the next word, which cannot take it (1 + 498 + 1
  // = 500).
  std::u16string broken = std::u16string(498, u'a') + char16_t(H) + char16_t(E) + u"b";
  EXPECT_EQ(OnePageScript(Block{broken, {}, {{1, 2, 3, 4, 500}, {1, 2, 3, 4, 1}}}),
            OnePage("\n (line 1 998 3 996\n  (word 1 998 3 996 \"b\"))"));
}

TEST(DjvusedFormatTest, OverlongWordsAreCutIntoBufferSizedWords) {
  // A word reaching 499 units is ended there and written; the rest starts a new word.
  std::u16string text(1200, u'a');
  std::vector<CharBox> boxes;
  for (int i = 0; i < 1200; ++i)
    boxes.push_back({static_cast<uint16_t>(i), 0, static_cast<uint16_t>(i + 1), 10});
  std::string s = OnePageScript(Block{text, boxes, {{0, 0, 0, 0, 1200}}});
  // The page is 200 pixels wide: edges beyond it are clipped, and a word that would collapse
  // on the page's edge keeps one pixel inside it.
  EXPECT_EQ(s, OnePage("\n (line 0 1000 200 990"
                       "\n  (word 0 1000 200 990 \"" +
                       std::string(499, 'a') + "\")" + "\n  (word 199 1000 200 990 \"" +
                       std::string(499, 'a') + "\")" + "\n  (word 199 1000 200 990 \"" +
                       std::string(202, 'a') + "\"))"));
  // A hyphen mark arriving as the 500th unit begins a new word, which is then a broken word
  // with an empty first part: written as "- ", it drops the fragment pending before it (the
  // long word could not take the fragment: 499 + 1 + 1 is not below 500).
  std::u16string broken =
      std::u16string(u"x") + char16_t(H) + u" " + std::u16string(499, u'a') + char16_t(H) + u" b";
  s = OnePageScript(Block{broken, {}, {{1, 2, 3, 4, static_cast<int32_t>(broken.size())}}});
  EXPECT_EQ(s, OnePage("\n (line 1 998 3 996"
                       "\n  (word 1 998 3 996 \"x- \")"
                       "\n  (word 1 998 3 996 \"" +
                       std::string(499, 'a') + "\")" +
                       "\n  (word 1 998 3 996 \"- \")"
                       "\n  (word 1 998 3 996 \"b\"))"));
}

TEST(DjvusedFormatTest, DamagedInputStaysInsideTheBuffers) {
  // A line asking for more units than remain takes what remains: the last unit is then the
  // block's last and is kept.
  EXPECT_EQ(OnePageScript(Block{u"ab cd", {}, {{1, 2, 3, 4, 3}, {1, 2, 3, 4, 100}}}),
            OnePage("\n (line 1 998 3 996\n  (word 1 998 3 996 \"a\"))"
                    "\n (line 1 998 3 996\n  (word 1 998 3 996 \"cd\"))"));
  // Lines after the text is used up, negative counts and counts beyond any size write
  // nothing.
  EXPECT_EQ(OnePageScript(Block{u"ab",
                                {},
                                {{1, 2, 3, 4, 2},
                                 {1, 2, 3, 4, 5},
                                 {1, 2, 3, 4, -3},
                                 {1, 2, 3, 4, INT32_MIN},
                                 {1, 2, 3, 4, INT32_MAX}}}),
            OnePage("\n (line 1 998 3 996\n  (word 1 998 3 996 \"ab\"))"));
  // Fewer boxes than units: a unit without a box adds nothing to the rectangles; a word
  // with no box at all takes its line's rectangle; the line spans the boxes that exist.
  Block fewBoxes{u"ab cd", {{10, 100, 20, 110}}, {{0, 0, 0, 0, 5}}};
  EXPECT_EQ(OnePageScript(fewBoxes), OnePage("\n (line 10 900 20 890\n  (word 10 900 20 890 \"ab\")"
                                             "\n  (word 10 900 20 890 \"cd\"))"));
  // Declared boxes never added count as missing too.
  std::string s = Script([](PageTextSink& w) {
    w.BeginPage(1, 200, 1000);
    const uint16_t text[] = {'a', 'b'};
    w.SetText(text, 2);
    w.ResetBoxes(2);
    w.AddBox(0, 0, 0, 0);  // zero-size box for 'a' only
    w.EmitLine(0, 0, 0, 0, 2);
    w.EndPage();
  });
  EXPECT_EQ(s, OnePage("\n (line 0 1000 1 999\n  (word 0 1000 1 999 \"ab\"))"));
  // Lines before any text, SetText with a negative count or no codes, ResetBoxes with a
  // negative count: all empty.
  s = Script([](PageTextSink& w) {
    w.BeginPage(1, 200, 1000);
    w.EmitLine(1, 2, 3, 4, 10);
    const uint16_t text[] = {'a', 'b'};
    w.SetText(text, -1);
    w.ResetBoxes(-5);
    w.AddBox(1, 2, 3, 4);
    w.EmitLine(1, 2, 3, 4, 2);
    w.SetText(nullptr, 5);
    w.EmitLine(1, 2, 3, 4, 5);
    w.EndPage();
  });
  EXPECT_EQ(s, OnePage(""));
  // Coordinates at the ends of the 32-bit range neither overflow nor wrap: they are clipped
  // into the page (here one that spans downward from 0) as they are in every format, and the
  // edges that meet there are set apart.
  s = Script([](PageTextSink& w) {
    w.BeginPage(1, 200, INT32_MIN);
    const uint16_t text[] = {'a'};
    w.SetText(text, 1);
    w.ResetBoxes(1);
    w.AddBox(5, 1, 5, 1);
    w.EmitLine(INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, 1);
    // A word without a box takes such a line's rectangle, and is widened from there.
    const uint16_t boxless[] = {'b'};
    w.SetText(boxless, 1);
    w.ResetBoxes(0);
    w.EmitLine(INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, 1);
    w.EndPage();
  });
  EXPECT_EQ(s,
            "\n# -------------------------------------\nselect 1\nremove-txt\nset-txt"
            "\n(page 0 0 200 -2147483648"
            "\n (line 199 -2147483647 200 -2147483648"
            "\n  (word 5 -2147483647 6 -2147483648 \"a\"))"
            "\n (line 199 -2147483647 200 -2147483648"
            "\n  (word 199 -2147483647 200 -2147483648 \"b\"))"
            "\n)\n\n.\n\n\nsave\n");
}

std::string XmlOf(const std::u16string& units) {
  std::string out(units.size() * kXmlCharacterRoom, '\0');
  const char* end = PutXmlUnits(&out[0], reinterpret_cast<const uint16_t*>(units.data()),
                                static_cast<int32_t>(units.size()));
  out.resize(static_cast<size_t>(end - out.data()));
  return out;
}

}  // namespace

TEST(OutputFormatsTest, CharactersXmlForbidsNeverReachADocument) {
  const std::string replacement = "\xEF\xBF\xBD";
  for (char16_t unit = 0; unit < 0x20; ++unit) {
    const std::string expected = unit == 0x09   ? "&#9;"
                                 : unit == 0x0A ? "&#10;"
                                 : unit == 0x0D ? "&#13;"
                                                : replacement;
    EXPECT_EQ(XmlOf(std::u16string(1, unit)), expected) << int(unit);
  }
  EXPECT_EQ(XmlOf(u"\uFFFE\uFFFF"), replacement + replacement);
  // Unpaired surrogates, alone, in the wrong order and at the end; a pair is one character.
  const std::u16string surrogates = {0xD800, u'a', 0xDC00, 0xDC00, 0xD800, 0xD83D, 0xDE00, 0xDBFF};
  EXPECT_EQ(XmlOf(surrogates), replacement + "a" + replacement + replacement + replacement +
                                   "\xF0\x9F\x98\x80" + replacement);
  EXPECT_EQ(XmlOf(u"<a & \"b\" 'c'>\u00E9"), "&lt;a &amp; &quot;b&quot; &apos;c&apos;&gt;\xC3\xA9");
}

TEST(OutputFormatsTest, AltoHyphenPairs) {
  const auto page = [](PageTextSink& sink, int32_t number, const Block& block) {
    sink.BeginPage(number, 2480, 3508);
    Feed(sink, block);
    sink.EndPage();
  };
  const auto worked = [&](PageTextSink& sink) { page(sink, 5, WorkedExample()); };
  // In hOCR every character box lies inside its word's: the carried "wor", whose boxes are on
  // the line above, takes the word's rectangle.
  EXPECT_NE(Document(MakeHocrFormat, worked)
                .find("title=\"bbox 100 300 165 350; x_bboxes 100 300 165 350 100 300 165 350 "
                      "100 300 165 350 100 300 115 350 120 300 150 350 155 340 165 350\">world."),
            std::string::npos);
  std::string alto = Document(MakeAltoFormat, worked);
  EXPECT_NE(alto.find("CONTENT=\"wor\" SUBS_TYPE=\"HypPart1\" SUBS_CONTENT=\"world.\"/>"
                      "<HYP CONTENT=\"-\"/>\n     </TextLine>"),
            std::string::npos)
      << alto;
  EXPECT_NE(alto.find("CONTENT=\"ld.\" SUBS_TYPE=\"HypPart2\" SUBS_CONTENT=\"world.\"/>"),
            std::string::npos);
  // -c: a Glyph per character of the content, each inside its String; a surrogate pair is one.
  FormatSettings glyphs;
  glyphs.glyphs = true;
  alto = Document(MakeAltoFormat, worked, true, glyphs);
  EXPECT_NE(alto.find("CONTENT=\"ld.\" SUBS_TYPE=\"HypPart2\" SUBS_CONTENT=\"world.\">"
                      "<Glyph HPOS=\"100\" VPOS=\"300\" WIDTH=\"15\" HEIGHT=\"50\" CONTENT=\"l\"/>"
                      "<Glyph HPOS=\"120\" VPOS=\"300\" WIDTH=\"30\" HEIGHT=\"50\" CONTENT=\"d\"/>"
                      "<Glyph HPOS=\"155\" VPOS=\"340\" WIDTH=\"10\" HEIGHT=\"10\" CONTENT=\".\"/>"
                      "</String>\n"),
            std::string::npos)
      << alto;
  EXPECT_NE(
      Document(
          MakeAltoFormat, [&](PageTextSink& sink) { page(sink, 1, SimpleLine(u"a\U0001F600b")); },
          true, glyphs)
          .find("CONTENT=\"a\"/><Glyph HPOS=\"10\" VPOS=\"100\" WIDTH=\"20\" HEIGHT=\"20\""
                " CONTENT=\"\xF0\x9F\x98\x80\"/><Glyph HPOS=\"30\""),
      std::string::npos);
  // -h: the printed parts alone.
  alto = Document(MakeAltoFormat, worked, false);
  EXPECT_EQ(alto.find("SUBS_"), std::string::npos);
  EXPECT_NE(alto.find("CONTENT=\"wor\"/><HYP CONTENT=\"-\"/>"), std::string::npos);
  EXPECT_NE(alto.find("CONTENT=\"ld.\"/>"), std::string::npos);
  // Broken inside a line the hyphen stays in the content (HYP may only end a line); across
  // pages the first part names the whole word as well. No String is empty: a bare hyphen
  // keeps it as content, and a word with no text of its own (U+0000 first) completes nothing.
  alto = Document(MakeAltoFormat, [&](PageTextSink& sink) {
    page(sink, 1, SimpleLine(std::u16string(u"ab") + char16_t(H) + u" cd ex" + char16_t(H)));
    page(sink, 2, SimpleLine(u"ample"));
    page(sink, 3, SimpleLine(std::u16string(u"fg") + char16_t(H)));
    page(sink, 4, SimpleLine(std::u16string(u"\0h i ", 5) + char16_t(H)));
    // Cut by U+0000 before its hyphen, a word is no longer broken: it keeps its last letter.
    page(sink, 5, SimpleLine(std::u16string(u"m\0n", 3) + char16_t(H)));
  });
  EXPECT_NE(alto.find("CONTENT=\"m\"/>"), std::string::npos) << alto;
  EXPECT_EQ(alto.find("CONTENT=\"\""), std::string::npos);
  EXPECT_NE(alto.find("CONTENT=\"fg\"/><HYP CONTENT=\"-\"/>"), std::string::npos);
  EXPECT_NE(alto.find("CONTENT=\"fg\"/><SP/>"), std::string::npos);
  EXPECT_NE(alto.find("CONTENT=\"-\"/>\n"), std::string::npos);
  EXPECT_NE(alto.find("CONTENT=\"ab-\" SUBS_TYPE=\"HypPart1\" SUBS_CONTENT=\"abcd\"/><SP/>"),
            std::string::npos)
      << alto;
  EXPECT_NE(alto.find("CONTENT=\"cd\" SUBS_TYPE=\"HypPart2\" SUBS_CONTENT=\"abcd\"/>"),
            std::string::npos);
  EXPECT_NE(alto.find("CONTENT=\"ex\" SUBS_TYPE=\"HypPart1\" SUBS_CONTENT=\"example\"/>"
                      "<HYP CONTENT=\"-\"/>"),
            std::string::npos);
  EXPECT_NE(alto.find("CONTENT=\"ample\" SUBS_TYPE=\"HypPart2\" SUBS_CONTENT=\"example\"/>"),
            std::string::npos);
}

// One text frame of many blocks naming many fonts: the styles are named once, not per block,
// so the document grows with the input, not with blocks times fonts.
TEST(OutputFormatsTest, AltoNamesAnAreasStylesOnce) {
  const int kFonts = 20000;
  const int kBlocks = 100;
  const std::string alto = Document(MakeAltoFormat, [&](PageTextSink& sink) {
    sink.BeginPage(1, 2480, 3508);
    AreaNames names;
    for (int i = 0; i < kFonts; ++i) {
      const std::string name = "f" + std::to_string(i);
      names.fonts.emplace_back(name.begin(), name.end());
    }
    names.fonts.push_back(names.fonts.front());
    sink.BeginArea(names);
    for (int b = 0; b < kBlocks; ++b)
      Feed(sink, SimpleLine(u"w"));
    sink.EndArea();
    sink.EndPage();
  });
  EXPECT_LT(alto.size(), size_t{2} << 20);
  EXPECT_EQ(alto.find("STYLEREFS"), alto.rfind("STYLEREFS"));
  EXPECT_NE(alto.find("font_20000\">\n    <TextBlock"), std::string::npos);
}

namespace {

uint32_t BigEndian(const std::string& bytes, size_t at, int n) {
  uint32_t value = 0;
  for (int i = 0; i < n; ++i)
    value = (value << 8) | static_cast<uint8_t>(bytes[at + static_cast<size_t>(i)]);
  return value;
}

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++n;
  return n;
}

}  // namespace

// The PDF's font as TrueType readers take it: a sorted table directory whose
// checksums hold, the whole font summing to 0xB1B0AFBA, two glyphs half an em wide.
TEST(OutputFormatsTest, PdfFontTablesAreConsistent) {
  const std::string& font = pdf::InvisibleFontFile();
  ASSERT_GE(font.size(), 12u);
  EXPECT_EQ(BigEndian(font, 0, 4), 0x00010000u);
  const uint32_t tables = BigEndian(font, 4, 2);
  EXPECT_EQ(tables, 10u);
  std::string previous;
  uint32_t whole = 0;
  std::string padded = font;
  padded.resize((font.size() + 3) & ~size_t{3}, '\0');
  for (size_t i = 0; i < padded.size(); i += 4)
    whole += BigEndian(padded, i, 4);
  EXPECT_EQ(whole, 0xB1B0AFBAu);
  for (uint32_t t = 0; t < tables; ++t) {
    const size_t record = 12 + 16 * t;
    const std::string tag = font.substr(record, 4);
    EXPECT_LT(previous, tag);
    previous = tag;
    const uint32_t offset = BigEndian(font, record + 8, 4);
    const uint32_t length = BigEndian(font, record + 12, 4);
    ASSERT_LE(offset + length, font.size()) << tag;
    EXPECT_EQ(offset % 4, 0u) << tag;
    std::string table = font.substr(offset, length);
    if (tag == "head")
      table.replace(8, 4, 4, '\0');  // checkSumAdjustment does not count
    table.resize((table.size() + 3) & ~size_t{3}, '\0');
    uint32_t sum = 0;
    for (size_t i = 0; i < table.size(); i += 4)
      sum += BigEndian(table, i, 4);
    EXPECT_EQ(sum, BigEndian(font, record + 4, 4)) << tag;
    if (tag == "maxp") {
      EXPECT_EQ(BigEndian(font, offset + 4, 2), 2u);
      EXPECT_EQ(BigEndian(font, offset + 6, 4), 0x00040001u);  // glyph 1's 4 points, 1 contour
    } else if (tag == "hmtx") {
      EXPECT_EQ(BigEndian(font, offset, 2), 500u);
    } else if (tag == "head") {
      EXPECT_EQ(BigEndian(font, offset + 18, 2), 1000u);
    }
  }
}

// The PDF lays a word out right to left (a mirrored text matrix) when it holds Hebrew or
// Arabic letters and nothing printed left to right; punctuation and marks follow the letters.
TEST(OutputFormatsTest, PdfWordDirection) {
  const struct {
    std::u16string word;
    bool rightToLeft;
  } kWords[] = {{u"\u05E9\u05DC\u05D5\u05DD", true},
                {u"(\u05E9\u05B8\u05DC\u05D5\u05DD).", true},     // a point, brackets
                {u"\u0645\u0631\u062D\u0628\u0627\u061F", true},  // its question mark
                {u"\uFB2A\uFEFB\u2019", true},                    // presentation forms
                {u"\U00010900\U0001E900", true},                  // beyond U+FFFF
                {u"\u05E9\u05DC2", false},                        // a digit
                {u"\u0628\u0663", false},                         // an Arabic-Indic one
                {u"\u05E9a", false},                              // a Latin letter
                {u"\u05E9\u00E9", false},
                {u"\u05E9\u4E2D", false},
                {std::u16string(u"\u05E9") + char16_t(0xD800), false},  // a lone surrogate
                {u"abc", false},
                {u".,!", false},
                {u"", false}};
  for (size_t i = 0; i < sizeof kWords / sizeof kWords[0]; ++i) {
    const std::vector<uint16_t> units(kWords[i].word.begin(), kWords[i].word.end());
    EXPECT_EQ(text::WordReadsRightToLeft(units.data(), static_cast<int32_t>(units.size())),
              kWords[i].rightToLeft)
        << "word " << i;
  }
}

// A page number whose file failed, or that no file gives, is an empty page the size of the
// nearest written page before it; the run's highest number ends the book.
TEST(OutputFormatsTest, PdfHasAPagePerNumber) {
  const std::string pdf = Document(MakePdfFormat, [](PageTextSink& sink) {
    sink.DescribePage({}, 200);
    sink.BeginPage(1, 1700, 2200);
    Feed(sink, SimpleLine(u"one"));
    sink.EndPage();
    sink.BeginPage(2, 2480, 3508);
    Feed(sink, SimpleLine(u"two"));
    sink.FailPage();
    sink.DescribePage({}, 300);
    sink.BeginPage(4, 2480, 3508);
    Feed(sink, SimpleLine(u"four"));
    sink.EndPage();
    sink.DescribePage({}, 200);
    sink.BeginPage(6, 1700, 2200);
    Feed(sink, SimpleLine(u"six"));
    sink.EndPage();
    sink.BeginPage(7, 1700, 2200);
    Feed(sink, SimpleLine(u"seven"));
    sink.FailPage();
  });
  EXPECT_NE(pdf.find("/Count 7 "), std::string::npos);
  EXPECT_EQ(Count(pdf, "/Type /Page "), 7u);
  // Pages 2 and 3 have the size of page 1 (1700 x 2200 at 200 dpi), page 4 its own, page 5
  // page 4's, the failed last page 7 page 6's.
  EXPECT_EQ(Count(pdf, "/MediaBox [0 0 612 792] /Resources 11 0 R >>"), 3u);
  EXPECT_EQ(Count(pdf, "/MediaBox [0 0 595.2 841.92] /Resources 11 0 R >>"), 1u);
  EXPECT_EQ(Count(pdf, "/MediaBox [0 0 595.2 841.92]"), 2u);
  // A page number beyond a million pages is left out (the run says so); the document stands.
  FILE* file = tmpfile();
  ASSERT_NE(file, nullptr);
  std::unique_ptr<DocumentFormat> huge = MakePdfFormat(file, FormatSettings());
  PageRecorder recorder(*huge, huge->Recording(true));
  huge->BeginDocument(PageArrival::kAscending);
  recorder.BeginPage(20231201, 100, 100);
  Feed(recorder, SimpleLine(u"dated"));
  recorder.EndPage();
  huge->EndDocument();
  EXPECT_TRUE(huge->Flush());
  EXPECT_NE(ContentsAndClose(file).find("/Count 1 "), std::string::npos);
  EXPECT_EQ(huge->MostPageNumber(), pdf::kMostPages);
  // A million pages exactly: the last one the document holds.
  EXPECT_EQ(pdf::kMostPages, 1000000);
  const std::pair<int32_t, bool> kHeld[] = {
      {0, false}, {1, true}, {999999, true}, {1000000, true}, {1000001, false}};
  for (const auto& held : kHeld)
    EXPECT_EQ(pdf::HoldsPageNumber(held.first), held.second) << held.first;
  // Past 65,535 distinct characters beyond U+FFFF the document fails instead of writing U+FFFD.
  FILE* crowded = tmpfile();
  ASSERT_NE(crowded, nullptr);
  std::unique_ptr<DocumentFormat> many = MakePdfFormat(crowded, FormatSettings());
  PageRecorder manyRecorder(*many, many->Recording(true));
  many->BeginDocument(PageArrival::kAscending);
  manyRecorder.BeginPage(1, 100, 100);
  for (uint32_t c = 0x10000; c < 0x10000 + 0x10000;) {
    std::u16string words;  // 400 characters in words of 8
    for (int k = 0; k < 400; ++k, ++c) {
      words += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      words += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
      if (k % 8 == 7)
        words += u' ';
    }
    Feed(manyRecorder, SimpleLine(words));
  }
  manyRecorder.EndPage();
  many->EndDocument();
  EXPECT_FALSE(many->Flush());
  EXPECT_EQ(many->Error(), EOVERFLOW);
  std::fclose(crowded);
  // A side over 14,400 points counts in units of 2 points; one of 14,400 in points.
  const std::string wide = Document(MakePdfFormat, [](PageTextSink& sink) {
    sink.DescribePage({}, 100);
    sink.BeginPage(1, 20001, 100);
    Feed(sink, SimpleLine(u"wide"));
    sink.EndPage();
    sink.DescribePage({}, 100);
    sink.BeginPage(2, 100, 20000);
    sink.EndPage();
  });
  EXPECT_NE(wide.find("/MediaBox [0 0 7200.36 36] /UserUnit 2 "), std::string::npos) << wide;
  EXPECT_NE(wide.find("/MediaBox [0 0 72 14400] /Resources"), std::string::npos);
  EXPECT_NE(wide.find("/Version /1.6"), std::string::npos);
  const std::string empty = Document(MakePdfFormat, [](PageTextSink&) {});
  EXPECT_NE(empty.find("/Count 1 /Kids [13 0 R ] >>"), std::string::npos);
  EXPECT_EQ(Count(empty, "/MediaBox [0 0 595.2 841.92] /Resources 11 0 R >>"), 1u);
  EXPECT_EQ(empty.substr(empty.size() - 6), "%%EOF\n");
}

TEST(OutputFormatsTest, AFailedPageIsLeftOutAndTheWordItBrokeStillJoins) {
  const auto feed = [](PageTextSink& sink) {
    sink.BeginPage(1, 200, 1000);
    Feed(sink, SimpleLine(u"one"));
    sink.EndPage();
    sink.BeginPage(2, 200, 1000);
    Feed(sink, SimpleLine(std::u16string(u"two wor") + char16_t(H)));
    sink.FailPage();
    sink.BeginPage(3, 200, 1000);
    Feed(sink, SimpleLine(u"ld."));
    sink.EndPage();
    // The last page fails too: the end of the run must not write it.
    sink.BeginPage(4, 200, 1000);
    Feed(sink, SimpleLine(u"four"));
    sink.FailPage();
  };
  // As in the script, the first part read on the failed page joins the next page's first word.
  EXPECT_EQ(Document(MakePlainTextFormat, feed), "one \n\n\fworld. \n\n\f");
  const std::string hocr = Document(MakeHocrFormat, feed);
  EXPECT_NE(hocr.find("ppageno 0;"), std::string::npos);
  EXPECT_NE(hocr.find("ppageno 2;"), std::string::npos);
  EXPECT_EQ(hocr.find("two"), std::string::npos);
  EXPECT_EQ(hocr.find("four"), std::string::npos);
  EXPECT_EQ(hocr.substr(hocr.size() - 16), "</body>\n</html>\n");
  const std::string alto = Document(MakeAltoFormat, feed);
  EXPECT_EQ(alto.find("PHYSICAL_IMG_NR=\"2\""), std::string::npos);
  // Its first part is not written: the String holds the whole word, as the script does.
  EXPECT_NE(alto.find("CONTENT=\"world.\"/>"), std::string::npos);
  EXPECT_EQ(alto.substr(alto.size() - 19), " </Layout>\n</alto>\n");
  // A file that fails before its page begins (a bad signature) hands on nothing: the pages
  // around it join as the script joins them.
  const auto unbegun = [](PageTextSink& sink) {
    sink.BeginPage(1, 200, 1000);
    Feed(sink, SimpleLine(std::u16string(u"Hello wor") + char16_t(H)));
    sink.EndPage();
    sink.FailPage();
    sink.BeginPage(3, 200, 1000);
    Feed(sink, SimpleLine(u"ld. there"));
    sink.EndPage();
  };
  EXPECT_EQ(Document(MakePlainTextFormat, unbegun), "Hello wor- \n\n\fworld. there \n\n\f");
  EXPECT_NE(Script(unbegun).find("\"world.\""), std::string::npos);
  EXPECT_NE(Document(MakeHocrFormat, unbegun).find(">world.</span>"), std::string::npos);
  EXPECT_NE(Document(MakeAltoFormat, unbegun)
                .find("CONTENT=\"wor\" SUBS_TYPE=\"HypPart1\" SUBS_CONTENT=\"world.\"/><HYP"),
            std::string::npos);
}

namespace {

UnitText Units(const std::u16string& text) {
  return UnitText(text.begin(), text.end());
}

// The recognition languages as the work files name them: each gets an area of its own.
const char16_t* const kLanguageNames[] = {u"Afrikaans",
                                          u"Albanian",
                                          u"Arabic",
                                          u"Armenian",
                                          u"Basque",
                                          u"Belarusian",
                                          u"Bulgarian",
                                          u"Catalan",
                                          u"ChinesePRC",
                                          u"ChineseTaiwan",
                                          u"Croatian",
                                          u"Czech",
                                          u"Danish",
                                          u"Dutch",
                                          u"DutchBelgian",
                                          u"English",
                                          u"Esperanto",
                                          u"Estonian",
                                          u"Finnish",
                                          u"French",
                                          u"German",
                                          u"GermanNewSpelling",
                                          u"Greek",
                                          u"Hebrew",
                                          u"Hungarian",
                                          u"Icelandic",
                                          u"Indonesian",
                                          u"Irish",
                                          u"Italian",
                                          u"Japanese",
                                          u"Kazakh",
                                          u"Korean",
                                          u"Latin",
                                          u"Latvian",
                                          u"Lithuanian",
                                          u"Macedonian",
                                          u"Malay",
                                          u"Norwegian",
                                          u"NorwegianBokmal",
                                          u"NorwegianNynorsk",
                                          u"Polish",
                                          u"Portuguese",
                                          u"PortugueseBrazilian",
                                          u"Romanian",
                                          u"Russian",
                                          u"RussianOldSpelling",
                                          u"Serbian",
                                          u"Slovak",
                                          u"Slovenian",
                                          u"Spanish",
                                          u"Swahili",
                                          u"Swedish",
                                          u"Tatar",
                                          u"Thai",
                                          u"Turkish",
                                          u"Ukrainian",
                                          u"Uzbek",
                                          u"Vietnamese",
                                          u"Welsh"};

// The golden book: page 3 of 400 x 300 pixels, then page 2 twice (the documents list page 2
// first, the later one in place of the earlier; the identifiers stay unique). Page 3 has an
// image name that needs quoting, an area per language, an area of two blocks whose first
// language has no tag and whose fonts repeat, a surrogate pair with a box per code unit, and
// a line, a word and a character box beyond the page.
void GoldenPage(PageTextSink& sink) {
  sink.DescribePage(Units(u"Scan \"01\"; 100% \\ \u0416.tif"), 300);
  sink.BeginPage(3, 400, 300);
  uint16_t y = 0;
  for (const char16_t* name : kLanguageNames) {
    AreaNames names;
    names.languages.push_back(Units(name));
    names.fonts.push_back(Units(u"Arial"));
    sink.BeginArea(names);
    Block block = SimpleLine(u"w" + std::u16string(name).substr(0, 3));
    for (CharBox& box : block.boxes) {
      box.top = y;
      box.bottom = static_cast<uint16_t>(y + 4);
    }
    Feed(sink, block);
    sink.EndArea();
    y = static_cast<uint16_t>(y + 5);
  }
  AreaNames mixed;
  mixed.languages = {Units(u"Digits"), Units(u"German")};
  mixed.fonts = {Units(u"Times"), Units(u"Arial"), Units(u"Times"), Units(u"Cour<ier>")};
  sink.BeginArea(mixed);
  // A surrogate pair whose two units have boxes of their own; a character box beyond the
  // page; a line record beyond it on every side.
  Block wide{u"\U0001F600x yz",
             {{10, 200, 20, 210},
              {21, 202, 30, 215},
              {31, 200, 40, 210},
              {0, 0, 0, 0},
              {380, 200, 500, 320},
              {390, 200, 600, 330}},
             {{-5, 190, 900, 400, 6}}};
  Feed(sink, wide);
  Feed(sink, SimpleLine(u"mixed"));
  sink.EndArea();
  // A block outside any area.
  Feed(sink, SimpleLine(u"free"));
  sink.EndPage();
}

void GoldenBook(PageTextSink& sink) {
  GoldenPage(sink);
  sink.DescribePage({}, 0);
  sink.BeginPage(2, 400, 300);
  Feed(sink, SimpleLine(u"replaced"));
  sink.EndPage();
  sink.BeginPage(2, 400, 300);
  Feed(sink, SimpleLine(u"again"));
  sink.EndPage();
}

// The PAGE document of the golden book's first page, as the workspace names it.
PageFileSettings GoldenPageSettings(bool glyphs) {
  PageFileSettings settings;
  settings.fileId = "OCR-D-OCR-FR7_0003";
  settings.imageName = PageImageName(Units(u"Scan \"01\"; 100% \\ \u0416.tif"), 3);
  settings.modifiedTime = 1700000000;
  settings.glyphs = glyphs;
  return settings;
}

struct GoldenCase {
  const char* file;  // in tests/data/golden
  MakeFormat makeFormat;
  bool glyphs;
  void (*feed)(PageTextSink&) = GoldenBook;
};

// The PAGE document of one page, as the workspace writes it.
std::unique_ptr<DocumentFormat> MakeGoldenPage(FILE* file, const FormatSettings& settings) {
  return MakePageXmlFormat(file, GoldenPageSettings(settings.glyphs));
}

const GoldenCase kGoldenCases[] = {{"book.djvused", MakeDjvusedFormat, false},
                                   {"book.hocr", MakeHocrFormat, false},
                                   {"book.alto", MakeAltoFormat, false},
                                   {"book-glyphs.alto", MakeAltoFormat, true},
                                   {"book.txt", MakePlainTextFormat, false},
                                   {"book.pdf", MakePdfFormat, false},
                                   {"page3.page.xml", MakeGoldenPage, false, GoldenPage},
                                   {"page3-glyphs.page.xml", MakeGoldenPage, true, GoldenPage}};

// The PDF with its streams inflated and the numbers that depend on the compressed bytes (the
// streams' lengths, the cross-reference table, its offset) left out: what another zlib leaves.
std::string Inflated(const std::string& pdf) {
  std::string out;
  size_t at = 0;
  for (size_t begin; (begin = pdf.find(">>\nstream\n", at)) != std::string::npos;) {
    const size_t data = begin + 10;
    const size_t end = pdf.find("\nendstream", data);
    if (end == std::string::npos)
      break;
    std::string head = pdf.substr(at, data - at);
    const size_t length = head.rfind("/Length ");
    if (length != std::string::npos)
      head.erase(length + 8, head.find(' ', length + 8) - length - 8);
    out += head;
    std::string inflated(1 << 20, '\0');
    uLongf size = static_cast<uLongf>(inflated.size());
    EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(&inflated[0]), &size,
                         reinterpret_cast<const Bytef*>(pdf.data() + data), end - data),
              Z_OK);
    out.append(inflated, 0, size);
    at = end;
  }
  out += pdf.substr(at, pdf.find("xref\n", at) - at);
  return out;
}

}  // namespace

// Each format's whole document of the golden book, byte for byte (the PDF's streams inflated). With
// OCRSIFT_UPDATE_GOLDEN set, the documents are written instead (to be reviewed before they are
// committed).
TEST(OutputFormatsTest, GoldenDocuments) {
  for (const GoldenCase& golden : kGoldenCases) {
    const std::string path = std::string(TEST_SOURCE_DIR) + "/data/golden/" + golden.file;
    FormatSettings settings;
    settings.glyphs = golden.glyphs;
    const std::string document = Document(golden.makeFormat, golden.feed, true, settings);
    if (std::getenv("OCRSIFT_UPDATE_GOLDEN") != nullptr) {
      FILE* file = std::fopen(path.c_str(), "wb");
      ASSERT_NE(file, nullptr) << path;
      std::fwrite(document.data(), 1, document.size(), file);
      std::fclose(file);
      continue;
    }
    const std::string expected = testing_support::ReadFile(path);
    if (golden.makeFormat == MakePdfFormat)
      EXPECT_EQ(Inflated(document), Inflated(expected));
    else
      EXPECT_EQ(document, expected) << golden.file;
    if (golden.feed == GoldenPage) {
      EXPECT_EQ(fuzz_support::PageRuleProblems(document), std::vector<std::string>())
          << golden.file;
    }
  }
}

// The one-page PAGE document of what the feed hands on (the last complete page).
std::string PageDocument(const std::function<void(PageTextSink&)>& feed, bool join) {
  PageFileSettings settings;
  settings.joinHyphenated = join;
  FILE* file = tmpfile();
  EXPECT_NE(file, nullptr);
  std::unique_ptr<DocumentFormat> format = MakePageXmlFormat(file, settings);
  FeedDocument(*format, feed, join, PageArrival::kAscending);
  int32_t refused = 0;
  EXPECT_FALSE(format->TakeRefusedPage(refused));
  return ContentsAndClose(file);
}

// A broken word stands as printed, its parts tied by a join only when both are on the page and
// joining is on; whatever the case, the document keeps the rules.
TEST(OutputFormatsTest, PageHyphenPairs) {
  const Block first = SimpleLine(std::u16string(u"two wor") + char16_t(H));
  const Block second = SimpleLine(u"ld. on");
  struct Case {
    const char* what;
    bool join;
    bool secondFails;  // the page of "ld." fails, the document keeps the page before
    bool firstFails;   // the page of "wor-" fails
    bool samePage;     // both parts in one block of one page
    const char* word;  // a Word's text the document holds
    bool related;
  };
  const Case cases[] = {
      {"one page", true, false, false, true, "wor-", true},
      {"one page, -h", false, false, false, true, "wor-", false},
      {"across pages, the second", true, false, false, false, "ld.", false},
      {"across pages, the first", true, true, false, false, "wor-", false},
      {"first part on a failed page", true, false, true, false, "ld.", false},
  };
  for (const Case& c : cases) {
    const std::string page = PageDocument(
        [&](PageTextSink& sink) {
          if (c.samePage) {
            sink.BeginPage(1, 200, 1000);
            Feed(sink, WorkedExample());
            sink.EndPage();
            return;
          }
          sink.BeginPage(1, 200, 1000);
          Feed(sink, first);
          c.firstFails ? sink.FailPage() : sink.EndPage();
          sink.BeginPage(2, 200, 1000);
          Feed(sink, second);
          c.secondFails ? sink.FailPage() : sink.EndPage();
        },
        c.join);
    EXPECT_NE(page.find(std::string("<Unicode>") + c.word + "</Unicode>"), std::string::npos)
        << c.what << "\n"
        << page;
    EXPECT_EQ(page.find("world."), std::string::npos) << c.what;
    EXPECT_EQ(page.find("type=\"join\"") != std::string::npos, c.related) << c.what;
    EXPECT_EQ(fuzz_support::PageRuleProblems(page), std::vector<std::string>()) << c.what;
  }
}

// A page without a positive side has no PAGE coordinates: refused, and no document at all.
TEST(OutputFormatsTest, PageRefusesAPageWithoutSides) {
  for (const int32_t side : {0, -40}) {
    FILE* file = tmpfile();
    ASSERT_NE(file, nullptr);
    std::unique_ptr<DocumentFormat> format = MakePageXmlFormat(file, PageFileSettings());
    PageRecorder recorder(*format, format->Recording(true));
    format->BeginDocument(PageArrival::kAscending);
    recorder.BeginPage(1, side, 1000);
    Feed(recorder, SimpleLine(u"word"));
    recorder.EndPage();
    recorder.Finish();
    int32_t refused = 0;
    EXPECT_TRUE(format->TakeRefusedPage(refused));
    EXPECT_EQ(refused, 1);
    EXPECT_FALSE(format->TakeRefusedPage(refused));
    format->EndDocument();
    EXPECT_TRUE(format->Flush());
    EXPECT_EQ(ContentsAndClose(file), "");
  }
}

// The image's name without its folders, the rastrify name without one, and its media type.
TEST(OutputFormatsTest, PageImageNames) {
  const struct {
    std::u16string name;
    int32_t page;
    const char* expected;
  } names[] = {
      {u"C:\\scans\\b\u00FCcher/p 1.TIF", 3, "p 1.TIF"},
      {u"D:page.png", 3, "page.png"},
      {u"", 7, "page0007.tif"},
      {u"scans/", 12345, "page12345.tif"},
      {u"..", 1, "page0001.tif"},
      {std::u16string(u"a\tb") + char16_t(0xD800) + u".jpg", 1,
       "a\xEF\xBF\xBD"
       "b\xEF\xBF\xBD.jpg"},
  };
  for (const auto& n : names)
    EXPECT_EQ(PageImageName(Units(n.name), n.page), n.expected);
  EXPECT_STREQ(MimeTypeOfImageName("p 1.TIF"), "image/tiff");
  EXPECT_STREQ(MimeTypeOfImageName("a.b.Jpeg"), "image/jpeg");
  EXPECT_STREQ(MimeTypeOfImageName("page.pgm"), "image/x-portable-graymap");
  EXPECT_STREQ(MimeTypeOfImageName("noextension"), "application/octet-stream");
  EXPECT_EQ(GroupFileId(kPageFileGroup, 7), "OCR-D-OCR-FR7_0007");
}

namespace {

// The golden book's workspace in dir; the FRF files' time as the golden PAGE documents have it.
std::unique_ptr<DocumentFormat> WriteWorkspace(const std::string& folder, bool glyphs) {
  WorkspaceSettings settings;
  settings.folder = folder;
  settings.glyphs = glyphs;
  std::unique_ptr<DocumentFormat> workspace = MakeWorkspace(settings);
  PageRecorder recorder(*workspace, workspace->Recording(true));
  workspace->BeginDocument(PageArrival::kAnyOrder);
  recorder.DescribeFile(1700000000);
  GoldenBook(recorder);
  workspace->EndDocument();
  return workspace;
}

}  // namespace

// The golden book's workspace, byte for byte: its PAGE files are the PAGE format's golden
// documents (the workspace hands on the same ID, image name and time), its ALTO files hold
// one page each (with their glyphs under -c), and mets.xml lists page 2 once, before page 3.
TEST(OutputFormatsTest, GoldenWorkspace) {
  const std::string golden = std::string(TEST_SOURCE_DIR) + "/data/golden/";
  for (const bool glyphs : {false, true}) {
    testing_support::TempDir dir;
    const std::string folder = dir.File("ws");
    std::unique_ptr<DocumentFormat> workspace = WriteWorkspace(folder, glyphs);
    ASSERT_TRUE(workspace->Flush());
    const char* page3 = glyphs ? "page3-glyphs.page.xml" : "page3.page.xml";
    EXPECT_EQ(testing_support::ReadFile(dir.File("ws/OCR-D-OCR-FR7/OCR-D-OCR-FR7_0003.xml")),
              testing_support::ReadFile(golden + page3));
    for (const char* file :
         {"mets.xml", "FULLTEXT/FULLTEXT_0002.xml", "FULLTEXT/FULLTEXT_0003.xml"}) {
      // The glyphs change the ALTO files alone.
      const bool own = glyphs && std::string(file) != "mets.xml";
      const std::string path = golden + (own ? "workspace-glyphs/" : "workspace/") + file;
      const std::string bytes = testing_support::ReadFile(dir.File(std::string("ws/") + file));
      if (std::getenv("OCRSIFT_UPDATE_GOLDEN") != nullptr) {
        if (glyphs && !own)
          continue;
        FILE* out = std::fopen(path.c_str(), "wb");
        ASSERT_NE(out, nullptr) << path;
        std::fwrite(bytes.data(), 1, bytes.size(), out);
        std::fclose(out);
      } else {
        EXPECT_EQ(bytes, testing_support::ReadFile(path)) << file << (glyphs ? ", -c" : "");
      }
    }
  }
}

// A file of the workspace that cannot be written stops the document, naming that file, and
// leaves no mets.xml (nor a temporary file).
TEST(OutputFormatsTest, WorkspaceWriteFailureLeavesNoMets) {
  testing_support::TempDir dir;
  const std::string blocked =
      dir.File(std::string("ws") + testing_support::kSeparator + "FULLTEXT" +
               testing_support::kSeparator + "FULLTEXT_0003.xml");
  dir.Write("ws/FULLTEXT/FULLTEXT_0003.xml/in-the-way", std::string("x"));
  std::unique_ptr<DocumentFormat> workspace = WriteWorkspace(dir.File("ws"), false);
  EXPECT_FALSE(workspace->Flush());
  EXPECT_EQ(workspace->FailedPlace(), blocked);
  EXPECT_FALSE(workspace->FailedPlaceIsScratch());
  EXPECT_EQ(testing_support::ReadFile(dir.File("ws/mets.xml")), "");
  EXPECT_EQ(testing_support::ReadFile(blocked + ".tmp"), "");
  EXPECT_NE(testing_support::ReadFile(dir.File("ws/OCR-D-OCR-FR7/OCR-D-OCR-FR7_0003.xml")), "");
}
