#include "ocrsift/driver/run_batch.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "common/numeric/decimal.h"
#include "common/numeric/wrapping_int32.h"
#include "common/platform/platform.h"
#include "ocrsift/diagnostics/channels.h"
#include "ocrsift/diagnostics/hex_dump.h"
#include "ocrsift/diagnostics/name_lines.h"
#include "ocrsift/diagnostics/run_options.h"
#include "ocrsift/driver/command_line.h"
#include "ocrsift/driver/document_choice.h"
#include "ocrsift/driver/file_name_list.h"
#include "ocrsift/driver/run_state.h"
#include "ocrsift/formats/document_format.h"
#include "ocrsift/frf/failure_report.h"
#include "ocrsift/frf/frf.h"
#include "ocrsift/frf/page_parser.h"
#include "ocrsift/page/page_recorder.h"

namespace {

// The last offset of the whole-file dump.
constexpr int32_t WHOLE_DUMP_LAST = 0x1FFFF;

// Parses the open file from header to end record into sink and reports a failure. True when
// it parsed.
bool ParseOneFile(PageTextSink& sink) {
  FrfStream& stream = *gRunState.CurrentStream;
  const PageParse page = ParsePage(stream, &sink, gRunOptions, gRunState.CurrentPath,
                                   gRunState.PageNumber, gRunState.Text);
  if (page.result != PARSE_OK) {
    ReportPageFailure(page, stream, gRunOptions, gRunState.CurrentPath);
    return false;
  }
  if (gRunOptions.TestOnly && !gRunOptions.Quiet)
    std::fprintf(stdout, "\n*** OK! ***");
  ReportVerbose("\n\nNormal end (%d) offset %08lX", page.step, OffsetValue(stream.Position()));
  return true;
}

// A page the format could not hold fails the run. The recorder may hand a page on with a
// later file, or at the end: the message names the page.
bool ReportRefusedPage(DocumentFormat& document) {
  int32_t number = 0;
  if (!document.TakeRefusedPage(number))
    return false;
  ReportError("\nNo PAGE document for page %d: its width or height is 0 or less",
              static_cast<int>(number));
  return true;
}

// Hands on the page the recorder still holds, ends the document and hands it to the system: a
// document that could not be written whole makes the run fail.
int FinishDocument(PageRecorder& recorder, DocumentFormat& document, int runResult) {
  recorder.Finish();
  if (ReportRefusedPage(document))
    runResult = 2;
  document.EndDocument();
  if (!document.Flush()) {
    ReportOutputFailure(document.Error(), document.FailedPlace(), document.FailedPlaceIsScratch());
    return 2;
  }
  std::fflush(stdout);
  return runResult;
}

// The page numbers the files will take, known from their names before any is read: each
// higher than the one before, or not (then the documents in the book's order keep the pages
// until the end).
PageArrival PlannedArrival(FileNameList& names, const RunOptions& options) {
  PageArrival arrival = PageArrival::kAscending;
  if (options.AutoPageNumbers) {
    std::string path;
    int32_t number = WrapAdd(options.FirstPage, -1);
    int32_t before = INT32_MIN;
    while (names.NextName(path)) {
      number = PageNumberFromName(path, number);
      if (number <= before)
        arrival = PageArrival::kAnyOrder;
      before = number;
    }
    names.Rewind();
  }
  return arrival;
}

// The folder of -w must be new or empty, so that everything in it is of this run: said before
// any file is read. The exploring modes write no workspace and leave the folder alone.
bool WorkspaceFolderUsable(const RunOptions& options) {
  if (options.WorkspaceFolder.empty() || options.Verbose)
    return true;
  const char* folder = options.WorkspaceFolder.c_str();
  switch (platform::InspectFolder(options.WorkspaceFolder)) {
    case platform::FolderState::kMissing:
    case platform::FolderState::kEmpty:
      return true;
    case platform::FolderState::kNotEmpty:
      ReportError("Workspace folder \"%s\" is not empty; -w writes into a new or empty folder\n",
                  folder);
      return false;
    case platform::FolderState::kNotFolder:
      ReportError("Workspace folder \"%s\" is a file, not a folder\n", folder);
      return false;
    case platform::FolderState::kUnreadable:
      break;
  }
  ReportError("Can't read workspace folder \"%s\": %s\n", folder,
              std::strerror(errno != 0 ? errno : EIO));
  return false;
}

}  // namespace

void ReportOutputFailure(int error, const std::string& place, bool scratch) {
  const char* cause = std::strerror(error != 0 ? error : EIO);
  if (place.empty()) {
    std::fprintf(stderr, "\nCan't write standard output: %s", cause);
  } else if (!scratch) {
    std::fprintf(stderr, "\nCan't write file \"%s\": %s", place.c_str(), cause);
  } else {
    std::fprintf(stderr, "\nCan't write temporary file \"%s\": %s", place.c_str(), cause);
  }
  std::fflush(stderr);
}

void AdvancePageNumber() {
  gRunState.PageNumber = WrapAdd(gRunState.PageNumber, 1);
}

int32_t PageNumberFromName(const std::string& path, int32_t current) {
  // Only the file-name part counts: a dot in a directory name must not decide the number.
  std::string::size_type cut = platform::LastDirSeparator(path, true);
  const std::string name = (cut == std::string::npos) ? path : path.substr(cut + 1);
  const std::string::size_type dot = name.rfind('.');
  long scan =
      (dot == std::string::npos) ? static_cast<long>(name.size()) - 1 : static_cast<long>(dot) - 1;
  while (scan >= 0 && name[static_cast<size_t>(scan)] >= '0' &&
         name[static_cast<size_t>(scan)] <= '9') {
    --scan;
  }
  const size_t digits = static_cast<size_t>(scan + 1);
  int32_t number = current;
  if (digits < name.size())
    number = numeric::ReadDecimal(name.c_str() + digits);
  return number == 0 ? 1 : number;
}

int RunBatch() {
  RunOptions& options = gRunOptions;
  // The second pass of the rules moves the error channel of -l to standard output.
  ApplyOptionRules();
  if (!WorkspaceFolderUsable(options))
    return 1;

  FileNameList names;
  names.BuildFileNameList(options.InputSpec);
  if (!names.IsValid()) {
    ReportError("\nError processing file name \"%s\" ", options.InputSpec.c_str());
    return 1;
  }
  if (names.NameCount() == 0) {
    ReportError("\nNo files specified in list \"%s\" ", options.InputSpec.c_str());
    return 1;
  }
  // A page file holds one page: a run of several files would lose all but one.
  std::string onlyFile;
  const FormatRow& chosen = ChosenFormat(options);
  if (!options.Verbose && chosen.kind == FormatKind::kPageFile) {
    if (names.NameCount() != 1) {
      ReportError(
          "\n-o %s writes the page of one FRF file, and %d are named; -w <folder> writes"
          " a file for every page",
          chosen.name, static_cast<int>(names.NameCount()));
      return 1;
    }
    names.NextName(onlyFile);
    names.Rewind();
  }
  std::unique_ptr<DocumentFormat> document = ChooseDocumentFormat(options, onlyFile);
  std::unique_ptr<PageRecorder> recorder;
  if (document)
    recorder.reset(new (std::nothrow)
                       PageRecorder(*document, document->Recording(options.JoinHyphenated)));
  if (!recorder) {
    ReportError("\nInsufficient memory");
    return 1;
  }
  document->BeginDocument(PlannedArrival(names, options));

  int runResult = 0;
  gRunState.PageNumber = WrapAdd(options.FirstPage, -1);
  // Once the document cannot be written whole, the pages still to come would be lost too.
  while (!document->Failed() && names.NextName(gRunState.CurrentPath)) {
    const char* path = gRunState.CurrentPath.c_str();
    if (options.AutoPageNumbers) {
      gRunState.PageNumber = PageNumberFromName(gRunState.CurrentPath, gRunState.PageNumber);
    } else {
      AdvancePageNumber();
    }
    if (gRunState.PageNumber <= 0 && !options.HexDumpMode && !options.ListTags) {
      ReportError("\n**** page number not specified ***");
      FinishDocument(*recorder, *document, 2);
      return 2;
    }

    if (gRunState.PageNumber > document->MostPageNumber() && !options.HexDumpMode &&
        !options.ListTags) {
      // A number past what the document can hold (a date read from a file name, say) loses
      // that page only.
      ReportError("\nPage number %d of file \"%s\" is beyond the document's last page (%d)",
                  gRunState.PageNumber, path, document->MostPageNumber());
      runResult = 2;
      continue;
    }

    gRunState.CurrentStream.reset(new (std::nothrow) FrfStream(path));
    if (!gRunState.CurrentStream || gRunState.CurrentStream->Failed()) {
      gRunState.CurrentStream.reset();
      if (!options.IgnoreBadPages)
        ReportError("\nCan't open file \"%s\" ", path);
      // A page that was asked for and not delivered is a failure of the run, also under -i.
      runResult = 2;
      document->AddUnreadPage(gRunState.PageNumber);
      continue;
    }

    if (options.HexDumpMode) {
      HexDump(*gRunState.CurrentStream, 0, -1, WHOLE_DUMP_LAST, true);
      gRunState.CurrentStream.reset();
      return FinishDocument(*recorder, *document, 0);
    }

    ForgetNameLines();
    ReportVerbose("\n** File \"%s\"", path);
    NoteNameLine(VerboseChannel(), gRunState.CurrentPath);
    ReportTag(options.ListTagNumber, "\n** File \"%s\"", path);
    if (options.ListTags)
      NoteNameLine(stdout, gRunState.CurrentPath);
    if (options.TestOnly && !options.Quiet) {
      std::fprintf(stdout, "\n** File \"%s\"...", path);
      NoteNameLine(stdout, gRunState.CurrentPath);
    }

    int64_t modified = 0;
    platform::FileModifiedTime(gRunState.CurrentPath, modified);
    recorder->DescribeFile(modified);
    if (!ParseOneFile(*recorder)) {
      runResult = 2;
      document->AddUnreadPage(gRunState.PageNumber);
    }
    if (ReportRefusedPage(*document))
      runResult = 2;
    gRunState.CurrentStream.reset();
  }
  return FinishDocument(*recorder, *document, runResult);
}
