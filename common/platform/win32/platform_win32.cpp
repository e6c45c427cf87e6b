#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include <string>
#include <vector>

#include "common/platform/platform.h"
#include "common/platform/win32/code_page.h"
#include "common/text/windows_quote.h"

namespace platform {

namespace {

// The program path as the head of a command line: quoted when a blank or tab would otherwise
// end it early for the child's own reading of its arguments. The C runtime reads the program
// name up to the closing quote without escapes, and a path holds no quote, so nothing inside
// is escaped.
std::string CommandLineHead(const std::string& program) {
  if (program.find_first_of(" \t") == std::string::npos)
    return program;
  return "\"" + program + "\"";
}

}  // namespace

char DirSeparator() {
  return '\\';
}

bool IsDirSeparator(char c) {
  return c == '\\' || c == '/';
}

std::string::size_type LastDirSeparator(const std::string& name, bool withDriveColon) {
  return LastDirSeparatorInCodePage(name, withDriveColon, CP_ACP);
}

int NarrowBytesPerUnit() {
  // The ANSI code page is fixed for the life of the process, and the parsers ask for every
  // character box: look it up once.
  static const int bytes = NarrowBytesPerUnitOfCodePage(CP_ACP);
  return bytes;
}

std::vector<std::string> FindFiles(const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE)
    return names;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
      names.emplace_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

FILE* OpenRegularFile(const char* path) {
  FILE* file = std::fopen(path, "rb");
  if (file == nullptr)
    return nullptr;
  // Device names such as NUL or CON open as character devices.
  struct _stat info;
  if (_fstat(_fileno(file), &info) != 0 || (info.st_mode & _S_IFMT) != _S_IFREG) {
    std::fclose(file);
    return nullptr;
  }
  return file;
}

void UseBinaryMode(FILE* stream) {
  if (stream != nullptr) {
    std::fflush(stream);
    _setmode(_fileno(stream), _O_BINARY);
  }
}

bool IsTerminal(FILE* stream) {
  return stream != nullptr && _isatty(_fileno(stream)) != 0;
}

FILE* OpenScratchFile(std::string& name) {
  char* made = _tempnam(nullptr, "ocrsift");
  if (made == nullptr) {
    const char* folder = std::getenv("TMP");
    name = std::string(folder != nullptr ? folder : "") + "\\ocrsift*";
    return nullptr;
  }
  name = made;
  std::free(made);
  // "T": kept in memory while it fits; "D": removed when closed.
  return std::fopen(name.c_str(), "w+bTD");
}

bool SeekFile(FILE* stream, int64_t offset) {
  return _fseeki64(stream, offset, SEEK_SET) == 0;
}

void IgnoreBrokenPipe() {}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

namespace {

// The errno that tells the cause of the last failed system call in messages.
int ErrnoOfLastError() {
  switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
      return EACCES;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
      return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    default:
      return EIO;
  }
}

}  // namespace

FolderState InspectFolder(const std::string& path) {
  errno = 0;
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
      return FolderState::kMissing;
    errno = ErrnoOfLastError();
    return FolderState::kUnreadable;
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
    return FolderState::kNotFolder;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    errno = ErrnoOfLastError();
    return FolderState::kUnreadable;
  }
  FolderState state = FolderState::kEmpty;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") {
      state = FolderState::kNotEmpty;
      break;
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return state;
}

bool MakeFolder(const std::string& path) {
  errno = 0;
  if (CreateDirectoryA(path.c_str(), nullptr))
    return true;
  errno = ErrnoOfLastError();
  return false;
}

bool RenameOver(const std::string& from, const std::string& to) {
  errno = 0;
  if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  errno = ErrnoOfLastError();
  return false;
}

bool RemoveFile(const std::string& path) {
  errno = 0;
  if (DeleteFileA(path.c_str()))
    return true;
  const DWORD error = GetLastError();
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
    return true;
  errno = ErrnoOfLastError();
  return false;
}

bool FileModifiedTime(const std::string& path, int64_t& seconds) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
    return false;
  // FILETIME counts 100-nanosecond steps from 1601-01-01 UTC; floor division keeps a time
  // before 1970 in the second it lies in.
  const int64_t ticks = static_cast<int64_t>((uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                                             data.ftLastWriteTime.dwLowDateTime);
  constexpr int64_t kTicksPerSecond = 10000000;
  constexpr int64_t kSecondsFrom1601To1970 = 11644473600;
  int64_t whole = ticks / kTicksPerSecond;
  if (ticks % kTicksPerSecond < 0)
    --whole;
  seconds = whole - kSecondsFrom1601To1970;
  return true;
}

int WideToNarrow(const uint16_t* text, char* out, int outSize) {
  if (text == nullptr || out == nullptr || outSize <= 0)
    return 0;
  return WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<LPCWCH>(text), -1, out, outSize, nullptr,
                             nullptr);
}

std::string ExecutableDirectory() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    DWORD length = GetModuleFileNameA(GetModuleHandleA(nullptr), buffer.data(),
                                      static_cast<DWORD>(buffer.size()));
    if (length == 0)
      return std::string();
    if (length < buffer.size()) {
      std::string path(buffer.data(), length);
      std::string::size_type cut = LastDirSeparator(path);
      if (cut == std::string::npos)
        return std::string();
      return path.substr(0, cut);
    }
    buffer.resize(buffer.size() * 2);
  }
}

ProgramResult RunProgram(const std::string& program, const std::string& argumentText,
                         const std::vector<std::string>& wholeArguments,
                         const std::string& workDir) {
  ProgramResult result;
  STARTUPINFOA startup;
  ZeroMemory(&startup, sizeof startup);
  startup.cb = sizeof startup;
  char emptyTitle[1] = "";
  startup.lpTitle = emptyTitle;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION process;
  ZeroMemory(&process, sizeof process);
  // Names keep their blanks, quotes and trailing backslashes through the child's C runtime.
  const std::string commandLine =
      CommandLineHead(program) + " " + text::WindowsArgumentsText(argumentText, wholeArguments);
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  // Naming the application keeps the system from trying the blank-separated heads of the
  // path ("C:\Program.exe" for "C:\Program Files\...") as programs.
  if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE,
                      CREATE_NEW_CONSOLE | REALTIME_PRIORITY_CLASS, nullptr,
                      workDir.empty() ? nullptr : workDir.c_str(), &startup, &process)) {
    return result;
  }
  result.started = true;
  // Waiting on the handle itself also ends for a child whose own exit code is STILL_ACTIVE.
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  if (GetExitCodeProcess(process.hProcess, &code))
    result.exitCode = static_cast<int>(code);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return result;
}

}  // namespace platform
