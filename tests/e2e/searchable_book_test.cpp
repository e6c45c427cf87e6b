// The real job: FRF pages of both versions turned into the hidden text of a DjVu book by
// ocrsift and the real djvused, read back with djvutxt and djvused.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/djvu_document.h"
#include "tests/support/frf_builder.h"
#include "tests/support/run_program.h"
#include "tests/support/test_files.h"

namespace {

using namespace testing_support;

class SearchableBook : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* tool : {"djvused", "djvutxt", "cjb2", "djvm"}) {
      ASSERT_NE(FindTool(tool), "") << tool << " is not installed (package djvulibre-bin)";
    }
    // Three pages of the size the FRF pages declare.
    document_ = MakeDjvuDocument(dir_, {{2480, 3508}, {2480, 3508}, {2480, 3508}}, "book.djvu");
    Build(TwoBlockPage(6)).Write(dir_, "frf/page1.frf");
    Build(TwoBlockPage(10)).Write(dir_, "frf/page2.frf");
    Build(FramesPage(10)).Write(dir_, "frf/page3.frf");
  }

  // ocrsift's script fed to djvused; both must succeed silently.
  void MakeSearchable(const std::vector<std::string>& options) {
    std::vector<std::string> args = options;
    args.push_back(dir_.File("frf/*.frf"));
    ProgramOutput script = RunCaptured(OCRSIFT_EXE, args);
    ASSERT_EQ(script.exitCode, 0) << script.err;
    ASSERT_EQ(script.err, "");
    ProgramOutput applied = RunCaptured(FindTool("djvused"), {document_}, script.out);
    ASSERT_EQ(applied.exitCode, 0) << applied.err << "\nscript:\n" << script.out;
    ASSERT_EQ(applied.err, "");
  }

  std::string PageText(int page) {
    ProgramOutput text =
        RunCaptured(FindTool("djvutxt"), {"--page=" + std::to_string(page), document_});
    EXPECT_EQ(text.exitCode, 0) << text.err;
    return text.out;
  }

  TempDir dir_;
  std::string document_;
};

TEST_F(SearchableBook, EveryPageGetsItsWordsWithJoinedHyphenation) {
  MakeSearchable({"-p", "1"});
  for (int page : {1, 2}) {
    std::string text = PageText(page);
    // The broken word stays in place on its line and is whole on the next one.
    EXPECT_NE(text.find("Hello wor- \nworld."), std::string::npos) << text;
    EXPECT_NE(text.find("na\xC3\xAFve caf\xC3\xA9"), std::string::npos) << text;
    EXPECT_NE(text.find("\xC3\x9C"
                        "bung"),
              std::string::npos)
        << text;
  }
  std::string third = PageText(3);
  for (const char* word : {"Figure", "Cell", "one", "two"}) {
    EXPECT_NE(third.find(word), std::string::npos) << third;
  }

  // Rectangles as djvused reports them: lower edge first, y measured from the bottom.
  std::string hidden = PrintPageText(document_, 1);
  EXPECT_NE(hidden.find("(word 100 3148 199 3208 \"world.\")"), std::string::npos) << hidden;
  EXPECT_NE(hidden.find("(line 100 3148 200 3208"), std::string::npos) << hidden;
}

TEST_F(SearchableBook, WithoutJoiningTheSecondPartStaysAlone) {
  MakeSearchable({"-h", "-p", "1"});
  std::string text = PageText(1);
  EXPECT_NE(text.find("Hello wor- \nld."), std::string::npos) << text;
  EXPECT_EQ(text.find("world."), std::string::npos) << text;
}

TEST_F(SearchableBook, AutomaticNumbersPlaceEachFileOnItsPage) {
  // page3.frf's text lands on page 3 and nothing on page 1 changes when only it is given.
  ProgramOutput script = RunCaptured(OCRSIFT_EXE, {"-g", dir_.File("frf/page3.frf")});
  ASSERT_EQ(script.exitCode, 0);
  ProgramOutput applied = RunCaptured(FindTool("djvused"), {document_}, script.out);
  ASSERT_EQ(applied.exitCode, 0) << applied.err;
  EXPECT_NE(PageText(3).find("Figure"), std::string::npos);
  EXPECT_EQ(PageText(1).find("Hello"), std::string::npos);
}

TEST_F(SearchableBook, DamagedMiddlePageFailsClosedWithoutIgnoreAndSparesGoodPagesWithIt) {
  BuiltFile damaged = Build(TwoBlockPage(10));
  damaged.SetField("frame0.block1.recordCount", 0);  // the second block fails
  damaged.Write(dir_, "frf/page2.frf");
  const std::string before = ReadFile(document_);
  ASSERT_NE(before, "");
  const std::string pages = dir_.File("frf/*.frf");

  // Without -i the damaged page is left open: djvused rejects the whole script and the
  // document stays as it was, so no page gets text that might be wrong.
  ProgramOutput strict = RunCaptured(OCRSIFT_EXE, {"-p", "1", pages});
  EXPECT_EQ(strict.exitCode, 2);
  EXPECT_NE(strict.err.find("Invalid FRF format"), std::string::npos) << strict.err;
  ProgramOutput rejected = RunCaptured(FindTool("djvused"), {document_}, strict.out);
  EXPECT_NE(rejected.exitCode, 0) << strict.out;
  EXPECT_NE(rejected.err.find("Syntax error in text data"), std::string::npos) << rejected.err;
  EXPECT_EQ(ReadFile(document_), before);

  // With -i the damaged page is closed with the text read so far and every good page gets
  // its text; the run still says that a page failed.
  ProgramOutput lenient = RunCaptured(OCRSIFT_EXE, {"-i", "-p", "1", pages});
  EXPECT_EQ(lenient.exitCode, 2);
  EXPECT_EQ(lenient.err, "");
  ProgramOutput applied = RunCaptured(FindTool("djvused"), {document_}, lenient.out);
  ASSERT_EQ(applied.exitCode, 0) << applied.err << "\nscript:\n" << lenient.out;
  EXPECT_NE(PageText(1).find("Hello wor- \nworld."), std::string::npos);
  const std::string middle = PageText(2);
  EXPECT_NE(middle.find("Hello wor-"), std::string::npos) << middle;
  EXPECT_EQ(middle.find("na\xC3\xAFve"), std::string::npos) << middle;
  EXPECT_NE(PageText(3).find("Figure"), std::string::npos);
}

TEST_F(SearchableBook, AFailedLastPageFailsClosedToo) {
  MakeSearchable({"-p", "1"});
  const std::string before = ReadFile(document_);
  // The last page fails in its first block, right after the page began (closing it would
  // wipe the page's text and store an empty layer), or in its last table cell (closing it
  // would store half of its text). A file that fails before its page begins
  // writes nothing, and the other pages are applied.
  struct Case {
    const char* field;
    uint32_t value;
    bool applied;
  };
  for (const Case& c : {Case{"frame0.block0.recordCount", 0, false},
                        Case{"frame2.cell1.block0.recordCount", 0, false},
                        Case{"header.signature", 0x54355246, true}}) {
    BuiltFile damaged = Build(FramesPage(10));
    damaged.SetField(c.field, c.value);
    damaged.Write(dir_, "frf/page3.frf");
    ProgramOutput strict = RunCaptured(OCRSIFT_EXE, {"-p", "1", dir_.File("frf/*.frf")});
    EXPECT_EQ(strict.exitCode, 2) << c.field;
    ProgramOutput applied = RunCaptured(FindTool("djvused"), {document_}, strict.out);
    if (c.applied) {
      EXPECT_EQ(applied.exitCode, 0) << c.field << applied.err;
      EXPECT_NE(PageText(3).find("Figure"), std::string::npos) << c.field;
    } else {
      EXPECT_NE(applied.exitCode, 0) << c.field << "\nscript:\n" << strict.out;
      EXPECT_EQ(ReadFile(document_), before) << c.field;
    }
  }
}

TEST_F(SearchableBook, RectanglesBeyondThePageAndCharactersWithoutBoxesKeepTheirText) {
  // A box reaching far below the page (y 40000 on a page 3508 high) and a line record wider
  // than the page: djvused stores such zones relative to each other in 16 bits and keeps a
  // corrupt layer unless they are clipped. The second block has no boxes at all.
  FrfPage page = TwoBlockPage(10);
  TextBlock& far = std::get<TextFrame>(page.frames[0]).body.blocks[0];
  far.text = u"far out";
  far.lines = {Line(100, 3400, 70000, 40000, 7)};
  far.boxes = std::vector<Box16>{{100, 3400, 140, 3450},   {145, 3400, 180, 40000},
                                 {185, 3400, 200, 3450},   {200, 3400, 210, 3450},
                                 {210, 3400, 240, 3450},   {245, 3400, 280, 3450},
                                 {285, 3400, 65535, 3450}, {0, 0, 0, 0}};
  TextBlock& boxless = std::get<TextFrame>(page.frames[0]).body.blocks[1];
  boxless.text = u"no boxes";
  boxless.lines = {Line(300, 500, 700, 560, 8)};
  boxless.boxes = std::vector<Box16>{};
  Build(page).Write(dir_, "frf/page2.frf");
  MakeSearchable({"-p", "1"});

  const std::string text = PageText(2);
  EXPECT_NE(text.find("far out"), std::string::npos) << text;
  EXPECT_NE(text.find("no boxes"), std::string::npos) << text;
  const std::string hidden = PrintPageText(document_, 2);
  // Clipped to the page 2480 x 3508; y is measured from the bottom in djvused's listing.
  EXPECT_NE(hidden.find("(line 100 0 2480 108"), std::string::npos) << hidden;
  EXPECT_NE(hidden.find("(word 100 0 200 108 \"far\")"), std::string::npos) << hidden;
  EXPECT_NE(hidden.find("(word 210 58 2480 108 \"out\")"), std::string::npos) << hidden;
  // Words without boxes take their line's rectangle, not the page's corner.
  EXPECT_NE(hidden.find("(word 300 2948 700 3008 \"no\")"), std::string::npos) << hidden;
  EXPECT_NE(PageText(1).find("Hello"), std::string::npos);
}

}  // namespace
