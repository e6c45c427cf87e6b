// The whole run of rastrify without the process around it.
#pragma once

// Exports the pages the command line asks for; the result is the process exit code.
int RastrifyMain(int argc, const char* const* argv);
