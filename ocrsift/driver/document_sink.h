// The receiver of the parsed pages for the run's output format.
#pragma once

#include <memory>

#include "ocrsift/diagnostics/run_options.h"
#include "ocrsift/textlayer/document_output.h"
#include "ocrsift/textlayer/page_text_sink.h"

// The sink that writes the document of options.Format to output (which must outlive it);
// null when memory ran out.
std::unique_ptr<PageTextSink> MakeDocumentSink(const RunOptions& options, DocumentOutput& output);
