// What a process holds that a leaking library makes grow: private memory, open
// handles and TLS indexes.
#pragma once

#include <string>

struct ProcessFigures {
    long long privateBytes = 0;
    long handles = 0;
    // The lowest free TLS index: the process has about a thousand, and a library that
    // takes one per load and never returns it makes the host fail for good.
    long tlsIndex = 0;
};

ProcessFigures MeasureProcess();

// Bounds on growth between two measurements.
struct GrowthBounds {
    long long bytesPerCycle;
    long handles;
    long tlsIndexes;
};

// What grew past the bounds over `cycles` cycles, or empty when nothing did.
std::string GrowthPastBounds(const ProcessFigures& from, const ProcessFigures& to, int cycles,
                             const GrowthBounds& bounds);
