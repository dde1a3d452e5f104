#include "progress_log.h"

#include <cstdio>

namespace {

void WriteLine(const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

}  // namespace

void ReportPath(const std::string& path)
{
    WriteLine(path);
}

void ReportError(const std::string& path)
{
    WriteLine("error in " + path);
}

void ReportInformationLimit(const std::string& path, int limit)
{
    WriteLine("information numbers stopped at " + std::to_string(limit) + " in " + path);
}

void ReportInformationTextLimit(const std::string& path, std::size_t limit)
{
    WriteLine("information texts stopped at " + std::to_string(limit) + " bytes in " + path);
}
