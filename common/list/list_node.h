// The base of every element of a NodeList: an element carries its own links, so inserting it
// into a list allocates nothing.
#pragma once

#include <cstdint>
#include <cstdio>

class ListNode {
 public:
  ListNode() = default;
  ListNode(const ListNode&) = delete;
  ListNode& operator=(const ListNode&) = delete;
  // The list deletes its elements through this pointer type.
  virtual ~ListNode() = default;

  // Negative, zero or positive as this element sorts before, equal to or after other.
  virtual int32_t Compare(const ListNode& other) const = 0;
  // Writes the element's text; extra is part of the signature and not used by the elements.
  virtual void Print(FILE* stream, uint32_t extra) const = 0;
  virtual void PrintPlain(FILE* stream) const = 0;
  virtual int32_t Probe(uint32_t value) = 0;
  // A constant of the element class.
  virtual int32_t Kind() const = 0;

  // A node whose prev (or next) points to itself is a sentinel of a list.
  ListNode* prev = nullptr;
  ListNode* next = nullptr;
};
