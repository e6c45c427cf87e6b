#include "ocrsift/formats/page_file_settings.h"

#include <cstdio>

#include "common/numeric/decimal_format.h"

std::string GroupFileId(const char* group, int32_t pageNumber) {
  char number[numeric::kDecimalRoom + 2];
  if (pageNumber < 0) {
    std::snprintf(number, sizeof number, "_%04d", static_cast<int>(pageNumber));
    return group + std::string(number);
  }
  // A few IDs a page: without the printf machinery.
  const size_t digits = static_cast<size_t>(numeric::PutDecimal(number, pageNumber) - number);
  std::string id(group);
  id += '_';
  if (digits < 4)
    id.append(4 - digits, '0');
  id.append(number, digits);
  return id;
}
