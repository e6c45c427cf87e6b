#include "tests/support/run_program.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <cstdlib>

#include "common/text/windows_quote.h"
#include "tests/support/test_files.h"

namespace testing_support {

#ifdef _WIN32

std::string PlatformLineEnds(const std::string& text) {
  std::string bytes;
  for (char c : text) {
    if (c == '\n')
      bytes += '\r';
    bytes += c;
  }
  return bytes;
}

namespace {

std::string UndoLineEnds(const std::string& bytes) {
  std::string text;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n'))
      text += bytes[i];
  }
  return text;
}

HANDLE OpenInherited(const std::string& path, bool write) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  return CreateFileA(path.c_str(), write ? GENERIC_WRITE : GENERIC_READ,
                     FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                     write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

ProgramOutput RunCaptured(const std::string& program, const std::vector<std::string>& args,
                          const std::string& input, const std::string& workDir) {
  ProgramOutput result;
  TempDir capture;
  std::string inPath = capture.Write("stdin", input);
  std::string outPath = capture.File("stdout");
  std::string errPath = capture.File("stderr");

  const std::string application = NativePath(program);
  std::string commandLine = text::QuoteWindowsArgument(application);
  for (const std::string& arg : args)
    commandLine += " " + text::QuoteWindowsArgument(arg);
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');

  HANDLE in = OpenInherited(inPath, false);
  HANDLE out = OpenInherited(outPath, true);
  HANDLE err = OpenInherited(errPath, true);
  STARTUPINFOA startup;
  ZeroMemory(&startup, sizeof startup);
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in;
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process;
  ZeroMemory(&process, sizeof process);
  fflush(nullptr);
  const bool started =
      in != INVALID_HANDLE_VALUE && out != INVALID_HANDLE_VALUE && err != INVALID_HANDLE_VALUE &&
      CreateProcessA(application.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                     workDir.empty() ? nullptr : workDir.c_str(), &startup, &process);
  for (HANDLE handle : {in, out, err}) {
    if (handle != INVALID_HANDLE_VALUE)
      CloseHandle(handle);
  }
  if (started) {
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    if (GetExitCodeProcess(process.hProcess, &code))
      result.exitCode = static_cast<int>(code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
  result.rawOut = ReadFile(outPath);
  result.rawErr = ReadFile(errPath);
  result.out = UndoLineEnds(result.rawOut);
  result.err = UndoLineEnds(result.rawErr);
  return result;
}

#else

std::string PlatformLineEnds(const std::string& text) {
  return text;
}

ProgramOutput RunCaptured(const std::string& program, const std::vector<std::string>& args,
                          const std::string& input, const std::string& workDir) {
  ProgramOutput result;
  TempDir capture;
  std::string inPath = capture.Write("stdin", input);
  std::string outPath = capture.File("stdout");
  std::string errPath = capture.File("stderr");

  std::vector<std::string> argvStrings;
  argvStrings.push_back(program);
  argvStrings.insert(argvStrings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : argvStrings)
    argv.push_back(&a[0]);
  argv.push_back(nullptr);

  fflush(nullptr);
  pid_t child = fork();
  if (child == 0) {
    int in = open(inPath.c_str(), O_RDONLY);
    int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in < 0 || out < 0 || err < 0)
      _exit(126);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    if (!workDir.empty() && chdir(workDir.c_str()) != 0)
      _exit(126);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status)) {
    result.exitCode = WEXITSTATUS(status);
  }
  result.out = result.rawOut = ReadFile(outPath);
  result.err = result.rawErr = ReadFile(errPath);
  return result;
}

#endif

}  // namespace testing_support
