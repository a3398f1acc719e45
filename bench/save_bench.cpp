// Saving after one change in a large neighborhood: load it, change one sim's cooking skill and one
// relationship, save.
// For each size given (sims; by default 1000, 5000 and 10000) prints the median wall time of a few
// such saves, the bytes each wrote, and the median time of writing the same bytes with one flush
// and rename, which is the least any safe save can cost.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <unistd.h>

#include "character/character_edit.h"
#include "platform/file_io.h"
#include "platform/memory_use.h"
#include "platform/progress.h"
#include "workspace/loader.h"
#include "workspace/relationships.h"
#include "workspace/save.h"

#include "large_neighborhood.h"

namespace fs = std::filesystem;

namespace {

using qh::bench::Since;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
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
    if (!qh::bench::GenerateLargeNeighborhood(folder, sims)) return false;

    qh::SilentReporter reporter;
    qh::NullProgress progress;
    qh::Neighborhood neighborhood;
    neighborhood.prefix = "N900";
    qh::Workspace workspace;
    qh::LoadNeighborhood(workspace, neighborhood, folder, {}, reporter, progress);
    // A first save expands the packages the game stored compressed; the ones measured are a
    // player's next saves, of one change each.
    qh::SaveNeighborhood(workspace, neighborhood, {}, reporter, progress);
    // Copies of the two files the save replaces, so that the baseline replaces files of the same
    // size as the save does (replacing a file costs more than creating one: its old blocks are
    // freed).
    const qh::Character& changed = workspace.characters[static_cast<std::size_t>(sims / 2)];
    const fs::path sim = workspace.charactersFolder / changed.packageFile;
    fs::copy_file(workspace.packagePath, folder / "copy.package");
    fs::copy_file(sim, folder / "copy-sim.package");
    // Everything written so far (the generated neighborhood, hundreds of megabytes) on disk
    // first: a flush can have to wait for other files' data written before it, and that wait would
    // fall on whichever of the two measured writes comes first.
    ::sync();

    // The disk's own pace varies from one write to the next, so each figure is the median of a
    // few saves, each of another change.
    constexpr int kRepetitions = 5;
    std::vector<double> saves;
    std::vector<double> plains;
    std::size_t written = 0;
    bool complete = true;
    StepTimes steps;
    for (int repetition = 0; repetition < kRepetitions; ++repetition) {
        qh::SetCharacterField(workspace.characters[static_cast<std::size_t>(sims / 2)], "cookingSkill",
                              std::to_string(700 + repetition));
        // And one relationship turned family or back, which changes the length of both its
        // resources.
        if (!workspace.relationshipList.empty()) {
            const std::size_t pair = workspace.relationshipList.size() / 2;
            const bool family = qh::HasRelationshipFlag(workspace.relationshipList[pair], qh::kFamilyBit);
            qh::SetRelationshipFlagRule(workspace, pair, qh::RelationshipSide::Own, qh::kFamilyBit, !family);
        }
        steps = StepTimes();
        const auto start = std::chrono::steady_clock::now();
        const qh::SaveResult result = qh::SaveNeighborhood(workspace, neighborhood, {}, reporter, steps);
        saves.push_back(Since(start));
        written = result.bytesWritten;
        complete &= result.Complete();

        // The same bytes written the safe way over those copies, and nothing else.
        const qh::Bytes package = qh::ReadFileBytes(workspace.packagePath);
        const qh::Bytes character = qh::ReadFileBytes(sim);
        const auto plainStart = std::chrono::steady_clock::now();
        qh::AtomicReplace(folder / "copy.package", package);
        qh::AtomicReplace(folder / "copy-sim.package", character);
        plains.push_back(Since(plainStart));
    }
    const double seconds = Median(saves);
    const double plain = Median(plains);

    std::printf("%6d sims, %zu relationships: saved in %.3f s (median of %d; %.3f to %.3f s; goal: under 1 s at 10000), "
                "writing %.1f MB; the same bytes written with flush and rename: %.3f s (ratio %.1f, goal: at most 2)\n",
                sims, workspace.relationshipList.size(), seconds, kRepetitions, *std::min_element(saves.begin(), saves.end()),
                *std::max_element(saves.begin(), saves.end()), static_cast<double>(written) / 1e6, plain,
                plain > 0 ? seconds / plain : 0.0);
    std::printf("        steps of the last save:");
    // The steps' clock started just before the save did.
    for (const auto& [status, at] : steps.steps) std::printf(" %s at %.3f s;", status.c_str(), at);
    std::printf(" done at %.3f s\n", saves.back());
    fs::remove_all(folder);
    return complete;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty()) sizes = {1000, 5000, 10000};
    qh::ReuseLargeBlocks();  // as the programs do
    bool ok = true;
    for (int sims : sizes) ok &= sims > 0 && Measure(sims);
    return ok ? 0 : 1;
}
