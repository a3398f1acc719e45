// What the neighborhood benchmarks share: a large neighborhood written by the demo generator in a
// process of its own (so that its memory is not the measured program's), and a stopwatch.
#pragma once

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace qh::bench {

// Writes a neighborhood of `sims` sims and 200 lots as folder/N900; false when the generator failed.
inline bool GenerateLargeNeighborhood(const std::filesystem::path& folder, int sims) {
    const std::string command =
        std::string(QH_DEMO_GEN_PATH) + " --large '" + folder.string() + "' " + std::to_string(sims) + " 200";
    return std::system(command.c_str()) == 0;
}

inline double Since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace qh::bench
