// Two or three FRF files cut from one input at the marker "--cut--", run as one batch with and
// without -i, so that what one page leaves behind (an open page, the text and boxes of its
// last block, a pending hyphenated fragment, the page numbering) meets the next. Besides the
// invariants of each run, the two runs must agree: -i closes failed pages and keeps quiet,
// and may accept a header that the strict run refuses, but never loses a page, never fails
// a run that succeeded, and with the same pages writes the same text. Each run is repeated in
// another output format, which must tell the story of the script's book, and as a workspace,
// whose every page must tell its page's story.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/batch_harness.h"
#include "fuzz/document_check.h"
#include "fuzz/script_check.h"
#include "fuzz/workspace_check.h"

namespace {

const char kCut[] = "--cut--";

std::vector<std::string> CutFiles(const std::string& input) {
  std::vector<std::string> files;
  size_t start = 0;
  while (files.size() < 2) {
    const size_t cut = input.find(kCut, start);
    if (cut == std::string::npos)
      break;
    files.push_back(input.substr(start, cut - start));
    start = cut + sizeof kCut - 1;
  }
  files.push_back(input.substr(start));
  if (files.size() == 1) {
    // Without a marker the input is halved, so that every input makes a batch.
    const std::string whole = files[0];
    files = {whole.substr(0, whole.size() / 2), whole.substr(whole.size() / 2)};
  }
  return files;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace fuzz_support;
  if (size < 1)
    return 0;
  const std::vector<std::string> files =
      CutFiles(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
  const uint8_t strictByte = data[0] & ~2u;
  const BatchOptions strict = OptionsFromByte(strictByte);
  const BatchOptions lenient = OptionsFromByte(strictByte | 2u);
  const BatchResult strictRun = RunBatchOnFiles(files, strict);
  const BatchResult lenientRun = RunBatchOnFiles(files, lenient);
  CheckBatch(files, strict, strictRun);
  CheckBatch(files, lenient, lenientRun);

  // -i accepts one header form that the strict run refuses (a nonzero count F in the unknown
  // block of version 10), so a file may parse with it and not without; never the other way.
  const std::string both = strictRun.script + "\n=== with -i ===\n" + lenientRun.script;
  Require(strictRun.result != 0 || lenientRun.result == 0, "-i failed a run that succeeded", both);
  if (!strict.writesScript)
    return 0;
  // Both runs in another format: the same book, also when -g gives numbers out of order.
  CheckOtherFormat(files, strict, strictRun, size);
  CheckOtherFormat(files, lenient, lenientRun, size / 3);
  CheckWorkspace(files, strict, strictRun);
  CheckWorkspace(files, lenient, lenientRun);
  const Script a = RequireScript(strictRun.script);
  const Script b = RequireScript(lenientRun.script);
  size_t matched = 0;
  for (const ScriptPage& page : a.pages) {
    while (matched < b.pages.size() && b.pages[matched].select != page.select)
      ++matched;
    Require(matched < b.pages.size(), "-i lost a page", both);
    ++matched;
  }
  if (a.pages.size() != b.pages.size())
    return 0;  // -i began a page more, whose words may carry a hyphenated part onwards
  for (size_t i = 0; i < a.pages.size(); ++i) {
    const ScriptPage& p = a.pages[i];
    const ScriptPage& q = b.pages[i];
    bool same = p.select == q.select && p.width == q.width && p.height == q.height &&
                p.lines.size() == q.lines.size();
    for (size_t k = 0; same && k < p.lines.size(); ++k) {
      const ScriptLine& x = p.lines[k];
      const ScriptLine& y = q.lines[k];
      same = x.rect.left == y.rect.left && x.rect.upper == y.rect.upper &&
             x.rect.right == y.rect.right && x.rect.lower == y.rect.lower &&
             x.words.size() == y.words.size();
      for (size_t w = 0; same && w < x.words.size(); ++w)
        same = x.words[w].text == y.words[w].text;
    }
    Require(same, "-i changed the text of a page", both);
  }
  return 0;
}
