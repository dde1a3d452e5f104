#pragma once

// The result lines that benchmark child processes print, "key=value" one a line.
#include <map>
#include <string>

using KeyValues = std::map<std::string, std::string>;

KeyValues ParseKeyValues(const std::string& text);

// The value of `key` as a number; throws std::runtime_error when it is missing.
double NumberOf(const KeyValues& values, const std::string& key);
