#include "code_page_text.h"

std::wstring WideFromAnsi(std::string_view text)
{
    if (text.empty())
        return std::wstring();
    const int size = static_cast<int>(text.size());
    const int units = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    std::wstring wide(units, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, &wide[0], units);
    return wide;
}

std::optional<std::string> AnsiFromWide(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int units = static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    const int bytes =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), units, nullptr, 0, nullptr, &usedDefault);
    if (bytes <= 0 || usedDefault)
        return std::nullopt;
    std::string ansi(bytes, '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), units, &ansi[0], bytes, nullptr, &usedDefault);
    // Not every platform honours the no-best-fit flag; the way back is the proof.
    if (usedDefault || WideFromAnsi(ansi) != text)
        return std::nullopt;
    return ansi;
}

std::optional<std::string> AnsiNameOfFile(const std::wstring& name)
{
    if (std::optional<std::string> ansi = AnsiFromWide(name))
        return ansi;
    const DWORD needed = GetShortPathNameW(name.c_str(), nullptr, 0);
    if (needed == 0)
        return std::nullopt;
    std::wstring shortName(needed, L'\0');
    const DWORD length = GetShortPathNameW(name.c_str(), &shortName[0], needed);
    if (length == 0 || length >= needed)
        return std::nullopt;
    shortName.resize(length);
    return AnsiFromWide(shortName);
}

std::size_t WholeUnits(const std::wstring& text, std::size_t room)
{
    if (text.size() <= room)
        return text.size();
    if (room > 0 && IS_HIGH_SURROGATE(text[room - 1]))
        return room - 1;
    return room;
}
