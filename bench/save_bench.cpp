// Saving after one change in a large neighborhood: load it, change one sim's cooking skill and one
// relationship, save.
// For each size given (sims; by default 1000, 5000 and 10000) prints the wall time of the save,
// the bytes it wrote, and the time of writing the same bytes with one flush and rename, which is
// the least any safe save can cost.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "character/character_edit.h"
#include "platform/file_io.h"
#include "platform/progress.h"
#include "workspace/loader.h"
#include "workspace/relationships.h"
#include "workspace/save.h"

namespace fs = std::filesystem;

namespace {

double Since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// When each status of the save was shown, to see where its time goes.
class StepTimes final : public qh::Progress {
public:
    void SetStatus(std::string_view text) override {
        if (!text.empty()) steps.emplace_back(std::string(text), Now());
    }
    void SetMaximum(int) override {}
    void SetPosition(int) override {}
    double Now() const { return Since(origin_); }
    std::vector<std::pair<std::string, double>> steps;

private:
    std::chrono::steady_clock::time_point origin_ = std::chrono::steady_clock::now();
};

bool Measure(int sims) {
    const fs::path folder = fs::temp_directory_path() / "quillhaven-save-bench";
    fs::remove_all(folder);
    const std::string command =
        std::string(QH_DEMO_GEN_PATH) + " --large '" + folder.string() + "' " + std::to_string(sims) + " 200";
    if (std::system(command.c_str()) != 0) return false;

    qh::SilentReporter reporter;
    qh::NullProgress progress;
    qh::Neighborhood neighborhood;
    neighborhood.prefix = "N900";
    qh::Workspace workspace;
    qh::LoadNeighborhood(workspace, neighborhood, folder, {}, reporter, progress);
    // A first save expands the packages the game stored compressed; the one measured is a
    // player's next save of one change.
    qh::SaveNeighborhood(workspace, neighborhood, {}, reporter, progress);
    qh::SetCharacterField(workspace.characters[static_cast<std::size_t>(sims / 2)], "cookingSkill", "777");
    // And one relationship turned family, which changes the length of both its resources.
    if (!workspace.relationshipList.empty()) {
        const std::size_t pair = workspace.relationshipList.size() / 2;
        const bool family = qh::HasRelationshipFlag(workspace.relationshipList[pair], qh::kFamilyBit);
        qh::SetRelationshipFlagRule(workspace, pair, qh::RelationshipSide::Own, qh::kFamilyBit, !family);
    }

    // Copies of the two files the save replaces, so that the baseline replaces files of the same
    // size as the save does (replacing a file costs more than creating one: its old blocks are
    // freed).
    const fs::path sim = workspace.charactersFolder / workspace.characters[static_cast<std::size_t>(sims / 2)].packageFile;
    fs::copy_file(workspace.packagePath, folder / "copy.package");
    fs::copy_file(sim, folder / "copy-sim.package");

    StepTimes steps;
    const auto start = std::chrono::steady_clock::now();
    const qh::SaveResult result = qh::SaveNeighborhood(workspace, neighborhood, {}, reporter, steps);
    const double seconds = Since(start);

    // The same bytes written the safe way over those copies, and nothing else.
    const qh::Bytes package = qh::ReadFileBytes(workspace.packagePath);
    const qh::Bytes character = qh::ReadFileBytes(sim);
    const auto plainStart = std::chrono::steady_clock::now();
    qh::AtomicReplace(folder / "copy.package", package);
    qh::AtomicReplace(folder / "copy-sim.package", character);
    const double plain = Since(plainStart);

    std::printf("%6d sims, %zu relationships: saved in %.3f s (goal: under 1 s at 10000), writing %.1f MB; the same bytes written "
                "with flush and rename: %.3f s (ratio %.1f, goal: at most 3)\n",
                sims, workspace.relationshipList.size(), seconds, static_cast<double>(result.bytesWritten) / 1e6, plain, plain > 0 ? seconds / plain : 0.0);
    std::printf("        steps:");
    for (const auto& [status, at] : steps.steps) std::printf(" %s at %.3f s;", status.c_str(), Since(start) - (steps.Now() - at));
    std::printf(" done at %.3f s\n", seconds);
    fs::remove_all(folder);
    return result.Complete();
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty()) sizes = {1000, 5000, 10000};
    bool ok = true;
    for (int sims : sizes) ok &= sims > 0 && Measure(sims);
    return ok ? 0 : 1;
}
