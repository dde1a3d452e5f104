#pragma once

// Elapsed wall time from the system's high-resolution counter.
class Stopwatch {
public:
    Stopwatch();
    void Restart();
    double Seconds() const;

private:
    long long start_;
};
