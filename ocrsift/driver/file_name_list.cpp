#include "ocrsift/driver/file_name_list.h"

#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "common/platform/platform.h"
#include "common/text/ascii_case.h"

namespace {

// The directory part of a name: up to and including its last directory separator (on Windows
// a drive's colon too: "D:*.frf" matches in the current folder of drive D).
std::string DirectoryPrefix(const std::string& name) {
  std::string::size_type cut = platform::LastDirSeparator(name, true);
  return cut == std::string::npos ? std::string() : name.substr(0, cut + 1);
}

// A list line with a directory part is taken as it stands (relative to the current directory,
// not to the list's); on Windows a drive letter's colon counts as one too.
bool HasDirectoryPart(const std::string& line) {
  return platform::LastDirSeparator(line, true) != std::string::npos;
}

// Reads one whole line, however long, without its line feed. A carriage return before the line
// feed belongs to the line end, as when reading text on Windows. False at the end of the file
// when nothing was read.
bool ReadLine(FILE* file, std::string& line) {
  line.clear();
  int c = std::getc(file);
  if (c == EOF)
    return false;
  while (c != EOF && c != '\n') {
    line.push_back(static_cast<char>(c));
    c = std::getc(file);
  }
  if (c == '\n' && !line.empty() && line.back() == '\r')
    line.pop_back();
  return true;
}

bool IsBlankOrTab(char c) {
  return c == ' ' || c == '\t';
}

std::string TrimBlanks(const std::string& text) {
  std::string::size_type first = 0;
  std::string::size_type end = text.size();
  while (first < end && IsBlankOrTab(text[first]))
    ++first;
  while (end > first && IsBlankOrTab(text[end - 1]))
    --end;
  return text.substr(first, end - first);
}

}  // namespace

void FileNameList::BuildFileNameList(const std::string& argument) {
  names_.Clear();
  valid_ = true;
  cursor_ = nullptr;
  if (!argument.empty() && argument[0] == '@') {
    std::string listPath = argument.substr(1);
    ReadListFile(listPath, DirectoryPrefix(listPath));
  } else if (argument.find_first_of("*?") != std::string::npos) {
    ExpandPattern(argument, DirectoryPrefix(argument));
  } else {
    AppendName(argument);
  }
  cursor_ = names_.First();
}

void FileNameList::ReadListFile(const std::string& listPath, const std::string& prefix) {
  FILE* file = std::fopen(listPath.c_str(), "r");
  if (file == nullptr) {
    valid_ = false;
    return;
  }
  std::string line;
  while (ReadLine(file, line)) {
    // A zero byte ends the text of a line, as it ends every name.
    std::string::size_type zero = line.find('\0');
    if (zero != std::string::npos)
      line.erase(zero);
    std::string entry = TrimBlanks(line);
    if (entry.empty() || entry[0] == ';' || entry[0] == '#')
      continue;
    std::string name = HasDirectoryPart(entry) ? entry : prefix + entry;
    if (!platform::FileExists(name)) {
      // Straight to standard error, whatever the error channel is, and every missing name of
      // the list is reported before the run ends.
      std::fprintf(stderr, "\n *** Missing file \"%s\"", name.c_str());
      valid_ = false;
      continue;
    }
    AppendName(name);
  }
  std::fclose(file);
}

void FileNameList::ExpandPattern(const std::string& pattern, const std::string& prefix) {
  std::vector<std::string> matches = platform::FindFiles(pattern);
  for (const std::string& match : matches)
    AppendName(prefix + match);
  names_.Sort([](const ListNode* a, const ListNode* b) {
    return CompareNames(static_cast<const StringNode&>(*a), static_cast<const StringNode&>(*b));
  });
}

void FileNameList::AppendName(const std::string& name) {
  StringNode* node = new (std::nothrow) StringNode(name);
  if (node == nullptr || !node->HasValue()) {
    // The driver then ends the run as for a list it cannot use, rather than skip a page.
    delete node;
    valid_ = false;
    return;
  }
  names_.Append(node);
}

bool FileNameList::NextName(std::string& name) {
  if (cursor_ == nullptr)
    return false;
  name = static_cast<const StringNode*>(cursor_)->Value();
  cursor_ = NodeList::NextOf(cursor_);
  return true;
}

int32_t FileNameList::CompareNames(const StringNode& a, const StringNode& b) {
  const auto* p = reinterpret_cast<const unsigned char*>(a.Value());
  const auto* q = reinterpret_cast<const unsigned char*>(b.Value());
  for (;; ++p, ++q) {
    if (*p != *q) {
      int32_t x = text::FoldAsciiCase(*p);
      int32_t y = text::FoldAsciiCase(*q);
      if (x != y)
        return x < y ? -1 : 1;
    } else if (*p == '\0') {
      return 0;
    }
  }
}
