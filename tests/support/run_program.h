// Runs a built program (or any other) with an argument vector, no shell involved, and
// captures its standard output, standard error and exit code separately.
#pragma once

#include <string>
#include <vector>

namespace testing_support {

struct ProgramOutput {
  // The text the program wrote: on Windows the text-mode line ends ("\r\n" for each "\n")
  // are turned back into "\n", so expectations hold on every platform.
  std::string out;
  std::string err;
  // The bytes as written (the same as out and err on POSIX).
  std::string rawOut;
  std::string rawErr;
  int exitCode = -1;  // -1 when the program did not end normally
};

// The bytes a program writes for `text` through a text-mode stream on this platform.
std::string PlatformLineEnds(const std::string& text);

// program: path of the executable; args: the arguments after the program name; input: bytes
// for its standard input; workDir: its working directory ("" keeps the caller's).
ProgramOutput RunCaptured(const std::string& program, const std::vector<std::string>& args,
                          const std::string& input = "", const std::string& workDir = "");

}  // namespace testing_support
