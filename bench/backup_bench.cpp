// Backing up and restoring a large neighborhood (by default 10,000 sims: one character package
// each, 200 lots) against `cp -r` of the same files followed by `sync`, measured in the same run.
// The backup and the restore each read every original once, write its copy, read the copy back to
// compare it and flush everything before the rename that publishes it; the goal is at most 1.5
// times the floor.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/progress.h"
#include "workspace/backups.h"

#include "large_neighborhood.h"

namespace fs = std::filesystem;

using qh::bench::Since;

int main(int argc, char** argv) {
    const int sims = argc > 1 ? std::atoi(argv[1]) : 10000;
    if (sims < 1) return 2;
    const fs::path folder = fs::temp_directory_path() / "quillhaven-backup-bench";
    fs::remove_all(folder);
    if (!qh::bench::GenerateLargeNeighborhood(folder / "Neighborhoods", sims)) return 1;
    const fs::path hood = folder / "Neighborhoods" / "N900";
    std::size_t files = 0;
    std::uintmax_t bytes = 0;
    for (const auto& item : fs::recursive_directory_iterator(hood)) {
        if (item.is_regular_file()) ++files, bytes += item.file_size();
    }

    // The floor: the system's own copy, and everything flushed.
    std::system("sync");
    auto start = std::chrono::steady_clock::now();
    const std::string copy = "cp -r '" + hood.string() + "' '" + (folder / "plain").string() + "' && sync";
    if (std::system(copy.c_str()) != 0) return 1;
    const double plain = Since(start);

    qh::NullProgress progress;
    // What a restore replaces goes to the trash, as the program sends it: one rename.
    fs::create_directories(folder / "Trash");
    int trashed = 0;
    const auto keep = [&](const fs::path& f) {
        fs::rename(f, folder / "Trash" / std::to_string(++trashed));
        return true;
    };
    start = std::chrono::steady_clock::now();
    const auto backup = qh::BackupNeighborhood(hood, folder / "Archive", "N900 bench", keep, progress);
    const double backedUp = Since(start);
    start = std::chrono::steady_clock::now();
    const auto restore = qh::RestoreBackup(folder / "Archive" / "N900 bench", folder / "Neighborhoods", "N900", keep, progress);
    const double restored = Since(start);

    std::printf("%d sims, %zu files, %.1f MB: cp -r and sync %.3f s; backup %.3f s (ratio %.2f); restore %.3f s "
                "(ratio %.2f); goal: at most 1.5\n",
                sims, files, static_cast<double>(bytes) / 1e6, plain, backedUp, plain > 0 ? backedUp / plain : 0.0,
                restored, plain > 0 ? restored / plain : 0.0);
    fs::remove_all(folder);
    return backup.done && restore.done ? 0 : 1;
}
