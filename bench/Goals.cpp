#include "Goals.h"

#include <cstdio>
#include <regex>
#include <string>

namespace bench {

namespace {

class HeldToGoals : public benchmark::ConsoleReporter {
  public:
    explicit HeldToGoals(const std::vector<Goal>& goals) : goals_(goals), held_(goals.size()) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            // Of repeated runs, their median stands for them.
            if (run.error_occurred || (run.repetitions > 1 && run.aggregate_name != "median")) continue;
            for (std::size_t g = 0; g < goals_.size(); ++g)
                if (std::regex_search(run.benchmark_name(), std::regex(goals_[g].benchmarks))) {
                    held_[g] = true;
                    hold(run, goals_[g]);
                }
        }
    }

    int missed() {
        // A goal that no benchmark of a whole run measured holds nothing any more.
        const std::string filter = benchmark::GetBenchmarkFilter();
        if (filter.empty() || filter == "." || filter == "all")
            for (std::size_t g = 0; g < goals_.size(); ++g)
                if (!held_[g])
                    missed_.push_back(std::string(goals_[g].benchmarks) + ": measured by no benchmark");
        if (missed_.empty()) return 0;
        std::fprintf(stderr, "\n%zu GOALS MISSED:\n", missed_.size());
        for (const std::string& m : missed_)
            std::fprintf(stderr, "  %s\n", m.c_str());
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
};

} // namespace

int runBenchmarks(int& argc, char** argv, const std::vector<Goal>& goals) {
    benchmark::Initialize(&argc, argv);
    HeldToGoals reporter(goals);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.missed();
}

} // namespace bench
