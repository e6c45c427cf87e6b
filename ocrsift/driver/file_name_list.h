// The ordered list of FRF files named by the positional argument of ocrsift: "@" and a list
// file (one name per line), a pattern with "*" or "?" (sorted by name without regard to letter
// case), or one file name taken unchanged.
#pragma once

#include <cstdint>
#include <string>

#include "common/list/node_list.h"
#include "common/list/string_node.h"

class FileNameList {
 public:
  FileNameList() = default;
  explicit FileNameList(const std::string& argument) { BuildFileNameList(argument); }
  FileNameList(const FileNameList&) = delete;
  FileNameList& operator=(const FileNameList&) = delete;
  ~FileNameList() { names_.Clear(); }

  // Fills the list from the positional argument, replacing what it held. Never fails as a whole: a
  // list file that cannot be opened, a missing file named in it or an element that cannot be
  // allocated turn the list invalid; a pattern without matches leaves it empty and valid.
  void BuildFileNameList(const std::string& argument);

  bool IsValid() const { return valid_; }
  int32_t NameCount() const { return names_.Count(); }

  // Delivers the next name and moves on; false (name unchanged) when all have been delivered.
  bool NextName(std::string& name);
  // The next NextName delivers the first name again.
  void Rewind() { cursor_ = names_.First(); }

  // Byte-wise order in which only A-Z fold to a-z; a name that ends first sorts first.
  static int32_t CompareNames(const StringNode& a, const StringNode& b);

 private:
  void ReadListFile(const std::string& listPath, const std::string& prefix);
  void ExpandPattern(const std::string& pattern, const std::string& prefix);
  void AppendName(const std::string& name);

  bool valid_ = true;
  NodeList names_;
  ListNode* cursor_ = nullptr;
};
