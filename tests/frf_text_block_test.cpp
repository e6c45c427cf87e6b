// Text blocks: the head forms, the text count, every count check with its step number, the
// writer's input, the failure report with its dump, and the listing of the block regions.
#include <gtest/gtest.h>

#include <functional>

#include "tests/frf_test_fixture.h"

namespace frf_test {
namespace {

FrfPage PageOf(uint8_t version, std::vector<TextBlock> blocks) {
  FrfPage page;
  page.version = version;
  TextFrame frame;
  frame.body.blocks = std::move(blocks);
  page.frames.push_back(frame);
  return page;
}

std::string Hex8(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%08X", value);
  return text;
}

std::string BlockError(const char* what, int block, int step, uint32_t offset) {
  return std::string(what) + " (1:" + std::to_string(block) + ":" + std::to_string(step) +
         ") offset=" + Hex8(offset);
}

using FrfTextBlockTest = FrfTest;

TEST_F(FrfTextBlockTest, VersionSixHeadForms) {
  // Probe byte 5: the byte is the short count, the head region is the 64 skipped bytes.
  BuiltFile file = Build(PageOf(6, {MakeBlock(u"Hello")}));
  ListingOn(1);
  std::string out;
  PageRun run = RunCaptured(file, out);
  EXPECT_EQ(run.result, PARSE_OK) << run.errors;
  EXPECT_TRUE(Contains(out, Listed(file, "frame0.block0.part1", "\n\n *** Block: Begin block ***")))
      << out;
  EXPECT_EQ(file.Width("frame0.block0.part1"), 64u);
  ResetRunOptions();
  run = Run(file);
  EXPECT_TRUE(Contains(run.script, "\"Hello\"")) << run.script;

  // Probe byte 0 and a zero dword: the 8-byte filler belongs to the head.
  TextBlock filler = MakeBlock(u"Hi there");
  filler.v6Head = V6HeadForm::kFiller;
  file = Build(PageOf(6, {filler}));
  ListingOn(1);
  run = RunCaptured(file, out);
  EXPECT_EQ(run.result, PARSE_OK) << run.errors;
  EXPECT_EQ(file.Width("frame0.block0.part1"), 72u);
  EXPECT_TRUE(
      Contains(out, Listed(file, "frame0.block0.part1", "\n\n *** Block: Begin block ***")));
  ResetRunOptions();
  EXPECT_TRUE(Contains(Run(file).script, "\"there\""));

  // Probe byte 0 and the dword 1: back to the probe byte, an empty text, and the dword is
  // read again as the check count.
  file = Build(PageOf(6, {MakeBlock(u""), MakeBlock(u"after")}));
  EXPECT_EQ(file.bytes[file.Offset("frame0.block0.shortCount")], 0);
  VerboseOn();
  run = RunCaptured(file, out);
  EXPECT_EQ(run.result, PARSE_OK) << run.errors;
  EXPECT_TRUE(Contains(out, "(OCR text), count = 0")) << out;
  ResetRunOptions();
  EXPECT_TRUE(Contains(Run(file).script, "\"after\""));
}

TEST_F(FrfTextBlockTest, VersionTenHead) {
  TextBlock block = MakeBlock(u"ten");
  block.v10HeadRecords = 3;  // 7·3 + 2 bytes
  EXPECT_EQ(Run(Build(PageOf(10, {block}))).result, PARSE_OK);

  block.v10Marker = 5;
  const BuiltFile file = Build(PageOf(10, {block}));
  const PageRun run = Run(file);
  EXPECT_EQ(run.result, PARSE_BAD_FORMAT);
  EXPECT_EQ(run.errors, NameLine() + BlockError("\nInvalid FRF format", 1, 191,
                                                file.Offset("frame0.block0.marker")));
}

TEST_F(FrfTextBlockTest, TextCounts) {
  // Short count 255 and the int32 300.
  std::u16string text;
  for (int i = 0; i < 100; ++i)
    text += u"ab ";
  BuiltFile file = Build(PageOf(10, {MakeBlock(text)}));
  EXPECT_EQ(file.bytes[file.Offset("frame0.block0.shortCount")], 255);
  VerboseOn();
  std::string out;
  PageRun run = RunCaptured(file, out);
  EXPECT_EQ(run.result, PARSE_OK) << run.errors;
  EXPECT_TRUE(Contains(out, "(OCR text), count = 300")) << out.substr(0, 2000);
  ResetRunOptions();

  // The largest text the buffers hold, and one code unit more.
  file = Build(PageOf(6, {MakeBlock(std::u16string(39999, u'x'))}));
  EXPECT_EQ(Run(file).result, PARSE_OK);
  // Characters of two bytes in a double-byte code page, three in UTF-8.
  file = Build(PageOf(6, {MakeBlock(std::u16string(39999, u'\u8868'))}));
  EXPECT_EQ(Run(file).result, PARSE_OK) << Run(file).errors;
  for (int32_t count : {40000, -1, INT32_MIN}) {
    TextBlock block = MakeBlock(u"");
    block.textCount = count;
    file = Build(PageOf(6, {MakeBlock(u"first"), block}));
    run = Run(file);
    EXPECT_EQ(run.result, PARSE_BAD_FORMAT) << count;
    EXPECT_EQ(run.errors, NameLine() + BlockError("\nInvalid FRF format", 2, 202,
                                                  file.Offset("frame0.block1.longCount")))
        << count;
  }

  // A file that ends inside the long count fails at the text read.
  file = Build(PageOf(10, {MakeBlock(text)}));
  file.Truncate(file.Offset("frame0.block0.longCount") + 2);
  run = Run(file);
  EXPECT_EQ(run.result, PARSE_EOF);
  EXPECT_EQ(run.errors, NameLine() + BlockError("\nUnexpected End-Of-File", 1, 202,
                                                file.Offset("frame0.block0.longCount")));
}

struct CountCase {
  const char* name;
  uint8_t version;
  std::function<void(TextBlock&)> damage;
  int32_t step;
  const char* field;  // where the failing read began, in the second block
};

// Text "abc" in the second block of the frame: every check that ties the parts to n = 3.
TEST_F(FrfTextBlockTest, CountChecksFailAtTheirSteps) {
  const std::vector<CountCase> cases = {
      {"check count", 6, [](TextBlock& b) { b.checkCount = 3; }, 211, "checkCount"},
      {"records", 10, [](TextBlock& b) { b.unknown1Records = 0; }, 212, "recordCount"},
      {"negative records", 6, [](TextBlock& b) { b.unknown1Records = -2; }, 212, "recordCount"},
      {"box count", 6, [](TextBlock& b) { b.boxCount = 3; }, 221, "boxCount"},
      {"box end", 10, [](TextBlock& b) { b.boxEnd = 1; }, 222, "boxEnd"},
      {"mask", 6, [](TextBlock& b) { b.maskLength = 3; }, 231, "maskLength"},
      {"data40 count", 10, [](TextBlock& b) { b.data40Count = 2; }, 241, "data40Count"},
      {"v6 data40 entries", 6, [](TextBlock& b) { b.data40EntryCount = 2; }, 241, "data40Entries"},
      {"v6 data40 chars", 6, [](TextBlock& b) { b.v6Data40Chars = 4; }, 241, "data40Chars"},
      {"v6 data40 zero", 6, [](TextBlock& b) { b.v6Data40Zero = 1; }, 241, "data40Zero"},
      {"v10 data40 sum", 10,
       [](TextBlock& b) {
         b.data40Entries = std::vector<LayoutEntry>(2);
         (*b.data40Entries)[0].chars = 1;
         (*b.data40Entries)[1].chars = 1;
       },
       241, "data40Entry1.pictureFlag"},
      {"bitmap header size", 10,
       [](TextBlock& b) {
         b.data40Entries = std::vector<LayoutEntry>(1);
         (*b.data40Entries)[0].chars = 3;
         (*b.data40Entries)[0].pictureFlag = 1;
         (*b.data40Entries)[0].headerSize = 41;
       },
       241, "data40Entry0.headerSize"},
      {"data41 count", 10, [](TextBlock& b) { b.data41Count = 4; }, 242, "data41Count"},
      {"data41 sum", 10,
       [](TextBlock& b) {
         b.data41Entries = std::vector<int32_t>{1, 1};
       },
       242, "data41Entry1.rest"},
      {"line sum", 6,
       [](TextBlock& b) {
         b.lines = {Line(10, 10, 50, 30, 2), Line(10, 40, 50, 60, 2)};
       },
       245, "line1.left"},
      {"unknown 3 a", 10, [](TextBlock& b) { b.unknown3A = 3; }, 247, "unknown3A"},
      {"unknown 3 b", 10, [](TextBlock& b) { b.unknown3B = 2; }, 248, "unknown3B"},
      {"unknown 3 record", 10, [](TextBlock& b) { b.unknown3First = 1; }, 249, "unknown3First"},
      {"unknown 4 marker", 10, [](TextBlock& b) { b.unknown4Marker = 3; }, 252, "unknown4Marker"},
  };
  for (const CountCase& c : cases) {
    TextBlock block = MakeBlock(u"abc");
    c.damage(block);
    const BuiltFile file = Build(PageOf(c.version, {MakeBlock(u"good"), block}));
    const uint32_t offset = file.Offset(std::string("frame0.block1.") + c.field);
    ResetRunOptions();
    PageRun run = Run(file);
    EXPECT_EQ(run.result, PARSE_BAD_FORMAT) << c.name;
    EXPECT_EQ(run.errors, NameLine() + BlockError("\nInvalid FRF format", 2, c.step, offset))
        << c.name;
    EXPECT_EQ(run.failedFrame, 0) << c.name;
    EXPECT_EQ(run.step, 103) << c.name;  // the frame's own step stays at the block count
    // The block's dump moves the stream and leaves the last read start at the position.
    EXPECT_NE(run.offset, static_cast<int32_t>(offset)) << c.name;

    gRunOptions.IgnoreBadPages = true;
    run = Run(file);
    EXPECT_EQ(run.result, PARSE_BAD_FORMAT) << c.name;
    EXPECT_EQ(run.errors, "") << c.name;
    EXPECT_EQ(run.offset, static_cast<int32_t>(offset)) << c.name;
  }
}

TEST_F(FrfTextBlockTest, BlocksWithoutTextAndLooseCounts) {
  // Any box count for an empty text. The box lines show the bytes of the narrow text buffer:
  // the empty text's terminator, then what the block before it left there.
  TextBlock empty = MakeBlock(u"");
  empty.boxes = std::vector<Box16>{{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}};
  BuiltFile file = Build(PageOf(10, {MakeBlock(u"Hello"), empty}));
  VerboseOn();
  std::string out;
  PageRun run = RunCaptured(file, out);
  EXPECT_EQ(run.result, PARSE_OK) << run.errors;
  EXPECT_TRUE(Contains(out, std::string("\n  0001, 0002, 0003, 0004   '\0'", 31) +
                                "\n  0005, 0006, 0007, 0008   'e'"
                                "\n  0009, 000A, 000B, 000C   'l'"))
      << out;
  ResetRunOptions();

  // A huge box count without text: the boxes the file holds are read, every whole one traced,
  // then the file ends at the word that no longer fits, also beyond the first few hundred.
  empty = MakeBlock(u"");
  empty.boxes = std::vector<Box16>(300, Box16{1, 2, 3, 4});
  empty.boxCount = INT32_MAX;
  file = Build(PageOf(10, {empty}));
  run = Run(file);
  EXPECT_EQ(run.result, PARSE_EOF);
  const uint32_t boxesStart = file.Offset("frame0.block0.boxes");
  const uint32_t rest = static_cast<uint32_t>(file.bytes.size()) - boxesStart;
  EXPECT_EQ(run.errors,
            NameLine() + BlockError("\nUnexpected End-Of-File", 1, 221, boxesStart + rest / 2 * 2));
  VerboseOn();
  run = RunCaptured(file, out);
  size_t traced = 0;
  for (size_t at = out.find("   '"); at != std::string::npos; at = out.find("   '", at + 1))
    ++traced;
  EXPECT_EQ(traced, rest / 8);
  ResetRunOptions();

  // Box count 0 with text; the mask of an empty text must be 1 byte long.
  TextBlock noBoxes = MakeBlock(u"xy");
  noBoxes.boxes = std::vector<Box16>{};
  EXPECT_EQ(Run(Build(PageOf(6, {noBoxes}))).result, PARSE_OK);
  empty = MakeBlock(u"");
  empty.mask = Bytes{0, 0};
  file = Build(PageOf(6, {empty}));
  run = Run(file);
  EXPECT_EQ(run.result, PARSE_BAD_FORMAT);
  EXPECT_EQ(run.errors, NameLine() + BlockError("\nInvalid FRF format", 1, 231,
                                                file.Offset("frame0.block0.maskLength")));
  empty = MakeBlock(u"");
  empty.data40Terminator = 1;
  file = Build(PageOf(10, {empty}));
  run = Run(file);
  EXPECT_EQ(run.errors, NameLine() + BlockError("\nInvalid FRF format", 1, 241,
                                                file.Offset("frame0.block0.data40Terminator")));
}

TEST_F(FrfTextBlockTest, WriterReceivesTextBoxesAndLines) {
  // The per-box trace shows the characters; the line rectangles go to the script.
  TextBlock block = MakeBlock(u"ab cd", {Line(100, 200, 400, 250, 5)});
  VerboseOn();
  std::string out;
  PageRun run = RunCaptured(Build(PageOf(6, {block})), out);
  EXPECT_EQ(run.result, PARSE_OK);
  EXPECT_TRUE(Contains(out, "\n OCR text:  \"ab cd\" ")) << out;
  EXPECT_TRUE(Contains(out, "   'a'\n  ")) << out;
  EXPECT_TRUE(Contains(out, "   'd'\n  ")) << out;
  EXPECT_TRUE(Contains(out, "\n  line rect: 0064, 00C8, 0190, 00FA, chars=5")) << out;
  EXPECT_TRUE(Contains(out, "\n  para rect: 0064, 00C8, 0190, 00FA")) << out;
  ResetRunOptions();
  run = Run(Build(PageOf(6, {block})));
  EXPECT_TRUE(Contains(run.script, "\"ab\"") && Contains(run.script, "\"cd\"")) << run.script;

  // Lines handed over before the sum check fails stay written (the first line's last unit is
  // its terminator).
  block = MakeBlock(u"abc", {Line(10, 10, 50, 30, 2), Line(10, 40, 50, 60, 2)});
  run = Run(Build(PageOf(10, {block})));
  EXPECT_EQ(run.result, PARSE_BAD_FORMAT);
  EXPECT_TRUE(Contains(run.script, "\"a\"")) << run.script;
  EXPECT_TRUE(Contains(run.script, "\"c\"")) << run.script;
}

TEST_F(FrfTextBlockTest, LayoutSectionsOfVersionTen) {
  TextBlock block = MakeBlock(u"abc");
  block.data40Entries = std::vector<LayoutEntry>(3);
  (*block.data40Entries)[0].chars = 2;
  (*block.data40Entries)[0].pictureFlag = 1;
  (*block.data40Entries)[0].pictureData = Bytes(6, 0xEE);
  (*block.data40Entries)[1].chars = 0;
  (*block.data40Entries)[1].pictureFlag = 7;
  (*block.data40Entries)[1].dataLength = -1;  // skips nothing
  (*block.data40Entries)[2].chars = 1;
  block.data41Entries = std::vector<int32_t>{1, 2, 0};
  block.unknown4Count = 2;
  block.unknown4Flag = 1;  // 8·2 and 8·2 + 2 bytes
  EXPECT_EQ(Run(Build(PageOf(10, {block}))).result, PARSE_OK);

  // A negative Data4_1 entry count reads entries until the file ends.
  block = MakeBlock(u"abc");
  block.data41EntryCount = -1;
  const BuiltFile file = Build(PageOf(10, {block}));
  const PageRun run = Run(file);
  EXPECT_EQ(run.result, PARSE_EOF);
  EXPECT_TRUE(Contains(run.errors, "\nUnexpected End-Of-File (1:1:242) offset=")) << run.errors;
}

TEST_F(FrfTextBlockTest, SkipLengthsWrapInThirtyTwoBits) {
  // 36·0x40000001 is 36 modulo 2^32: exactly the one record the file holds is skipped.
  BuiltFile file = Build(PageOf(6, {MakeBlock(u"wrap")}));
  file.SetField("frame0.block0.recordCount", 0x40000001);
  EXPECT_EQ(Run(file).result, PARSE_OK);
  // A mask length that is negative skips nothing, and fails its check.
  file = Build(PageOf(6, {MakeBlock(u"wrap")}));
  file.SetField("frame0.block0.maskLength", 0xFFFFFFFF);
  EXPECT_EQ(Run(file).result, PARSE_BAD_FORMAT);
  // 8·k + 2 with k = 0x20000000 is 2.
  TextBlock block = MakeBlock(u"wrap");
  block.unknown4Flag = 1;
  file = Build(PageOf(10, {block}));
  file.SetField("frame0.block0.unknown4Count", 0x20000000);
  file.Truncate(file.Offset("frame0.block0.unknown4FlagData"));
  file.bytes.insert(file.bytes.end(), {0, 0, 2, 0, 0, 0, 0, 0, 0});
  // The end-of-frame record follows at once: selector 0, and the file ends before its count.
  file.bytes.insert(file.bytes.end(), {0, 0, 0, 0, 0});
  const PageRun run = Run(file);
  EXPECT_EQ(run.result, PARSE_EOF);
  EXPECT_EQ(run.step, 108);
}

TEST_F(FrfTextBlockTest, FailureReportAndDump) {
  TextBlock block = MakeBlock(u"abc");
  block.checkCount = 9;
  const BuiltFile file = Build(PageOf(10, {block}));
  const uint32_t failing = file.Offset("frame0.block0.checkCount");
  const uint32_t partStart = file.Offset("frame0.block0.part3");
  VerboseOn();
  std::string out;
  PageRun run = RunCaptured(file, out);
  EXPECT_EQ(run.errors, NameLine() + BlockError("\nInvalid FRF format", 1, 211, failing));
  // From the part start − 80 to the position + 144, whole lines, the failing read marked.
  char line[32];
  std::snprintf(line, sizeof line, "\n%06X: ", (partStart - 80) & ~0xFu);
  const size_t dump = out.find(line);
  ASSERT_NE(dump, std::string::npos) << out;
  std::snprintf(line, sizeof line, ">%02X", file.bytes[failing]);
  EXPECT_NE(out.find(line, dump), std::string::npos);
  std::snprintf(line, sizeof line, "\n%06X: ", (failing + 4 + 144) & ~0xFu);
  EXPECT_NE(out.find(line, dump), std::string::npos);
  EXPECT_EQ(run.offset, static_cast<int32_t>(failing + 4));

  gRunOptions.IgnoreBadPages = true;
  run = RunCaptured(file, out);
  EXPECT_EQ(run.errors, "");
  std::snprintf(line, sizeof line, "\n%06X: ", (partStart - 80) & ~0xFu);
  EXPECT_FALSE(Contains(out, line)) << out;
}

TEST_F(FrfTextBlockTest, ListingOfTheBlockRegions) {
  const char* const v10Titles[] = {"Block: Begin block",          "Block: Unknow block 1",
                                   "Block: Mask array",           "Block: Unknow block Data4_0",
                                   "Block: Unknow block Data4_1", "Block: Rectangles",
                                   "Block: Unknow block 3",       "Block: Unknow block 4"};
  const char* const regions[] = {"part1",  "part3",      "part5",    "data40",
                                 "data41", "rectangles", "unknown3", "unknown4"};
  for (uint8_t version : {6, 10}) {
    const BuiltFile file = Build(PageOf(version, {MakeBlock(u"one two")}));
    ListingOn(0);
    std::string out;
    ASSERT_EQ(RunCaptured(file, out).result, PARSE_OK);
    std::vector<std::string> titles = Titles(out);
    std::vector<std::string> blockTitles;
    for (const std::string& title : titles) {
      if (title.rfind("Block:", 0) == 0)
        blockTitles.push_back(title);
    }
    EXPECT_EQ(blockTitles, std::vector<std::string>(std::begin(v10Titles), std::end(v10Titles)));
    for (size_t i = 0; i < 8; ++i) {
      const std::string region = std::string("frame0.block0.") + regions[i];
      const std::string title = std::string("\n\n *** ") + v10Titles[i] + " ***";
      // In version 6 the last three regions are empty: their titles stand alone.
      EXPECT_TRUE(Contains(out, Listed(file, region, title) + "\n\n")) << region << int(version);
      if (version == 6 && (i == 4 || i >= 6)) {
        EXPECT_EQ(file.Width(region), 0u);
      }
    }
  }
  // -l2 6: the rectangles alone (and the lines printed with the selected tag itself).
  const BuiltFile file = Build(PageOf(10, {MakeBlock(u"one two")}));
  ListingOn(6);
  std::string out;
  ASSERT_EQ(RunCaptured(file, out).result, PARSE_OK);
  EXPECT_EQ(out, "  Version=000A\n" +
                     Listed(file, "frame0.block0.rectangles", "\n\n *** Block: Rectangles ***") +
                     "\n\n *** OK! ***");
}

}  // namespace
}  // namespace frf_test
