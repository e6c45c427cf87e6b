// The command line of ocrsift: its options, the rules by which some options force others, and
// the usage text.
#pragma once

#include "ocrsift/diagnostics/run_options.h"

// Fills gRunOptions from the arguments after the program name and applies the option rules.
// Returns false when the usage is to be shown.
bool ParseOptions(int argc, const char* const* argv);

// The rules by which some options force or clear others, and the checks for a file name and a
// page numbering. Safe to call again: a second call returns the same result.
bool ApplyOptionRules();

// Banner, copyright line and usage text on standard output.
void ShowUsage();
