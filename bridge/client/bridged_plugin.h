#pragma once

// The host's record of one 32-bit plug-in bound through the helper: which helper
// loaded it (a helper that failed is replaced, and the plug-in is loaded again in
// the next one) and under which id.
#include <cstdint>
#include <string>

struct BridgedPlugin {
    std::string path;
    std::uint32_t exportMask = 0;
    std::uint32_t id = 0;          // in the helper of `helperGeneration`
    std::uint64_t helperGeneration = 0;
};
