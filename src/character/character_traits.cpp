#include "character/character_traits.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <random>

#include "character/character_fields.h"
#include "character/character_rules.h"

namespace qh {

namespace {

// The member of a word field of the field table, so that the groups and the table can never name
// different words.
std::int16_t Character::*WordMember(std::string_view field) {
    const CharacterField* row = FindCharacterField(field);
    if (!row) return nullptr;
    const auto* member = std::get_if<std::int16_t Character::*>(&row->member);
    return member ? *member : nullptr;
}

TraitSlider Trait(std::string_view field, const char* name, const char* low, const char* high) {
    return {field, WordMember(field), name, low, high, nullptr};
}
TraitSlider Interest(std::string_view field, const char* label, const char* petLabel) {
    return {field, WordMember(field), label, nullptr, nullptr, petLabel};
}
TraitSlider Skill(std::string_view field, const char* label) {
    return {field, WordMember(field), label, nullptr, nullptr, nullptr};
}

const std::vector<TraitSlider>& Personality() {
    static const std::vector<TraitSlider> rows = {
        Trait("neat", "Neat", "Sloppy", "Neat"),
        Trait("outgoing", "Outgoing", "Shy", "Outgoing"),
        Trait("active", "Active", "Lazy", "Active"),
        Trait("playful", "Playful", "Serious", "Playful"),
        Trait("nice", "Nice", "Grouchy", "Nice"),
        Trait("geneticNeat", "Neat", "Sloppy", "Neat"),
        Trait("geneticOutgoing", "Outgoing", "Shy", "Outgoing"),
        Trait("geneticActive", "Active", "Lazy", "Active"),
        Trait("geneticPlayful", "Playful", "Serious", "Playful"),
        Trait("geneticNice", "Nice", "Grouchy", "Nice"),
    };
    return rows;
}

const std::vector<TraitSlider>& Interests() {
    static const std::vector<TraitSlider> rows = {
        Interest("interestPolitics", "Politics:", "Pets:"),
        Interest("interestMoney", "Money:", "Scary Things:"),
        Interest("interestEnvironment", "Environment:", "Food:"),
        Interest("interestCrime", "Crime:", "Outside:"),
        Interest("interestEntertainment", "Entertainment:", "Sleep:"),
        Interest("interestCulture", "Culture:", "Play:"),
        Interest("interestFood", "Food:", "Weather:"),
        Interest("interestHealth", "Health:", "Toys:"),
        Interest("interestFashion", "Fashion:", "Animals:"),
        Interest("interestSports", "Sports:", nullptr),
        Interest("interestParanormal", "Paranormal:", nullptr),
        Interest("interestTravel", "Travel:", nullptr),
        Interest("interestWork", "Work:", nullptr),
        Interest("interestWeather", "Weather:", nullptr),
        Interest("interestAnimals", "Animals:", nullptr),
        Interest("interestSchool", "School:", nullptr),
        Interest("interestToys", "Toys:", nullptr),
        Interest("interestSciFi", "Sci-Fi:", nullptr),
    };
    return rows;
}

const std::vector<TraitSlider>& BaseSkills() {
    static const std::vector<TraitSlider> rows = {
        Skill("cleaningSkill", "Cleaning:("),   Skill("cookingSkill", "Cooking:("),
        Skill("charismaSkill", "Charisma:("),   Skill("mechanicalSkill", "Mechanical:("),
        Skill("creativitySkill", "Creativity:("), Skill("bodySkill", "Body:("),
        Skill("logicSkill", "Logic:("),
    };
    return rows;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// "Politics:" and "Cooking:(" name "Politics" and "Cooking".
std::string_view BareLabel(const char* label) {
    std::string_view text(label);
    while (!text.empty() && (text.back() == ':' || text.back() == '(')) text.remove_suffix(1);
    return text;
}

int Clamp(int value, int low, int high) { return std::clamp(value, low, high); }

}  // namespace

std::span<const TraitSlider> TraitSliders(TraitGroup group) {
    switch (group) {
        case TraitGroup::Personality: return Personality();
        case TraitGroup::Interests: return Interests();
        case TraitGroup::BaseSkills: return BaseSkills();
    }
    return {};
}

const TraitSlider* FindTraitSlider(TraitGroup group, std::string_view name) {
    for (const TraitSlider& slider : TraitSliders(group)) {
        if (slider.field == name) return &slider;
    }
    // Personality traits share their names between the current and the inherited row; by name
    // alone the current one is meant.
    for (const TraitSlider& slider : TraitSliders(group)) {
        if (SameName(BareLabel(slider.label), name)) return &slider;
    }
    return nullptr;
}

std::vector<int> ShownTraits(const Character& sim, TraitGroup group) {
    std::vector<int> values;
    for (const TraitSlider& slider : TraitSliders(group)) values.push_back(Clamp(sim.*slider.member, 0, kTraitMaximum));
    return values;
}

bool TraitsEditable(const Character& sim, TraitGroup group, bool hasPets) {
    return HasDescription(sim) && (group == TraitGroup::Interests || !IsPet(sim, hasPets));
}

bool StoreTraits(Character& sim, TraitGroup group, std::span<const int> values, bool hasPets) {
    const auto sliders = TraitSliders(group);
    if (!TraitsEditable(sim, group, hasPets) || values.size() != sliders.size()) return false;
    bool changed = false;
    for (std::size_t i = 0; i < sliders.size(); ++i) {
        const std::int16_t stored = sim.*sliders[i].member;
        // A value another tool stored outside the range is shown at the end of the slider; a
        // slider still there was not moved, and its stored value stays.
        if (values[i] == Clamp(stored, 0, kTraitMaximum)) continue;
        const auto value = static_cast<std::int16_t>(Clamp(values[i], 0, kTraitMaximum));
        changed |= sim.*sliders[i].member != value;
        sim.*sliders[i].member = value;
    }
    if (changed) sim.dirty = 1;
    return true;
}

bool SetTrait(Character& sim, TraitGroup group, const TraitSlider& slider, int value, bool hasPets) {
    std::vector<int> values = ShownTraits(sim, group);
    const auto sliders = TraitSliders(group);
    for (std::size_t i = 0; i < sliders.size(); ++i) {
        if (&sliders[i] == &slider) values[i] = value;
    }
    return StoreTraits(sim, group, values, hasPets);
}

bool InterestShown(const Character& sim, const TraitSlider& slider, bool hasPets) {
    return !IsPet(sim, hasPets) || slider.petLabel != nullptr;
}

std::string InterestLabel(const TraitSlider& slider, int value, bool pet) {
    const char* name = pet && slider.petLabel ? slider.petLabel : slider.label;
    return std::string(name) + "(" + std::to_string(value) + ")";
}

std::string StoredBeyondNote(std::int16_t stored, int shown) { return StoredBeyondNote(stored, shown, 0, kTraitMaximum); }

std::string StoredBeyondNote(int stored, int shown, int low, int high) {
    if (stored == shown || std::clamp(stored, low, high) != shown) return {};
    return " - stored " + std::to_string(stored);
}

std::string SkillLabel(const TraitSlider& slider, int value) {
    return std::string(slider.label) + std::to_string(value) + ")";
}

std::vector<int> RandomTraitValues(std::size_t count, std::uint64_t seed) {
    std::mt19937_64 generator(seed);
    std::uniform_int_distribution<int> draw(0, kTraitMaximum - 2);
    std::vector<int> values(count);
    for (int& value : values) value = draw(generator);
    return values;
}

std::uint64_t ClockSeed() {
    return static_cast<std::uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

bool ReputationStored(const Character& sim) { return FieldStored(sim, "reputation"); }

bool ReputationShown(const Character& sim, bool hasPets, bool hasApartmentLife) {
    return hasApartmentLife && !IsPet(sim, hasPets) && sim.species == 0;
}

void SetReputation(Character& sim, int value) {
    const auto stored = static_cast<std::int16_t>(Clamp(value, kReputationMinimum, kReputationMaximum));
    if (sim.reputation == stored) return;
    sim.reputation = stored;
    sim.dirty = 1;
}

std::span<const NeedRow> NeedRows() {
    static const std::vector<NeedRow> rows = [] {
        std::vector<NeedRow> r;
        for (auto [field, caption] : {std::pair{"decayHunger", "Hunger:"}, std::pair{"decayComfort", "Comfort:"},
                                      std::pair{"decayBladder", "Bladder:"}, std::pair{"decayEnergy", "Energy:"},
                                      std::pair{"decayHygiene", "Hygiene:"}, std::pair{"decayFun", "Fun:"},
                                      std::pair{"decaySocial", "Social:"}}) {
            r.push_back({field, WordMember(field), caption});
        }
        return r;
    }();
    return rows;
}

const NeedRow* FindNeed(std::string_view name) {
    for (const NeedRow& need : NeedRows()) {
        if (need.field == name || SameName(BareLabel(need.caption), name)) return &need;
    }
    return nullptr;
}

std::span<const NeedSpeed> NeedSpeeds() {
    static constexpr NeedSpeed kSpeeds[] = {{0, "Normal"}, {12, "Slow"}, {24, "Slower"}, {36, "Very Slow"}};
    return kSpeeds;
}

int NeedSpeedPosition(std::int16_t stored) {
    const auto speeds = NeedSpeeds();
    for (std::size_t i = 0; i < speeds.size(); ++i) {
        if (speeds[i].value == stored) return static_cast<int>(i);
    }
    return 0;
}

const char* NeedSpeedCaption(std::int16_t stored) {
    return NeedSpeeds()[static_cast<std::size_t>(NeedSpeedPosition(stored))].caption;
}

bool NeedsStored(const Character& sim) { return FieldStored(sim, "decayHunger"); }

bool SetNeedSpeed(Character& sim, const NeedRow& need, std::int16_t value) {
    if (sim.*need.member == value) return false;
    sim.*need.member = value;
    sim.dirty = 1;
    return true;
}

bool LotsaFreeTime(Character& sim) {
    bool changed = false;
    for (const NeedRow& need : NeedRows()) changed |= SetNeedSpeed(sim, need, NeedSpeeds().back().value);
    return changed;
}

}  // namespace qh
