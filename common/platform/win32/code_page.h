// The narrow-name services of the Windows platform layer for an explicit code page, so that
// they can be checked with a double-byte code page whatever the system's ANSI code page is.
// The platform layer calls them with CP_ACP.
#pragma once

#include <string>

namespace platform {

// The position of the last '\\' or '/' (and ':' with withDriveColon) of a name in codePage,
// read character by character: a lead byte takes its trail byte with it. npos when none.
std::string::size_type LastDirSeparatorInCodePage(const std::string& name, bool withDriveColon,
                                                  unsigned codePage);

// The longest character of codePage in bytes (1 to MAX_NARROW_BYTES_PER_UNIT), or
// MAX_NARROW_BYTES_PER_UNIT when the code page is unknown.
int NarrowBytesPerUnitOfCodePage(unsigned codePage);

}  // namespace platform
