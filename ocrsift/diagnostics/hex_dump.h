// Hex dumps of an FRF file on the verbose channel: a range of bytes, and the surroundings of a
// read that failed.
#pragma once

#include <cstdint>
#include <cstdio>

class FrfStream;

// Dumps the bytes first..last (inclusive) of the stream's file in hex on the verbose channel,
// 16 a line, flagging the byte at mark with ">". With align, whole 16-byte lines are shown.
// The stream moves while it is read even when the channel prints nothing; its position is
// restored afterwards.
void HexDump(FrfStream& stream, int32_t first, int32_t mark, int32_t last, bool align);

// The same dump on out; with out null the stream is read and restored all the same.
void HexDumpTo(FILE* out, FrfStream& stream, int32_t first, int32_t mark, int32_t last, bool align);

// The dump that follows a failure report: whole lines from 80 bytes before the start of the
// element that failed to 144 bytes past the current position, the failing read marked.
void HexDumpAroundFailure(FrfStream& stream, int32_t elementStart);
