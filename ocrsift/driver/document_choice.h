// The document format of the run, chosen from the options.
#pragma once

#include <memory>

#include "ocrsift/diagnostics/run_options.h"
#include "ocrsift/formats/document_format.h"
#include "ocrsift/formats/format_registry.h"

// The registry row -o chose, or the default's when -o was not given.
const FormatRow& ChosenFormat(const RunOptions& options);

// The stream format the options name, writing to options.OutputStream; the exploring modes
// (-v, -l, -d, -t) write no document in any format. Null when memory ran out.
std::unique_ptr<DocumentFormat> ChooseDocumentFormat(const RunOptions& options);
