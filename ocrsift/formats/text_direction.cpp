#include "ocrsift/formats/text_direction.h"

#include "common/text/utf8.h"

namespace text {

namespace {

// Hebrew, Arabic, Syriac, Thaana, N'Ko, Samaritan and Mandaic, their presentation forms, and
// the right-to-left blocks beyond U+FFFF; the Arabic-Indic digits in among them are printed
// left to right.
bool RightToLeftLetter(uint32_t c) {
  if ((c >= 0x0660 && c <= 0x0669) || (c >= 0x06F0 && c <= 0x06F9))
    return false;
  return (c >= 0x0590 && c <= 0x08FF) || (c >= 0xFB1D && c <= 0xFDFF) ||
         (c >= 0xFE70 && c <= 0xFEFF) || (c >= 0x10800 && c <= 0x10FFF) ||
         (c >= 0x1E800 && c <= 0x1EFFF);
}

// Punctuation, symbols, blanks and combining marks take the direction of the letters around
// them.
bool FollowsItsLetters(uint32_t c) {
  if (c < 0x80)
    return !((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'));
  return (c >= 0xA0 && c <= 0xBF) || c == 0xD7 || c == 0xF7 || (c >= 0x0300 && c <= 0x036F) ||
         (c >= 0x2000 && c <= 0x206F);
}

}  // namespace

bool ReadRightToLeft(const uint16_t* units, int32_t length) {
  bool rightToLeft = false;
  for (int32_t i = 0; i < length;) {
    const uint32_t c = NextCharacter(units, length, i);
    if (RightToLeftLetter(c))
      rightToLeft = true;
    else if (!FollowsItsLetters(c))
      return false;
  }
  return rightToLeft;
}

}  // namespace text
