// Text frame heads and bodies, end-of-frame records, and picture, table and barcode frames.
#include <gtest/gtest.h>

#include "tests/frf_test_fixture.h"

namespace frf_test {
namespace {

FrfPage PageWith(uint8_t version, Frame frame) {
  FrfPage page;
  page.version = version;
  page.frames.push_back(std::move(frame));
  return page;
}

TextFrame TextFrameOf(const std::u16string& text) {
  TextFrame frame;
  frame.body.blocks.push_back(MakeBlock(text));
  return frame;
}

struct FieldCase {
  const char* field;
  uint64_t value;
  int32_t step;
};

using FrfFramesTest = FrfTest;

TEST_F(FrfFramesTest, AllFrameKindsOfBothVersions) {
  for (uint8_t version : {6, 10}) {
    const PageRun run = Run(Build(FramesPage(version)));
    ASSERT_EQ(run.result, PARSE_OK) << int(version) << run.errors;
    EXPECT_EQ(run.frameTypes, (std::vector<uint8_t>{0, 1, 3, 4}));
    size_t at = 0;
    for (const std::string& word : FramesPageWords()) {
      at = run.script.find("\"" + word + "\"", at);
      EXPECT_NE(at, std::string::npos) << word << "\n" << run.script;
    }
  }
}

TEST_F(FrfFramesTest, FrameHeadFailuresKeepTheirSteps) {
  for (uint8_t version : {6, 10}) {
    TextFrame frame = TextFrameOf(u"head");
    frame.lead = Bytes{1, 2, 3};
    frame.recordCount = 2;
    BuiltFile file = Build(PageWith(version, frame));
    EXPECT_EQ(Run(file).result, PARSE_OK);
    // 1 + lead + 25 or 27 + 4 + 16·m + 7 bytes.
    EXPECT_EQ(file.Offset("frame0.compoundLength") - file.Offset("frame0.leadLength"),
              1u + 3 + (version == 10 ? 27 : 25) + 4 + 32 + 7);

    BuiltFile cut = file;
    cut.Truncate(file.Offset("frame0.leadLength"));
    PageRun run = Run(cut);
    EXPECT_EQ(run.result, PARSE_EOF);
    EXPECT_EQ(run.step, 80);
    EXPECT_EQ(run.failedFrame, 0);
    cut = file;
    cut.Truncate(file.Offset("frame0.recordCount") + 1);
    run = Run(cut);
    EXPECT_EQ(run.step, 81);
    EXPECT_EQ(run.offset, static_cast<int32_t>(file.Offset("frame0.recordCount")));
    // The head's skips run off the end: the next read, the compound length, fails.
    cut = file;
    cut.Truncate(file.Offset("frame0.headTail") + 3);
    run = Run(cut);
    EXPECT_EQ(run.result, PARSE_EOF);
    EXPECT_EQ(run.step, 100);
  }
  // 16·m wraps: 0x10000002 records skip 32 bytes.
  TextFrame frame = TextFrameOf(u"wrap");
  frame.recordCount = 2;
  BuiltFile file = Build(PageWith(6, frame));
  file.SetField("frame0.recordCount", 0x10000002);
  EXPECT_EQ(Run(file).result, PARSE_OK);
}

TEST_F(FrfFramesTest, BodyNamesAndVerboseReport) {
  TextFrame frame = TextFrameOf(u"body");
  frame.body.compoundLanguage = u"Mixed";
  frame.body.languages = {u"abc", u"", u"de"};
  frame.body.fonts = {u"Serif", u""};
  const BuiltFile file = Build(PageWith(10, frame));
  VerboseOn();
  std::string out;
  const PageRun run = RunCaptured(file, out);
  ASSERT_EQ(run.result, PARSE_OK) << run.errors;
  char expected[200];
  std::snprintf(expected, sizeof expected,
                "\nFrame 1, offset=%08X\nCompound lang: Mixed\nLanguage #1:  abc"
                "\nLanguage #3:  de\nFont 1:   Serif\nFont 2:   \n\nBlocks:   1",
                file.Offset("frame0.compoundLength"));
  EXPECT_TRUE(Contains(out, expected)) << out;
  std::snprintf(expected, sizeof expected, "\nFrame offset=%08X",
                file.Offset("frame0.recordCount"));
  EXPECT_TRUE(Contains(out, expected)) << out;
  std::snprintf(expected, sizeof expected, "\nEnd Frame, offset=%08X (end frame block)",
                file.Offset("frame0.end"));
  EXPECT_TRUE(Contains(out, expected)) << out;
  std::snprintf(expected, sizeof expected, "\nEnd Frame, offset=%08X", file.End("frame0.end"));
  EXPECT_TRUE(Contains(out, expected)) << out;
  ResetRunOptions();

  // Negative language and font counts read no names; block count 0 goes to the end record.
  TextFrame bare;
  bare.body.languages.clear();
  bare.body.fonts.clear();
  bare.body.languageCount = -3;
  bare.body.fontCount = INT32_MIN;
  EXPECT_EQ(Run(Build(PageWith(6, bare))).result, PARSE_OK);

  // A huge language count reads names until the file ends.
  TextFrame huge = TextFrameOf(u"x");
  huge.body.languageCount = INT32_MAX;
  const PageRun hugeRun = Run(Build(PageWith(6, huge)));
  EXPECT_EQ(hugeRun.result, PARSE_EOF);
  EXPECT_EQ(hugeRun.step, 101);
}

// The damaged corpus fails each checked field of the end records; these are the values the
// records may take.
TEST_F(FrfFramesTest, EndOfFrameRecordsThatParse) {
  // Any first byte in version 6 when the three agree; selector 0 and three records in 10.
  TextFrame frame = TextFrameOf(u"end");
  frame.body.end.v6A = 0x42;
  EXPECT_EQ(Run(Build(PageWith(6, frame))).result, PARSE_OK);
  frame.body.end.selector = 0;
  frame.body.end.recordCount = 3;
  frame.body.end.any = 9;
  const BuiltFile file = Build(PageWith(10, frame));
  EXPECT_EQ(file.Width("frame0.endRecords"), 24u);
  EXPECT_EQ(Run(file).result, PARSE_OK);
}

TEST_F(FrfFramesTest, FailingBlockEndsTheFrame) {
  TextFrame frame = TextFrameOf(u"one");
  frame.body.blocks.push_back(MakeBlock(u"two"));
  frame.body.blocks.back().maskLength = 1;
  frame.body.blocks.push_back(MakeBlock(u"three"));
  FrfPage page = PageWith(6, frame);
  page.frames.push_back(TextFrameOf(u"later"));
  const BuiltFile file = Build(page);
  const PageRun run = Run(file);
  EXPECT_EQ(run.result, PARSE_BAD_FORMAT);
  EXPECT_EQ(run.failedFrame, 0);
  EXPECT_EQ(run.step, 103);
  EXPECT_TRUE(Contains(run.errors, "\nInvalid FRF format (1:2:231) offset=")) << run.errors;
  EXPECT_TRUE(Contains(run.script, "\"one\""));
  EXPECT_FALSE(Contains(run.script, "three"));
  EXPECT_FALSE(Contains(run.script, "later"));
}

TEST_F(FrfFramesTest, PictureFrames) {
  for (uint8_t version : {6, 10}) {
    FrfPage page = PageWith(version, PictureFrame{});
    page.frames.push_back(TextFrameOf(u"after"));
    BuiltFile file = Build(page);
    // 1 + 1 + 25 + 4 + 4 bytes in version 6, two more in version 10.
    EXPECT_EQ(file.Width("frame0"), version == 10 ? 37u : 35u);
    PageRun run = Run(file);
    EXPECT_EQ(run.result, PARSE_OK);
    EXPECT_TRUE(Contains(run.script, "\"after\""));

    file.SetField("frame0.marker", 1);
    run = Run(file);
    EXPECT_EQ(run.result, PARSE_BAD_FORMAT);
    EXPECT_EQ(run.step, 300);
    EXPECT_EQ(run.offset, static_cast<int32_t>(file.Offset("frame0.marker")));

    file = Build(page);
    file.Truncate(file.Offset("frame0.recordCount") + 3);
    run = Run(file);
    EXPECT_EQ(run.result, PARSE_EOF);
    EXPECT_EQ(run.step, 301);
  }
}

TEST_F(FrfFramesTest, TableFrames) {
  for (uint8_t version : {6, 10}) {
    TableFrame table;
    table.dimA = 2;
    table.dimB = 3;
    table.lead = Bytes{5, 5};
    table.recordCount = 1;
    table.longCellCount = true;
    table.cells.resize(4);
    table.cells[0].kind = 2;
    table.cells[2].kind = 3;  // later cells: any kind
    const char16_t* texts[] = {u"north", u"east", u"south", u"west"};
    for (size_t k = 0; k < 4; ++k)
      table.cells[k].body.blocks.push_back(MakeBlock(texts[k]));
    BuiltFile file = Build(PageWith(version, table));
    EXPECT_EQ(file.Width("frame0.descriptor"), 51u);
    EXPECT_EQ(file.Width("frame0.cell1.descriptor"), version == 10 ? 24u : 29u);
    PageRun run = Run(file);
    ASSERT_EQ(run.result, PARSE_OK) << int(version) << run.errors;
    for (const char* word : {"\"north\"", "\"east\"", "\"south\"", "\"west\""}) {
      EXPECT_TRUE(Contains(run.script, word)) << word;
    }

    // The first cell's kind must be 1 or 2.
    file.SetField("frame0.cell0.kind", 3);
    run = Run(file);
    EXPECT_EQ(run.result, PARSE_BAD_FORMAT);
    EXPECT_EQ(run.step, 402);
    EXPECT_EQ(run.offset, static_cast<int32_t>(file.Offset("frame0.cell0.kind")));

    file = Build(PageWith(version, table));
    file.SetField("frame0.zero", 1);
    run = Run(file);
    EXPECT_EQ(run.result, PARSE_BAD_FORMAT);
    EXPECT_EQ(run.step, 402);

    // A failing cell: its block reports with the cell number, the frame fails with step 402.
    table.cells[1].body.blocks[0].checkCount = 0;
    file = Build(PageWith(version, table));
    run = Run(file);
    EXPECT_EQ(run.result, PARSE_BAD_FORMAT);
    EXPECT_EQ(run.step, 402);
    EXPECT_TRUE(Contains(run.errors, "\nInvalid FRF format (2:1:211) offset=")) << run.errors;
    EXPECT_TRUE(Contains(run.script, "\"north\""));
    EXPECT_FALSE(Contains(run.script, "south"));
  }

  // No cells and an empty descriptor: straight to the trailer.
  TableFrame empty;
  empty.dimA = 0;
  empty.dimB = 0;
  FrfPage page = PageWith(10, empty);
  page.frames.push_back(TextFrameOf(u"after"));
  const PageRun run = Run(Build(page));
  EXPECT_EQ(run.result, PARSE_OK) << run.errors;
  EXPECT_TRUE(Contains(run.script, "\"after\""));
}

TEST_F(FrfFramesTest, BarcodeLanguagesFontsAndBlocks) {
  struct Case {
    uint8_t languages;
    int32_t fonts;
    const char* shown;
    const char* hidden;
  };
  const Case cases[] = {
      {3, 2,
       "\nBarCode Frame 1, offset=%08X\nLanguage #1:   English\nLanguage #2:   Digits"
       "\nFont 1:   Arial\nFont 2:   Courier New\n\nBlocks:   1",
       nullptr},
      {2, 1, "\nLanguage #2:   Digits\nFont 2:   Courier New\n\nBlocks:   1", "Language #1"},
      {1, 0, "\n\nBlocks:   1", "Language"},
      {4, 3, "\n\nBlocks:   1", "Font"},
  };
  for (const Case& c : cases) {
    BarcodeFrame barcode;
    barcode.languageCount = c.languages;
    barcode.fontCount = c.fonts;
    const BuiltFile file = Build(PageWith(10, barcode));
    VerboseOn();
    std::string out;
    const PageRun run = RunCaptured(file, out);
    ASSERT_EQ(run.result, PARSE_OK) << int(c.languages);
    char shown[300];
    const uint32_t first = c.languages == 3 ? file.Offset("frame0.language1Length") : 0;
    std::snprintf(shown, sizeof shown, c.shown, first);
    EXPECT_TRUE(Contains(out, shown)) << out;
    if (c.hidden != nullptr) {
      EXPECT_FALSE(Contains(out, c.hidden)) << out;
      EXPECT_FALSE(Contains(out, "BarCode Frame 1,")) << out;
    }
  }
  ResetRunOptions();

  for (uint8_t version : {6, 10}) {
    BarcodeFrame barcode;
    barcode.blocks = {1, 1};
    BuiltFile file = Build(PageWith(version, barcode));
    EXPECT_EQ(Run(file).result, PARSE_OK);
    file.SetField("frame0.block1.one", 2);
    PageRun run = Run(file);
    EXPECT_EQ(run.result, PARSE_BAD_FORMAT);
    EXPECT_EQ(run.step, 508);
    EXPECT_EQ(run.offset, static_cast<int32_t>(file.Offset("frame0.block1.one")));

    file = Build(PageWith(version, barcode));
    file.SetField("frame0.marker", 3);
    EXPECT_EQ(Run(file).step, 500);
    file = Build(PageWith(version, barcode));
    file.SetField("frame0.zero", 3);
    EXPECT_EQ(Run(file).step, 502);
  }
}

TEST_F(FrfFramesTest, BarcodeEndRecords) {
  BarcodeFrame barcode;
  barcode.v10RecordCount = 2;  // FF, FF FF 00 00, 02 00 00 00, then 16 bytes
  BuiltFile file = Build(PageWith(10, barcode));
  EXPECT_EQ(file.Width("frame0.endRecords"), 16u);
  EXPECT_EQ(Run(file).result, PARSE_OK);
  for (const FieldCase& c :
       {FieldCase{"frame0.endMarker", 254, 509}, FieldCase{"frame0.endMarker2", 0xFFFF0000, 510}}) {
    file = Build(PageWith(10, barcode));
    file.SetField(c.field, c.value);
    const PageRun run = Run(file);
    EXPECT_EQ(run.result, PARSE_BAD_FORMAT) << c.field;
    EXPECT_EQ(run.step, c.step) << c.field;
  }
  file = Build(PageWith(10, barcode));
  file.Truncate(file.Offset("frame0.endCount") + 1);
  EXPECT_EQ(Run(file).step, 510);

  for (const FieldCase& c : {FieldCase{"frame0.endB", 1, 510}, FieldCase{"frame0.endC", 1, 511},
                             FieldCase{"frame0.endWord", 1, 512}}) {
    file = Build(PageWith(6, BarcodeFrame{}));
    file.SetField(c.field, c.value);
    const PageRun run = Run(file);
    EXPECT_EQ(run.result, PARSE_BAD_FORMAT) << c.field;
    EXPECT_EQ(run.step, c.step) << c.field;
  }
}

TEST_F(FrfFramesTest, UnknownFrameType) {
  FrfPage page = PageWith(6, TextFrameOf(u"first"));
  page.frames.push_back(UnknownFrame{2, {}});
  const BuiltFile file = Build(page);
  const PageRun run = Run(file);
  EXPECT_EQ(run.result, PARSE_BAD_FORMAT);
  EXPECT_EQ(run.step, 600);
  EXPECT_EQ(run.failedFrame, 1);
  EXPECT_TRUE(Contains(run.script, "\"first\""));
}

TEST_F(FrfFramesTest, ListingOfFrameRegions) {
  for (uint8_t version : {6, 10}) {
    const BuiltFile file = Build(FramesPage(version));
    ListingOn(0);
    std::string out;
    ASSERT_EQ(RunCaptured(file, out).result, PARSE_OK);
    const std::pair<const char*, const char*> regions[] = {
        {"frame0.data1Part3", "\n\n *** Frame: Unknow block DATA_1 part 3 ***"},
        {"frame0.data3", "\n\n *** Frame: Unknow block DATA3 ***"},
        {"frame0.end", "\n\n *** End Frame: Unknow block ***"},
        {"frame1.data1Part3", "\n\n *** Picture Frame: Unknow block DATA_1 part 3 ***"},
        {"frame1.data3", "\n\n *** Picture Frame: Unknow block DATA3 ***"},
        {"frame1.trailer", "\n\n *** End Picture Frame: Unknow block ***"},
        {"frame2.data1Part3", "\n\n *** Table Frame: Unknow block DATA_1 part 3 ***"},
        {"frame2.data3", "\n\n *** Table Frame: Unknow block DATA3 ***"},
        {"frame2.tableDescriptor", "\n\n *** Table Frame: Table desctiptor ***"},
        {"frame2.cell0.descriptor", "\n\n *** Table Frame: Cell Descriptor ***"},
        {"frame2.cell0.end", "\n\n *** End Frame: Unknow block ***"},
        {"frame2.cell1.descriptor", "\n\n *** Table Frame: Cell Descriptor ***"},
        {"frame2.cell1.end", "\n\n *** End Frame: Unknow block ***"},
        {"frame3.data1Part3", "\n\n *** Picture Frame: Unknow block DATA_1 part 3 ***"},
        {"frame3.data3", "\n\n *** BarCode Frame: Unknow block DATA3 ***"},
        {"frame3.end", "\n\n *** End BarCode Frame: Unknow block ***"},
    };
    size_t at = 0;
    for (const auto& region : regions) {
      const std::string listed = Listed(file, region.first, region.second);
      const size_t found = out.find(listed, at);
      EXPECT_NE(found, std::string::npos) << region.first << " v" << int(version);
      if (found != std::string::npos)
        at = found + listed.size();
    }
    ResetRunOptions();
  }
  // -l2 10: the end records of text frames, cells, the picture trailer and the barcode.
  const BuiltFile file = Build(FramesPage(6));
  ListingOn(10);
  std::string out;
  ASSERT_EQ(RunCaptured(file, out).result, PARSE_OK);
  EXPECT_EQ(Titles(out),
            (std::vector<std::string>{"End Frame: Unknow block", "End Picture Frame: Unknow block",
                                      "End Frame: Unknow block", "End Frame: Unknow block",
                                      "End BarCode Frame: Unknow block", "OK!"}));
}

}  // namespace
}  // namespace frf_test
