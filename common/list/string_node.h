// A list element that owns a copy of one string.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "common/list/list_node.h"

class StringNode final : public ListNode {
 public:
  explicit StringNode(const char* text);
  explicit StringNode(const std::string& text);

  // False when the copy of the string could not be allocated; Value() is then "".
  bool HasValue() const { return value_ != nullptr; }
  const char* Value() const { return value_ ? value_.get() : ""; }

  // Case-sensitive byte-wise order of the two texts.
  int32_t Compare(const ListNode& other) const override;
  void Print(FILE* stream, uint32_t extra) const override;
  void PrintPlain(FILE* stream) const override;
  int32_t Probe(uint32_t value) override;
  int32_t Kind() const override { return -1; }

 private:
  void CopyFrom(const char* text, size_t length);

  std::unique_ptr<char[]> value_;  // exactly length + 1 bytes
};
