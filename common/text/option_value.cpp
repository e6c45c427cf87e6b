#include "common/text/option_value.h"

namespace text {

bool TakeOptionValue(const char* attached, int argc, const char* const* argv, int& index,
                     const char*& value) {
  if (*attached != '\0') {
    value = attached;
    return true;
  }
  if (index + 1 >= argc)
    return false;
  value = argv[++index];
  return true;
}

}  // namespace text
