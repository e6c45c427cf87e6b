#include "ocrsift/stream/frf_stream.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

#include "common/numeric/wrapping_int32.h"
#include "common/platform/platform.h"
#include "ocrsift/stream/little_endian.h"

FrfStream::FrfStream(const char* fileName) {
  // Only a regular file is read: a directory, FIFO, socket or device counts as a file that
  // cannot be opened, so no run can hang on one.
  file_ = (fileName != nullptr) ? platform::OpenRegularFile(fileName) : nullptr;
  failed_ = (file_ == nullptr) ? 1 : 0;
  if (file_ != nullptr) {
    if (std::fseek(file_, 0, SEEK_END) == 0) {
      long end = std::ftell(file_);
      size_ = (end < 0) ? 0 : static_cast<int32_t>(std::min<long>(end, INT32_MAX));
    }
    std::fseek(file_, 0, SEEK_SET);
  }
  buffer_.reset(new (std::nothrow) uint8_t[kBufferSize]);
  if (!buffer_)
    failed_ = 1;
}

FrfStream::~FrfStream() {
  if (file_ != nullptr)
    std::fclose(file_);
}

bool FrfStream::Read(void* destination, int32_t n) {
  if (failed_ != 0 || atEnd_ != 0 || n == 0)
    return false;
  lastReadStart_ = position_;
  auto* out = static_cast<uint8_t*>(destination);
  if (n > 0 && pushBackCount_ > 0) {
    int32_t k = std::min(n, pushBackCount_);
    if (out != nullptr) {
      std::memcpy(out, pushBack_ + pushBackIndex_, static_cast<size_t>(k));
      out += k;
    }
    pushBackIndex_ += k;
    pushBackCount_ -= k;
    position_ = WrapAdd(position_, k);
    n -= k;
  }
  while (n > 0) {
    if (bufferIndex_ == bufferFill_) {
      size_t got = std::fread(buffer_.get(), 1, kBufferSize, file_);
      bufferFill_ = static_cast<int32_t>(got);
      bufferIndex_ = 0;
      if (got == 0) {
        atEnd_ = 1;
        return false;
      }
    }
    int32_t k = std::min(n, bufferFill_ - bufferIndex_);
    if (out != nullptr) {
      std::memcpy(out, buffer_.get() + bufferIndex_, static_cast<size_t>(k));
      out += k;
    }
    bufferIndex_ += k;
    position_ = WrapAdd(position_, k);
    n -= k;
  }
  return true;
}

bool FrfStream::ReadByte(uint8_t& value) {
  return Read(&value, 1);
}

bool FrfStream::ReadWord(uint16_t& value) {
  uint8_t bytes[2];
  if (!Read(bytes, 2))
    return false;
  value = LittleEndian16(bytes);
  return true;
}

bool FrfStream::ReadDword(uint32_t& value) {
  uint8_t bytes[4];
  if (!Read(bytes, 4))
    return false;
  value = LittleEndian32(bytes);
  return true;
}

bool FrfStream::ReadDword(int32_t& value) {
  uint32_t raw = 0;
  if (!ReadDword(raw))
    return false;
  value = static_cast<int32_t>(raw);
  return true;
}

int32_t FrfStream::ReadWords(uint16_t* destination, int32_t n) {
  int32_t i = 0;
  while (i < n) {
    // The words that lie whole in the buffer are taken at once; a word split by a refill, or
    // one behind pushed-back bytes, goes through ReadWord.
    const int32_t whole = (failed_ == 0 && atEnd_ == 0 && pushBackCount_ == 0)
                              ? std::min(n - i, (bufferFill_ - bufferIndex_) / 2)
                              : 0;
    if (whole == 0) {
      if (!ReadWord(destination[i]))
        return i;
      ++i;
      continue;
    }
    const uint8_t* bytes = buffer_.get() + bufferIndex_;
    for (int32_t k = 0; k < whole; ++k)
      destination[i + k] = LittleEndian16(bytes + 2 * k);
    bufferIndex_ += 2 * whole;
    position_ = WrapAdd(position_, 2 * whole);
    lastReadStart_ = WrapAdd(position_, -2);
    i += whole;
  }
  return i;
}

bool FrfStream::ReadWideChars(uint16_t* destination, int32_t n) {
  if (n < 0)
    return false;  // no sound place for the terminator
  if (ReadWords(destination, n) != n)
    return false;
  destination[n] = 0;
  return true;
}

void FrfStream::PushBack(const uint8_t* bytes, int32_t n) {
  if (bytes == nullptr || n < 1 || n > kPushBackCapacity)
    return;
  std::memcpy(pushBack_, bytes, static_cast<size_t>(n));
  pushBackCount_ = n;
  pushBackIndex_ = 0;
  position_ = WrapAdd(position_, -n);
}

void FrfStream::Seek(int32_t offset) {
  if (file_ != nullptr)
    std::fseek(file_, offset, SEEK_SET);
  position_ = offset;
  lastReadStart_ = offset;
  pushBackCount_ = 0;
  bufferFill_ = 0;
  bufferIndex_ = 0;
}
