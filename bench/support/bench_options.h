#pragma once

// A benchmark's command line: "--name=value" options, "--name" flags, and the
// other arguments in order.
#include <string>
#include <vector>

class BenchOptions {
public:
    BenchOptions(int argc, char** argv);

    bool Has(const std::string& name) const;
    std::string Text(const std::string& name, const std::string& fallback) const;
    int Number(const std::string& name, int fallback) const;
    // A comma-separated list of numbers.
    std::vector<int> Numbers(const std::string& name, const std::vector<int>& fallback) const;
    const std::vector<std::string>& Arguments() const { return arguments_; }

private:
    const std::string* Find(const std::string& name) const;

    std::vector<std::pair<std::string, std::string>> options_;
    std::vector<std::string> arguments_;
};
