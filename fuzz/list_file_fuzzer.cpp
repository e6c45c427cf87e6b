// The list-file reader over arbitrary list files, checked against a small model: lines end at
// a line feed (a carriage return before it belongs to the line end), a zero byte ends a line's
// text, blanks and tabs around a name are removed, empty lines and lines beginning with ";" or
// "#" are comments, a name without "/" is taken relative to the list's folder, and a name that
// does not exist makes the list invalid. The folder holds a few files for the list to name.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ocrsift/driver/file_name_list.h"

namespace {

std::string& Folder() {
  static std::string folder;
  return folder;
}

void RemoveFolder() {
  for (const char* name : {"/list.lst", "/a.frf", "/B.frf", "/sub/c.frf"})
    std::remove((Folder() + name).c_str());
  rmdir((Folder() + "/sub").c_str());
  rmdir(Folder().c_str());
}

void Touch(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "w");
  if (file == nullptr)
    std::abort();
  std::fclose(file);
}

void Prepare() {
  if (!Folder().empty())
    return;
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern =
      std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/ocrsift-list-XXXXXX";
  if (mkdtemp(&pattern[0]) == nullptr)
    std::abort();
  Folder() = pattern;
  std::atexit(RemoveFolder);
  if (mkdir((pattern + "/sub").c_str(), 0700) != 0)
    std::abort();
  Touch(pattern + "/a.frf");
  Touch(pattern + "/B.frf");
  Touch(pattern + "/sub/c.frf");
}

bool Exists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

std::string Trim(const std::string& text) {
  size_t first = 0;
  size_t end = text.size();
  while (first < end && (text[first] == ' ' || text[first] == '\t'))
    ++first;
  while (end > first && (text[end - 1] == ' ' || text[end - 1] == '\t'))
    --end;
  return text.substr(first, end - first);
}

void Expect(const std::string& list, const std::string& prefix, std::vector<std::string>& names,
            bool& valid) {
  valid = true;
  size_t start = 0;
  while (start < list.size()) {
    size_t end = list.find('\n', start);
    const bool lineFeed = end != std::string::npos;
    if (!lineFeed)
      end = list.size();
    std::string line = list.substr(start, end - start);
    start = lineFeed ? end + 1 : end;
    if (lineFeed && !line.empty() && line.back() == '\r')
      line.pop_back();
    const size_t zero = line.find('\0');
    if (zero != std::string::npos)
      line.erase(zero);
    const std::string entry = Trim(line);
    if (entry.empty() || entry[0] == ';' || entry[0] == '#')
      continue;
    const std::string name = entry.find('/') != std::string::npos ? entry : prefix + entry;
    if (!Exists(name)) {
      valid = false;
      continue;
    }
    names.push_back(name);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Prepare();
  const std::string listPath = Folder() + "/list.lst";
  FILE* file = std::fopen(listPath.c_str(), "wb");
  if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0)
    std::abort();

  FileNameList list("@" + listPath);
  std::vector<std::string> names;
  std::string name;
  while (list.NextName(name))
    names.push_back(name);

  std::vector<std::string> expected;
  bool valid = true;
  Expect(std::string(reinterpret_cast<const char*>(data), size), Folder() + "/", expected, valid);
  if (list.IsValid() != valid || static_cast<size_t>(list.NameCount()) != names.size() ||
      names != expected) {
    std::fprintf(stderr, "\n*** the list differs from the model (valid %d, model %d)\n",
                 list.IsValid(), valid);
    for (const std::string& n : names)
      std::fprintf(stderr, "  read  [%s]\n", n.c_str());
    for (const std::string& n : expected)
      std::fprintf(stderr, "  model [%s]\n", n.c_str());
    std::abort();
  }
  return 0;
}
