// Finding sims by what they are: free text (names, household, the file) and conditions that stack
// ("lifeStage=teen", "career=Medicine", "married=yes"). The window's search box and the command
// line's `list --where` use the same facts and the same matching.
//
// The facts of every sim are gathered once (one pass over the sims, their items and the family
// ties), so that filtering a list of ten thousand sims as the player types is a pass over the
// facts alone.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/game_environment.h"
#include "workspace/model.h"

namespace qh {

// What a sim is, in the words the filters compare (lower case).
struct SimFacts {
    std::string text;        // first and last name, the file, the household's name: what a search finds
    std::string lifeStage;   // "baby" ... "elder", "young adult"
    std::string species;     // "sim", "large dog", "small dog", "cat"
    std::string gender;      // "male", "female"
    std::string household;   // its label, or "" for none
    std::uint32_t householdId = 0;
    std::string lot;         // the household's lot's name, or ""
    std::uint32_t lotId = 0;
    bool dead = false;
    bool described = false;  // the neighborhood has the sim's description
    std::string career;      // the career's name ("unemployed" for none)
    std::string careerKey;   // its key, eight hex digits
    std::string aspiration;  // the primary aspiration's name ("-" for none)
    std::string aspirationShown;  // the same as the panel writes it
    bool married = false;
    bool university = false;  // a young adult at university
    bool findings = false;    // the neighborhood check has a finding about the sim
};

// A sim's life stage in words: "baby" ... "elder", "young adult" (a number the game has no name for
// as it is).
std::string LifeStageWords(const Character& sim);

// The facts of every sim, by index in the workspace. `withFindings` marks the sims the check's
// findings name (the caller runs the check; none when it did not).
std::vector<SimFacts> GatherSimFacts(const Workspace& workspace, const GameEnvironment& env,
                                     std::span<const std::size_t> withFindings = {});

// One condition: a filter's name and the value asked for.
struct SimCondition {
    std::string field;  // one of SimFilterFields()
    std::string value;  // lower case
};
// The filters there are, and what each takes.
struct SimFilterField {
    const char* name;
    const char* values;  // what it takes, for help texts
};
std::span<const SimFilterField> SimFilterFields();

// "field=value" (or "field:value"); the field by name, letter case aside. Refused with the reason
// for a field that is not a filter.
std::optional<SimCondition> ParseSimCondition(std::string_view text, std::string& why);

// A search: free words (each must occur in the sim's text) and conditions (each must hold).
struct SimQuery {
    std::vector<std::string> words;
    std::vector<SimCondition> conditions;
    bool Empty() const { return words.empty() && conditions.empty(); }
};
// The search box's text: words, and "field:value" or "field=value" tokens for conditions (a value
// with spaces in double quotes: household:"Hart Family"). A token whose field is no filter is a
// word.
SimQuery ParseSimQuery(std::string_view text);
bool Matches(const SimFacts& facts, const SimQuery& query);

// The sims as a table for a spreadsheet (CSV with a header row): file, names, life stage,
// household, career and aspiration, in the order given.
std::string SimTableCsv(const Workspace& workspace, std::span<const SimFacts> facts, std::span<const std::size_t> sims);
bool Matches(const SimFacts& facts, const SimCondition& condition);

}  // namespace qh
