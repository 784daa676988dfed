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

// Takes the benchmark library's arguments out of the command line, once,
// before the program starts anything (a log, a helper program): an argument
// left that is none of them (a misspelt flag, a bare word) or a filter that is
// no pattern is said on one line ("BAD ARGUMENTS: ...", read by
// scripts/run-bench) and the program ends with 2.
void takeArguments(int& argc, char** argv);

// Runs the benchmarks asked for on the command line; 1 when a goal was missed.
// With a filter of several alternatives, says of each whether it chose a
// benchmark here ("FILTER PART CHOSE: ..." or "FILTER PART CHOSE NOTHING: ..."),
// so that scripts/run-bench names a part no program's benchmark matched.
int runBenchmarks(int& argc, char** argv, const std::vector<Goal>& goals);

} // namespace bench
