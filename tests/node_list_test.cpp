#include "common/list/node_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "common/list/string_node.h"

namespace {

int gDestroyed = 0;
int gComparisons = 0;

// An element with a sort key and an identity, so that stability can be seen.
class KeyNode final : public ListNode {
 public:
  KeyNode(int key, int id) : key(key), id(id) {}
  ~KeyNode() override { ++gDestroyed; }
  int32_t Compare(const ListNode& other) const override {
    return key - static_cast<const KeyNode&>(other).key;
  }
  void Print(FILE* stream, uint32_t) const override { std::fprintf(stream, "%d", key); }
  void PrintPlain(FILE* stream) const override { Print(stream, 0); }
  int32_t Probe(uint32_t) override { return key; }
  int32_t Kind() const override { return 7; }

  int key;
  int id;
};

int32_t CountingCompare(const ListNode* a, const ListNode* b) {
  ++gComparisons;
  return static_cast<const KeyNode*>(a)->key - static_cast<const KeyNode*>(b)->key;
}

void Fill(NodeList& list, const std::vector<int>& keys) {
  for (size_t i = 0; i < keys.size(); ++i)
    list.Append(new KeyNode(keys[i], static_cast<int>(i)));
}

// (key, id) pairs front to back, after checking that both link directions and the count agree.
std::vector<std::pair<int, int>> Contents(NodeList& list) {
  std::vector<std::pair<int, int>> forward;
  for (ListNode* x = list.First(); x != nullptr; x = NodeList::NextOf(x)) {
    const auto* node = static_cast<const KeyNode*>(x);
    forward.emplace_back(node->key, node->id);
  }
  std::vector<std::pair<int, int>> backward;
  for (ListNode* x = list.Last(); x != nullptr; x = NodeList::PrevOf(x)) {
    const auto* node = static_cast<const KeyNode*>(x);
    backward.emplace_back(node->key, node->id);
  }
  std::reverse(backward.begin(), backward.end());
  EXPECT_EQ(forward, backward);
  EXPECT_EQ(static_cast<int32_t>(forward.size()), list.Count());
  ListNode* head = list.Head();
  ListNode* tail = list.Tail();
  EXPECT_EQ(head->prev, head);
  EXPECT_EQ(tail->next, tail);
  for (ListNode* x = head->next; x != tail; x = x->next) {
    EXPECT_EQ(x->next->prev, x);
    EXPECT_EQ(x->prev->next, x);
  }
  return forward;
}

std::vector<int> Keys(NodeList& list) {
  std::vector<int> keys;
  for (const auto& entry : Contents(list))
    keys.push_back(entry.first);
  return keys;
}

int SortAndCount(const std::vector<int>& keys, std::vector<int>* sorted = nullptr) {
  NodeList list;
  Fill(list, keys);
  gComparisons = 0;
  list.Sort(CountingCompare);
  if (sorted != nullptr)
    *sorted = Keys(list);
  return gComparisons;
}

TEST(NodeListTest, EmptyListEndsAreNullAndLinksAreWhole) {
  NodeList list;
  EXPECT_EQ(list.First(), nullptr);
  EXPECT_EQ(list.Last(), nullptr);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Head()->next, list.Tail());
  EXPECT_EQ(list.Tail()->prev, list.Head());

  list.Append(new KeyNode(1, 0));
  list.Append(new KeyNode(2, 1));
  EXPECT_EQ(NodeList::PrevOf(list.First()), nullptr);
  EXPECT_EQ(NodeList::NextOf(list.Last()), nullptr);
  EXPECT_EQ(NodeList::NextOf(list.First()), list.Last());
  EXPECT_EQ(NodeList::PrevOf(list.Last()), list.First());
}

TEST(NodeListTest, InsertAndUnlinkKeepOrderAndCount) {
  NodeList list;
  auto* two = new KeyNode(2, 0);
  list.Append(two);
  list.Prepend(new KeyNode(1, 1));
  list.Append(new KeyNode(4, 2));
  list.InsertAfter(new KeyNode(3, 3), two);
  EXPECT_EQ(Keys(list), (std::vector<int>{1, 2, 3, 4}));

  ListNode* removed = list.Unlink(two);
  EXPECT_EQ(removed, two);
  EXPECT_EQ(Keys(list), (std::vector<int>{1, 3, 4}));
  ListNode* first = list.UnlinkAfter(list.Head());
  EXPECT_EQ(static_cast<KeyNode*>(first)->key, 1);
  EXPECT_EQ(Keys(list), (std::vector<int>{3, 4}));

  // Unlinked elements belong to the caller again and may go into another list.
  NodeList other;
  other.Append(first);
  other.Append(removed);
  EXPECT_EQ(Keys(other), (std::vector<int>{1, 2}));
}

TEST(NodeListTest, ClearAndDestructionDeleteEveryElement) {
  gDestroyed = 0;
  {
    NodeList list;
    Fill(list, {5, 6, 7});
    list.Clear();
    EXPECT_EQ(gDestroyed, 3);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.First(), nullptr);
    Fill(list, {8, 9});
    EXPECT_EQ(Keys(list), (std::vector<int>{8, 9}));
  }
  EXPECT_EQ(gDestroyed, 5);
}

TEST(NodeListTest, ForEachVisitsFirstToLast) {
  NodeList list;
  Fill(list, {3, 1, 2});
  std::vector<int> seen;
  list.ForEach(
      [](ListNode* element, void* user) -> int32_t {
        static_cast<std::vector<int>*>(user)->push_back(static_cast<KeyNode*>(element)->key);
        return 1;
      },
      &seen);
  EXPECT_EQ(seen, (std::vector<int>{3, 1, 2}));
}

int32_t IsEven(ListNode* element, void*) {
  return static_cast<KeyNode*>(element)->key % 2 == 0;
}
int32_t Always(ListNode*, void*) {
  return 1;
}
int32_t Never(ListNode*, void*) {
  return 0;
}

TEST(NodeListTest, MoveIfMovesSelectedElementsInOrder) {
  NodeList source;
  NodeList destination;
  Fill(source, {1, 2, 3, 4, 6});
  destination.Append(new KeyNode(0, 99));

  EXPECT_FALSE(source.MoveIf(Never, destination, nullptr));
  EXPECT_EQ(Keys(source), (std::vector<int>{1, 2, 3, 4, 6}));
  EXPECT_EQ(Keys(destination), (std::vector<int>{0}));

  EXPECT_TRUE(source.MoveIf(IsEven, destination, nullptr));
  EXPECT_EQ(Keys(source), (std::vector<int>{1, 3}));
  EXPECT_EQ(Keys(destination), (std::vector<int>{0, 2, 4, 6}));

  EXPECT_TRUE(source.MoveIf(Always, destination, nullptr));
  EXPECT_EQ(source.Count(), 0);
  EXPECT_EQ(source.First(), nullptr);
  EXPECT_EQ(Keys(destination), (std::vector<int>{0, 2, 4, 6, 1, 3}));
  EXPECT_FALSE(source.MoveIf(Always, destination, nullptr));
}

TEST(NodeListTest, SortComparisonCountsFollowTheMergeOrder) {
  std::vector<int> sorted;
  EXPECT_EQ(SortAndCount({}, &sorted), 0);
  EXPECT_TRUE(sorted.empty());
  EXPECT_EQ(SortAndCount({42}, &sorted), 0);
  EXPECT_EQ(sorted, (std::vector<int>{42}));
  EXPECT_EQ(SortAndCount({5, 4, 3, 2, 1}, &sorted), 5);
  EXPECT_EQ(sorted, (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(SortAndCount({1, 2, 3, 4, 5}, &sorted), 8);
  EXPECT_EQ(sorted, (std::vector<int>{1, 2, 3, 4, 5}));
  // Runs of 1, 2, 4: 1 + 1, then 2 + 2, then 1 (the smallest comes first at once).
  EXPECT_EQ(SortAndCount({2, 1, 4, 3, 0}, &sorted), 5);
  EXPECT_EQ(sorted, (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST(NodeListTest, SortIsStable) {
  NodeList list;
  Fill(list, {0, 0, 0, 0, 0, 0, 0});
  list.Sort(CountingCompare);
  std::vector<std::pair<int, int>> expected;
  for (int i = 0; i < 7; ++i)
    expected.emplace_back(0, i);
  EXPECT_EQ(Contents(list), expected);

  NodeList mixed;
  Fill(mixed, {3, 1, 3, 2, 1, 3});
  mixed.Sort(CountingCompare);
  EXPECT_EQ(Contents(mixed),
            (std::vector<std::pair<int, int>>{{1, 1}, {1, 4}, {2, 3}, {3, 0}, {3, 2}, {3, 5}}));
  // Of equal greatest elements, the one that stood last is last.
  EXPECT_EQ(static_cast<KeyNode*>(mixed.Last())->id, 5);
}

TEST(NodeListTest, SortMatchesStableSortOnRandomInput) {
  std::mt19937 random(12345);
  for (int round = 0; round < 300; ++round) {
    int size = static_cast<int>(random() % 70);
    int range = 1 + static_cast<int>(random() % 10);
    std::vector<int> keys;
    for (int i = 0; i < size; ++i)
      keys.push_back(static_cast<int>(random() % range));
    NodeList list;
    Fill(list, keys);
    gComparisons = 0;
    list.Sort(CountingCompare);

    std::vector<std::pair<int, int>> expected;
    for (int i = 0; i < size; ++i)
      expected.emplace_back(keys[i], i);
    std::stable_sort(expected.begin(), expected.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    ASSERT_EQ(Contents(list), expected) << "round " << round;
    int bound = 0;
    for (int n = 1; n < size; n *= 2)
      bound += size;
    EXPECT_LE(gComparisons, bound);
    // The list stays usable: elements can be added and removed after a sort.
    list.Append(new KeyNode(-1, -1));
    delete list.Unlink(list.Last());
    EXPECT_EQ(list.Count(), size);
  }
}

TEST(NodeListTest, LargeSortDoesNotRecurseOrAllocate) {
  NodeList list;
  std::vector<int> keys;
  for (int i = 0; i < 100000; ++i)
    keys.push_back((i * 7919) % 100003);
  Fill(list, keys);
  list.Sort(CountingCompare);
  std::vector<int> sortedKeys = Keys(list);
  std::sort(keys.begin(), keys.end());
  EXPECT_EQ(sortedKeys, keys);
}

TEST(StringNodeTest, OwnsACopyAndPrintsIt) {
  std::string text = "page\xC3\xA9 1.frf";
  StringNode node(text);
  text[0] = 'X';
  EXPECT_STREQ(node.Value(), "page\xC3\xA9 1.frf");
  EXPECT_TRUE(node.HasValue());
  EXPECT_EQ(node.Kind(), -1);
  EXPECT_EQ(node.Probe(12345), 0);

  FILE* out = std::tmpfile();
  ASSERT_NE(out, nullptr);
  node.Print(out, 0xFFFFFFFFu);
  node.PrintPlain(out);
  StringNode percent("100%s");
  percent.Print(out, 0);
  std::rewind(out);
  char buffer[64] = {};
  size_t read = std::fread(buffer, 1, sizeof(buffer) - 1, out);
  std::fclose(out);
  EXPECT_EQ(std::string(buffer, read), "page\xC3\xA9 1.frfpage\xC3\xA9 1.frf100%s");
}

TEST(StringNodeTest, CompareIsCaseSensitiveByteOrder) {
  StringNode a("abc");
  StringNode b("abd");
  StringNode upper("ABC");
  StringNode shorter("ab");
  StringNode high("\xE9");
  EXPECT_LT(a.Compare(b), 0);
  EXPECT_GT(b.Compare(a), 0);
  EXPECT_EQ(a.Compare(StringNode("abc")), 0);
  EXPECT_GT(a.Compare(upper), 0);
  EXPECT_LT(shorter.Compare(a), 0);
  // Bytes compare as unsigned values.
  EXPECT_GT(high.Compare(a), 0);
}

}  // namespace
