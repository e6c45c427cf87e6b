// rastrify's command line and the decoder's arguments built for each page.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/platform/platform.h"
#include "rastrify/command_line.h"
#include "rastrify/decoder_invocation.h"
#include "rastrify/export_settings.h"
#include "rastrify/page_range.h"
#include "tests/support/test_files.h"

namespace {

// Parses the arguments after a program name. The literals outlive the settings that point
// into them.
bool Parse(std::vector<const char*> args) {
  ResetExportSettings();
  args.insert(args.begin(), "rastrify");
  return ParseCommandLine(static_cast<int>(args.size()), args.data());
}

std::string Text(const char* value) {
  return value == nullptr ? "<absent>" : value;
}

TEST(ParseCommandLineTest, FormatValueInAllThreeSpellings) {
  ASSERT_TRUE(Parse({"-gjpeg", "doc.djvu", "nm"}));
  EXPECT_EQ(Text(gExportSettings.Format), "jpeg");
  ASSERT_TRUE(Parse({"doc.djvu", "-g", "jpeg", "nm"}));
  EXPECT_EQ(Text(gExportSettings.Format), "jpeg");
  ASSERT_TRUE(Parse({"doc.djvu", "nm", "-", "g", "jpeg"}));
  EXPECT_EQ(Text(gExportSettings.Format), "jpeg");
  EXPECT_EQ(Text(gExportSettings.DjvuFile), "doc.djvu");
  EXPECT_EQ(Text(gExportSettings.OutputTemplate), "nm");
}

TEST(ParseCommandLineTest, DefaultsAfterASuccessfulParse) {
  ASSERT_TRUE(Parse({"doc.djvu", "nm"}));
  EXPECT_EQ(Text(gExportSettings.Format), "tif");
  EXPECT_EQ(gExportSettings.RangeText, nullptr);
  EXPECT_EQ(gExportSettings.ExtraArguments, nullptr);
  EXPECT_EQ(gExportSettings.CurrentPage, 0);
}

TEST(ParseCommandLineTest, UnknownLettersAreIgnoredAndTakeNoValue) {
  // -G is not -g: the following jpeg is the first positional argument.
  ASSERT_TRUE(Parse({"-G", "jpeg", "nm"}));
  EXPECT_EQ(Text(gExportSettings.DjvuFile), "jpeg");
  EXPECT_EQ(Text(gExportSettings.OutputTemplate), "nm");
  EXPECT_EQ(Text(gExportSettings.Format), "tif");
  ASSERT_TRUE(Parse({"-x", "-verbose", "d", "t"}));
  // A lone dash followed by an empty or dash argument: an option without meaning.
  ASSERT_TRUE(Parse({"-", "", "d", "t"}));
  ASSERT_TRUE(Parse({"-", "-p", "d", "t"}));
  EXPECT_EQ(gExportSettings.RangeText, nullptr);
}

TEST(ParseCommandLineTest, ExtraArgumentsAlwaysTakeTheNextArgument) {
  ASSERT_TRUE(Parse({"-axyz", "tail", "d", "t"}));
  EXPECT_EQ(Text(gExportSettings.ExtraArguments), "tail");
  ASSERT_TRUE(Parse({"d", "-", "a", "--x 1", "t"}));
  EXPECT_EQ(Text(gExportSettings.ExtraArguments), "--x 1");
  EXPECT_FALSE(Parse({"d", "t", "-a"}));
  EXPECT_FALSE(Parse({"d", "t", "-axyz"}));
}

TEST(ParseCommandLineTest, RangeValueIsTakenUnchangedAndTheLastOneCounts) {
  ASSERT_TRUE(Parse({"-p", "-3", "d", "t"}));
  EXPECT_EQ(Text(gExportSettings.RangeText), "-3");
  ASSERT_TRUE(Parse({"-p1", "d", "-p", "2-3", "t"}));
  EXPECT_EQ(Text(gExportSettings.RangeText), "2-3");
  EXPECT_EQ(gExportSettings.RangeCursor, gExportSettings.RangeText);
  ASSERT_TRUE(Parse({"-gbmp", "-gBMP", "d", "t"}));
  EXPECT_EQ(Text(gExportSettings.Format), "BMP");
}

TEST(ParseCommandLineTest, MissingValuesAndExtraPositionalsFail) {
  EXPECT_FALSE(Parse({"d", "t", "-p"}));
  EXPECT_FALSE(Parse({"d", "t", "-g"}));
  EXPECT_FALSE(Parse({"d", "t", "-"}));
  EXPECT_FALSE(Parse({"d", "t", "-", "g"}));
  EXPECT_FALSE(Parse({"d", "t", "third"}));
  // An empty argument is positional too.
  EXPECT_FALSE(Parse({"d", "t", ""}));
  ASSERT_TRUE(Parse({"", ""}));
  EXPECT_EQ(Text(gExportSettings.DjvuFile), "");
}

TEST(ParseCommandLineTest, MissingPositionalFails) {
  EXPECT_FALSE(Parse({}));
  EXPECT_FALSE(Parse({"doc.djvu"}));
  EXPECT_FALSE(Parse({"-gjpeg", "-p", "1", "doc.djvu"}));
}

// The decoder's arguments for each page the iterator yields, as the run builds them: the text
// the platform splits, then "|" and each whole name in brackets.
std::vector<std::string> ArgumentTexts(std::vector<const char*> args, size_t limit = 10) {
  std::vector<std::string> texts;
  if (!Parse(std::move(args)))
    return texts;
  while (texts.size() < limit && NextPage(gExportSettings.CurrentPage)) {
    const DecoderArguments decoder = DecoderArgumentsForPage(gExportSettings.CurrentPage);
    std::string text = decoder.text + "|";
    for (const std::string& name : decoder.names)
      text += "[" + name + "]";
    texts.push_back(text);
  }
  return texts;
}

TEST(DecoderArgumentsTest, ExactTextPerPage) {
  EXPECT_EQ(ArgumentTexts({"-p", "1,12", "-gbmp", "doc.djvu", "nm"}),
            (std::vector<std::string>{
                "--layer=all --page-range=1 --output-format=bmp |[doc.djvu][nm0001.bmp]",
                "--layer=all --page-range=12 --output-format=bmp |[doc.djvu][nm0012.bmp]"}));
  // The extra text stands after two blanks, as written; the names follow it.
  EXPECT_EQ(ArgumentTexts({"-p", "3", "-a", "--x 1", "d.djvu", "out/pg"}),
            (std::vector<std::string>{
                "--layer=all --page-range=3 --output-format=tif  --x 1|[d.djvu][out/pg0003.tif]"}));
  // Upper case stays as written; five-digit and negative pages.
  EXPECT_EQ(ArgumentTexts({"-p", "12345,-1", "-gBMP", "d", "nm"}, 2),
            (std::vector<std::string>{
                "--layer=all --page-range=12345 --output-format=BMP |[d][nm12345.BMP]",
                "--layer=all --page-range=-1 --output-format=BMP |[d][nm-001.BMP]"}));
}

TEST(DecoderArgumentsTest, NamesStayWholeWhateverTheyHold) {
  EXPECT_EQ(ArgumentTexts(
                {"-p", "2", "-a", " --dpi=300  x ", "/my books/a b.djvu", "/out dir/p \"q\" g\\"}),
            (std::vector<std::string>{"--layer=all --page-range=2 --output-format=tif   --dpi=300  "
                                      "x |[/my books/a b.djvu][/out dir/p \"q\" g\\0002.tif]"}));
  EXPECT_EQ(
      ArgumentTexts({"-p", "1", "", ""}),
      (std::vector<std::string>{"--layer=all --page-range=1 --output-format=tif |[][0001.tif]"}));
}

TEST(DecoderArgumentsTest, AllPagesModeCountsFromOne) {
  std::vector<std::string> texts = ArgumentTexts({"d.djvu", "nm"}, 3);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[2], "--layer=all --page-range=3 --output-format=tif |[d.djvu][nm0003.tif]");
  EXPECT_EQ(gExportSettings.CurrentPage, 3);
}

TEST(DecoderArgumentsTest, BuildingAdvancesNoPage) {
  ASSERT_TRUE(Parse({"-p", "4-5", "d.djvu", "nm"}));
  ASSERT_TRUE(NextPage(gExportSettings.CurrentPage));
  const DecoderArguments first = DecoderArgumentsForPage(gExportSettings.CurrentPage);
  const DecoderArguments again = DecoderArgumentsForPage(gExportSettings.CurrentPage);
  EXPECT_EQ(first.text, again.text);
  EXPECT_EQ(first.names, again.names);
  EXPECT_EQ(gExportSettings.CurrentPage, 4);
  ASSERT_TRUE(NextPage(gExportSettings.CurrentPage));
  EXPECT_EQ(gExportSettings.CurrentPage, 5);
}

TEST(DecoderArgumentsTest, LongNamesAreNeverCut) {
  std::string longName(5000, 'n');
  std::vector<std::string> texts = ArgumentTexts({"-p", "2", "d.djvu", longName.c_str()});
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0],
            "--layer=all --page-range=2 --output-format=tif |[d.djvu][" + longName + "0002.tif]");
}

TEST(DecoderPathTest, DecoderLivesInAFolderBesideTheProgram) {
  ResetExportSettings();
  const std::string directory = platform::ExecutableDirectory();
  ASSERT_FALSE(directory.empty());
  EXPECT_EQ(ModuleDirectory(), directory);
  const std::string relative =
      std::string("decoder") + testing_support::kSeparator + "DjVuDecode.exe";
  EXPECT_EQ(DecoderPath(), directory + testing_support::kSeparator + relative);
  EXPECT_EQ(DecoderRelativeName(), relative);
}

}  // namespace
