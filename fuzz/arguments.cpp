#include "fuzz/arguments.h"

#include <cctype>

namespace fuzz_support {

std::vector<std::string> SplitArguments(const uint8_t* data, size_t size, size_t maxArguments) {
  std::vector<std::string> arguments = {"program"};
  std::string current;
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0 && arguments.size() < maxArguments) {
      arguments.push_back(current);
      current.clear();
    } else if (data[i] != 0) {
      current.push_back(static_cast<char>(data[i]));
    }
  }
  if (size > 0)
    arguments.push_back(current);
  return arguments;
}

std::vector<const char*> ArgumentPointers(const std::vector<std::string>& arguments) {
  std::vector<const char*> pointers;
  for (const std::string& argument : arguments)
    pointers.push_back(argument.c_str());
  pointers.push_back(nullptr);
  return pointers;
}

int32_t ModelDecimal(const char* text) {
  while (*text == ' ' || *text == '\t' || *text == '\n' || *text == '\v' || *text == '\f' ||
         *text == '\r')
    ++text;
  bool negative = false;
  if (*text == '+' || *text == '-') {
    negative = (*text == '-');
    ++text;
  }
  int64_t value = 0;
  while (*text >= '0' && *text <= '9') {
    if (value <= 2147483648LL)
      value = value * 10 + (*text - '0');
    ++text;
  }
  if (negative)
    value = -value;
  if (value > 2147483647LL)
    return 2147483647;
  if (value < -2147483648LL)
    return -2147483647 - 1;
  return static_cast<int32_t>(value);
}

}  // namespace fuzz_support
