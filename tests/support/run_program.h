// Runs a built program (or any other) with an argument vector, no shell involved, and
// captures its standard output, standard error and exit code separately.
#pragma once

#include <string>
#include <vector>

namespace testing_support {

struct ProgramOutput {
  std::string out;
  std::string err;
  int exitCode = -1;  // -1 when the program did not end normally
};

// program: path of the executable; args: the arguments after the program name; input: bytes
// for its standard input; workDir: its working directory ("" keeps the caller's).
ProgramOutput RunCaptured(const std::string& program, const std::vector<std::string>& args,
                          const std::string& input = "", const std::string& workDir = "");

}  // namespace testing_support
