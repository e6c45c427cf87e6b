#include "ocrsift/driver/document_choice.h"

#include <cassert>

#include "common/platform/platform.h"
#include "ocrsift/formats/document_formats.h"

const FormatRow& ChosenFormat(const RunOptions& options) {
  return options.Format != nullptr ? *options.Format : DefaultFormat();
}

std::unique_ptr<DocumentFormat> ChooseDocumentFormat(const RunOptions& options,
                                                     const std::string& onlyFile) {
  if (options.Verbose)
    return MakeNoDocument();
  if (!options.WorkspaceFolder.empty()) {
    WorkspaceSettings settings;
    settings.folder = options.WorkspaceFolder;
    settings.joinHyphenated = options.JoinHyphenated;
    settings.glyphs = options.Glyphs;
    return MakeWorkspace(settings);
  }
  const FormatRow& row = ChosenFormat(options);
  if (row.kind == FormatKind::kPageFile) {
    assert(row.makePageFile != nullptr);
    // The file ID and the image name come from the page itself; an unknown time stays 1970.
    PageFileSettings settings;
    platform::FileModifiedTime(onlyFile, settings.modifiedTime);
    settings.joinHyphenated = options.JoinHyphenated;
    settings.glyphs = options.Glyphs;
    return row.makePageFile(options.OutputStream, settings);
  }
  assert(row.makeStream != nullptr);
  // A binary document's bytes must reach the file unchanged: no line-end translation on
  // Windows.
  if (row.binary)
    platform::UseBinaryMode(options.OutputStream);
  FormatSettings settings;
  settings.glyphs = options.Glyphs;
  return row.makeStream(options.OutputStream, settings);
}
