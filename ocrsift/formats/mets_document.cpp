#include "ocrsift/formats/mets_document.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "common/numeric/decimal_format.h"
#include "ocrsift/formats/compose_buffer.h"
#include "ocrsift/formats/page_image_name.h"
#include "ocrsift/formats/workspace_layout.h"
#include "ocrsift/formats/xml_text.h"

namespace {

const char kHead[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<mets:mets xmlns:mets=\"http://www.loc.gov/METS/\""
    " xmlns:xlink=\"http://www.w3.org/1999/xlink\""
    " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
    " xsi:schemaLocation=\"http://www.loc.gov/METS/"
    " http://www.loc.gov/standards/mets/version1121/mets.xsd\">\n"
    " <mets:metsHdr>\n"
    "  <mets:agent ROLE=\"CREATOR\" TYPE=\"OTHER\" OTHERTYPE=\"SOFTWARE\">\n"
    "   <mets:name>ocrsift " OCRSIFT_VERSION
    "</mets:name>\n"
    "  </mets:agent>\n"
    " </mets:metsHdr>\n"
    " <mets:fileSec>\n";

// The most bytes of a file entry or a page division apart from the image's name.
constexpr size_t kEntryRoom = 512;

template <size_t N>
void PutLiteralText(ComposeBuffer& text, const char (&literal)[N]) {
  text.Append(literal, N - 1);
}

char* PutText(char* cursor, const std::string& text) {
  std::memcpy(cursor, text.data(), text.size());
  return cursor + text.size();
}

// A file of a group: its ID, media type and place relative to mets.xml.
char* PutFile(char* cursor, const std::string& id, const char* mimeType, const std::string& href) {
  cursor = PutLiteral(cursor, "   <mets:file ID=\"");
  cursor = PutText(cursor, id);
  cursor = PutLiteral(cursor, "\" MIMETYPE=\"");
  cursor = PutText(cursor, mimeType);
  cursor = PutLiteral(
      cursor, "\">\n    <mets:FLocat LOCTYPE=\"OTHER\" OTHERLOCTYPE=\"FILE\" xlink:href=\"");
  cursor = PutXmlUtf8(cursor, href.data(), href.size());
  return PutLiteral(cursor, "\"/>\n   </mets:file>\n");
}

char* PutPointer(char* cursor, const std::string& id) {
  cursor = PutLiteral(cursor, "    <mets:fptr FILEID=\"");
  cursor = PutText(cursor, id);
  return PutLiteral(cursor, "\"/>\n");
}

}  // namespace

void MetsTable::Add(int32_t number, const std::string& image, bool text) {
  Entry entry;
  entry.number = number;
  entry.nameOffset = static_cast<uint32_t>(names_.size());
  entry.nameSize = static_cast<uint32_t>(image.size());
  entry.text = text;
  names_ += image;
  entries_.push_back(entry);
}

void MetsTable::Settle() {
  // Of the pages of one number, the last received stands for it.
  std::stable_sort(entries_.begin(), entries_.end(),
                   [](const Entry& a, const Entry& b) { return a.number < b.number; });
  size_t kept = 0;
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (i + 1 < entries_.size() && entries_[i + 1].number == entries_[i].number)
      continue;
    entries_[kept++] = entries_[i];
  }
  entries_.resize(kept);
}

void MetsTable::Write(DocumentOutput& out) {
  Settle();
  ComposeBuffer text;
  const auto emit = [&]() {
    out.Write(text.Data(), text.Size());
    text.Clear();
  };
  text.Append(kHead, sizeof kHead - 1);
  // The images, then the PAGE files, then the ALTO files.
  for (int group = 0; group < 3; ++group) {
    static const char* const kGroups[] = {kImageGroup, kPageFileGroup, kAltoGroup};
    char* cursor = text.Room(64);
    cursor = PutLiteral(cursor, "  <mets:fileGrp USE=\"");
    cursor = PutText(cursor, kGroups[group]);
    text.Commit(PutLiteral(cursor, "\">\n"));
    for (const Entry& entry : entries_) {
      if (group != 0 && !entry.text)
        continue;
      const std::string id = GroupFileId(kGroups[group], entry.number);
      cursor = text.Room(kEntryRoom + entry.nameSize * kXmlCharacterRoom);
      if (group == 0) {
        const std::string image = Name(entry);
        cursor = PutFile(cursor, id, MimeTypeOfImageName(image), image);
      } else {
        const char* type = group == 1 ? kPageMimeType : kAltoMimeType;
        cursor = PutFile(cursor, id, type, std::string(kGroups[group]) + "/" + id + ".xml");
      }
      text.Commit(cursor);
      emit();
    }
    PutLiteralText(text, "  </mets:fileGrp>\n");
  }
  PutLiteralText(text,
                 " </mets:fileSec>\n"
                 " <mets:structMap TYPE=\"PHYSICAL\">\n"
                 "  <mets:div TYPE=\"physSequence\" ID=\"physroot\">\n");
  for (const Entry& entry : entries_) {
    char* cursor = text.Room(kEntryRoom);
    cursor = PutLiteral(cursor, "   <mets:div TYPE=\"page\" ID=\"");
    cursor = PutText(cursor, GroupFileId("PHYS", entry.number));
    cursor = PutLiteral(cursor, "\" ORDER=\"");
    cursor = numeric::PutDecimal(cursor, entry.number);
    cursor = PutLiteral(cursor, "\">\n");
    cursor = PutPointer(cursor, GroupFileId(kImageGroup, entry.number));
    if (entry.text) {
      cursor = PutPointer(cursor, GroupFileId(kPageFileGroup, entry.number));
      cursor = PutPointer(cursor, GroupFileId(kAltoGroup, entry.number));
    }
    text.Commit(PutLiteral(cursor, "   </mets:div>\n"));
    emit();
  }
  PutLiteralText(text, "  </mets:div>\n </mets:structMap>\n</mets:mets>\n");
  emit();
}
