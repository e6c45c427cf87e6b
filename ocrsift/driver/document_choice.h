// The document format of the run, chosen from the options.
#pragma once

#include <memory>
#include <string>

#include "ocrsift/diagnostics/run_options.h"
#include "ocrsift/formats/document_format.h"
#include "ocrsift/formats/format_registry.h"

// The registry row -o chose, or the default's when -o was not given.
const FormatRow& ChosenFormat(const RunOptions& options);

// The format the options name, writing to options.OutputStream; the exploring modes (-v, -l,
// -d, -t) write no document in any format. A page-file format (-o page) writes the page of
// onlyFile, the run's one FRF file, and carries its modification time. Null when memory ran
// out.
std::unique_ptr<DocumentFormat> ChooseDocumentFormat(const RunOptions& options,
                                                     const std::string& onlyFile = std::string());
