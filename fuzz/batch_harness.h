// Runs ocrsift's batch driver over FRF files made from fuzz input, exactly as the program does
// for files named on its command line, with the script going to memory and the diagnostic
// channels to nowhere, then checks what it wrote.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fuzz_support {

// One run's options, picked from one byte of the input so that every diagnostic path is
// reached: bit 0 -h, bit 1 -i, bits 2-4 the mode (script, -v, -l, -l2 n, -t, -t -q, -d),
// bits 5-7 the first page or the tag of -l2 (under -g: bit 5 the unordered names).
struct BatchOptions {
  std::vector<std::string> arguments;  // the command line without the file name
  bool ignoreBad = false;
  bool writesScript = true;  // no -v, -l, -t or -d
  bool hexDump = false;
  bool autoNumbers = false;  // -g: the number comes from the file name
  // Under -g: files named so that their numbers descend and repeat (2, 1, 1), as a book's
  // files may be named; otherwise p0001.frf, p0002.frf, ...
  bool unorderedNames = false;
  int32_t firstPage = 1;
};

BatchOptions OptionsFromByte(uint8_t byte);

// Makes a new folder in $TMPDIR (or /tmp) whose name is `stem` and six random characters;
// aborts when it cannot.
std::string MakeScratchFolder(const std::string& stem);

struct BatchResult {
  int result = -1;
  std::string script;
};

// Writes the files as p0001.frf, p0002.frf, ... (or a0002.frf, b0001.frf, c0001.frf) into the
// harness's folder, reads the options
// from the command line as the program does, and runs the batch over the files: one name for
// one file, the pattern "*.frf" for more.
BatchResult RunBatchOnFiles(const std::vector<std::string>& files, const BatchOptions& options);

// The invariants of a run: the result is a documented code; a run that writes no script
// writes nothing at all; otherwise the script is well formed, has one page per file that got
// that far, numbered as the options say, closed under -i and when the run succeeded, and no
// line entry without a word.
void CheckBatch(const std::vector<std::string>& files, const BatchOptions& options,
                const BatchResult& run);

}  // namespace fuzz_support
