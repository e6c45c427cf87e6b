// Runs the FRF parsers over valid pages made by the test builder and over every damaged form
// of them: each field set to a handful of extreme values, and each length the file can be cut
// to. Every run must end in one of the three parser results without touching memory it does
// not own (the tests run under the sanitizers); checked fields must fail exactly where the file
// layout says.
#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "ocrsift/diagnostics/run_options.h"
#include "ocrsift/frf/frf.h"
#include "tests/support/frf_builder.h"
#include "tests/support/frf_page_runner.h"
#include "tests/support/test_files.h"

namespace {

using testing_support::BuiltFile;
using testing_support::Bytes;
using testing_support::FrfPage;
using testing_support::PageRun;
using testing_support::TextFrame;

class DamagedCorpus : public ::testing::Test {
 public:
  void SetUp() override {
    ResetRunOptions();
    gRunOptions.VerboseStream = nullptr;
  }
  void TearDown() override { ResetRunOptions(); }

  PageRun Parse(const BuiltFile& file) {
    return testing_support::RunFrfPage(file.Write(dir_, "page.frf"), 5);
  }

 private:
  testing_support::TempDir dir_;
};

std::string Describe(const PageRun& run) {
  return "result " + std::to_string(run.result) + " step " + std::to_string(run.step) + " offset " +
         std::to_string(run.offset) + " frame " + std::to_string(run.failedFrame) +
         "\nerrors: " + run.errors;
}

// The words appear in the script in this order, each between quotes.
void ExpectWords(const std::string& script, const std::vector<std::string>& words) {
  size_t at = 0;
  for (const std::string& word : words) {
    size_t found = script.find(" \"" + word + "\")", at);
    ASSERT_NE(found, std::string::npos) << "word \"" << word << "\" missing in\n" << script;
    at = found + word.size();
  }
}

// The two-block page, made a little richer: in version 6 the second block's head ends in the
// filler; in version 10 its Data4_0 has a second entry with a bitmap picture and its Data4_1
// two entries. A few bytes follow the end signature.
FrfPage CorpusPage(uint8_t version) {
  FrfPage page = testing_support::TwoBlockPage(version);
  testing_support::TextBlock& second = std::get<TextFrame>(page.frames[0]).body.blocks[1];
  if (version == 6) {
    second.v6Head = testing_support::V6HeadForm::kFiller;
  } else {
    second.data40Entries = {testing_support::LayoutEntry{}, testing_support::LayoutEntry{}};
    (*second.data40Entries)[0].chars = 11;
    (*second.data40Entries)[1].chars = 5;
    (*second.data40Entries)[1].pictureFlag = 1;
    (*second.data40Entries)[1].pictureData = Bytes(24, 0x80);
    second.data41Entries = std::vector<int32_t>{11, 5};
  }
  // A third block without text and without boxes: in version 6 its probe byte 0 is followed
  // by the nonzero check count, and its Data4_0 section is the terminator.
  testing_support::TextBlock empty;
  empty.boxes = std::vector<testing_support::Box16>{};
  std::get<TextFrame>(page.frames[0]).body.blocks.push_back(empty);
  // The first block's count in the long form (in version 6 its probe byte is 255).
  std::get<TextFrame>(page.frames[0]).body.blocks[0].longCount = true;
  page.trailing = Bytes{'t', 'a', 'i', 'l'};
  return page;
}

// The page of all frame kinds with the optional parts of the layout present: names and the
// header's optional data, lead bytes and records in the frame heads, a long cell count, a
// version-10 end-of-frame record with selector 0, one barcode language and font, and an
// end-of-frames record with the long count.
FrfPage CorpusFramesPage(uint8_t version) {
  FrfPage page = testing_support::FramesPage(version);
  page.names = true;
  page.flagC = version == 10 ? 2 : 1;
  page.flagD = 1;
  // Not from a literal: GCC 12 warns of an overlap that is not there in release builds.
  page.v6String.assign(1, u'x');
  page.data1K = 2;
  page.v10CountG = 1;
  TextFrame& text = std::get<TextFrame>(page.frames[0]);
  text.lead = Bytes{1, 2, 3};
  text.recordCount = 2;
  text.body.languages = {u"English", u"", u"German"};
  std::get<testing_support::PictureFrame>(page.frames[1]).lead = Bytes{9};
  auto& table = std::get<testing_support::TableFrame>(page.frames[2]);
  table.longCellCount = true;
  table.recordCount = 1;
  table.cells[1].body.end.selector = 0;
  table.cells[1].body.end.recordCount = 3;
  auto& barcode = std::get<testing_support::BarcodeFrame>(page.frames[3]);
  barcode.languageCount = 2;
  barcode.fontCount = 1;
  barcode.blocks = {1, 1};
  barcode.v10RecordCount = 2;
  page.endLongCount = true;
  page.endRecordCount = 2;
  return page;
}

// The header items that make a file more than an empty one (Size - Position after the image
// file name at most 30 bytes): names, the version-10 flags C, D, F, G, the image file name.
int ContentCount(const FrfPage& page) {
  int count = page.names ? 1 : 0;
  if (page.version == 10) {
    count += (page.flagC != 0) + (page.flagD != 0) + (page.v10CountF != 0) + (page.v10CountG != 0);
  }
  return count + (page.imageName.empty() ? 0 : 1);
}

const uint64_t kValues[] = {0, 1, 255, 0x7FFFFFFF, 0xFFFFFFFF};

TEST_F(DamagedCorpus, UndamagedPagesParse) {
  for (uint8_t version : {6, 10}) {
    SCOPED_TRACE("version " + std::to_string(version));
    for (uint8_t fill : {0x00, 0xA5}) {
      FrfPage page = CorpusPage(version);
      page.fill = fill;  // the skipped regions' content must not matter
      PageRun run = Parse(testing_support::Build(page));
      ASSERT_EQ(run.result, PARSE_OK) << Describe(run);
      EXPECT_EQ(run.errors, "");
      ExpectWords(run.script, testing_support::TwoBlockPageWords());
      EXPECT_NE(run.script.find("\n (line 100 3308 440 3248"), std::string::npos) << run.script;

      for (FrfPage frames : {testing_support::FramesPage(version), CorpusFramesPage(version)}) {
        frames.fill = fill;
        run = Parse(testing_support::Build(frames));
        ASSERT_EQ(run.result, PARSE_OK) << Describe(run);
        ExpectWords(run.script, testing_support::FramesPageWords());
      }
    }
  }
}

TEST_F(DamagedCorpus, CommittedSamplesAreCurrentAndParse) {
  struct Sample {
    const char* name;
    std::vector<std::string> words;
  };
  const Sample samples[] = {{"sample-v6.frf", testing_support::TwoBlockPageWords()},
                            {"sample-v10.frf", testing_support::TwoBlockPageWords()},
                            {"sample-frames-v6.frf", testing_support::FramesPageWords()},
                            {"sample-frames-v10.frf", testing_support::FramesPageWords()}};
  for (const Sample& sample : samples) {
    std::string path = std::string(TEST_SOURCE_DIR) + "/data/" + sample.name;
    SCOPED_TRACE(path);
    ASSERT_NE(testing_support::ReadFile(path), "");
    PageRun run = testing_support::RunFrfPage(path, 1);
    ASSERT_EQ(run.result, PARSE_OK) << Describe(run);
    ExpectWords(run.script, sample.words);
  }
  // The frames samples are exactly what the builder makes today.
  EXPECT_EQ(testing_support::ReadFile(std::string(TEST_SOURCE_DIR) + "/data/sample-frames-v10.frf"),
            testing_support::Build(testing_support::FramesPage(10)).AsString());
}

// What every run must show, whatever the file holds: a parser result, no read begun past the
// end of the file, and a page closed in the script exactly when it parsed.
void ExpectSoundRun(const PageRun& run, size_t fileSize) {
  EXPECT_TRUE(run.result == PARSE_OK || run.result == PARSE_EOF || run.result == PARSE_BAD_FORMAT);
  EXPECT_LE(run.offset, static_cast<int32_t>(fileSize));
  EXPECT_EQ(run.script.find("\n)\n\n.\n") != std::string::npos, run.result == PARSE_OK);
}

// Every field of every page set to each extreme value (4-byte fields also to the sign bit and
// a large count): a sound run, never a crash.
TEST_F(DamagedCorpus, EveryFieldAtExtremeValues) {
  for (uint8_t version : {6, 10}) {
    for (const FrfPage& page : {CorpusPage(version), CorpusFramesPage(version)}) {
      const BuiltFile valid = testing_support::Build(page);
      for (const auto& field : valid.Leaves()) {
        std::vector<uint64_t> values(std::begin(kValues), std::end(kValues));
        if (field.kind == testing_support::FieldKind::kValue && field.width == 4)
          values.insert(values.end(), {0x80000000ull, 0x10000001ull});
        for (uint64_t value : values) {
          BuiltFile damaged = valid;
          damaged.SetField(field.name, value);
          PageRun run = Parse(damaged);
          SCOPED_TRACE("version " + std::to_string(version) + " " + field.name + " = " +
                       std::to_string(value) + ": " + Describe(run));
          ExpectSoundRun(run, damaged.bytes.size());
        }
      }
    }
  }
}

// Every cut of the file fails, with the end of file found, except the cuts that keep the
// whole end identifier; a cut that leaves at most 30 bytes after the image file name is taken
// for an empty file. What a cut page wrote is what the whole page writes up to there.
TEST_F(DamagedCorpus, EveryTruncation) {
  for (uint8_t version : {6, 10}) {
    for (const FrfPage& page : {CorpusPage(version), CorpusFramesPage(version)}) {
      const BuiltFile valid = testing_support::Build(page);
      const std::string whole = Parse(valid).script;
      const uint32_t complete = valid.End("end.signature");
      const uint32_t image = valid.End("header.imageName");
      const bool emptyTest = ContentCount(page) <= 1;
      for (uint32_t size = 0; size < valid.bytes.size(); ++size) {
        BuiltFile cut = valid;
        cut.Truncate(size);
        PageRun run = Parse(cut);
        SCOPED_TRACE("version " + std::to_string(version) + " cut to " + std::to_string(size) +
                     ": " + Describe(run));
        ExpectSoundRun(run, size);
        const std::string written = run.script.substr(0, run.script.rfind("\n\nsave\n"));
        EXPECT_EQ(whole.compare(0, written.size(), written), 0) << run.script;
        if (size >= complete) {
          EXPECT_EQ(run.result, PARSE_OK);
        } else if (emptyTest && size >= image && size <= image + 30) {
          EXPECT_EQ(run.result, PARSE_BAD_FORMAT);
          EXPECT_EQ(run.step, 6);
          EXPECT_NE(run.errors.find("Empty file, not processed by FineReader"), std::string::npos);
        } else {
          EXPECT_EQ(run.result, PARSE_EOF);
        }
      }
    }
  }
}

// Fields whose value the reader checks, set to a wrong value, and where the failure must be
// reported.
struct Damage {
  const char* field;
  uint64_t value;
  int result;
  int32_t step;             // the run's step number (header, frame or end)
  int32_t failedFrame;      // -1: header or end
  const char* blockReport;  // "(frame:block:step)" of the block parser's own report, or ""
  const char* offsetField;  // the field whose offset is the reported one, or ""
};

void CheckDamages(DamagedCorpus* test, const FrfPage& page, const std::vector<Damage>& damages) {
  const BuiltFile valid = testing_support::Build(page);
  for (const Damage& d : damages) {
    BuiltFile damaged = valid;
    damaged.SetField(d.field, d.value);
    PageRun run = test->Parse(damaged);
    SCOPED_TRACE(std::string("version ") + std::to_string(page.version) + " " + d.field + " = " +
                 std::to_string(d.value) + ": " + Describe(run));
    EXPECT_EQ(run.result, d.result);
    if (d.result == PARSE_OK) {
      continue;
    }
    EXPECT_EQ(run.step, d.step);
    EXPECT_EQ(run.failedFrame, d.failedFrame);
    if (*d.blockReport != '\0') {
      EXPECT_NE(run.errors.find(d.blockReport), std::string::npos);
    }
    if (*d.offsetField != '\0') {
      const uint32_t at = valid.Offset(d.offsetField);
      if (*d.blockReport != '\0') {
        // The block parser quotes the start of the failing read; its hex dump then returns the
        // stream to where it stood, so the frame report quotes the end of the field.
        char offset[32];
        std::snprintf(offset, sizeof offset, " offset=%08X", at);
        EXPECT_NE(run.errors.find(std::string(d.blockReport) + offset), std::string::npos);
        EXPECT_EQ(run.offset, static_cast<int32_t>(valid.End(d.offsetField)));
      } else {
        EXPECT_EQ(run.offset, static_cast<int32_t>(at));
      }
    }
  }
}

constexpr int kOk = PARSE_OK;
constexpr int kBad = PARSE_BAD_FORMAT;
constexpr int kEof = PARSE_EOF;

TEST_F(DamagedCorpus, CheckedFieldsFailWhereTheLayoutSays) {
  const std::vector<Damage> common = {
      {"header.signature", 0x54355246, kBad, 1, -1, "", "header.signature"},
      {"header.version", 7, kBad, 2, -1, "", "header.version"},
      {"header.namesFlag", 1, kBad, 2, -1, "", "header.namesFlag"},
      {"header.wordA", 1, kBad, 5, -1, "", "header.wordA"},
      {"header.wordB", 0xFFFF, kOk, 0, 0, "", ""},
      {"header.byteE", 1, kBad, 5, -1, "", "header.byteE"},
      {"header.imageName", 0, kBad, 6, -1, "", ""},
      {"header.data1Lead", 0xFFFFFFFF, kOk, 0, 0, "", ""},
      {"header.width", 0, kBad, 9, -1, "", "header.data2"},
      {"header.height", 0, kBad, 9, -1, "", "header.data2"},
      {"header.resolution", 1201, kBad, 9, -1, "", "header.data2"},
      {"header.resolution", 1200, kOk, 0, 0, "", ""},
      {"header.constant", 2, kBad, 11, -1, "", "header.constant"},
      {"header.frameTypes", 2, kBad, 600, 0, "", "header.frameTypes"},
      {"frame0.fixed", 0xFFFFFFFF, kOk, 0, 0, "", ""},
      {"frame0.headTail", 0xFFFFFFFF, kOk, 0, 0, "", ""},
      {"frame0.gap", 0xFFFFFFFF, kOk, 0, 0, "", ""},
      // Text counts above 39999 code units are refused; 39999 is read (and here runs into the
      // end of the file).
      {"frame0.block0.longCount", 40000, kBad, 103, 0, "Invalid FRF format (1:1:202)",
       "frame0.block0.longCount"},
      {"frame0.block0.longCount", 39999, kEof, 103, 0, "Unexpected End-Of-File (1:1:202)", ""},
      {"frame0.block0.checkCount", 14, kBad, 103, 0, "(1:1:211)", "frame0.block0.checkCount"},
      {"frame0.block1.recordCount", 0, kBad, 103, 0, "(1:2:212)", "frame0.block1.recordCount"},
      {"frame0.block0.boxCount", 14, kBad, 103, 0, "(1:1:221)", "frame0.block0.boxCount"},
      {"frame0.block0.boxEnd", 1, kBad, 103, 0, "(1:1:222)", "frame0.block0.boxEnd"},
      {"frame0.block1.maskLength", 16, kBad, 103, 0, "(1:2:231)", "frame0.block1.maskLength"},
      {"frame0.block1.mask", 0xFFFFFFFF, kOk, 0, 0, "", ""},
      {"frame0.block0.data40Count", 15, kBad, 103, 0, "(1:1:241)", "frame0.block0.data40Count"},
      {"frame0.block0.line0.chars", 10, kBad, 103, 0, "(1:1:245)", ""},
      {"frame0.block1.line1.chars", 6, kBad, 103, 0, "(1:2:245)", ""},
      {"frame0.block0.line0.unused", 0xFFFFFFFF, kOk, 0, 0, "", ""},
      {"frame0.block1.para.left", 0xFFFFFFFF, kOk, 0, 0, "", ""},
      {"end.marker", 1, kBad, 21, -1, "", "end.marker"},
      {"end.identifier", 0xB80875BD, kBad, 22, -1, "", "end.identifier"},
      {"end.signature", 0x53355246 + 1, kBad, 22, -1, "", "end.signature"},
  };
  const std::vector<Damage> v6 = {
      {"header.byteF", 1, kBad, 5, -1, "", "header.byteF"},
      {"header.byteG", 1, kBad, 5, -1, "", "header.byteG"},
      {"frame0.block0.data40Entries", 2, kBad, 103, 0, "(1:1:241)", "frame0.block0.data40Entries"},
      {"frame0.block0.data40Chars", 13, kBad, 103, 0, "(1:1:241)", "frame0.block0.data40Chars"},
      {"frame0.block1.data40Zero", 1, kBad, 103, 0, "(1:2:241)", "frame0.block1.data40Zero"},
      {"frame0.block1.fillerTail", 0xFFFFFF, kOk, 0, 0, "", ""},
      {"frame0.endA", 9, kBad, 105, 0, "", "frame0.endB"},
      {"frame0.endB", 9, kBad, 105, 0, "", "frame0.endB"},
      {"frame0.endC", 9, kBad, 106, 0, "", "frame0.endC"},
      {"frame0.endWord", 1, kBad, 107, 0, "", "frame0.endWord"},
  };
  const std::vector<Damage> v10 = {
      {"header.countF", 3, kBad, 5, -1, "", "header.countF"},
      {"header.byteH", 0xFF, kOk, 0, 0, "", ""},
      {"header.extraDword", 0xFFFFFFFF, kOk, 0, 0, "", ""},
      {"frame0.block0.marker", 5, kBad, 103, 0, "(1:1:191)", "frame0.block0.marker"},
      {"frame0.block0.head", 0xFFFFFFFF, kOk, 0, 0, "", ""},
      {"frame0.block1.data40Entry0.chars", 10, kBad, 103, 0, "(1:2:241)", ""},
      {"frame0.block1.data40Entry1.headerSize", 41, kBad, 103, 0, "(1:2:241)", ""},
      {"frame0.block1.data40Entry1.bitmapWidth", 0xFFFFFFFF, kOk, 0, 0, "", ""},
      {"frame0.block1.data41Count", 15, kBad, 103, 0, "(1:2:242)", "frame0.block1.data41Count"},
      {"frame0.block1.data41Entry1.chars", 4, kBad, 103, 0, "(1:2:242)", ""},
      {"frame0.block0.unknown3A", 1, kBad, 103, 0, "(1:1:247)", "frame0.block0.unknown3A"},
      {"frame0.block0.unknown3B", 2, kBad, 103, 0, "(1:1:248)", "frame0.block0.unknown3B"},
      {"frame0.block0.unknown3First", 1, kBad, 103, 0, "(1:1:249)", ""},
      {"frame0.block1.unknown4Marker", 1, kBad, 103, 0, "(1:2:252)",
       "frame0.block1.unknown4Marker"},
      {"frame0.endByte", 0xFF, kOk, 0, 0, "", ""},
      {"frame0.endPair", 0xFFFF, kOk, 0, 0, "", ""},
      {"frame0.endSelector", 1, kBad, 106, 0, "", "frame0.endSelector"},
      {"frame0.endValue", 1, kBad, 107, 0, "", "frame0.endValue"},
      {"frame0.endZero", 1, kBad, 108, 0, "", "frame0.endZero"},
  };
  for (uint8_t version : {6, 10}) {
    FrfPage page = CorpusPage(version);
    CheckDamages(this, page, common);
    CheckDamages(this, page, version == 6 ? v6 : v10);
  }
}

TEST_F(DamagedCorpus, CheckedFieldsOfTheOtherFrameKinds) {
  const std::vector<Damage> common = {
      {"frame1.marker", 1, kBad, 300, 1, "", "frame1.marker"},
      {"frame1.fixed", 0xFFFFFFFF, kOk, 0, 0, "", ""},
      {"frame1.trailer", 0xFFFFFFFF, kOk, 0, 0, "", ""},
      {"frame2.secondByte", 0xFF, kOk, 0, 0, "", ""},
      {"frame2.zero", 1, kBad, 402, 2, "", "frame2.zero"},
      {"frame2.cell0.kind", 3, kBad, 402, 2, "", ""},
      {"frame2.cell1.kind", 3, kOk, 0, 0, "", ""},
      {"frame2.cell1.firstByte", 0xFF, kOk, 0, 0, "", ""},
      {"frame2.cell1.block0.checkCount", 0, kBad, 402, 2, "(2:1:211)",
       "frame2.cell1.block0.checkCount"},
      {"frame3.marker", 1, kBad, 500, 3, "", "frame3.marker"},
      {"frame3.gap5", 0xFFFFFFFF, kOk, 0, 0, "", ""},
      {"frame3.zero", 1, kBad, 502, 3, "", "frame3.zero"},
      {"frame3.block0.one", 2, kBad, 508, 3, "", "frame3.block0.one"},
      {"frame3.block0.rest", 0xFFFFFFFF, kOk, 0, 0, "", ""},
  };
  const std::vector<Damage> v6 = {
      {"frame3.endB", 8, kBad, 510, 3, "", "frame3.endB"},
      {"frame3.endC", 8, kBad, 511, 3, "", "frame3.endC"},
      {"frame3.endWord", 8, kBad, 512, 3, "", "frame3.endWord"},
  };
  const std::vector<Damage> v10 = {
      {"frame3.endMarker", 0, kBad, 509, 3, "", "frame3.endMarker"},
      {"frame3.endMarker2", 0xFFFF0000, kBad, 510, 3, "", "frame3.endMarker2"},
  };
  for (uint8_t version : {6, 10}) {
    FrfPage page = CorpusFramesPage(version);
    CheckDamages(this, page, common);
    CheckDamages(this, page, version == 6 ? v6 : v10);
  }
}

}  // namespace
