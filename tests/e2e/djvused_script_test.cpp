// The scripts of the djvused format fed to the real djvused on a DjVu document made with
// cjb2 and djvm, and the text read back with djvused and djvutxt.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ocrsift/formats/document_formats.h"
#include "ocrsift/page/page_recorder.h"
#include "ocrsift/page/text_marks.h"
#include "tests/support/djvu_document.h"
#include "tests/support/run_program.h"
#include "tests/support/test_files.h"

namespace {

using testing_support::FindTool;
using testing_support::MakeDjvuDocument;
using testing_support::PageSize;
using testing_support::PrintPageText;
using testing_support::ProgramOutput;
using testing_support::RunCaptured;
using testing_support::TempDir;

constexpr uint16_t H = MARK_HYPHEN;
constexpr uint16_t E = MARK_LINE_END;

// The script of the pages fed through the recorder, as the parsers feed it.
std::string WriterScript(const std::function<void(PageTextSink&)>& feed, bool join = true) {
  FILE* file = tmpfile();
  EXPECT_NE(file, nullptr);
  std::unique_ptr<DocumentFormat> format = MakeDjvusedFormat(file, FormatSettings());
  PageRecorder recorder(*format, format->Recording(join));
  format->BeginDocument(PageArrival::kAnyOrder);
  feed(recorder);
  recorder.Finish();
  format->EndDocument();
  EXPECT_TRUE(format->Flush());
  fflush(file);
  rewind(file);
  std::string bytes;
  for (int c; (c = fgetc(file)) != EOF;)
    bytes.push_back(static_cast<char>(c));
  fclose(file);
  return bytes;
}

void Feed(PageTextSink& w, const std::u16string& text, const std::vector<CharBox>& boxes,
          const std::vector<std::vector<int32_t>>& lines) {
  w.SetText(reinterpret_cast<const uint16_t*>(text.data()), static_cast<int32_t>(text.size()));
  w.ResetBoxes(static_cast<int32_t>(boxes.size()));
  for (const CharBox& b : boxes)
    w.AddBox(b.left, b.top, b.right, b.bottom);
  for (const auto& l : lines)
    w.EmitLine(l[0], l[1], l[2], l[3], l[4]);
}

// Boxes of 20 by 30 pixels side by side from x, on the text line at y.
std::vector<CharBox> Row(const std::u16string& text, int x, int y) {
  std::vector<CharBox> boxes;
  for (size_t i = 0; i < text.size(); ++i) {
    uint16_t left = static_cast<uint16_t>(x + 20 * i);
    boxes.push_back({left, static_cast<uint16_t>(y), static_cast<uint16_t>(left + 18),
                     static_cast<uint16_t>(y + 30)});
  }
  return boxes;
}

// Runs the script through djvused on the document; the script must be accepted silently.
void Apply(const std::string& document, const std::string& script) {
  ProgramOutput applied = RunCaptured(FindTool("djvused"), {document}, script);
  EXPECT_EQ(applied.exitCode, 0) << applied.err << "\nscript:\n" << script;
  EXPECT_EQ(applied.err, "") << "script:\n" << script;
}

class DjvusedScriptTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* tool : {"djvused", "djvutxt", "cjb2", "djvm"}) {
      ASSERT_NE(FindTool(tool), "") << tool << " is not installed (package djvulibre-bin)";
    }
  }
  TempDir dir;
};

void WorkedExample(PageTextSink& w) {
  w.BeginPage(5, 2480, 3508);
  Feed(w, std::u16string(u"Hello wor") + char16_t(H) + char16_t(E) + u"ld.",
       {{100, 200, 140, 250},
        {145, 215, 180, 250},
        {185, 200, 200, 250},
        {205, 200, 220, 250},
        {225, 215, 260, 250},
        {260, 215, 300, 250},
        {300, 215, 340, 250},
        {345, 215, 380, 250},
        {385, 215, 410, 250},
        {415, 225, 430, 240},
        {430, 215, 440, 250},
        {100, 300, 115, 350},
        {120, 300, 150, 350},
        {155, 340, 165, 350}},
       {{100, 200, 440, 260, 11}, {100, 300, 200, 360, 3}});
  w.EndPage();
}

TEST_F(DjvusedScriptTest, WorkedExampleIsAcceptedAndReadBack) {
  std::vector<PageSize> sizes(6, PageSize{2480, 3508});
  std::string document = MakeDjvuDocument(dir, sizes);

  Apply(document, WriterScript(WorkedExample, true));
  // djvused prints each rectangle lower edge first, and drops the blank after the hyphen.
  EXPECT_EQ(PrintPageText(document, 5),
            "(page 0 0 2480 3508\n"
            " (line 100 3248 440 3308\n"
            "  (word 100 3258 260 3308 \"Hello\")\n"
            "  (word 300 3258 440 3293 \"wor-\"))\n"
            " (line 100 3148 200 3208\n"
            "  (word 100 3158 165 3208 \"world.\")))\n");
  // The other pages got no text.
  EXPECT_EQ(PrintPageText(document, 4).find("(line"), std::string::npos);

  // Without joining, the second line holds only the second part.
  Apply(document, WriterScript(WorkedExample, false));
  EXPECT_NE(PrintPageText(document, 5).find("(word 100 3158 165 3208 \"ld.\")))"),
            std::string::npos);
  ProgramOutput text = RunCaptured(FindTool("djvutxt"), {"--page=5", document});
  EXPECT_EQ(text.exitCode, 0) << text.err;
  EXPECT_NE(text.out.find("Hello wor- \nld."), std::string::npos) << text.out;
}

TEST_F(DjvusedScriptTest, MultiPageScriptWithEscapesAndNonAsciiText) {
  std::string document = MakeDjvuDocument(dir, {{1000, 1500}, {1000, 1500}, {800, 1200}});
  // A line feed inside a word, here before a lone full stop, must not end the text that
  // set-txt reads.
  std::u16string first = u"say \"hi\" (x) a\\b x\n.\ny \u00e9t\u00e9";
  std::u16string second = std::u16string(u"\u0416\u0443\u043A \U0001F600 con") + char16_t(H);
  std::u16string third = u"tinued end";
  std::string script = WriterScript([&](PageTextSink& w) {
    w.BeginPage(1, 1000, 1500);
    // Two lines in one block: the first ends in a line-end mark, the second (the block's
    // last) keeps everything, so the broken word ends the page.
    std::u16string block = first + char16_t(E) + second;
    std::vector<CharBox> boxes = Row(first + char16_t(E), 50, 100);
    std::vector<CharBox> more = Row(second, 50, 200);
    boxes.insert(boxes.end(), more.begin(), more.end());
    Feed(w, block, boxes,
         {{50, 100, 650, 130, static_cast<int32_t>(first.size() + 1)},
          {0, 0, 0, 0, static_cast<int32_t>(second.size())}});
    w.EndPage();
    // The hyphenated word is completed on the third DjVu page.
    w.BeginPage(3, 800, 1200);
    Feed(w, third, Row(third, 40, 60), {{40, 60, 240, 90, static_cast<int32_t>(third.size())}});
    w.EndPage();
  });
  Apply(document, script);

  EXPECT_EQ(PrintPageText(document, 1),
            "(page 0 0 1000 1500\n"
            " (line 50 1370 650 1400\n"
            "  (word 50 1370 108 1400 \"say\")\n"
            "  (word 130 1370 208 1400 \"\\\"hi\\\"\")\n"
            "  (word 230 1370 288 1400 \"(x)\")\n"
            "  (word 310 1370 368 1400 \"a\\\\b\")\n"
            "  (word 390 1370 488 1400 \"x\\n.\\ny\")\n"
            "  (word 510 1370 588 1400 \"\u00e9t\u00e9\"))\n"
            " (line 50 1270 268 1300\n"
            "  (word 50 1270 108 1300 \"\u0416\u0443\u043A\")\n"
            "  (word 130 1270 168 1300 \"\U0001F600\")\n"
            "  (word 190 1270 268 1300 \"con-\")))\n");
  EXPECT_EQ(PrintPageText(document, 2).find("(line"), std::string::npos);
  EXPECT_EQ(PrintPageText(document, 3),
            "(page 0 0 800 1200\n"
            " (line 40 1110 240 1140\n"
            "  (word 40 1110 158 1140 \"continued\")\n"
            "  (word 180 1110 238 1140 \"end\")))\n");

  ProgramOutput text = RunCaptured(FindTool("djvutxt"), {document});
  EXPECT_EQ(text.exitCode, 0) << text.err;
  for (const char* expected : {"say \"hi\" (x) a\\b x\n.\ny \u00e9t\u00e9",
                               "\u0416\u0443\u043A \U0001F600 con- ", "continued end"}) {
    EXPECT_NE(text.out.find(expected), std::string::npos) << expected << "\nin:\n" << text.out;
  }
}

TEST_F(DjvusedScriptTest, LinesWhoseWordsAreLeftOutDoNotCostTheBookItsText) {
  std::string document = MakeDjvuDocument(dir, {{4000, 1000}, {4000, 1000}, {4000, 1000}});
  // UTF-8 forms of 500 bytes or more (250 Cyrillic letters, 170 em dashes of OCR noise) and a
  // word beginning with U+0000 are left out of the script.
  const std::u16string cyrillic(250, u'\u0416');
  const std::u16string dashes(170, u'\u2014');
  const std::u16string nul = std::u16string(1, u'\0') + u"x";
  const std::u16string lines[] = {cyrillic, nul, cyrillic + u" " + nul, dashes + u" kept"};
  std::string script = WriterScript([&](PageTextSink& w) {
    w.BeginPage(1, 4000, 1000);
    Feed(w, u"first", Row(u"first", 10, 10), {{10, 10, 110, 40, 5}});
    w.EndPage();
    w.BeginPage(2, 4000, 1000);
    int y = 100;
    for (const std::u16string& line : lines) {
      const auto count = static_cast<int32_t>(line.size());
      Feed(w, line, Row(line, 10, y), {{10, y, 500, y + 30, count}});
      y += 100;
    }
    w.EndPage();
    w.BeginPage(3, 4000, 1000);
    Feed(w, u"last", Row(u"last", 10, 10), {{10, 10, 90, 40, 4}});
    w.EndPage();
  });
  Apply(document, script);

  EXPECT_EQ(PrintPageText(document, 1),
            "(page 0 0 4000 1000\n (line 10 960 110 990\n  (word 10 960 108 990 \"first\")))\n");
  // Of page 2 only the word after the dashes remains, on its line's rectangle.
  EXPECT_EQ(PrintPageText(document, 2),
            "(page 0 0 4000 1000\n (line 10 570 500 600\n  (word 3430 570 3508 600 \"kept\")))\n");
  EXPECT_EQ(PrintPageText(document, 3),
            "(page 0 0 4000 1000\n (line 10 960 90 990\n  (word 10 960 88 990 \"last\")))\n");
}

}  // namespace
