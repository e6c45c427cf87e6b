#include "fuzz/workspace_check.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz/document_check.h"
#include "fuzz/page_rules.h"
#include "fuzz/script_check.h"
#include "fuzz/xml_check.h"

namespace fuzz_support {

namespace {

// The workspace's folder: "ws" in a folder made once per process and removed at exit.
const std::string& WorkspaceFolder() {
  static std::string folder;
  if (folder.empty()) {
    static std::string root = MakeScratchFolder("ocrsift-fuzz-ws-");
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(root, ignored);
    });
    folder = root + "/ws";
  }
  return folder;
}

std::string ReadWhole(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return file ? bytes.str() : std::string();
}

std::string PageFile(const char* group, int32_t number) {
  char name[64];
  std::snprintf(name, sizeof name, "/%s/%s_%04d.xml", group, group, static_cast<int>(number));
  return WorkspaceFolder() + name;
}

}  // namespace

void CheckWorkspace(const std::vector<std::string>& files, BatchOptions options,
                    const BatchResult& scriptRun) {
  const std::string& folder = WorkspaceFolder();
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  options.arguments.push_back("-w");
  options.arguments.push_back(folder);
  const BatchResult run = RunBatchOnFiles(files, options);
  const Script script = RequireScript(scriptRun.script);
  Require(run.script.empty(), "a workspace run wrote on standard output", run.script);

  // Per number the last page handed on; a page without a positive side fails the run.
  std::map<int32_t, const ScriptPage*> last;
  bool sideless = false;
  for (const ScriptPage& page : script.pages) {
    last[page.select] = &page;
    if (page.closed && (page.width <= 0 || page.height <= 0))
      sideless = true;
  }
  Require(run.result == (sideless ? 2 : scriptRun.result),
          "the workspace run ended otherwise than the script", scriptRun.script);
  const std::string mets = ReadWhole(folder + "/mets.xml");
  Require(XmlProblem(mets).empty(), "mets.xml not well formed", mets);
  const std::vector<std::string> problems = WorkspaceRuleProblems(folder);
  Require(problems.empty(), problems.empty() ? "" : problems.front().c_str(), mets);
  size_t divisions = 0;
  for (size_t at = mets.find("TYPE=\"page\""); at != std::string::npos;
       at = mets.find("TYPE=\"page\"", at + 1))
    ++divisions;
  Require(divisions == last.size(), "not one page division per page number", mets);

  for (const auto& entry : last) {
    const ScriptPage& page = *entry.second;
    const std::string pageXml = ReadWhole(PageFile("OCR-D-OCR-FR7", entry.first));
    const std::string alto = ReadWhole(PageFile("FULLTEXT", entry.first));
    const bool written = page.closed && page.width > 0 && page.height > 0;
    Require(pageXml.empty() != written && alto.empty() != written,
            written ? "a page's files missing" : "files of a page that failed or has no side",
            mets);
    if (!written)
      continue;
    Require(XmlProblem(alto).empty(), "a page's ALTO not well formed", alto);
    Script one;
    one.pages.push_back(page);
    RequireSameStory("page", pageXml, one);
    RequireSameStory("alto", alto, one);
  }
}

}  // namespace fuzz_support
