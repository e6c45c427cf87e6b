// Rectangles in pixels of the page image (y grows downward) and how every output format
// keeps them inside their page.
#pragma once

#include <cstdint>

struct TextRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

// Both edges within the span from 0 to side (a negative side spans from side to 0). Readers
// take an edge pair without extent for a corrupt layer, so edges that meet are set one unit
// apart: the second moves by `toward`, unless the page ends there, then the first moves back.
void ClipEdges(int32_t& first, int32_t& second, int32_t side, int32_t toward);

// A line rectangle moved into a page of width x height pixels.
TextRect ClipToPage(TextRect rect, int32_t width, int32_t height);

// A word rectangle: an edge pair that meets is first set one unit apart (right and bottom
// grow), then the rectangle is moved into the page.
TextRect PlaceWordInPage(TextRect rect, int32_t width, int32_t height);
