// An intrusive doubly linked list with a head and a tail sentinel embedded in the list
// object, and a stable bottom-up merge sort that relinks the elements in place.
//
// The list owns the elements inserted into it and deletes them through their virtual
// destructor; UnlinkAfter and Unlink hand an element back to the caller undeleted. No
// operation validates its arguments: positions and elements must belong to this list.
#pragma once

#include <cstdint>
#include <cstdio>

#include "common/list/list_node.h"

// fn(element, user); the result is ignored by ForEach.
using ListVisitor = int32_t (*)(ListNode* element, void* user);
// Non-zero selects the element.
using ListPredicate = int32_t (*)(ListNode* element, void* user);
// Negative, zero or positive as a sorts before, equal to or after b.
using ListCompare = int32_t (*)(const ListNode* a, const ListNode* b);

// The two ends of a list: link structure only, no payload.
class ListSentinel final : public ListNode {
 public:
  int32_t Compare(const ListNode&) const override { return 0; }
  void Print(FILE*, uint32_t) const override {}
  void PrintPlain(FILE*) const override {}
  int32_t Probe(uint32_t) override { return 0; }
  int32_t Kind() const override { return 0; }
};

class NodeList {
 public:
  NodeList();
  ~NodeList();
  // The sentinels link to themselves, so a list can be neither copied nor moved.
  NodeList(const NodeList&) = delete;
  NodeList& operator=(const NodeList&) = delete;

  // Deletes every element, first to last, and leaves the list empty.
  void Clear();

  // Links element (in no list) directly after position (an element or Head()).
  void InsertAfter(ListNode* element, ListNode* position);
  void Prepend(ListNode* element) { InsertAfter(element, Head()); }
  void Append(ListNode* element) { InsertAfter(element, tail_.prev); }

  // Takes out the element directly after position and returns it; its own links are left as
  // they were. position's successor must be an element.
  ListNode* UnlinkAfter(ListNode* position);
  ListNode* Unlink(ListNode* element) { return UnlinkAfter(element->prev); }

  ListNode* Head() { return &head_; }
  ListNode* Tail() { return &tail_; }

  // Null when the list is empty.
  ListNode* First() const;
  ListNode* Last() const;
  // Null at either end of the list.
  static ListNode* NextOf(const ListNode* element);
  static ListNode* PrevOf(const ListNode* element);

  // Calls fn for every element, first to last. fn must not remove the element it is given.
  void ForEach(ListVisitor fn, void* user);
  // Moves every element that predicate selects to the end of destination, in list order.
  // True when any element moved.
  bool MoveIf(ListPredicate predicate, NodeList& destination, void* user);
  // Stable ascending sort; allocates nothing and does not recurse.
  void Sort(ListCompare compare);

  int32_t Count() const { return count_; }

 private:
  void LinkEmpty();

  int32_t count_ = 0;
  ListSentinel head_;
  ListSentinel tail_;
};
