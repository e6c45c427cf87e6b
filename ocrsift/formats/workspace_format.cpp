// The workspace of -w: for every page, as it comes, its PAGE file and its ALTO file, each
// written whole under a temporary name and then renamed, and at the end mets.xml, written the
// same way, so that a mets.xml only ever describes a whole run. A later page of a number
// replaces the files of the earlier one; a page that failed without -i leaves its number with
// its image alone (the files an earlier page of that number left are removed), and the METS
// table, a few bytes per page, remembers which.
//
// Nothing goes to the document's stream: the run's output is the folder.
#include <cerrno>
#include <cstdio>
#include <memory>
#include <new>
#include <string>

#include "common/platform/platform.h"
#include "ocrsift/formats/document_formats.h"
#include "ocrsift/formats/mets_document.h"
#include "ocrsift/formats/page_image_name.h"
#include "ocrsift/formats/workspace_file.h"
#include "ocrsift/formats/workspace_layout.h"

namespace {

using PageFileFactory = std::unique_ptr<DocumentFormat> (*)(FILE*, const PageFileSettings&);

class WorkspaceFormat : public DocumentFormat {
 public:
  explicit WorkspaceFormat(const WorkspaceSettings& settings)
      : DocumentFormat(nullptr), settings_(settings) {
    // "out/" and "out" are one folder; the root keeps its separator.
    std::string& folder = settings_.folder;
    while (folder.size() > 1 && platform::IsDirSeparator(folder.back()))
      folder.pop_back();
  }

 protected:
  // The PAGE baseline is estimated from the character boxes, and -c writes them.
  bool NeedsUnitBoxes() const override { return true; }
  // The METS table puts the pages in the book's order; the files need none.
  bool KeepsBookOrder() const override { return false; }
  void WriteHead() override;
  void WritePage(const RecordedPage& page) override;
  void WriteFailedPage(const RecordedPage& page) override;
  void WriteEnd() override;

 private:
  std::string InFolder(const std::string& name) const {
    return settings_.folder + platform::DirSeparator() + name;
  }
  std::string FilePath(const char* group, int32_t number) const {
    return InFolder(group) + platform::DirSeparator() + GroupFileId(group, number) + ".xml";
  }
  // The write of that file failed: the run stops, naming it.
  void Fail(int error, const std::string& path) { Output().RecordFailure(error, path, false); }
  void MakeFolder(const std::string& path);
  // Writes the page as the one page of a document that `make` composes; false when it failed.
  bool WriteDocument(const std::string& path, PageFileFactory make,
                     const PageFileSettings& settings, const RecordedPage& page);
  // The page's number keeps its image alone: the files an earlier page of it left go.
  void KeepImageAlone(int32_t number, const std::string& image);

  WorkspaceSettings settings_;
  MetsTable table_;
  // The room of the page files' documents, lent to each in turn: one file's room serves the
  // next.
  ComposeRoom room_;
};

void WorkspaceFormat::MakeFolder(const std::string& path) {
  if (Failed())
    return;
  if (platform::InspectFolder(path) == platform::FolderState::kMissing &&
      !platform::MakeFolder(path))
    Fail(errno, path);
}

void WorkspaceFormat::WriteHead() {
  MakeFolder(settings_.folder);
  MakeFolder(InFolder(kPageFileGroup));
  MakeFolder(InFolder(kAltoGroup));
}

bool WorkspaceFormat::WriteDocument(const std::string& path, PageFileFactory make,
                                    const PageFileSettings& settings, const RecordedPage& page) {
  WorkspaceFile file(path);
  // The document goes out in one or two large writes.
  FILE* stream = file.Open(true);
  if (stream == nullptr) {
    Fail(file.Error(), path);
    return false;
  }
  std::unique_ptr<DocumentFormat> document = make(stream, settings);
  if (!document) {
    Fail(ENOMEM, path);
    return false;
  }
  document->ExchangeRoom(room_);
  document->BeginDocument(PageArrival::kOnePage);
  document->AddPage(page);
  document->EndDocument();
  document->ExchangeRoom(room_);
  if (!document->Flush()) {
    // A scratch file of the document's own is named as such; else the file itself failed.
    if (document->FailedPlace().empty()) {
      Fail(document->Error(), path);
    } else {
      Output().RecordFailure(document->Error(), document->FailedPlace(),
                             document->FailedPlaceIsScratch());
    }
    return false;
  }
  if (!file.Commit()) {
    Fail(file.Error(), path);
    return false;
  }
  return true;
}

void WorkspaceFormat::KeepImageAlone(int32_t number, const std::string& image) {
  for (const char* group : {kPageFileGroup, kAltoGroup}) {
    const std::string path = FilePath(group, number);
    if (!platform::RemoveFile(path)) {
      Fail(errno, path);
      return;
    }
  }
  table_.Add(number, image, false);
}

void WorkspaceFormat::WritePage(const RecordedPage& page) {
  if (Failed())
    return;
  const std::string image = PageImageName(page);
  if (page.width <= 0 || page.height <= 0) {
    // PAGE has no coordinates outside the image: the page cannot be described, and the run
    // says so.
    RefusePage(page);
    KeepImageAlone(page.number, image);
    return;
  }
  PageFileSettings settings;
  settings.fileId = GroupFileId(kPageFileGroup, page.number);
  settings.imageName = image;
  settings.modifiedTime = page.fileTime;
  settings.glyphs = settings_.glyphs;
  settings.joinHyphenated = settings_.joinHyphenated;
  if (!WriteDocument(FilePath(kPageFileGroup, page.number), MakePageXmlFormat, settings, page))
    return;
  settings.fileId = GroupFileId(kAltoGroup, page.number);
  if (!WriteDocument(FilePath(kAltoGroup, page.number), MakeAltoPageFile, settings, page))
    return;
  table_.Add(page.number, image, true);
}

void WorkspaceFormat::WriteFailedPage(const RecordedPage& page) {
  if (!Failed())
    KeepImageAlone(page.number, PageImageName(page));
}

void WorkspaceFormat::WriteEnd() {
  if (Failed())
    return;
  const std::string path = InFolder(kMetsName);
  WorkspaceFile file(path);
  FILE* stream = file.Open();
  if (stream == nullptr) {
    Fail(file.Error(), path);
    return;
  }
  DocumentOutput out(stream);
  table_.Write(out);
  if (!out.Flush()) {
    Fail(out.Error(), path);
  } else if (!file.Commit()) {
    Fail(file.Error(), path);
  }
}

}  // namespace

std::unique_ptr<DocumentFormat> MakeWorkspace(const WorkspaceSettings& settings) {
  return std::unique_ptr<DocumentFormat>(new (std::nothrow) WorkspaceFormat(settings));
}
