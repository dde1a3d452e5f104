#pragma once

// Malformed and oversized catalogue files, shared by the reader's own tests (native
// and Windows builds) and the tests that read them through the registry library.
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "plugin_module.h"

struct HostileCatalogue {
    std::string bytes;
    // The records the reader must give, one Describe() line each; empty with
    // `checkRecords` false when only the general rules can be checked.
    std::vector<std::string> records;
    bool checkRecords = true;
};

struct HostileCase {
    std::string name;  // a valid test-name fragment
    std::function<HostileCatalogue()> make;
};

const std::vector<HostileCase>& HostileCases();
// Test output names a case, not its bytes.
void PrintTo(const HostileCase& hostileCase, std::ostream* out);

// "path|version|name|flag|patterns=description|..."; values longer than 64 bytes
// appear as their first bytes, length and checksum, so a failure stays readable.
std::string Describe(const PluginModule& module);

// Rules every record the reader gives must obey, whatever the input: a path, and no
// value holding a line feed, a zero byte, Ctrl-Z or the terminator line; patterns
// non-empty and free of whitespace. Empty when all hold, else what broke.
std::string BrokenRule(const PluginModule& module);
