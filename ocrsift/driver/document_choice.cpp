#include "ocrsift/driver/document_choice.h"

#include "common/platform/platform.h"
#include "ocrsift/formats/document_formats.h"

std::unique_ptr<DocumentFormat> ChooseDocumentFormat(const RunOptions& options) {
  if (options.Verbose)
    return MakeNoDocument();
  switch (options.Format) {
    case OutputFormat::Hocr:
      return MakeHocrFormat(options.OutputStream);
    case OutputFormat::Alto:
      return MakeAltoFormat(options.OutputStream);
    case OutputFormat::Text:
      return MakePlainTextFormat(options.OutputStream);
    case OutputFormat::Pdf:
      // The PDF's bytes must reach the file unchanged: no line-end translation on Windows.
      platform::UseBinaryMode(options.OutputStream);
      return MakePdfFormat(options.OutputStream);
    case OutputFormat::Djvused:
      break;
  }
  return MakeDjvusedFormat(options.OutputStream);
}
