#pragma once

#include <istream>
#include <list>

#include "module_catalogue.h"
#include "plugin_module.h"
#include "text_lines.h"

// Reads one record into `module` (its texts, flag and filters reset first). A record
// ends at "-----", at the end of the input, or at a read failure, keeping what was
// read so far. Returns the line source so the caller can test its state.
TextLines& ReadRecord(TextLines& lines, PluginModule& module);

// Reads every record of a catalogue, in file order. Records that did not get as far
// as their path line are dropped; all others are kept, whatever their version.
std::list<PluginModule> ReadCatalogue(ByteInput& input);
// The same, appended to `modules` and living where its records live.
void ReadCatalogueInto(ByteInput& input, ModuleCatalogue::ModuleList& modules);
// The same from a standard stream (catalogue_stream_reader.cpp; the registry library
// reads its file without streams and does not link it).
std::list<PluginModule> ReadCatalogue(std::istream& input);
