// Real DjVu documents for end-to-end tests, made with djvulibre's cjb2 and djvm, and the
// djvulibre tools located on PATH.
#pragma once

#include <string>
#include <vector>

#include "tests/support/test_files.h"

namespace testing_support {

struct PageSize {
  int width = 0;
  int height = 0;
  int dpi = 300;
};

// The full path of a program found on PATH ("" when there is none).
std::string FindTool(const std::string& name);

// A raw PBM page: white, with a black band across its middle.
std::string PbmPage(PageSize size);

// Makes <dir>/<name> with one bilevel page per size (cjb2 per page, then djvm -c); returns
// its path. Failures of the tools are reported as test failures.
std::string MakeDjvuDocument(const TempDir& dir, const std::vector<PageSize>& pages,
                             const std::string& name = "doc.djvu");

// The hidden text of one page as `djvused -u -e "select N; print-txt"` prints it.
std::string PrintPageText(const std::string& document, int page);

}  // namespace testing_support
