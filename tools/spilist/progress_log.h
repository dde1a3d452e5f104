#pragma once

#include <cstddef>
#include <string>

// The builder's progress and error lines on standard error, each flushed at once so
// that a plug-in that hangs or crashes the run leaves its path as the last line.

// The path about to be loaded.
void ReportPath(const std::string& path);
// "error in " and the path: not loadable, or no GetPluginInfo.
void ReportError(const std::string& path);
// The plug-in was still answering at the information-number limit; its record holds
// what it answered up to there.
void ReportInformationLimit(const std::string& path, int limit);
// The plug-in's answers passed `limit` bytes; its record holds the answers before the
// one that passed it.
void ReportInformationTextLimit(const std::string& path, std::size_t limit);
