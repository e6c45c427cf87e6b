// The six parts of a text block, in file order. Each reads at the current position of
// CurrentStream, advances the block's step number and returns a parser result code; only
// ParseBlock calls them. n is the text count of the block, read by ParseBlockText.
#pragma once

#include <cstdint>

int ParseBlockHead(int32_t blockNumber, int32_t* step);
int ParseBlockText(int32_t blockNumber, int32_t* step, int32_t* n);
int ParseBlockRecords(int32_t blockNumber, int32_t n, int32_t* step);
int ParseCharBoxes(int32_t blockNumber, int32_t n, int32_t* step);
int ParseMaskArray(int32_t blockNumber, int32_t n, int32_t* step);
int ParseBlockLayout(int32_t blockNumber, int32_t n, int32_t* step);
