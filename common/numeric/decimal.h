// Decimal numbers as the C library's atoi reads them, without its undefined behaviour.
#pragma once

#include <cstdint>

namespace numeric {

// Skips leading white space, takes an optional sign and then the digits up to the first other
// character; no digits give 0. Values beyond the signed 32-bit range saturate at its limits.
// When end is not null it receives the position after the last character read.
int32_t ReadDecimal(const char* text, const char** end = nullptr);

}  // namespace numeric
