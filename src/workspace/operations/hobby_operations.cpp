// The Hobbies and Badges panels' operations: enthusiasms, the natural talent, hobby-lot
// memberships and badge levels, each offered as the panels offer it.
#include <algorithm>

#include "package/guid.h"
#include "workspace/hobby_items.h"
#include "workspace/operations/operation_support.h"

namespace qh::ops {

namespace {

const HobbyRow* FindHobby(std::string_view name) {
    for (const HobbyRow& row : HobbyRows()) {
        if (name == row.name || name == row.field || name == std::to_string(row.id)) return &row;
    }
    return nullptr;
}

std::string HobbyRefusal(SimOperationContext& c, const Character& sim) {
    if (!c.env.hasFreeTime) return "hobbies come with FreeTime, which is not installed";
    if (sim.species != 0) return "a pet has no hobbies";
    return {};
}

// "NAME=N": one enthusiasm (its field or its hobby's name), 0 to 1000.
std::string Hobby(SimOperationContext& c, Character& sim, std::string_view value) {
    if (std::string refusal = HobbyRefusal(c, sim); !refusal.empty()) return refusal;
    const auto assignment = Assignment(value);
    const HobbyRow* row = assignment ? FindHobby(assignment->first) : nullptr;
    const auto level = assignment ? Number(assignment->second) : std::nullopt;
    if (!row || !level) return "--hobby is NAME=N: a hobby (Cuisine, hobbyCuisine, ...) and its enthusiasm, 0 to 1000";
    std::array<int, 10> values{};
    const auto rows = HobbyRows();
    for (std::size_t i = 0; i < rows.size(); ++i) values[i] = &rows[i] == row ? *level : sim.*rows[i].member;
    return StoreHobbies(sim, values);
}

// The talent: a hobby (its name or id), or "-" / 0 for none.
std::string Talent(SimOperationContext& c, Character& sim, std::string_view value) {
    if (std::string refusal = HobbyRefusal(c, sim); !refusal.empty()) return refusal;
    if (value == "-" || value == "0") return SetTalent(sim, 0);
    const HobbyRow* row = FindHobby(value);
    if (!row) return "--talent is a hobby (Cuisine, ..., or its id 204 to 213) or - for none";
    return SetTalent(sim, row->id);
}

// The hobby lots: hobbies by name or id, comma separated, or "none".
std::string HobbyLots(SimOperationContext& c, Character& sim, std::string_view value) {
    if (std::string refusal = HobbyRefusal(c, sim); !refusal.empty()) return refusal;
    std::vector<int> lots;
    if (value != "none") {
        std::size_t start = 0;
        while (start <= value.size()) {
            std::size_t end = value.find(',', start);
            if (end == std::string_view::npos) end = value.size();
            const HobbyRow* row = FindHobby(value.substr(start, end - start));
            if (!row) return "--hobby-lots lists hobbies (Fitness, 211, ...) comma separated, or none";
            lots.push_back(row->id);
            start = end + 1;
        }
    }
    return SetHobbyLotMemberships(c.workspace, sim, lots);
}

// "NAME=LEVEL": a badge of an installed pack, 0 to 1000.
std::string Badge(SimOperationContext& c, Character& sim, std::string_view value) {
    if (!ShowsBadges(sim)) return "only a sim past the toddler stage, not a pet, has badges";
    const auto assignment = Assignment(value);
    const auto level = assignment ? Number(assignment->second) : std::nullopt;
    const auto rows = BadgeRows();
    const auto row = assignment ? std::find_if(rows.begin(), rows.end(),
                                               [&](const BadgeRow& b) {
                                                   return assignment->first == b.name ||
                                                          ParseHexNumber(assignment->first) == b.itemGuid;
                                               })
                                : rows.end();
    if (row == rows.end() || !level) {
        return "--badge is NAME=LEVEL: a badge (Cash Register, Fishing, ... or its item GUID) and 0 to 1000";
    }
    if (!(c.env.*row->pack)) return std::string("the ") + row->name + " badge comes with an expansion that is not installed";
    return SetBadgeLevel(c.workspace, sim, *row, *level);
}

bool IsHobbyField(std::string_view f) {
    return std::any_of(HobbyRows().begin(), HobbyRows().end(),
                       [&](const HobbyRow& row) { return f == row.field; });
}
bool IsTalent(std::string_view f) { return f == "talent"; }

std::string HobbyDoor(SimOperationContext& c, Character& sim, std::string_view field, std::string_view value) {
    return Hobby(c, sim, Joined(field, value));
}
std::string TalentDoor(SimOperationContext& c, Character& sim, std::string_view, std::string_view value) {
    return Talent(c, sim, value);
}

constexpr SimOperation kHobbies[] = {
    {.name = "hobby", .valueHelp = "NAME=N: a hobby's enthusiasm, 0 to 1000 (FreeTime)", .apply = Hobby,
     .governs = IsHobbyField, .fieldDoor = HobbyDoor},
    {.name = "enthusiasm", .valueHelp = "HOBBY=N: the same as --hobby", .apply = Hobby},
    {.name = "talent", .valueHelp = "the natural talent: a hobby (Cuisine, ... or 204 to 213), or - for none",
     .apply = Talent, .governs = IsTalent, .fieldDoor = TalentDoor},
    {.name = "hobby-lots", .valueHelp = "the hobby lots the sim belongs to: hobbies comma separated, or none",
     .apply = HobbyLots, .needsItems = true},
    {.name = "badge", .valueHelp = "NAME=LEVEL: a talent badge, 0 to 1000", .apply = Badge, .needsItems = true},
};

}  // namespace

std::span<const SimOperation> HobbyOperations() { return kHobbies; }

}  // namespace qh::ops
