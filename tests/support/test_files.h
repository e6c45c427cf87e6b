// Temporary folders and files for tests, removed when the test ends.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// The directory separator the programs write on this platform.
#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // The path of a name inside the folder.
  std::string File(const std::string& name) const;
  // Writes the bytes into the named file of the folder and returns its path.
  std::string Write(const std::string& name, const std::string& bytes) const;
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const;
  // Makes a name that file searches list but that cannot be opened for reading while the
  // folder lives (a dangling symbolic link on POSIX, a file held open without sharing on
  // Windows) and returns its path; "" when that could not be arranged.
  std::string WriteUnopenable(const std::string& name);

 private:
  std::string path_;
  std::vector<void*> heldOpen_;
};

// The whole content of a file ("" when it cannot be read).
std::string ReadFile(const std::string& path);

// The absolute path of a file in this platform's own form (on Windows a drive letter and
// backslashes, also for a path the build wrote in the host's form).
std::string NativePath(const std::string& path);

}  // namespace testing_support
