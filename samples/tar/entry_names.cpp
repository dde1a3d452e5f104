#include "entry_names.h"

#include <cstring>

namespace {

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsDeviceName(const std::string& name)
{
    std::string base = name.substr(0, name.find('.'));
    for (char& c : base)
        c = Lower(c);
    if (base == "con" || base == "prn" || base == "aux" || base == "nul")
        return true;
    return base.size() == 4 && (base.compare(0, 3, "com") == 0 || base.compare(0, 3, "lpt") == 0) &&
           base[3] >= '1' && base[3] <= '9';
}

}  // namespace

std::string HostEntryName(const std::string& storedName)
{
    std::string name = storedName;
    for (char& c : name) {
        if (c == '/')
            c = '\\';
    }
    for (;;) {
        if (name.compare(0, 2, ".\\") == 0)
            name.erase(0, 2);
        else if (!name.empty() && name[0] == '\\')
            name.erase(0, 1);
        else
            return name;
    }
}

std::string EntryFolder(const std::string& hostName)
{
    std::string::size_type cut = hostName.rfind('\\');
    return cut == std::string::npos ? std::string() : hostName.substr(0, cut + 1);
}

std::string EntryFileName(const std::string& hostName)
{
    std::string::size_type cut = hostName.rfind('\\');
    return cut == std::string::npos ? hostName : hostName.substr(cut + 1);
}

bool SameEntryName(const std::string& a, const std::string& b, bool ignoreCase)
{
    if (a.size() != b.size())
        return false;
    for (std::string::size_type i = 0; i < a.size(); ++i) {
        char x = a[i] == '/' ? '\\' : a[i];
        char y = b[i] == '/' ? '\\' : b[i];
        if (ignoreCase ? Lower(x) != Lower(y) : x != y)
            return false;
    }
    return true;
}

std::string SafeOutputName(const std::string& hostName)
{
    std::string name = EntryFileName(HostEntryName(hostName));
    if (name.empty() || name == "." || name == "..")
        return std::string();
    for (char& c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || std::strchr("<>:\"/\\|?*", c))
            c = '_';
    }
    if (IsDeviceName(name))
        name.insert(0, "_");
    return name;
}
