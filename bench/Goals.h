#pragma once
// The goals the benchmarks hold the program to: each one an operator would
// feel, with room for this machine's noise (a run takes one of two speeds,
// fixed when the process starts, up to half as slow again). Each result is
// said against its goal as it comes; when the benchmarks end, each goal
// missed, measured by no benchmark or whose benchmark ended in an error is
// named again on a line of its own ("GOAL MISSED: ..." on standard output,
// read by scripts/run-bench), and the program then ends with 1.
#include <benchmark/benchmark.h>
#include <vector>

namespace bench {

struct Goal {
    // The benchmarks held to it: a pattern found in their names (each of
    // their runs, or the median of their repetitions).
    const char* benchmarks;
    // A counter of the benchmark, or "time" for the time of one iteration.
    const char* measure;
    // In milliseconds for the time, in the counter's own unit otherwise.
    double atMost;
    // What it is, as the operator would feel it.
    const char* what;
};

// Runs the benchmarks asked for on the command line; 1 when a goal was missed.
int runBenchmarks(int& argc, char** argv, const std::vector<Goal>& goals);

} // namespace bench
