// The process-wide options and output channels of ocrsift, filled from the command line.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

struct RunOptions {
  std::string InputSpec;  // file name, wildcard pattern, or "@" and a list file
  int32_t FirstPage = -1;
  bool AutoPageNumbers = false;
  bool JoinHyphenated = true;
  bool IgnoreBadPages = false;
  bool Verbose = false;
  bool ListTags = false;
  int32_t ListTagNumber = 0;
  bool HexDumpMode = false;
  bool TestOnly = false;
  bool Quiet = false;
  FILE* ErrorStream = stderr;
  FILE* VerboseStream = stdout;  // null: the verbose channel prints nothing
  FILE* OutputStream = nullptr;  // where the djvused script goes
};

extern RunOptions gRunOptions;

// Returns the options to their initial values (used by tests).
void ResetRunOptions();

// Fills gRunOptions from the arguments after the program name and applies the option rules.
// Returns false when the usage is to be shown.
bool ParseOptions(int argc, const char* const* argv);

// The rules by which some options force or clear others, and the checks for a file name and a
// page numbering. Safe to call again: a second call returns the same result.
bool ApplyOptionRules();

// Banner, copyright line and usage text on standard output.
void ShowUsage();
