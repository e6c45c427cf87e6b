#include "ocrsift/formats/page_file_settings.h"

#include <cstdio>

#include "common/numeric/decimal_format.h"

std::string GroupFileId(const char* group, int32_t pageNumber) {
  char number[numeric::kDecimalRoom + 2];
  std::snprintf(number, sizeof number, "_%04d", static_cast<int>(pageNumber));
  return group + std::string(number);
}
