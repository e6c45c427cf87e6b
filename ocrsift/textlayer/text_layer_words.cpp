// Composing one word entry: its rectangle and its text as escaped UTF-8.
#include <algorithm>

#include "common/numeric/wrapping_int32.h"
#include "ocrsift/textlayer/script_text.h"
#include "ocrsift/textlayer/text_layer_writer.h"

namespace {

// Both edges within the span from 0 to side (a negative side spans from side to 0). djvused
// takes an edge pair without extent for a corrupt layer, so edges that meet are set one unit
// apart: the second moves by `toward`, as the edge rule moves it, unless the page ends there.
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

}  // namespace

void TextLayerWriter::ClipToPage(int32_t& left, int32_t& upper, int32_t& right,
                                 int32_t& lower) const {
  ClipEdges(left, right, pageWidth_, 1);
  ClipEdges(upper, lower, pageHeight_, -1);
}

void TextLayerWriter::AppendWordEntry(ScriptText& entry, int32_t left, int32_t upper, int32_t right,
                                      int32_t lower, const char* utf8, int32_t size) {
  if (left == right)
    right = WrapAdd(right, 1);
  if (upper == lower)
    lower = WrapSub(lower, 1);
  ClipToPage(left, upper, right, lower);
  entry.AppendLiteral("\n  (word");
  entry.AppendBlankAndNumber(left);
  entry.AppendBlankAndNumber(upper);
  entry.AppendBlankAndNumber(right);
  entry.AppendBlankAndNumber(lower);
  entry.AppendLiteral(" \"");
  entry.AppendEscaped(utf8, size);
  entry.AppendLiteral("\")");
}
