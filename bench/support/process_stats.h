#pragma once

// What the running process holds: its libraries, its private memory, and how often
// the no-op benchmark plug-ins loaded in it were called.
#include <cstddef>
#include <string>
#include <vector>

std::size_t LoadedModuleCount();
// The full paths of the loaded modules.
std::vector<std::string> LoadedModulePaths();
// Private bytes committed: PrivateUsage of the process memory counters, or its twin
// PagefileUsage where PrivateUsage is not filled in.
std::size_t PrivateBytes();
// The sum of NoopCallCount over every loaded library that exports it.
long NoopCallsInProcess();
