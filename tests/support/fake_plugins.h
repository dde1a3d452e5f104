#pragma once

#include <string>
#include <vector>

// One copy of a fake plug-in in a test folder, with its configuration and call log.
// Variants: "all", "image", "archive", "noconfig", "info_only", "no_info", "wide"
// (which entry points the copy exports; see tests/fakes).
class FakePlugin {
public:
    // Copies fake_<variant>.spi to `folder` + `fileName` and writes its configuration.
    FakePlugin(const std::string& folder, const std::string& fileName, const std::string& variant,
               const std::string& config);

    const std::string& Path() const { return path_; }
    void Configure(const std::string& config) const;

    // The calls logged so far, one "Name|arg|..." line each.
    std::vector<std::string> Calls() const;
    // How many logged lines start with `prefix` ("attach", "detach", "IsSupported|", ...).
    int Count(const std::string& prefix) const;
    void ClearLog() const;

private:
    std::string path_;
};

// A catalogue record for a plug-in, written as the catalogue builder writes it.
std::string CatalogueRecord(const std::string& path, const std::string& version, const std::string& name,
                            bool hasConfig, const std::vector<std::pair<std::string, std::string>>& filters);
