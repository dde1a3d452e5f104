#pragma once

// spihost keeps every name and text as UTF-8, so that names the ANSI code page
// cannot write survive from the command line to the plug-ins and into the report.
// These convert at the edges: the platform's UTF-16 calls and the plug-ins' ANSI
// entry points.
#include <string>
#include <string_view>

std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromWide(const std::wstring& text);
std::string Utf8FromWide(const wchar_t* text, std::size_t length);
// For the texts ANSI entry points give back (names, information, entry names).
std::string Utf8FromAnsi(std::string_view text);

// The name an ANSI entry point opens as the same file or folder: the name in the
// code page, else its short name. Throws HostFailure (file error) when it has neither.
std::string AnsiFileName(const std::string& path);
// A text for an ANSI entry point that is no file, such as an archive entry's name;
// throws HostFailure (file error) when the code page cannot write it.
std::string AnsiText(const std::string& text, const char* what);

// Makes the console show UTF-8 while spihost runs; output to a file or a pipe is
// UTF-8 in any case. The console's own setting comes back on destruction.
class Utf8Console {
public:
    Utf8Console();
    ~Utf8Console();
    Utf8Console(const Utf8Console&) = delete;
    Utf8Console& operator=(const Utf8Console&) = delete;

private:
    unsigned int previous_;
};
