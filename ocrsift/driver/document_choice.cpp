#include "ocrsift/driver/document_choice.h"

#include <cassert>

#include "common/platform/platform.h"
#include "ocrsift/formats/document_formats.h"

const FormatRow& ChosenFormat(const RunOptions& options) {
  return options.Format != nullptr ? *options.Format : DefaultFormat();
}

std::unique_ptr<DocumentFormat> ChooseDocumentFormat(const RunOptions& options) {
  if (options.Verbose)
    return MakeNoDocument();
  if (!options.WorkspaceFolder.empty()) {
    WorkspaceSettings settings;
    settings.folder = options.WorkspaceFolder;
    settings.joinHyphenated = options.JoinHyphenated;
    settings.errorStream = options.ErrorStream;
    return MakeWorkspace(settings);
  }
  const FormatRow& row = ChosenFormat(options);
  assert(row.kind == FormatKind::kStream && row.makeStream != nullptr);
  // A binary document's bytes must reach the file unchanged: no line-end translation on
  // Windows.
  if (row.binary)
    platform::UseBinaryMode(options.OutputStream);
  FormatSettings settings;
  return row.makeStream(options.OutputStream, settings);
}
