#pragma once
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

// Times one unit of work: warm-up runs first, then one sample per run.
struct BenchResult {
    double medianMicros = 0.0;
    double minMicros = 0.0;
    int runs = 0;
};

template <class Work>
BenchResult MeasureMicros(Work&& work, int warmUpRuns, int runs)
{
    for (int i = 0; i < warmUpRuns; ++i)
        work();
    std::vector<double> samples;
    samples.reserve(runs);
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - start;
        samples.push_back(took.count());
    }
    std::sort(samples.begin(), samples.end());
    BenchResult result;
    result.runs = runs;
    if (!samples.empty()) {
        result.minMicros = samples.front();
        result.medianMicros = samples[samples.size() / 2];
    }
    return result;
}

inline void PrintBenchResult(const char* name, const BenchResult& result)
{
    std::printf("%-60s median %10.1f us   min %10.1f us   (%d runs)\n", name, result.medianMicros,
                result.minMicros, result.runs);
    std::fflush(stdout);
}
