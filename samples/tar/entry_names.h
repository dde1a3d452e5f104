#pragma once

// How tar's stored names are shown to a Windows host and turned into file names it
// can safely create. Knows nothing of the platform.
#include <string>

// The stored name with '\' between its parts and without a leading "./" or "/":
// "./docs/a.txt" becomes "docs\a.txt".
std::string HostEntryName(const std::string& storedName);

// The folder part of a host entry name, with its trailing '\' ("" for none).
std::string EntryFolder(const std::string& hostName);
// The part after the last '\'.
std::string EntryFileName(const std::string& hostName);

// Whether two host entry names are the same, treating '/' and '\' alike; letter
// case ignored (ASCII letters only) when `ignoreCase`.
bool SameEntryName(const std::string& a, const std::string& b, bool ignoreCase);

// A file name that lands inside the target folder: the name's last part only, with
// characters Windows forbids replaced by '_', and device names ("CON", "LPT1")
// given a leading '_'. Empty when nothing usable is left ("", ".", "..").
std::string SafeOutputName(const std::string& hostName);
