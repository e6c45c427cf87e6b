#include "ocrsift/driver/command_line.h"

#include <cstdio>

#include "common/numeric/decimal.h"
#include "common/text/option_value.h"
#include "ocrsift/diagnostics/channels.h"
#include "ocrsift/formats/format_registry.h"

namespace {

// The usage text before the -o line, which the format registry completes, and after it.
const char kUsageHead[] =
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
    "  -o <format>      -- output format: ";

const char kUsageTail[] =
    "\n"
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

// The positional argument: a name, possibly still wrapped in the double quotes of a shell
// that passed them on. A lone double quote counts as an empty name.
bool TakePositional(const std::string& argument) {
  if (!gRunOptions.InputSpec.empty())
    return false;
  std::string name = argument;
  if (!name.empty() && name.front() == '"' && name.back() == '"') {
    name = (name.size() >= 2) ? name.substr(1, name.size() - 2) : std::string();
  }
  gRunOptions.InputSpec = name;
  return true;
}

// The formats -o names, exactly as written. An unknown name is reported with the list of
// names: the habit of an output-file option ("-o text.pdf") must not put the usage into the
// file that standard output was redirected to.
bool TakeOutputFormat(const char* name) {
  const FormatRow* row = FindFormat(name);
  if (row == nullptr) {
    ReportError("Unknown output format \"%s\"; the formats are: %s\n", name,
                FormatNames(false).c_str());
    return false;
  }
  gRunOptions.Format = row;
  return true;
}

}  // namespace

bool ParseOptions(int argc, const char* const* argv) {
  return ParseCommandLine(argc, argv) == ParseOutcome::kAccepted;
}

ParseOutcome ParseCommandLine(int argc, const char* const* argv) {
  constexpr ParseOutcome kShowUsage = ParseOutcome::kShowUsage;
  for (int i = 1; i < argc; ++i) {
    const char* argument = (argv[i] != nullptr) ? argv[i] : "";
    if (argument[0] != '-') {
      if (!TakePositional(argument))
        return kShowUsage;
      continue;
    }
    const char* option = nullptr;
    if (!text::TakeOptionText(argc, argv, i, option))
      return kShowUsage;
    switch (option[0]) {
      case 'c':
        gRunOptions.Glyphs = true;
        break;
      case 'd':
        gRunOptions.HexDumpMode = true;
        break;
      case 'g':
        gRunOptions.AutoPageNumbers = true;
        break;
      case 'h':
        gRunOptions.JoinHyphenated = false;
        break;
      case 'i':
        gRunOptions.IgnoreBadPages = true;
        break;
      case 'l':
        if (option[1] == '2') {
          if (i + 1 >= argc)
            return kShowUsage;
          ++i;
          gRunOptions.ListTagNumber = numeric::ReadDecimal(argv[i]);
        }
        gRunOptions.ListTags = true;
        break;
      case 'o': {
        const char* value = nullptr;
        // A missing value shows the usage; an unknown name is refused with its own message.
        if (!text::TakeOptionValue(option + 1, argc, argv, i, value))
          return kShowUsage;
        if (!TakeOutputFormat(value))
          return ParseOutcome::kRefused;
        break;
      }
      case 'p': {
        const char* value = nullptr;
        if (!text::TakeOptionValue(option + 1, argc, argv, i, value))
          return kShowUsage;
        gRunOptions.FirstPage = numeric::ReadDecimal(value);
        break;
      }
      case 'q':
        gRunOptions.Quiet = true;
        break;
      case 't':
        gRunOptions.TestOnly = true;
        gRunOptions.AutoPageNumbers = true;
        break;
      case 'v':
        gRunOptions.Verbose = true;
        break;
      case 'w': {
        const char* value = nullptr;
        if (!text::TakeOptionValue(option + 1, argc, argv, i, value) || *value == '\0')
          return kShowUsage;
        gRunOptions.WorkspaceFolder = value;
        break;
      }
      default:
        break;  // unknown letters are ignored and take no value
    }
  }
  if (!gRunOptions.WorkspaceFolder.empty() && gRunOptions.Format != nullptr) {
    ReportError(
        "Options -o and -w exclude each other: -w writes PAGE and ALTO files and"
        " mets.xml into its folder, -o one document on standard output\n");
    return ParseOutcome::kRefused;
  }
  return ApplyOptionRules() ? ParseOutcome::kAccepted : kShowUsage;
}

bool ApplyOptionRules() {
  RunOptions& o = gRunOptions;
  if (o.TestOnly) {
    o.Verbose = true;
    o.HexDumpMode = false;
    o.ListTags = false;
    o.VerboseStream = nullptr;
  }
  if (o.Verbose || o.HexDumpMode) {
    o.Verbose = true;
    o.ErrorStream = stdout;
  }
  if (o.ListTags) {
    o.Verbose = true;
    o.VerboseStream = nullptr;
  }
  if (o.ListTags || o.HexDumpMode)
    o.IgnoreBadPages = false;
  if (o.InputSpec.empty()) {
    ReportError("\n**** file name/list not specified ***");
    return false;
  }
  if (o.InputSpec == "*")
    o.InputSpec = "*.frf";
  if (o.FirstPage == -1 && !o.AutoPageNumbers && !o.HexDumpMode && !o.ListTags) {
    ReportError("\n**** page number not specified ***");
    return false;
  }
  return true;
}

void ShowUsage() {
  std::printf("\nOcrsift to produce OCR-ed DjVu files, version %s\n", OCRSIFT_VERSION);
  std::printf("Copyright (C) 2026 the Ocrsift developers; free to use, copy and change.\n");
  std::printf("%s%s%s", kUsageHead, FormatNames(true).c_str(), kUsageTail);
  std::fflush(stdout);
}
