// The page iterator of rastrify: the pages of the -p range list, or 1, 2, 3, ... without it.
#pragma once

#include <cstdint>

// Moves the cursor over spaces and tabs (no other characters).
void SkipBlanks(const char*& cursor);

// Stores the next page to export in page and returns true, or returns false when there is no
// further page. Reads the range list of gExportSettings one item at a time: "1-5,10,11".
bool NextPage(int32_t& page);
