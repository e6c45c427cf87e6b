// The built rastrify with the real decoder stand-in of the build tree, on a DjVu document made
// with cjb2 and djvm from pages of different sizes.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <functional>
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

  static std::string StandIn() {
    return (fs::path(RASTRIFY_EXE).parent_path() / "decoder" / "DjVuDecode.exe").string();
  }

  // The names in the output folder, the stand-in's temporary files included.
  std::vector<std::string> OutNames() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(root_ + "/out"))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

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
  const std::string decoder = StandIn();
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

TEST_F(RastrifyExport, NamesWithBlanksExport) {
  // A document in a folder with a blank, a template with blanks (one at its end), a quote and a
  // backslash: every name reaches the decoder whole.
  fs::create_directory(root_ + "/my books");
  const std::string book = MakeDjvuDocument(dir_, {{120, 80}, {64, 100}}, "my books/a b.djvu");
  fs::create_directory(root_ + "/out dir");
  const std::string outputTemplate = root_ + "/out dir/it's \"p\" \\ ";
  ProgramOutput run = RunCaptured(RASTRIFY_EXE, {"-gpbm", book, outputTemplate});
  EXPECT_EQ(run.exitCode, 1);  // the all-pages mode ends at the first refused page
  EXPECT_EQ(run.out, "\nProcessed page #0001\nProcessed page #0002");
  EXPECT_EQ(run.err, "");
  const PnmSize first = ReadPnmHeader(ReadFile(outputTemplate + "0001.pbm"));
  EXPECT_EQ(first.magic, "P4");
  EXPECT_EQ(first.width, 120);
  EXPECT_EQ(ReadPnmHeader(ReadFile(outputTemplate + "0002.pbm")).width, 64);
  EXPECT_FALSE(fs::exists(outputTemplate + "0003.pbm"));
  // Nothing else was made beside them.
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(root_ + "/out dir"))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"it's \"p\" \\ 0001.pbm", "it's \"p\" \\ 0002.pbm"}));

  // With -a the extra words stay split and the names whole.
  ProgramOutput extra =
      RunCaptured(RASTRIFY_EXE, {"-p", "2", "-a", "--dpi=300  --x", "-gpgm", book, outputTemplate});
  EXPECT_EQ(extra.exitCode, 0) << extra.err;
  EXPECT_EQ(ReadPnmHeader(ReadFile(outputTemplate + "0002.pgm")).height, 100);
}

// The stand-in never removes or replaces a file it cannot write or did not make, and leaves no
// partial or temporary file: each case prepares the output name, runs the stand-in on page 2
// (pgm) and checks its exit code and what the output name holds afterwards.
TEST_F(RastrifyExport, StandInLeavesWhatItCannotWriteAlone) {
  const std::string kept = "kept bytes\n";
  // A ddjvu that writes part of a page and then fails, or stops the stand-in with SIGTERM.
  const std::string fakeBin = root_ + "/fake bin";
  fs::create_directory(fakeBin);
  dir_.Write("fake bin/ddjvu",
             "#!/bin/sh\n"
             "for last in \"$@\"; do :; done\n"
             "printf 'P5\\n64 100\\n255\\n' >\"$last\"\n"
             "[ -z \"$FAKE_DDJVU_SIGNAL\" ] || kill -TERM \"$PPID\"\n"
             "exit 1\n");
  fs::permissions(fakeBin + "/ddjvu", fs::perms::owner_all);
  const char* path = std::getenv("PATH");
  const std::string fakePath = "PATH=" + fakeBin + ":" + (path != nullptr ? path : "/usr/bin:/bin");

  struct Case {
    const char* name;
    std::function<std::string()> prepare;  // makes the scene, returns the output name
    std::vector<std::string> environment;  // for env(1) before the stand-in, if any
    int exitCode;
    std::function<void(const std::string&)> check;
  };
  auto keptFile = [&](const std::string& output) { EXPECT_EQ(ReadFile(output), kept) << output; };
  auto newPage = [&](const std::string& output) {
    EXPECT_EQ(ReadPnmHeader(ReadFile(output)).width, 64) << output;
  };
  auto existing = [&](const std::string& name) {
    return [this, name, kept] { return dir_.Write("out/" + name, kept); };
  };
  const Case cases[] = {
      {"a new file", [&] { return Out("new.pgm"); }, {}, 0, newPage},
      {"an existing file it can write is replaced, its mode kept",
       [&] {
         const std::string output = existing("w.pgm")();
         fs::permissions(output,
                         fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
         return output;
       },
       {},
       0,
       [&](const std::string& output) {
         newPage(output);
         EXPECT_EQ(fs::status(output).permissions() & fs::perms::all,
                   fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
       }},
      {"a directory stays as it is",
       [&] {
         fs::create_directory(Out("dir.pgm"));
         return Out("dir.pgm");
       },
       {},
       3,
       [&](const std::string& output) {
         EXPECT_TRUE(fs::is_directory(output));
         EXPECT_TRUE(fs::is_empty(output));
       }},
      {"a link to a file writes the file and keeps the link",
       [&] {
         existing("linked.pgm")();
         fs::create_symlink(Out("linked.pgm"), Out("link.pgm"));
         return Out("link.pgm");
       },
       {},
       0,
       [&](const std::string& output) {
         EXPECT_TRUE(fs::is_symlink(output));
         newPage(Out("linked.pgm"));
       }},
      {"a link to a name ending in a line feed writes that name, not the one without it",
       [&] {
         existing("real.pgm")();
         fs::create_symlink(Out("real.pgm\n"), Out("lf.pgm"));
         return Out("lf.pgm");
       },
       {},
       0,
       [&](const std::string&) {
         keptFile(Out("real.pgm"));
         newPage(Out("real.pgm\n"));
       }},
      {"a named pipe stays as it is",
       [&] {
         EXPECT_EQ(mkfifo(Out("pipe.pgm").c_str(), 0600), 0);
         return Out("pipe.pgm");
       },
       {},
       3,
       [&](const std::string& output) { EXPECT_TRUE(fs::is_fifo(output)); }},
      {"a failing ddjvu leaves neither its part page nor the old file changed",
       existing("partial.pgm"),
       {fakePath},
       3,
       keptFile},
      {"SIGTERM while rendering",
       existing("signal.pgm"),
       {fakePath, "FAKE_DDJVU_SIGNAL=1"},
       3,
       keptFile},
  };
  const std::string env = FindTool("env");
  ASSERT_FALSE(env.empty());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string output = c.prepare();
    std::vector<std::string> args = c.environment;
    args.insert(args.end(), {StandIn(), "--layer=all", "--page-range=2", "--output-format=pgm",
                             Book(), output});
    ProgramOutput run = RunCaptured(env, args);
    EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
    c.check(output);
    for (const std::string& name : OutNames())
      EXPECT_EQ(name.find(".DjVuDecode."), std::string::npos) << "left behind: " << name;
  }
  // Pages that are refused before any writing leave an existing file alone as well.
  const std::string old = existing("old.pgm")();
  EXPECT_EQ(
      RunCaptured(StandIn(), {"--layer=all", "--page-range=9", "--output-format=pgm", Book(), old})
          .exitCode,
      1);
  EXPECT_EQ(
      RunCaptured(StandIn(), {"--layer=all", "--page-range=1", "--output-format=gif", Book(), old})
          .exitCode,
      2);
  EXPECT_EQ(RunCaptured(StandIn(), {"--layer=all", "--page-range=1", "--output-format=pgm",
                                    root_ + "/missing.djvu", old})
                .exitCode,
            3);
  keptFile(old);
}

// An existing file the user cannot write, in a folder where the stand-in could rename over it:
// it stays, and the exit code is 3; so does a writable file in a folder that allows no new file
// (the page would be made beside it). Root may write every file and folder, so as root the
// stand-in runs as the user "nobody" (setpriv).
TEST_F(RastrifyExport, StandInLeavesAFileItCannotWriteUntouched) {
  std::vector<std::string> asUser;
  if (geteuid() == 0) {
    const std::string setpriv = FindTool("setpriv");
    if (setpriv.empty())
      GTEST_SKIP() << "running as root, where every file is writable, and setpriv (util-linux) "
                      "is missing to run the stand-in as another user";
    asUser = {setpriv, "--reuid=65534", "--regid=65534", "--clear-groups", "--"};
  }
  // Everyone may read the document and the stand-in and make files in "open"; "closed" allows
  // no new file.
  const std::string standIn = root_ + "/DjVuDecode.exe";
  fs::copy_file(StandIn(), standIn);
  fs::permissions(root_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                             fs::perms::others_read | fs::perms::others_exec);
  fs::permissions(standIn, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                               fs::perms::others_read | fs::perms::others_exec);
  fs::permissions(Book(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                              fs::perms::others_read);
  fs::create_directory(root_ + "/open");
  fs::permissions(root_ + "/open", fs::perms::all);
  const fs::perms readAndSearch = fs::perms::owner_read | fs::perms::owner_exec |
                                  fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec;
  fs::create_directory(root_ + "/closed");
  const std::string inClosed = dir_.Write("closed/w.pgm", "writable\n");
  fs::permissions(inClosed, fs::perms::all & ~fs::perms::owner_exec & ~fs::perms::group_exec &
                                ~fs::perms::others_exec);
  fs::permissions(root_ + "/closed", readAndSearch);
  const std::string readOnly = dir_.Write("open/ro.pgm", "read-only\n");
  fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

  for (const std::string& output : {readOnly, inClosed}) {
    std::vector<std::string> args = asUser;
    args.insert(args.end(),
                {standIn, "--layer=all", "--page-range=1", "--output-format=pgm", Book(), output});
    const std::string program = args.front();
    args.erase(args.begin());
    ProgramOutput run = RunCaptured(program, args);
    EXPECT_EQ(run.exitCode, 3) << output << ": " << run.err;
  }
  EXPECT_EQ(ReadFile(readOnly), "read-only\n");
  EXPECT_EQ(ReadFile(inClosed), "writable\n");
  for (const char* folder : {"/open", "/closed"}) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(root_ + folder))
      names.push_back(entry.path().filename().string());
    EXPECT_EQ(names.size(), 1u) << folder;
  }
  // Open again, so that the temporary folder can be removed.
  fs::permissions(root_ + "/closed", fs::perms::owner_write, fs::perm_options::add);
}

}  // namespace
