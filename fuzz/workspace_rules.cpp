// workspace_rules FOLDER...: checks each workspace folder (mets.xml and its files) by the rules
// of fuzz/page_rules.h; workspace_rules --page FILE... checks PAGE documents alone. Every
// problem goes to standard error, one a line after the name of what holds it; the exit code
// is 0 when there is none, 1 when there is one, 2 for a wrong command line.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz/page_rules.h"

int main(int argc, char** argv) {
  const bool pages = argc > 1 && std::strcmp(argv[1], "--page") == 0;
  const int first = pages ? 2 : 1;
  if (argc <= first) {
    std::fprintf(stderr,
                 "usage: workspace_rules FOLDER...\n       workspace_rules --page FILE...\n");
    return 2;
  }
  int result = 0;
  for (int i = first; i < argc; ++i) {
    std::vector<std::string> problems;
    if (pages) {
      std::ifstream file(argv[i], std::ios::binary);
      std::ostringstream bytes;
      bytes << file.rdbuf();
      problems = file ? fuzz_support::PageRuleProblems(bytes.str())
                      : std::vector<std::string>{"cannot be read"};
    } else {
      problems = fuzz_support::WorkspaceRuleProblems(argv[i]);
    }
    for (const std::string& problem : problems)
      std::fprintf(stderr, "%s: %s\n", argv[i], problem.c_str());
    if (!problems.empty())
      result = 1;
  }
  return result;
}
