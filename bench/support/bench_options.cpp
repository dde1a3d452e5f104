#include "bench_options.h"

#include <cstdlib>
#include <sstream>

BenchOptions::BenchOptions(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument.compare(0, 2, "--") != 0) {
            arguments_.push_back(argument);
            continue;
        }
        std::size_t equals = argument.find('=');
        if (equals == std::string::npos)
            options_.emplace_back(argument.substr(2), "");
        else
            options_.emplace_back(argument.substr(2, equals - 2), argument.substr(equals + 1));
    }
}

const std::string* BenchOptions::Find(const std::string& name) const
{
    for (const auto& option : options_) {
        if (option.first == name)
            return &option.second;
    }
    return nullptr;
}

bool BenchOptions::Has(const std::string& name) const
{
    return Find(name) != nullptr;
}

std::string BenchOptions::Text(const std::string& name, const std::string& fallback) const
{
    const std::string* value = Find(name);
    return value && !value->empty() ? *value : fallback;
}

int BenchOptions::Number(const std::string& name, int fallback) const
{
    const std::string* value = Find(name);
    return value && !value->empty() ? std::atoi(value->c_str()) : fallback;
}

std::vector<int> BenchOptions::Numbers(const std::string& name, const std::vector<int>& fallback) const
{
    const std::string* value = Find(name);
    if (!value || value->empty())
        return fallback;
    std::vector<int> numbers;
    std::istringstream items(*value);
    std::string item;
    while (std::getline(items, item, ','))
        numbers.push_back(std::atoi(item.c_str()));
    return numbers;
}
