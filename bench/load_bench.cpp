// Loading a large neighborhood: 1000 sims with portraits and body resources, twenty relationships
// each, 200 lot packages,
// resources compressed as the game stores them (written by quillhaven-demo-gen --large in a
// process of its own, so this one's memory is the load's). Prints the wall time of the load and
// the memory it took against the size of the expanded neighborhood package.
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "package/extract.h"
#include "workspace/loader.h"

#include "large_neighborhood.h"

namespace fs = std::filesystem;

namespace {

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1e3;
}

double CurrentMegabytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1e6;
}

}  // namespace

// The number of sims is the first argument (1000 when none is given): run it once per size, so
// that the peak memory is that one load's.
int main(int argc, char** argv) {
    const int sims = argc > 1 ? std::atoi(argv[1]) : 1000;
    if (sims < 1) return 2;
    const fs::path folder = fs::temp_directory_path() / "quillhaven-load-bench";
    fs::remove_all(folder);
    if (!qh::bench::GenerateLargeNeighborhood(folder, sims)) {
        std::fprintf(stderr, "could not write the large neighborhood\n");
        return 1;
    }

    qh::SilentReporter reporter;
    qh::NullProgress progress;
    const double before = CurrentMegabytes();
    qh::Neighborhood neighborhood;
    neighborhood.prefix = "N900";
    qh::Workspace workspace;
    const auto start = std::chrono::steady_clock::now();
    qh::LoadNeighborhood(workspace, neighborhood, folder, {}, reporter, progress);
    const double seconds = qh::bench::Since(start);
    const double peak = PeakMegabytes();

    qh::PackageImage image;
    qh::ExpandPackageToMemory(folder / "N900" / "N900_Neighborhood.package", image, reporter);
    const double expanded = static_cast<double>(image.size()) / 1e6;

    std::printf("loaded %zu sims, %zu relationships and %zu lots in %.3f s (goal: at most 1 s)\n",
                workspace.characters.size(), workspace.relationshipList.size(), workspace.lotDescList.size(), seconds);
    std::printf("memory: %.1f MB before the load, peak %.1f MB; the load took %.1f MB = %.2f x the expanded "
                "neighborhood package of %.1f MB (goal: at most 3 x)\n",
                before, peak, peak - before, (peak - before) / expanded, expanded);
    fs::remove_all(folder);
    return 0;
}
