#include "common/platform/win32/code_page.h"

#include <windows.h>

#include "common/platform/platform.h"

namespace platform {

std::string::size_type LastDirSeparatorInCodePage(const std::string& name, bool withDriveColon,
                                                  unsigned codePage) {
  std::string::size_type last = std::string::npos;
  for (std::string::size_type i = 0; i < name.size(); ++i) {
    const char c = name[i];
    if (IsDBCSLeadByteEx(codePage, static_cast<BYTE>(c)) && i + 1 < name.size()) {
      ++i;  // the trail byte belongs to this character, whatever its value
    } else if (IsDirSeparator(c) || (withDriveColon && c == ':')) {
      last = i;
    }
  }
  return last;
}

int NarrowBytesPerUnitOfCodePage(unsigned codePage) {
  CPINFO info;
  if (!GetCPInfo(codePage, &info) || info.MaxCharSize < 1 ||
      info.MaxCharSize > static_cast<UINT>(MAX_NARROW_BYTES_PER_UNIT)) {
    return MAX_NARROW_BYTES_PER_UNIT;
  }
  return static_cast<int>(info.MaxCharSize);
}

}  // namespace platform
