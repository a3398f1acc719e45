// A neighborhood folder made of the input (a neighborhood package, a lot package and two
// character packages, each preceded by its length as a 32-bit number), loaded, edited (a sim's
// fatness and items, a household's funds), saved and loaded again. Whatever the save says it
// wrote must read back as it was in memory, and nothing may crash.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <unistd.h>
#include <unordered_map>
#include <vector>

#include "character/character_rules.h"
#include "platform/errors.h"
#include "scratch_folder.h"
#include "workspace/households.h"
#include "workspace/loader.h"
#include "workspace/save.h"
#include "workspace/sim_items.h"

namespace {

namespace fs = std::filesystem;

fs::path Folder() { return qh::fuzz::ScratchFolder("save"); }


// The next piece: a 32-bit length and that many bytes (fewer when the input ends first).
std::span<const std::uint8_t> Piece(std::span<const std::uint8_t>& rest) {
    if (rest.size() < 4) {
        const auto all = rest;
        rest = {};
        return all;
    }
    const std::size_t length = rest[0] | rest[1] << 8 | rest[2] << 16 | static_cast<std::size_t>(rest[3]) << 24;
    rest = rest.subspan(4);
    const auto piece = rest.subspan(0, std::min(length, rest.size()));
    rest = rest.subspan(piece.size());
    return piece;
}

bool Load(qh::Workspace& workspace, qh::Neighborhood& neighborhood) {
    qh::SilentReporter reporter;
    qh::NullProgress progress;
    try {
        qh::LoadNeighborhood(workspace, neighborhood, Folder(), {}, reporter, progress);
        return true;
    } catch (const qh::FormatError&) {
    } catch (const qh::IoError&) {
    }
    return false;
}

// The items as the file keeps them: by owner, in the order of each owner's first item, the first
// list before the second; within those in the order they had.
std::vector<qh::NeighborhoodItem> InFileOrder(std::vector<qh::NeighborhoodItem> items) {
    std::unordered_map<std::uint32_t, std::size_t> firstSeen;
    for (const qh::NeighborhoodItem& item : items) firstSeen.emplace(item.owner, firstSeen.size());
    std::stable_sort(items.begin(), items.end(), [&](const qh::NeighborhoodItem& a, const qh::NeighborhoodItem& b) {
        const auto oa = firstSeen[a.owner];
        const auto ob = firstSeen[b.owner];
        if (oa != ob) return oa < ob;
        return (a.secondary == 0) > (b.secondary == 0);
    });
    return items;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::span<const std::uint8_t> rest(data, size);
    const fs::path root = Folder() / "N001";
    std::error_code ignored;
    fs::remove_all(root, ignored);
    fs::create_directories(root / "Characters");
    qh::fuzz::WriteFile(root / "N001_Neighborhood.package", Piece(rest));
    qh::fuzz::WriteFile(root / "N001_Lot1.package", Piece(rest));
    qh::fuzz::WriteFile(root / "Characters" / "N001_User00000.package", Piece(rest));
    qh::fuzz::WriteFile(root / "Characters" / "N001_User00001.package", Piece(rest));

    qh::Neighborhood neighborhood;
    neighborhood.prefix = "N001";
    qh::Workspace first;
    if (!Load(first, neighborhood)) return 0;
    for (qh::Character& sim : first.characters) {
        qh::SetWord(sim, &qh::Character::fatness, static_cast<std::int16_t>(sim.fatness ^ 0x155));
        qh::SetDeadMark(first, sim, !qh::IsDead(first, sim));
    }
    if (!first.households.empty()) qh::SetHouseholdFunds(first.households.front(), 4242);

    qh::SilentReporter reporter;
    qh::NullProgress progress;
    qh::SaveOptions options;
    options.lockWait = std::chrono::milliseconds(0);
    const qh::SaveResult result = qh::SaveNeighborhood(first, neighborhood, options, reporter, progress);
    if (!result.Complete()) return 0;

    qh::Neighborhood again;
    again.prefix = "N001";
    qh::Workspace second;
    if (!Load(second, again)) std::abort();  // it saved, so it must load
    if (second.characters.size() != first.characters.size()) std::abort();
    for (std::size_t i = 0; i < first.characters.size(); ++i) {
        if (first.characters[i].instanceId != 0 && second.characters[i].fatness != first.characters[i].fatness) std::abort();
    }
    if (first.neighborhoodData && second.simItemList != InFileOrder(first.simItemList)) std::abort();
    if (!first.households.empty() && second.households.front().funds != 4242) std::abort();
    return 0;
}
