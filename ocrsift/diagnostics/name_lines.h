// The name lines of the file being read ("** File ..."): where they went, so that a failure
// report on the error channel is preceded by the file's name once and only where no name line
// of the file has gone before it. A book of a thousand files must tell which one failed.
#pragma once

#include <cstdio>
#include <string>

// A new file begins: no channel has shown its name yet.
void ForgetNameLines();

// A name line of the file at path went to channel (null: to none).
void NoteNameLine(FILE* channel, const std::string& path);

// Before the first report of a failure of the file at path: its name line on the error
// channel, unless a name line of that file already went there. Under -q the name line of the
// format test ("...") is written before the report whatever went before, as -q promises.
void NameFileBeforeReport(const std::string& path);
