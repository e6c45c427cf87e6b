// Checks the workspace (-w) of a run against the djvused script of the same run: per page
// number the last page the run handed on decides; a complete page with positive sides has a
// PAGE and an ALTO file that tell its story (the script's words at the script's rectangles),
// any other has none; mets.xml is written, and the folder keeps the rule checker's rules.
#pragma once

#include <string>
#include <vector>

#include "fuzz/batch_harness.h"

namespace fuzz_support {

// Runs the files again with -w into a fresh folder and stops the process at the first fault.
void CheckWorkspace(const std::vector<std::string>& files, BatchOptions options,
                    const BatchResult& scriptRun);

}  // namespace fuzz_support
