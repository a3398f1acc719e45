// `quillhaven-cli dump` of a large neighborhood beside the least any dump must do, a load of the
// same neighborhood, each in a process of its own: wall time and peak resident memory (the
// kernel's count for the child, as /usr/bin/time -v shows it).
// For each size given (sims; by default 1000 and 10000) prints both, and the ratios (goals: the
// dump's memory within 1.5 times the load's, its time within 2 times).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "child_process.h"
#include "large_neighborhood.h"
#include "load_only.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--load-only") == 0) return qh::bench::LoadOnly(argv[2]);
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty()) sizes = {1000, 10000};
    const std::string self = fs::canonical("/proc/self/exe").string();
    bool ok = true;
    for (int sims : sizes) {
        const fs::path data = fs::temp_directory_path() / "quillhaven-dump-bench";
        fs::remove_all(data);
        if (!qh::bench::GenerateLargeNeighborhood(data / "Neighborhoods", sims)) return 1;
        const auto load = qh::bench::RunChild({self, "--load-only", (data / "Neighborhoods").string()});
        const auto dump = qh::bench::RunChild({QH_CLI_PATH, "dump", "N900", "--user-data", data.string(), "--settings",
                                  (data / "settings.ini").string()});
        ok &= load.ok && dump.ok;
        std::printf("%6d sims: dump %.3f s, %.1f MiB peak; load alone %.3f s, %.1f MiB peak; "
                    "ratios: time %.2f (goal at most 2), memory %.2f (goal at most 1.5)\n",
                    sims, dump.seconds, static_cast<double>(dump.peakKilobytes) / 1024, load.seconds,
                    static_cast<double>(load.peakKilobytes) / 1024, load.seconds > 0 ? dump.seconds / load.seconds : 0.0,
                    load.peakKilobytes > 0 ? static_cast<double>(dump.peakKilobytes) / static_cast<double>(load.peakKilobytes)
                                           : 0.0);
        fs::remove_all(data);
    }
    return ok ? 0 : 1;
}
