#include "ocrsift/textlayer/page_rect.h"

#include <algorithm>

#include "common/numeric/wrapping_int32.h"

void ClipEdges(int32_t& first, int32_t& second, int32_t side, int32_t toward) {
  const int32_t low = std::min(0, side);
  const int32_t high = std::max(0, side);
  first = std::min(std::max(first, low), high);
  second = std::min(std::max(second, low), high);
  if (first != second)
    return;
  if (second + toward >= low && second + toward <= high) {
    second += toward;
  } else {
    first -= toward;
  }
}

TextRect ClipToPage(TextRect rect, int32_t width, int32_t height) {
  ClipEdges(rect.left, rect.right, width, 1);
  ClipEdges(rect.top, rect.bottom, height, 1);
  return rect;
}

TextRect PlaceWordInPage(TextRect rect, int32_t width, int32_t height) {
  if (rect.left == rect.right)
    rect.right = WrapAdd(rect.right, 1);
  if (rect.top == rect.bottom)
    rect.bottom = WrapAdd(rect.bottom, 1);
  return ClipToPage(rect, width, height);
}
