// Finding the outside decoder beside the program and starting it once per page.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The directory of the running executable without a trailing separator, computed on the first
// call and kept for the run.
const std::string& ModuleDirectory();

// Forgets the cached module directory (for tests).
void ResetModuleDirectory();

// The decoder's name relative to the module directory: "decoder" + separator + "DjVuDecode.exe".
std::string DecoderRelativeName();

// The module directory, a separator and the relative decoder name.
std::string DecoderPath();

// The decoder's arguments for one page.
struct DecoderArguments {
  // "--layer=all --page-range=N --output-format=FMT " and, with -a, a blank and the -a text:
  // words that reach the decoder split on blanks, as the user wrote them.
  std::string text;
  // The DjVu document and the output file name, each one argument whatever it holds.
  std::vector<std::string> names;
};

// The decoder's arguments for `page`, from gExportSettings. Moves no page iterator: the run
// takes the page from NextPage (page_range.h) first.
DecoderArguments DecoderArgumentsForPage(int32_t page);

// Starts the decoder for the current page with its working directory in the module directory,
// waits for it, prints the page's outcome and returns true when it exited with code 0.
bool RunDecoder(const std::string& relativeName, const DecoderArguments& args);
