#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "plugin_binding.h"
#include "plugin_module.h"

// A plug-in that is still answering at this information number is not asked further;
// its record keeps what it answered before.
constexpr int kInformationNumberLimit = 10000;
// Nor is one whose answers together pass this many bytes: the record is held in
// memory and written whole.
constexpr std::size_t kInformationTextLimit = 16 * 1024 * 1024;

// Loads the plug-in at `path` exactly as given, reads its information items, notes
// whether it offers ConfigurationDlg and frees it again before returning. Empty when
// the library cannot be loaded or does not export GetPluginInfo.
std::optional<PluginModule> QueryPlugin(const std::string& path);

// The same for a library already loaded from `path`; `library` is released (and the
// library freed, unless another holder keeps it) before returning.
std::optional<PluginModule> QueryLoadedPlugin(const std::string& path, SharedRef<HMODULE> library);

// The same for entry points already bound; their holder is released before returning.
std::optional<PluginModule> QueryEntryPoints(const std::string& path, PluginEntryPoints entryPoints);
