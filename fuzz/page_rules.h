// The rules of PAGE documents and of workspaces that their schemas cannot state: the text of
// every word, line and region consistent (OCR-D's rule), every element's outline inside its
// parent's, the baseline inside its line, no negative point, the reading order naming every
// region once, and in a workspace every PAGE file found through mets.xml, its pcGtsId its METS
// file ID and its image one of the METS images. The unit tests, the end-to-end tests and the
// fuzz targets all use this one checker; workspace_rules runs it on a folder.
#pragma once

#include <string>
#include <vector>

namespace fuzz_support {

// What is wrong with a PAGE document, each problem naming the element; empty when nothing.
std::vector<std::string> PageRuleProblems(const std::string& document);

// What is wrong with the workspace in the folder: mets.xml, every file it names, and every
// PAGE file by PageRuleProblems (its problems preceded by its name).
std::vector<std::string> WorkspaceRuleProblems(const std::string& folder);

}  // namespace fuzz_support
