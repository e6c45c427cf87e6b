#include "common/list/string_node.h"

#include <cstring>
#include <new>

StringNode::StringNode(const char* text) {
  if (text == nullptr)
    text = "";
  CopyFrom(text, std::strlen(text));
}

StringNode::StringNode(const std::string& text) {
  CopyFrom(text.c_str(), text.size());
}

void StringNode::CopyFrom(const char* text, size_t length) {
  // The owner of the list decides what a failed copy means, so it is reported, not thrown.
  value_.reset(new (std::nothrow) char[length + 1]);
  if (value_ == nullptr)
    return;
  std::memcpy(value_.get(), text, length);
  value_[length] = '\0';
}

int32_t StringNode::Compare(const ListNode& other) const {
  const auto* text = dynamic_cast<const StringNode*>(&other);
  if (text == nullptr) {
    // An element of another class has no text to compare with; order by class instead.
    int32_t otherKind = other.Kind();
    return Kind() < otherKind ? -1 : (Kind() > otherKind ? 1 : 0);
  }
  int result = std::strcmp(Value(), text->Value());
  return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

void StringNode::Print(FILE* stream, uint32_t /*extra*/) const {
  std::fprintf(stream, "%s", Value());
}

void StringNode::PrintPlain(FILE* stream) const {
  std::fputs(Value(), stream);
}

int32_t StringNode::Probe(uint32_t /*value*/) {
  return 0;
}
