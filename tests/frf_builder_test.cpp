// Checks of the FRF test file builder against sizes worked out by hand from the layout of the
// format, so that the builder can be trusted as a second reading of it.
#include "tests/support/frf_builder.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <string>

namespace {

using testing_support::BarcodeFrame;
using testing_support::Build;
using testing_support::BuiltFile;
using testing_support::Bytes;
using testing_support::FieldKind;
using testing_support::FrfPage;
using testing_support::Line;
using testing_support::MakeBlock;
using testing_support::PictureFrame;
using testing_support::TableCell;
using testing_support::TableFrame;
using testing_support::TextBlock;
using testing_support::TextFrame;
using testing_support::UnknownFrame;
using testing_support::V6HeadForm;

Bytes Slice(const BuiltFile& f, uint32_t offset, uint32_t n) {
  return Bytes(f.bytes.begin() + offset, f.bytes.begin() + offset + n);
}

uint32_t Dword(const BuiltFile& f, const std::string& name) {
  uint32_t at = f.Offset(name);
  return static_cast<uint32_t>(f.bytes[at]) | static_cast<uint32_t>(f.bytes[at + 1]) << 8 |
         static_cast<uint32_t>(f.bytes[at + 2]) << 16 |
         static_cast<uint32_t>(f.bytes[at + 3]) << 24;
}

FrfPage PageWith(uint8_t version, testing_support::Frame frame) {
  FrfPage page;
  page.version = version;
  page.frames.push_back(std::move(frame));
  return page;
}

TEST(FrfBuilderHeader, SizesOfBothVersions) {
  // Without names: "FR5S", version, names flag, the 10-byte unknown block, image name
  // length and 12 units, DATA1 10 + 17, DATA2 22, (version 10: extra dword), constant 1,
  // frame count 0.
  FrfPage page;
  page.version = 6;
  BuiltFile v6 = Build(page);
  EXPECT_EQ(v6.Width("header"), 4u + 1 + 1 + 10 + 1 + 24 + 10 + 17 + 22 + 1 + 1);
  page.version = 10;
  BuiltFile v10 = Build(page);
  EXPECT_EQ(v10.Width("header"), 4u + 1 + 1 + 10 + 1 + 24 + 10 + 17 + 22 + 4 + 1 + 1);
  EXPECT_EQ(Slice(v10, 0, 6), (Bytes{'F', 'R', '5', 'S', 10, 0}));
  EXPECT_EQ(v10.Offset("header.unknown"), 6u);
  EXPECT_EQ(v10.Offset("header.constant") + 1, v10.Offset("header.frameCount"));
  EXPECT_EQ(v10.Offset("header.extraDword") + 4, v10.Offset("header.constant"));
  EXPECT_FALSE(v6.Has("header.extraDword"));
  // Width, height and resolution at bytes 10, 14 and 18 of DATA2, little-endian.
  EXPECT_EQ(v10.Offset("header.width"), v10.Offset("header.data2") + 10);
  EXPECT_EQ(v10.Offset("header.resolution"), v10.Offset("header.data2") + 18);
  EXPECT_EQ(Slice(v10, v10.Offset("header.width"), 4), (Bytes{0xB0, 0x09, 0, 0}));
  EXPECT_EQ(Dword(v10, "header.height"), 3508u);
}

TEST(FrfBuilderHeader, NamesFlagsAndDataOneLengths) {
  FrfPage page;
  page.version = 6;
  page.names = true;
  page.name1 = u"ab";
  page.name2 = u"xyz";
  page.flagC = 1;
  page.flagD = 5;
  page.v6String = u"str";
  page.data1K = 3;
  BuiltFile v6 = Build(page);
  EXPECT_EQ(v6.bytes[5], 2);  // names flag
  EXPECT_EQ(v6.Width("header.name1"), 4u);
  EXPECT_EQ(v6.bytes[v6.Offset("header.name2Length")], 3);
  // Word A, word B, C (+ byte + dword), D (+ byte + dword), E, F, length 3 + 6, G.
  EXPECT_EQ(v6.Width("header.unknown"), 2u + 2 + 1 + 5 + 1 + 5 + 1 + 1 + 1 + 6 + 1);
  EXPECT_EQ(v6.Width("header.data1Part2"), 2u * 3 + 40);
  EXPECT_EQ(v6.bytes[v6.Offset("header.data1Part1") + 9], 3);

  page.version = 10;
  page.flagC = 1;  // version 10: a nonzero C other than 2 has no data
  page.flagD = 1;
  page.v10CountF = 2;
  page.v10CountG = 3;
  BuiltFile v10 = Build(page);
  EXPECT_EQ(v10.Width("header.unknown"), 2u + 2 + 1 + 1 + 9 + 1 + 1 + 4 + 1 + 6 + 1);
  EXPECT_EQ(v10.Width("header.data1Part2"), 17u);
  page.flagC = 2;
  EXPECT_EQ(Build(page).Width("header.unknown"), 2u + 2 + 1 + 9 + 1 + 9 + 1 + 1 + 4 + 1 + 6 + 1);
  page.version = 6;
  page.data1K = 0;
  EXPECT_EQ(Build(page).Width("header.data1Part2"), 17u);
}

TEST(FrfBuilderHeader, FrameTypesFollowTheFrames) {
  FrfPage page;
  page.frames = {TextFrame{}, PictureFrame{}, TableFrame{}, BarcodeFrame{}, UnknownFrame{7, {}}};
  BuiltFile f = Build(page);
  EXPECT_EQ(f.bytes[f.Offset("header.frameCount")], 5);
  EXPECT_EQ(Slice(f, f.Offset("header.frameTypes"), 5), (Bytes{0, 1, 3, 4, 7}));
  page.frameCount = 2;
  page.frameTypes = Bytes{9};
  f = Build(page);
  EXPECT_EQ(f.bytes[f.Offset("header.frameCount")], 2);
  EXPECT_EQ(f.Width("header.frameTypes"), 1u);
}

TEST(FrfBuilderFrames, PictureFrameSizes) {
  EXPECT_EQ(Build(PageWith(6, PictureFrame{})).Width("frame0"), 35u);
  EXPECT_EQ(Build(PageWith(10, PictureFrame{})).Width("frame0"), 37u);
  PictureFrame picture;
  picture.lead = Bytes{1, 2};
  picture.recordCount = 3;
  BuiltFile f = Build(PageWith(10, picture));
  EXPECT_EQ(f.Width("frame0"), 37u + 2 + 48);
  EXPECT_EQ(f.bytes[f.Offset("frame0.leadLength")], 2);
  EXPECT_EQ(f.Offset("frame0.marker"), f.Offset("frame0") + 3);
}

TEST(FrfBuilderFrames, TextFrameHeadAndEndRecords) {
  TextFrame frame;
  frame.recordCount = 2;
  EXPECT_EQ(Build(PageWith(10, frame)).Width("frame0.head"), 1u + 27 + 4 + 16 * 2 + 7);
  EXPECT_EQ(Build(PageWith(6, frame)).Width("frame0.head"), 1u + 25 + 4 + 16 * 2 + 7);
  frame.lead = Bytes{9, 9, 9};
  EXPECT_EQ(Build(PageWith(6, frame)).Width("frame0.data1Part3"), 1u + 3 + 25);

  // Version 6 end-of-frame record: three equal bytes and a zero word.
  BuiltFile v6 = Build(PageWith(6, frame));
  EXPECT_EQ(Slice(v6, v6.Offset("frame0.end"), v6.Width("frame0.end")), (Bytes{7, 7, 7, 0, 0}));
  // Version 10: selector 255 with a zero dword and a zero byte, or selector 0 with a byte and
  // a counted list of 8-byte records.
  BuiltFile v10 = Build(PageWith(10, frame));
  EXPECT_EQ(Slice(v10, v10.Offset("frame0.end"), v10.Width("frame0.end")),
            (Bytes{0, 0, 0, 255, 0, 0, 0, 0, 0}));
  frame.body.end.selector = 0;
  frame.body.end.recordCount = 3;
  v10 = Build(PageWith(10, frame));
  EXPECT_EQ(v10.Width("frame0.end"), 4u + 1 + 4 + 24);
  EXPECT_EQ(v10.End("frame0.end"), v10.Offset("end.marker"));
}

TEST(FrfBuilderFrames, BodyNamesAndCounts) {
  TextFrame frame;
  frame.body.compoundLanguage = u"ab";
  frame.body.languages = {u"abc", u"", u"de"};
  frame.body.fonts = {u"f"};
  BuiltFile f = Build(PageWith(10, frame));
  // 1 + 4 + 5 gap, 4 + (1 + 6) + 1 + (1 + 4), 4 + (1 + 2), block count 1, end record 9.
  EXPECT_EQ(f.Width("frame0.body"), 10u + 4 + 7 + 1 + 5 + 4 + 3 + 1 + 9);
  EXPECT_EQ(Dword(f, "frame0.languageCount"), 3u);
  EXPECT_EQ(f.bytes[f.Offset("frame0.language1Length")], 0);
  EXPECT_EQ(f.bytes[f.Offset("frame0.blockCount")], 0);
}

TEST(FrfBuilderFrames, TableFrameLayout) {
  TableFrame table;
  table.dimA = 2;
  table.dimB = 3;
  table.cells.resize(3);
  table.cells[1].kind = 3;  // later cells' kinds are not examined
  BuiltFile v10 = Build(PageWith(10, table));
  EXPECT_EQ(v10.Width("frame0.descriptor"), 51u);
  EXPECT_EQ(v10.Width("frame0.data1Part3"), 1u + 1 + 27);
  EXPECT_EQ(v10.Width("frame0.tableDescriptor"), 4u + 3 + 51);
  EXPECT_EQ(v10.Width("frame0.cell0.descriptor"), 2u + 28);
  EXPECT_EQ(v10.Width("frame0.cell1.descriptor"), 2u + 22);
  EXPECT_EQ(v10.Offset("frame0.cell1"), v10.End("frame0.cell0"));
  EXPECT_EQ(v10.Offset("frame0.trailer"), v10.End("frame0.cell2"));
  EXPECT_EQ(v10.End("frame0.trailer"), v10.End("frame0"));

  table.cells[0].kind = 2;
  table.dimA = 0;
  table.dimB = 0;
  BuiltFile v6 = Build(PageWith(6, table));
  EXPECT_EQ(v6.Width("frame0.descriptor"), 0u);
  EXPECT_EQ(v6.Width("frame0.data1Part3"), 1u + 1 + 25);
  EXPECT_EQ(v6.Width("frame0.cell0.descriptor"), 2u + 23);
  EXPECT_EQ(v6.Width("frame0.cell2.descriptor"), 2u + 27);

  table.longCellCount = true;
  table.cells.resize(4);
  BuiltFile longCount = Build(PageWith(6, table));
  EXPECT_EQ(longCount.bytes[longCount.Offset("frame0.cellCountByte")], 255);
  EXPECT_EQ(Dword(longCount, "frame0.cellCount"), 4u);
}

TEST(FrfBuilderFrames, BarcodeFrameLayout) {
  BarcodeFrame barcode;
  barcode.blocks = {1, 1};
  barcode.language1 = u"ab";
  barcode.language2 = u"c";
  barcode.font1 = u"d";
  barcode.font2 = u"ef";
  barcode.v10RecordCount = 2;
  BuiltFile f = Build(PageWith(10, barcode));
  // Head 1 + 1 + 27, count 4, gaps 6 + 5, language count 1, zero 4, names 5 + 3, font count
  // 4, names 3 + 5, block count 1, blocks 2 * 195, end record 1 + 4 + 4 + 16.
  EXPECT_EQ(f.Width("frame0"), 29u + 4 + 11 + 1 + 4 + 8 + 4 + 8 + 1 + 390 + 25);
  EXPECT_EQ(Slice(f, f.Offset("frame0.end"), 9), (Bytes{255, 255, 255, 0, 0, 2, 0, 0, 0}));
  EXPECT_EQ(f.Width("frame0.data3"), 4u + 6);

  barcode.languageCount = 2;
  barcode.fontCount = 1;
  f = Build(PageWith(6, barcode));
  EXPECT_FALSE(f.Has("frame0.language1"));
  EXPECT_TRUE(f.Has("frame0.language2"));
  EXPECT_FALSE(f.Has("frame0.font1"));
  EXPECT_EQ(f.Width("frame0.end"), 5u);
}

TEST(FrfBuilderBlocks, PartSizesOfAThreeUnitBlockInVersion6) {
  TextFrame frame;
  frame.body.blocks.push_back(MakeBlock(u"abc"));
  BuiltFile f = Build(PageWith(6, frame));
  EXPECT_EQ(f.Width("frame0.block0.part1"), 64u);
  EXPECT_EQ(f.Width("frame0.block0.part2"), 1u + 6);
  EXPECT_EQ(f.Width("frame0.block0.part3"), 4u + 4 + 36);
  EXPECT_EQ(f.Width("frame0.block0.part4"), 4u + 4 * 8 + 1);
  EXPECT_EQ(f.Width("frame0.block0.part5"), 4u + 4);
  EXPECT_EQ(f.Width("frame0.block0.data40"), 16u);
  EXPECT_EQ(f.Width("frame0.block0.data41"), 0u);
  EXPECT_EQ(f.Width("frame0.block0.rectangles"), 1u + 24 + 16);
  EXPECT_EQ(f.Width("frame0.block0.unknown3"), 0u);
  EXPECT_EQ(f.Width("frame0.block0"), 64u + 7 + 44 + 37 + 8 + 16 + 41);
  // The counts that follow from the text.
  EXPECT_EQ(f.bytes[f.Offset("frame0.block0.shortCount")], 3);
  EXPECT_EQ(Dword(f, "frame0.block0.checkCount"), 4u);
  EXPECT_EQ(Dword(f, "frame0.block0.boxCount"), 4u);
  EXPECT_EQ(Dword(f, "frame0.block0.maskLength"), 4u);
  EXPECT_EQ(Dword(f, "frame0.block0.data40Count"), 3u);
  EXPECT_EQ(Dword(f, "frame0.block0.data40Entries"), 1u);
  EXPECT_EQ(Dword(f, "frame0.block0.data40Chars"), 3u);
  EXPECT_EQ(Dword(f, "frame0.block0.data40Zero"), 0u);
  EXPECT_EQ(Dword(f, "frame0.block0.line0.chars"), 3u);
  EXPECT_EQ(Slice(f, f.Offset("frame0.block0.text"), 6), (Bytes{'a', 0, 'b', 0, 'c', 0}));
}

TEST(FrfBuilderBlocks, PartSizesOfAThreeUnitBlockInVersion10) {
  TextFrame frame;
  frame.body.blocks.push_back(MakeBlock(u"abc"));
  frame.body.blocks[0].v10HeadRecords = 2;
  BuiltFile f = Build(PageWith(10, frame));
  EXPECT_EQ(f.Width("frame0.block0.part1"), 1u + 33 + 4 + 16);
  EXPECT_EQ(f.bytes[f.Offset("frame0.block0.marker")], 4);
  EXPECT_EQ(f.Width("frame0.block0.data40"), 4u + 4 + 8);
  EXPECT_EQ(f.Width("frame0.block0.data41"), 4u + 4 + 18);
  EXPECT_EQ(f.Width("frame0.block0.unknown3"), 4u + 4 + 36);
  EXPECT_EQ(Dword(f, "frame0.block0.unknown3First"), 2u);
  EXPECT_EQ(f.Width("frame0.block0.unknown4"), 4u + 1 + 1 + 6);
  EXPECT_EQ(f.bytes[f.Offset("frame0.block0.unknown4Marker")], 2);
  EXPECT_EQ(Dword(f, "frame0.block0.data41Entry0.chars"), 3u);
}

TEST(FrfBuilderBlocks, VersionSixHeadForms) {
  TextFrame frame;
  frame.body.blocks.push_back(MakeBlock(u"abcde"));
  frame.body.blocks.push_back(MakeBlock(u""));
  frame.body.blocks.push_back(MakeBlock(u"xy"));
  frame.body.blocks[2].v6Head = V6HeadForm::kFiller;
  BuiltFile f = Build(PageWith(6, frame));
  // Probe byte 5 is the short count itself.
  EXPECT_EQ(f.Offset("frame0.block0.shortCount"), f.Offset("frame0.block0") + 64);
  // Text count 0 without filler: the probe byte 0 is followed by the check count 1.
  uint32_t probe = f.Offset("frame0.block1") + 64;
  EXPECT_EQ(f.Offset("frame0.block1.shortCount"), probe);
  EXPECT_EQ(Slice(f, probe, 5), (Bytes{0, 1, 0, 0, 0}));
  EXPECT_EQ(f.Width("frame0.block1.boxes"), 8u);
  EXPECT_FALSE(f.Has("frame0.block1.line0.chars"));
  // Filler: 00, a zero dword and 3 bytes after the 64 head bytes.
  EXPECT_EQ(f.Width("frame0.block2.part1"), 72u);
  EXPECT_EQ(Slice(f, f.Offset("frame0.block2") + 64, 5), (Bytes{0, 0, 0, 0, 0}));
  EXPECT_EQ(f.bytes[f.Offset("frame0.block2") + 72], 2);
  // Text count 0 has a Data4_0 terminator instead of entries.
  EXPECT_EQ(f.Width("frame0.block1.data40"), 8u);
}

TEST(FrfBuilderBlocks, LongCountsAndOverrides) {
  TextFrame frame;
  frame.body.blocks.push_back(MakeBlock(std::u16string(300, u'x')));
  TextBlock odd = MakeBlock(u"abc", {Line(0, 0, 10, 10, 2), Line(0, 20, 10, 30, 2)});
  odd.boxCount = 3;
  odd.checkCount = 9;
  odd.longCount = true;
  frame.body.blocks.push_back(odd);
  BuiltFile f = Build(PageWith(10, frame));
  EXPECT_EQ(f.bytes[f.Offset("frame0.block0.shortCount")], 255);
  EXPECT_EQ(Dword(f, "frame0.block0.longCount"), 300u);
  EXPECT_EQ(f.Width("frame0.block0.textCount"), 5u);
  EXPECT_EQ(f.Width("frame0.block0.text"), 600u);
  EXPECT_EQ(f.bytes[f.Offset("frame0.block1.shortCount")], 255);
  EXPECT_EQ(Dword(f, "frame0.block1.longCount"), 3u);
  EXPECT_EQ(Dword(f, "frame0.block1.boxCount"), 3u);
  EXPECT_EQ(f.Width("frame0.block1.boxes"), 32u);  // still the generated n + 1 boxes
  EXPECT_EQ(Dword(f, "frame0.block1.checkCount"), 9u);
  EXPECT_EQ(Dword(f, "frame0.block1.line1.chars"), 2u);
}

TEST(FrfBuilderBlocks, GeneratedBoxesFollowTheLines) {
  TextFrame frame;
  frame.body.blocks.push_back(
      MakeBlock(u"ab\u2028c", {Line(100, 10, 140, 30, 3), Line(200, 50, 230, 80, 1)}));
  BuiltFile f = Build(PageWith(6, frame));
  uint32_t at = f.Offset("frame0.block0.boxes");
  EXPECT_EQ(f.Width("frame0.block0.boxes"), 5u * 8);
  // Box 1: the second of three 13-pixel slots of line 0; box 3: line 1; box 4 is zero.
  EXPECT_EQ(Slice(f, at + 8, 8), (Bytes{113, 0, 10, 0, 126, 0, 30, 0}));
  EXPECT_EQ(Slice(f, at + 24, 8), (Bytes{200, 0, 50, 0, 230, 0, 80, 0}));
  EXPECT_EQ(Slice(f, at + 32, 8), Bytes(8, 0));
  // The paragraph is the union of the lines.
  EXPECT_EQ(Dword(f, "frame0.block0.para.left"), 100u);
  EXPECT_EQ(Dword(f, "frame0.block0.para.bottom"), 80u);
}

TEST(FrfBuilderBlocks, VersionTenLayoutPicture) {
  TextFrame frame;
  TextBlock block = MakeBlock(u"abcd");
  block.data40Entries = {testing_support::LayoutEntry{}, testing_support::LayoutEntry{}};
  (*block.data40Entries)[0].chars = 1;
  (*block.data40Entries)[1].chars = 3;
  (*block.data40Entries)[1].pictureFlag = 1;
  (*block.data40Entries)[1].pictureData = Bytes(10, 0x77);
  frame.body.blocks.push_back(block);
  BuiltFile f = Build(PageWith(10, frame));
  // Count and entry count, an 8-byte entry, then 8 + 4 + 40 + 4 + 10 bytes.
  EXPECT_EQ(f.Width("frame0.block0.data40"), 8u + 8 + 66);
  EXPECT_EQ(Dword(f, "frame0.block0.data40Entry1.headerSize"), 40u);
  EXPECT_EQ(Dword(f, "frame0.block0.data40Entry1.dataLength"), 10u);
}

TEST(FrfBuilderEnd, EndRecordForms) {
  FrfPage page;
  page.endRecordCount = 2;
  BuiltFile f = Build(page);
  EXPECT_EQ(f.Width("end.endOfFrames"), 2u + 40);
  EXPECT_EQ(Slice(f, f.Offset("end.identifier"), 8),
            (Bytes{0xBC, 0x75, 0x08, 0xB8, 'F', 'R', '5', 'S'}));
  EXPECT_EQ(f.End("end.signature"), f.bytes.size());

  page.endLongCount = true;
  f = Build(page);
  EXPECT_EQ(f.Width("end.endOfFrames"), 2u + 4 + 40);
  EXPECT_EQ(Slice(f, f.Offset("end.marker"), 6), (Bytes{0, 255, 2, 0, 0, 0}));

  page.trailing = Bytes{1, 2, 3};
  f = Build(page);
  EXPECT_EQ(f.bytes.size(), f.End("end.signature") + 3);
}

TEST(FrfBuilderEdits, SetFieldTruncateAndWrite) {
  BuiltFile f = Build(testing_support::TwoBlockPage(10));
  const Bytes original = f.bytes;
  EXPECT_NONFATAL_FAILURE(f.SetField("frame0.block1.noSuchField", 0), "no field");
  EXPECT_EQ(f.bytes, original);

  uint32_t at = f.Offset("frame0.block1.checkCount");
  f.SetField("frame0.block1.checkCount", 0x1FFFFFFFFull);  // cut to the field's width
  EXPECT_EQ(Slice(f, at, 4), (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(Slice(f, at + 4, 4), Slice(BuiltFile{original, {}}, at + 4, 4));
  f.SetField("frame0.block1.shortCount", 0x1234);
  EXPECT_EQ(f.bytes[f.Offset("frame0.block1.shortCount")], 0x34);
  f.SetField("frame0.block0.head", 0x0102);  // wide fields: value first, zeros after
  uint32_t head = f.Offset("frame0.block0.head");
  EXPECT_EQ(Slice(f, head, 4), (Bytes{2, 1, 0, 0}));
  EXPECT_EQ(f.Width("frame0.block0.head"), 33u);

  f.Truncate(100);
  EXPECT_EQ(f.bytes.size(), 100u);
  f.Truncate(200);
  EXPECT_EQ(f.bytes.size(), 100u);

  testing_support::TempDir dir;
  std::string path = f.Write(dir, "cut.frf");
  EXPECT_EQ(testing_support::ReadFile(path), f.AsString());
}

TEST(FrfBuilderEdits, FieldsTileTheFile) {
  // The leaves, in file order, cover every byte exactly once: nothing is written unnamed.
  for (uint8_t version : {6, 10}) {
    FrfPage page = testing_support::TwoBlockPage(version);
    page.frames.push_back(PictureFrame{});
    TableFrame table;
    table.cells.resize(2);
    table.cells[1].body.blocks.push_back(MakeBlock(u"cell"));
    page.frames.push_back(table);
    page.frames.push_back(BarcodeFrame{});
    BuiltFile f = Build(page);
    uint32_t next = 0;
    for (const auto& leaf : f.Leaves()) {
      ASSERT_EQ(leaf.offset, next) << leaf.name;
      next += leaf.width;
    }
    EXPECT_EQ(next, f.bytes.size());
    for (const auto& field : f.fields) {
      EXPECT_LE(field.offset + field.width, f.bytes.size()) << field.name;
      if (field.kind == FieldKind::kRegion) {
        EXPECT_NE(field.name.back(), '.');
      }
    }
  }
}

}  // namespace
