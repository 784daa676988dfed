#include "Goals.h"
#include "Arguments.h"

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
            names_.push_back(run.run_name.str());
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
        // Of an alternation, each part's own word: one that no program's benchmark matched is a typing error.
        for (const std::string& line : filterPartLines(filter, names_))
            std::fprintf(stdout, "%s\n", line.c_str());
        // A goal the run chose that no benchmark measured holds nothing any more.
        for (std::size_t g = 0; g < goals_.size(); ++g)
            if (!held_[g] && filterChooses(filter, goals_[g].benchmarks))
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
    // Every benchmark that ran, by name.
    std::vector<std::string> names_;
};

benchmark::ConsoleReporter::OutputOptions taken;
bool argumentsTaken = false;

} // namespace

void takeArguments(int& argc, char** argv) {
    if (argumentsTaken) return;
    argumentsTaken = true;
    taken = outputOptions(argc, argv);
    benchmark::Initialize(&argc, argv);
    const std::string fault =
        argumentsFault(std::vector<std::string>(argv + 1, argv + argc), benchmark::GetBenchmarkFilter());
    if (fault.empty()) return;
    std::fprintf(stdout, "BAD ARGUMENTS: %s\n", fault.c_str());
    std::fflush(stdout);
    std::exit(2);
}

int runBenchmarks(int& argc, char** argv, const std::vector<Goal>& goals) {
    takeArguments(argc, argv);
    HeldToGoals reporter(goals, taken);
    const std::size_t ran = benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.missed(ran);
}

} // namespace bench
