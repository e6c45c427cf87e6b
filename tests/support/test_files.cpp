#include "tests/support/test_files.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace testing_support {

#ifdef _WIN32

TempDir::TempDir() {
  std::string base = std::filesystem::temp_directory_path().string();
  while (!base.empty() && (base.back() == '\\' || base.back() == '/'))
    base.pop_back();
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 1000; ++attempt) {
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, "\\ocrsift-test-%lu-%u-%lu",
                  static_cast<unsigned long>(GetCurrentProcessId()), counter++,
                  static_cast<unsigned long>(GetTickCount()));
    path_ = base + suffix;
    if (CreateDirectoryA(path_.c_str(), nullptr))
      return;
  }
}

TempDir::~TempDir() {
  for (void* handle : heldOpen_)
    CloseHandle(static_cast<HANDLE>(handle));
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::WriteUnopenable(const std::string& name) {
  const std::string path = Write(name, std::string("held"));
  // No sharing at all: every other open of the file fails while this handle lives.
  HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE)
    return std::string();
  heldOpen_.push_back(handle);
  return path;
}

std::string NativePath(const std::string& path) {
  char full[4096];
  DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  if (length == 0 || length >= sizeof full)
    return path;
  return std::string(full, length);
}

#else

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "ocrsift-test-XXXXXX").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  const char* made = mkdtemp(buffer.data());
  path_ = (made != nullptr) ? made : pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::WriteUnopenable(const std::string& name) {
  const std::string path = File(name);
  if (symlink("nowhere", path.c_str()) != 0)
    return std::string();
  return path;
}

std::string NativePath(const std::string& path) {
  std::error_code ignored;
  std::filesystem::path absolute = std::filesystem::absolute(path, ignored);
  return absolute.empty() ? path : absolute.string();
}

#endif

std::string TempDir::File(const std::string& name) const {
  return path_ + kSeparator + name;
}

std::string TempDir::Write(const std::string& name, const std::string& bytes) const {
  std::string path = File(name);
#ifdef _WIN32
  // Narrow names stay in the ANSI code page: each folder of the name is made with the system's
  // own narrow call, stepping over double-byte characters.
  for (size_t i = path_.size() + 1; i < path.size(); ++i) {
    if (IsDBCSLeadByte(static_cast<BYTE>(path[i]))) {
      ++i;
    } else if (path[i] == '\\' || path[i] == '/') {
      CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
    }
  }
#else
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
#endif
  // The C library's narrow open takes the name in the ANSI code page on Windows too.
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (out != nullptr) {
    std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fclose(out);
  }
  return path;
}

std::string TempDir::Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
  return Write(name, std::string(bytes.begin(), bytes.end()));
}

std::string ReadFile(const std::string& path) {
  std::string content;
  std::FILE* in = std::fopen(path.c_str(), "rb");
  if (in == nullptr)
    return content;
  char buffer[65536];
  for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, in)) > 0;)
    content.append(buffer, got);
  std::fclose(in);
  return content;
}

}  // namespace testing_support
