#include "ocrsift/formats/page_image_name.h"

#include <cstdio>

#include "common/numeric/decimal_format.h"
#include "common/text/ascii_case.h"
#include "common/text/utf8.h"

namespace {

constexpr uint32_t kReplacement = 0xFFFD;

bool IsNameSeparator(uint16_t unit) {
  return unit == '\\' || unit == '/' || unit == ':';
}

// Tab, line feed and carriage return are allowed in XML but not wanted in a file name that
// tools split at blanks and line ends.
bool IsNameCharacter(uint32_t c) {
  return c >= 0x20 && c != 0xFFFE && c != 0xFFFF && !(c >= 0xD800 && c <= 0xDFFF);
}

// As rastrify names the page it exports ("%04d": a negative number's sign counts as a digit).
std::string DefaultName(int32_t pageNumber) {
  char name[sizeof "page.tif" + numeric::kDecimalRoom];
  std::snprintf(name, sizeof name, "page%04d.tif", static_cast<int>(pageNumber));
  return name;
}

}  // namespace

std::string PageImageName(const UnitText& imageName, int32_t pageNumber) {
  size_t start = imageName.size();
  while (start > 0 && !IsNameSeparator(imageName[start - 1]))
    --start;
  const int32_t count = static_cast<int32_t>(imageName.size() - start);
  const uint16_t* units = imageName.data() + start;
  std::string name;
  char bytes[text::kMaxUtf8Bytes];
  for (int32_t i = 0; i < count;) {
    uint32_t c = text::NextCharacter(units, count, i);
    if (!IsNameCharacter(c))
      c = kReplacement;
    name.append(bytes, text::PutUtf8(bytes, c));
  }
  if (name.empty() || name == "." || name == "..")
    return DefaultName(pageNumber);
  return name;
}

const char* MimeTypeOfImageName(const std::string& name) {
  struct Extension {
    const char* extension;
    const char* type;
  };
  static const Extension kTypes[] = {
      {"tif", "image/tiff"},
      {"tiff", "image/tiff"},
      {"png", "image/png"},
      {"jpg", "image/jpeg"},
      {"jpeg", "image/jpeg"},
      {"jpe", "image/jpeg"},
      {"jp2", "image/jp2"},
      {"j2k", "image/jp2"},
      {"jpx", "image/jpx"},
      {"bmp", "image/bmp"},
      {"gif", "image/gif"},
      {"pbm", "image/x-portable-bitmap"},
      {"pgm", "image/x-portable-graymap"},
      {"ppm", "image/x-portable-pixmap"},
      {"pnm", "image/x-portable-anymap"},
      {"webp", "image/webp"},
      {"djvu", "image/vnd.djvu"},
      {"djv", "image/vnd.djvu"},
  };
  const std::string::size_type dot = name.rfind('.');
  if (dot != std::string::npos) {
    std::string extension;
    for (std::string::size_type i = dot + 1; i < name.size(); ++i)
      extension += static_cast<char>(text::FoldAsciiCase(static_cast<unsigned char>(name[i])));
    for (const Extension& known : kTypes) {
      if (extension == known.extension)
        return known.type;
    }
  }
  return "application/octet-stream";
}
