// `quillhaven-cli expand` of a large neighborhood's compressed package beside a yardstick: the npm
// package qfs-compression decoding the same package in node (qfs_expand.cjs), each a whole process
// measured by its processor time (user and system), since page faults and the filling of new
// memory count as much as the decoder's own loop.
// For each size given (sims; by default 10000 and 20000, whose package is about 24 and 49 MB)
// prints both throughputs (MB of the compressed file per processor second) and their ratio (goal:
// at least 2.5). The npm package is installed into the build folder on the first run.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "child_process.h"
#include "large_neighborhood.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRepetitions = 3;

double MedianCpu(const std::vector<std::string>& argv, const fs::path& output, bool& ok) {
    std::vector<double> cpu;
    for (int i = 0; i < kRepetitions; ++i) {
        fs::remove(output);
        const auto run = qh::bench::RunChild(argv);
        ok &= run.ok;
        cpu.push_back(run.cpuSeconds);
    }
    std::sort(cpu.begin(), cpu.end());
    return cpu[cpu.size() / 2];
}

// The yardstick's module, installed once with npm; empty when neither is at hand.
fs::path NodeModules() {
    const fs::path prefix = QH_BENCH_NPM_DIR;
    const fs::path modules = prefix / "node_modules";
    if (fs::exists(modules / "qfs-compression")) return modules;
    const std::string install = "npm install --prefix '" + prefix.string() +
                                "' --no-audit --no-fund --silent qfs-compression@0.2.3 >/dev/null 2>&1";
    if (std::system(install.c_str()) == 0 && fs::exists(modules / "qfs-compression")) return modules;
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty()) sizes = {10000, 20000};
    const fs::path modules = NodeModules();
    if (modules.empty()) std::printf("node or npm's qfs-compression is not at hand: the yardstick is left out\n");
    bool ok = true;
    for (int sims : sizes) {
        const fs::path data = fs::temp_directory_path() / "quillhaven-expand-bench";
        fs::remove_all(data);
        if (!qh::bench::GenerateLargeNeighborhood(data, sims)) return 1;
        const fs::path package = data / "N900" / "N900_Neighborhood.package";
        const fs::path output = data / "expanded.package";
        const double megabytes = static_cast<double>(fs::file_size(package)) / 1e6;
        const double ours = MedianCpu({QH_CLI_PATH, "expand", package.string(), "-o", output.string()}, output, ok);
        std::printf("%6d sims, %.1f MB compressed: quillhaven-cli expand %.3f s of processor time (%.0f MB/s)", sims,
                    megabytes, ours, ours > 0 ? megabytes / ours : 0.0);
        if (!modules.empty()) {
            const double node = MedianCpu({"/usr/bin/env", "node", QH_BENCH_NODE_SCRIPT, modules.string(),
                                           package.string(), output.string()},
                                          output, ok);
            std::printf("; node with qfs-compression %.3f s (%.0f MB/s); ratio %.2f (goal: at least 2.5)", node,
                        node > 0 ? megabytes / node : 0.0, ours > 0 ? node / ours : 0.0);
        }
        std::printf("\n");
        fs::remove_all(data);
    }
    return ok ? 0 : 1;
}
