// The command line of rastrify and its usage text.
#pragma once

// Fills gExportSettings from the arguments (argv[0] is the program). Returns true when the run
// may start, false when the usage is to be shown. The settings keep pointers into argv.
bool ParseCommandLine(int argc, const char* const* argv);

// Banner, copyright line and usage text on standard output.
void PrintUsage();
