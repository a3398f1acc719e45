// Checking a neighborhood for what makes the game lose sims, family members or households: each
// check is one function over the loaded model (or, for the packages themselves, their files), and
// each finding says how bad it is, whom or what it concerns, what it means for the game and what a
// fix would change. The checks never change the model or a file.
//
// Every save runs the model's checks on what it is about to write and compares them with the
// checks of the neighborhood as it was loaded (or last saved): a save that would add a finding
// asks first.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/game_environment.h"
#include "platform/reporter.h"
#include "workspace/model.h"

namespace qh {

enum class FindingSeverity {
    Damaged,       // the game cannot read it as it is
    Inconsistent,  // the records contradict each other; the game may lose or misplace what they describe
    Notice,        // unusual, and harmless as far as is known
};
const char* SeverityName(FindingSeverity severity);  // "damaged", "inconsistent", "notice"

struct Finding {
    FindingSeverity severity = FindingSeverity::Notice;
    std::string check;    // which check: "tie-without-mirror"
    std::string subject;  // the sims, household or file it concerns, in words
    std::string meaning;  // what it means for the game
    std::string fix;      // what a fix would change
    std::optional<std::size_t> sim;  // the sim to show for it (index in the workspace), if any
    // Identifies the finding across two runs of the checks (a save compares the model it would
    // write with the model as loaded): the check and the ids it concerns, not the words.
    std::string key;
};

// The checks of the model, each over the whole workspace once (lookups built once, so the whole
// is linear in sims, ties, relationships and items).
std::vector<Finding> CheckCharacterFiles(const Workspace& workspace);
std::vector<Finding> CheckIdentities(const Workspace& workspace);
std::vector<Finding> CheckHouseholds(const Workspace& workspace);
std::vector<Finding> CheckFamilyTies(const Workspace& workspace);
std::vector<Finding> CheckRelationships(const Workspace& workspace);
std::vector<Finding> CheckItems(const Workspace& workspace);
std::vector<Finding> CheckCareers(const Workspace& workspace);
// All of the above, in that order.
std::vector<Finding> CheckModel(const Workspace& workspace);

// The game's limit of character files in one neighborhood: a thousand before Nightlife, then the
// sims' 16-bit ids.
std::size_t CharacterLimit(const GameEnvironment& env);

// The checks of the packages as files: the neighborhood's and every sim's (read, never written).
// An index that cannot be read, entries outside the file or overlapping each other, a resource
// that fails to decode, a compressed-resource directory that disagrees with the streams.
// `progress` is told each file (return false to stop).
std::vector<Finding> CheckPackageFile(const std::filesystem::path& path);
// The same for a package's bytes already read; `name` names it in the findings.
std::vector<Finding> CheckPackageBytes(std::span<const std::uint8_t> file, const std::string& name);
std::vector<Finding> CheckPackages(const Workspace& workspace,
                                   const std::function<bool(std::size_t done, std::size_t total)>& progress = {});

// The whole check: the packages, then the model.
std::vector<Finding> CheckNeighborhood(const Workspace& workspace,
                                       const std::function<bool(std::size_t done, std::size_t total)>& progress = {});

// The findings of `after` that `before` does not have (by key, counted: a second finding of one
// kind is new).
std::vector<Finding> NewFindings(const std::vector<Finding>& before, const std::vector<Finding>& after);
// The keys, for keeping the findings of the neighborhood as saved.
std::vector<std::string> FindingKeys(const std::vector<Finding>& findings);
std::vector<Finding> NewFindings(const std::vector<std::string>& beforeKeys, const std::vector<Finding>& after);

// A sim's character file was deleted (or brought back) outside any save: the files hold that
// already, so what it makes the check say is part of the neighborhood as it stands, not something
// the next save would add.
void CharacterFileDeleted(Workspace& workspace, const Character& sim, bool deleted);

// The findings as a text report: counts by severity, then one block per finding.
std::string FindingsReport(const std::vector<Finding>& findings, const std::string& title);

}  // namespace qh
