// A recording stand-in for the outside decoder, for rastrify's run tests on every platform.
// It reads fake_decoder.cfg in its own folder:
//   log=<path>      every call appends one line: the argument count, each argument in
//                   brackets, then " cwd=" and the working directory
//   last=<n>        pages 1 to n succeed (exit 0), others fail (exit 1); all succeed without it
//   crash-from=<n>  from page n on, the decoder dies abnormally instead of ending
// The page is the number after "--page-range=" in the arguments.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "common/platform/platform.h"

namespace {

struct Settings {
  std::string log;
  long last = -1;
  long crashFrom = -1;
};

Settings ReadSettings() {
  Settings settings;
  std::ifstream in(platform::ExecutableDirectory() + platform::DirSeparator() + "fake_decoder.cfg");
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    const std::string::size_type equals = line.find('=');
    if (equals == std::string::npos)
      continue;
    const std::string key = line.substr(0, equals);
    const std::string value = line.substr(equals + 1);
    if (key == "log") {
      settings.log = value;
    } else if (key == "last") {
      settings.last = std::strtol(value.c_str(), nullptr, 10);
    } else if (key == "crash-from") {
      settings.crashFrom = std::strtol(value.c_str(), nullptr, 10);
    }
  }
  return settings;
}

}  // namespace

int main(int argc, char** argv) {
  const Settings settings = ReadSettings();
  long page = 0;
  std::string line = std::to_string(argc - 1);
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    line += " [" + arg + "]";
    const std::string key = "--page-range=";
    if (arg.compare(0, key.size(), key) == 0)
      page = std::strtol(arg.c_str() + key.size(), nullptr, 10);
  }
  std::error_code ignored;
  line += " cwd=" + std::filesystem::current_path(ignored).string() + "\n";
  if (!settings.log.empty()) {
    std::FILE* log = std::fopen(settings.log.c_str(), "ab");
    if (log != nullptr) {
      std::fputs(line.c_str(), log);
      std::fclose(log);
    }
  }
  if (settings.crashFrom >= 0 && page >= settings.crashFrom) {
    std::signal(SIGSEGV, SIG_DFL);
    std::raise(SIGSEGV);
    std::abort();
  }
  if (settings.last >= 0 && (page < 1 || page > settings.last))
    return 1;
  return 0;
}
