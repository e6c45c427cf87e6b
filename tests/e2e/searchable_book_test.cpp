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

}  // namespace
