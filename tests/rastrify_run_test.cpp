// Runs of the built rastrify against a recording fake decoder: a copy of the program in a
// temporary folder with a shell script as decoder/DjVuDecode.exe beside it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/run_program.h"
#include "tests/support/test_files.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ProgramOutput;
using testing_support::ReadFile;
using testing_support::RunCaptured;
using testing_support::TempDir;

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
    program_ = root_ + "/rastrify";
    fs::copy_file(RASTRIFY_EXE, program_);
    fs::permissions(program_, fs::perms::owner_all);
    log_ = root_ + "/calls.log";
  }

  std::string DecoderPath() const { return root_ + "/decoder/DjVuDecode.exe"; }

  // A fake decoder that logs its argument count, its arguments in brackets and its working
  // directory, one call per line, then runs `rule` (shell text that sees $page).
  void InstallDecoder(const std::string& rule, bool executable = true) {
    std::string script =
        "#!/bin/sh\n"
        "{ printf '%s' \"$#\"; for a in \"$@\"; do printf ' [%s]' \"$a\"; done;"
        " printf ' cwd=%s\\n' \"$(pwd)\"; } >> '" +
        log_ +
        "'\n"
        "page=\n"
        "for a in \"$@\"; do case $a in --page-range=*) page=${a#--page-range=};; esac; done\n" +
        rule + "\n";
    dir_.Write("decoder/DjVuDecode.exe", script);
    fs::permissions(DecoderPath(), executable ? fs::perms::owner_all
                                              : fs::perms::owner_read | fs::perms::owner_write);
  }

  // A decoder that exports pages 1 to lastPage and refuses the others.
  void InstallDocumentOf(int lastPage) {
    InstallDecoder("[ \"$page\" -ge 1 ] && [ \"$page\" -le " + std::to_string(lastPage) +
                   " ] && exit 0\nexit 1");
  }

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
  InstallDecoder("exit 0");
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

TEST_F(RastrifyRun, ExtraArgumentsAndNamesWithBlanksReachTheDecoderSplit) {
  InstallDecoder("exit 0");
  // Nothing is quoted on the decoder's command line: every blank separates two arguments.
  ProgramOutput run =
      Rastrify({"-p", "7", "-a", "--dpi=300  --x", "/my book.djvu", "/out dir/p g", "-gps"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(Calls(), (std::vector<std::string>{
                         "10 [--layer=all] [--page-range=7] [--output-format=ps] [--dpi=300] "
                         "[--x] [/my] [book.djvu] [/out] [dir/p] [g0007.ps] cwd=" +
                         root_}));
}

TEST_F(RastrifyRun, LongNamesAreHandedOnWhole) {
  InstallDecoder("exit 0");
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
  InstallDecoder("exit 0", /*executable=*/false);
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
  InstallDecoder("[ \"$page\" -ge 2 ] && kill -SEGV $$\nexit 0");
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
