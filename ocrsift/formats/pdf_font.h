// The font of the PDF's invisible text: a TrueType font of two glyphs (an empty .notdef and a
// box over the em, the one every character is drawn with), 500 units wide on an em of 1000, with an
// ascent of 800 and a descent of 200. Nothing is ever drawn with it; readers take each character's
// place from its width and the text's matrix, and its meaning from the ToUnicode map.
#pragma once

#include <string>

namespace pdf {

constexpr int kUnitsPerEm = 1000;
constexpr int kGlyphWidth = 500;
constexpr int kAscent = 800;
constexpr int kDescent = -200;

// The font file's bytes, built once from the TrueType tables.
const std::string& InvisibleFontFile();

}  // namespace pdf
