// ASCII case folding, the one rule by which names are compared without regard to letter case
// (the sort of matched file names, the match of a wildcard).
#pragma once

namespace text {

// 'A' to 'Z' become 'a' to 'z'; every other byte, those above 0x7F included, stays as it is.
constexpr unsigned char FoldAsciiCase(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

}  // namespace text
