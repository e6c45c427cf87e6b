#include "fuzz/batch_harness.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/script_check.h"
#include "ocrsift/driver/command_line.h"
#include "ocrsift/driver/run_batch.h"
#include "ocrsift/driver/run_state.h"

namespace fuzz_support {

namespace {

constexpr int kMaxFiles = 3;

// The folder that holds the files of every run, made once per process and removed at exit.
std::string& Folder() {
  static std::string folder;
  return folder;
}

std::string FileName(int index, bool unordered = false) {
  static const char* const kUnordered[kMaxFiles] = {"a0002.frf", "b0001.frf", "c0001.frf"};
  char name[16];
  std::snprintf(name, sizeof name, "p%04d.frf", index + 1);
  return Folder() + "/" + (unordered ? kUnordered[index] : name);
}

void RemoveFiles() {
  for (int i = 0; i < kMaxFiles; ++i) {
    std::remove(FileName(i).c_str());
    std::remove(FileName(i, true).c_str());
  }
}

void RemoveFolder() {
  RemoveFiles();
  rmdir(Folder().c_str());
}

void Prepare() {
  if (!Folder().empty())
    return;
  Folder() = MakeScratchFolder("ocrsift-fuzz-");
  std::atexit(RemoveFolder);
  // The verbose trace, listings and dumps go to standard output: nowhere, at full speed.
  if (std::freopen("/dev/null", "w", stdout) == nullptr)
    std::abort();
}

FILE* NullStream() {
  static FILE* stream = std::fopen("/dev/null", "w");
  return stream;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() ||
      std::fclose(file) != 0) {
    std::perror(path.c_str());
    std::abort();
  }
}

}  // namespace

std::string MakeScratchFolder(const std::string& stem) {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern =
      std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/" + stem + "XXXXXX";
  if (mkdtemp(&pattern[0]) == nullptr) {
    std::perror("mkdtemp");
    std::abort();
  }
  return pattern;
}

BatchOptions OptionsFromByte(uint8_t byte) {
  BatchOptions o;
  std::vector<std::string>& args = o.arguments;
  if ((byte & 1) != 0)
    args.push_back("-h");
  o.ignoreBad = (byte & 2) != 0;
  if (o.ignoreBad)
    args.push_back("-i");
  const int mode = (byte >> 2) & 7;
  const int high = byte >> 5;
  static const int32_t kFirstPages[] = {1, 1, 5, 1, 2147483647, 0, -7, 1};
  o.firstPage = kFirstPages[high];
  o.writesScript = (mode <= 2);
  o.autoNumbers = (mode == 2 && high >= 4);
  o.unorderedNames = o.autoNumbers && (high & 1) != 0;
  switch (mode) {
    case 3:
      args.push_back("-v");
      break;
    case 4:
      args.push_back("-l");
      break;
    case 5:
      args.push_back("-l2");
      args.push_back(std::to_string(high * 3 + 1));
      break;
    case 6:
      args.push_back("-t");
      if ((high & 1) != 0)
        args.push_back("-q");
      break;
    case 7:
      o.hexDump = true;
      args.push_back("-d");
      break;
    default:
      break;
  }
  if (o.autoNumbers) {
    args.push_back("-g");
  } else if (mode <= 3) {
    args.push_back("-p");
    args.push_back(std::to_string(o.firstPage));
  }
  return o;
}

BatchResult RunBatchOnFiles(const std::vector<std::string>& files, const BatchOptions& options) {
  Prepare();
  RemoveFiles();
  for (size_t i = 0; i < files.size() && i < static_cast<size_t>(kMaxFiles); ++i)
    WriteFile(FileName(static_cast<int>(i), options.unorderedNames), files[i]);

  ResetRunOptions();
  ResetRunState();
  gRunOptions.ErrorStream = NullStream();
  std::vector<std::string> args = {"ocrsift"};
  args.insert(args.end(), options.arguments.begin(), options.arguments.end());
  args.push_back((files.size() == 1) ? FileName(0, options.unorderedNames) : Folder() + "/*.frf");
  std::vector<const char*> argv;
  for (const std::string& arg : args)
    argv.push_back(arg.c_str());
  BatchResult run;
  if (!ParseOptions(static_cast<int>(argv.size()), argv.data()))
    std::abort();  // every command line the harness makes is a valid one

  char* buffer = nullptr;
  size_t size = 0;
  FILE* script = open_memstream(&buffer, &size);
  if (script == nullptr)
    std::abort();
  gRunOptions.OutputStream = script;
  run.result = RunBatch();
  std::fclose(script);
  run.script.assign(buffer, size);
  std::free(buffer);
  ResetRunOptions();
  ResetRunState();
  return run;
}

void CheckBatch(const std::vector<std::string>& files, const BatchOptions& options,
                const BatchResult& run) {
  const std::string& text = run.script;
  Require(run.result == 0 || run.result == 2, "the result is not a documented code", text);
  if (options.hexDump)
    Require(run.result == 0, "a hex dump of a file that opens did not end with 0", text);
  if (!options.writesScript) {
    Require(text.empty(), "a diagnostic run wrote script text", text);
    return;
  }
  const Script script = RequireScript(text);
  Require(script.saved, "the script does not end with save", text);
  Require(script.pages.size() <= files.size(), "more pages than files", text);
  if (run.result == 0)
    Require(script.pages.size() == files.size(), "a file that parsed wrote no page", text);
  for (const ScriptPage& page : script.pages) {
    Require(page.closed || (!options.ignoreBad && run.result == 2),
            "a page left open under -i or in a run that succeeded", text);
    Require(page.hasSelect && page.select >= 1, "a page without a valid page number", text);
    for (const ScriptLine& line : page.lines) {
      Require(!line.words.empty(), "a line without a word", text);
      Require(KeepableRect(line.rect, page.width, page.height), "a line djvused cannot keep", text);
      for (const ScriptWord& word : line.words)
        Require(KeepableRect(word.rect, page.width, page.height), "a word djvused cannot keep",
                text);
    }
    if (options.autoNumbers)
      Require(page.select <= static_cast<int32_t>(files.size()) + (options.unorderedNames ? 1 : 0),
              "a page number not taken from the file name", text);
  }
  if (!options.autoNumbers && options.firstPage >= 1) {
    // Pages are numbered per file in order; a file that did not begin a page uses its number up.
    int32_t last = options.firstPage - 1;
    for (const ScriptPage& page : script.pages) {
      Require(page.select > last, "page numbers out of order", text);
      Require(page.select - options.firstPage < static_cast<int32_t>(files.size()),
              "a page number beyond the files", text);
      last = page.select;
    }
  }
}

}  // namespace fuzz_support
