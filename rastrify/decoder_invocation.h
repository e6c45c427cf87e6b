// Finding the outside decoder beside the program and starting it once per page.
#pragma once

#include <string>

// The directory of the running executable without a trailing separator, computed on the first
// call and kept for the run.
const std::string& ModuleDirectory();

// Forgets the cached module directory (for tests).
void ResetModuleDirectory();

// The decoder's name relative to the module directory: "decoder" + separator + "DjVuDecode.exe".
std::string DecoderRelativeName();

// The module directory, a separator and the relative decoder name.
std::string DecoderPath();

// Fills args with the decoder's arguments for the next page and returns true, or returns false
// when the page iterator has no further page.
bool BuildDecoderArguments(std::string& args);

// Starts the decoder for the current page with its working directory in the module directory,
// waits for it, prints the page's outcome and returns true when it exited with code 0.
bool RunDecoder(const std::string& relativeName, const std::string& args);
