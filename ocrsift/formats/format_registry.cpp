#include "ocrsift/formats/format_registry.h"

#include <cstring>
#include <iterator>

#include "ocrsift/formats/document_formats.h"

namespace {

constexpr bool kText = false;
constexpr bool kBinary = true;

const FormatRow kRows[] = {
#define STREAM_FORMAT(name, binary, factory) \
  {#name, FormatKind::kStream, k##binary, factory, nullptr},
#define PAGE_FILE_FORMAT(name, binary, factory) \
  {#name, FormatKind::kPageFile, k##binary, nullptr, factory},
#include "ocrsift/formats/format_rows.def"
#undef STREAM_FORMAT
#undef PAGE_FILE_FORMAT
};

static_assert(std::size(kRows) > 0, "a run always has a format to write");

}  // namespace

const FormatRow* FormatRows::begin() const {
  return std::begin(kRows);
}

const FormatRow* FormatRows::end() const {
  return std::end(kRows);
}

FormatRows AllFormats() {
  return FormatRows();
}

const FormatRow& DefaultFormat() {
  return kRows[0];
}

const FormatRow* FindFormat(const char* name) {
  for (const FormatRow& row : kRows) {
    if (std::strcmp(name, row.name) == 0)
      return &row;
  }
  return nullptr;
}

std::string FormatNames(bool markDefault) {
  std::string names;
  for (const FormatRow& row : kRows) {
    if (!names.empty())
      names += ", ";
    names += row.name;
    if (markDefault && &row == &DefaultFormat())
      names += " (default)";
  }
  return names;
}
