// The text rules both programs share: ASCII case folding, an option's value attached or in the
// next argument, and the quoting of one argument for the Windows C runtime (a pure function,
// so it is checked on Linux too).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/text/ascii_case.h"
#include "common/text/option_value.h"
#include "common/text/windows_quote.h"

namespace {

TEST(FoldAsciiCaseTest, OnlyAsciiCapitalsChange) {
  for (int c = 0; c < 256; ++c) {
    const auto byte = static_cast<unsigned char>(c);
    const int expected = (c >= 'A' && c <= 'Z') ? c + 32 : c;
    EXPECT_EQ(text::FoldAsciiCase(byte), expected) << c;
  }
}

// Runs TakeOptionValue on the option at argv[index] with `attached` after its letter.
struct Taken {
  bool ok;
  int index;
  std::string value;
};

Taken Take(const char* attached, std::vector<const char*> argv, int index) {
  const char* value = "<untouched>";
  const bool ok =
      text::TakeOptionValue(attached, static_cast<int>(argv.size()), argv.data(), index, value);
  return {ok, index, value};
}

TEST(TakeOptionValueTest, AttachedValueOrTheNextArgument) {
  // -p12: the value is attached, no argument is used up.
  Taken attached = Take("12", {"prog", "-p12", "x"}, 1);
  EXPECT_TRUE(attached.ok);
  EXPECT_EQ(attached.index, 1);
  EXPECT_EQ(attached.value, "12");
  // -p 12: the next argument, and the index moves onto it.
  Taken next = Take("", {"prog", "-p", "12", "x"}, 1);
  EXPECT_TRUE(next.ok);
  EXPECT_EQ(next.index, 2);
  EXPECT_EQ(next.value, "12");
  // A value beginning with a dash, or empty, is taken unchanged.
  EXPECT_EQ(Take("", {"prog", "-p", "-3"}, 1).value, "-3");
  Taken empty = Take("", {"prog", "-p", ""}, 1);
  EXPECT_TRUE(empty.ok);
  EXPECT_EQ(empty.value, "");
  // No next argument: refused, nothing changed.
  Taken missing = Take("", {"prog", "d", "-p"}, 2);
  EXPECT_FALSE(missing.ok);
  EXPECT_EQ(missing.index, 2);
  EXPECT_EQ(missing.value, "<untouched>");
}

using text::QuoteWindowsArgument;

TEST(QuoteWindowsArgumentTest, PlainArgumentsStayAsTheyAre) {
  for (const char* plain : {"doc.djvu", "C:\\books\\doc.djvu", "C:\\out\\", "\\\\server\\share",
                            "--layer=all", "\xE8\xA1\xA8\\1.frf", "a\\\\b"}) {
    EXPECT_EQ(QuoteWindowsArgument(plain), plain);
  }
}

TEST(QuoteWindowsArgumentTest, BlanksTabsQuotesAndEmptyAreQuoted) {
  EXPECT_EQ(QuoteWindowsArgument(""), "\"\"");
  EXPECT_EQ(QuoteWindowsArgument("my book.djvu"), "\"my book.djvu\"");
  EXPECT_EQ(QuoteWindowsArgument("a\tb"), "\"a\tb\"");
  EXPECT_EQ(QuoteWindowsArgument(" "), "\" \"");
  EXPECT_EQ(QuoteWindowsArgument("C:\\Program Files\\x"), "\"C:\\Program Files\\x\"");
  // A quote inside: \" for it.
  EXPECT_EQ(QuoteWindowsArgument("a\"b"), "\"a\\\"b\"");
  EXPECT_EQ(QuoteWindowsArgument("\""), "\"\\\"\"");
}

TEST(QuoteWindowsArgumentTest, BackslashesAreDoubledOnlyBeforeAQuote) {
  // A trailing backslash: doubled before the closing quote.
  EXPECT_EQ(QuoteWindowsArgument("C:\\my dir\\"), "\"C:\\my dir\\\\\"");
  EXPECT_EQ(QuoteWindowsArgument("a b\\\\"), "\"a b\\\\\\\\\"");
  // Backslashes before an embedded quote: 2n + 1 of them.
  EXPECT_EQ(QuoteWindowsArgument("a\\\"b"), "\"a\\\\\\\"b\"");
  EXPECT_EQ(QuoteWindowsArgument("a\\\\\"b"), "\"a\\\\\\\\\\\"b\"");
  // Backslashes elsewhere stay single.
  EXPECT_EQ(QuoteWindowsArgument("a\\b c"), "\"a\\b c\"");
  EXPECT_EQ(QuoteWindowsArgument("\\\\srv\\my share\\f"), "\"\\\\srv\\my share\\f\"");
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
  const std::vector<std::string> names = {
      "",           "plain", "my book.djvu", "C:\\my dir\\",
      "a\"b",       "\"",    "\\\"",         "\\\\\"x",
      "end\\\\",    " lead", "tab\there",    "\\",
      "a b\\\"c\\", "\"\"",  "q \"\" q\\",   "C:\\Program Files\\books\\nm"};
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
