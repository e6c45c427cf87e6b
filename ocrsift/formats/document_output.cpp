#include "ocrsift/formats/document_output.h"

#include <cerrno>

void DocumentOutput::Fail() {
  // Some C libraries leave errno alone on a stream error; EIO still names the kind of cause.
  if (error_ == 0)
    error_ = errno != 0 ? errno : EIO;
}

void DocumentOutput::Write(const char* bytes, size_t n) {
  if (stream_ == nullptr || n == 0)
    return;
  errno = 0;
  if (std::fwrite(bytes, 1, n, stream_) != n)
    Fail();
}

bool DocumentOutput::Flush() {
  // A document written elsewhere (the workspace's files) has no stream, but may have failed.
  if (stream_ == nullptr)
    return error_ == 0;
  errno = 0;
  if (std::fflush(stream_) != 0 || std::ferror(stream_) != 0)
    Fail();
  return error_ == 0;
}

void DocumentOutput::RecordFailure(int error, const std::string& place, bool scratch) {
  if (error_ != 0)
    return;
  error_ = error != 0 ? error : EIO;
  place_ = place;
  scratch_ = scratch;
}
