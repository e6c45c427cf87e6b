#include "ocrsift/formats/page_spool.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#include "common/platform/platform.h"

PageSpool::~PageSpool() {
  if (stream_ != nullptr)
    std::fclose(stream_);
}

bool PageSpool::Open() {
  errno = 0;
  stream_ = platform::OpenScratchFile(name_);
  if (stream_ == nullptr) {
    file_.RecordFailure(errno);
    return false;
  }
  file_.Attach(stream_);
  return true;
}

void PageSpool::Keep(int32_t number, const char* bytes, size_t n) {
  if (stream_ == nullptr)
    return;
  file_.Write(bytes, n);
  pages_[number] = Extent{end_, static_cast<int64_t>(n)};
  end_ += static_cast<int64_t>(n);
}

void PageSpool::WriteInOrder(DocumentOutput& out) {
  if (stream_ == nullptr || !file_.Flush())
    return;
  std::vector<char> block(size_t{1} << 16);
  // Pages that came in ascending order follow each other in the file: no seek between them.
  int64_t position = -1;
  for (const auto& page : pages_) {
    const Extent& extent = page.second;
    if (extent.size == 0)
      continue;
    if (extent.offset != position && !platform::SeekFile(stream_, extent.offset)) {
      file_.RecordFailure(errno);
      return;
    }
    int64_t left = extent.size;
    while (left > 0) {
      const size_t want = static_cast<size_t>(std::min<int64_t>(left, block.size()));
      errno = 0;
      const size_t got = std::fread(block.data(), 1, want, stream_);
      if (got != want) {
        // A scratch file that ends early lost what was written to it.
        file_.RecordFailure(std::ferror(stream_) != 0 ? errno : EIO);
        return;
      }
      out.Write(block.data(), got);
      left -= static_cast<int64_t>(got);
    }
    position = extent.offset + extent.size;
  }
}
