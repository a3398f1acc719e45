// Checking a large neighborhood (written by quillhaven-demo-gen --large in a process of its own):
// the whole check, its model part and its files part, each beside its floor measured in the same
// run. The model's floor is one pass that puts every relationship, tie and item into a hash set;
// the files' floor is reading every file of the check into one reused buffer.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unordered_set>
#include <vector>

#include "workspace/loader.h"
#include "workspace/neighborhood_check.h"
#include "workspace/sim_filter.h"

#include "large_neighborhood.h"

namespace fs = std::filesystem;

namespace {

// Reads each file whole into one buffer: what any check of the files must at least do.
double ReadFloor(const std::vector<fs::path>& files) {
    std::vector<char> buffer;
    const auto start = std::chrono::steady_clock::now();
    std::size_t total = 0;
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        const auto size = static_cast<std::size_t>(fs::file_size(file));
        buffer.resize(size);
        in.read(buffer.data(), static_cast<std::streamsize>(size));
        total += static_cast<std::size_t>(in.gcount());
    }
    const double seconds = qh::bench::Since(start);
    if (total == 0) std::fprintf(stderr, "nothing read\n");
    return seconds;
}

// One pass over the records, each put into a hash set: what any check that compares records
// must at least do.
double ModelFloor(const qh::Workspace& ws) {
    const auto start = std::chrono::steady_clock::now();
    std::unordered_set<std::uint64_t> keys;
    keys.reserve(ws.relationshipList.size() + ws.familyTieList.size() + ws.simItemList.size() + ws.characters.size());
    for (const qh::RelationshipRecord& r : ws.relationshipList) keys.insert(qh::RelationshipInstance(r.ownerId, r.otherId));
    for (const qh::FamilyTie& t : ws.familyTieList) keys.insert(qh::TieKey(t) | 1ull << 63);
    for (const qh::NeighborhoodItem& i : ws.simItemList) keys.insert(static_cast<std::uint64_t>(i.owner) << 32 | i.itemGuid);
    for (const qh::Character& c : ws.characters) keys.insert(c.instanceId | 1ull << 62);
    const double seconds = qh::bench::Since(start);
    if (keys.empty()) std::fprintf(stderr, "no records\n");
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty()) sizes = {1000, 10000};
    for (int sims : sizes) {
        const fs::path folder = fs::temp_directory_path() / "quillhaven-check-bench";
        fs::remove_all(folder);
        if (sims < 1 || !qh::bench::GenerateLargeNeighborhood(folder, sims)) {
            std::fprintf(stderr, "could not write the large neighborhood\n");
            return 1;
        }
        qh::SilentReporter reporter;
        qh::NullProgress progress;
        qh::Neighborhood neighborhood;
        neighborhood.prefix = "N900";
        qh::Workspace ws;
        qh::LoadNeighborhood(ws, neighborhood, folder, {}, reporter, progress);
        std::vector<fs::path> files{ws.packagePath};
        for (const qh::Character& sim : ws.characters) files.push_back(ws.charactersFolder / sim.packageFile);

        const double readFloor = ReadFloor(files);
        const double modelFloor = ModelFloor(ws);
        auto start = std::chrono::steady_clock::now();
        const auto model = qh::CheckModel(ws);
        const double modelSeconds = qh::bench::Since(start);
        start = std::chrono::steady_clock::now();
        const auto packages = qh::CheckPackages(ws);
        const double fileSeconds = qh::bench::Since(start);
        std::printf("%d sims, %zu relationships, %zu ties, %zu items: whole check %.3f s (goal: under 1 s at 10,000 sims)\n",
                    sims, ws.relationshipList.size(), ws.familyTieList.size(), ws.simItemList.size(),
                    modelSeconds + fileSeconds);
        std::printf("  model checks %.3f s, floor %.3f s (%.1f x); %zu findings\n", modelSeconds, modelFloor,
                    modelSeconds / modelFloor, model.size());
        std::printf("  files checked %.3f s, floor %.3f s (%.1f x; %zu files); %zu findings\n", fileSeconds, readFloor,
                    fileSeconds / readFloor, files.size(), packages.size());
        // The search box: the facts gathered once per load, then each keystroke one pass over them.
        qh::GameEnvironment env;
        env.hasUniversity = env.hasFreeTime = true;
        start = std::chrono::steady_clock::now();
        const auto facts = qh::GatherSimFacts(ws, env);
        const double gather = qh::bench::Since(start);
        const qh::SimQuery query = qh::ParseSimQuery("lifeStage:adult dead:no");
        start = std::chrono::steady_clock::now();
        std::size_t shown = 0;
        for (const qh::SimFacts& f : facts) shown += qh::Matches(f, query);
        const double filter = qh::bench::Since(start);
        std::printf("  search: facts gathered once %.3f s; a query applied %.4f s (goal: under 0.05 s at 10,000 sims), %zu "
                    "shown\n",
                    gather, filter, shown);
        fs::remove_all(folder);
    }
    return 0;
}
