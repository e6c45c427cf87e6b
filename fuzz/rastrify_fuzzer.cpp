// rastrify's command line and its page iterator over arbitrary argument vectors (the input cut
// at zero bytes), checked against a small model: two names, -g/-p with their values, -a with
// the next argument, a lone "-" taking the next argument as the option; then the pages of the
// range list (comma-separated items "first-last" or "page", an item reading 0 ends the list,
// a last page below the first gives the first page only), or 1, 2, 3, ... without -p. Open
// ranges are followed for a bounded number of pages.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/arguments.h"
#include "rastrify/command_line.h"
#include "rastrify/export_settings.h"
#include "rastrify/page_range.h"

namespace {

constexpr int kMaxPages = 2000;

struct Model;
Model Refused();

struct Model {
  bool ok = true;
  const char* djvu = nullptr;
  const char* output = nullptr;
  const char* format = nullptr;
  const char* range = nullptr;
  const char* extra = nullptr;
};

Model Refused() {
  Model m;
  m.ok = false;
  return m;
}

Model ExpectCommandLine(const std::vector<const char*>& argv, int argc) {
  Model m;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (arg[0] != '-') {
      if (m.djvu == nullptr) {
        m.djvu = arg;
      } else if (m.output == nullptr) {
        m.output = arg;
      } else {
        return Refused();
      }
      continue;
    }
    const char* option = arg + 1;
    if (*option == '\0') {
      if (i + 1 >= argc)
        return Refused();
      option = argv[++i];
    }
    if (option[0] == 'a') {
      if (i + 1 >= argc)
        return Refused();
      m.extra = argv[++i];
    } else if (option[0] == 'g' || option[0] == 'p') {
      const char* value = option + 1;
      if (*value == '\0') {
        if (i + 1 >= argc)
          return Refused();
        value = argv[++i];
      }
      (option[0] == 'g' ? m.format : m.range) = value;
    }
  }
  if (m.djvu == nullptr || m.output == nullptr)
    return Refused();
  if (m.format == nullptr)
    m.format = "tif";
  return m;
}

// The pages of a range list, at most limit of them.
std::vector<int32_t> ExpectPages(const std::string& list, size_t limit) {
  std::vector<int32_t> pages;
  size_t start = 0;
  while (pages.size() < limit) {
    while (start < list.size() && (list[start] == ' ' || list[start] == '\t'))
      ++start;
    const size_t comma = list.find(',', start);
    if (comma == std::string::npos && start >= list.size())
      break;
    const std::string item =
        list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    const int64_t first = fuzz_support::ModelDecimal(item.c_str());
    int64_t last = first;
    const size_t dash = item.find('-');
    if (dash != std::string::npos) {
      size_t at = dash + 1;
      while (at < item.size() && (item[at] == ' ' || item[at] == '\t'))
        ++at;
      last = fuzz_support::ModelDecimal(item.c_str() + at);
    }
    if (first == 0 || last == 0)
      break;
    if (last < first)
      last = first;
    for (int64_t page = first; page <= last && pages.size() < limit; ++page)
      pages.push_back(static_cast<int32_t>(page));
    if (comma == std::string::npos)
      break;
    start = comma + 1;
  }
  return pages;
}

void Fail(const char* what, const std::vector<std::string>& args) {
  std::fprintf(stderr, "\n*** rastrify differs from the model: %s\n", what);
  for (const std::string& arg : args)
    std::fprintf(stderr, "  [%s]\n", arg.c_str());
  std::abort();
}

bool Same(const char* a, const char* b) {
  return a == b || (a != nullptr && b != nullptr && std::string(a) == b);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> args = fuzz_support::SplitArguments(data, size, 10);
  const std::vector<const char*> argv = fuzz_support::ArgumentPointers(args);
  const int argc = static_cast<int>(args.size());
  ResetExportSettings();
  const bool ok = ParseCommandLine(argc, argv.data());
  const Model m = ExpectCommandLine(argv, argc);
  const ExportSettings& s = gExportSettings;
  if (ok != m.ok)
    Fail("the result", args);
  if (!ok) {
    ResetExportSettings();
    return 0;
  }
  if (!Same(s.DjvuFile, m.djvu) || !Same(s.OutputTemplate, m.output) || !Same(s.Format, m.format) ||
      !Same(s.RangeText, m.range) || !Same(s.ExtraArguments, m.extra))
    Fail("a setting", args);

  std::vector<int32_t> pages;
  int32_t page = 0;
  while (pages.size() < static_cast<size_t>(kMaxPages) && NextPage(page))
    pages.push_back(page);
  std::vector<int32_t> expected;
  if (m.range == nullptr) {
    for (int32_t p = 1; p <= kMaxPages; ++p)
      expected.push_back(p);
  } else {
    expected = ExpectPages(m.range, kMaxPages);
  }
  if (pages != expected)
    Fail("the pages", args);
  ResetExportSettings();
  return 0;
}
