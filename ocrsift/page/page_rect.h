// Rectangles in pixels of the page image and the one rule by which every document format keeps
// them inside their page: widen a rectangle without width or height, clip it into the page,
// and keep it from collapsing on the page's edge.
#pragma once

#include <algorithm>
#include <cstdint>
#include <utility>

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

// A rectangle moved into a page of width x height pixels. `down` is the direction in which
// the rectangle's y grows from top to bottom: 1 in image coordinates, -1 in the djvused
// script's, whose y grows upward from the page's bottom edge.
inline TextRect KeepInPage(TextRect rect, int32_t width, int32_t height, int32_t down = 1) {
  ClipEdges(rect.left, rect.right, width, 1);
  ClipEdges(rect.top, rect.bottom, height, down);
  return rect;
}

// A word or character rectangle: an edge pair that meets is first set one unit apart (right
// and bottom move), then the rectangle is moved into the page.
inline TextRect PlaceWordInPage(TextRect rect, int32_t width, int32_t height, int32_t down = 1) {
  if (rect.left == rect.right)
    rect.right = WrapAdd(rect.right, 1);
  if (rect.top == rect.bottom)
    rect.bottom = WrapAdd(rect.bottom, down);
  return KeepInPage(rect, width, height, down);
}

// The smallest rectangle holding both (an empty `into`, marked by `first`, takes `rect`).
inline void Unite(TextRect& into, const TextRect& rect, bool first) {
  if (first) {
    into = rect;
    return;
  }
  into.left = std::min(into.left, rect.left);
  into.top = std::min(into.top, rect.top);
  into.right = std::max(into.right, rect.right);
  into.bottom = std::max(into.bottom, rect.bottom);
}

// Left above right and top above bottom, as the XML formats' readers expect.
inline TextRect Ordered(TextRect rect) {
  if (rect.left > rect.right)
    std::swap(rect.left, rect.right);
  if (rect.top > rect.bottom)
    std::swap(rect.top, rect.bottom);
  return rect;
}
