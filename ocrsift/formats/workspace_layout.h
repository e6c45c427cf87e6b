// The names of a workspace, as OCR-D lays one out: mets.xml in the folder, and per file group
// a subfolder of its name holding GROUP_NNNN.xml, NNNN the page number (at least 4 digits),
// which is also the file's ID in the METS file. The page images sit beside mets.xml.
#pragma once

#include <cstdint>
#include <string>

constexpr char kMetsName[] = "mets.xml";
constexpr char kImageGroup[] = "OCR-D-IMG";
constexpr char kPageGroup[] = "OCR-D-OCR-FR7";
constexpr char kAltoGroup[] = "FULLTEXT";
constexpr char kPageMimeType[] = "application/vnd.prima.page+xml";
constexpr char kAltoMimeType[] = "application/alto+xml";

// "GROUP_NNNN": the METS file ID of the group's file of that page.
std::string WorkspaceFileId(const char* group, int32_t pageNumber);
