// The names of a workspace, as OCR-D lays one out: mets.xml in the folder, and per file group
// a subfolder of its name holding GROUP_NNNN.xml, NNNN the page number (at least 4 digits),
// which is also the file's ID in the METS file (GroupFileId). The PAGE files' group is
// kPageFileGroup. The page images sit beside mets.xml.
#pragma once

#include "ocrsift/formats/page_file_settings.h"

constexpr char kMetsName[] = "mets.xml";
constexpr char kImageGroup[] = "OCR-D-IMG";
constexpr char kAltoGroup[] = "FULLTEXT";
constexpr char kPageMimeType[] = "application/vnd.prima.page+xml";
constexpr char kAltoMimeType[] = "application/alto+xml";
