#include "key_values.h"

#include <cstdlib>
#include <sstream>
#include <stdexcept>

KeyValues ParseKeyValues(const std::string& text)
{
    KeyValues values;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::size_t equals = line.find('=');
        if (equals != std::string::npos)
            values[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return values;
}

double NumberOf(const KeyValues& values, const std::string& key)
{
    auto found = values.find(key);
    if (found == values.end())
        throw std::runtime_error("no value for " + key);
    return std::strtod(found->second.c_str(), nullptr);
}
