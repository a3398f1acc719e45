// The sim description's layout, pinned with the offsets of the game's format written out here,
// independently of the program's own field table: a wrong offset in that table fails these tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <variant>

#include "character/character_fields.h"
#include "character/sim_description.h"
#include "platform/file_io.h"

namespace qh {
namespace {

using C = Character;
using Member = std::variant<std::int16_t C::*, std::uint16_t C::*, Guid4 C::*>;
struct Pinned {
    Member field;
    std::uint16_t offset;
    std::uint8_t versions;  // bit i: the i-th of 0x20, 0x22, 0x29, 0x2A, 0x2C, 0x2F, 0x33, 0x36
    bool readOnly;
};
template <typename T>
Pinned Pin(T C::*field, std::uint16_t offset, std::uint8_t versions, bool readOnly) {
    return {field, offset, versions, readOnly};
}
constexpr std::uint8_t kAll = 0xFF, kFrom22 = 0xFE, kFrom29 = 0xFC, kFrom2A = 0xF8, kFrom2C = 0xF0, kFrom2F = 0xE0,
                       kFrom33 = 0xC0, kOnly36 = 0x80;

// Every value of the sim description, as the format's table lays it out: the common block, then
// the version blocks with the versions that carry them.
const Pinned kLayout[] = {
    Pin(&C::nice, 0x10, kAll, false),
    Pin(&C::active, 0x12, kAll, false),
    Pin(&C::classPerformance, 0x14, kAll, false),
    Pin(&C::playful, 0x16, kAll, false),
    Pin(&C::outgoing, 0x18, kAll, false),
    Pin(&C::neat, 0x1A, kAll, false),
    Pin(&C::cleaningSkill, 0x1E, kAll, false),
    Pin(&C::cookingSkill, 0x20, kAll, false),
    Pin(&C::charismaSkill, 0x22, kAll, false),
    Pin(&C::mechanicalSkill, 0x24, kAll, false),
    Pin(&C::creativitySkill, 0x2A, kAll, false),
    Pin(&C::bodySkill, 0x2E, kAll, false),
    Pin(&C::logicSkill, 0x30, kAll, false),
    Pin(&C::malePreference, 0x38, kAll, false),
    Pin(&C::femalePreference, 0x3A, kAll, false),
    Pin(&C::jobData, 0x3C, kAll, false),
    Pin(&C::aspirationFlags, 0x68, kAll, false),
    Pin(&C::geneticNeat, 0x6A, kAll, false),
    Pin(&C::geneticNice, 0x6C, kAll, false),
    Pin(&C::geneticActive, 0x6E, kAll, false),
    Pin(&C::geneticOutgoing, 0x70, kAll, false),
    Pin(&C::geneticPlayful, 0x72, kAll, false),
    Pin(&C::schoolGrade, 0x7C, kAll, false),
    Pin(&C::jobLevel, 0x7E, kAll, false),
    Pin(&C::lifeStage, 0x80, kAll, false),
    Pin(&C::familyNumber, 0x86, kAll, false),
    Pin(&C::performance, 0x8A, kAll, false),
    Pin(&C::gender, 0x8E, kAll, false),
    Pin(&C::lingeringNumber, 0x92, kAll, false),
    Pin(&C::ghostFlags, 0x94, kAll, false),
    Pin(&C::pto, 0x96, kAll, false),
    Pin(&C::zodiac, 0x98, kAll, false),
    Pin(&C::bodyFlags, 0xAE, kAll, true),
    Pin(&C::fatness, 0xB0, kAll, false),
    Pin(&C::gpa, 0xB2, kAll, false),
    Pin(&C::careerGuid, 0xBE, kAll, false),
    Pin(&C::ageDaysLeft, 0xC2, kAll, false),
    Pin(&C::daysInPreviousAge, 0xC4, kAll, false),
    Pin(&C::schoolGuid, 0xE2, kAll, false),
    Pin(&C::dataWordEA, 0xEA, kAll, false),
    Pin(&C::locoWeight0, 0xEC, kAll, false),
    Pin(&C::locoWeight1, 0xEE, kAll, false),
    Pin(&C::outfitSourceGuid, 0xFA, kAll, true),
    Pin(&C::fitnessPreference, 0x100, kAll, false),
    Pin(&C::pension, 0x102, kAll, false),
    Pin(&C::interestPolitics, 0x104, kAll, false),
    Pin(&C::interestMoney, 0x106, kAll, false),
    Pin(&C::interestEnvironment, 0x108, kAll, false),
    Pin(&C::interestCrime, 0x10A, kAll, false),
    Pin(&C::interestEntertainment, 0x10C, kAll, false),
    Pin(&C::interestCulture, 0x10E, kAll, false),
    Pin(&C::interestFood, 0x110, kAll, false),
    Pin(&C::interestHealth, 0x112, kAll, false),
    Pin(&C::interestFashion, 0x114, kAll, false),
    Pin(&C::interestSports, 0x116, kAll, false),
    Pin(&C::interestParanormal, 0x118, kAll, false),
    Pin(&C::interestTravel, 0x11A, kAll, false),
    Pin(&C::interestWork, 0x11C, kAll, false),
    Pin(&C::interestWeather, 0x11E, kAll, false),
    Pin(&C::interestAnimals, 0x120, kAll, false),
    Pin(&C::interestSchool, 0x122, kAll, false),
    Pin(&C::interestToys, 0x124, kAll, false),
    Pin(&C::interestSciFi, 0x126, kAll, false),
    Pin(&C::npcType, 0x142, kAll, false),
    Pin(&C::ageDuration, 0x144, kAll, false),
    Pin(&C::aspirationScore, 0x14C, kAll, false),
    Pin(&C::aspirationRewardPoints, 0x14E, kAll, false),
    Pin(&C::aspirationLevel, 0x150, kAll, false),
    Pin(&C::dataWord152, 0x152, kAll, false),
    Pin(&C::retiredCareerGuid, 0x15A, kAll, false),
    Pin(&C::retiredJobLevel, 0x15E, kAll, false),
    Pin(&C::universityMajorGuid, 0x160, kFrom22, false),
    Pin(&C::remainingHours, 0x164, kFrom22, false),
    Pin(&C::dataWord166, 0x166, kFrom29, true),
    Pin(&C::universityClass, 0x168, kFrom22, false),
    Pin(&C::youngAdult, 0x16A, kFrom22, false),
    Pin(&C::influenceLevel, 0x16C, kFrom22, false),
    Pin(&C::influenceMinimum, 0x16E, kFrom22, false),
    Pin(&C::influenceScore, 0x170, kFrom22, false),
    Pin(&C::ownTraits1, 0x174, kFrom29, false),
    Pin(&C::ownTraits2, 0x176, kFrom29, false),
    Pin(&C::turnOns1, 0x178, kFrom29, false),
    Pin(&C::turnOns2, 0x17A, kFrom29, false),
    Pin(&C::turnOffs1, 0x17C, kFrom29, false),
    Pin(&C::turnOffs2, 0x17E, kFrom29, false),
    Pin(&C::species, 0x180, kFrom2C, true),
    Pin(&C::businessLot, 0x192, kFrom2A, false),
    Pin(&C::businessRank, 0x194, kFrom2A, false),
    Pin(&C::businessJobFlags, 0x196, kFrom2A, true),
    Pin(&C::businessAssignment, 0x198, kFrom2A, true),
    Pin(&C::turnOns3, 0x19E, kFrom2F, false),
    Pin(&C::turnOffs3, 0x1A0, kFrom2F, false),
    Pin(&C::ownTraits3, 0x1A2, kFrom2F, false),
    Pin(&C::hobbyCuisine, 0x1A4, kFrom33, false),
    Pin(&C::hobbyArtsCrafts, 0x1A6, kFrom33, false),
    Pin(&C::hobbyFilmsLiterature, 0x1A8, kFrom33, false),
    Pin(&C::hobbySports, 0x1AA, kFrom33, false),
    Pin(&C::hobbyGames, 0x1AC, kFrom33, false),
    Pin(&C::hobbyNature, 0x1AE, kFrom33, false),
    Pin(&C::hobbyTinkering, 0x1B0, kFrom33, false),
    Pin(&C::hobbyFitness, 0x1B2, kFrom33, false),
    Pin(&C::hobbyScience, 0x1B4, kFrom33, false),
    Pin(&C::hobbyMusicDance, 0x1B6, kFrom33, false),
    Pin(&C::talent, 0x1BA, kFrom33, false),
    Pin(&C::ltaLevel, 0x1BC, kFrom33, false),
    Pin(&C::ltaUnlocksEarned, 0x1BE, kFrom33, false),
    Pin(&C::ltaUnlocksUsed, 0x1C0, kFrom33, false),
    Pin(&C::decayHunger, 0x1C2, kFrom33, false),
    Pin(&C::decayComfort, 0x1C4, kFrom33, false),
    Pin(&C::decayBladder, 0x1C6, kFrom33, false),
    Pin(&C::decayEnergy, 0x1C8, kFrom33, false),
    Pin(&C::decayHygiene, 0x1CA, kFrom33, false),
    Pin(&C::decayFun, 0x1CC, kFrom33, false),
    Pin(&C::decaySocial, 0x1CE, kFrom33, false),
    Pin(&C::reputation, 0x1D4, kOnly36, false),
    Pin(&C::appearProbability, 0x1D6, kOnly36, false),
    Pin(&C::dataWord1D8, 0x1D8, kOnly36, false),
};

void Put16(Bytes& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
std::uint16_t Get16(const Bytes& b, std::size_t at) { return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8); }

// A resource of the version with every listed word holding its own offset as value, and the GUID
// at the version's position.
Bytes Resource(std::uint16_t version, std::uint16_t guidAt, const Guid4& guid) {
    Bytes b(0x200, 0);
    for (std::size_t at = 0x10; at + 1 < b.size(); at += 2) Put16(b, at, static_cast<std::uint16_t>(at));
    Put16(b, 4, version);
    std::memcpy(b.data() + guidAt, guid.data(), 4);
    return b;
}

// The sim the resource describes, read as the loader reads it.
Character Read(const Bytes& bytes, const Guid4& guid) {
    Character sim;
    sim.simGuid = guid;
    EXPECT_TRUE(ReadCharacterDescription(bytes, sim));
    return sim;
}

// The value a resource made by Resource() holds at a field's offset, as the field reads it.
template <typename T>
T AtOffset(std::uint16_t offset) {
    if constexpr (std::is_same_v<T, Guid4>) {
        // Four raw bytes: the words at the offset and the one after it.
        return Guid4{static_cast<std::uint8_t>(offset), static_cast<std::uint8_t>(offset >> 8),
                     static_cast<std::uint8_t>(offset + 2), static_cast<std::uint8_t>((offset + 2) >> 8)};
    } else {
        return static_cast<T>(offset);
    }
}

TEST(DescriptionLayout, EveryVersionReadsEachFieldFromItsOffsetAndNoneItLacks) {
    const std::uint16_t versions[8] = {0x20, 0x22, 0x29, 0x2A, 0x2C, 0x2F, 0x33, 0x36};
    const std::uint16_t guidAt[8] = {0x162, 0x174, 0x194, 0x19C, 0x19E, 0x1A6, 0x1D6, 0x1DC};
    const Guid4 guid{0x11, 0x22, 0x33, 0x44};
    for (int v = 0; v < 8; ++v) {
        SCOPED_TRACE(versions[v]);
        const Character sim = Read(Resource(versions[v], guidAt[v], guid), guid);
        for (const Pinned& pin : kLayout) {
            // A version reads what it carries; what it lacks stays as a fresh record holds it.
            // A field whose offset is the version's GUID position (0x1D6 in 0x33) is the GUID.
            const bool carried = (pin.versions >> v & 1) != 0;
            std::visit(
                [&](auto field) {
                    using T = std::remove_cvref_t<decltype(sim.*field)>;
                    const T expected = carried ? AtOffset<T>(pin.offset) : Character{}.*field;
                    EXPECT_EQ(sim.*field, expected) << std::hex << pin.offset;
                },
                pin.field);
        }
        EXPECT_EQ(sim.careerGuidAtLoad, sim.careerGuid);
        EXPECT_EQ(sim.sdscGuid, guid);
        EXPECT_EQ(sim.sdscVersion, versions[v]);
    }
}

TEST(DescriptionLayout, TheTableHereCoversEveryDescriptionFieldOfTheProgram) {
    // Only the names of the program's table are used here: each of its description fields must
    // be pinned above, so no field is checked only against the program's own offsets.
    for (const CharacterField& field : CharacterFields()) {
        if (field.offset == 0) continue;  // not in the description, or the GUID position's
        if (field.name == "careerGuidAtLoad") continue;  // careerGuid's bytes, checked above
        const bool pinned = std::any_of(std::begin(kLayout), std::end(kLayout), [&](const Pinned& pin) {
            return std::visit(
                [&](auto a, auto b) {
                    if constexpr (std::is_same_v<decltype(a), decltype(b)>) {
                        return a == b;
                    } else {
                        return false;
                    }
                },
                pin.field, field.member);
        });
        EXPECT_TRUE(pinned) << field.name << " is not pinned by an offset of the format's table";
    }
}

TEST(DescriptionLayout, AnOlderVersionStopsWhereItsBlocksEnd) {
    // Version 0x22 (University) stores its GUID at 0x174 and carries the university block, but no
    // attraction, business, hobby or need words.
    const Guid4 guid{0x55, 0x66, 0x77, 0x88};
    const Character sim = Read(Resource(0x22, 0x174, guid), guid);
    EXPECT_EQ(sim.youngAdult, 0x16A);
    EXPECT_EQ(sim.influenceScore, 0x170);
    EXPECT_EQ(sim.ownTraits1, 0);
    EXPECT_EQ(sim.businessLot, 0);
    EXPECT_EQ(sim.decayHunger, 0);
    EXPECT_EQ(sim.reputation, 0);
}

TEST(DescriptionLayout, TheWriterPatchesEveryWritableFieldAtItsOffsetAndNeverTheReadOnlyOnes) {
    const Guid4 guid{0x11, 0x22, 0x33, 0x44};
    Bytes bytes = Resource(0x36, 0x1DC, guid);
    Character sim = Read(bytes, guid);
    // Every field a new value: its offset with the top bit set (words), or a fresh GUID.
    for (const Pinned& pin : kLayout) {
        std::visit(
            [&](auto field) {
                using T = std::remove_cvref_t<decltype(sim.*field)>;
                if constexpr (std::is_same_v<T, Guid4>) {
                    sim.*field = Guid4{0xA1, static_cast<std::uint8_t>(pin.offset), 0xB2, 0xC3};
                } else {
                    sim.*field = static_cast<T>(pin.offset | 0x8000);
                }
            },
            pin.field);
    }
    sim.careerGuidAtLoad = sim.careerGuid;  // the career did not change: the business block stays
    sim.dirty = 1;
    const Bytes before = bytes;
    bytes.clear();
    WriteCharacterDescription(before, sim, bytes);
    for (const Pinned& pin : kLayout) {
        const bool business = pin.offset == 0x192 || pin.offset == 0x194;  // the career change's
        const bool written = !pin.readOnly && !business;
        std::visit(
            [&](auto field) {
                using T = std::remove_cvref_t<decltype(sim.*field)>;
                if constexpr (std::is_same_v<T, Guid4>) {
                    const Guid4 stored{bytes[pin.offset], bytes[pin.offset + 1u], bytes[pin.offset + 2u],
                                       bytes[pin.offset + 3u]};
                    EXPECT_EQ(stored, written ? sim.*field : AtOffset<Guid4>(pin.offset)) << std::hex << pin.offset;
                } else {
                    EXPECT_EQ(Get16(bytes, pin.offset), written ? (pin.offset | 0x8000) : pin.offset)
                        << std::hex << pin.offset;
                }
            },
            pin.field);
    }
}

}  // namespace
}  // namespace qh
