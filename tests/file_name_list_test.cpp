#include "ocrsift/driver/file_name_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/test_files.h"

namespace {

using testing_support::TempDir;

std::vector<std::string> AllNames(FileNameList& list) {
  std::vector<std::string> names;
  std::string name;
  while (list.NextName(name))
    names.push_back(name);
  return names;
}

// Runs the tests that need relative names inside a folder and returns to where they were.
class CurrentDirectory {
 public:
  explicit CurrentDirectory(const std::string& path) : saved_(std::filesystem::current_path()) {
    std::filesystem::current_path(path);
  }
  ~CurrentDirectory() { std::filesystem::current_path(saved_); }

 private:
  std::filesystem::path saved_;
};

TEST(FileNameListTest, ListFileSkipsCommentsAndBlankLinesAndTrimsNames) {
  TempDir dir;
  dir.Write("p1.frf", "x");
  dir.Write("p2.frf", "x");
  dir.Write("p3.frf", "x");
  dir.Write("p5.frf", "x");
  // CRLF line ends, a tab-indented comment, a final line without a line feed.
  std::string list = dir.Write("pages.lst",
                               "# comment\r\n"
                               "\r\n"
                               "  p1.frf  \r\n"
                               ";p2.frf\r\n"
                               "\t # p2.frf\r\n"
                               "   \t\r\n"
                               "\tp3.frf\t \n"
                               "p1.frf\n"
                               "p5.frf");
  testing::internal::CaptureStderr();
  FileNameList names("@" + list);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_TRUE(names.IsValid());
  EXPECT_EQ(names.NameCount(), 4);
  std::string prefix = dir.path() + testing_support::kSeparator;
  EXPECT_EQ(AllNames(names), (std::vector<std::string>{prefix + "p1.frf", prefix + "p3.frf",
                                                       prefix + "p1.frf", prefix + "p5.frf"}));
  std::string untouched = "kept";
  EXPECT_FALSE(names.NextName(untouched));
  EXPECT_EQ(untouched, "kept");
}

TEST(FileNameListTest, ListLinesWithADirectoryPartAreTakenUnchanged) {
  TempDir dir;
  dir.Write("sub/p1.frf", "x");
  dir.Write("lists/p2.frf", "x");
  dir.Write("lists/pages.lst", "sub/p1.frf\np2.frf\n" + dir.File("sub/p1.frf") + "\n");
  CurrentDirectory inside(dir.path());

  FileNameList relative("@lists/pages.lst");
  EXPECT_TRUE(relative.IsValid());
  EXPECT_EQ(AllNames(relative),
            (std::vector<std::string>{"sub/p1.frf", "lists/p2.frf", dir.File("sub/p1.frf")}));

  // A list in the current directory gives no prefix at all.
  dir.Write("here.lst", "lists/p2.frf\n");
  FileNameList here("@here.lst");
  EXPECT_TRUE(here.IsValid());
  EXPECT_EQ(AllNames(here), (std::vector<std::string>{"lists/p2.frf"}));
}

TEST(FileNameListTest, EveryMissingFileIsReportedAndTheListTurnsInvalid) {
  TempDir dir;
  dir.Write("p1.frf", "x");
  dir.Write("p3.frf", "x");
  std::string list = dir.Write("pages.lst", "p1.frf\nmissing2.frf\np3.frf\nmissing 4.frf\n");
  testing::internal::CaptureStderr();
  FileNameList names("@" + list);
  std::string prefix = dir.path() + testing_support::kSeparator;
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "\n *** Missing file \"" + prefix + "missing2.frf\"" + "\n *** Missing file \"" +
                prefix + "missing 4.frf\"");
  EXPECT_FALSE(names.IsValid());
  // The names that exist are still listed; the driver ends the run before using them.
  EXPECT_EQ(names.NameCount(), 2);
}

TEST(FileNameListTest, UnreadableOrEmptyListFiles) {
  TempDir dir;
  testing::internal::CaptureStderr();
  FileNameList absent("@" + dir.File("nothing.lst"));
  FileNameList noName("@");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_FALSE(absent.IsValid());
  EXPECT_EQ(absent.NameCount(), 0);
  EXPECT_FALSE(noName.IsValid());

  std::string onlyComments = dir.Write("comments.lst", "# a\n; b\n\n  \n");
  FileNameList empty("@" + onlyComments);
  EXPECT_TRUE(empty.IsValid());
  EXPECT_EQ(empty.NameCount(), 0);
  std::string name = "kept";
  EXPECT_FALSE(empty.NextName(name));
  EXPECT_EQ(name, "kept");
}

TEST(FileNameListTest, AnAtSignMakesAListFileEvenWithWildcardCharacters) {
  TempDir dir;
  dir.Write("p1.frf", "x");
#ifndef _WIN32  // Windows allows neither '*' nor '?' in a name
  std::string list = dir.Write("l*st?.lst", "p1.frf\n");
  FileNameList names("@" + list);
  EXPECT_TRUE(names.IsValid());
  EXPECT_EQ(AllNames(names), (std::vector<std::string>{dir.File("p1.frf")}));
#endif
  dir.Write("other.lst", "p9.frf\n");

  FileNameList notExpanded("@" + dir.File("*.lst"));
  EXPECT_FALSE(notExpanded.IsValid());
  EXPECT_EQ(notExpanded.NameCount(), 0);
}

TEST(FileNameListTest, WildcardMatchesAreSortedWithoutRegardToCase) {
  TempDir dir;
  dir.Write("Page2.frf", "x");
  dir.Write("page10.frf", "x");
  dir.Write("PAGE1.frf", "x");
  dir.Write("page3.txt", "x");
  dir.Write("x.frf/inner.frf", "x");  // a directory matching the pattern
  FileNameList names(dir.File("*.FRF"));
  EXPECT_TRUE(names.IsValid());
  EXPECT_EQ(AllNames(names),
            (std::vector<std::string>{dir.File("PAGE1.frf"), dir.File("page10.frf"),
                                      dir.File("Page2.frf")}));

  FileNameList single(dir.File("page?.frf"));
  EXPECT_EQ(AllNames(single),
            (std::vector<std::string>{dir.File("PAGE1.frf"), dir.File("Page2.frf")}));

  CurrentDirectory inside(dir.path());
  FileNameList relative("*.frf");
  EXPECT_EQ(AllNames(relative), (std::vector<std::string>{"PAGE1.frf", "page10.frf", "Page2.frf"}));
}

TEST(FileNameListTest, WildcardWithoutMatchesGivesAValidEmptyList) {
  TempDir dir;
  dir.Write("a.txt", "x");
  FileNameList names(dir.File("*.frf"));
  EXPECT_TRUE(names.IsValid());
  EXPECT_EQ(names.NameCount(), 0);
  FileNameList noFolder(dir.File("absent/*.frf"));
  EXPECT_TRUE(noFolder.IsValid());
  EXPECT_EQ(noFolder.NameCount(), 0);
}

TEST(FileNameListTest, ASingleNameIsTakenUnchangedWithoutExistenceTest) {
  const std::vector<std::string> arguments = {"does/not/exist.frf", "  blanks and \"quotes\" .frf",
                                              "\xD1\x81\xD1\x82\xD1\x80.frf",
                                              std::string(1500, 'n') + ".frf"};
  for (const std::string& argument : arguments) {
    FileNameList names(argument);
    EXPECT_TRUE(names.IsValid());
    EXPECT_EQ(AllNames(names), (std::vector<std::string>{argument}));
  }
}

TEST(FileNameListTest, UnusualAndLongNamesInAListFile) {
  TempDir dir;
#ifdef _WIN32
  std::string quoted = "page 'one' \xE9t\xE9.frf";  // Windows allows no '"' in a name
#else
  std::string quoted = "page \"one\" \xC3\xA9t\xC3\xA9.frf";
#endif
  dir.Write(quoted, "x");
  // Each component stays below the file-system limit; on POSIX the whole name is over 1000
  // characters.
  std::string deep;
#ifdef _WIN32
  const int levels = 1;  // wine's narrow file calls refuse names past MAX_PATH
#else
  const int levels = 5;
#endif
  for (int i = 0; i < levels; ++i)
    deep += std::string(200, static_cast<char>('a' + i)) + "/";
  deep += "page.frf";
  dir.Write(deep, "x");
  std::string list = dir.Write("pages.lst", "  " + quoted + " \n" + dir.File(deep) + "\r\n");
  FileNameList names("@" + list);
  EXPECT_TRUE(names.IsValid());
  EXPECT_EQ(AllNames(names), (std::vector<std::string>{dir.File(quoted), dir.File(deep)}));
}

TEST(FileNameListTest, VeryLongListLinesAreReadWhole) {
  TempDir dir;
  dir.Write("p1.frf", "x");
  std::string longComment = "#" + std::string(9999, 'c');
  std::string padded = std::string(9994, ' ') + "p1.frf";
  std::string longName = std::string(10000, 'm');
  std::string list =
      dir.Write("pages.lst", longComment + "\n" + padded + "\n" + longName + "\np1.frf");
  testing::internal::CaptureStderr();
  FileNameList names("@" + list);
  // One report for the long line as a whole, none for pieces of the comment.
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "\n *** Missing file \"" + dir.File(longName) + "\"");
  EXPECT_FALSE(names.IsValid());
  EXPECT_EQ(AllNames(names), (std::vector<std::string>{dir.File("p1.frf"), dir.File("p1.frf")}));
}

TEST(FileNameListTest, BuildingAgainReplacesTheList) {
  TempDir dir;
  FileNameList names("@" + dir.File("absent.lst"));
  EXPECT_FALSE(names.IsValid());
  names.BuildFileNameList("one.frf");
  EXPECT_TRUE(names.IsValid());
  EXPECT_EQ(AllNames(names), (std::vector<std::string>{"one.frf"}));
}

TEST(FileNameListTest, CompareNamesFoldsOnlyAsciiLettersAndCountsTheEnd) {
  auto compare = [](const char* a, const char* b) {
    return FileNameList::CompareNames(StringNode(a), StringNode(b));
  };
  EXPECT_EQ(compare("Page.FRF", "page.frf"), 0);
  EXPECT_LT(compare("page10.frf", "page2.frf"), 0);
  EXPECT_LT(compare("PAGE1.frf", "page10.frf"), 0);  // "." before "0"
  EXPECT_LT(compare("p_1", "pA"), 0);                // "_" before letters of either case
  EXPECT_LT(compare("p_1", "pa"), 0);
  EXPECT_LT(compare("p1", "pa"), 0);
  EXPECT_LT(compare("page", "page1"), 0);  // the shorter name first
  EXPECT_GT(compare("page1", "PAGE"), 0);
  EXPECT_GT(compare("\xC3\xA9", "z"), 0);         // bytes compare unsigned
  EXPECT_NE(compare("\xC3\xA9", "\xC3\x89"), 0);  // no folding beyond A-Z
  // "[" (0x5B) lies between "A" and "a"; folded, both letters are 0x61.
  EXPECT_LT(compare("[", "a"), 0);
  EXPECT_LT(compare("[", "A"), 0);
}

}  // namespace
