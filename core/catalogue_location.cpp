#include "catalogue_location.h"

#include "set_names.h"

namespace {
const char kDefaultName[] = BRISK_DEFAULT_CATALOGUE;
const char kSwitch[] = "/configfile:";
}  // namespace

std::string CatalogueFileName(const std::string& commandLine)
{
    std::string folded = commandLine;
    for (char& byte : folded) {
        if (byte >= 'A' && byte <= 'Z')
            byte = static_cast<char>(byte - 'A' + 'a');
    }
    std::string::size_type found = folded.find(kSwitch);
    if (found == std::string::npos)
        return kDefaultName;
    std::string::size_type start = found + sizeof(kSwitch) - 1;
    std::string::size_type end = folded.find(' ', start);
    return folded.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string CataloguePathIn(const std::string& registryFolder, const std::string& commandLine)
{
    return registryFolder + CatalogueFileName(commandLine);
}
