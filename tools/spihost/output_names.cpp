#include "output_names.h"

#include <cctype>
#include <cstring>

namespace {

// "CON", "nul.txt", "LPT1" name devices, not files, in any folder.
bool IsDeviceName(const std::string& part)
{
    std::string base = part.substr(0, part.find('.'));
    for (char& c : base)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (base == "con" || base == "prn" || base == "aux" || base == "nul")
        return true;
    return base.size() == 4 && (base.compare(0, 3, "com") == 0 || base.compare(0, 3, "lpt") == 0) &&
           base[3] >= '1' && base[3] <= '9';
}

std::string Clean(std::string part)
{
    for (char& c : part) {
        if (static_cast<unsigned char>(c) < 0x20 || std::strchr("<>:\"|?*", c))
            c = '_';
    }
    return IsDeviceName(part) ? "_" + part : part;
}

}  // namespace

std::string SafeRelativeFolder(const std::string& entryFolder)
{
    std::string result;
    std::string part;
    for (std::string::size_type i = 0; i <= entryFolder.size(); ++i) {
        char c = i < entryFolder.size() ? entryFolder[i] : '\\';
        if (c != '\\' && c != '/') {
            part += c;
            continue;
        }
        if (!part.empty() && part != "." && part != "..")
            result += Clean(part) + "\\";
        part.clear();
    }
    return result;
}

std::string SafeFileName(const std::string& entryFileName)
{
    // A name holding separators keeps only its last usable part.
    std::string parts = SafeRelativeFolder(entryFileName);
    if (parts.empty())
        return "entry";
    parts.pop_back();
    std::string::size_type cut = parts.find_last_of('\\');
    return cut == std::string::npos ? parts : parts.substr(cut + 1);
}
