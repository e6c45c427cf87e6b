// The name under which a page's image is listed in the per-page documents and the METS file:
// the file name the FRF header gives, without its folders, or the name rastrify gives the
// page when it exports it in the default format.
#pragma once

#include <cstdint>
#include <string>

#include "ocrsift/page/page_text_sink.h"
#include "ocrsift/page/recorded_page.h"

// The last part of the image name (after its last '\', '/' or ':'), in UTF-8, every character
// that XML or a file name cannot hold (controls, unpaired surrogates, U+FFFE, U+FFFF) written
// as U+FFFD; "pageNNNN.tif" (the page number, at least 4 digits, as rastrify names its pages) when
// the header names no image or the name ends in a separator or is "." or "..".
std::string PageImageName(const UnitText& imageName, int32_t pageNumber);
inline std::string PageImageName(const RecordedPage& page) {
  return PageImageName(page.imageName, page.number);
}

// The media type of an image file by its extension (letter case ignored), such as
// "image/tiff"; "application/octet-stream" for an extension no image format has.
const char* MimeTypeOfImageName(const std::string& name);
