// Composing one word entry: its rectangle and its text as escaped UTF-8.
#include "common/numeric/wrapping_int32.h"
#include "ocrsift/textlayer/page_rect.h"
#include "ocrsift/textlayer/script_text.h"
#include "ocrsift/textlayer/text_layer_writer.h"

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
