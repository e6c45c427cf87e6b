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

// The document could not be written whole (error: its errno, 0 when unknown), said on standard
// error so that nobody takes it for complete.
void ReportOutputFailure(int error);
