#include "ocrsift/formats/compose_buffer.h"

#include <algorithm>

void ComposeBuffer::Grow(size_t n) {
  const size_t capacity = std::max(size_ + n, 2 * capacity_);
  std::unique_ptr<char[]> data(new char[capacity]);
  if (size_ != 0)
    std::memcpy(data.get(), data_.get(), size_);
  data_ = std::move(data);
  capacity_ = capacity;
}
