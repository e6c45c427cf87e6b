#include "common/text/option_value.h"

namespace text {

namespace {

const char* TextOf(const char* argument) {
  return argument != nullptr ? argument : "";
}

}  // namespace

bool TakeOptionText(int argc, const char* const* argv, int& index, const char*& option) {
  const char* text = TextOf(argv[index]) + 1;
  if (*text == '\0') {
    if (index + 1 >= argc)
      return false;
    text = TextOf(argv[++index]);
  }
  option = text;
  return true;
}

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
