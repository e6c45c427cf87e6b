// The page numbers a PDF holds: every number up to the highest has a page, so a number beyond
// the limit (a date read from a file name, say) would make millions of empty pages; its file
// is left out instead.
#pragma once

#include <cstdint>

namespace pdf {

constexpr int32_t kMostPages = 1000000;

constexpr bool HoldsPageNumber(int32_t number) {
  return number >= 1 && number <= kMostPages;
}

}  // namespace pdf
