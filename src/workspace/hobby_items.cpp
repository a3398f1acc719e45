#include "workspace/hobby_items.h"

#include <algorithm>
#include <random>

#include "workspace/sim_items.h"

namespace qh {

std::span<const HobbyRow> HobbyRows() {
    static constexpr HobbyRow kRows[] = {
        {204, "Cuisine", &Character::hobbyCuisine, "hobbyCuisine", "Cuisine:(", "Sue's Secret Kitchen"},
        {205, "Arts and Crafts", &Character::hobbyArtsCrafts, "hobbyArtsCrafts", "Arts and Crafts:(", "My Muse II - Art Studio"},
        {206, "Films and Literature", &Character::hobbyFilmsLiterature, "hobbyFilmsLiterature", "Films/Literature:(",
         "Desirable Discourse Film && Literature Club"},
        {207, "Sports", &Character::hobbySports, "hobbySports", "Sports:(", "Dreamy Fields"},
        {208, "Games", &Character::hobbyGames, "hobbyGames", "Games:(", "Games of Glory"},
        {209, "Nature", &Character::hobbyNature, "hobbyNature", "Nature:(", "Peerless Park Nature Retreat"},
        {210, "Tinkering", &Character::hobbyTinkering, "hobbyTinkering", "Tinkering:(", "Will's Garage"},
        {211, "Fitness", &Character::hobbyFitness, "hobbyFitness", "Fitness:(", "Platinum Gym"},
        {212, "Science", &Character::hobbyScience, "hobbyScience", "Science:(", "Aspirational Laboratories"},
        {213, "Music and Dance", &Character::hobbyMusicDance, "hobbyMusicDance", "Music/Dance:(", "My Muse - Music && Dance Studio"},
    };
    return kRows;
}

bool ShowsHobbies(const Character& sim, const GameEnvironment& env) { return env.hasFreeTime && sim.species == 0; }

std::string StoreHobbies(Character& sim, const std::array<int, 10>& values) {
    for (int value : values) {
        if (value < 0 || value > 1000) return "an enthusiasm must be from 0 to 1000";
    }
    const auto rows = HobbyRows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto value = static_cast<std::int16_t>(values[i]);
        if (sim.*rows[i].member != value) {
            sim.*rows[i].member = value;
            sim.dirty = 1;
        }
    }
    return {};
}

namespace {

bool IsHobby(int id) {
    const auto rows = HobbyRows();
    return std::any_of(rows.begin(), rows.end(), [id](const HobbyRow& row) { return row.id == id; });
}

}  // namespace

std::string SetTalent(Character& sim, int talent) {
    if (talent != 0 && !IsHobby(talent)) return "the talent must be a hobby's id (204 to 213) or 0 for none";
    sim.talent = static_cast<std::int16_t>(talent);
    sim.dirty = 1;
    return {};
}

int ShownTalent(const Character& sim) { return IsHobby(sim.talent) ? sim.talent : 0; }

std::vector<int> HobbyLotMemberships(const Workspace& workspace, const Character& sim) {
    return HobbyLotMemberships(workspace.simItemList, sim);
}

std::vector<int> HobbyLotMemberships(std::span<const NeighborhoodItem> items, const Character& sim) {
    std::vector<int> lots;
    for (const NeighborhoodItem& item : items) {
        if (item.owner != sim.instanceId || item.itemGuid != kHobbyLotsGuid) continue;
        for (std::uint16_t value : item.values) {
            if (IsHobby(value) && std::find(lots.begin(), lots.end(), value) == lots.end()) lots.push_back(value);
        }
        break;  // the first membership item is the sim's
    }
    std::sort(lots.begin(), lots.end());
    return lots;
}

std::string SetHobbyLotMemberships(Workspace& workspace, Character& sim, std::vector<int> lots) {
    for (int id : lots) {
        if (!IsHobby(id)) return "a hobby lot is a hobby's id, 204 to 213";
    }
    std::sort(lots.begin(), lots.end());
    lots.erase(std::unique(lots.begin(), lots.end()), lots.end());
    const std::vector<std::uint16_t> values(lots.begin(), lots.end());
    if (NeighborhoodItem* item = FindSimItem(workspace, sim, kHobbyLotsGuid)) {
        if (item->values != values) {
            item->values = values;
            sim.dirty = 1;
        }
        return {};
    }
    AddSimItem(workspace, sim, kHobbyLotsGuid, 1, values);
    return {};
}

std::span<const BadgeRow> BadgeRows() {
    static constexpr BadgeRow kRows[] = {
        {"Cash Register", 0x505FDC28, &GameEnvironment::hasOpenForBusiness},
        {"Stocking", 0x105FDC52, &GameEnvironment::hasOpenForBusiness},
        {"Sales", 0xB05FDC1B, &GameEnvironment::hasOpenForBusiness},
        {"Robotery", 0x505FDBC6, &GameEnvironment::hasOpenForBusiness},
        {"Flower Arranging", 0x905FDBB5, &GameEnvironment::hasOpenForBusiness},
        {"Toy Making", 0xD05FDB91, &GameEnvironment::hasOpenForBusiness},
        {"Cosmetology", 0x705FDC8F, &GameEnvironment::hasOpenForBusiness},
        {"Fishing", 0x12297157, &GameEnvironment::hasSeasons},
        {"Gardening", 0x1215A8C1, &GameEnvironment::hasSeasons},
        {"Pottery", 0xF3D9B8DA, &GameEnvironment::hasFreeTime},
        {"Sewing", 0xD3DB2A27, &GameEnvironment::hasFreeTime},
    };
    return kRows;
}

bool ShowsBadges(const Character& sim) { return sim.species == 0 && sim.lifeStage > 2; }

int BadgeLevel(const Workspace& workspace, const Character& sim, std::uint32_t itemGuid) {
    return BadgeLevel(workspace.simItemList, sim, itemGuid);
}

int BadgeLevel(std::span<const NeighborhoodItem> items, const Character& sim, std::uint32_t itemGuid) {
    // The panel walks the list in order, each of the sim's items of the badge moving its slider:
    // the last one's level is shown (a change writes them all alike).
    int level = 0;
    for (const NeighborhoodItem& item : items) {
        if (item.owner == sim.instanceId && item.itemGuid == itemGuid) level = item.values.empty() ? 0 : item.values[0];
    }
    return level;
}

std::string SetBadgeLevel(Workspace& workspace, Character& sim, const BadgeRow& badge, int level) {
    if (level < 0 || level > 1000) return "a badge's level must be from 0 to 1000";
    bool found = false;
    for (NeighborhoodItem& item : workspace.simItemList) {
        if (item.owner != sim.instanceId || item.itemGuid != badge.itemGuid) continue;
        found = true;
        if (item.values.empty()) item.values.push_back(0);
        if (item.values[0] != level) {
            item.values[0] = static_cast<std::uint16_t>(level);
            sim.dirty = 1;
        }
    }
    if (!found && level != 0) {
        AddSimItem(workspace, sim, badge.itemGuid, 0, {static_cast<std::uint16_t>(level), 0});
    }
    return {};
}

int BadgeGrade(int level) {
    if (level >= 999) return 3;
    if (level >= 666) return 2;
    if (level >= 333) return 1;
    return 0;
}

const char* BadgeGradeName(int grade) {
    static constexpr const char* kNames[4] = {"None", "Bronze", "Silver", "Gold"};
    return grade >= 0 && grade < 4 ? kNames[grade] : "None";
}

std::vector<int> RandomBadgeLevels(std::size_t count, std::uint64_t seed) {
    static constexpr int kGrades[4] = {0, 333, 666, 1000};
    std::mt19937_64 generator(seed);
    std::uniform_int_distribution<int> draw(0, 3);
    std::vector<int> levels(count);
    for (int& level : levels) level = kGrades[draw(generator)];
    return levels;
}

int NextBadgeLevel(int level) {
    if (level < 333) return 333;
    if (level < 666) return 666;
    if (level < 999) return 1000;
    return 0;
}

}  // namespace qh
