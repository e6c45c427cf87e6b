// The Windows narrow-name services under double-byte code pages, whatever the system's own
// ANSI code page is.
#include <gtest/gtest.h>

#include <string>

#include "common/platform/win32/code_page.h"

namespace {

using platform::LastDirSeparatorInCodePage;

TEST(CodePageTest, SeparatorSearchStepsOverDoubleByteCharacters) {
  auto last = [](const std::string& name, bool colon, unsigned codePage) {
    return LastDirSeparatorInCodePage(name, colon, codePage);
  };
  // 表 (0x95 0x5C in 932) and 能 (0x94 0x5C): trail bytes equal to '\\'.
  const std::string hyo = "\x95\x5C";
  EXPECT_EQ(last(hyo + "*.frf", true, 932), std::string::npos);
  EXPECT_EQ(last("scans\\" + hyo + "1.frf", true, 932), 5u);
  EXPECT_EQ(last("a/" + hyo + "\x94\x5C" + "b", false, 932), 1u);
  // The same bytes in a single-byte code page are two characters, the second a backslash.
  EXPECT_EQ(last(hyo + "*.frf", true, 1252), 1u);
  // '/' and, when asked for, a drive's colon count; a lead byte at the very end stands alone.
  EXPECT_EQ(last("C:page.frf", true, 932), 1u);
  EXPECT_EQ(last("C:page.frf", false, 932), std::string::npos);
  EXPECT_EQ(last("dir/x\x95", false, 932), 3u);
  // Code pages 936, 949 and 950 have lead bytes too.
  EXPECT_EQ(last("\x81\x5C", false, 936), std::string::npos);
  EXPECT_EQ(last("\x81\x5C", false, 949), std::string::npos);
  EXPECT_EQ(last("\xA1\x5C", false, 950), std::string::npos);
}

TEST(CodePageTest, NarrowBytesPerUnitIsTheLongestCharacter) {
  EXPECT_EQ(platform::NarrowBytesPerUnitOfCodePage(1252), 1);
  for (unsigned codePage : {932u, 936u, 949u, 950u})
    EXPECT_EQ(platform::NarrowBytesPerUnitOfCodePage(codePage), 2) << codePage;
  EXPECT_EQ(platform::NarrowBytesPerUnitOfCodePage(65001), 4);
}

}  // namespace
