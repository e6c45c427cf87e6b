// The built rastrify with the real decoder stand-in of the build tree, on a DjVu document made
// with cjb2 and djvm from pages of different sizes.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/djvu_document.h"
#include "tests/support/run_program.h"
#include "tests/support/test_files.h"

namespace {

namespace fs = std::filesystem;
using testing_support::FindTool;
using testing_support::MakeDjvuDocument;
using testing_support::ProgramOutput;
using testing_support::ReadFile;
using testing_support::RunCaptured;
using testing_support::TempDir;

struct PnmSize {
  std::string magic;
  int width = -1;
  int height = -1;
};

// The kind and size from a PNM header, comments and white space allowed between the fields.
PnmSize ReadPnmHeader(const std::string& bytes) {
  PnmSize size;
  if (bytes.size() < 2 || bytes[0] != 'P')
    return size;
  size.magic = bytes.substr(0, 2);
  size_t pos = 2;
  int fields[2] = {-1, -1};
  for (int& field : fields) {
    while (pos < bytes.size() &&
           (std::isspace(static_cast<unsigned char>(bytes[pos])) || bytes[pos] == '#')) {
      if (bytes[pos] == '#') {
        while (pos < bytes.size() && bytes[pos] != '\n')
          ++pos;
      } else {
        ++pos;
      }
    }
    if (pos >= bytes.size() || !std::isdigit(static_cast<unsigned char>(bytes[pos])))
      return size;
    field = 0;
    while (pos < bytes.size() && std::isdigit(static_cast<unsigned char>(bytes[pos])) &&
           field < 100000) {
      field = field * 10 + (bytes[pos++] - '0');
    }
  }
  size.width = fields[0];
  size.height = fields[1];
  return size;
}

class RastrifyExport : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::canonical(dir_.path()).string();
    ASSERT_FALSE(FindTool("cjb2").empty()) << "cjb2 (djvulibre-bin) is needed";
    ASSERT_FALSE(FindTool("djvm").empty()) << "djvm (djvulibre-bin) is needed";
    MakeDjvuDocument(dir_, {{120, 80}, {64, 100}, {200, 50}}, "book.djvu");
    fs::create_directory(root_ + "/out");
  }

  std::string Book() const { return root_ + "/book.djvu"; }
  std::string Out(const std::string& name) const { return root_ + "/out/" + name; }

  TempDir dir_;
  std::string root_;
};

TEST_F(RastrifyExport, StandInLivesBesideTheBuiltProgram) {
  const fs::path decoder = fs::path(RASTRIFY_EXE).parent_path() / "decoder" / "DjVuDecode.exe";
  ASSERT_TRUE(fs::exists(decoder));
  EXPECT_NE(fs::status(decoder).permissions() & fs::perms::owner_exec, fs::perms::none);
}

TEST_F(RastrifyExport, RangeOfGrayPagesHasThePagesSizes) {
  ProgramOutput run = RunCaptured(RASTRIFY_EXE, {"-p", "2-3", "-g", "pgm", Book(), Out("pg")});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "\nProcessed page #0002\nProcessed page #0003");
  PnmSize second = ReadPnmHeader(ReadFile(Out("pg0002.pgm")));
  EXPECT_EQ(second.magic, "P5");
  EXPECT_EQ(second.width, 64);
  EXPECT_EQ(second.height, 100);
  PnmSize third = ReadPnmHeader(ReadFile(Out("pg0003.pgm")));
  EXPECT_EQ(third.magic, "P5");
  EXPECT_EQ(third.width, 200);
  EXPECT_EQ(third.height, 50);
  EXPECT_FALSE(fs::exists(Out("pg0001.pgm")));
}

TEST_F(RastrifyExport, AllPagesModeStopsAtTheDocumentsEnd) {
  ProgramOutput run = RunCaptured(RASTRIFY_EXE, {Book(), Out("nm")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "\nProcessed page #0001\nProcessed page #0002\nProcessed page #0003");
  EXPECT_EQ(run.err, "");
  for (const char* name : {"nm0001.tif", "nm0002.tif", "nm0003.tif"}) {
    std::string tif = ReadFile(Out(name));
    ASSERT_GT(tif.size(), 8u) << name;
    EXPECT_TRUE(tif.compare(0, 4, "II*\0", 4) == 0 || tif.compare(0, 4, "MM\0*", 4) == 0) << name;
  }
  EXPECT_FALSE(fs::exists(Out("nm0004.tif")));
}

TEST_F(RastrifyExport, EveryFormatOfTheUsageTextIsMade) {
  struct Expected {
    const char* format;
    std::string head;  // the first bytes of the file
  };
  const Expected formats[] = {{"pnm", "P4"},  {"pbm", "P4"},
                              {"bmp", "BM"},  {"jpeg", "\xFF\xD8\xFF"},
                              {"ps", "%!PS"}, {"TIF", "II*"}};
  for (const Expected& e : formats) {
    ProgramOutput run = RunCaptured(RASTRIFY_EXE, {"-p", "1", "-g", e.format, Book(), Out("f")});
    EXPECT_EQ(run.exitCode, 0) << e.format << run.err;
    std::string bytes = ReadFile(Out(std::string("f0001.") + e.format));
    EXPECT_EQ(bytes.substr(0, e.head.size()), e.head) << e.format;
  }
  PnmSize pnm = ReadPnmHeader(ReadFile(Out("f0001.pnm")));
  EXPECT_EQ(pnm.width, 120);
  EXPECT_EQ(pnm.height, 80);
  // PICT: a 512-byte preamble, then the picture.
  ProgramOutput pict = RunCaptured(RASTRIFY_EXE, {"-p", "3", "-g", "pict", Book(), Out("f")});
  EXPECT_EQ(pict.exitCode, 0) << pict.err;
  EXPECT_GT(ReadFile(Out("f0003.pict")).size(), 512u);
}

TEST_F(RastrifyExport, RefusedPagesAndFormatsLeaveNoFile) {
  ProgramOutput beyond = RunCaptured(RASTRIFY_EXE, {"-p", "3-4", Book(), Out("x")});
  EXPECT_EQ(beyond.exitCode, 1);
  EXPECT_EQ(beyond.out, "\nProcessed page #0003");
  EXPECT_EQ(beyond.err, "\n*** Error in DjVuDecode.EXE");
  EXPECT_FALSE(fs::exists(Out("x0004.tif")));

  ProgramOutput unknown = RunCaptured(RASTRIFY_EXE, {"-p", "1", "-g", "xyz", Book(), Out("y")});
  EXPECT_EQ(unknown.exitCode, 1);
  EXPECT_EQ(unknown.err, "\n*** Error in DjVuDecode.EXE");
  EXPECT_FALSE(fs::exists(Out("y0001.xyz")));

  ProgramOutput below = RunCaptured(RASTRIFY_EXE, {"-p", "-1", Book(), Out("z")});
  EXPECT_EQ(below.exitCode, 1);
  EXPECT_EQ(below.out, "");
  EXPECT_FALSE(fs::exists(Out("z-001.tif")));
}

TEST_F(RastrifyExport, StandInExitCodes) {
  const std::string decoder =
      (fs::path(RASTRIFY_EXE).parent_path() / "decoder" / "DjVuDecode.exe").string();
  auto decode = [&](const std::string& page, const std::string& format,
                    const std::string& document) {
    return RunCaptured(decoder, {"--layer=all", "--page-range=" + page, "--output-format=" + format,
                                 document, Out("s.out")})
        .exitCode;
  };
  EXPECT_EQ(decode("2", "pgm", Book()), 0);
  EXPECT_EQ(ReadPnmHeader(ReadFile(Out("s.out"))).width, 64);
  fs::remove(Out("s.out"));
  EXPECT_EQ(decode("4", "pgm", Book()), 1);
  EXPECT_EQ(decode("0", "pgm", Book()), 1);
  EXPECT_EQ(decode("99999999999999999999", "pgm", Book()), 1);
  EXPECT_EQ(decode("1", "gif", Book()), 2);
  EXPECT_EQ(decode("x", "pgm", Book()), 2);
  EXPECT_EQ(decode("1", "pgm", root_ + "/missing.djvu"), 3);
  EXPECT_FALSE(fs::exists(Out("s.out")));
  EXPECT_EQ(RunCaptured(decoder, {"--page-range=1"}).exitCode, 2);
  // Extra arguments before the two names are accepted.
  EXPECT_EQ(RunCaptured(decoder, {"--layer=all", "--page-range=3", "--output-format=pbm",
                                  "--dpi=300", Book(), Out("s.out")})
                .exitCode,
            0);
  EXPECT_EQ(ReadPnmHeader(ReadFile(Out("s.out"))).height, 50);
}

}  // namespace
