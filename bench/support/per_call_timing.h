#pragma once

// Time per call of a short operation: calls are run in batches long enough for the
// counter, and the median batch gives the figure, so a descheduled batch on a busy
// machine does not move it.
#include <vector>

#include "statistics.h"
#include "stopwatch.h"

// How many calls make one batch last at least `batchSeconds`.
template <class Body>
long CallsPerBatch(Body& body, double batchSeconds)
{
    long calls = 1;
    for (;;) {
        Stopwatch clock;
        for (long i = 0; i < calls; ++i)
            body();
        if (clock.Seconds() >= batchSeconds || calls >= (1L << 24))
            return calls;
        calls *= 2;
    }
}

template <class Body>
double BatchSeconds(Body& body, long calls)
{
    Stopwatch clock;
    for (long i = 0; i < calls; ++i)
        body();
    return clock.Seconds();
}

struct PerCallPair {
    double firstNs = 0;
    double secondNs = 0;
    // The median over rounds of second / first within the round: a slow stretch of
    // the machine hits both batches of a round, so this ratio shakes less than the
    // ratio of the two medians.
    double pairedRatio = 0;
};

// Two ways of doing one thing, timed in alternating batches of the same size (as
// many calls as `second`, the slower one, needs for a batch).
template <class First, class Second>
PerCallPair ComparePerCall(First first, Second second, int rounds, double batchSeconds = 0.005)
{
    long calls = CallsPerBatch(second, batchSeconds);
    std::vector<double> firstTimes, secondTimes, ratios;
    for (int round = 0; round < rounds; ++round) {
        // Swapping the order each round keeps either side from always running warm.
        if (round % 2 == 0) {
            firstTimes.push_back(BatchSeconds(first, calls));
            secondTimes.push_back(BatchSeconds(second, calls));
        } else {
            secondTimes.push_back(BatchSeconds(second, calls));
            firstTimes.push_back(BatchSeconds(first, calls));
        }
        ratios.push_back(secondTimes.back() / firstTimes.back());
    }
    return {Median(firstTimes) * 1e9 / calls, Median(secondTimes) * 1e9 / calls, Median(ratios)};
}

template <class Body>
double NanosecondsPerCall(Body body, int rounds, double batchSeconds = 0.005)
{
    long calls = CallsPerBatch(body, batchSeconds);
    std::vector<double> times;
    for (int round = 0; round < rounds; ++round)
        times.push_back(BatchSeconds(body, calls));
    return Median(times) * 1e9 / calls;
}
