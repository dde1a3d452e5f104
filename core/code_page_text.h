#pragma once

// Conversions between the ANSI code page and UTF-16, for the W exports and for the
// plug-ins that have only the ANSI ones.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

std::wstring WideFromAnsi(std::string_view text);

// The text in the ANSI code page, or nothing when a character has no exact
// counterpart there (the platform would write '?' or a look-alike).
std::optional<std::string> AnsiFromWide(const std::wstring& text);

// A file name an ANSI entry point opens as the same file: the name itself when it
// converts without loss, else the file's short (8.3) name when it has one that does.
std::optional<std::string> AnsiNameOfFile(const std::wstring& name);

// How many of the first `room` units of `text` can be kept without splitting a
// surrogate pair.
std::size_t WholeUnits(const std::wstring& text, std::size_t room);
