// Argument vectors cut from fuzz input, and a small model of how C's atoi reads a number.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fuzz_support {

// The input split at its zero bytes into at most maxArguments arguments (the last one takes
// the rest), after a program name.
std::vector<std::string> SplitArguments(const uint8_t* data, size_t size, size_t maxArguments);

// The pointers a main() would receive; valid while arguments lives.
std::vector<const char*> ArgumentPointers(const std::vector<std::string>& arguments);

// Leading white space, a sign and decimal digits; no digits give 0; values beyond 32 bits
// saturate.
int32_t ModelDecimal(const char* text);

}  // namespace fuzz_support
