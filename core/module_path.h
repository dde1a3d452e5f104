#pragma once

#include <string>

#include <windows.h>

// The full file name of a loaded module, however long: the buffer grows until the
// name fits.
std::string ModuleFileName(HMODULE module);

// The folder of a path, with its trailing separator (the path cut after its last
// separator).
std::string FolderOf(const std::string& path);
