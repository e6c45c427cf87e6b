// Buffered, exact-count reading of one FRF work file. Once a refill finds the end of the
// file the stream stays at end for good, so an unchecked skip that ran off the end makes the
// next checked read fail.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>

class FrfStream {
 public:
  static constexpr int32_t kBufferSize = 16000;
  static constexpr int32_t kPushBackCapacity = 100;

  explicit FrfStream(const char* fileName);
  ~FrfStream();
  FrfStream(const FrfStream&) = delete;
  FrfStream& operator=(const FrfStream&) = delete;

  bool Failed() const { return failed_ != 0; }
  int32_t Position() const { return position_; }
  int32_t LastReadStart() const { return lastReadStart_; }
  int32_t Size() const { return size_; }

  // Delivers exactly n bytes to destination, or passes over them when it is null. n == 0
  // fails; a negative n transfers nothing and succeeds.
  bool Read(void* destination, int32_t n);
  bool Skip(int32_t n) { return Read(nullptr, n); }
  bool ReadByte(uint8_t& value);
  bool ReadWord(uint16_t& value);
  bool ReadDword(uint32_t& value);
  bool ReadDword(int32_t& value);
  // Reads n little-endian words, such as a run of character boxes, with exactly the effects of
  // n calls of ReadWord: it stops at the first word that fails, and afterwards the last read
  // start is that of the last word attempted. Returns the number of words delivered, n when
  // all were (0 for n <= 0).
  int32_t ReadWords(uint16_t* destination, int32_t n);
  // Reads n code units into destination[0..n-1] and stores 0 at destination[n]; the
  // destination must hold n + 1 units.
  bool ReadWideChars(uint16_t* destination, int32_t n);
  // Makes the next read deliver these n bytes first (1 <= n <= kPushBackCapacity; other
  // counts are refused and change nothing).
  void PushBack(const uint8_t* bytes, int32_t n);
  void Seek(int32_t offset);

 private:
  int failed_ = 0;
  FILE* file_ = nullptr;
  int atEnd_ = 0;
  std::unique_ptr<uint8_t[]> buffer_;
  uint8_t pushBack_[kPushBackCapacity] = {};
  int32_t pushBackCount_ = 0;
  int32_t pushBackIndex_ = 0;
  int32_t bufferIndex_ = 0;
  int32_t bufferFill_ = 0;
  int32_t position_ = 0;
  int32_t lastReadStart_ = -1;
  int32_t size_ = 0;
};
