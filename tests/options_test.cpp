#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "ocrsift/driver/command_line.h"
#include "ocrsift/formats/format_registry.h"
#include "tests/support/run_program.h"

using testing_support::ProgramOutput;
using testing_support::RunCaptured;

namespace {

const char kBanner[] = "\nOcrsift to produce OCR-ed DjVu files, version " OCRSIFT_VERSION "\n";

const char kUsageText[] =
    "\n"
    "This program extract OCR information from work files\n"
    "of FineReader v. 7.x and produce output file, compatible\n"
    "with utility DJVUSED.EXE.\n"
    "Output text is printed on standard output (stdout)\n"
    "\n"
    "Usage:  Ocrsift [options] <FRF file> [options]\n"
    "Options are:\n"
    "  -p <n>           -- page number in DjVu file\n"
    "  -g               -- auto generate page number, from digits in FRF file name\n"
    "  -h               -- normal hyphenation between lines\n"
    "  -i               -- ignore unrecognized pages\n"
    "  -o <format>      -- output format: djvused (default), hocr, alto, text, pdf, page\n"
    "  -w <folder>      -- write mets.xml, PAGE and ALTO files into an empty folder\n"
    "Options for format exploring:\n"
    "  -v               -- verbose\n"
    "  -l               -- list all format tags\n"
    "  -l2 <n>          -- list format tag #n\n"
    "  -d               -- hex dump\n"
    "  -t               -- test if format is recognized\n"
    "  -q               -- on test \"-t\", suppress all messages except errors\n"
    "<FRF file>         -- file name or wildcard. If begin with '@',\n"
    "                       this is file with file names list";

const char kNoName[] = "\n**** file name/list not specified ***";
const char kNoPage[] = "\n**** page number not specified ***";

// The usage as the program prints it: banner, one copyright line, then the usage text.
void ExpectUsage(const std::string& out, const std::string& prefix = "") {
  ASSERT_EQ(out.compare(0, prefix.size(), prefix), 0) << out;
  std::string rest = out.substr(prefix.size());
  ASSERT_EQ(rest.compare(0, sizeof kBanner - 1, kBanner), 0) << rest;
  rest = rest.substr(sizeof kBanner - 1);
  std::string::size_type lineEnd = rest.find('\n');
  ASSERT_NE(lineEnd, std::string::npos);
  EXPECT_NE(rest.substr(0, lineEnd).find("Copyright"), std::string::npos);
  EXPECT_EQ(rest.substr(lineEnd + 1), kUsageText);
}

// Parses an argument vector (program name added) into fresh options.
bool Parse(std::vector<std::string> args) {
  ResetRunOptions();
  args.insert(args.begin(), "ocrsift");
  std::vector<const char*> argv;
  for (const std::string& a : args)
    argv.push_back(a.c_str());
  FILE* sink = std::tmpfile();
  bool accepted = false;
  // Messages of the rules go to the error channel; keep them out of the test log.
  FILE* savedErr = gRunOptions.ErrorStream;
  gRunOptions.ErrorStream = sink;
  accepted = ParseOptions(static_cast<int>(argv.size()), argv.data());
  if (gRunOptions.ErrorStream == sink)
    gRunOptions.ErrorStream = savedErr;
  std::fclose(sink);
  return accepted;
}

TEST(OcrsiftCommandLine, NoArgumentsReportsMissingNameAndShowsUsage) {
  ProgramOutput r = RunCaptured(OCRSIFT_EXE, {});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, kNoName);
  ExpectUsage(r.out);
}

TEST(OcrsiftCommandLine, MissingPageNumberGoesToTheChannelTheRulesChoose) {
  ProgramOutput plain = RunCaptured(OCRSIFT_EXE, {"file.frf"});
  EXPECT_EQ(plain.exitCode, 1);
  EXPECT_EQ(plain.err, kNoPage);
  ExpectUsage(plain.out);

  // -v moves the error channel to standard output, before the usage.
  ProgramOutput verbose = RunCaptured(OCRSIFT_EXE, {"-v", "file.frf"});
  EXPECT_EQ(verbose.exitCode, 1);
  EXPECT_EQ(verbose.err, "");
  ExpectUsage(verbose.out, kNoPage);

  ProgramOutput minusOne = RunCaptured(OCRSIFT_EXE, {"-p", "-1", "file.frf"});
  EXPECT_EQ(minusOne.exitCode, 1);
  EXPECT_EQ(minusOne.err, kNoPage);

  // -l keeps the error channel on standard error while the options are parsed.
  ProgramOutput listing = RunCaptured(OCRSIFT_EXE, {"-l"});
  EXPECT_EQ(listing.exitCode, 1);
  EXPECT_EQ(listing.err, kNoName);
  ExpectUsage(listing.out);

  ProgramOutput test = RunCaptured(OCRSIFT_EXE, {"-t"});
  EXPECT_EQ(test.err, "");
  ExpectUsage(test.out, kNoName);
}

TEST(OcrsiftCommandLine, RejectedVectorsShowOnlyTheUsage) {
  const std::vector<std::vector<std::string>> rejected = {
      {"a.frf", "b.frf"},        {"-p"},
      {"a.frf", "-p"},           {"a.frf", "-"},
      {"a.frf", "-l2"},          {"a.frf", "-p5", "\"b.frf\""},
      {"-p1", "a.frf", "-o"},    {"-p1", "a.frf", "-w"},
      {"-w", "", "-p1", "a.frf"}};
  for (const auto& args : rejected) {
    ProgramOutput r = RunCaptured(OCRSIFT_EXE, args);
    EXPECT_EQ(r.exitCode, 1) << args.size();
    EXPECT_EQ(r.err, "") << args[0];
    ExpectUsage(r.out);
  }
  // A format name that names none is refused on standard error with the names there are,
  // before a later missing value or name is seen; standard output, perhaps the file the user
  // meant, stays empty.
  const std::vector<std::pair<std::vector<std::string>, std::string>> unknown = {
      {{"-p1", "a.frf", "-o", "xml"}, "xml"},
      {{"-p1", "a.frf", "-oHOCR"}, "HOCR"},
      {{"-o", "text.pdf", "-p"}, "text.pdf"},
      {{"-p1", "a.frf", "-output", "hocr"}, "utput"}};
  for (const auto& entry : unknown) {
    ProgramOutput r = RunCaptured(OCRSIFT_EXE, entry.first);
    EXPECT_EQ(r.exitCode, 1) << entry.second;
    EXPECT_EQ(r.out, "") << entry.second;
    EXPECT_EQ(r.err, "Unknown output format \"" + entry.second +
                         "\"; the formats are: djvused, hocr, alto, text, pdf, page\n");
  }
  // -w and -o, in either order, even with the default's name: refused before any file is read.
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"-w", "ws", "-o", "djvused", "-p1", "a.frf"}, {"-oalto", "-wws", "-p1", "a.frf"}}) {
    ProgramOutput r = RunCaptured(OCRSIFT_EXE, args);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("Options -o and -w exclude each other", 0), 0u) << r.err;
  }
  ProgramOutput optionsOnly = RunCaptured(OCRSIFT_EXE, {"-p", "3", "-g"});
  EXPECT_EQ(optionsOnly.exitCode, 1);
  EXPECT_EQ(optionsOnly.err, kNoName);
}

// Standard output a terminal (util-linux's script gives the program one and copies what it
// shows, both channels, to ours): a binary document is refused before any file is read; the
// text formats and the modes that write no document still run.
TEST(OcrsiftCommandLine, BinaryFormatsRefuseATerminal) {
#ifdef _WIN32
  GTEST_SKIP() << "no pseudo-terminal to give the program";
#else
  const char kRefusal[] = "Output format \"pdf\" is binary and is not written to a terminal";
  const struct {
    const char* options;
    int exitCode;
    bool refused;
  } cases[] = {{"-o pdf -p 1", 1, true}, {"-o text -p 1", 2, false}, {"-v -o pdf -p 1", 2, false}};
  for (const auto& c : cases) {
    const std::string command =
        std::string("'") + OCRSIFT_EXE + "' " + c.options + " no-such-file.frf";
    ProgramOutput r = RunCaptured("/usr/bin/script", {"-qec", command, "/dev/null"});
    EXPECT_EQ(r.exitCode, c.exitCode) << c.options << r.out;
    EXPECT_EQ(r.out.find(kRefusal) != std::string::npos, c.refused) << c.options << r.out;
    EXPECT_EQ(r.out.find("no-such-file.frf") == std::string::npos, c.refused) << r.out;
  }
#endif
}

TEST(OcrsiftOptions, PageNumberSpellings) {
  for (const auto& args : std::vector<std::vector<std::string>>{{"-p5", "file.frf"},
                                                                {"-p", "5", "file.frf"},
                                                                {"file.frf", "-p", "5"},
                                                                {"-", "p", "5", "file.frf"}}) {
    EXPECT_TRUE(Parse(args));
    EXPECT_EQ(gRunOptions.FirstPage, 5);
    EXPECT_EQ(gRunOptions.InputSpec, "file.frf");
  }
  EXPECT_TRUE(Parse({"-p", "abc", "f"}));
  EXPECT_EQ(gRunOptions.FirstPage, 0);
  EXPECT_TRUE(Parse({"-p", " +12x", "f"}));
  EXPECT_EQ(gRunOptions.FirstPage, 12);
  // A value is taken even when it looks like an option, and a later -p wins.
  EXPECT_TRUE(Parse({"-p", "-g", "-p7", "f"}));
  EXPECT_EQ(gRunOptions.FirstPage, 7);
  EXPECT_FALSE(gRunOptions.AutoPageNumbers);
  EXPECT_TRUE(Parse({"-p", "-g", "f"}));
  EXPECT_EQ(gRunOptions.FirstPage, 0);
}

TEST(OcrsiftOptions, LettersAndTheirRules) {
  EXPECT_TRUE(Parse({"-verbose", "-p1", "f"}));
  EXPECT_TRUE(gRunOptions.Verbose);
  EXPECT_EQ(gRunOptions.ErrorStream, stdout);
  EXPECT_EQ(gRunOptions.VerboseStream, stdout);

  EXPECT_TRUE(Parse({"-dv", "f"}));
  EXPECT_TRUE(gRunOptions.HexDumpMode);
  EXPECT_TRUE(gRunOptions.Verbose);

  EXPECT_TRUE(Parse({"-x", "-V", "-", "x", "--", "-", "g", "f", "-h", "-i"}));
  EXPECT_TRUE(gRunOptions.AutoPageNumbers);
  EXPECT_FALSE(gRunOptions.JoinHyphenated);
  EXPECT_TRUE(gRunOptions.IgnoreBadPages);
  EXPECT_FALSE(gRunOptions.Verbose);
  EXPECT_EQ(gRunOptions.ErrorStream, stderr);

  // -t cancels -d and -l and turns the verbose channel off.
  EXPECT_TRUE(Parse({"-t", "-d", "-l", "-q", "f"}));
  EXPECT_TRUE(gRunOptions.TestOnly);
  EXPECT_TRUE(gRunOptions.AutoPageNumbers);
  EXPECT_TRUE(gRunOptions.Verbose);
  EXPECT_TRUE(gRunOptions.Quiet);
  EXPECT_FALSE(gRunOptions.HexDumpMode);
  EXPECT_FALSE(gRunOptions.ListTags);
  EXPECT_EQ(gRunOptions.VerboseStream, nullptr);
  EXPECT_EQ(gRunOptions.ErrorStream, stdout);

  // -l: listing without the verbose channel; the error channel moves only on the second pass.
  EXPECT_TRUE(Parse({"-l", "-i", "f"}));
  EXPECT_TRUE(gRunOptions.ListTags);
  EXPECT_EQ(gRunOptions.ListTagNumber, 0);
  EXPECT_TRUE(gRunOptions.Verbose);
  EXPECT_FALSE(gRunOptions.IgnoreBadPages);
  EXPECT_EQ(gRunOptions.VerboseStream, nullptr);
  EXPECT_EQ(gRunOptions.ErrorStream, stderr);
  EXPECT_TRUE(ApplyOptionRules());
  EXPECT_EQ(gRunOptions.ErrorStream, stdout);

  EXPECT_TRUE(Parse({"-l25", "7", "f"}));
  EXPECT_EQ(gRunOptions.ListTagNumber, 7);
  EXPECT_TRUE(Parse({"-l2", "3", "-l", "f"}));
  EXPECT_EQ(gRunOptions.ListTagNumber, 3);

  EXPECT_TRUE(Parse({"-d", "-i", "f"}));
  EXPECT_FALSE(gRunOptions.IgnoreBadPages);

  // -o: the value attached or the next argument, a later one wins.
  EXPECT_TRUE(Parse({"-p1", "f"}));
  EXPECT_EQ(gRunOptions.Format, nullptr);
  EXPECT_TRUE(Parse({"-ohocr", "-p1", "f"}));
  EXPECT_EQ(gRunOptions.Format, FindFormat("hocr"));
  EXPECT_TRUE(Parse({"-", "o", "alto", "-p1", "f"}));
  EXPECT_EQ(gRunOptions.Format, FindFormat("alto"));
  EXPECT_TRUE(Parse({"-ohocr", "-o", "text", "-p1", "f"}));
  EXPECT_EQ(gRunOptions.Format, FindFormat("text"));
}

TEST(OcrsiftOptions, PositionalArgumentForms) {
  EXPECT_TRUE(Parse({"\"my scan.frf\"", "-g"}));
  EXPECT_EQ(gRunOptions.InputSpec, "my scan.frf");
  EXPECT_TRUE(Parse({"\"only-leading.frf", "-g"}));
  EXPECT_EQ(gRunOptions.InputSpec, "\"only-leading.frf");
  // Empty names leave room for a later one; a lone quote counts as empty.
  EXPECT_TRUE(Parse({"", "\"", "\"\"", "late.frf", "-g"}));
  EXPECT_EQ(gRunOptions.InputSpec, "late.frf");
  EXPECT_FALSE(Parse({"\"", "-g"}));
  EXPECT_TRUE(Parse({"*", "-g"}));
  EXPECT_EQ(gRunOptions.InputSpec, "*.frf");
  EXPECT_TRUE(Parse({"*.FRF", "-g"}));
  EXPECT_EQ(gRunOptions.InputSpec, "*.FRF");
  EXPECT_TRUE(Parse({"@list.txt", "-p", "2"}));
  EXPECT_EQ(gRunOptions.InputSpec, "@list.txt");
}

TEST(OcrsiftOptions, HostileArgumentsAreHandledWithinBounds) {
  std::string longName(10000, 'n');
  EXPECT_TRUE(Parse({longName, "-g"}));
  EXPECT_EQ(gRunOptions.InputSpec, longName);
  // Numbers beyond 32 bits saturate instead of overflowing.
  EXPECT_TRUE(Parse({"-p", "99999999999999999999", "f"}));
  EXPECT_EQ(gRunOptions.FirstPage, INT32_MAX);
  EXPECT_TRUE(Parse({"-p", "-99999999999999999999", "f"}));
  EXPECT_EQ(gRunOptions.FirstPage, INT32_MIN);
  EXPECT_TRUE(Parse({"-l2", "4294967297", "f"}));
  EXPECT_EQ(gRunOptions.ListTagNumber, INT32_MAX);

  ProgramOutput r = RunCaptured(OCRSIFT_EXE, {"", "\"", std::string(10000, '-'), "-"});
  EXPECT_EQ(r.exitCode, 1);
  ExpectUsage(r.out);
}

}  // namespace
