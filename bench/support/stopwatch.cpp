#include "stopwatch.h"

#include <windows.h>

namespace {

long long Ticks()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double TicksPerSecond()
{
    static const double frequency = [] {
        LARGE_INTEGER value;
        QueryPerformanceFrequency(&value);
        return static_cast<double>(value.QuadPart);
    }();
    return frequency;
}

}  // namespace

Stopwatch::Stopwatch() : start_(Ticks()) {}

void Stopwatch::Restart()
{
    start_ = Ticks();
}

double Stopwatch::Seconds() const
{
    return static_cast<double>(Ticks() - start_) / TicksPerSecond();
}
