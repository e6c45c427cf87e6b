// The built ocrsift run over files made with the FRF builder: page numbering, the exploring
// modes, every failure report form and every exit code.
#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#endif

#include <cstdio>
#include <filesystem>
#include <string>
#include <variant>
#include <vector>

#include "tests/support/frf_builder.h"
#include "tests/support/run_program.h"
#include "tests/support/test_files.h"

namespace {

using testing_support::Build;
using testing_support::BuiltFile;
using testing_support::ProgramOutput;
using testing_support::RunCaptured;
using testing_support::TempDir;
using testing_support::TwoBlockPage;

const char kNoPage[] = "\n**** page number not specified ***";
const char kPageEnd[] = "\n)\n\n.\n";
const char kSave[] = "\n\nsave\n";

std::string Hex8(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%08X", value);
  return text;
}

size_t Occurrences(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

class OcrsiftRun : public ::testing::Test {
 protected:
  // A good two-block page of the given version, written as dir/name.
  std::string Good(const std::string& name, uint8_t version = 10) {
    return Build(TwoBlockPage(version)).Write(dir_, name);
  }
  // p1 and p5 good, p2 failing at its end record (after its page began), p3 that cannot be
  // opened, p4 empty (failing before its page began).
  void WriteMixedPages() {
    Good("p1.frf", 6);
    BuiltFile damaged = Build(TwoBlockPage(10));
    damaged.SetField("end.identifier", 0);
    damaged.Write(dir_, "p2.frf");
    ASSERT_NE(dir_.WriteUnopenable("p3.frf"), "");
    dir_.Write("p4.frf", std::string());
    Good("p5.frf", 10);
  }
  ProgramOutput Ocrsift(const std::vector<std::string>& args) {
    return RunCaptured(OCRSIFT_EXE, args, "", dir_.path());
  }
  TempDir dir_;
};

TEST_F(OcrsiftRun, PagesAreNumberedPerNameAlsoPastAFileThatCannotBeOpened) {
  Good("a.frf", 6);
  ASSERT_NE(dir_.WriteUnopenable("b.frf"), "");
  Good("c.frf", 10);
  ProgramOutput r = Ocrsift({"-p", "5", "*.frf"});
  // A matched file that cannot be opened fails the run; the good pages are still written.
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.err, "\nCan't open file \"b.frf\" ");
  EXPECT_EQ(r.out.find("\n# -------------------------------------\nselect 5\nremove-txt\nset-txt\n"
                       "(page 0 0 2480 3508\n (line "),
            0u)
      << r.out;
  EXPECT_NE(r.out.find("\nselect 7\n"), std::string::npos);
  EXPECT_EQ(r.out.find("select 6"), std::string::npos);
  EXPECT_EQ(Occurrences(r.out, kPageEnd), 2u);
  EXPECT_EQ(r.out.substr(r.out.size() - 7), kSave);

  // Under -i the unopenable file passes silently; its page number is still used up.
  ProgramOutput quiet = Ocrsift({"-i", "-p", "5", "*.frf"});
  EXPECT_EQ(quiet.exitCode, 2);
  EXPECT_EQ(quiet.err, "");
  EXPECT_EQ(quiet.out, r.out);

  // A named file that does not exist: reported, a script of "save" only, and no success.
  ProgramOutput named = Ocrsift({"-p", "1", "nosuch.frf"});
  EXPECT_EQ(named.exitCode, 2);
  EXPECT_EQ(named.err, "\nCan't open file \"nosuch.frf\" ");
  EXPECT_EQ(named.out, kSave);
  ProgramOutput tested = Ocrsift({"-t", "nosuch.frf"});
  EXPECT_EQ(tested.exitCode, 2);
  EXPECT_EQ(tested.out, "\nCan't open file \"nosuch.frf\" ");

  // A directory named as the input is no file to open either.
  Good("folder.frf/inside.frf");
  ProgramOutput folder = Ocrsift({"-p", "1", "folder.frf"});
  EXPECT_EQ(folder.exitCode, 2);
  EXPECT_EQ(folder.err, "\nCan't open file \"folder.frf\" ");
  EXPECT_EQ(folder.out, kSave);

#ifndef _WIN32
  // Nor is a FIFO, named, matched or listed, in every mode: never a hang.
  const std::string fifo = dir_.path() + "/fifo/b.frf";
  Good("fifo/a.frf");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  dir_.Write("fifo.lst", "fifo/b.frf\n");
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"-p", "1", "fifo/*.frf"},
                                             {"-p", "1", "fifo/b.frf"},
                                             {"-p", "1", "@fifo.lst"},
                                             {"-t", "fifo/*.frf"},
                                             {"-i", "-o", "hocr", "-p", "1", "fifo/*.frf"}}) {
    ProgramOutput run = Ocrsift(args);
    EXPECT_EQ(run.exitCode, 2) << args.back();
    if (args[0] == "-p") {
      EXPECT_NE(run.err.find("\nCan't open file \"fifo/b.frf\" "), std::string::npos) << run.err;
    }
  }
#endif
}

#ifndef _WIN32
TEST_F(OcrsiftRun, AScriptThatCannotBeWrittenWholeFailsTheRun) {
  Good("page.frf");
  // A full disk: the script is lost, and the run must say so.
  ProgramOutput full = RunCaptured(
      "/bin/sh", {"-c", "exec \"$0\" -p 1 page.frf > /dev/full", OCRSIFT_EXE}, "", dir_.path());
  EXPECT_EQ(full.exitCode, 2);
  EXPECT_EQ(full.err, "\nCan't write standard output: No space left on device");
  ProgramOutput fullPdf =
      RunCaptured("/bin/sh", {"-c", "exec \"$0\" -o pdf -p 1 page.frf > /dev/full", OCRSIFT_EXE},
                  "", dir_.path());
  EXPECT_EQ(fullPdf.exitCode, 2);
  EXPECT_EQ(fullPdf.err, "\nCan't write standard output: No space left on device");
  // ALTO's pages wait in a temporary file: when it cannot be made, the message names it and
  // the cause, and the run fails.
  ProgramOutput scratch = RunCaptured(
      "/bin/sh", {"-c", "TMPDIR=/nonexistent exec \"$0\" -o alto -p 1 page.frf", OCRSIFT_EXE}, "",
      dir_.path());
  EXPECT_EQ(scratch.exitCode, 2);
  EXPECT_EQ(
      scratch.err,
      "\nCan't write temporary file \"/nonexistent/ocrsiftXXXXXX\": No such file or directory");

  // A reader that goes away before the script is through: neither a hang nor a success. The
  // script of 400 pages is larger than what a pipe and the output buffer hold together.
  std::string list;
  for (int i = 0; i < 400; ++i)
    list += "page.frf\n";
  dir_.Write("pages.lst", list);
  ProgramOutput gone = RunCaptured(
      "/bin/sh", {"-c", "{ \"$0\" -p 1 @pages.lst; echo \" exit $?\" >&2; } | true", OCRSIFT_EXE},
      "", dir_.path());
  EXPECT_EQ(gone.err, "\nCan't write standard output: Broken pipe exit 2\n");
  // Once a write failed, the run reads no further file: the unopenable last one (a folder)
  // goes unnamed.
  dir_.Write("full.lst", list + "gone.frf\n");
  ProgramOutput stopped = RunCaptured(
      "/bin/sh", {"-c", "mkdir gone.frf && exec \"$0\" -p 1 @full.lst > /dev/full", OCRSIFT_EXE},
      "", dir_.path());
  EXPECT_EQ(stopped.exitCode, 2);
  EXPECT_EQ(stopped.err, "\nCan't write standard output: No space left on device");
}
#endif

TEST_F(OcrsiftRun, NamesKeepTheirCharactersInTheFormats) {
  // The hyphen and line-end marks belong to recognised text: an image or font name with U+00AC
  // or U+2028 reaches the documents as the file holds it, and the trace shows it as before.
  testing_support::FrfPage page = TwoBlockPage(10);
  page.imageName = u"C:\\Scan\u00AC01\u2028; bbox 0 0 1 1 \"100%\".tif";
  std::get<testing_support::TextFrame>(page.frames[0]).body.fonts = {u"Arial\u00AC"};
  Build(page).Write(dir_, "names.frf");
  const ProgramOutput alto = Ocrsift({"-o", "alto", "-p", "1", "names.frf"});
  EXPECT_EQ(alto.exitCode, 0) << alto.err;
  EXPECT_NE(alto.out.find("<fileName>C:\\Scan\u00AC01\u2028; bbox 0 0 1 1 &quot;100%&quot;.tif"
                          "</fileName>"),
            std::string::npos)
      << alto.out;
  EXPECT_NE(alto.out.find("FONTFAMILY=\"Arial\u00AC\""), std::string::npos) << alto.out;
  const ProgramOutput hocr = Ocrsift({"-o", "hocr", "-p", "1", "names.frf"});
  // hOCR's title has no escapes: the name comes last, with no backslash added, and its quote,
  // semicolon and percent in percent forms, so that no property of it is taken for the page's.
  EXPECT_NE(hocr.out.find("; scan_res 300 300; image &quot;C:\\Scan\u00AC01\u2028%3B bbox 0 0 1 1 "
                          "%22100%25%22.tif&quot;\">"),
            std::string::npos)
      << hocr.out;
  const ProgramOutput verbose = Ocrsift({"-v", "-p", "1", "names.frf"});
  EXPECT_NE(verbose.out.find("\nImage file name: C:\\Scan\x01"
                             "01\x02; bbox"),
            std::string::npos);
  EXPECT_NE(verbose.out.find("\nFont 1:   Arial\x01"), std::string::npos);
}

TEST_F(OcrsiftRun, AutomaticPageNumbersComeFromTheFileNames) {
  Good("page0012.frf");
  Good("page3.frf");
  ProgramOutput r = Ocrsift({"-g", "page*.frf"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  size_t twelve = r.out.find("\nselect 12\n");
  size_t three = r.out.find("\nselect 3\n");
  ASSERT_NE(twelve, std::string::npos);
  ASSERT_NE(three, std::string::npos);
  EXPECT_LT(twelve, three);  // "page0012" sorts before "page3"
  // The documents list the book's pages: 3 before 12, and page 3 once although two files give
  // that number.
  Good("page03.frf");
  ProgramOutput alto = Ocrsift({"-g", "-o", "alto", "page*.frf"});
  EXPECT_EQ(alto.exitCode, 0) << alto.err;
  const size_t first = alto.out.find("PHYSICAL_IMG_NR=\"3\"");
  EXPECT_LT(first, alto.out.find("PHYSICAL_IMG_NR=\"12\""));
  EXPECT_EQ(alto.out.find("PHYSICAL_IMG_NR=\"3\"", first + 1), std::string::npos);

  Good("scan");
  ProgramOutput none = Ocrsift({"-g", "scan"});
  EXPECT_EQ(none.exitCode, 2);
  EXPECT_EQ(none.err, kNoPage);
  EXPECT_EQ(none.out, kSave);

  ProgramOutput zero = Ocrsift({"-p", "0", "page3.frf"});
  EXPECT_EQ(zero.exitCode, 2);
  EXPECT_EQ(zero.err, kNoPage);
  EXPECT_EQ(zero.out, kSave);
}

TEST_F(OcrsiftRun, ALastPageEndingInABrokenWordIsWritten) {
  // The page waits for the next to tell the word that completes its last; the run's end
  // must hand it on all the same.
  testing_support::FrfPage page = TwoBlockPage(10);
  std::get<testing_support::TextFrame>(page.frames[0]).body.blocks[1] = testing_support::MakeBlock(
      u"na\u00EFve caf\u00AC", {testing_support::Line(100, 400, 430, 460, 10)});
  Build(page).Write(dir_, "last.frf");
  const ProgramOutput alto = Ocrsift({"-o", "alto", "-p", "7", "last.frf"});
  EXPECT_EQ(alto.exitCode, 0) << alto.err;
  EXPECT_NE(alto.out.find("CONTENT=\"caf\"/><HYP CONTENT=\"-\"/>"), std::string::npos) << alto.out;
  EXPECT_NE(Ocrsift({"-p", "7", "last.frf"}).out.find("\nselect 7\n"), std::string::npos);
}

TEST_F(OcrsiftRun, FormatTestReportsEveryFile) {
  BuiltFile bad = Build(TwoBlockPage(6));
  bad.SetField("header.signature", 0x54355246);  // "FR5T"
  bad.Write(dir_, "bad.frf");
  Good("good.frf");
  const std::string badReport = "\nInvalid FRF format (1) offset=00000000";

  ProgramOutput r = Ocrsift({"-t", "*.frf"});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "\n** File \"bad.frf\"..." + badReport + "\n** File \"good.frf\"...\n*** OK! ***");

  ProgramOutput q = Ocrsift({"-t", "-q", "*.frf"});
  EXPECT_EQ(q.exitCode, 2);
  EXPECT_EQ(q.err, "");
  EXPECT_EQ(q.out, "\n** File \"bad.frf\"..." + badReport);

  ProgramOutput allGood = Ocrsift({"-t", "-q", "good.frf"});
  EXPECT_EQ(allGood.exitCode, 0);
  EXPECT_EQ(allGood.out, "");

  // Each failure is named on the error channel, a file listed twice each time; where the
  // channel showed the name line already (-v), it is not repeated.
  dir_.Write("twice.lst", "bad.frf\ngood.frf\nbad.frf\n");
  ProgramOutput twice = Ocrsift({"-p", "1", "@twice.lst"});
  EXPECT_EQ(twice.err, "\n** File \"bad.frf\"" + badReport + "\n** File \"bad.frf\"" + badReport);
  ProgramOutput verbose = Ocrsift({"-v", "-p", "1", "bad.frf"});
  EXPECT_EQ(Occurrences(verbose.out, "** File"), 1u) << verbose.out;
}

TEST_F(OcrsiftRun, HeaderFailureReportsStepAndOffsetAndDumpsUnderVerbose) {
  BuiltFile cut = Build(TwoBlockPage(6));
  const uint32_t data2 = cut.Offset("header.data2Lead");
  cut.Truncate(data2 + 5);  // ends inside DATA2 (step 9)
  cut.Write(dir_, "cut.frf");
  const std::string report = "\nUnexpected End-Of-File (9) offset=" + Hex8(data2);

  ProgramOutput plain = Ocrsift({"-p", "1", "cut.frf"});
  EXPECT_EQ(plain.exitCode, 2);
  EXPECT_EQ(plain.err, "\n** File \"cut.frf\"" + report);
  // The page was never begun: the script holds only "save".
  EXPECT_EQ(plain.out, kSave);

  // Under -v the dump follows; the stream stays at its end once a read has met it, so the
  // dump of an end-of-file failure shows no bytes.
  ProgramOutput verbose = Ocrsift({"-v", "-p", "1", "cut.frf"});
  EXPECT_EQ(verbose.exitCode, 2);
  EXPECT_NE(
      verbose.out.find(report + "\n000000:  -- -- -- -- -- -- -- --  -- -- -- -- -- -- -- --"),
      std::string::npos)
      << verbose.out;

  BuiltFile bad = Build(TwoBlockPage(6));
  bad.SetField("header.resolution", 1201);
  bad.Write(dir_, "bad.frf");
  ProgramOutput v = Ocrsift({"-v", "-p", "1", "bad.frf"});
  EXPECT_EQ(v.exitCode, 2);
  const std::string badReport = "\nInvalid FRF format (9) offset=" + Hex8(data2);
  size_t at = v.out.find(badReport);
  ASSERT_NE(at, std::string::npos) << v.out;
  const std::string dump = v.out.substr(at + badReport.size());
  EXPECT_EQ(dump.find("\n000000:  46 52 35 53 06"), 0u) << dump;
  // The failing read is marked, and whole lines are shown up to 144 bytes past the read.
  EXPECT_NE(dump.find("\n000040:  "), std::string::npos);
  EXPECT_EQ(dump.find(">", dump.find("\n000040: ")), dump.find("\n000040: ") + 9 + 3 * 4 + 0);
  const uint32_t lastLine = (bad.Offset("header.data2Lead") + 22 + 144) & ~0xFu;
  EXPECT_EQ(dump.find("\n" + Hex8(lastLine).substr(2) + ": "), dump.rfind("\n")) << dump;

  // A side that a DjVu text layer cannot hold, of either sign, fails where the size is read;
  // the largest one that fits is a page like any other.
  for (const char* side : {"header.width", "header.height"}) {
    for (int32_t value : {32768, -32768, 32767}) {
      BuiltFile wide = Build(TwoBlockPage(10));
      wide.SetField(side, static_cast<uint32_t>(value));
      wide.Write(dir_, "wide.frf");
      ProgramOutput w = Ocrsift({"-p", "1", "wide.frf"});
      if (value == 32767) {
        EXPECT_EQ(w.exitCode, 0) << side << w.err;
        continue;
      }
      EXPECT_EQ(w.exitCode, 2) << side << value;
      EXPECT_EQ(w.err, "\n** File \"wide.frf\"\nInvalid FRF format (9) offset=" +
                           Hex8(wide.Offset("header.data2Lead")));
      EXPECT_EQ(w.out, kSave);
    }
  }
}

TEST_F(OcrsiftRun, FrameFailuresNameTheFrameKindStepAndOffset) {
  BuiltFile unknown = Build(TwoBlockPage(10));
  unknown.SetField("header.frameTypes", 2);
  unknown.Write(dir_, "unknown.frf");
  ProgramOutput u = Ocrsift({"-p", "1", "unknown.frf"});
  EXPECT_EQ(u.exitCode, 2);
  EXPECT_EQ(u.err, "\n** File \"unknown.frf\"\nUnknow Frame: Invalid FRF format (0::600) offset=" +
                       Hex8(unknown.Offset("header.frameTypes")));
  // Without -i a failed page stays open, also as the run's last page: djvused must reject the
  // script rather than store what was read of it.
  EXPECT_EQ(Occurrences(u.out, kPageEnd), 0u);
  EXPECT_EQ(u.out.rfind("\n\nsave\n"), u.out.size() - 7);
  EXPECT_NE(u.out.find("\nselect 1\n"), std::string::npos);

  // Each kind's own label and step: a field of frame k that must be zero holds 1.
  struct KindCase {
    const char* field;
    const char* report;
  };
  const KindCase kinds[] = {
      {"frame1.marker", "\nPict Frame: Invalid FRF format (1::300) offset="},
      {"frame2.zero", "\nTable Frame: Invalid FRF format (2::402) offset="},
      {"frame3.zero", "\nBarCode Frame: Invalid FRF format (3::502) offset="},
  };
  for (uint8_t version : {6, 10}) {
    for (const KindCase& c : kinds) {
      BuiltFile frames = Build(testing_support::FramesPage(version));
      frames.SetField(c.field, 1);
      frames.Write(dir_, "frames.frf");
      ProgramOutput f = Ocrsift({"-p", "1", "frames.frf"});
      EXPECT_EQ(f.exitCode, 2) << c.field;
      EXPECT_EQ(f.err,
                std::string("\n** File \"frames.frf\"") + c.report + Hex8(frames.Offset(c.field)))
          << int{version};
    }
  }

  BuiltFile block = Build(TwoBlockPage(6));
  block.SetField("frame0.block0.recordCount", 0);
  block.Write(dir_, "block.frf");
  const uint32_t field = block.Offset("frame0.block0.recordCount");
  ProgramOutput b = Ocrsift({"-p", "1", "block.frf"});
  EXPECT_EQ(b.exitCode, 2);
  // The block reports first; its dump (shown under -v only) returns the stream to where the
  // failure left it, which is where the frame report's offset points.
  EXPECT_EQ(b.err, "\n** File \"block.frf\"\nInvalid FRF format (1:1:212) offset=" + Hex8(field) +
                       "\nText Frame: Invalid FRF format (0::103) offset=" + Hex8(field + 4));

  ProgramOutput q = Ocrsift({"-t", "-q", "block.frf"});
  // The file's name line comes before its first report, the block's, and only there.
  EXPECT_EQ(q.out,
            "\n** File \"block.frf\"...\nInvalid FRF format (1:1:212) offset=" + Hex8(field) +
                "\nText Frame: Invalid FRF format (0::103) offset=" + Hex8(field + 4));
}

TEST_F(OcrsiftRun, IgnoreModeClosesDamagedPagesSilentlyButStillFails) {
  BuiltFile block = Build(TwoBlockPage(6));
  block.SetField("frame0.block1.recordCount", 0);
  block.Write(dir_, "a.frf");
  Good("b.frf");
  ProgramOutput r = Ocrsift({"-i", "-p", "1", "*.frf"});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(Occurrences(r.out, kPageEnd), 2u);
  // The damaged page keeps the text of its first block.
  size_t second = r.out.find("\nselect 2\n");
  ASSERT_NE(second, std::string::npos);
  EXPECT_NE(r.out.substr(0, second).find("\"wor- \""), std::string::npos);
}

TEST_F(OcrsiftRun, HexDumpOfTheFirstFileThatOpens) {
  ASSERT_NE(dir_.WriteUnopenable("a.frf"), "");
  BuiltFile good = Build(TwoBlockPage(10));
  good.Write(dir_, "b.frf");
  std::string damaged = std::string(10, '\0');
  dir_.Write("c.frf", damaged);
  ProgramOutput r = Ocrsift({"-d", "*.frf"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out.find("\nCan't open file \"a.frf\" \n000000:  46 52 35 53 0A"), 0u) << r.out;
  // Whole lines up to the one in which the file ends.
  EXPECT_EQ(Occurrences(r.out, "\n0"), good.bytes.size() / 16 + 1);

  // -d with -l dumps into no channel and still ends with 0.
  ProgramOutput silent = Ocrsift({"-d", "-l", "b.frf"});
  EXPECT_EQ(silent.exitCode, 0);
  EXPECT_EQ(silent.out, "");

  // No file opens: no dump was made, so the run fails.
  ProgramOutput none = Ocrsift({"-d", "a.frf"});
  EXPECT_EQ(none.exitCode, 2);
  EXPECT_EQ(none.out, "\nCan't open file \"a.frf\" ");
}

TEST_F(OcrsiftRun, ListingShowsTheSelectedRegions) {
  Good("p.frf", 6);
  ProgramOutput all = Ocrsift({"-l", "p.frf"});
  EXPECT_EQ(all.exitCode, 0);
  EXPECT_EQ(all.out.find("\n** File \"p.frf\"  Version=0006\n"), 0u) << all.out;
  for (const char* title :
       {"\n\n *** Header: Unknow block ***", "\n\n *** Header: Frame Types array  ***",
        "\n\n *** Block: Rectangles ***", "\n\n *** End Header: End ID ***", "\n\n *** OK! ***"}) {
    EXPECT_NE(all.out.find(title), std::string::npos) << title;
  }
  ProgramOutput one = Ocrsift({"-l2", "16", "p.frf"});
  EXPECT_EQ(one.exitCode, 0);
  EXPECT_NE(one.out.find("\n\n *** Header: Frame Types array  ***\n00005B:  01 00"),
            std::string::npos)
      << one.out;
  EXPECT_EQ(one.out.find("Rectangles"), std::string::npos);
  EXPECT_EQ(one.out.find("select"), std::string::npos);  // no script while exploring
}

TEST_F(OcrsiftRun, ListFilesAndTheirFailures) {
  Good("p1.frf");
  Good("p2.frf", 6);
  dir_.Write("pages.lst", "# book\r\n\r\n  p2.frf  \r\n;p9.frf\r\np1.frf");
  ProgramOutput r = RunCaptured(OCRSIFT_EXE, {"-p", "4", "@" + dir_.File("pages.lst")});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_LT(r.out.find("\nselect 4\n"), r.out.find("\nselect 5\n"));
  EXPECT_NE(r.out.find("\nselect 5\n"), std::string::npos);

  dir_.Write("missing.lst", "p1.frf\nnone1.frf\np2.frf\nnone2.frf\n");
  ProgramOutput m = Ocrsift({"-p", "1", "@missing.lst"});
  EXPECT_EQ(m.exitCode, 1);
  EXPECT_EQ(m.out, "");
  EXPECT_EQ(m.err,
            "\n *** Missing file \"none1.frf\"\n *** Missing file \"none2.frf\""
            "\nError processing file name \"@missing.lst\" ");

  ProgramOutput unreadable = Ocrsift({"-p", "1", "@nolist.lst"});
  EXPECT_EQ(unreadable.exitCode, 1);
  EXPECT_EQ(unreadable.err, "\nError processing file name \"@nolist.lst\" ");

  ProgramOutput nothing = Ocrsift({"-p", "1", "*.xyz"});
  EXPECT_EQ(nothing.exitCode, 1);
  EXPECT_EQ(nothing.err, "\nNo files specified in list \"*.xyz\" ");
  EXPECT_EQ(nothing.out, "");
}

#ifdef _WIN32
// Wine's narrow file calls refuse names past MAX_PATH (260), whatever the manifest says.
constexpr int kDeepLevels = 2;
#else
constexpr int kDeepLevels = 12;
#endif

TEST_F(OcrsiftRun, AwkwardNamesWork) {
  std::string deep;
  for (int i = 0; i < kDeepLevels; ++i)
    deep += std::string(90, static_cast<char>('a' + i)) + "/";
#ifdef _WIN32
  const std::string odd = deep + "my 'page' \xE9 0042.frf";  // Windows allows no '"' in a name
#else
  const std::string odd = deep + "my \"page\" \xC3\xA9 0042.frf";
#endif
  ASSERT_GT(odd.size(), kDeepLevels * 90u);
  Good(odd);
  dir_.Write("odd.lst", odd + "\n");
  ProgramOutput r = Ocrsift({"-g", "@odd.lst"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("\nselect 42\n"), std::string::npos);

  ProgramOutput t = Ocrsift({"-t", "\"" + odd + "\""});
  EXPECT_EQ(t.exitCode, 0);
  EXPECT_EQ(t.out, "\n** File \"" + odd + "\"...\n*** OK! ***");
}

TEST_F(OcrsiftRun, SlashesSeparateDirectoriesInPatternsListsAndNames) {
  Good("scans/page0003.frf");
  // A list line with a directory part is taken as it stands, not relative to the list.
  Good("sub/page0007.frf");
  dir_.Write("lists/pages.lst", "sub/page0007.frf\n");
  Good("v1.2/page9");
  for (const auto& [argument, select] :
       std::vector<std::pair<std::string, std::string>>{{"scans/*.frf", "\nselect 3\n"},
                                                        {"@lists/pages.lst", "\nselect 7\n"},
                                                        {"v1.2/page9", "\nselect 9\n"}}) {
    ProgramOutput r = Ocrsift({"-g", argument});
    EXPECT_EQ(r.exitCode, 0) << argument;
    EXPECT_EQ(r.err, "") << argument;
    EXPECT_NE(r.out.find(select), std::string::npos) << argument << r.out;
    // Text-mode output: on Windows every line ends in CR LF.
    EXPECT_EQ(r.rawOut, testing_support::PlatformLineEnds(r.out));
  }
}

// The name 表 ("\x95\x5C" in code page 932) ends in the byte of a backslash. Run when the
// ANSI code page is 932 (under wine: LC_ALL=ja_JP.UTF-8).
TEST_F(OcrsiftRun, DoubleByteNamesUnderCodePage932) {
#ifndef _WIN32
  GTEST_SKIP() << "the ANSI code pages are Windows' own";
#else
  if (GetACP() != 932)
    GTEST_SKIP() << "code page 932 is not the ANSI code page here";
  const std::string hyo = "\x95\x5C";
  Good(hyo + "1.frf");
  Good("lists\\" + hyo + "2.frf");
  dir_.Write("lists\\pages.lst", hyo + "2.frf\n");
  ProgramOutput pattern = Ocrsift({"-p", "1", hyo + "*.frf"});
  EXPECT_EQ(pattern.exitCode, 0);
  EXPECT_EQ(pattern.err, "");
  EXPECT_NE(pattern.out.find("\nselect 1\n"), std::string::npos);
  ProgramOutput list = Ocrsift({"-p", "1", "@lists\\pages.lst"});
  EXPECT_EQ(list.exitCode, 0);
  EXPECT_EQ(list.err, "");
  EXPECT_NE(list.out.find("\nselect 1\n"), std::string::npos);
#endif
}

TEST_F(OcrsiftRun, MixedRunKeepsEveryGoodPage) {
  WriteMixedPages();
  if (HasFatalFailure())
    return;
  ProgramOutput r = Ocrsift({"-p", "1", "p?.frf"});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("\nInvalid FRF format (22) offset="), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("\nCan't open file \"p3.frf\" "), std::string::npos);
  EXPECT_NE(r.err.find("\nUnexpected End-Of-File (1) offset=00000000"), std::string::npos);
  // Pages 1 and 5 are complete; page 2 stays open (its end record failed).
  for (const char* select : {"\nselect 1\n", "\nselect 2\n", "\nselect 5\n"}) {
    EXPECT_NE(r.out.find(select), std::string::npos) << select;
  }
  EXPECT_EQ(r.out.find("\nselect 4\n"), std::string::npos);
  EXPECT_EQ(Occurrences(r.out, kPageEnd), 2u);

  // The PDF of the same run has its five pages, the failed ones empty, and reaches the file
  // byte for byte on every platform: the cross-reference table's offset holds.
  ProgramOutput pdf = Ocrsift({"-o", "pdf", "-p", "1", "p?.frf"});
  EXPECT_EQ(pdf.exitCode, 2);
  EXPECT_NE(pdf.rawOut.find("/Type /Pages /Count 5 "), std::string::npos);
  const size_t startxref = pdf.rawOut.rfind("startxref\n");
  ASSERT_NE(startxref, std::string::npos);
  EXPECT_EQ(pdf.rawOut.compare(std::stoul(pdf.rawOut.substr(startxref + 10)), 5, "xref\n"), 0);

  // -o page writes the page of one file: several are refused before any is read; a failed
  // page, or one of a negative width, writes nothing and fails.
  testing_support::FrfPage flat = TwoBlockPage(10);
  flat.width = -2480;
  Build(flat).Write(dir_, "flat.frf");
  const struct {
    std::vector<std::string> args;
    int exitCode;
    const char* out;  // a part of standard output, or "" for nothing at all
    const char* err;  // standard error, whole
  } pageRuns[] = {
      {{"-o", "page", "-p", "1", "p?.frf"},
       1,
       "",
       "\n-o page writes the page of one FRF file, and 5 are named; -w <folder> writes a file for"
       " every page"},
      {{"-o", "page", "-p", "5", "p5.frf"}, 0, "pcGtsId=\"OCR-D-OCR-FR7_0005\">", ""},
      {{"-o", "page", "-p", "1", "flat.frf"},
       2,
       "",
       "\nNo PAGE document for page 1: its width or height is 0 or less"},
  };
  for (const auto& run : pageRuns) {
    ProgramOutput page = Ocrsift(run.args);
    EXPECT_EQ(page.exitCode, run.exitCode) << run.args.back();
    EXPECT_EQ(page.err, run.err);
    if (*run.out == '\0') {
      EXPECT_EQ(page.out, "");
    } else {
      EXPECT_NE(page.out.find(run.out), std::string::npos) << page.out;
    }
  }
  ProgramOutput failed = Ocrsift({"-o", "page", "-p", "2", "p2.frf"});
  EXPECT_EQ(failed.exitCode, 2);
  EXPECT_EQ(failed.out, "");
#ifndef _WIN32
  // The document carries the file's time, so that the same file gives the same bytes.
  const struct timespec times[2] = {{1700000000, 0}, {1700000000, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, dir_.File("p5.frf").c_str(), times, 0), 0);
  EXPECT_NE(Ocrsift({"-o", "page", "-p", "5", "p5.frf"})
                .out.find("<Created>2023-11-14T22:13:20Z</Created>\n"
                          "  <LastChange>2023-11-14T22:13:20Z</LastChange>"),
            std::string::npos);
#endif
}

// The workspace keeps the book's rules: a page that failed after it began keeps its image alone
// (its files only under -i), a file that failed before its page began or did not open has no
// page division, and the run's result is that of the script.
TEST_F(OcrsiftRun, WorkspaceKeepsTheBooksRules) {
  WriteMixedPages();
  if (HasFatalFailure())
    return;
  for (const bool ignore : {false, true}) {
    const std::string ws = ignore ? "wsi" : "ws";
    ProgramOutput r = Ocrsift({ignore ? "-i" : "-p1", "-w", ws, "-p", "1", "p?.frf"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.rawOut, "");
    const std::string mets = testing_support::ReadFile(dir_.File(ws + "/mets.xml"));
    EXPECT_EQ(Occurrences(mets, "<mets:div TYPE=\"page\""), 3u) << mets;
    EXPECT_EQ(mets.find("ORDER=\"3\""), std::string::npos);
    EXPECT_NE(mets.find("ORDER=\"2\">\n    <mets:fptr FILEID=\"OCR-D-IMG_0002\"/>\n" +
                        std::string(ignore ? "    <mets:fptr" : "   </mets:div>")),
              std::string::npos)
        << mets;
    for (const char* number : {"1", "2", "5"}) {
      const std::string page = testing_support::ReadFile(
          dir_.File(ws + "/OCR-D-OCR-FR7/OCR-D-OCR-FR7_000" + number + ".xml"));
      const std::string alto =
          testing_support::ReadFile(dir_.File(ws + "/FULLTEXT/FULLTEXT_000" + number + ".xml"));
      const bool written = ignore || *number != '2';
      EXPECT_EQ(!page.empty(), written) << number;
      EXPECT_EQ(!alto.empty(), written) << number;
    }
  }
  // The folder must be new or empty, and is checked before any file (a list here) is read.
  dir_.Write("full/old.xml", std::string("x"));
  for (const char* folder : {"full", "p1.frf"}) {
    ProgramOutput r = Ocrsift({"-w", folder, "-p", "1", "@missing.lst"});
    EXPECT_EQ(r.exitCode, 1) << folder;
    EXPECT_EQ(r.rawOut, "");
    EXPECT_EQ(r.err.find("Workspace folder \"" + std::string(folder) + "\" is "), 0u) << r.err;
  }
  ProgramOutput test = Ocrsift({"-t", "-w", "new", "p1.frf"});
  EXPECT_EQ(test.exitCode, 0);
  EXPECT_FALSE(std::filesystem::exists(dir_.File("new")));
}

}  // namespace
