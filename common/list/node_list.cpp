#include "common/list/node_list.h"

namespace {

// Merges the runs a and b, each ended by a next pointing at the tail sentinel z, into one run
// ended the same way. z's next serves as the head of the merged chain while merging and points
// back at z afterwards. On a tie the element of a (the one that stood earlier) comes first.
ListNode* Merge(ListNode* a, ListNode* b, ListNode* z, ListCompare compare, ListNode** last) {
  ListNode* c = z;
  while (a != z && b != z) {
    if (compare(a, b) > 0) {
      c->next = b;
      c = b;
      b = b->next;
    } else {
      c->next = a;
      c = a;
      a = a->next;
    }
  }
  if (a != z)
    c->next = a;
  if (b != z)
    c->next = b;
  while (c->next != z)
    c = c->next;
  *last = c;
  ListNode* first = z->next;
  z->next = z;
  return first;
}

// Advances along next; a step from the tail sentinel stays on it, as its next points to itself.
ListNode* Advance(ListNode* node, uint64_t steps) {
  for (uint64_t i = 0; i < steps; ++i)
    node = node->next;
  return node;
}

}  // namespace

NodeList::NodeList() {
  LinkEmpty();
}

NodeList::~NodeList() {
  Clear();
}

void NodeList::LinkEmpty() {
  count_ = 0;
  head_.prev = &head_;
  head_.next = &tail_;
  tail_.prev = &head_;
  tail_.next = &tail_;
}

void NodeList::Clear() {
  ListNode* node = head_.next;
  while (node != &tail_) {
    ListNode* following = node->next;
    delete node;
    node = following;
  }
  LinkEmpty();
}

void NodeList::InsertAfter(ListNode* element, ListNode* position) {
  element->next = position->next;
  position->next = element;
  element->prev = position;
  element->next->prev = element;
  ++count_;
}

ListNode* NodeList::UnlinkAfter(ListNode* position) {
  ListNode* element = position->next;
  element->next->prev = position;
  position->next = element->next;
  --count_;
  return element;
}

ListNode* NodeList::First() const {
  return head_.next == &tail_ ? nullptr : head_.next;
}

ListNode* NodeList::Last() const {
  return tail_.prev == &head_ ? nullptr : tail_.prev;
}

ListNode* NodeList::NextOf(const ListNode* element) {
  ListNode* following = element->next;
  return following->next == following ? nullptr : following;
}

ListNode* NodeList::PrevOf(const ListNode* element) {
  ListNode* preceding = element->prev;
  return preceding->prev == preceding ? nullptr : preceding;
}

void NodeList::ForEach(ListVisitor fn, void* user) {
  ListNode* node = head_.next;
  while (node != &tail_) {
    fn(node, user);
    node = node->next;
  }
}

bool NodeList::MoveIf(ListPredicate predicate, NodeList& destination, void* user) {
  bool moved = false;
  ListNode* node = head_.next;
  while (node != &tail_) {
    ListNode* following = node->next;
    if (predicate(node, user) != 0) {
      destination.Append(UnlinkAfter(node->prev));
      moved = true;
    }
    node = following;
  }
  return moved;
}

void NodeList::Sort(ListCompare compare) {
  ListNode* const h = &head_;
  ListNode* const z = &tail_;
  uint64_t n = 1;
  ListNode* a = z;
  // Each pass merges neighbouring runs of n elements. The sort is done after a pass whose only
  // pair began at the first element and left it first.
  while (a != h->next) {
    ListNode* rest = h->next;
    ListNode* c = h;
    while (rest != z) {
      a = rest;
      ListNode* t = Advance(a, n - 1);
      ListNode* b = t->next;
      t->next = z;
      t = Advance(b, n - 1);
      rest = t->next;
      t->next = z;
      ListNode* last = nullptr;
      c->next = Merge(a, b, z, compare, &last);
      c = last;
    }
    n *= 2;
  }
  // The merges maintain only the next chain.
  ListNode* p = h;
  ListNode* x = h->next;
  for (;;) {
    x->prev = p;
    if (x == z)
      break;
    p = p->next;
    x = x->next;
  }
}
