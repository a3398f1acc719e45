// Loading a large neighborhood: 1000 sims with portraits and body resources, twenty relationships
// each, 200 lot packages,
// resources compressed as the game stores them (written by quillhaven-demo-gen --large in a
// process of its own, so this one's memory is the load's). Prints the wall time of the load beside
// a plain read of the same files (each read whole into one buffer reused for all, the least any
// load does), and the memory it took beyond the expanded neighborhood package's image against
// that image's size.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "package/extract.h"
#include "platform/memory_use.h"
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

// Reads every file below `folder` into one buffer; the seconds it took.
double ReadLoop(const fs::path& folder, std::size_t& files) {
    std::vector<char> buffer;
    files = 0;
    const auto start = std::chrono::steady_clock::now();
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        const int fd = ::open(entry.path().c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat info {};
        if (::fstat(fd, &info) == 0) {
            const auto size = static_cast<std::size_t>(info.st_size);
            if (buffer.size() < size) buffer.resize(size);
            std::size_t done = 0;
            while (done < size) {
                const ssize_t got = ::read(fd, buffer.data() + done, size - done);
                if (got <= 0) break;
                done += static_cast<std::size_t>(got);
            }
            ++files;
        }
        ::close(fd);
    }
    return qh::bench::Since(start);
}

}  // namespace

// The number of sims is the first argument (1000 when none is given): run it once per size, so
// that the peak memory is that one load's.
int main(int argc, char** argv) {
    const int sims = argc > 1 ? std::atoi(argv[1]) : 1000;
    if (sims < 1) return 2;
    qh::ReuseLargeBlocks();  // as the programs do
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

    std::vector<double> floors;
    std::size_t files = 0;
    for (int i = 0; i < 3; ++i) floors.push_back(ReadLoop(folder, files));
    std::sort(floors.begin(), floors.end());
    const double floor = floors[1];

    std::printf("loaded %zu sims, %zu relationships and %zu lots in %.3f s (goal: at most 1 s); "
                "the same %zu files read into one buffer: %.3f s; ratio %.2f (goal: at most 3)\n",
                workspace.characters.size(), workspace.relationshipList.size(), workspace.lotDescList.size(), seconds,
                files, floor, floor > 0 ? seconds / floor : 0.0);
    const double beside = peak - before - expanded;
    std::printf("memory: %.1f MB before the load, peak %.1f MB; the load took %.1f MB: the expanded neighborhood "
                "package's image of %.1f MB and %.1f MB beside it = %.2f x the image (goal: at most 1.5 x)\n",
                before, peak, peak - before, expanded, beside, beside / expanded);
    fs::remove_all(folder);
    return 0;
}
