// The command line of ocrsift: its options, the rules by which some options force others, and
// the usage text.
#pragma once

#include "ocrsift/diagnostics/run_options.h"

enum class ParseOutcome {
  kAccepted,
  kShowUsage,  // a missing value, a second name, a failed option rule
  kRefused,    // a value that names nothing, reported on the error channel: no usage follows
};

// Fills gRunOptions from the arguments after the program name and applies the option rules.
ParseOutcome ParseCommandLine(int argc, const char* const* argv);
// ParseCommandLine accepted the arguments.
bool ParseOptions(int argc, const char* const* argv);

// The rules by which some options force or clear others, and the checks for a file name and a
// page numbering. Safe to call again: a second call returns the same result.
bool ApplyOptionRules();

// Banner, copyright line and usage text on standard output.
void ShowUsage();
