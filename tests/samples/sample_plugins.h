#pragma once

#include <string>

#include "plugin_binding.h"

// A sample plug-in loaded from the test's folder; the record keeps it loaded.
PluginEntryPoints LoadSample(const std::string& fileName);

// The bytes of a block a plug-in handed over (its whole allocated size), after
// which the block is freed. Empty for a null handle.
std::string TakeBlock(HLOCAL handle);

// Calls ConfigurationDlg(nullptr, 0), which shows a modal About box, and closes the
// box from another thread. Returns the box's text (empty when no box appeared
// within a few seconds) and sets `result` to what ConfigurationDlg returned.
std::string ShowAndCloseAbout(ConfigurationDlgFunction* configurationDlg, int& result);
