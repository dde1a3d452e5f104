#pragma once

#include <cstddef>
#include <string_view>

// A quick test that lets the probe skip the platform's wildcard match for most
// patterns: true only when `pattern` cannot match the name of `nameLength` bytes at
// `name`, because both end in plain ASCII characters that differ, case aside. A
// pattern that ends in a wildcard or a '.', or holds a ';', is never ruled out, nor
// is anything ending in a byte above 0x7F (code-page letters and double-byte
// characters). False means only "ask the platform".
bool LastCharacterRulesOut(const char* name, std::size_t nameLength, std::string_view pattern);
