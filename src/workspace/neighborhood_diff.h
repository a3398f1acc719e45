// What changed between two saves of a neighborhood, in the player's words: sims born, gone or died;
// life stage, household, marriage and parents; career, level and school; aspiration; skills,
// personality and interests that moved; funds; relationships formed, lost or changed by more than
// a threshold. Resources the program does not read are compared as bytes and counted, so that
// nothing changed is silently ignored.
//
// Sims are matched by their GUID (which no save changes), households by their instance id.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/game_environment.h"
#include "platform/reporter.h"
#include "workspace/model.h"

namespace qh {

struct DiffGroup {
    std::string who;                   // "Marta Hart (N001_User00000.package)", "The Harts"
    std::vector<std::string> changes;  // in words, one per line
};

struct NeighborhoodDiff {
    std::vector<DiffGroup> households;
    std::vector<DiffGroup> sims;
    // Resources neither side's reader interprets that were added, removed or changed, by file.
    std::size_t unreadChanged = 0;
    std::vector<std::string> unreadFiles;  // the files where they lie
    bool Empty() const { return households.empty() && sims.empty() && unreadChanged == 0; }
};

struct DiffOptions {
    int relationshipThreshold = 10;  // a level that moved by less is not told
};

// Compares two loaded neighborhoods (their models, and their packages' unread resources).
NeighborhoodDiff DiffNeighborhoods(const Workspace& before, const Workspace& after, const GameEnvironment& env,
                                   const DiffOptions& options = {});

// Loads the neighborhood saved in a folder (a neighborhood's own folder, or a backup of one): the
// folder holds one "<PREFIX>_Neighborhood.package" and its Characters and Lots. Throws IoError
// naming the folder when it holds none.
void LoadNeighborhoodFolder(Workspace& workspace, const std::filesystem::path& folder, int languageCode,
                            Reporter& reporter);

}  // namespace qh
