// Rectangles in pixels of the page image and the one rule by which every document format keeps
// them inside their page: widen a rectangle without width or height, clip it into the page,
// and keep it from collapsing on the page's edge. The recorder places every rectangle once;
// the djvused script writes the same rectangles measured from the page's bottom edge.
#pragma once

#include <algorithm>
#include <cstdint>
#include <utility>

struct TextRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

// Both edges within the span from 0 to side (a negative side spans from side to 0). Readers
// take an edge pair without extent for a corrupt layer, so edges that meet are set one unit
// apart: the second moves by `toward`, unless the page ends there, then the first moves back.
// In 64 bits, so that no edge a damaged file gives can wrap around. Inline: every character
// box of a page passes here.
inline void ClipEdges(int64_t first, int64_t second, int32_t side, int32_t toward,
                      int32_t& firstOut, int32_t& secondOut) {
  const int64_t low = std::min<int64_t>(0, side);
  const int64_t high = std::max<int64_t>(0, side);
  first = std::min(std::max(first, low), high);
  second = std::min(std::max(second, low), high);
  if (first == second) {
    if (second + toward >= low && second + toward <= high) {
      second += toward;
    } else {
      first -= toward;
    }
  }
  firstOut = static_cast<int32_t>(first);
  secondOut = static_cast<int32_t>(second);
}

// A rectangle of the page image moved into a page of width x height pixels.
inline TextRect KeepInPage(const TextRect& rect, int32_t width, int32_t height) {
  TextRect placed;
  ClipEdges(rect.left, rect.right, width, 1, placed.left, placed.right);
  ClipEdges(rect.top, rect.bottom, height, 1, placed.top, placed.bottom);
  return placed;
}

// A word or character rectangle: an edge pair that meets is first set one unit apart (right
// and bottom move), then the rectangle is moved into the page.
inline TextRect PlaceWordInPage(const TextRect& rect, int32_t width, int32_t height) {
  const int64_t right = int64_t{rect.right} + (rect.left == rect.right ? 1 : 0);
  const int64_t bottom = int64_t{rect.bottom} + (rect.top == rect.bottom ? 1 : 0);
  TextRect placed;
  ClipEdges(rect.left, right, width, 1, placed.left, placed.right);
  ClipEdges(rect.top, bottom, height, 1, placed.top, placed.bottom);
  return placed;
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
