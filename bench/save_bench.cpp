// Saving after one change in a large neighborhood: load it, change one sim's cooking skill, save.
// Prints the wall time of the save and the bytes it wrote.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "character/character_edit.h"
#include "workspace/loader.h"
#include "workspace/save.h"

namespace fs = std::filesystem;

int main() {
    const fs::path folder = fs::temp_directory_path() / "quillhaven-save-bench";
    fs::remove_all(folder);
    const std::string command = std::string(QH_DEMO_GEN_PATH) + " --large '" + folder.string() + "'";
    if (std::system(command.c_str()) != 0) return 1;

    qh::SilentReporter reporter;
    qh::NullProgress progress;
    qh::Neighborhood neighborhood;
    neighborhood.prefix = "N900";
    qh::Workspace workspace;
    qh::LoadNeighborhood(workspace, neighborhood, folder, {}, reporter, progress);
    qh::SetCharacterField(workspace.characters[500], "cookingSkill", "777");

    const auto start = std::chrono::steady_clock::now();
    const qh::SaveResult result = qh::SaveNeighborhood(workspace, neighborhood, {}, reporter, progress);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("saved the neighborhood package and %zu character package in %.3f s (goal: at most 1 s), "
                "writing %.1f MB\n",
                result.charactersSaved, seconds, static_cast<double>(result.bytesWritten) / 1e6);
    fs::remove_all(folder);
    return result.Complete() ? 0 : 1;
}
