// The six parts of a text block, in file order. Each reads at the current position of the
// page's stream, advances the block's step number from the part's base and returns a parser
// result code; only ParseBlock calls them. n is the text count of the block, read by
// ParseBlockText.
#pragma once

#include <cstdint>

struct PageContext;

int ParseBlockHead(PageContext& page, int32_t blockNumber, int32_t* step);
int ParseBlockText(PageContext& page, int32_t blockNumber, int32_t* step, int32_t* n);
int ParseBlockRecords(PageContext& page, int32_t blockNumber, int32_t n, int32_t* step);
int ParseCharBoxes(PageContext& page, int32_t blockNumber, int32_t n, int32_t* step);
int ParseMaskArray(PageContext& page, int32_t blockNumber, int32_t n, int32_t* step);
int ParseBlockLayout(PageContext& page, int32_t blockNumber, int32_t n, int32_t* step);
