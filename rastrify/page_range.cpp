#include "rastrify/page_range.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "common/numeric/decimal.h"
#include "rastrify/export_settings.h"

void SkipBlanks(const char*& cursor) {
  while (*cursor == ' ' || *cursor == '\t')
    ++cursor;
}

namespace {

// Reads the next item of the range list into RangeNext/RangeEnd. Returns false when the list
// is used up or the item reads as 0 at either end, which ends the page sequence.
bool ReadRangeItem(ExportSettings& s) {
  if (s.RangeCursor == nullptr)
    return false;
  SkipBlanks(s.RangeCursor);
  const char* comma = std::strchr(s.RangeCursor, ',');
  if (comma == nullptr && *s.RangeCursor == '\0')
    return false;
  const char* itemEnd = (comma != nullptr) ? comma : s.RangeCursor + std::strlen(s.RangeCursor);

  // The item is read from a copy that ends where the item ends, so nothing after its comma
  // (not even a dash) is taken for part of it. The argument strings stay untouched.
  const std::string item(s.RangeCursor, itemEnd);
  s.RangeNext = numeric::ReadDecimal(item.c_str());
  s.RangeEnd = s.RangeNext;
  std::string::size_type dash = item.find('-');
  if (dash != std::string::npos) {
    const char* last = item.c_str() + dash + 1;
    SkipBlanks(last);
    s.RangeEnd = numeric::ReadDecimal(last);
  }
  if (s.RangeNext == 0 || s.RangeEnd == 0)
    return false;
  s.RangeEnd += 1;
  s.RangeCursor = (comma != nullptr) ? comma + 1 : itemEnd;
  return true;
}

}  // namespace

bool NextPage(int32_t& page) {
  ExportSettings& s = gExportSettings;
  if (s.RangeText == nullptr) {
    // No page can be numbered past the largest 32-bit number; stopping there keeps the count
    // from wrapping to negative pages.
    if (page == INT32_MAX)
      return false;
    ++page;
    return true;
  }
  if (s.RangeNext >= s.RangeEnd && !ReadRangeItem(s))
    return false;
  page = static_cast<int32_t>(s.RangeNext);
  ++s.RangeNext;
  return true;
}
