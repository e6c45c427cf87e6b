#include "ocrsift/formats/workspace_file.h"

#include <cerrno>

#include "common/platform/platform.h"

WorkspaceFile::~WorkspaceFile() {
  if (stream_ != nullptr) {
    std::fclose(stream_);
    platform::RemoveFile(temporary_);
  }
}

void WorkspaceFile::Fail(int error) {
  if (error_ == 0)
    error_ = error != 0 ? error : EIO;
}

FILE* WorkspaceFile::Open(bool unbuffered) {
  errno = 0;
  stream_ = std::fopen(temporary_.c_str(), "wb");
  if (stream_ == nullptr)
    Fail(errno);
  else if (unbuffered)
    std::setvbuf(stream_, nullptr, _IONBF, 0);
  return stream_;
}

bool WorkspaceFile::Commit() {
  if (stream_ == nullptr)
    return false;
  errno = 0;
  const bool written = std::ferror(stream_) == 0;
  const bool closed = std::fclose(stream_) == 0;
  stream_ = nullptr;
  if (!written || !closed) {
    Fail(errno);
    platform::RemoveFile(temporary_);
    return false;
  }
  if (!platform::RenameOver(temporary_, path_)) {
    Fail(errno);
    platform::RemoveFile(temporary_);
    return false;
  }
  return true;
}
