#pragma once

// Starts a benchmark's child process and collects what it printed.
#include <string>

struct ChildRun {
    int exitCode = -1;
    std::string output;   // its standard output
    double seconds = 0;   // from just before the start to its end
};

// Runs `commandLine` to its end; the child's standard error is ours, or discarded
// when `quiet`. The child lives
// in a job that dies with this process, so a hung child cannot outlive the run.
// When `commandLine` contains "{launched}", that text is replaced by the
// high-resolution counter's value taken just before the child is started, so the
// child can time its own start-up from there (the counter is system-wide).
ChildRun RunChild(const std::string& commandLine, bool quiet = false);

// The counter's value now and its ticks per second, for the child's side.
long long CounterNow();
double CounterSeconds(long long ticks);
