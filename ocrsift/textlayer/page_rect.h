// Rectangles in pixels of the page image (y grows downward) and how every output format
// keeps them inside their page.
#pragma once

#include <algorithm>
#include <cstdint>

#include "common/numeric/wrapping_int32.h"

struct TextRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

// Both edges within the span from 0 to side (a negative side spans from side to 0). Readers
// take an edge pair without extent for a corrupt layer, so edges that meet are set one unit
// apart: the second moves by `toward`, unless the page ends there, then the first moves back.
// Inline: every character box of a page passes here.
inline void ClipEdges(int32_t& first, int32_t& second, int32_t side, int32_t toward) {
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

// A line rectangle moved into a page of width x height pixels.
inline TextRect ClipToPage(TextRect rect, int32_t width, int32_t height) {
  ClipEdges(rect.left, rect.right, width, 1);
  ClipEdges(rect.top, rect.bottom, height, 1);
  return rect;
}

// A word rectangle: an edge pair that meets is first set one unit apart (right and bottom
// grow), then the rectangle is moved into the page.
inline TextRect PlaceWordInPage(TextRect rect, int32_t width, int32_t height) {
  if (rect.left == rect.right)
    rect.right = WrapAdd(rect.right, 1);
  if (rect.top == rect.bottom)
    rect.bottom = WrapAdd(rect.bottom, 1);
  return ClipToPage(rect, width, height);
}
