#include <windows.h>

#include <string>
#include <vector>

#include "common/platform/platform.h"

namespace platform {

char DirSeparator() {
  return '\\';
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

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
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
      std::string::size_type cut = path.find_last_of("\\/");
      if (cut == std::string::npos)
        return std::string();
      std::string directory = path.substr(0, cut + 1);
      if (!directory.empty() && directory.back() == '\\')
        directory.pop_back();
      return directory;
    }
    buffer.resize(buffer.size() * 2);
  }
}

ProgramResult RunProgram(const std::string& commandLine, const std::string& workDir) {
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
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE,
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
