#include "tests/support/djvu_document.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

#include "tests/support/run_program.h"

namespace testing_support {

std::string FindTool(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path != nullptr ? path : "/usr/bin:/bin");
  for (std::string dir; std::getline(dirs, dir, ':');) {
    std::string candidate = dir + "/" + name;
    if (access(candidate.c_str(), X_OK) == 0)
      return candidate;
  }
  return "";
}

std::string PbmPage(PageSize size) {
  const int rowBytes = (size.width + 7) / 8;
  std::string image =
      "P4\n" + std::to_string(size.width) + " " + std::to_string(size.height) + "\n";
  std::string white(static_cast<size_t>(rowBytes), '\0');
  std::string band(static_cast<size_t>(rowBytes), '\0');
  for (int x = rowBytes / 4; x < rowBytes / 2; ++x)
    band[static_cast<size_t>(x)] = '\xff';
  for (int y = 0; y < size.height; ++y) {
    image += (y >= size.height / 3 && y < size.height / 3 + 20) ? band : white;
  }
  return image;
}

std::string MakeDjvuDocument(const TempDir& dir, const std::vector<PageSize>& pages,
                             const std::string& name) {
  std::vector<std::string> djvmArgs = {"-c", dir.File(name)};
  for (size_t i = 0; i < pages.size(); ++i) {
    std::string page = name + ".p" + std::to_string(i + 1);
    std::string pbm = dir.Write(page + ".pbm", PbmPage(pages[i]));
    ProgramOutput made = RunCaptured(
        FindTool("cjb2"), {"-dpi", std::to_string(pages[i].dpi), pbm, dir.File(page + ".djvu")});
    EXPECT_EQ(made.exitCode, 0) << made.err;
    djvmArgs.push_back(dir.File(page + ".djvu"));
  }
  ProgramOutput bundled = RunCaptured(FindTool("djvm"), djvmArgs);
  EXPECT_EQ(bundled.exitCode, 0) << bundled.err;
  return dir.File(name);
}

std::string PrintPageText(const std::string& document, int page) {
  ProgramOutput printed =
      RunCaptured(FindTool("djvused"),
                  {"-u", document, "-e", "select " + std::to_string(page) + "; print-txt"});
  EXPECT_EQ(printed.exitCode, 0) << printed.err;
  return printed.out;
}

}  // namespace testing_support
