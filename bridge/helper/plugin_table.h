#pragma once

// The plug-ins the helper has loaded for the host, each once however many of the
// host's records are bound to it, and freed when the last of them is released.
#include <cstdint>
#include <map>
#include <string>

#include "plugin_binding.h"

class PluginTable {
public:
    // The plug-in's id (0 when it cannot be loaded) and its export mask.
    std::uint32_t Load(const std::string& path, std::uint32_t* exportMask);
    void Release(std::uint32_t id);
    // Null for an id that is not loaded.
    const PluginEntryPoints* Find(std::uint32_t id) const;

private:
    struct Loaded {
        std::string path;
        int holders = 0;
        std::uint32_t exportMask = 0;
        SharedRef<PluginEntryPoints> plugin;
    };
    std::map<std::uint32_t, Loaded> loaded_;
    std::uint32_t nextId_ = 1;
};
