#pragma once

// Lays out what the benchmarks run: the front plug-in with its registry library, the
// catalogue, copies of the no-op plug-in and of the sample bitmap reader, and a
// picture to open. Everything is copied from the folder of the running program.
#include <string>
#include <vector>

#include "plugin_module.h"

// A file built beside the running program.
std::string BuiltFile(const std::string& name);

// Copies BriskImp.spi and briskspi.dll into `folder`, from this build or, when `from`
// is given, from that folder (another build of the two, set beside this one).
void StageFrontPlugin(const std::string& folder, const std::string& from = "");

// Writes `records` into `folder`\briskspi.txt, where the registry library reads it.
void WriteCatalogue(const std::string& folder, const std::vector<PluginModule>& records);

// The record that a catalogue holds for a copy of the no-op plug-in at `path`, made
// from the naming rule without loading it.
PluginModule NoopRecord(const std::string& path);

// The record for the plug-in at `path`, from its own GetPluginInfo answers (the
// plug-in is loaded and freed). Throws std::runtime_error when it answers nothing.
PluginModule QueriedRecord(const std::string& path);

// Copies the no-op plug-in to `folder`\p0000.spi and onwards for `indexes`; returns
// the copies' paths.
std::vector<std::string> StageNoopCopies(const std::string& folder, const std::vector<int>& indexes);

// Writes a 24-bit bitmap of `width` x `height` to `path`.
void WritePicture(const std::string& path, int width, int height);
