// Finding a font file by family name through fontconfig ("Arial" resolves to its
// metric-compatible face where Arial itself is not installed).
#pragma once
#include <string>

// The file of the best match for pattern (e.g. "Arial", "Liberation Sans:bold"); when
// familyPrefix is given, the match's family must begin with it. Empty when nothing fits.
std::string FontFileFor(const char* pattern, const char* familyPrefix = nullptr);
