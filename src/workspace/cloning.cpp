#include "workspace/cloning.h"

#include <algorithm>
#include <array>

#include "character/character_rules.h"
#include "genetics/dna.h"
#include "package/byte_reader.h"
#include "package/extract.h"
#include "package/index.h"
#include "package/resource_types.h"
#include "package/text_list.h"
#include "platform/errors.h"
#include "workspace/aspiration_items.h"
#include "workspace/character_list.h"
#include "workspace/hobby_items.h"
#include "workspace/sim_items.h"

namespace qh {

namespace {

using C = Character;

// ---------------------------------------------------------------------------------------------
// The groups.

bool Always(const GameEnvironment&) { return true; }
bool WithUniversity(const GameEnvironment& env) { return env.hasUniversity; }
// Attraction came with Nightlife; every later expansion carries it.
bool WithAttraction(const GameEnvironment& env) {
    return env.hasNightlife || env.hasOpenForBusiness || env.hasPets || env.hasSeasons || env.hasBonVoyage ||
           env.hasFreeTime || env.hasApartmentLife;
}
bool WithFreeTime(const GameEnvironment& env) { return env.hasFreeTime; }
bool WithBadges(const GameEnvironment& env) { return env.hasOpenForBusiness || env.hasSeasons || env.hasFreeTime; }

constexpr CloneGroupRow kGroups[] = {
    {CloneGroup::Character, "ckCharClone", "Character (Name, Gender, etc.)", "character", Always},
    {CloneGroup::Personality, "ckPersClone", "Personality", "personality", Always},
    {CloneGroup::Aspiration, "ckAspireClone", "Aspiration", "aspiration", Always},
    {CloneGroup::Skills, "ckSkilClone", "Skills", "skills", Always},
    {CloneGroup::Interests, "ckIntClone", "Interests", "interests", Always},
    {CloneGroup::Career, "ckJobClone", "Career/Job", "career", Always},
    {CloneGroup::Body, "ckBodyClone", "Body (Face, Skins, etc.)", "body", Always},
    {CloneGroup::Genes, "ckGeneClone", "Genes (DNA Passed to Offspring)", "genes", Always},
    {CloneGroup::University, "ckUniversityClone", "University", "university", WithUniversity},
    {CloneGroup::Attraction, "ckAttractionClone", "Attraction", "attraction", WithAttraction},
    {CloneGroup::Hobbies, "ckHobbyClone", "Hobbies/Talents", "hobbies", WithFreeTime},
    {CloneGroup::NeedDecay, "ckNeedsClone", "Need Decay Mods", "need-decay", WithFreeTime},
    {CloneGroup::Badges, "ckBadgesClone", "Badges", "badges", WithBadges},
};
static_assert(std::size(kGroups) == kCloneGroupCount);

// ---------------------------------------------------------------------------------------------
// The sections: each word's offset and the field behind it.

enum Section : std::uint32_t {
    kPersonality = 0x1,
    kAspiration = 0x2,
    kSkills = 0x3,
    kInterests = 0x4,
    kCareer = 0x5,
    kCharacter = 0x6,
    kFirstName = 0x7,
    kLastName = 0x8,
    kDescription = 0x9,
    kUniversity = 0x100,
    kAttraction = 0x102,
    kGenes = 0x104,
    kHobbies = 0x105,
    kNeedDecay = 0x106,
    kAspirationItems = 0x107,
    kBadgeItems = 0x108,
    kHobbyItem = 0x109,
    kSkillItems = 0x10A,
};

// One field of a fixed-layout section: a signed or unsigned word, or a 4-byte GUID.
struct Slot {
    std::size_t offset;
    std::int16_t C::*word = nullptr;
    std::uint16_t C::*unsignedWord = nullptr;
    Guid4 C::*guid = nullptr;
};
constexpr Slot W(std::size_t offset, std::int16_t C::*field) { return {offset, field, nullptr, nullptr}; }
constexpr Slot U(std::size_t offset, std::uint16_t C::*field) { return {offset, nullptr, field, nullptr}; }
constexpr Slot G(std::size_t offset, Guid4 C::*field) { return {offset, nullptr, nullptr, field}; }

constexpr Slot kPersonalitySlots[] = {W(0, &C::neat),          W(2, &C::outgoing),         W(4, &C::active),
                                      W(6, &C::playful),       W(8, &C::nice),             W(10, &C::geneticNeat),
                                      W(12, &C::geneticOutgoing), W(14, &C::geneticActive), W(16, &C::geneticPlayful),
                                      W(18, &C::geneticNice),  W(20, &C::zodiac)};
constexpr Slot kAspirationSlots[] = {U(0, &C::aspirationFlags), W(2, &C::aspirationScore), W(4, &C::aspirationLevel),
                                     W(6, &C::aspirationRewardPoints)};
constexpr Slot kSkillSlots[] = {W(0, &C::cleaningSkill),   W(2, &C::cookingSkill),    W(4, &C::charismaSkill),
                                W(6, &C::mechanicalSkill), W(8, &C::creativitySkill), W(10, &C::bodySkill),
                                W(12, &C::logicSkill)};
constexpr Slot kInterestSlots[] = {
    W(0, &C::interestPolitics),       W(2, &C::interestMoney),    W(4, &C::interestEnvironment),
    W(6, &C::interestCrime),          W(8, &C::interestEntertainment), W(10, &C::interestCulture),
    W(12, &C::interestFood),          W(14, &C::interestHealth),  W(16, &C::interestFashion),
    W(18, &C::interestSports),        W(20, &C::interestParanormal), W(22, &C::interestTravel),
    W(24, &C::interestWork),          W(26, &C::interestWeather), W(28, &C::interestAnimals),
    W(30, &C::interestSchool),        W(32, &C::interestToys),    W(34, &C::interestSciFi)};
// npcType is written but never taken: it says what kind of townie the game made of the sim, which
// belongs to the neighborhood the sim lives in.
constexpr Slot kNpcTypeSlot = W(22, &C::npcType);
constexpr Slot kCareerSlots[] = {G(0, &C::careerGuid),        W(4, &C::jobData),          W(6, &C::jobLevel),
                                 G(8, &C::schoolGuid),        W(12, &C::schoolGrade),     G(14, &C::retiredCareerGuid),
                                 W(18, &C::retiredJobLevel),  W(20, &C::performance),     W(24, &C::pension),
                                 W(26, &C::pto)};
constexpr Slot kCharacterSlots[] = {W(0, &C::malePreference), W(2, &C::femalePreference), W(4, &C::fitnessPreference),
                                    W(6, &C::locoWeight0),    W(8, &C::locoWeight1),      W(10, &C::gender),
                                    W(12, &C::lifeStage),     W(14, &C::ageDaysLeft),     W(16, &C::ageDuration),
                                    W(18, &C::daysInPreviousAge), W(20, &C::fatness)};
constexpr Slot kUniversitySlots[] = {W(0, &C::classPerformance), W(2, &C::gpa),         G(4, &C::universityMajorGuid),
                                     W(8, &C::universityClass),  W(10, &C::youngAdult), W(12, &C::influenceLevel)};
constexpr Slot kAttractionSlots[] = {U(0, &C::ownTraits1), U(2, &C::ownTraits2), U(4, &C::turnOns1),
                                     U(6, &C::turnOns2),   U(8, &C::turnOffs1),  U(10, &C::turnOffs2)};
constexpr Slot kHobbySlots[] = {W(0, &C::hobbyCuisine),  W(2, &C::hobbyArtsCrafts), W(4, &C::hobbyFilmsLiterature),
                                W(6, &C::hobbySports),   W(8, &C::hobbyGames),      W(10, &C::hobbyNature),
                                W(12, &C::hobbyTinkering), W(14, &C::hobbyFitness), W(16, &C::hobbyScience),
                                W(18, &C::hobbyMusicDance), W(20, &C::talent)};
constexpr Slot kNeedDecaySlots[] = {W(0, &C::decayHunger), W(2, &C::decayComfort), W(4, &C::decayBladder),
                                    W(6, &C::decayEnergy), W(8, &C::decayHygiene), W(10, &C::decayFun),
                                    W(12, &C::decaySocial)};

// The five aspirations the game marks with an item of the sim (value: the aspiration's bit).
struct AspirationMarker {
    std::uint16_t value;
    std::uint32_t itemGuid;
};
constexpr AspirationMarker kAspirationMarkers[] = {
    {1, 0x6C92F4F3}, {2, 0x4C92F505}, {4, 0x4C92F480}, {16, 0x8C92F4BC}, {32, 0x6C92F4CF}};
// The items an aspiration change removes: the markers, the secondary's and the old marker.
constexpr std::uint32_t kAspirationItemGuids[] = {0x4C92F505, 0x6C92F4CF, 0x8C92F4BC, kOldAspirationMarkerGuid,
                                                  0x6C92F4F3, 0x4C92F480, kSecondaryAspirationGuid};
constexpr std::uint16_t kAspirationBits[] = {1, 2, 4, 8, 16, 32, 64, 128, 256};

// The badge slots of the file, in its order: value 0 of the item is the badge's level.
constexpr std::uint32_t kBadgeSlotGuids[] = {0x505FDC28, 0x105FDC52, 0xB05FDC1B, 0x505FDBC6, 0x905FDBB5, 0xD05FDB91,
                                             0x705FDC8F, 0x12297157, 0x1215A8C1, 0xF3D9B8DA, 0xD3DB2A27};

// The skill items' slots (fifty bytes; the words from 36 on are always 0).
enum class SkillSlotKind { FirstValue, Toddler, Presence };
struct SkillSlot {
    std::size_t offset;
    std::uint32_t itemGuid;
    SkillSlotKind kind;
};
constexpr std::uint32_t kToddlerGuid = 0x4DDF0E12;
constexpr SkillSlot kSkillItemSlots[] = {
    {0, 0xB3F2D735, SkillSlotKind::FirstValue}, {2, kToddlerGuid, SkillSlotKind::Toddler},
    {16, 0x52E9E443, SkillSlotKind::Presence},  {18, 0x92D3596F, SkillSlotKind::Presence},
    {20, 0x32E9E44C, SkillSlotKind::Presence},  {22, 0x531FE710, SkillSlotKind::Presence},
    {24, 0x0DA265F4, SkillSlotKind::FirstValue}, {26, 0x6FE7E453, SkillSlotKind::FirstValue},
    {28, 0x12F49912, SkillSlotKind::FirstValue}, {30, 0x932BC5B5, SkillSlotKind::FirstValue},
    {32, 0x334600E0, SkillSlotKind::FirstValue}, {34, 0x7332278C, SkillSlotKind::FirstValue}};
constexpr std::size_t kSkillItemsSize = 50;

// The length each fixed-layout section needs.
std::size_t NeededLength(std::uint32_t id) {
    switch (id) {
        case kPersonality: return 22;
        case kAspiration: return 8;
        case kSkills: return 14;
        case kInterests: return 36;
        case kCareer: return 28;
        case kCharacter: return 22;
        case kFirstName:
        case kLastName:
        case kDescription: return 3;
        case kUniversity: return 14;
        case kAttraction: return 12;
        case kHobbies: return 22;
        case kNeedDecay: return 14;
        case kAspirationItems: return 4;
        case kBadgeItems: return 2 * std::size(kBadgeSlotGuids);
        case kHobbyItem: return 2;
        case kSkillItems: return 36;  // the words after 36 carry nothing
        default: return 0;
    }
}

// ---------------------------------------------------------------------------------------------
// Writing sections.

void PutWords(Bytes& out, const Character& sim, std::span<const Slot> slots, std::size_t length) {
    out.assign(length, 0);
    for (const Slot& slot : slots) {
        if (slot.word) StoreU16(out, slot.offset, static_cast<std::uint16_t>(sim.*slot.word));
        if (slot.unsignedWord) StoreU16(out, slot.offset, sim.*slot.unsignedWord);
        if (slot.guid) std::copy((sim.*slot.guid).begin(), (sim.*slot.guid).end(), out.begin() + static_cast<std::ptrdiff_t>(slot.offset));
    }
}

Bytes TextSection(const std::string& text, int languageCode) {
    // The language, the text, two zero bytes.
    Bytes out(text.size() + 3, 0);
    out[0] = static_cast<std::uint8_t>(languageCode);
    std::transform(text.begin(), text.end(), out.begin() + 1, [](char ch) { return static_cast<std::uint8_t>(ch); });
    return out;
}

void PutText(Bytes& out, std::string_view text) {
    const std::size_t length = std::min<std::size_t>(text.size(), 0xFFFF);
    AppendU16(out, static_cast<std::uint16_t>(length));
    out.insert(out.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(length));
}

std::vector<const NeighborhoodItem*> ItemsOf(const Workspace& ws, const Character& sim) {
    std::vector<const NeighborhoodItem*> items;
    for (const NeighborhoodItem& item : ws.simItemList) {
        if (item.owner == sim.instanceId && sim.instanceId != 0) items.push_back(&item);
    }
    return items;
}

std::uint16_t FirstValue(const NeighborhoodItem& item) { return item.values.empty() ? 0 : item.values[0]; }

// The primary and secondary aspiration values from the sim's items: the last marker found gives
// the primary, the secondary's item its value; what the bit set holds besides is the other.
std::pair<std::uint16_t, std::uint16_t> AspirationValues(const Workspace& ws, const Character& sim) {
    std::optional<std::uint16_t> primary, secondary;
    for (const NeighborhoodItem* item : ItemsOf(ws, sim)) {
        for (const AspirationMarker& marker : kAspirationMarkers) {
            if (item->itemGuid == marker.itemGuid) primary = marker.value;
        }
        if (item->itemGuid == kSecondaryAspirationGuid) secondary = FirstValue(*item);
    }
    const std::uint16_t flags = sim.aspirationFlags;
    if (secondary) return {static_cast<std::uint16_t>(flags - *secondary), *secondary};
    if (primary) return {*primary, static_cast<std::uint16_t>(flags - *primary)};
    return {flags, 0};
}

// Each slot's GUID filled from the sim's items (a later item overwrites an earlier one).
Bytes BadgeSection(const Workspace& ws, const Character& sim) {
    Bytes out(2 * std::size(kBadgeSlotGuids), 0);
    for (const NeighborhoodItem* item : ItemsOf(ws, sim)) {
        for (std::size_t slot = 0; slot < std::size(kBadgeSlotGuids); ++slot) {
            if (item->itemGuid == kBadgeSlotGuids[slot]) StoreU16(out, 2 * slot, FirstValue(*item));
        }
    }
    return out;
}

Bytes SkillItemSection(const Workspace& ws, const Character& sim) {
    Bytes out(kSkillItemsSize, 0);
    for (const NeighborhoodItem* item : ItemsOf(ws, sim)) {
        for (const SkillSlot& slot : kSkillItemSlots) {
            if (item->itemGuid != slot.itemGuid) continue;
            switch (slot.kind) {
                case SkillSlotKind::FirstValue: StoreU16(out, slot.offset, FirstValue(*item)); break;
                case SkillSlotKind::Presence: StoreU16(out, slot.offset, 1); break;
                case SkillSlotKind::Toddler:
                    for (std::size_t k = 1; k <= 7; ++k) {
                        StoreU16(out, slot.offset + 2 * (k - 1), k < item->values.size() ? item->values[k] : 0);
                    }
                    break;
            }
        }
    }
    return out;
}

// The package expanded in memory: a resource that fails to decode, or an entry pointing past the
// file's end, would make the body incomplete, so such a package is refused.
PackageImage ExpandedForReading(std::span<const std::uint8_t> file, const std::filesystem::path& path,
                                Reporter& reporter, std::uint32_t& width, std::vector<IndexEntry>& entries) {
    ExpansionFaults faults;
    PackageImage image = ExpandImage(file, reporter, &width, &faults);
    if (!faults.undecodable.empty()) {
        throw FormatError(path.filename().string() + ": " + faults.undecodable.front() + " could not be decoded");
    }
    if (faults.entriesOutside > 0) {
        throw FormatError(path.filename().string() + ": " + std::to_string(faults.entriesOutside) +
                          " index entries point past the end of the file");
    }
    if (width != 20 && width != 24) throw FormatError(path.filename().string() + " has no index that can be read");
    ReadIndex(image, PackageSource::Image, entries);
    return image;
}

bool HoldsEveryBodyType(std::span<const IndexEntry> entries) {
    return std::all_of(std::begin(kBodyTypes), std::end(kBodyTypes), [&](std::uint32_t type) {
        return std::any_of(entries.begin(), entries.end(), [type](const IndexEntry& e) { return e.key.typeId == type; });
    });
}
// What a clone file must hold to give a body: the property set and the body resource.
bool HoldsABody(std::span<const IndexEntry> entries) {
    auto has = [&](std::uint32_t type) {
        return std::any_of(entries.begin(), entries.end(), [type](const IndexEntry& e) { return e.key.typeId == type; });
    };
    return has(kSimPropertiesType) && has(kBodyResourceType);
}

// ---------------------------------------------------------------------------------------------
// Applying sections.

void TakeWords(Character& sim, const ByteReader& in, std::span<const Slot> slots) {
    for (const Slot& slot : slots) {
        if (slot.word) sim.*slot.word = in.ReadI16(slot.offset);
        if (slot.unsignedWord) sim.*slot.unsignedWord = in.ReadU16(slot.offset);
        if (slot.guid) {
            const auto bytes = in.Slice(slot.offset, 4);
            std::copy(bytes.begin(), bytes.end(), (sim.*slot.guid).begin());
        }
    }
}
void CopyWords(Character& to, const Character& from, std::span<const Slot> slots) {
    for (const Slot& slot : slots) {
        if (slot.word) to.*slot.word = from.*slot.word;
        if (slot.unsignedWord) to.*slot.unsignedWord = from.*slot.unsignedWord;
        if (slot.guid) to.*slot.guid = from.*slot.guid;
    }
}

// The property set's age and gender follow the description's.
void DeriveProperties(Character& sim) {
    sim.genderProperty = sim.gender == 0 ? 2 : sim.gender == 1 ? 1 : sim.genderProperty;
    switch (sim.lifeStage) {
        case 1: sim.ageProperty = 32; break;
        case 2: sim.ageProperty = 1; break;
        case 3: sim.ageProperty = 2; break;
        case 16: sim.ageProperty = 4; break;
        case 19: sim.ageProperty = 8; break;
        case 51: sim.ageProperty = 16; break;
        default: break;
    }
}

bool IsAspirationBit(std::uint16_t value) {
    return std::find(std::begin(kAspirationBits), std::end(kAspirationBits), value) != std::end(kAspirationBits);
}

void RebuildAspirationItems(Workspace& ws, Character& sim, std::uint16_t primary, std::uint16_t secondary,
                            const GameEnvironment& env) {
    for (std::uint32_t guid : kAspirationItemGuids) RemoveSimItems(ws, sim, guid);
    for (const AspirationMarker& marker : kAspirationMarkers) {
        if (marker.value == primary) AddSimItem(ws, sim, marker.itemGuid, 1, {0});
    }
    if (secondary != 0 && env.hasFreeTime) AddSimItem(ws, sim, kSecondaryAspirationGuid, 1, {secondary});
    std::uint16_t flags = IsAspirationBit(primary) ? primary : 0;
    if (env.hasFreeTime && IsAspirationBit(secondary)) flags = static_cast<std::uint16_t>(flags | secondary);
    sim.aspirationFlags = flags;
    sim.dirty = 1;
}

// Value 0 of every item of the sim with the GUID; a new item (secondary 0, values level and 0)
// when it has none and the value is not 0.
void SetFirstValues(Workspace& ws, Character& sim, std::uint32_t guid, std::uint16_t value,
                    std::vector<std::uint16_t> newValues) {
    bool found = false;
    for (NeighborhoodItem& item : ws.simItemList) {
        if (item.owner != sim.instanceId || item.itemGuid != guid) continue;
        found = true;
        if (item.values.empty()) item.values.push_back(0);
        item.values[0] = value;
    }
    if (!found && value != 0) AddSimItem(ws, sim, guid, 0, std::move(newValues));
    sim.dirty = 1;
}

void ApplyBadges(Workspace& ws, Character& sim, std::span<const std::uint16_t> levels) {
    for (std::size_t slot = 0; slot < std::size(kBadgeSlotGuids) && slot < levels.size(); ++slot) {
        SetFirstValues(ws, sim, kBadgeSlotGuids[slot], levels[slot], {levels[slot], 0});
    }
}

void ApplySkillItems(Workspace& ws, Character& sim, const ByteReader& in) {
    for (const SkillSlot& slot : kSkillItemSlots) {
        const std::uint16_t value = in.ReadU16(slot.offset);
        switch (slot.kind) {
            case SkillSlotKind::FirstValue:
                // Parenting's own item has its level as its only value.
                SetFirstValues(ws, sim, slot.itemGuid, value,
                               slot.offset == 0 ? std::vector<std::uint16_t>{value} : std::vector<std::uint16_t>{value, 0});
                break;
            case SkillSlotKind::Toddler: {
                std::array<std::uint16_t, 7> words{};
                for (std::size_t k = 0; k < 7; ++k) words[k] = in.ReadU16(slot.offset + 2 * k);
                bool found = false;
                for (NeighborhoodItem& item : ws.simItemList) {
                    if (item.owner != sim.instanceId || item.itemGuid != slot.itemGuid) continue;
                    found = true;
                    if (item.values.size() < 8) item.values.resize(8, 0);
                    std::copy(words.begin(), words.end(), item.values.begin() + 1);
                }
                if (!found && (words[0] || words[1] || words[2] || words[6])) {
                    std::vector<std::uint16_t> values{0};
                    values.insert(values.end(), words.begin(), words.end());
                    AddSimItem(ws, sim, slot.itemGuid, 1, std::move(values));
                }
                break;
            }
            case SkillSlotKind::Presence:
                if (value == 0) RemoveSimItems(ws, sim, slot.itemGuid);
                if (value == 1) AddSimItem(ws, sim, slot.itemGuid, 1, {});
                break;
        }
    }
    sim.dirty = 1;
}

void SetHobbyItemValues(Workspace& ws, Character& sim, std::vector<std::uint16_t> values) {
    if (NeighborhoodItem* item = FindSimItem(ws, sim, kHobbyLotsGuid)) {
        item->values = std::move(values);
    } else {
        AddSimItem(ws, sim, kHobbyLotsGuid, 1, std::move(values));
    }
    sim.dirty = 1;
}

// The genes section's nineteen texts.
std::vector<std::string> GeneTexts(const ByteReader& in) {
    std::vector<std::string> texts;
    std::size_t at = 0;
    for (int i = 0; i < 19; ++i) {
        const std::uint16_t length = in.ReadU16(at, "gene text length");
        const auto bytes = in.Slice(at + 2, length, "gene text");
        texts.emplace_back(bytes.begin(), bytes.end());
        at += 2 + length;
    }
    return texts;
}

// A gene as a clone file carries it: a GUID text, "NA", or empty for none.
bool AcceptableGene(std::string_view text) { return text.empty() || text == kNoGene || IsGeneText(text); }

std::string TextOf(const Bytes& section) {
    return std::string(section.begin() + 1, section.end() - 2);
}

// Which group applies a section.
std::optional<CloneGroup> GroupOf(std::uint32_t id) {
    switch (id) {
        case kPersonality: return CloneGroup::Personality;
        case kAspiration:
        case kAspirationItems: return CloneGroup::Aspiration;
        case kSkills:
        case kSkillItems: return CloneGroup::Skills;
        case kInterests: return CloneGroup::Interests;
        case kCareer: return CloneGroup::Career;
        case kCharacter:
        case kFirstName:
        case kLastName:
        case kDescription: return CloneGroup::Character;
        case kUniversity: return CloneGroup::University;
        case kGenes: return CloneGroup::Genes;
        case kAttraction: return CloneGroup::Attraction;
        case kHobbies:
        case kHobbyItem: return CloneGroup::Hobbies;
        case kNeedDecay: return CloneGroup::NeedDecay;
        case kBadgeItems: return CloneGroup::Badges;
        default: return std::nullopt;
    }
}

bool TouchesItems(std::uint32_t id) {
    return id == kAspirationItems || id == kBadgeItems || id == kHobbyItem || id == kSkillItems;
}

// Applies one section; returns a note when it was passed over.
std::string ApplySection(Workspace& ws, Character& sim, const CloneSection& section, const GameEnvironment& env,
                         bool itemsWritable) {
    const ByteReader in(section.bytes, "clone section " + HexId(section.id));
    if (TouchesItems(section.id) && !itemsWritable) return "items";
    switch (section.id) {
        case kPersonality: {
            const std::int16_t zodiac = sim.zodiac;
            TakeWords(sim, in, kPersonalitySlots);
            if (sim.zodiac < 1) sim.zodiac = zodiac;  // a clone without a sign keeps the sim's
            break;
        }
        case kAspiration: TakeWords(sim, in, kAspirationSlots); break;
        case kSkills: TakeWords(sim, in, kSkillSlots); break;
        case kInterests: TakeWords(sim, in, kInterestSlots); break;
        case kCareer: TakeWords(sim, in, kCareerSlots); break;
        case kCharacter:
            TakeWords(sim, in, kCharacterSlots);
            DeriveProperties(sim);
            break;
        case kFirstName: sim.firstName = TextOf(section.bytes); break;
        case kLastName: sim.lastName = TextOf(section.bytes); break;
        case kDescription: sim.description = TextOf(section.bytes); break;
        case kUniversity:
            TakeWords(sim, in, kUniversitySlots);
            if (sim.youngAdult == 1) sim.ageProperty = 64;
            break;
        case kGenes: {
            DNA* dna = FindDna(ws, sim.instanceId);
            if (!dna) return "genes: the sim has no genetic record";
            if (!dna->keptAsIs.empty()) return "genes: " + dna->keptAsIs;
            const std::vector<std::string> texts = GeneTexts(in);
            const auto fields = DnaFields();
            for (std::size_t i = 0; i < fields.size(); ++i) {
                dna->*fields[i].member = texts[i].empty() ? std::string(kNoGene) : texts[i];
            }
            dna->dirty = 1;
            sim.skinColor = texts[16];
            sim.eyeColor = texts[18];  // the hair colour, the 18th, is not taken from a file
            break;
        }
        case kAttraction: TakeWords(sim, in, kAttractionSlots); break;
        case kHobbies: TakeWords(sim, in, kHobbySlots); break;
        case kNeedDecay: TakeWords(sim, in, kNeedDecaySlots); break;
        case kAspirationItems:
            RebuildAspirationItems(ws, sim, in.ReadU16(0), in.ReadU16(2), env);
            break;
        case kBadgeItems: {
            std::vector<std::uint16_t> levels;
            for (std::size_t slot = 0; slot < std::size(kBadgeSlotGuids); ++slot) levels.push_back(in.ReadU16(2 * slot));
            ApplyBadges(ws, sim, levels);
            break;
        }
        case kHobbyItem: {
            const std::uint16_t count = in.ReadU16(0);
            std::vector<std::uint16_t> values;
            for (std::size_t k = 0; k < count; ++k) values.push_back(in.ReadU16(2 + 2 * k));
            SetHobbyItemValues(ws, sim, std::move(values));
            break;
        }
        case kSkillItems: ApplySkillItems(ws, sim, in); break;
        default: return {};
    }
    sim.dirty = 1;
    return {};
}

// A section whose layout the reader can check before anything is applied.
void CheckSection(const CloneSection& section, const std::filesystem::path& path) {
    const std::size_t needed = NeededLength(section.id);
    const std::string where = path.filename().string() + ": clone section " + HexId(section.id);
    if (section.bytes.size() < needed) {
        throw FormatError(where + " is " + std::to_string(section.bytes.size()) + " bytes; its layout needs " +
                          std::to_string(needed));
    }
    const ByteReader in(section.bytes, where);
    if (section.id == kHobbyItem) (void)in.Slice(2, 2 * std::size_t{in.ReadU16(0)}, "hobby item values");
    if (section.id == kGenes) {
        const std::vector<std::string> texts = GeneTexts(in);
        for (const std::string& text : texts) {
            if (!AcceptableGene(text)) throw FormatError(where + " holds \"" + ToValidUtf8(text) + "\", which is not a gene");
        }
    }
    if (section.id == kCharacter) {
        const std::int16_t gender = in.ReadI16(10);
        const std::int16_t stage = in.ReadI16(12);
        const bool knownStage = stage == 1 || stage == 2 || stage == 3 || stage == 16 || stage == 19 || stage == 51;
        if ((gender != 0 && gender != 1) || !knownStage) {
            throw FormatError(where + " gives gender " + std::to_string(gender) + " and life stage " +
                              std::to_string(stage) + ", which the game does not have");
        }
    }
}

}  // namespace

std::span<const CloneGroupRow> CloneGroupRows() { return kGroups; }

CloneGroups DefaultCloneGroups() { return CloneGroups().Set(CloneGroup::Body).Set(CloneGroup::Genes); }

CloneGroups AllShownCloneGroups(const GameEnvironment& env) {
    CloneGroups groups;
    for (const CloneGroupRow& row : kGroups) groups.Set(row.group, row.shown(env));
    return groups;
}

std::optional<CloneGroups> ParseCloneGroups(std::string_view text, const GameEnvironment& env, std::string& why) {
    if (text == "all") return AllShownCloneGroups(env);
    CloneGroups groups;
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const std::string_view name = text.substr(0, comma);
        const auto row = std::find_if(std::begin(kGroups), std::end(kGroups), [&](const CloneGroupRow& r) { return name == r.name; });
        if (row == std::end(kGroups)) {
            why = "\"" + std::string(name) + "\" is not a group; the groups are";
            for (const CloneGroupRow& r : kGroups) why += std::string(" ") + r.name;
            why += ", or all";
            return std::nullopt;
        }
        if (!row->shown(env)) {
            why = std::string("the group ") + row->name + " (" + row->caption + ") needs an expansion that is not installed";
            return std::nullopt;
        }
        groups.Set(row->group);
        text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
    }
    return groups;
}

bool BodyClonePending(const Workspace& ws, const Character& sim) {
    if (sim.cloneApplied || !sim.clonePackagePath.empty()) return true;
    const std::string own = (ws.charactersFolder / sim.packageFile).string();
    return std::any_of(ws.characters.begin(), ws.characters.end(),
                       [&](const Character& other) { return other.clonePackagePath == own; });
}

std::string BodyLentRefusal(const Workspace& ws, const Character& sim) {
    const std::string own = (ws.charactersFolder / sim.packageFile).string();
    for (const Character& other : ws.characters) {
        if (&other == &sim || other.clonePackagePath != own) continue;
        return SimName(other) + " takes this sim's body when you save; save first (or undo that clone) before deleting it.";
    }
    return {};
}

CloningStatus CloningStatusOf(const Workspace& ws, const Character& sim, const GameEnvironment& env) {
    CloningStatus status;
    const bool pending = BodyClonePending(ws, sim);
    if (sim.hasBodyResource && !pending) {
        status.canExport = status.canImport = status.canCopy = true;
    } else if (sim.hasBodyResource) {
        status.canExport = true;
        status.bold = true;
        status.text =
            "The Selected Character is in the process of being Cloned already. Before you will be able to use a new "
            "Clone for their Body you will need to complete the previous Cloning operation by saving.";
    } else if (sim.species > 0 && env.hasPets) {
        status.text = "Pet Cloning is currently not available.";
    } else {
        status.text =
            "You will not be able to clone a new body onto this character since they only exist in the memories of "
            "others.";
    }
    return status;
}

std::vector<std::size_t> DirectCloneSources(const Workspace& ws, const Character& target) {
    std::vector<std::size_t> sources;
    for (std::size_t i = 0; i < ws.characters.size(); ++i) {
        const Character& sim = ws.characters[i];
        if (&sim != &target && sim.hasBodyResource && sim.clonePackagePath.empty()) sources.push_back(i);
    }
    return sources;
}

std::string CloneFileName(const Character& sim) {
    return TrimText(ToValidUtf8(sim.firstName)) + TrimText(ToValidUtf8(sim.lastName)) + ".clone";
}

Bytes MakeCloneFile(const Workspace& ws, const Character& sim, const GameEnvironment& env, Reporter& reporter) {
    // The body first: without it there is no clone to make.
    const std::filesystem::path packagePath = ws.charactersFolder / sim.packageFile;
    const Bytes file = ReadFileBytes(packagePath);
    std::uint32_t width = 0;
    std::vector<IndexEntry> entries;
    const PackageImage image = ExpandedForReading(file, packagePath, reporter, width, entries);
    std::vector<IndexEntry> body;
    for (const IndexEntry& entry : entries) {
        if (IsBodyType(entry.key.typeId)) body.push_back(entry);
    }
    if (!HoldsABody(body)) {
        throw FormatError(sim.packageFile + " holds no body (its property set and body resource); no clone was made");
    }

    PackageImage out(kHeaderSize, 0);
    const std::uint8_t magic[] = {'D', 'B', 'P', 'F'};
    std::copy(std::begin(magic), std::end(magic), out.begin());
    StoreU32(out, 4, 1);
    StoreU32(out, 8, 1);
    StoreU32(out, 32, 7);
    StoreU32(out, 60, 2);
    std::vector<IndexEntry> index;
    auto add = [&](const ResourceKey& key, std::span<const std::uint8_t> content) {
        IndexEntry entry{key, static_cast<std::uint32_t>(out.size()), static_cast<std::uint32_t>(content.size())};
        out.insert(out.end(), content.begin(), content.end());
        index.push_back(entry);
    };
    auto section = [&](std::uint32_t id, const Bytes& bytes) { add({kCloneSectionType, id, 0, 0}, bytes); };
    Bytes b;
    PutWords(b, sim, kPersonalitySlots, 22), section(kPersonality, b);
    PutWords(b, sim, kAspirationSlots, 8), section(kAspiration, b);
    PutWords(b, sim, kSkillSlots, 14), section(kSkills, b);
    PutWords(b, sim, kInterestSlots, 36), section(kInterests, b);
    PutWords(b, sim, kCareerSlots, 28);
    StoreU16(b, kNpcTypeSlot.offset, static_cast<std::uint16_t>(sim.npcType));
    section(kCareer, b);
    PutWords(b, sim, kCharacterSlots, 22), section(kCharacter, b);
    section(kFirstName, TextSection(sim.firstName, env.languageCode));
    section(kLastName, TextSection(sim.lastName, env.languageCode));
    section(kDescription, TextSection(sim.description, env.languageCode));
    PutWords(b, sim, kUniversitySlots, 14), section(kUniversity, b);
    // A record kept as it is holds more than the genes the program reads; its genes are not given.
    if (const DNA* dna = FindDna(ws, sim.instanceId); dna && dna->keptAsIs.empty()) {
        Bytes genes;
        for (const DnaField& field : DnaFields()) PutText(genes, dna->*field.member);
        PutText(genes, sim.skinColor);
        PutText(genes, sim.hairColor);
        PutText(genes, sim.eyeColor);
        section(kGenes, genes);
    }
    PutWords(b, sim, kAttractionSlots, 12), section(kAttraction, b);
    if (env.hasFreeTime) {
        PutWords(b, sim, kHobbySlots, 22), section(kHobbies, b);
        PutWords(b, sim, kNeedDecaySlots, 14), section(kNeedDecay, b);
    }
    const auto [primary, secondary] = AspirationValues(ws, sim);
    b.clear();
    AppendU16(b, primary);
    AppendU16(b, secondary);
    section(kAspirationItems, b);
    section(kBadgeItems, BadgeSection(ws, sim));
    if (env.hasFreeTime) {
        const auto items = ItemsOf(ws, sim);
        const auto hobby = std::find_if(items.begin(), items.end(), [](auto* i) { return i->itemGuid == kHobbyLotsGuid; });
        if (hobby != items.end()) {
            const std::size_t count = std::min<std::size_t>((*hobby)->values.size(), 0xFFFF);
            b.clear();
            AppendU16(b, static_cast<std::uint16_t>(count));
            for (std::size_t k = 0; k < count; ++k) AppendU16(b, (*hobby)->values[k]);
            section(kHobbyItem, b);
        }
    }
    section(kSkillItems, SkillItemSection(ws, sim));
    for (const IndexEntry& entry : body) {
        add(entry.key, ByteReader(image, sim.packageFile).Slice(entry.offset, entry.size, "body resource"));
    }
    FinishPackageImage(out, index, width);
    return out;
}

CloneSource ReadCloneSource(std::span<const std::uint8_t> file, const std::filesystem::path& path, Reporter& reporter) {
    CloneSource source;
    source.path = path;
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    source.bodyShopPackage = extension == ".package";
    std::uint32_t width = 0;
    std::vector<IndexEntry> entries;
    PackageImage image;
    try {
        image = ExpandedForReading(file, path, reporter, width, entries);
    } catch (const FormatError& error) {
        if (source.bodyShopPackage) throw FormatError(std::string(kNotBodyShopPackage) + " (" + error.what() + ")");
        throw;
    }
    if (source.bodyShopPackage) {
        if (!HoldsEveryBodyType(entries)) throw FormatError(std::string(kNotBodyShopPackage));
        source.hasBody = true;
        return source;
    }
    source.hasBody = HoldsABody(entries);
    for (const IndexEntry& entry : entries) {
        if (entry.key.typeId != kCloneSectionType) continue;
        const auto bytes = ByteReader(image, path.filename().string()).Slice(entry.offset, entry.size, "clone section");
        CloneSection section{entry.key.groupId, Bytes(bytes.begin(), bytes.end())};
        CheckSection(section, path);
        source.sections.push_back(std::move(section));
    }
    if (source.sections.empty() && !source.hasBody) {
        throw FormatError(path.filename().string() + " holds neither clone sections nor a body");
    }
    return source;
}

CloneSource ReadCloneSource(const std::filesystem::path& path, Reporter& reporter) {
    return ReadCloneSource(ReadFileBytes(path), path, reporter);
}

std::string CloneTargetRefusal(const Workspace& ws, const Character& target) {
    if (!target.hasBodyResource) return "the sim has no body in its character package and cannot be cloned onto";
    if (BodyClonePending(ws, target)) {
        return "the sim is in the process of being cloned already; save to complete that clone first";
    }
    if (!HasDescription(target)) return NoDescriptionRefusal(target);
    return {};
}

CloneResult ImportClone(Workspace& ws, Character& target, const CloneSource& source, CloneGroups groups,
                        const GameEnvironment& env) {
    groups = groups.Within(AllShownCloneGroups(env));
    CloneResult result;
    result.refusal = CloneTargetRefusal(ws, target);
    if (!result.refusal.empty()) return result;
    if (groups.Has(CloneGroup::Body) && !source.hasBody) {
        result.refusal = source.path.filename().string() + " holds no body to take; uncheck Body to take the rest";
        return result;
    }
    const bool itemsWritable = ItemsRefusal(ws).empty();
    bool itemsNoted = false;
    for (const CloneSection& section : source.sections) {
        const auto group = GroupOf(section.id);
        if (!group || !groups.Has(*group)) continue;
        if (*group == CloneGroup::Genes && section.bytes.empty()) continue;
        const std::string passed = ApplySection(ws, target, section, env, itemsWritable);
        if (passed == "items") {
            if (!itemsNoted) result.notes.push_back("the items (aspiration, badges, hobby lots, skill items): " + ItemsRefusal(ws));
            itemsNoted = true;
        } else if (!passed.empty()) {
            result.notes.push_back(passed);
        }
    }
    if (groups.Has(CloneGroup::Body)) {
        target.clonePackagePath = source.path.string();
        target.needsPackageRebuild = 1;
        target.cloneApplied = 1;
        target.portrait.reset();  // the placeholder until the game draws the new body
    }
    target.dirty = 1;
    if (source.bodyShopPackage) {
        result.message = "The skin and body information for this package has been imported. Other attributes are not avaiable in this file.";
    } else {
        result.message = "Clone Data successfully imported, changes will take effect in the game after the new data is \"Saved\"";
    }
    return result;
}

CloneResult CopyClone(Workspace& ws, Character& target, const Character& source, CloneGroups groups,
                      const GameEnvironment& env) {
    groups = groups.Within(AllShownCloneGroups(env));
    CloneResult result;
    result.refusal = CloneTargetRefusal(ws, target);
    if (result.refusal.empty() && (&source == &target || !source.hasBodyResource || !source.clonePackagePath.empty())) {
        result.refusal = SimName(source) + " cannot be cloned from: it has no body, or a body clone of its own waits for the save";
    }
    if (!result.refusal.empty()) return result;
    const bool itemsWritable = ItemsRefusal(ws).empty();
    const bool itemGroups = groups.Has(CloneGroup::Aspiration) || groups.Has(CloneGroup::Skills) ||
                            (groups.Has(CloneGroup::Hobbies) && env.hasFreeTime) || groups.Has(CloneGroup::Badges);
    if (itemGroups && !itemsWritable) result.notes.push_back("the items (aspiration, badges, hobby lots, skill items): " + ItemsRefusal(ws));
    // The source's items as they are before any change to the list.
    std::vector<NeighborhoodItem> sourceItems;
    for (const NeighborhoodItem* item : ItemsOf(ws, source)) sourceItems.push_back(*item);
    auto firstOf = [&](std::uint32_t guid) -> const NeighborhoodItem* {
        const auto it = std::find_if(sourceItems.begin(), sourceItems.end(), [guid](const NeighborhoodItem& i) { return i.itemGuid == guid; });
        return it == sourceItems.end() ? nullptr : &*it;
    };

    if (groups.Has(CloneGroup::Character)) {
        target.firstName = source.firstName;
        target.lastName = source.lastName;
        target.description = source.description;
        CopyWords(target, source, kCharacterSlots);
    }
    if (groups.Has(CloneGroup::Personality)) CopyWords(target, source, kPersonalitySlots);
    if (groups.Has(CloneGroup::Aspiration)) {
        CopyWords(target, source, kAspirationSlots);
        if (itemsWritable) {
            const auto [primary, secondary] = AspirationValues(ws, source);
            RebuildAspirationItems(ws, target, primary, secondary, env);
        }
    }
    if (groups.Has(CloneGroup::Skills)) {
        CopyWords(target, source, kSkillSlots);
        if (itemsWritable) {
            for (const SkillSlot& slot : kSkillItemSlots) {
                RemoveSimItems(ws, target, slot.itemGuid);
                if (const NeighborhoodItem* item = firstOf(slot.itemGuid)) {
                    NeighborhoodItem copy = *item;
                    copy.owner = target.instanceId;
                    copy.secondary = 0;
                    ws.simItemList.push_back(std::move(copy));
                }
            }
        }
    }
    if (groups.Has(CloneGroup::Interests)) CopyWords(target, source, kInterestSlots);
    if (groups.Has(CloneGroup::Career)) CopyWords(target, source, kCareerSlots);
    if (groups.Has(CloneGroup::University)) CopyWords(target, source, kUniversitySlots);
    if (groups.Has(CloneGroup::Genes)) {
        target.ageProperty = source.ageProperty;
        target.genderProperty = source.genderProperty;
        target.hairColor = source.hairColor;
        target.eyeColor = source.eyeColor;
        const DNA* from = FindDna(ws, source.instanceId);
        DNA* to = FindDna(ws, target.instanceId);
        if (from && to && from->keptAsIs.empty() && to->keptAsIs.empty()) {
            for (const DnaField& field : DnaFields()) to->*field.member = from->*field.member;
            to->dirty = 1;
        } else if (from && to) {
            result.notes.push_back("genes: " + (to->keptAsIs.empty() ? from->keptAsIs : to->keptAsIs));
        }
    }
    if (groups.Has(CloneGroup::Attraction)) {
        CopyWords(target, source, kAttractionSlots);
        target.ownTraits3 = source.ownTraits3;
        target.turnOns3 = source.turnOns3;
        target.turnOffs3 = source.turnOffs3;
    }
    if (groups.Has(CloneGroup::Hobbies)) {
        CopyWords(target, source, kHobbySlots);
        if (env.hasFreeTime && itemsWritable) {
            if (const NeighborhoodItem* hobby = firstOf(kHobbyLotsGuid)) SetHobbyItemValues(ws, target, hobby->values.ToVector());
        }
    }
    if (groups.Has(CloneGroup::Badges) && itemsWritable) {
        std::vector<std::uint16_t> levels(std::size(kBadgeSlotGuids), 0);
        for (const NeighborhoodItem& item : sourceItems) {
            for (std::size_t slot = 0; slot < levels.size(); ++slot) {
                if (item.itemGuid == kBadgeSlotGuids[slot]) levels[slot] = FirstValue(item);
            }
        }
        ApplyBadges(ws, target, levels);
    }
    if (groups.Has(CloneGroup::NeedDecay)) CopyWords(target, source, kNeedDecaySlots);
    if (groups.Has(CloneGroup::Body)) {
        target.clonePackagePath = (ws.charactersFolder / source.packageFile).string();
        target.needsPackageRebuild = 1;
        target.cloneApplied = 1;
        target.portrait.reset();
    }
    target.dirty = 1;
    result.message = "Clone Data successfully copied, changes will take effect in the game after the new data is \"Saved\"";
    return result;
}

std::vector<BodyResource> ReadCloneBody(const std::filesystem::path& path, Reporter& reporter) {
    const Bytes file = ReadFileBytes(path);
    std::uint32_t width = 0;
    std::vector<IndexEntry> entries;
    const PackageImage image = ExpandedForReading(file, path, reporter, width, entries);
    std::vector<BodyResource> body;
    for (const IndexEntry& entry : entries) {
        if (!IsBodyType(entry.key.typeId)) continue;
        const auto bytes = ByteReader(image, path.filename().string()).Slice(entry.offset, entry.size, "body resource");
        body.push_back({entry.key, Bytes(bytes.begin(), bytes.end())});
    }
    if (!HoldsABody(entries)) {
        throw FormatError(path.filename().string() + " holds no body (its property set and body resource) to give the sim");
    }
    return body;
}

}  // namespace qh
