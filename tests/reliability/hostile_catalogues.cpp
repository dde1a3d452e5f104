#include "hostile_catalogues.h"

#include <cstdint>

namespace {

std::string Shown(std::string_view value)
{
    if (value.size() <= 64)
        return std::string(value);
    std::uint32_t sum = 2166136261u;  // FNV-1a
    for (unsigned char byte : value)
        sum = (sum ^ byte) * 16777619u;
    return std::string(value.substr(0, 16)) + "...[" + std::to_string(value.size()) + " bytes, " + std::to_string(sum) + "]";
}

std::string Record(const std::string& path, const std::string& version, const std::string& name,
                   const std::string& flag, const std::vector<std::pair<std::string, std::string>>& filters,
                   const std::string& eol = "\n")
{
    std::string text = path + eol + version + eol + name + eol + flag + eol;
    for (const auto& filter : filters)
        text += filter.first + eol + filter.second + eol;
    return text + "-----" + eol;
}

// A deterministic byte generator, so a failing case can be reproduced.
std::string NoiseBytes(std::size_t size, std::uint32_t seed)
{
    std::string bytes(size, '\0');
    for (char& byte : bytes) {
        seed = seed * 1664525u + 1013904223u;
        byte = static_cast<char>(seed >> 24);
    }
    return bytes;
}

const std::size_t kTenMegabytes = 10u * 1024u * 1024u;

HostileCatalogue BinaryValues()
{
    const std::string path = "\x01\x02\x7f\xfe\xff.spi";
    const std::string name = "\x80\x81\x9f \xe3\x81\x82\t";
    const std::string description = "\x1b[31m\x08\x07";
    return {Record(path, "00IN", name, "true", {{"*.\xa0\xff;*.\x01", description}}),
            {path + "|00IN|" + name + "|true|*.\xa0\xff;*.\x01=" + description}};
}

HostileCatalogue Noise()
{
    return {NoiseBytes(1u << 20, 7), {}, false};
}

HostileCatalogue NoiseWithoutEndOfText()
{
    std::string bytes = NoiseBytes(1u << 20, 11);
    for (char& byte : bytes) {
        if (byte == '\x1a')
            byte = '\n';
    }
    return {bytes, {}, false};
}

HostileCatalogue ZeroBytes()
{
    std::string bytes = std::string("a.spi\0tail\n", 11) + std::string("\0only after zero\n", 17) +
                        std::string("00IN\0\n", 6) + "Name\n" + std::string("true\0false\n", 11) +
                        std::string("*.a\0;*.b\n", 9) + "A files\n-----\n" + std::string(4096, '\0') + "\n" +
                        Record("b.spi", "00AM", "B", "false", {});
    return {bytes, {"a.spi|00IN|Name|true|*.a=A files", "b.spi|00AM|B|false"}};
}

HostileCatalogue TenMegabyteLine()
{
    std::string name(kTenMegabytes, 'n');
    HostileCatalogue catalogue;
    catalogue.bytes = Record("a.spi", "00IN", name, "true", {{"*.a", "A"}}) + Record("b.spi", "00IN", "B", "false", {});
    catalogue.records = {"a.spi|00IN|" + Shown(name) + "|true|*.a=A", "b.spi|00IN|B|false"};
    return catalogue;
}

HostileCatalogue TenMegabyteLineWithoutBreak()
{
    return {std::string(kTenMegabytes, 'p'), {}};
}

HostileCatalogue TenMegabytePatternLine()
{
    std::string patterns;
    std::string joined;
    for (int i = 0; patterns.size() < kTenMegabytes; ++i) {
        patterns += " *.ext" + std::to_string(i) + "\t;";
        joined += (i ? ";*.ext" : "*.ext") + std::to_string(i);
    }
    return {Record("a.spi", "00IN", "A", "true", {{patterns, "Many"}}), {"a.spi|00IN|A|true|" + Shown(joined) + "=Many"}};
}

HostileCatalogue HundredThousandRecords()
{
    HostileCatalogue catalogue;
    for (int i = 0; i < 100000; ++i) {
        std::string path = "C:\\plugins\\p" + std::to_string(i) + ".spi";
        std::string version = i % 2 ? "00AM" : "00IN";
        catalogue.bytes += Record(path, version, "P" + std::to_string(i), "false", {{"*.p" + std::to_string(i), "Ps"}},
                                  i % 3 ? "\r\n" : "\n");
        catalogue.records.push_back(path + "|" + version + "|P" + std::to_string(i) + "|false|*.p" +
                                    std::to_string(i) + "=Ps");
    }
    return catalogue;
}

HostileCatalogue ManyFilters()
{
    std::vector<std::pair<std::string, std::string>> filters;
    std::string expected = "a.spi|00IN|A|true";
    for (int i = 0; i < 50000; ++i) {
        filters.push_back({"*.f" + std::to_string(i), "F" + std::to_string(i)});
        expected += "|*.f" + std::to_string(i) + "=F" + std::to_string(i);
    }
    return {Record("a.spi", "00IN", "A", "true", filters), {expected}};
}

HostileCatalogue MissingTerminator()
{
    return {"a.spi\n00IN\nA\ntrue\n*.a\nA files\n*.b\nB files\n", {"a.spi|00IN|A|true|*.a=A files|*.b=B files"}};
}

HostileCatalogue MissingTerminatorAndLastBreak()
{
    return {"a.spi\n00IN\nA\ntrue\n*.a\nA files\n*.b\nB files", {"a.spi|00IN|A|true|*.a=A files"}};
}

HostileCatalogue CutInsideHeader()
{
    return {"a.spi\n00IN", {"a.spi|||false"}};
}

HostileCatalogue OnlyTerminators()
{
    std::string bytes;
    for (int i = 0; i < 100000; ++i)
        bytes += i % 2 ? "-----\r\n" : "-----\n";
    return {bytes, {}};
}

HostileCatalogue TerminatorLookalikes()
{
    std::string bytes = "------\n00IN\n----- \nfalse\n -----\n-----\r\r\n-----\n";
    return {bytes, {"------|00IN|----- |false|-----=-----\r"}};
}

HostileCatalogue BlankLinesOnly()
{
    std::string bytes;
    for (int i = 0; i < 200000; ++i)
        bytes += i % 2 ? "\r\n" : "\n";
    return {bytes, {}};
}

HostileCatalogue EndOfTextInTheMiddle()
{
    return {Record("a.spi", "00IN", "A", "false", {}) + "b.spi\n00IN\x1a" + Record("c.spi", "00IN", "C", "false", {}),
            {"a.spi|00IN|A|false", "b.spi|||false"}};
}

HostileCatalogue LoneCarriageReturns()
{
    return {"a\rb.spi\r\n00IN\r\r\nname\rwith\rreturns\ntrue\r\n*.a\r;*.b\r\ndesc\r\n-----\r\n",
            {"a\rb.spi|00IN\r|name\rwith\rreturns|true|*.a;*.b=desc"}};
}

}  // namespace

std::string Describe(const PluginModule& module)
{
    std::string line = Shown(module.path) + "|" + Shown(module.version) + "|" + Shown(module.name) + "|" +
                       (module.hasConfig ? "true" : "false");
    for (const FileFilter& filter : module.filters)
        line += "|" + Shown(JoinPatternList(filter.patterns)) + "=" + Shown(filter.description);
    return line;
}

std::string BrokenRule(const PluginModule& module)
{
    if (module.path.empty())
        return "empty path";
    auto badValue = [](std::string_view value) {
        return value.find_first_of(std::string_view("\n\0\x1a", 3)) != std::string_view::npos || value == "-----";
    };
    if (badValue(module.path) || badValue(module.version) || badValue(module.name))
        return "path, version or name holds a line break, zero, Ctrl-Z or is a terminator";
    for (const FileFilter& filter : module.filters) {
        if (filter.description.empty() || badValue(filter.description))
            return "bad description";
        for (std::string_view pattern : filter.patterns) {
            if (pattern.empty() || pattern.find_first_of(" \t\n\v\f\r") != std::string::npos)
                return "empty pattern or pattern with whitespace";
        }
    }
    return "";
}

void PrintTo(const HostileCase& hostileCase, std::ostream* out)
{
    *out << hostileCase.name;
}

const std::vector<HostileCase>& HostileCases()
{
    static const std::vector<HostileCase> cases = {
        {"BinaryValues", BinaryValues},
        {"Noise", Noise},
        {"NoiseWithoutEndOfText", NoiseWithoutEndOfText},
        {"ZeroBytes", ZeroBytes},
        {"TenMegabyteLine", TenMegabyteLine},
        {"TenMegabyteLineWithoutBreak", TenMegabyteLineWithoutBreak},
        {"TenMegabytePatternLine", TenMegabytePatternLine},
        {"HundredThousandRecords", HundredThousandRecords},
        {"ManyFilters", ManyFilters},
        {"MissingTerminator", MissingTerminator},
        {"MissingTerminatorAndLastBreak", MissingTerminatorAndLastBreak},
        {"CutInsideHeader", CutInsideHeader},
        {"OnlyTerminators", OnlyTerminators},
        {"TerminatorLookalikes", TerminatorLookalikes},
        {"BlankLinesOnly", BlankLinesOnly},
        {"EndOfTextInTheMiddle", EndOfTextInTheMiddle},
        {"LoneCarriageReturns", LoneCarriageReturns},
    };
    return cases;
}
