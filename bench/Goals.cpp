#include "Goals.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <regex>
#include <string>
#include <unistd.h>

namespace bench {

namespace {

// A reporter of our own is given none of the library's output options: they
// are read as the library reads them, before it takes its arguments away, so
// that what reads the output gets no colour escapes unless colour was asked for.
benchmark::ConsoleReporter::OutputOptions outputOptions(int argc, char** argv) {
    std::string colour = "auto";
    bool tabular = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--benchmark_color=", 18) == 0) colour = argv[i] + 18;
        if (std::strncmp(argv[i], "--benchmark_counters_tabular=", 29) == 0)
            tabular = std::string(argv[i] + 29) != "false";
    }
    const char* term = std::getenv("TERM");
    const bool withColour = colour == "auto" ? isatty(STDOUT_FILENO) && term && std::strcmp(term, "dumb") != 0
                                             : colour == "true" || colour == "yes" || colour == "1";
    return benchmark::ConsoleReporter::OutputOptions((withColour ? benchmark::ConsoleReporter::OO_Color : 0) |
                                                     (tabular ? benchmark::ConsoleReporter::OO_Tabular : 0));
}

class HeldToGoals : public benchmark::ConsoleReporter {
  public:
    HeldToGoals(const std::vector<Goal>& goals, OutputOptions options)
        : ConsoleReporter(options), goals_(goals), held_(goals.size()) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            // A benchmark that ended in an error measured nothing, filtered or not.
            if (run.error_occurred) {
                missed_.push_back(run.benchmark_name() + ": ended in an error: " + run.error_message);
                for (std::size_t g = 0; g < goals_.size(); ++g)
                    if (std::regex_search(run.benchmark_name(), std::regex(goals_[g].benchmarks)))
                        held_[g] = true;
                continue;
            }
            // Of repeated runs, their median stands for them.
            if (run.repetitions > 1 && run.aggregate_name != "median") continue;
            for (std::size_t g = 0; g < goals_.size(); ++g)
                if (std::regex_search(run.benchmark_name(), std::regex(goals_[g].benchmarks))) {
                    held_[g] = true;
                    hold(run, goals_[g]);
                }
        }
    }

    int missed(std::size_t ran) {
        const std::string filter = benchmark::GetBenchmarkFilter();
        // What scripts/run-bench counts: a filter no program's benchmark matched is a run of nothing.
        if (ran == 0)
            std::fprintf(stdout, "NO BENCHMARK RUN: the filter \"%s\" matches none here\n", filter.c_str());
        // A goal the run chose that no benchmark measured holds nothing any more.
        for (std::size_t g = 0; g < goals_.size(); ++g)
            if (!held_[g] && chosen(filter, goals_[g].benchmarks))
                missed_.push_back(std::string(goals_[g].benchmarks) + ": measured by no benchmark");
        if (missed_.empty()) return 0;
        // One line each, on the output that scripts/run-bench reads.
        std::fprintf(stdout, "\n%zu GOALS MISSED:\n", missed_.size());
        for (const std::string& m : missed_)
            std::fprintf(stdout, "GOAL MISSED: %s\n", m.c_str());
        std::fflush(stdout);
        return 1;
    }

  private:
    // Whether a filter chooses the goal's benchmarks: every one without a
    // filter, those it names (or, with a leading "-", does not name) with one.
    static bool chosen(const std::string& filter, const char* benchmarks) {
        if (filter.empty() || filter == "." || filter == "all") return true;
        if (filter[0] == '-') return !std::regex_search(benchmarks, std::regex(filter.substr(1)));
        return std::regex_search(benchmarks, std::regex(filter));
    }

    void hold(const Run& run, const Goal& goal) {
        const std::string measure = goal.measure;
        double value = 0;
        if (measure == "time") {
            value = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e3;
        } else if (const auto counter = run.counters.find(measure); counter != run.counters.end()) {
            value = counter->second.value;
        } else {
            missed_.push_back(run.benchmark_name() + ": no " + measure + " measured for " + goal.what);
            return;
        }
        const bool met = value <= goal.atMost;
        char said[512];
        std::snprintf(said, sizeof said, "%s: %s %.4g%s, goal at most %.4g", run.benchmark_name().c_str(),
                      goal.what, value, measure == "time" ? " ms" : "", goal.atMost);
        std::fprintf(stdout, "  %s %s\n", met ? "within the goal:" : "OVER THE GOAL:", said);
        std::fflush(stdout);
        if (!met) missed_.emplace_back(said);
    }

    const std::vector<Goal>& goals_;
    std::vector<bool> held_;
    std::vector<std::string> missed_;
};

} // namespace

int runBenchmarks(int& argc, char** argv, const std::vector<Goal>& goals) {
    const benchmark::ConsoleReporter::OutputOptions options = outputOptions(argc, argv);
    benchmark::Initialize(&argc, argv);
    HeldToGoals reporter(goals, options);
    const std::size_t ran = benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.missed(ran);
}

} // namespace bench
