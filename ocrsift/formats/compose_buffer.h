// A part of a document (a page, the head, the end) composed through a cursor: room is made
// once for a piece of bounded size (a word's element, a line's head), then its bytes are
// stored without further checks.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstring>
#include <memory>
#include <utility>

class ComposeBuffer {
 public:
  void Clear() { size_ = 0; }
  const char* Data() const { return data_.get(); }
  size_t Size() const { return size_; }

  // The cursor, with room for at least n bytes after it; the room kept serves later pages.
  char* Room(size_t n) {
    if (capacity_ - size_ < n)
      Grow(n);
    return data_.get() + size_;
  }
  // The cursor that the last Room handed out has moved to end.
  void Commit(char* end) {
    size_ = static_cast<size_t>(end - data_.get());
    assert(size_ <= capacity_);
  }
  // Appends n bytes.
  void Append(const char* bytes, size_t n) {
    char* cursor = Room(n);
    if (n != 0)
      std::memcpy(cursor, bytes, n);
    Commit(cursor + n);
  }
  // Exchanges the bytes and the room with other's, copying nothing.
  void Swap(ComposeBuffer& other) {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    std::swap(capacity_, other.capacity_);
  }

 private:
  void Grow(size_t n);

  std::unique_ptr<char[]> data_;
  size_t size_ = 0;
  size_t capacity_ = 0;
};

template <size_t N>
char* PutLiteral(char* cursor, const char (&literal)[N]) {
  std::memcpy(cursor, literal, N - 1);
  return cursor + N - 1;
}
