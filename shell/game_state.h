// The whole state of a running game as data that two builds can compare: a JSON dump, a
// 8-bit digest per frame for the checks that recorded games carry, and a trace line per
// frame for finding the first frame at which two replays part.
#pragma once
#include <cstdint>
#include <string>

// The game record, the movers, the random generator, the claim colours, the tables and the
// whole grid (run-length coded as "CODE*COUNT CODE*COUNT ...", row after row), with the
// frames run and the sounds started so far (from the demo session).
std::string GameStateJson();

// A hash of all of that but the sounds; equal states give equal hashes on every build. The
// digest is part of the demo format: what it covers and how it is made change only with a
// new version of the format.
uint32_t GameStateHash();
uint8_t GameStateDigest(); // the hash folded to 8 bits

// Text as the inside of a JSON string; bytes outside ASCII are read as Latin-1.
std::string JsonEscape(const char* text);

// The grid alone, run-length coded as in the JSON dump.
std::string GridRunLengths();

// The trace: a header naming the columns, then one line per frame with the scalar fields
// and a hash of each table and of the grid.
std::string TraceHeader();
std::string TraceLine();
