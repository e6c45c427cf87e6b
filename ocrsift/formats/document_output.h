// The stream a document is written to, with the first write failure remembered: a document
// that could not be written whole must not end the run as a success.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

class DocumentOutput {
 public:
  // stream is not owned; null writes nothing and never fails.
  explicit DocumentOutput(FILE* stream) : stream_(stream) {}
  DocumentOutput(const DocumentOutput&) = delete;
  DocumentOutput& operator=(const DocumentOutput&) = delete;

  // Writes to stream from now on (not owned).
  void Attach(FILE* stream) { stream_ = stream; }
  void Write(const char* bytes, size_t n);
  // Hands what the stream holds back to the system; false when this or any earlier write
  // failed.
  bool Flush();
  // The errno of the first failure, or 0.
  int Error() const { return error_; }
  bool Failed() const { return error_ != 0; }
  // A part of the document that went elsewhere first failed with this errno (0: unknown);
  // place names the file it went to (empty: this stream), a scratch file of the program's
  // or, with scratch false, a file the user asked for.
  void RecordFailure(int error, const std::string& place = std::string(), bool scratch = true);
  // Where the first failure happened: empty for this stream, else the name of a file that
  // held a part of the document.
  const std::string& FailedPlace() const { return place_; }
  bool FailedPlaceIsScratch() const { return scratch_; }

 private:
  void Fail();

  FILE* stream_ = nullptr;
  int error_ = 0;
  std::string place_;
  bool scratch_ = true;
};
