// The few operating-system services the two programs need, behind one small interface:
// file search and existence, UTF-16 conversion, the running executable's directory and
// starting a child program. posix/ and win32/ hold the two implementations.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// The directory separator of this platform: '\\' on Windows, '/' elsewhere.
char DirSeparator();

// Bare names (no directory part) of the files in the pattern's directory that match its last
// component, where "*" matches any run of characters and "?" exactly one, without regard to
// ASCII letter case. Directories are left out. The order is unspecified.
std::vector<std::string> FindFiles(const std::string& pattern);

// True when a file or directory of that name exists.
bool FileExists(const std::string& path);

// Converts the zero-terminated UTF-16 text into the narrow form used in messages (the ANSI
// code page on Windows, UTF-8 elsewhere). Writes at most outSize bytes including the
// terminating zero and returns that count, or 0 when the text does not fit or cannot be
// converted.
int WideToNarrow(const uint16_t* text, char* out, int outSize);

// Converts the zero-terminated UTF-16 text to UTF-8: surrogate pairs become four-byte
// sequences, an unpaired surrogate becomes U+FFFD. Same result convention as WideToNarrow.
int WideToUtf8(const uint16_t* text, char* out, int outSize);

// The directory of the running executable, without a trailing separator (empty if unknown).
std::string ExecutableDirectory();

// Outcome of starting a program.
struct ProgramResult {
  bool started = false;  // false: the program could not be started at all
  int exitCode = 0;      // the program's exit code once it ended (-1 if it died by a signal)
};

// Starts the program named by the first blank-separated token of commandLine with the other
// tokens as its arguments (no shell, no quoting rules), in workDir, with nothing shown to the
// user and its output discarded, and waits for it to end.
ProgramResult RunProgram(const std::string& commandLine, const std::string& workDir);

}  // namespace platform
