// The quoting of one argument for the Windows C runtime: a pure function, so it is checked on
// Linux too. (Case folding and option values are checked through the programs that use them.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/text/windows_quote.h"

namespace {

using text::QuoteWindowsArgument;

TEST(QuoteWindowsArgumentTest, PlainArgumentsStayAsTheyAre) {
  for (const char* plain : {"doc.djvu", "C:\\books\\doc.djvu", "C:\\out\\", "\\\\server\\share",
                            "--layer=all", "\xE8\xA1\xA8\\1.frf", "a\\\\b"}) {
    EXPECT_EQ(QuoteWindowsArgument(plain), plain);
  }
}

// The Microsoft C runtime's reading of the arguments of a command line (after the program
// name), as documented for parse_cmdline: 2n backslashes before a quote give n and the quote
// is special, 2n+1 give n and a literal quote; "" inside quotes gives a literal quote.
std::vector<std::string> SplitLikeTheCRuntime(const std::string& line) {
  std::vector<std::string> args;
  size_t i = 0;
  for (;;) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
      ++i;
    if (i >= line.size())
      return args;
    std::string arg;
    bool inQuotes = false;
    while (i < line.size() && (inQuotes || (line[i] != ' ' && line[i] != '\t'))) {
      size_t backslashes = 0;
      while (i < line.size() && line[i] == '\\') {
        ++backslashes;
        ++i;
      }
      if (i < line.size() && line[i] == '"') {
        arg.append(backslashes / 2, '\\');
        if (backslashes % 2 == 1) {
          arg += '"';
        } else if (inQuotes && i + 1 < line.size() && line[i + 1] == '"') {
          arg += '"';
          ++i;
        } else {
          inQuotes = !inQuotes;
        }
        ++i;
      } else {
        arg.append(backslashes, '\\');
        if (i < line.size() && (inQuotes || (line[i] != ' ' && line[i] != '\t')))
          arg += line[i++];
      }
    }
    args.push_back(arg);
  }
}

TEST(QuoteWindowsArgumentTest, TheCRuntimeReadsEachArgumentBackWhole) {
  // Empty, blanks and tabs, quotes with and without backslashes before them, backslashes at
  // the end, and backslashes elsewhere that must stay single.
  const std::vector<std::string> names = {"",
                                          "plain",
                                          "my book.djvu",
                                          "C:\\my dir\\",
                                          "a\"b",
                                          "\"",
                                          "\\\"",
                                          "\\\\\"x",
                                          "a\\\\\"b",
                                          "end\\\\",
                                          "a b\\\\",
                                          " lead",
                                          "tab\there",
                                          "\\",
                                          "a b\\\"c\\",
                                          "\"\"",
                                          "q \"\" q\\",
                                          "a\\b c",
                                          "\\\\srv\\my share\\f",
                                          "C:\\Program Files\\books\\nm"};
  for (const std::string& name : names) {
    EXPECT_EQ(SplitLikeTheCRuntime(QuoteWindowsArgument(name)), std::vector<std::string>{name})
        << name;
  }
  // All of them on one line, after unquoted words: each comes back whole and in place.
  std::vector<std::string> expected = {"--layer=all", "--page-range=1"};
  expected.insert(expected.end(), names.begin(), names.end());
  EXPECT_EQ(SplitLikeTheCRuntime(text::WindowsArgumentsText("--layer=all --page-range=1 ", names)),
            expected);
}

TEST(WindowsArgumentsTextTest, NamesWithoutBlanksGiveTheFormerTextByteForByte) {
  // Before, the names were appended to the text with a blank each and nothing quoted.
  EXPECT_EQ(text::WindowsArgumentsText("--layer=all --page-range=1 --output-format=bmp ",
                                       {"C:\\books\\doc.djvu", "C:\\out\\nm0001.bmp"}),
            "--layer=all --page-range=1 --output-format=bmp  C:\\books\\doc.djvu "
            "C:\\out\\nm0001.bmp");
  EXPECT_EQ(text::WindowsArgumentsText("--layer=all --page-range=3 --output-format=tif  --x 1",
                                       {"d.djvu", "out\\pg0003.tif"}),
            "--layer=all --page-range=3 --output-format=tif  --x 1 d.djvu out\\pg0003.tif");
  // Names with blanks are quoted; the text before them stays as it is.
  EXPECT_EQ(text::WindowsArgumentsText("--a  --b c", {"C:\\my books\\a b.djvu", "C:\\o\\x"}),
            "--a  --b c \"C:\\my books\\a b.djvu\" C:\\o\\x");
}

}  // namespace
