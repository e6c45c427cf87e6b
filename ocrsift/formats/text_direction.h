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

// ReadRightToLeft, with the answer for the words of most pages (those that begin with a Latin
// letter or a digit: false) found without a call.
inline bool WordReadsRightToLeft(const uint16_t* units, int32_t length) {
  if (length > 0 && units[0] < 0x80) {
    const uint32_t c = units[0];
    if ((c | 0x20) - 'a' < 26 || c - '0' < 10)
      return false;
  }
  return ReadRightToLeft(units, length);
}

}  // namespace text
