// The one pass of ocrsift over its input files: page numbering, parsing of each file, the
// failure reports, and the exploring modes (hex dump, format test, ignore mode).
#pragma once

#include <cstdint>

// Returns the run result: 0 (all files processed, or a hex dump made), 1 (the run did not
// start), 2 (a page number was missing, or a file could not be opened or failed to parse).
int RunBatch();

// Sets PageNumber from the digits just before the "." in the file-name part of CurrentPath.
void PageNumberFromName();

// PageNumber + 1.
void AdvancePageNumber();

// Parses frame k (zero-based) of the current file by its type byte, from the step number the
// driver sets for that kind; a type without a parser fails with PARSE_BAD_FORMAT at step 600.
int ParseFrame(int32_t k, uint8_t type, int32_t* step);
