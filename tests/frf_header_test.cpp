// The file header, the frame types array and the closing record, of both versions.
#include <gtest/gtest.h>

#include "tests/frf_test_fixture.h"

namespace frf_test {
namespace {

FrfPage EmptyPage(uint8_t version) {
  FrfPage page;
  page.version = version;
  return page;
}

using FrfHeaderTest = FrfTest;

TEST_F(FrfHeaderTest, GoodPagesOfBothVersionsBeginAndEndThePage) {
  for (uint8_t version : {6, 10}) {
    FrfPage page = TwoBlockPage(version);
    page.names = true;
    const BuiltFile file = Build(page);
    const PageRun run = Run(file, 12);
    ASSERT_EQ(run.result, PARSE_OK) << int(version) << run.errors;
    EXPECT_EQ(run.step, 22);
    EXPECT_EQ(run.errors, "");
    EXPECT_EQ(run.formatVersion, version);
    EXPECT_EQ(run.frameTypes.size(), 1u);
    EXPECT_EQ(run.frameTypes, std::vector<uint8_t>{0});
    EXPECT_TRUE(Contains(run.script, "\nselect 12\nremove-txt\nset-txt\n(page 0 0 2480 3508"))
        << run.script;
    for (const std::string& word : TwoBlockPageWords()) {
      EXPECT_TRUE(Contains(run.script, "\"" + word + "\"")) << word << "\n" << run.script;
    }
    EXPECT_TRUE(Contains(run.script, "\n)\n\n.\n\n\nsave\n")) << run.script;
  }
}

TEST_F(FrfHeaderTest, SignatureVersionAndNamesFlag) {
  BuiltFile file = Build(EmptyPage(10));
  file.SetBytes(0, {'F', 'R', '5', 'T'});
  PageRun run = Run(file);
  EXPECT_EQ(run.result, PARSE_BAD_FORMAT);
  EXPECT_EQ(run.step, 1);
  EXPECT_EQ(run.offset, 0);

  file = Build(EmptyPage(10));
  file.Truncate(3);
  run = Run(file);
  EXPECT_EQ(run.result, PARSE_EOF);
  EXPECT_EQ(run.step, 1);

  file = Build(EmptyPage(6));
  file.SetField("header.version", 7);
  VerboseOn();
  std::string out;
  run = RunCaptured(file, out);
  EXPECT_EQ(run.result, PARSE_BAD_FORMAT);
  EXPECT_EQ(run.step, 2);
  EXPECT_EQ(out, "\nFormat version: 0.7");
  EXPECT_EQ(run.errors, NameLine() + "\nUNKNOW VERSION for file " + PathOf());
  ResetRunOptions();

  file = Build(EmptyPage(6));
  file.SetField("header.namesFlag", 1);
  run = Run(file);
  EXPECT_EQ(run.result, PARSE_BAD_FORMAT);
  EXPECT_EQ(run.step, 2);
  EXPECT_EQ(run.offset, static_cast<int32_t>(file.Offset("header.namesFlag")));
}

// Without names the steps 3 and 4 are passed over; with names they are the two names.
TEST_F(FrfHeaderTest, NamesAndTheStepsAfterThem) {
  FrfPage page = EmptyPage(6);
  page.wordA = 1;
  PageRun run = Run(Build(page));
  EXPECT_EQ(run.result, PARSE_BAD_FORMAT);
  EXPECT_EQ(run.step, 5);

  page = EmptyPage(10);
  page.names = true;
  page.name1 = u"Batch one";
  page.name2 = u"Second";
  BuiltFile file = Build(page);
  VerboseOn();
  std::string out;
  run = RunCaptured(file, out);
  EXPECT_EQ(run.result, PARSE_OK);
  EXPECT_TRUE(Contains(out, "\nFormat version: 0.10\nName #1: Batch one\nName #2: Second")) << out;
  EXPECT_TRUE(Contains(out,
                       "\nImage file name: page0001.tif\nWidth:      2480"
                       "\nHeight:     3508\nResolution: 300"))
      << out;
  ResetRunOptions();

  file.Truncate(file.Offset("header.name2") + 3);
  run = Run(file);
  EXPECT_EQ(run.result, PARSE_EOF);
  EXPECT_EQ(run.step, 4);
}

TEST_F(FrfHeaderTest, UnknownBlockOfVersionSix) {
  FrfPage page = EmptyPage(6);
  page.flagC = 1;
  page.flagD = 9;
  page.v6String = u"unused";
  EXPECT_EQ(Run(Build(page)).result, PARSE_OK);

  for (const char* field : {"header.byteE", "header.byteF", "header.byteG", "header.wordA"}) {
    BuiltFile file = Build(EmptyPage(6));
    file.SetField(field, 3);
    const PageRun run = Run(file);
    EXPECT_EQ(run.result, PARSE_BAD_FORMAT) << field;
    EXPECT_EQ(run.step, 5) << field;
    EXPECT_EQ(run.offset, static_cast<int32_t>(file.Offset(field))) << field;
  }
}

TEST_F(FrfHeaderTest, UnknownBlockOfVersionTen) {
  FrfPage page = EmptyPage(10);
  page.flagC = 2;  // 9 bytes follow
  page.flagD = 1;
  page.v10CountG = 4;
  page.v10ByteH = 0x55;
  EXPECT_EQ(Run(Build(page)).result, PARSE_OK);

  page = EmptyPage(10);
  page.flagC = 1;  // no bytes follow
  EXPECT_EQ(Run(Build(page)).result, PARSE_OK);

  // Count F is accepted only under -i, which skips its 2·F bytes.
  page = EmptyPage(10);
  page.v10CountF = 3;
  const BuiltFile file = Build(page);
  PageRun run = Run(file);
  EXPECT_EQ(run.result, PARSE_BAD_FORMAT);
  EXPECT_EQ(run.step, 5);
  EXPECT_EQ(run.offset, static_cast<int32_t>(file.Offset("header.countF")));
  gRunOptions.IgnoreBadPages = true;
  run = Run(file);
  EXPECT_EQ(run.result, PARSE_OK);
  EXPECT_EQ(run.errors, "");
}

// A header with at most one item of content and at most 30 bytes after the image name is an
// unprocessed file.
TEST_F(FrfHeaderTest, EmptyFileTest) {
  FrfPage page = EmptyPage(6);
  page.imageName.clear();
  BuiltFile file = Build(page);
  const uint32_t afterImage = file.End("header.image");
  file.Truncate(afterImage + 30);
  PageRun run = Run(file);
  EXPECT_EQ(run.result, PARSE_BAD_FORMAT);
  EXPECT_EQ(run.step, 6);
  EXPECT_EQ(run.errors,
            NameLine() + "\nEmpty file, not processed by FineReader, \"" + PathOf() + "\" ");
  gRunOptions.IgnoreBadPages = true;
  run = Run(file);
  EXPECT_EQ(run.result, PARSE_BAD_FORMAT);
  EXPECT_EQ(run.step, 6);
  EXPECT_EQ(run.errors, "");
  ResetRunOptions();

  // One byte more: the parse goes on and the file ends inside DATA2.
  file = Build(page);
  file.Truncate(afterImage + 31);
  run = Run(file);
  EXPECT_EQ(run.result, PARSE_EOF);
  EXPECT_EQ(run.step, 9);
  EXPECT_EQ(run.offset, static_cast<int32_t>(file.Offset("header.data2")));

  // An image name and names make two items: the short tail is accepted.
  page.imageName = u"p.tif";
  page.names = true;
  file = Build(page);
  file.Truncate(file.End("header.image") + 5);
  run = Run(file);
  EXPECT_EQ(run.result, PARSE_EOF);
  EXPECT_EQ(run.step, 7);

  // Version 10 flags D and G count as content too.
  page = EmptyPage(10);
  page.imageName.clear();
  page.flagD = 1;
  page.v10CountG = 1;
  file = Build(page);
  file.Truncate(file.End("header.image") + 5);
  EXPECT_EQ(Run(file).step, 7);
  page.v10CountG = 0;
  file = Build(page);
  file.Truncate(file.End("header.image") + 5);
  EXPECT_EQ(Run(file).step, 6);
}

TEST_F(FrfHeaderTest, ImageNameDataAndPageSize) {
  FrfPage page = EmptyPage(10);
  page.imageName = std::u16string(u"\0ab", 3);
  PageRun run = Run(Build(page));
  EXPECT_EQ(run.result, PARSE_BAD_FORMAT);
  EXPECT_EQ(run.step, 6);

  // DATA1 part 2: 2·k + 40 bytes in version 6, 17 bytes in version 10 whatever k is.
  for (uint8_t version : {6, 10}) {
    page = EmptyPage(version);
    page.data1K = 5;
    EXPECT_EQ(Run(Build(page)).result, PARSE_OK) << int(version);
  }

  struct Case {
    int32_t width, height, resolution;
    int result;
  };
  for (const Case& c : {Case{2480, 3508, 1200, PARSE_OK}, Case{2480, 3508, 1201, PARSE_BAD_FORMAT},
                        Case{0, 3508, 300, PARSE_BAD_FORMAT}, Case{2480, 0, 300, PARSE_BAD_FORMAT},
                        Case{2480, 3508, 0, PARSE_BAD_FORMAT}, Case{-5, 3508, -300, PARSE_OK}}) {
    page = EmptyPage(6);
    page.width = c.width;
    page.height = c.height;
    page.resolution = c.resolution;
    const BuiltFile file = Build(page);
    run = Run(file, 3);
    EXPECT_EQ(run.result, c.result) << c.width << " " << c.height << " " << c.resolution;
    if (c.result == PARSE_OK) {
      EXPECT_TRUE(Contains(run.script, "(page 0 0 " + std::to_string(c.width) + " 3508"));
    } else {
      EXPECT_EQ(run.step, 9);
      EXPECT_EQ(run.offset, static_cast<int32_t>(file.Offset("header.data2")));
      EXPECT_EQ(run.script, "\n\nsave\n");  // the page was not begun
    }
  }
}

TEST_F(FrfHeaderTest, ExtraDwordConstantAndFrameTypes) {
  BuiltFile file = Build(EmptyPage(10));
  file.Truncate(file.Offset("header.extraDword") + 2);
  PageRun run = Run(file);
  EXPECT_EQ(run.result, PARSE_EOF);
  EXPECT_EQ(run.step, 10);
  EXPECT_TRUE(Contains(run.script, "(page 0 0 2480 3508"));  // begun before step 10

  file = Build(EmptyPage(6));
  file.SetField("header.constant", 2);
  run = Run(file);
  EXPECT_EQ(run.result, PARSE_BAD_FORMAT);
  EXPECT_EQ(run.step, 11);
  EXPECT_EQ(run.offset, static_cast<int32_t>(file.Offset("header.constant")));

  // Frame count 0: straight to the end record; the page is empty.
  run = Run(Build(EmptyPage(6)));
  EXPECT_EQ(run.result, PARSE_OK);
  EXPECT_EQ(run.frameTypes.size(), 0u);
  EXPECT_TRUE(run.frameTypes.empty());

  // The file ends inside the frame types array.
  FrfPage page = EmptyPage(10);
  page.frameTypes = Bytes{1, 1, 1};
  page.frameCount = 3;
  file = Build(page);
  file.Truncate(file.Offset("header.frameTypes") + 1);
  run = Run(file);
  EXPECT_EQ(run.result, PARSE_EOF);
  EXPECT_EQ(run.step, 12);
}

TEST_F(FrfHeaderTest, EndRecordAndIdentifier) {
  FrfPage page = EmptyPage(6);
  page.endRecordCount = 2;
  page.endLongCount = true;  // count byte 255, then the uint32 2: 40 bytes
  page.trailing = Bytes{1, 2, 3};
  PageRun run = Run(Build(page));
  EXPECT_EQ(run.result, PARSE_OK);
  EXPECT_EQ(run.step, 22);

  page = EmptyPage(10);
  page.endRecordCount = 3;  // short count: 60 bytes
  EXPECT_EQ(Run(Build(page)).result, PARSE_OK);

  struct Case {
    const char* field;
    uint64_t value;
    int32_t step;
  };
  for (const Case& c : {Case{"end.marker", 1, 21}, Case{"end.identifier", 0xB80875BD, 22},
                        Case{"end.signature", 0x54355246, 22}}) {
    BuiltFile file = Build(EmptyPage(10));
    file.SetField(c.field, c.value);
    run = Run(file);
    EXPECT_EQ(run.result, PARSE_BAD_FORMAT) << c.field;
    EXPECT_EQ(run.step, c.step) << c.field;
    EXPECT_EQ(run.offset, static_cast<int32_t>(file.Offset(c.field))) << c.field;
  }

  // A record count that wraps 20·count to a small number: the skip is taken modulo 2^32.
  page = EmptyPage(6);
  BuiltFile file = Build(page);
  file.Truncate(file.Offset("end.countByte"));
  for (uint8_t byte : {255, 0x33, 0x33, 0x33, 0x03})
    file.bytes.push_back(byte);  // 0x03333333
  run = Run(file);
  EXPECT_EQ(run.result, PARSE_EOF);
  EXPECT_EQ(run.step, 22);
}

TEST_F(FrfHeaderTest, ListingOfTheHeaderRegions) {
  for (uint8_t version : {6, 10}) {
    FrfPage page = EmptyPage(version);
    page.frames.push_back(PictureFrame{});
    page.frames.push_back(PictureFrame{});
    page.endRecordCount = 1;
    const BuiltFile file = Build(page);
    ListingOn(0);
    std::string out;
    const PageRun run = RunCaptured(file, out);
    ASSERT_EQ(run.result, PARSE_OK) << out;
    const std::string expected =
        std::string(version == 6 ? "  Version=0006\n" : "  Version=000A\n") +
        Listed(file, "header.unknown", "\n\n *** Header: Unknow block ***") +
        Listed(file, "header.image", "\n\n *** Header: Image file name ***") +
        Listed(file, "header.data1Part1", "\n\n *** Header: Unknow block DATA1 (part 1) ***") +
        (version == 6 ? "\n\n\n" : "") +
        Listed(file, "header.data1Part2", "\n\n *** Header: Unknow block DATA1 (part 2) ***") +
        Listed(file, "header.data2", "\n\n *** Header: Unknow block DATA2 ***") +
        Listed(file, "header.frameTable", "\n\n *** Header: Frame Types array  ***");
    EXPECT_EQ(out.substr(0, expected.size()), expected) << int(version);
    const std::string tail =
        Listed(file, "end.endOfFrames", "\n\n *** End Header: End of frames ***") +
        Listed(file, "end.endId", "\n\n *** End Header: End ID ***") + "\n\n *** OK! ***";
    ASSERT_GE(out.size(), tail.size());
    EXPECT_EQ(out.substr(out.size() - tail.size()), tail) << int(version);
    ResetRunOptions();
  }
}

TEST_F(FrfHeaderTest, ListingOfOneTagAndRegionsTooSmallToList) {
  FrfPage page = EmptyPage(6);
  page.data1K = 2;
  page.imageName.clear();
  const BuiltFile file = Build(page);
  ListingOn(15);
  std::string out;
  EXPECT_EQ(RunCaptured(file, out).result, PARSE_OK);
  EXPECT_EQ(out, "  Version=0006\n" +
                     Listed(file, "header.data2", "\n\n *** Header: Unknow block DATA2 ***") +
                     "\n\n *** OK! ***");

  // Frame count 0 makes a one-byte frame table, which is not listed; no image name, no tag 12.
  ListingOn(0);
  EXPECT_EQ(RunCaptured(file, out).result, PARSE_OK);
  EXPECT_FALSE(Contains(out, "Frame Types array")) << out;
  EXPECT_FALSE(Contains(out, "Image file name")) << out;
  EXPECT_TRUE(Contains(out, "DATA1 (part 2) ***\n")) << out;  // k = 2: no "\n\n\n"
  EXPECT_FALSE(Contains(out, "(part 1) ***\n\n\n")) << out;
}

}  // namespace
}  // namespace frf_test
