// The window on a large neighborhood, beside the command line loading it: when the window first
// painted, and when it first painted the loaded neighborhood (`quillhaven --timings`, which takes
// both from the window's paint events and prints the steady clock's reading), each counted from
// the moment this program started the process; beside the command line's load of the same
// neighborhood, a process that loads it as quillhaven-cli does and does nothing else.
// For each size given (sims; by default 1000 and 10000) prints the median of three runs of each,
// and the ratio of the window's time to the command line's (goals: the first frame within 0.3 s,
// the neighborhood shown within 1.2 times the command line's time). The window runs on Qt's
// offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "child_process.h"
#include "large_neighborhood.h"
#include "load_only.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRepetitions = 3;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The steady clock's reading printed after `what: ` in `file`, as seconds since `start`; -1 when
// the line is missing.
double Moment(const fs::path& file, const std::string& what, Clock::time_point start) {
    std::ifstream in(file);
    std::string line;
    const std::string marker = "(steady clock ";
    while (std::getline(in, line)) {
        if (line.rfind(what + ":", 0) != 0) continue;
        const auto at = line.find(marker);
        if (at == std::string::npos) continue;
        const double clock = std::atof(line.c_str() + at + marker.size());
        return clock - std::chrono::duration<double>(start.time_since_epoch()).count();
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--load-only") return qh::bench::LoadOnly(argv[2]);
    const std::string self = fs::canonical("/proc/self/exe").string();
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty()) sizes = {1000, 10000};
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    bool ok = true;
    for (int sims : sizes) {
        const fs::path data = fs::temp_directory_path() / "quillhaven-window-bench";
        fs::remove_all(data);
        if (!qh::bench::GenerateLargeNeighborhood(data / "Neighborhoods", sims)) return 1;
        const std::vector<std::string> shared{"--user-data", data.string(), "--settings", (data / "settings.ini").string()};
        const std::vector<std::string> load{self, "--load-only", (data / "Neighborhoods").string()};
        std::vector<std::string> window{QH_APP_PATH, "--timings", "--neighborhood", "N900"};
        window.insert(window.end(), shared.begin(), shared.end());
        const fs::path errors = data / "timings.txt";
        std::vector<double> loads, firsts, shown;
        for (int i = 0; i < kRepetitions; ++i) {
            const auto alone = qh::bench::RunChild(load);
            ok &= alone.ok;
            loads.push_back(alone.seconds);
            const Clock::time_point start = Clock::now();
            const auto run = qh::bench::RunChild(window, errors.string(), start);
            const double first = Moment(errors, "first frame", start);
            const double loaded = Moment(errors, "neighborhood shown", start);
            ok &= run.ok && first >= 0 && loaded >= 0;
            firsts.push_back(first);
            shown.push_back(loaded);
        }
        const double alone = Median(loads);
        const double loaded = Median(shown);
        std::printf("%6d sims: window's first frame %.3f s (goal: at most 0.3 s); neighborhood shown %.3f s; "
                    "the load alone %.3f s; ratio %.2f (goal: at most 1.2)\n",
                    sims, Median(firsts), loaded, alone, alone > 0 ? loaded / alone : 0.0);
        fs::remove_all(data);
    }
    return ok ? 0 : 1;
}
