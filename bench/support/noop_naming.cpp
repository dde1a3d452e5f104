#include "noop_naming.h"
#include "set_names.h"

#include <cstdio>

namespace {

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    }
    return true;
}

std::string FileNameOf(const std::string& path)
{
    std::size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Extension(int which)
{
    return std::string(1, static_cast<char>('a' + which));
}

}  // namespace

std::string NoopStem(const std::string& path)
{
    std::string name = FileNameOf(path);
    std::size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string NoopPatternList(const std::string& stem)
{
    std::string list;
    for (int which = 0; which < kNoopPatternCount; ++which) {
        if (which > 0)
            list += ';';
        list += "*." + stem + Extension(which);
    }
    return list;
}

std::string NoopDescription(const std::string& stem)
{
    return "No-op pictures " + stem;
}

std::string NoopCopyName(int index)
{
    char name[32];
    std::snprintf(name, sizeof name, "p%04d" BRISK_PLUGIN_EXTENSION, index);
    return name;
}

std::string NoopFileName(const std::string& base, const std::string& stem, int which)
{
    return base + "." + stem + Extension(which);
}

bool NoopAccepts(const std::string& stem, const std::string& fileName)
{
    std::string name = FileNameOf(fileName);
    if (EqualIgnoringCase(name.substr(0, 6), "reject"))
        return false;
    std::size_t dot = name.find_last_of('.');
    if (dot == std::string::npos)
        return false;
    std::string extension = name.substr(dot + 1);
    for (int which = 0; which < kNoopPatternCount; ++which) {
        if (EqualIgnoringCase(extension, stem + Extension(which)))
            return true;
    }
    return false;
}
