// The floor of the command line's work on a neighborhood, run by a benchmark in a child process
// of its own (`BENCH --load-only FOLDER`): the neighborhood loaded as quillhaven-cli loads it, and
// nothing else.
#pragma once

#include <filesystem>

#include "platform/memory_use.h"
#include "platform/progress.h"
#include "platform/reporter.h"
#include "workspace/loader.h"

namespace qh::bench {

inline int LoadOnly(const char* folder) {
    ReuseLargeBlocks();  // as the programs do
    SilentReporter reporter;
    NullProgress progress;
    Neighborhood neighborhood;
    neighborhood.prefix = "N900";
    Workspace workspace;
    LoadNeighborhood(workspace, neighborhood, std::filesystem::path(folder), {}, reporter, progress);
    return workspace.characters.empty() ? 1 : 0;
}

}  // namespace qh::bench
