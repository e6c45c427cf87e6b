// The whole run of ocrsift without the process around it.
#pragma once

// Parses the command line and runs the batch; the result is the process exit code.
int OcrsiftMain(int argc, const char* const* argv);
