#include "host_text.h"

#include <windows.h>

#include "code_page_text.h"
#include "host_failure.h"

std::wstring WideFromUtf8(const std::string& text)
{
    if (text.empty())
        return std::wstring();
    const int size = static_cast<int>(text.size());
    const int units = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring wide(units, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, &wide[0], units);
    return wide;
}

std::string Utf8FromWide(const wchar_t* text, std::size_t length)
{
    if (length == 0)
        return std::string();
    const int units = static_cast<int>(length);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, units, nullptr, 0, nullptr, nullptr);
    std::string utf8(bytes, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, units, &utf8[0], bytes, nullptr, nullptr);
    return utf8;
}

std::string Utf8FromWide(const std::wstring& text)
{
    return Utf8FromWide(text.data(), text.size());
}

std::string Utf8FromAnsi(std::string_view text)
{
    return Utf8FromWide(WideFromAnsi(text));
}

std::string AnsiFileName(const std::string& path)
{
    if (std::optional<std::string> name = AnsiNameOfFile(WideFromUtf8(path)))
        return *name;
    throw HostFailure{kHostFileError, "the ANSI code page cannot write the name " + path +
                                          " and it has no short name, so a plug-in without W entry points "
                                          "cannot open it"};
}

std::string AnsiText(const std::string& text, const char* what)
{
    if (std::optional<std::string> ansi = AnsiFromWide(WideFromUtf8(text)))
        return *ansi;
    throw HostFailure{kHostFileError, std::string("the ANSI code page cannot write the ") + what + " " + text +
                                          ", so a plug-in without W entry points cannot be given it"};
}

Utf8Console::Utf8Console() : previous_(GetConsoleOutputCP())
{
    if (previous_)
        SetConsoleOutputCP(CP_UTF8);
}

Utf8Console::~Utf8Console()
{
    if (previous_)
        SetConsoleOutputCP(previous_);
}
