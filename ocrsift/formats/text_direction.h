// The direction a word is read in, from its characters alone: a word of Hebrew or Arabic
// letters is printed from right to left, its first letter rightmost.
#pragma once

#include <cstdint>

namespace text {

// True for a word that holds a right-to-left letter and nothing printed left to right (a
// digit or a letter of another script); punctuation, symbols and combining marks follow the
// letters. A word that mixes the directions is false: its order on the page depends on the
// parts' directions, and it stays in logical order from left to right.
bool ReadRightToLeft(const uint16_t* units, int32_t length);

}  // namespace text
