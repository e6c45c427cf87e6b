#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/platform/platform.h"
#include "common/text/ascii_case.h"

namespace platform {

namespace {

bool SameLetter(char a, char b) {
  return text::FoldAsciiCase(static_cast<unsigned char>(a)) ==
         text::FoldAsciiCase(static_cast<unsigned char>(b));
}

// "*" matches any run, "?" one character; letters compare without regard to case. Iterative
// with one back-track point, so no pattern can make it recurse deeply or take exponential time.
bool MatchesPattern(const char* pattern, const char* name) {
  const char* starPattern = nullptr;
  const char* starName = nullptr;
  while (*name != '\0') {
    if (*pattern == '*') {
      starPattern = ++pattern;
      starName = name;
    } else if (*pattern == '?' || (*pattern != '\0' && SameLetter(*pattern, *name))) {
      ++pattern;
      ++name;
    } else if (starPattern != nullptr) {
      pattern = starPattern;
      name = ++starName;
    } else {
      return false;
    }
  }
  while (*pattern == '*')
    ++pattern;
  return *pattern == '\0';
}

std::vector<std::string> SplitOnBlanks(const std::string& text) {
  std::vector<std::string> tokens;
  std::string current;
  for (char c : text) {
    if (c == ' ') {
      if (!current.empty())
        tokens.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty())
    tokens.push_back(current);
  return tokens;
}

}  // namespace

char DirSeparator() {
  return '/';
}

bool IsDirSeparator(char c) {
  return c == '/';
}

std::string::size_type LastDirSeparator(const std::string& name, bool /*withDriveColon*/) {
  for (std::string::size_type i = name.size(); i > 0; --i) {
    if (IsDirSeparator(name[i - 1]))
      return i - 1;
  }
  return std::string::npos;
}

int NarrowBytesPerUnit() {
  return 3;  // UTF-8: a code unit outside a surrogate pair takes up to three bytes
}

std::vector<std::string> FindFiles(const std::string& pattern) {
  std::vector<std::string> names;
  const std::string::size_type slash = LastDirSeparator(pattern);
  // With a separator the directory keeps it ("/" for a pattern in the root), so it is never
  // empty.
  const std::string directory = (slash == std::string::npos) ? "." : pattern.substr(0, slash + 1);
  const std::string namePattern =
      (slash == std::string::npos) ? pattern : pattern.substr(slash + 1);
  DIR* dir = opendir(directory.c_str());
  if (dir == nullptr)
    return names;
  while (struct dirent* entry = readdir(dir)) {
    const char* name = entry->d_name;
    if (!MatchesPattern(namePattern.c_str(), name))
      continue;
    std::string full = (slash == std::string::npos) ? std::string(name) : directory + name;
    struct stat info;
    if (stat(full.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
      continue;
    // "." and ".." are directories and never listed, even when stat fails on them.
    if (std::string(name) == "." || std::string(name) == "..")
      continue;
    names.emplace_back(name);
  }
  closedir(dir);
  return names;
}

FILE* OpenRegularFile(const char* path) {
  // Opening a FIFO without O_NONBLOCK waits for a writer: the kind is learnt first.
  const int fd = open(path, O_RDONLY | O_NONBLOCK);
  if (fd < 0)
    return nullptr;
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return nullptr;
  }
  const int flags = fcntl(fd, F_GETFL);
  if (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    close(fd);
    return nullptr;
  }
  FILE* file = fdopen(fd, "rb");
  if (file == nullptr)
    close(fd);
  return file;
}

void UseBinaryMode(FILE* /*stream*/) {}

bool IsTerminal(FILE* stream) {
  return stream != nullptr && isatty(fileno(stream)) != 0;
}

FILE* OpenScratchFile(std::string& name) {
  const char* folder = std::getenv("TMPDIR");
  name = folder != nullptr && folder[0] != '\0' ? folder : "/tmp";
  if (name.back() != '/')
    name += '/';
  name += "ocrsiftXXXXXX";
  std::vector<char> pattern(name.begin(), name.end());
  pattern.push_back('\0');
  const int fd = mkstemp(pattern.data());
  if (fd < 0)
    return nullptr;
  name = pattern.data();
  unlink(pattern.data());
  FILE* file = fdopen(fd, "w+b");
  if (file == nullptr) {
    const int error = errno;
    close(fd);
    errno = error;
  }
  return file;
}

bool SeekFile(FILE* stream, int64_t offset) {
  return fseeko(stream, static_cast<off_t>(offset), SEEK_SET) == 0;
}

void IgnoreBrokenPipe() {
  std::signal(SIGPIPE, SIG_IGN);
}

bool FileExists(const std::string& path) {
  return access(path.c_str(), F_OK) == 0;
}

FolderState InspectFolder(const std::string& path) {
  errno = 0;
  struct stat info;
  if (stat(path.c_str(), &info) != 0)
    return errno == ENOENT ? FolderState::kMissing : FolderState::kUnreadable;
  if (!S_ISDIR(info.st_mode))
    return FolderState::kNotFolder;
  DIR* dir = opendir(path.c_str());
  if (dir == nullptr)
    return FolderState::kUnreadable;
  FolderState state = FolderState::kEmpty;
  while (struct dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") {
      state = FolderState::kNotEmpty;
      break;
    }
  }
  closedir(dir);
  return state;
}

bool MakeFolder(const std::string& path) {
  errno = 0;
  return mkdir(path.c_str(), 0777) == 0;
}

bool RenameOver(const std::string& from, const std::string& to) {
  errno = 0;
  return std::rename(from.c_str(), to.c_str()) == 0;
}

bool RemoveFile(const std::string& path) {
  errno = 0;
  return unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool FileModifiedTime(const std::string& path, int64_t& seconds) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0)
    return false;
  seconds = static_cast<int64_t>(info.st_mtime);
  return true;
}

int WideToNarrow(const uint16_t* text, char* out, int outSize) {
  return WideToUtf8(text, out, outSize);
}

std::string ExecutableDirectory() {
  std::vector<char> buffer(4096);
  for (;;) {
    ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0)
      return std::string();
    if (static_cast<size_t>(length) < buffer.size()) {
      std::string path(buffer.data(), static_cast<size_t>(length));
      std::string::size_type slash = LastDirSeparator(path);
      if (slash == std::string::npos)
        return std::string();
      return path.substr(0, slash);
    }
    buffer.resize(buffer.size() * 2);
  }
}

ProgramResult RunProgram(const std::string& program, const std::string& argumentText,
                         const std::vector<std::string>& wholeArguments,
                         const std::string& workDir) {
  ProgramResult result;
  if (program.empty())
    return result;
  std::vector<std::string> tokens = SplitOnBlanks(argumentText);
  tokens.insert(tokens.begin(), program);
  // Each whole argument is one argv element, blanks and all; an empty one stays an argument.
  tokens.insert(tokens.end(), wholeArguments.begin(), wholeArguments.end());
  std::vector<char*> argv;
  for (std::string& token : tokens)
    argv.push_back(&token[0]);
  argv.push_back(nullptr);

  // The child reports a failed chdir or exec through this pipe; a successful exec closes it.
  int report[2];
  if (pipe(report) != 0)
    return result;
  fcntl(report[0], F_SETFD, FD_CLOEXEC);
  fcntl(report[1], F_SETFD, FD_CLOEXEC);

  pid_t child = fork();
  if (child < 0) {
    close(report[0]);
    close(report[1]);
    return result;
  }
  if (child == 0) {
    close(report[0]);
    int devNull = open("/dev/null", O_RDWR);
    if (devNull >= 0) {
      dup2(devNull, STDIN_FILENO);
      dup2(devNull, STDOUT_FILENO);
      dup2(devNull, STDERR_FILENO);
      if (devNull > STDERR_FILENO)
        close(devNull);
    }
    int error = 0;
    if (!workDir.empty() && chdir(workDir.c_str()) != 0) {
      error = errno;
    } else {
      execv(argv[0], argv.data());
      error = errno;
    }
    ssize_t ignored = write(report[1], &error, sizeof error);
    (void)ignored;
    _exit(127);
  }
  close(report[1]);
  int childError = 0;
  ssize_t got;
  do {
    got = read(report[0], &childError, sizeof childError);
  } while (got < 0 && errno == EINTR);
  close(report[0]);

  int status = 0;
  pid_t waited;
  do {
    waited = waitpid(child, &status, 0);
  } while (waited < 0 && errno == EINTR);
  if (got > 0)
    return result;  // chdir or exec failed: the program never started
  result.started = true;
  if (waited == child && WIFEXITED(status)) {
    result.exitCode = WEXITSTATUS(status);
  } else {
    result.exitCode = -1;
  }
  return result;
}

}  // namespace platform
