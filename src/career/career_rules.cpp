#include "career/career_rules.h"

#include <array>

#include "character/character_rules.h"

namespace qh {

namespace {

// Whether the career of the key has the level (0 always: "Unemployed").
bool HasLevel(std::string_view key, int level) {
    return level >= 0 && static_cast<std::size_t>(level) < CareerJobTitles(key).size();
}

}  // namespace

std::string CareerKeyOf(const Character& sim) { return GuidKeyFromBytes(sim.careerGuid); }
std::string RetiredCareerKeyOf(const Character& sim) { return GuidKeyFromBytes(sim.retiredCareerGuid); }

bool IsOwnedBusiness(std::string_view key) { return key == kOwnedBusinessKey || key == kTeenOwnedBusinessKey; }

namespace {

// A career (current or retired) changed: the level stays when the new career has it, else 0.
std::string ChangeCareerIn(Character& sim, Guid4 Character::*career, std::int16_t Character::*level,
                           std::string_view key) {
    const auto guid = GuidBytesFromKey(key);
    if (!guid) return "a career is its key, eight hexadecimal digits: \"" + std::string(key) + "\"";
    if (career == &Character::careerGuid) {
        SetCareer(sim, *guid);  // leaving an owned business ends the sim's place in it
    } else {
        sim.*career = *guid;
    }
    if (!HasLevel(key, sim.*level)) sim.*level = 0;
    sim.dirty = 1;
    return {};
}

std::string SetLevelIn(Character& sim, Guid4 Character::*career, std::int16_t Character::*level, int value) {
    const std::string key = GuidKeyFromBytes(sim.*career);
    if (!HasLevel(key, value)) {
        return "the level must be from 0 to " + std::to_string(CareerJobTitles(key).size() - 1) + " in this career";
    }
    sim.*level = static_cast<std::int16_t>(value);
    sim.dirty = 1;
    return {};
}

}  // namespace

std::string ChangeCareer(Character& sim, std::string_view key) {
    return ChangeCareerIn(sim, &Character::careerGuid, &Character::jobLevel, key);
}
std::string SetJobLevel(Character& sim, int level) {
    return SetLevelIn(sim, &Character::careerGuid, &Character::jobLevel, level);
}
std::string ChangeRetiredCareer(Character& sim, std::string_view key) {
    return ChangeCareerIn(sim, &Character::retiredCareerGuid, &Character::retiredJobLevel, key);
}
std::string SetRetiredJobLevel(Character& sim, int level) {
    return SetLevelIn(sim, &Character::retiredCareerGuid, &Character::retiredJobLevel, level);
}

std::string SetPerformance(Character& sim, int performance) {
    if (performance < kPerformanceLow || performance > kPerformanceHigh) return "performance must be from -100 to 100";
    sim.performance = static_cast<std::int16_t>(performance);
    sim.dirty = 1;
    return {};
}

std::string CleanDigits(std::string_view text, bool keepPoints) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) out += (c >= '0' && c <= '9') || (keepPoints && c == '.') ? c : '0';
    return out;
}

std::optional<int> PensionFromText(std::string_view text) {
    long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > 32767) return std::nullopt;
    }
    return static_cast<int>(value);
}

std::optional<int> VacationFromText(std::string_view text) {
    const auto point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view part = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    if (text.empty() || text == "." || part.find('.') != std::string_view::npos || part.size() > 2) return std::nullopt;
    long value = 0;
    for (char c : whole) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > 327) return std::nullopt;
    }
    long hundredths = 0;
    for (std::size_t i = 0; i < 2; ++i) {
        const char c = i < part.size() ? part[i] : '0';
        if (c < '0' || c > '9') return std::nullopt;
        hundredths = hundredths * 10 + (c - '0');
    }
    const long total = value * 100 + hundredths;
    if (total > 32767) return std::nullopt;
    return static_cast<int>(total);
}

std::string VacationText(int hundredths) {
    const bool negative = hundredths < 0;
    const int magnitude = negative ? -hundredths : hundredths;
    std::string text = (negative ? "-" : "") + std::to_string(magnitude / 100);
    const int part = magnitude % 100;
    if (part != 0) {
        text += '.';
        text += static_cast<char>('0' + part / 10);
        if (part % 10 != 0) text += static_cast<char>('0' + part % 10);
    }
    return text;
}

std::string SetPension(Character& sim, int pension) {
    if (pension < 0 || pension > 32767) return "the pension must be from 0 to 32767";
    sim.pension = static_cast<std::int16_t>(pension);
    sim.dirty = 1;
    return {};
}

std::string SetVacation(Character& sim, int hundredths) {
    if (hundredths < 0 || hundredths > 32767) return "vacation days must be from 0 to 327.67";
    sim.pto = static_cast<std::int16_t>(hundredths);
    sim.dirty = 1;
    return {};
}

std::vector<std::pair<int, std::string>> NpcTypeChoices(const ExpansionFlags& flags) {
    struct Group {
        bool ExpansionFlags::*flag;  // null: always
        std::vector<std::pair<int, const char*>> types;
    };
    static const Group kGroups[] = {
        {nullptr,
         {{0, "NA"}, {2, "Bartender"}, {4, "Burgler"}, {5, "Driver"}, {9, "Police Officer"}, {10, "Grocery Delivery"},
          {11, "Exterminator"}, {12, "Fire Fighter"}, {13, "Gardener"}, {16, "Repair Person"}, {17, "Headmaster"},
          {19, "Maid"}, {20, "Mail Delivery"}, {21, "Nanny"}, {22, "Paper Delivery"}, {23, "Pizza Delivery"},
          {26, "Repo Man"}, {29, "Social Bunny"}, {30, "Social Worker"}, {31, "Clerk"}}},
        {&ExpansionFlags::university,
         {{1, "Lounge Bartender"}, {6, "University Streaker"}, {7, "University Coach"}, {8, "Cafeteria Worker"},
          {14, "Barista"}, {24, "University Professor"}, {25, "Evil Cow Team Mascot"}, {27, "University Cheerleader"},
          {28, "Llama Team Mascot"}, {33, "Chinese Delivery"}}},
        {&ExpansionFlags::nightlife,
         {{18, "Gypsy Matchmaker"}, {34, "Host/Hostess"}, {35, "Waiter/Waitress"}, {36, "Chef"}, {37, "Disk Jockey"},
          {39, "Vampire"}}},
        {&ExpansionFlags::openForBusiness, {{40, "Servo"}, {41, "Undercover Reporter"}}},
        {&ExpansionFlags::pets,
         {{3, "Unknown ?"}, {42, "Unknown Various Outfits"}, {43, "Wolf"}, {44, "Pack Leader"}, {46, "Police Officer"},
          {47, "Obedience Trainer"}}},
        {&ExpansionFlags::bonVoyage,
         {{48, "Massage Therapist"}, {49, "Hotel Host/Hostess"}, {50, "Unsavory Charlatan"}, {51, "Tour Guide"},
          {53, "Ninja"}, {55, "Vacation Maid"}, {56, "Local Chef"}, {57, "Fire Walker"}}},
        {&ExpansionFlags::freeTime, {{60, "Food Judge"}}},
        {&ExpansionFlags::apartmentLife,
         {{64, "Witch"}, {65, "Break Dancer"}, {66, "Familiar"}, {67, "Human Statue"}, {68, "Landlord"}, {69, "Butler"},
          {70, "Hot Dog Chef"}, {71, "Witch"}}},
    };
    std::vector<std::pair<int, std::string>> out;
    for (const Group& group : kGroups) {
        if (group.flag && !(flags.*group.flag)) continue;
        for (const auto& [id, name] : group.types) out.emplace_back(id, name);
    }
    return out;
}

std::string SetNpcType(Character& sim, int npcType) {
    if (npcType < 0 || npcType > 32767) return "the NPC type must be from 0 to 32767";
    sim.npcType = static_cast<std::int16_t>(npcType);
    sim.dirty = 1;
    return {};
}

std::optional<std::string> LotJobAssignmentText(int assignment) {
    static constexpr std::array<const char*, 20> kTexts = {
        "No Job Assigned",          "Assigned Job: Chef",         "Assigned Job: Host",
        "Assigned Job: Server",     "Assigned Job: Cashier",      "Assigned Job: Bartender",
        "Assigned Job: Barista",    "Assigned Job: DJ",           "Assigned Job: Sell Lemonade",
        "Assigned Job: Stylist",    "Assigned Job: Tidy",         "Assigned Job: Restock",
        "Assigned Job: Sales",      "Assigned Job: Make Toys",    "Assigned Job: Arrange Flowers",
        "Assigned Job: Build Robots", "Assigned Job: Prepare Meals", "Assigned Job: Masseuse",
        "Assigned Job: Make Pottery", "Assigned Job: Sew"};
    if (assignment < 0 || assignment >= static_cast<int>(kTexts.size())) return std::nullopt;
    return std::string(kTexts[static_cast<std::size_t>(assignment)]);
}

}  // namespace qh
