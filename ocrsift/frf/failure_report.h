// Every report of a page that cannot be parsed, on the error channel, the first of a file
// preceded there by its name line (name_lines.h). Under -i only the unknown version is
// reported.
#pragma once

#include <cstdint>
#include <string>

#include "ocrsift/frf/page_parser.h"

class FrfStream;
struct PageContext;
struct RunOptions;

// The report of a failed page of the file at path, read through stream, with the step and the
// offset at which the failing read began: "(step)" for the header or the end record, followed
// under -v by a dump of the surroundings, or the frame's label and "(k::step)" for a frame.
void ReportPageFailure(const PageParse& page, FrfStream& stream, const RunOptions& options,
                       const std::string& path);

// The report of a failed text block, "(frame:block:step)", followed under -v by a dump from
// the start of the block part that failed. A frame's report follows it.
void ReportBlockFailure(const PageContext& page, int result, int32_t frameNumber,
                        int32_t blockNumber, int32_t step, int32_t partStart);

// The header parser's own reports: a format version it does not know, and a file that holds
// nothing recognised.
void ReportUnknownVersion(const PageContext& page);
void ReportEmptyFile(const PageContext& page);
