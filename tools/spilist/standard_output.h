#pragma once

#include <string>

// Writes `text` byte for byte to the process's standard-output handle, bypassing the
// C runtime: its line ends are already CR LF, and a plug-in may have closed the
// runtime's descriptor. Failures are ignored; there is nowhere to report them.
void WriteStandardOutput(const std::string& text);
