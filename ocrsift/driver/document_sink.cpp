#include "ocrsift/driver/document_sink.h"

#include <new>
#include <utility>

#include "ocrsift/textlayer/document_formats.h"
#include "ocrsift/textlayer/page_recorder.h"
#include "ocrsift/textlayer/text_layer_writer.h"

std::unique_ptr<PageTextSink> MakeDocumentSink(const RunOptions& options, DocumentOutput& output) {
  // The exploring modes (-v, -l, -d, -t) write no document in any format: the script writer
  // is fed as usual and writes nothing.
  if (options.Verbose || options.Format == OutputFormat::Djvused) {
    return std::unique_ptr<PageTextSink>(
        new (std::nothrow) TextLayerWriter(output, options.Verbose, options.JoinHyphenated));
  }
  std::unique_ptr<PageFormat> format;
  if (options.Format == OutputFormat::Hocr) {
    format = MakeHocrFormat(output);
  } else if (options.Format == OutputFormat::Alto) {
    format = MakeAltoFormat(output);
  } else {
    format = MakePlainTextFormat(output);
  }
  return std::unique_ptr<PageTextSink>(new (std::nothrow)
                                           PageRecorder(std::move(format), options.JoinHyphenated));
}
