// The one pass of ocrsift over its input files: page numbering, parsing of each file into the
// run's document, the failure reports, and the exploring modes (hex dump, format test, ignore
// mode).
#pragma once

#include <cstdint>
#include <string>

// Returns the run result: 0 (all files processed, or a hex dump made), 1 (the run did not
// start), 2 (a page number was missing, a file could not be opened or failed to parse, or the
// document could not be written whole).
int RunBatch();

// The page number a file of that path takes under -g: the digits just before the "." in the
// file-name part, or `current` when the name has neither; 0 becomes 1.
int32_t PageNumberFromName(const std::string& path, int32_t current);

// PageNumber + 1.
void AdvancePageNumber();

// The document could not be written whole (error: its errno, 0 when unknown), said on standard
// error so that nobody takes it for complete. place names the scratch file that failed, empty
// for standard output; with scratch false place is a file the user asked for.
void ReportOutputFailure(int error, const std::string& place = std::string(), bool scratch = true);
