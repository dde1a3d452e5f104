#include "fake_plugins.h"

#include "test_files.h"

FakePlugin::FakePlugin(const std::string& folder, const std::string& fileName, const std::string& variant,
                       const std::string& config)
    : path_(folder + fileName)
{
    CopyFixture("fake_" + variant + ".spi", path_);
    Configure(config);
}

void FakePlugin::Configure(const std::string& config) const
{
    WriteFileBytes(path_ + ".cfg", config);
}

std::vector<std::string> FakePlugin::Calls() const
{
    return ReadLines(path_ + ".log");
}

int FakePlugin::Count(const std::string& prefix) const
{
    int count = 0;
    for (const std::string& line : Calls()) {
        if (line.compare(0, prefix.size(), prefix) == 0)
            ++count;
    }
    return count;
}

void FakePlugin::ClearLog() const
{
    WriteFileBytes(path_ + ".log", "");
}

std::string CatalogueRecord(const std::string& path, const std::string& version, const std::string& name,
                            bool hasConfig, const std::vector<std::pair<std::string, std::string>>& filters)
{
    std::string record = path + "\r\n" + version + "\r\n" + name + "\r\n" + (hasConfig ? "true" : "false") + "\r\n";
    for (const auto& filter : filters)
        record += filter.first + "\r\n" + filter.second + "\r\n";
    return record + "-----\r\n";
}
