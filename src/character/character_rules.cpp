#include "character/character_rules.h"

#include <algorithm>

#include "character/character_fields.h"
#include "character/sim_description.h"

namespace qh {

bool IsPet(const Character& sim, bool hasPets) { return hasPets && sim.species >= 1 && sim.species <= 3; }

bool HasDescription(const Character& sim) { return sim.instanceId != 0; }

void SetCareer(Character& sim, const Guid4& career) {
    sim.careerGuid = career;
    const std::string key = GuidKey(career);
    if (key != kOwnedBusinessCareers[0] && key != kOwnedBusinessCareers[1] &&
        DescriptionVersionIndex(sim.sdscVersion) >= DescriptionVersionIndex(0x2A)) {
        sim.businessLot = 0;
        sim.businessRank = 0;
    }
    sim.dirty = 1;
}

std::span<const WordRow> CharacterWordRows() {
    static constexpr WordRow kRows[] = {
        {"trkFatness", "fatness", &Character::fatness, 0, 1000},
        {"trkMalePref", "malePreference", &Character::malePreference, -1000, 1000},
        {"trkFemalePref", "femalePreference", &Character::femalePreference, -1000, 1000},
        {"edtAgeDuration", "ageDuration", &Character::ageDuration, 0, 65535, true},
        {"edtDaysPrevAge", "daysInPreviousAge", &Character::daysInPreviousAge, 0, 65535, true},
        {"edtAgeDaysLeft", "ageDaysLeft", &Character::ageDaysLeft, 0, 65535, true},
        {"edtFitnessPreference", "fitnessPreference", &Character::fitnessPreference, 0, 65535, true, true},
    };
    return kRows;
}

const WordRow* FindWordRow(std::string_view field) {
    for (const WordRow& row : CharacterWordRows()) {
        if (row.field == field) return &row;
    }
    return nullptr;
}

void SetWordRow(Character& sim, const WordRow& row, int value) {
    const int kept = std::clamp(value, row.low, row.high);
    SetWord(sim, row.member, static_cast<std::int16_t>(static_cast<std::uint16_t>(kept)));
}

std::string NoDescriptionRefusal(const Character& sim) {
    return sim.packageFile + " has no description in this neighborhood: only its names, description and colours can be "
                             "changed";
}

std::vector<LifeStageRow> LifeStageRows(bool pet) {
    if (pet) return {{"Puppy/Kitten", 1, 32}, {"Adult", 19, 8}, {"Elder", 51, 16}};
    return {{"Baby", 1, 32}, {"Toddler", 2, 1}, {"Child", 3, 2}, {"Teen", 16, 4}, {"Adult", 19, 8}, {"Elder", 51, 16}};
}

int LifeStagePosition(const Character& sim, bool pet) {
    const auto rows = LifeStageRows(pet);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].lifeStage == sim.lifeStage) return static_cast<int>(i);
    }
    return -1;
}

std::string SpeciesLabel(const Character& sim, bool pet, int position) {
    if (!pet) {
        static const char* const kSims[] = {"Species: Sim Baby", "Species: Sim Toddler", "Species: Sim Child",
                                            "Species: Sim Teen", "Species: Sim Adult", "Species: Sim Elder"};
        return position >= 0 && position < 6 ? kSims[position] : "";
    }
    static const char* const kPets[3][3] = {
        {"Species: Large Puppy", "Species: Large Adult Dog", "Species: Large Elder Dog"},
        {"Species: Small Puppy", "Species: Small Adult Dog", "Species: Small Elder Dog"},
        {"Species: Kitten", "Species: Adult Cat", "Species: Elder Cat"}};
    if (position < 0 || position > 2 || sim.species < 1 || sim.species > 3) return "";
    return kPets[sim.species - 1][position];
}

void SetLifeStagePosition(Character& sim, bool pet, int position) {
    const auto rows = LifeStageRows(pet);
    if (position < 0 || position >= static_cast<int>(rows.size())) return;
    sim.lifeStage = rows[static_cast<std::size_t>(position)].lifeStage;
    sim.ageProperty = rows[static_cast<std::size_t>(position)].ageProperty;
    if (pet || position != kAdultPosition) {
        sim.youngAdult = 0;
    } else if (sim.youngAdult == 1) {
        sim.ageProperty = 64;
    }
    sim.needsPackageRebuild = 1;
    sim.dirty = 1;
}

void SetYoungAdult(Character& sim, bool youngAdult, int lifeStagePosition) {
    sim.youngAdult = youngAdult ? 1 : 0;
    if (youngAdult && lifeStagePosition == kAdultPosition) sim.ageProperty = 64;
    sim.dirty = 1;
}

void SetGender(Character& sim, bool female) {
    sim.gender = female ? 1 : 0;
    sim.genderProperty = female ? 1 : 2;
    sim.dirty = 1;
}

void SetWord(Character& sim, std::int16_t Character::*field, std::int16_t value) {
    sim.*field = value;
    sim.dirty = 1;
}

void SetDescription(Character& sim, std::string description) {
    sim.description = std::move(description);
    sim.dirty = 1;
}

void SetLocomotion(Character& sim, int weight0) {
    weight0 = weight0 < 0 ? 0 : weight0 > 100 ? 100 : weight0;
    sim.locoWeight0 = static_cast<std::int16_t>(weight0);
    sim.locoWeight1 = static_cast<std::int16_t>(100 - weight0);
    sim.dirty = 1;
}

const std::array<ZodiacSign, 12>& ZodiacSigns() {
    static const std::array<ZodiacSign, 12> signs = {{
        {"Aries", 500, 800, 600, 300, 300, "Aries (Mar 21 - Apr 19)\r\nAttracted To - Gemini && Taurus\r\nRepelled By - Cancer && Libra"},
        {"Taurus", 500, 500, 300, 800, 400, "Taurus (Apr 20 - May 20)\r\nAttracted To - Aries && Libra\r\nRepelled By - Virgo && Cancer"},
        {"Gemini", 400, 700, 800, 300, 300, "Gemini (May 21 - Jun 20)\r\nAttracted To - Pisces && Virgo\r\nRepelled By - Capricorn && Aries"},
        {"Cancer", 600, 300, 600, 400, 600, "Cancer (Jun 21 - Jul 22)\r\nAttracted To - Taurus && Scorpio\r\nRepelled By - Gemini && Aries"},
        {"Leo", 400, 1000, 400, 400, 300, "Leo (Jul 23 - Aug 22)\r\nAttracted To - Sagittarius && Cancer\r\nRepelled By - Capricorn && Gemini"},
        {"Virgo", 900, 200, 600, 300, 500, "Virgo (Aug 23 - Sep 22)\r\nAttracted To - Aquarius && Sagittarius\r\nRepelled By - Leo && Taurus"},
        {"Libra", 200, 800, 200, 600, 700, "Libra (Sep 23 - Oct 22)\r\nAttracted To - Virgo && Cancer\r\nRepelled By - Pisces && Scorpio"},
        {"Scorpio", 600, 500, 800, 300, 300, "Scorpio (Oct 23 - Nov 21)\r\nAttracted To - Pisces && Leo\r\nRepelled By - Libra && Aquarius"},
        {"Sagittarius", 200, 300, 900, 700, 400, "Sagittarius (Nov 22 - Dec 21)\r\nAttracted To - Pisces && Capricorn\r\nRepelled By - Libra && Scorpio"},
        {"Capricorn", 700, 400, 100, 800, 500, "Capricorn (Dec 22 - Jan 19)\r\nAttracted To - Aquarius && Taurus\r\nRepelled By - Leo && Gemini"},
        {"Aquarius", 400, 400, 400, 700, 600, "Aquarius (Jan 20 - Feb 18)\r\nAttracted To - Capricorn && Sagittarius\r\nRepelled By - Scorpio && Virgo"},
        {"Pisces", 400, 300, 700, 300, 700, "Pisces (Feb 19 - Mar 20)\r\nAttracted To - Scorpio && Gemini\r\nRepelled By - Leo && Aries"},
    }};
    return signs;
}

std::string ZodiacSignText(int zodiac) {
    if (zodiac < 1 || zodiac > 12) return {};
    std::string text;
    for (const char* c = ZodiacSigns()[static_cast<std::size_t>(zodiac - 1)].text; *c; ++c) {
        if (c[0] == '\r' && c[1] == '\n') continue;
        if (c[0] == '&' && c[1] == '&') ++c;
        text += *c;
    }
    return text;
}

void ApplyZodiac(Character& sim, int zodiac, bool hasPets) {
    if (zodiac < 1 || zodiac > 12) return;
    const ZodiacSign& sign = ZodiacSigns()[static_cast<std::size_t>(zodiac - 1)];
    sim.zodiac = static_cast<std::int16_t>(zodiac);
    sim.dirty = 1;
    if (IsPet(sim, hasPets)) return;
    sim.neat = sim.geneticNeat = sign.neat;
    sim.outgoing = sim.geneticOutgoing = sign.outgoing;
    sim.active = sim.geneticActive = sign.active;
    sim.playful = sim.geneticPlayful = sign.playful;
    sim.nice = sim.geneticNice = sign.nice;
    sim.dirty = 1;
}

const std::array<AttractionEntry, 35>& AttractionPlan() {
    static const std::array<AttractionEntry, 35> plan = {{
        {"NA", 0, 0},
        {"Cologne", 1, 0}, {"Stink", 1, 1}, {"Fatness", 1, 2}, {"Fitness", 1, 3}, {"Formal Wear", 1, 4},
        {"Swimwear", 1, 5}, {"Underwear", 1, 6}, {"Vampirism", 1, 7}, {"Facial Hair", 1, 8}, {"Glasses", 1, 9},
        {"Makeup", 1, 10}, {"Full Face Makeup", 1, 11}, {"Hats", 1, 12},
        {"Blonde Hair", 2, 0}, {"Red Hair", 2, 1}, {"Brown Hair", 2, 2}, {"Black Hair", 2, 3}, {"Custom Hair", 2, 4},
        {"Grey Hair", 2, 5}, {"Hard Worker", 2, 6}, {"Unemployed", 2, 7}, {"Logical", 2, 8}, {"Charismatic", 2, 9},
        {"Great Cook", 2, 10}, {"Mechanical", 2, 11}, {"Creative", 2, 12}, {"Athletic", 2, 13},
        {"Good at Cleaning", 2, 14}, {"Zombiism", 2, 15},
        {"Robots", 3, 0}, {"Plantsimism", 3, 1}, {"Lycanthropy", 3, 2},
        {"Jewelery", 1, 13},
        {"Witchiness", 3, 3},
    }};
    return plan;
}

namespace {

std::uint16_t* AttractionWord(Character& sim, AttractionSet set, int word) {
    switch (set) {
        case AttractionSet::TurnOns: return word == 1 ? &sim.turnOns1 : word == 2 ? &sim.turnOns2 : &sim.turnOns3;
        case AttractionSet::TurnOffs: return word == 1 ? &sim.turnOffs1 : word == 2 ? &sim.turnOffs2 : &sim.turnOffs3;
        default: return word == 1 ? &sim.ownTraits1 : word == 2 ? &sim.ownTraits2 : &sim.ownTraits3;
    }
}

}  // namespace

bool HasAttraction(const Character& sim, AttractionSet set, int position) {
    if (position <= 0 || position >= 35) return false;
    const AttractionEntry& entry = AttractionPlan()[static_cast<std::size_t>(position)];
    return (*AttractionWord(const_cast<Character&>(sim), set, entry.word) >> entry.bit & 1) != 0;
}

void SetAttraction(Character& sim, AttractionSet set, int position, bool on) {
    if (position <= 0 || position >= 35) return;
    const AttractionEntry& entry = AttractionPlan()[static_cast<std::size_t>(position)];
    std::uint16_t* word = AttractionWord(sim, set, entry.word);
    const auto mask = static_cast<std::uint16_t>(1u << entry.bit);
    *word = static_cast<std::uint16_t>(on ? (*word | mask) : (*word & ~mask));
    sim.dirty = 1;
}

namespace {

// The three words in the order the selectors walk them, with how many bits each holds.
constexpr int kWordBits[3] = {14, 16, 4};

std::uint16_t WordOf(const Character& sim, AttractionSet set, int word) {
    return *AttractionWord(const_cast<Character&>(sim), set, word);
}

int PlanPosition(int word, int bit) {
    const auto& plan = AttractionPlan();
    for (std::size_t i = 1; i < plan.size(); ++i) {
        if (plan[i].word == word && plan[i].bit == bit) return static_cast<int>(i);
    }
    return 0;
}

// The plan positions of the set bits of a set, in walking order.
std::vector<int> SetPositions(const Character& sim, AttractionSet set) {
    std::vector<int> positions;
    for (int word = 1; word <= 3; ++word) {
        const std::uint16_t bits = WordOf(sim, set, word);
        for (int bit = 0; bit < kWordBits[word - 1]; ++bit) {
            if (bits >> bit & 1) positions.push_back(PlanPosition(word, bit));
        }
    }
    return positions;
}

// The own traits' names as the relationship panel writes them, by word and bit.
constexpr std::string_view kOwnTraitNames[3][16] = {
    {"Cologne", "Stink", "Fatness", "Fitness", "Formal Wear", "SwimWear", "Underwear", "Vampirism", "Facial Hair",
     "Glasses", "MakeUp", "Full Face Makeup", "Hats", "Jewelery"},
    {"Blonde Hair", "Red Hair", "Brown Hair", "Black Hair", "Custom Hair", "Grey Hair", "Hard Worker", "Unemployed",
     "Logical", "Charismatic", "Great Cook", "Mechanical", "Creative", "Athletic", "Good at Cleaning", "Zombiism"},
    {"Robots", "Plantsimism", "Lycanthropy", "Witchiness"},
};

}  // namespace

TurnOnSelection ShownTurnOns(const Character& sim) {
    TurnOnSelection shown;
    const auto ons = SetPositions(sim, AttractionSet::TurnOns);
    if (!ons.empty()) shown.turnOn1 = ons[0];
    if (ons.size() > 1) shown.turnOn2 = ons[1];
    const auto offs = SetPositions(sim, AttractionSet::TurnOffs);
    if (!offs.empty()) shown.turnOff = offs[0];
    return shown;
}

bool AttractionStored(const Character& sim, int position) {
    if (position == 0) return true;
    if (position < 0 || position >= 35) return false;
    const int word = AttractionPlan()[static_cast<std::size_t>(position)].word;
    return FieldStored(sim, word == 3 ? "turnOns3" : "turnOns1");
}

bool SetTurnOnsAndOffs(Character& sim, const TurnOnSelection& chosen) {
    for (int position : {chosen.turnOn1, chosen.turnOn2, chosen.turnOff}) {
        if (!AttractionStored(sim, position)) return false;
    }
    sim.turnOns1 = sim.turnOns2 = sim.turnOns3 = 0;
    sim.turnOffs1 = sim.turnOffs2 = sim.turnOffs3 = 0;
    SetAttraction(sim, AttractionSet::TurnOns, chosen.turnOn1, true);
    SetAttraction(sim, AttractionSet::TurnOns, chosen.turnOn2, true);
    SetAttraction(sim, AttractionSet::TurnOffs, chosen.turnOff, true);
    sim.dirty = 1;
    return true;
}

std::vector<std::string_view> OwnTraitNames(const Character& sim) {
    std::vector<std::string_view> names;
    for (int word = 1; word <= 3; ++word) {
        const std::uint16_t bits = WordOf(sim, AttractionSet::OwnTraits, word);
        for (int bit = 0; bit < kWordBits[word - 1]; ++bit) {
            if (bits >> bit & 1) names.push_back(kOwnTraitNames[word - 1][bit]);
        }
    }
    return names;
}

std::u32string FilterDigits(std::u32string_view text) {
    std::u32string out(text);
    for (char32_t& c : out) {
        if (c < U'0' || c > U'9') c = U'0';
    }
    return out;
}

std::uint64_t DigitNumber(std::u32string_view filtered) {
    std::uint64_t value = 0;
    for (char32_t c : filtered) {
        if (c >= U'0' && c <= U'9') value = value * 10 + static_cast<std::uint64_t>(c - U'0');
    }
    return value;
}

std::int16_t DigitValue(std::u32string_view filtered) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(DigitNumber(filtered) & 0xFFFF));
}

bool UniversityClassEditable(bool advanced, bool hasUniversity, bool hasNightlife, bool hasPets, bool hasSeasons,
                             bool hasBonVoyage, bool hasFreeTime, bool hasApartmentLife) {
    const bool allLater = hasNightlife && hasPets && hasSeasons && hasBonVoyage && hasFreeTime && hasApartmentLife;
    return advanced && hasUniversity && !allLater;
}

bool CanFixThumbnail(const Character& sim) {
    return sim.needsPackageRebuild == 0 && sim.portrait.has_value() && sim.familyNumber != 0;
}

void FixThumbnail(Character& sim) {
    sim.needsPackageRebuild = 1;
    sim.dirty = 1;
}

}  // namespace qh
