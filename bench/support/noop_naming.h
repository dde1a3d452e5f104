#pragma once

// How the no-op benchmark plug-in takes its identity from its file name, shared by
// the plug-in and by the benchmarks that write catalogue records for its copies.
// A copy named "<stem>.spi" reads the extensions "<stem>a" to "<stem>d", so copies
// under distinct names have distinct patterns. It accepts every file whose
// extension is one of its own, except files whose name begins with "reject": those
// match its patterns but are refused, as a plug-in refuses a file it cannot read.
#include <string>

constexpr int kNoopPatternCount = 4;

// The stem of a path: its file name without folder and without the last extension.
std::string NoopStem(const std::string& path);

// "*.<stem>a;*.<stem>b;*.<stem>c;*.<stem>d"
std::string NoopPatternList(const std::string& stem);

std::string NoopDescription(const std::string& stem);

// File name of the copy with number `index`: "p0042.spi" for 42.
std::string NoopCopyName(int index);

// A file name with the copy's `which`-th extension (0 to 3); `base` before the dot.
std::string NoopFileName(const std::string& base, const std::string& stem, int which);

bool NoopAccepts(const std::string& stem, const std::string& fileName);
