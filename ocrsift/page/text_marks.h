// The code units that the FRF reader puts in place of two characters of the recognised text
// before the text reaches the page recorder; the word rule gives them their meaning.
#pragma once

#include <cstdint>

constexpr uint16_t MARK_HYPHEN = 1;    // U+00AC: the hyphen of a word broken at a line end
constexpr uint16_t MARK_LINE_END = 2;  // U+2028: the end of a line
