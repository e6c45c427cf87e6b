// ocrsift's ParseOptions and ApplyOptionRules over arbitrary argument vectors (the input cut at
// zero bytes), checked against a small model of the documented rules: the positional argument
// and its quotes, the option letters and their values (the output format names among them),
// and the rules that force options.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/arguments.h"
#include "ocrsift/driver/command_line.h"
#include "ocrsift/formats/format_registry.h"

namespace {

struct Model;
Model Refused();

struct Model {
  bool ok = true;
  bool unknownFormat = false;  // refused with its own message, no usage (-o, or -o with -w)
  std::string spec;
  int32_t firstPage = -1;
  bool autoNumbers = false;
  bool join = true;
  bool ignore = false;
  bool verbose = false;
  bool listTags = false;
  int32_t tag = 0;
  bool hexDump = false;
  bool testOnly = false;
  bool quiet = false;
  bool glyphs = false;
  bool errorsToStdout = false;
  std::string format = DefaultFormat().name;
  bool formatGiven = false;
  std::string workspace;
};

Model Refused() {
  Model m;
  m.ok = false;
  return m;
}

// The value of an option: the rest of its argument, else the next argument (taken: i moves on
// to it); false when there is none.
bool TakeValue(const std::vector<std::string>& args, const std::string& text, size_t& i,
               std::string& value) {
  value = text.substr(1);
  if (!value.empty())
    return true;
  if (i + 1 >= args.size())
    return false;
  value = args[++i];
  return true;
}

Model Expect(const std::vector<std::string>& args) {
  Model m;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.empty() || arg[0] != '-') {
      if (!m.spec.empty())
        return Refused();
      std::string name = arg;
      if (!name.empty() && name.front() == '"' && name.back() == '"')
        name = name.size() >= 2 ? name.substr(1, name.size() - 2) : std::string();
      m.spec = name;
      continue;
    }
    std::string text = arg.substr(1);
    if (text.empty()) {
      if (i + 1 >= args.size())
        return Refused();
      text = args[++i];
    }
    const char letter = text.empty() ? '\0' : text[0];
    if (letter == 'c') {
      m.glyphs = true;
    } else if (letter == 'd') {
      m.hexDump = true;
    } else if (letter == 'g') {
      m.autoNumbers = true;
    } else if (letter == 'h') {
      m.join = false;
    } else if (letter == 'i') {
      m.ignore = true;
    } else if (letter == 'l') {
      if (text.size() > 1 && text[1] == '2') {
        if (i + 1 >= args.size())
          return Refused();
        m.tag = fuzz_support::ModelDecimal(args[++i].c_str());
      }
      m.listTags = true;
    } else if (letter == 'p') {
      std::string value;
      if (!TakeValue(args, text, i, value))
        return Refused();
      m.firstPage = fuzz_support::ModelDecimal(value.c_str());
    } else if (letter == 'o') {
      std::string value;
      if (!TakeValue(args, text, i, value))
        return Refused();
      bool known = false;
      for (const FormatRow& row : AllFormats())
        known = known || value == row.name;
      if (!known) {
        Model unknown = Refused();
        unknown.unknownFormat = true;
        return unknown;
      }
      m.format = value;
      m.formatGiven = true;
    } else if (letter == 'w') {
      std::string value;
      if (!TakeValue(args, text, i, value))
        return Refused();
      if (value.empty())
        return Refused();
      m.workspace = value;
    } else if (letter == 'q') {
      m.quiet = true;
    } else if (letter == 't') {
      m.testOnly = true;
      m.autoNumbers = true;
    } else if (letter == 'v') {
      m.verbose = true;
    }
  }
  // The workspace and a document on standard output exclude each other, whatever -o names.
  if (!m.workspace.empty() && m.formatGiven) {
    Model both = Refused();
    both.unknownFormat = true;
    return both;
  }
  if (m.testOnly) {
    m.verbose = true;
    m.hexDump = false;
    m.listTags = false;
  }
  if (m.verbose || m.hexDump) {
    m.verbose = true;
    m.errorsToStdout = true;
  }
  if (m.listTags)
    m.verbose = true;
  if (m.listTags || m.hexDump)
    m.ignore = false;
  if (m.spec.empty()) {
    m.ok = false;
    return m;
  }
  if (m.spec == "*")
    m.spec = "*.frf";
  if (m.firstPage == -1 && !m.autoNumbers && !m.hexDump && !m.listTags)
    m.ok = false;
  return m;
}

void Fail(const char* what, const std::vector<std::string>& args) {
  std::fprintf(stderr, "\n*** options differ from the model: %s\n", what);
  for (const std::string& arg : args)
    std::fprintf(stderr, "  [%s]\n", arg.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The messages of the rules go to the error channel or, in the diagnostic modes, to
  // standard output: both nowhere.
  static FILE* nowhere = std::fopen("/dev/null", "w");
  static const bool quiet = std::freopen("/dev/null", "w", stdout) != nullptr;
  (void)quiet;
  const std::vector<std::string> args = fuzz_support::SplitArguments(data, size, 12);
  const std::vector<const char*> argv = fuzz_support::ArgumentPointers(args);
  ResetRunOptions();
  gRunOptions.ErrorStream = nowhere;
  const ParseOutcome outcome = ParseCommandLine(static_cast<int>(args.size()), argv.data());
  const bool ok = outcome == ParseOutcome::kAccepted;
  const Model m = Expect(args);
  const RunOptions& o = gRunOptions;
  if (ok != m.ok || (outcome == ParseOutcome::kRefused) != m.unknownFormat)
    Fail("the result", args);
  // A parse that fails at an argument leaves the options half set; only the full parse counts.
  if (ok) {
    if (o.InputSpec != m.spec)
      Fail("the file name", args);
    if (o.FirstPage != m.firstPage || o.AutoPageNumbers != m.autoNumbers ||
        o.JoinHyphenated != m.join || o.IgnoreBadPages != m.ignore || o.Verbose != m.verbose ||
        o.ListTags != m.listTags || o.ListTagNumber != m.tag || o.HexDumpMode != m.hexDump ||
        o.TestOnly != m.testOnly || o.Quiet != m.quiet || o.Glyphs != m.glyphs ||
        o.WorkspaceFolder != m.workspace ||
        (o.Format != nullptr ? o.Format->name : DefaultFormat().name) != m.format)
      Fail("an option", args);
    if ((o.ErrorStream == stdout) != m.errorsToStdout)
      Fail("errors not sent to standard output", args);
    if ((m.testOnly || m.listTags) && o.VerboseStream != nullptr)
      Fail("a trace that should print nothing", args);
    // The batch driver applies the rules again: the result and the options stay, and from
    // then on every diagnostic mode (-v, -d, -l, -t) sends the errors to standard output.
    const RunOptions before = o;
    if (!ApplyOptionRules() || gRunOptions.InputSpec != before.InputSpec ||
        gRunOptions.Verbose != before.Verbose ||
        gRunOptions.IgnoreBadPages != before.IgnoreBadPages ||
        gRunOptions.VerboseStream != before.VerboseStream ||
        (gRunOptions.ErrorStream == stdout) != m.verbose)
      Fail("a second application of the rules", args);
  }
  ResetRunOptions();
  return 0;
}
