#pragma once

// For a front plug-in (one with briskspi.dll or a catalogue beside it): what its
// catalogue says about a file. Lists the catalogued plug-ins of the front plug-in's
// version, which pattern of each the file name matches, and whether the matching
// ones accept the file. spihost asks them itself, after the front plug-in has
// answered, to explain that answer; the front plug-in's own state is not touched.
#include <string>

#include "plugin_file.h"
#include "support_probe.h"

// Prints nothing for a plug-in that is not a front plug-in. Returns the file names
// of the plug-ins that accepted, in catalogue order, joined with ", ".
std::string ReportCatalogue(const PluginFile& front, const std::string& fileName, const SupportProbe& probe);
