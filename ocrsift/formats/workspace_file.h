// One file of a workspace, written under a temporary name (its name and ".tmp") and given its
// own name only once it is whole, so that a reader never finds a part of it under that name
// and a run that stops leaves the earlier file of that name, or none.
#pragma once

#include <cstdio>
#include <string>

class WorkspaceFile {
 public:
  explicit WorkspaceFile(const std::string& path) : path_(path), temporary_(path + ".tmp") {}
  WorkspaceFile(const WorkspaceFile&) = delete;
  WorkspaceFile& operator=(const WorkspaceFile&) = delete;
  // A file not committed is closed and its temporary file removed.
  ~WorkspaceFile();

  // The temporary file, open for writing in binary mode (the documents' bytes are the same on
  // every system); null, with Error() set, when it cannot be made. A file written in a few
  // large pieces is best unbuffered: each piece then reaches the system in one write, without
  // a copy into the stream's buffer.
  FILE* Open(bool unbuffered = false);
  // Closes the temporary file and renames it over the file's name; false, with Error() set,
  // when the close (the last writes) or the rename failed.
  bool Commit();
  int Error() const { return error_; }
  const std::string& Path() const { return path_; }

 private:
  void Fail(int error);

  std::string path_;
  std::string temporary_;
  FILE* stream_ = nullptr;
  int error_ = 0;
};
