// The few operating-system services the two programs need, behind one small interface:
// file search and existence, UTF-16 conversion, the running executable's directory and
// starting a child program. posix/ and win32/ hold the two implementations.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace platform {

// The directory separator this platform writes: '\\' on Windows, '/' elsewhere.
char DirSeparator();

// True for every byte this platform reads as a directory separator: '\\' and '/' on Windows
// (the system itself takes both), '/' elsewhere.
bool IsDirSeparator(char c);

// The position of the last directory separator in a narrow name, or npos. With
// withDriveColon a drive's colon counts as well (Windows only: "C:page.frf" has a directory
// part). On Windows the name is read character by character in the ANSI code page, so the
// trail byte of a double-byte character (0x5C in many of them) is never taken for a
// separator.
std::string::size_type LastDirSeparator(const std::string& name, bool withDriveColon = false);

// The most bytes the narrow form takes for one UTF-16 code unit: the ANSI code page's longest
// character on Windows (1 for single-byte code pages, 2 for the double-byte ones), 3 for
// UTF-8 elsewhere. Never more than MAX_NARROW_BYTES_PER_UNIT.
int NarrowBytesPerUnit();
constexpr int MAX_NARROW_BYTES_PER_UNIT = 4;

// Bare names (no directory part) of the files in the pattern's directory that match its last
// component, where "*" matches any run of characters and "?" exactly one, without regard to
// ASCII letter case. Directories are left out. The order is unspecified.
std::vector<std::string> FindFiles(const std::string& pattern);

// True when a file or directory of that name exists.
bool FileExists(const std::string& path);

// What stands at the path of a folder that is to receive new files.
enum class FolderState { kMissing, kEmpty, kNotEmpty, kNotFolder, kUnreadable };
// errno (0: none known) tells why a folder is kUnreadable.
FolderState InspectFolder(const std::string& path);

// Makes the folder (its parent must exist); false (errno set) when it cannot be made.
bool MakeFolder(const std::string& path);

// Gives the file `from` the name `to`, replacing a file of that name in one step, so a reader
// of `to` sees the old file or the new one, never a part; false (errno set) on failure.
bool RenameOver(const std::string& from, const std::string& to);

// Removes the file; true when none of that name is left (also when there was none).
bool RemoveFile(const std::string& path);

// The time the file's content was last changed, in whole seconds since 1970-01-01 00:00 UTC
// (earlier times negative); false, with seconds unchanged, when the file cannot be examined.
bool FileModifiedTime(const std::string& path, int64_t& seconds);

// The file of that name opened for reading in binary mode, or null when it cannot be opened
// or is no regular file: a directory (which some systems open and fail only in its reads), a
// FIFO, socket or device (whose reads may wait forever) is never opened for the caller.
FILE* OpenRegularFile(const char* path);

// Writes the stream's bytes unchanged from now on: Windows opens standard output in text mode,
// which writes every line feed as CR LF; nothing to do elsewhere.
void UseBinaryMode(FILE* stream);

// True when the stream is a terminal (which keeps its line buffering).
bool IsTerminal(FILE* stream);

// A new scratch file, open for reading and writing in binary mode, that disappears when it is
// closed (on POSIX its name is removed at once); null (errno set) when none can be made. name
// receives the file's name, or the name it was to have, for messages. It is made in the folder
// of TMPDIR (POSIX, /tmp without it) or TMP (Windows: not in the root folder of the drive,
// where a user may not write).
FILE* OpenScratchFile(std::string& name);

// Moves the stream to the byte offset from its start (beyond 2 GiB too); false on failure.
bool SeekFile(FILE* stream, int64_t offset);

// Makes a write to a pipe whose reader has gone fail with an error the program can report,
// instead of ending the process by a signal (POSIX); nothing to do on Windows.
void IgnoreBrokenPipe();

// Converts the zero-terminated UTF-16 text into the narrow form used in messages (the ANSI
// code page on Windows, UTF-8 elsewhere). Writes at most outSize bytes including the
// terminating zero and returns that count, or 0 when the text does not fit or cannot be
// converted.
int WideToNarrow(const uint16_t* text, char* out, int outSize);

// Converts the zero-terminated UTF-16 text to UTF-8: surrogate pairs become four-byte
// sequences, an unpaired surrogate becomes U+FFFD. Same result convention as WideToNarrow.
int WideToUtf8(const uint16_t* text, char* out, int outSize);

// The directory of the running executable, without a trailing separator (empty if unknown).
std::string ExecutableDirectory();

// Outcome of starting a program.
struct ProgramResult {
  bool started = false;  // false: the program could not be started at all
  int exitCode = 0;      // the program's exit code once it ended (-1 if it died by a signal)
};

// Starts exactly the program at the path `program` (a blank in its path never splits it), in
// workDir, with nothing shown to the user and its output discarded, and waits for it to end.
// Its arguments are the blank-separated words of `argumentText` (no shell, no quoting rules;
// runs of blanks separate as one), then each of `wholeArguments` as one argument whatever it
// holds (blanks, quotes, backslashes, nothing at all).
// On POSIX each word and each whole argument is one element of the child's argv. On Windows
// the child's command line is the program path, in double quotes when it holds a blank or tab,
// a blank, `argumentText` byte for byte, then for each whole argument a blank and the argument
// as text::QuoteWindowsArgument writes it for the child's C runtime.
ProgramResult RunProgram(const std::string& program, const std::string& argumentText,
                         const std::vector<std::string>& wholeArguments,
                         const std::string& workDir);

}  // namespace platform
