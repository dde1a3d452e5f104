#pragma once

// What one support probe found: the candidates, in catalogue order, and the name the
// probe was made for. Shared read-only between the thread that made it and threads
// that have made no probe of their own.
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct PluginEntryPoints;

struct ProbeResult {
    // Entry points of bound records (not owned): they live as long as the module set.
    std::vector<const PluginEntryPoints*> candidates;
    // The probed name in both kinds; the ANSI one is empty when the wide name has none.
    std::optional<std::string> name;
    std::optional<std::wstring> wideName;
};

using SharedProbe = std::shared_ptr<const ProbeResult>;

// Sets a probed name, keeping the memory the slot already has.
template <class Char>
void AssignText(std::optional<std::basic_string<Char>>& slot, const Char* text)
{
    if (slot)
        slot->assign(text);
    else
        slot.emplace(text);
}
