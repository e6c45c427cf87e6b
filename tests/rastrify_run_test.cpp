// Runs of the built rastrify against a recording fake decoder: a copy of the program in a
// temporary folder with the fake decoder as decoder/DjVuDecode.exe beside it.
#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#endif

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/run_program.h"
#include "tests/support/test_files.h"

namespace {

namespace fs = std::filesystem;
using testing_support::kSeparator;
using testing_support::ProgramOutput;
using testing_support::ReadFile;
using testing_support::RunCaptured;
using testing_support::TempDir;

#ifdef _WIN32
const char kExeSuffix[] = ".exe";
#else
const char kExeSuffix[] = "";
#endif

const char kBanner[] =
    "\nFront-end for DjVuDecode.EXE: Convert DjVu file in standard graphics format\n";

const char kUsageBlock[] =
    "\n"
    "This program automated extraction of multiple pages from\n"
    "DjVu document to graphics BMP/TIF format with program DjVuDecode.EXE\n"
    "\n"
    "Usage:  rastrify [options] <DjVu file> <out template name> [options]\n"
    "\n"
    "Options are:\n"
    "  -g <name>        -- graphics type format:\n"
    "                       pnm,pgm,pbm,bmp,tif,jpeg,ps,pict\n"
    "                       Default value: TIF\n"
    "  -p <range>       -- Specify the ranges of pages to convert.\n"
    "                       Ranges are specified like \"1-5,10,11\"\n"
    "                       Default value: all pages\n"
    "\n"
    " <DjVu file>         -- input DjVu file\n"
    " <out template name> -- base name to create output files\n"
    "                       Example: \"nm\" ->nm0001.bmp, nm0002.bmp...\n";

class RastrifyRun : public ::testing::Test {
 protected:
  void SetUp() override {
    // The real path: the program finds its folder through the resolved executable name.
    root_ = fs::canonical(dir_.path()).string();
    program_ = Install(root_);
    log_ = root_ + kSeparator + "calls.log";
  }

  // A copy of rastrify in the folder, its path returned.
  static std::string Install(const std::string& folder) {
    const std::string program = folder + kSeparator + "rastrify" + kExeSuffix;
    fs::create_directories(folder);
    fs::copy_file(RASTRIFY_EXE, program);
    fs::permissions(program, fs::perms::owner_all);
    return program;
  }

  std::string DecoderPath() const {
    return root_ + kSeparator + "decoder" + kSeparator + "DjVuDecode.exe";
  }

  // The fake decoder at `path`, logging to `log`, with more settings (see fake_decoder.cpp)
  // in `settings`.
  static void PlaceFakeDecoder(const std::string& path, const std::string& log,
                               const std::string& settings) {
    const fs::path file(path);
    fs::create_directories(file.parent_path());
    fs::copy_file(FAKE_DECODER_EXE, file, fs::copy_options::overwrite_existing);
    fs::permissions(file, fs::perms::owner_all);
    const fs::path config = file.parent_path() / "fake_decoder.cfg";
    std::FILE* out = std::fopen(config.string().c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fputs(("log=" + log + "\n" + settings).c_str(), out);
    std::fclose(out);
  }

  // A fake decoder that logs its argument count, its arguments in brackets and its working
  // directory, one call per line, and follows `settings`.
  void InstallDecoder(const std::string& settings = "") {
    PlaceFakeDecoder(DecoderPath(), log_, settings);
  }

  // A decoder file the system cannot start.
  void InstallBrokenDecoder() {
    dir_.Write(std::string("decoder") + kSeparator + "DjVuDecode.exe", "not a program\n");
    fs::permissions(DecoderPath(), fs::perms::owner_read | fs::perms::owner_write);
  }

  // A decoder that exports pages 1 to lastPage and refuses the others.
  void InstallDocumentOf(int lastPage) { InstallDecoder("last=" + std::to_string(lastPage)); }

  ProgramOutput Rastrify(const std::vector<std::string>& args) {
    return RunCaptured(program_, args);
  }

  std::vector<std::string> Calls() const {
    std::vector<std::string> lines;
    std::istringstream in(ReadFile(log_));
    for (std::string line; std::getline(in, line);)
      lines.push_back(line);
    return lines;
  }

  std::string Call(int page, const std::string& format = "tif") const {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%04d", page);
    return "5 [--layer=all] [--page-range=" + std::to_string(page) +
           "] [--output-format=" + format + "] [/doc.djvu] [/out/nm" + digits + "." + format +
           "] cwd=" + root_;
  }

  TempDir dir_;
  std::string root_;
  std::string program_;
  std::string log_;
};

TEST_F(RastrifyRun, UsageBytesAndExitCodes) {
  InstallDocumentOf(3);
  const std::string usage = std::string(kBanner) +
                            "Copyright (C) 2026 the rastrify developers; free to use, copy and "
                            "change.\n" +
                            kUsageBlock;
  ProgramOutput none = Rastrify({});
  EXPECT_EQ(none.exitCode, 1);
  EXPECT_EQ(none.out, usage);
  EXPECT_EQ(none.err, "\n**** file name or template not specified ***");

  ProgramOutput oneName = Rastrify({"-gjpeg", "/doc.djvu"});
  EXPECT_EQ(oneName.exitCode, 1);
  EXPECT_EQ(oneName.err, "\n**** file name or template not specified ***");

  // A missing option value or a third name: the usage alone.
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"/doc.djvu", "/out/nm", "-p"}, {"/doc.djvu", "/out/nm", "third"}, {"a", "b", "-"}}) {
    ProgramOutput bad = Rastrify(args);
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(bad.out, usage);
    EXPECT_EQ(bad.err, "");
  }
  EXPECT_TRUE(Calls().empty());
}

TEST_F(RastrifyRun, AllPagesModeEndsSilentlyAtTheFirstRefusedPage) {
  InstallDocumentOf(3);
  ProgramOutput run = Rastrify({"/doc.djvu", "/out/nm"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "\nProcessed page #0001\nProcessed page #0002\nProcessed page #0003");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(Calls(), (std::vector<std::string>{Call(1), Call(2), Call(3), Call(4)}));
}

TEST_F(RastrifyRun, AllPagesModeWithNothingToExportPrintsNothing) {
  InstallDocumentOf(0);
  ProgramOutput run = Rastrify({"-gbmp", "/doc.djvu", "/out/nm"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(Calls(), (std::vector<std::string>{Call(1, "bmp")}));
}

TEST_F(RastrifyRun, RangeModeWorksThroughTheList) {
  InstallDocumentOf(3);
  ProgramOutput run = Rastrify({"/doc.djvu", "-p", "3,2-3", "/out/nm", "-gpgm"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "\nProcessed page #0003\nProcessed page #0002\nProcessed page #0003");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(Calls(), (std::vector<std::string>{Call(3, "pgm"), Call(2, "pgm"), Call(3, "pgm")}));
}

TEST_F(RastrifyRun, RangeModeStopsAtTheFirstFailingPage) {
  InstallDocumentOf(3);
  ProgramOutput run = Rastrify({"-p", "2-5,1", "/doc.djvu", "/out/nm"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "\nProcessed page #0002\nProcessed page #0003");
  EXPECT_EQ(run.err, "\n*** Error in DjVuDecode.EXE");
  // Page 5 and the rest of the list are never attempted.
  EXPECT_EQ(Calls(), (std::vector<std::string>{Call(2), Call(3), Call(4)}));
}

TEST_F(RastrifyRun, RangeItemReadingAsZeroEndsTheRunWithSuccess) {
  InstallDocumentOf(3);
  ProgramOutput run = Rastrify({"-p", "1,,3", "/doc.djvu", "/out/nm"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "\nProcessed page #0001");
  EXPECT_EQ(Calls(), (std::vector<std::string>{Call(1)}));

  for (const char* range : {"0", "abc", "1-", "", ",", "-", " "}) {
    ProgramOutput nothing = Rastrify({"-p", range, "/doc.djvu", "/out/nm"});
    EXPECT_EQ(nothing.exitCode, 0) << range;
    EXPECT_EQ(nothing.out, "") << range;
    EXPECT_EQ(nothing.err, "") << range;
  }
  EXPECT_EQ(Calls().size(), 1u);
}

TEST_F(RastrifyRun, LargePageNumbersWidenTheFileName) {
  InstallDecoder();
  ProgramOutput run = Rastrify({"-p", "9999-10000", "/doc.djvu", "/out/nm"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "\nProcessed page #9999\nProcessed page #10000");
  EXPECT_EQ(Calls(), (std::vector<std::string>{Call(9999), Call(10000)}));

  // 10000 digits read as the largest page number; the page after it is never asked for.
  std::string digits(10000, '9');
  ProgramOutput huge = Rastrify({"-p", digits + "-" + digits, "/doc.djvu", "/out/nm"});
  EXPECT_EQ(huge.exitCode, 0);
  EXPECT_EQ(huge.out, "\nProcessed page #2147483647");
  std::vector<std::string> calls = Calls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[2], Call(2147483647));
}

TEST_F(RastrifyRun, NamesReachTheDecoderWholeAndExtraArgumentsSplit) {
  InstallDecoder();
  // The -a text is split on its blanks as written; the document and the output file are one
  // argument each, blanks and all.
  ProgramOutput run =
      Rastrify({"-p", "7", "-a", "--dpi=300  --x", "/my book.djvu", "/out dir/p g", "-gps"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "\nProcessed page #0007");
  EXPECT_EQ(
      Calls(),
      (std::vector<std::string>{"7 [--layer=all] [--page-range=7] [--output-format=ps] [--dpi=300] "
                                "[--x] [/my book.djvu] [/out dir/p g0007.ps] cwd=" +
                                root_}));
}

TEST_F(RastrifyRun, QuotesBackslashesAndEmptyNamesSurvive) {
  InstallDecoder();
  // On Windows these are quoted for the decoder's C runtime: a backslash before the closing
  // quote, a quote inside, a tab, an empty name.
  const std::string document = "/my \"books\"\\";
  const std::string outputTemplate = "/out\tdir\\ p \\\"q";
  ProgramOutput run = Rastrify({"-p", "1", document, outputTemplate});
  EXPECT_EQ(run.exitCode, 0);
  ProgramOutput empty = Rastrify({"-p", "2", "-a", "x", "", "/out/nm"});
  EXPECT_EQ(empty.exitCode, 0);
  EXPECT_EQ(Calls(), (std::vector<std::string>{
                         "5 [--layer=all] [--page-range=1] [--output-format=tif] [" + document +
                             "] [" + outputTemplate + "0001.tif] cwd=" + root_,
                         "6 [--layer=all] [--page-range=2] [--output-format=tif] "
                         "[x] [] [/out/nm0002.tif] cwd=" +
                             root_}));
}

TEST_F(RastrifyRun, LongNamesAreHandedOnWhole) {
  InstallDecoder();
  const std::string longTemplate = "/out/" + std::string(600, 't');
  ProgramOutput run = Rastrify({"-p", "1", "/doc.djvu", longTemplate});
  EXPECT_EQ(run.exitCode, 0);
  std::vector<std::string> calls = Calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_NE(calls[0].find(" [" + longTemplate + "0001.tif] "), std::string::npos);
}

TEST_F(RastrifyRun, MissingDecoderStopsBeforeAnyPage) {
  ProgramOutput run = Rastrify({"/doc.djvu", "/out/nm"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "\n*** Can't found decoder DjVuDecode.EXE in current folder. \n(" +
                         DecoderPath() + ")");
}

TEST_F(RastrifyRun, DecoderThatCannotStartEndsTheRunInBothModes) {
  InstallBrokenDecoder();
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"/doc.djvu", "/out/nm"}, {"-p", "1-3", "/doc.djvu", "/out/nm"}}) {
    ProgramOutput run = Rastrify(args);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "\n*** Can't start DjVuDecode.EXE");
  }
  EXPECT_TRUE(Calls().empty());
}

TEST_F(RastrifyRun, CrashingDecoderCountsAsAFailedPage) {
  InstallDecoder("crash-from=2");
  ProgramOutput ranged = Rastrify({"-p", "1-3", "/doc.djvu", "/out/nm"});
  EXPECT_EQ(ranged.exitCode, 1);
  EXPECT_EQ(ranged.out, "\nProcessed page #0001");
  EXPECT_EQ(ranged.err, "\n*** Error in DjVuDecode.EXE");
  ProgramOutput all = Rastrify({"/doc.djvu", "/out/nm"});
  EXPECT_EQ(all.exitCode, 1);
  EXPECT_EQ(all.out, "\nProcessed page #0001");
  EXPECT_EQ(all.err, "");
  EXPECT_EQ(Calls().size(), 4u);
}

}  // namespace

namespace {

TEST_F(RastrifyRun, TheDecoderIsStartedByItsPathEvenWithABlankInTheFolder) {
  // Installed in "<root>/sp ace": a command line read up to its first blank would start
  // "<root>/sp" instead of the decoder.
  const std::string home = root_ + kSeparator + "sp ace";
  const std::string program = Install(home);
  PlaceFakeDecoder(home + kSeparator + "decoder" + kSeparator + "DjVuDecode.exe", log_, "");
  const std::string hijackLog = root_ + kSeparator + "hijack.log";
  PlaceFakeDecoder(root_ + kSeparator + "sp" + kExeSuffix, hijackLog, "");
  PlaceFakeDecoder(root_ + kSeparator + "sp", hijackLog, "");

  ProgramOutput run = RunCaptured(program, {"-p", "2", "/doc.djvu", "/out/nm"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "\nProcessed page #0002");
  EXPECT_EQ(ReadFile(hijackLog), "");
  // The decoder sees its own path as one word and the five arguments unchanged.
  EXPECT_EQ(Calls(), (std::vector<std::string>{"5 [--layer=all] [--page-range=2] "
                                               "[--output-format=tif] [/doc.djvu] "
                                               "[/out/nm0002.tif] cwd=" +
                                               home}));
}

}  // namespace

namespace {

// The program renamed to 表.exe ("\x95\x5C.exe" in code page 932): the trail byte of its name
// is the byte of a backslash, and still the decoder beside it is found. Run when the ANSI code
// page is 932 (under wine: LC_ALL=ja_JP.UTF-8).
TEST_F(RastrifyRun, DoubleByteProgramNameUnderCodePage932) {
#ifndef _WIN32
  GTEST_SKIP() << "the ANSI code pages are Windows' own";
#else
  if (GetACP() != 932)
    GTEST_SKIP() << "code page 932 is not the ANSI code page here";
  const std::string renamed = root_ + "\\\x95\x5C.exe";
  ASSERT_TRUE(CopyFileA(program_.c_str(), renamed.c_str(), FALSE))
      << GetLastError() << " " << program_ << " " << renamed;
  InstallDocumentOf(1);
  ProgramOutput run = RunCaptured(renamed, {"-p", "1", "/doc.djvu", "/out/nm"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "\nProcessed page #0001");
  EXPECT_EQ(Calls(), (std::vector<std::string>{Call(1)}));
#endif
}

}  // namespace
