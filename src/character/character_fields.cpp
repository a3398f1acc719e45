#include "character/character_fields.h"

#include <cstdio>
#include <type_traits>
#include <vector>

#include "package/guid.h"
#include "package/text_list.h"

namespace qh {

int DescriptionVersionIndex(std::uint16_t version) {
    for (int i = 0; i < 8; ++i) {
        if (kDescriptionVersions[i] == version) return i;
    }
    return -1;
}

std::uint16_t DescriptionGuidPosition(std::uint16_t version) {
    static constexpr std::uint16_t kPositions[8] = {0x162, 0x174, 0x194, 0x19C, 0x19E, 0x1A6, 0x1D6, 0x1DC};
    const int index = DescriptionVersionIndex(version);
    return index < 0 ? 0 : kPositions[index];
}

namespace {

using C = Character;
constexpr auto R = Writeback::Never;
constexpr auto B = Writeback::Business;
constexpr auto W = Writeback::Always;

CharacterField Other(std::string_view name, FieldMember member) { return {name, member, 0, 0, R, false}; }
CharacterField Desc(std::string_view name, FieldMember member, std::uint16_t offset,
                    std::uint8_t versions = kAllVersions, Writeback writeback = W) {
    return {name, member, offset, versions, writeback, false};
}

std::vector<CharacterField> BuildTable() {
    std::vector<CharacterField> t = {
        Other("instanceId", &C::instanceId),
        Other("simGuid", &C::simGuid),
        Other("packageFile", &C::packageFile),
        Other("firstName", &C::firstName),
        Other("lastName", &C::lastName),
        Other("description", &C::description),
        Other("sdscVersion", &C::sdscVersion),
        Other("ageProperty", &C::ageProperty),
        Other("genderProperty", &C::genderProperty),
        Other("skinColor", &C::skinColor),
        Other("hairColor", &C::hairColor),
        Other("eyeColor", &C::eyeColor),
        Other("versionText", &C::versionText),
        Desc("nice", &C::nice, 0x10),
        Desc("active", &C::active, 0x12),
        Desc("classPerformance", &C::classPerformance, 0x14),
        Desc("playful", &C::playful, 0x16),
        Desc("outgoing", &C::outgoing, 0x18),
        Desc("neat", &C::neat, 0x1A),
        Desc("cleaningSkill", &C::cleaningSkill, 0x1E),
        Desc("cookingSkill", &C::cookingSkill, 0x20),
        Desc("charismaSkill", &C::charismaSkill, 0x22),
        Desc("mechanicalSkill", &C::mechanicalSkill, 0x24),
        Desc("creativitySkill", &C::creativitySkill, 0x2A),
        Desc("bodySkill", &C::bodySkill, 0x2E),
        Desc("logicSkill", &C::logicSkill, 0x30),
        Desc("malePreference", &C::malePreference, 0x38),
        Desc("femalePreference", &C::femalePreference, 0x3A),
        Desc("jobData", &C::jobData, 0x3C),
        Desc("aspirationFlags", &C::aspirationFlags, 0x68),
        Desc("geneticNeat", &C::geneticNeat, 0x6A),
        Desc("geneticNice", &C::geneticNice, 0x6C),
        Desc("geneticActive", &C::geneticActive, 0x6E),
        Desc("geneticOutgoing", &C::geneticOutgoing, 0x70),
        Desc("geneticPlayful", &C::geneticPlayful, 0x72),
        Desc("schoolGrade", &C::schoolGrade, 0x7C),
        Desc("jobLevel", &C::jobLevel, 0x7E),
        Desc("lifeStage", &C::lifeStage, 0x80),
        Desc("familyNumber", &C::familyNumber, 0x86),
        Desc("performance", &C::performance, 0x8A),
        Desc("gender", &C::gender, 0x8E),
        Desc("lingeringNumber", &C::lingeringNumber, 0x92),
        Desc("ghostFlags", &C::ghostFlags, 0x94),
        Desc("pto", &C::pto, 0x96),
        Desc("zodiac", &C::zodiac, 0x98),
        Desc("bodyFlags", &C::bodyFlags, 0xAE, kAllVersions, R),
        Desc("fatness", &C::fatness, 0xB0),
        Desc("gpa", &C::gpa, 0xB2),
        Desc("careerGuid", &C::careerGuid, 0xBE),
        Desc("careerGuidAtLoad", &C::careerGuidAtLoad, 0xBE, kAllVersions, R),
        Desc("ageDaysLeft", &C::ageDaysLeft, 0xC2),
        Desc("daysInPreviousAge", &C::daysInPreviousAge, 0xC4),
        Desc("schoolGuid", &C::schoolGuid, 0xE2),
        Desc("dataWordEA", &C::dataWordEA, 0xEA),
        Desc("locoWeight0", &C::locoWeight0, 0xEC),
        Desc("locoWeight1", &C::locoWeight1, 0xEE),
        Desc("outfitSourceGuid", &C::outfitSourceGuid, 0xFA, kAllVersions, R),
        Desc("fitnessPreference", &C::fitnessPreference, 0x100),
        Desc("pension", &C::pension, 0x102),
        Desc("interestPolitics", &C::interestPolitics, 0x104),
        Desc("interestMoney", &C::interestMoney, 0x106),
        Desc("interestEnvironment", &C::interestEnvironment, 0x108),
        Desc("interestCrime", &C::interestCrime, 0x10A),
        Desc("interestEntertainment", &C::interestEntertainment, 0x10C),
        Desc("interestCulture", &C::interestCulture, 0x10E),
        Desc("interestFood", &C::interestFood, 0x110),
        Desc("interestHealth", &C::interestHealth, 0x112),
        Desc("interestFashion", &C::interestFashion, 0x114),
        Desc("interestSports", &C::interestSports, 0x116),
        Desc("interestParanormal", &C::interestParanormal, 0x118),
        Desc("interestTravel", &C::interestTravel, 0x11A),
        Desc("interestWork", &C::interestWork, 0x11C),
        Desc("interestWeather", &C::interestWeather, 0x11E),
        Desc("interestAnimals", &C::interestAnimals, 0x120),
        Desc("interestSchool", &C::interestSchool, 0x122),
        Desc("interestToys", &C::interestToys, 0x124),
        Desc("interestSciFi", &C::interestSciFi, 0x126),
        Desc("npcType", &C::npcType, 0x142),
        Desc("ageDuration", &C::ageDuration, 0x144),
        Desc("aspirationScore", &C::aspirationScore, 0x14C),
        Desc("aspirationRewardPoints", &C::aspirationRewardPoints, 0x14E),
        Desc("aspirationLevel", &C::aspirationLevel, 0x150),
        Desc("dataWord152", &C::dataWord152, 0x152),
        Desc("retiredCareerGuid", &C::retiredCareerGuid, 0x15A),
        Desc("retiredJobLevel", &C::retiredJobLevel, 0x15E),
        CharacterField{"sdscGuid", &C::sdscGuid, 0, kAllVersions, R, true},
        Desc("universityMajorGuid", &C::universityMajorGuid, 0x160, kNotFirst),
        Desc("remainingHours", &C::remainingHours, 0x164, kNotFirst),
        Desc("dataWord166", &C::dataWord166, 0x166, kFrom29, R),
        Desc("universityClass", &C::universityClass, 0x168, kNotFirst),
        Desc("youngAdult", &C::youngAdult, 0x16A, kNotFirst),
        Desc("influenceLevel", &C::influenceLevel, 0x16C, kNotFirst),
        Desc("influenceMinimum", &C::influenceMinimum, 0x16E, kNotFirst),
        Desc("influenceScore", &C::influenceScore, 0x170, kNotFirst),
        Desc("ownTraits1", &C::ownTraits1, 0x174, kFrom29),
        Desc("ownTraits2", &C::ownTraits2, 0x176, kFrom29),
        Desc("turnOns1", &C::turnOns1, 0x178, kFrom29),
        Desc("turnOns2", &C::turnOns2, 0x17A, kFrom29),
        Desc("turnOffs1", &C::turnOffs1, 0x17C, kFrom29),
        Desc("turnOffs2", &C::turnOffs2, 0x17E, kFrom29),
        Desc("turnOns3", &C::turnOns3, 0x19E, kFrom2F),
        Desc("turnOffs3", &C::turnOffs3, 0x1A0, kFrom2F),
        Desc("ownTraits3", &C::ownTraits3, 0x1A2, kFrom2F),
        Desc("species", &C::species, 0x180, kFrom2C, R),
        Desc("businessLot", &C::businessLot, 0x192, kFrom2A, B),
        Desc("businessRank", &C::businessRank, 0x194, kFrom2A, B),
        Desc("businessJobFlags", &C::businessJobFlags, 0x196, kFrom2A, R),
        Desc("businessAssignment", &C::businessAssignment, 0x198, kFrom2A, R),
        Desc("hobbyCuisine", &C::hobbyCuisine, 0x1A4, kFrom33),
        Desc("hobbyArtsCrafts", &C::hobbyArtsCrafts, 0x1A6, kFrom33),
        Desc("hobbyFilmsLiterature", &C::hobbyFilmsLiterature, 0x1A8, kFrom33),
        Desc("hobbySports", &C::hobbySports, 0x1AA, kFrom33),
        Desc("hobbyGames", &C::hobbyGames, 0x1AC, kFrom33),
        Desc("hobbyNature", &C::hobbyNature, 0x1AE, kFrom33),
        Desc("hobbyTinkering", &C::hobbyTinkering, 0x1B0, kFrom33),
        Desc("hobbyFitness", &C::hobbyFitness, 0x1B2, kFrom33),
        Desc("hobbyScience", &C::hobbyScience, 0x1B4, kFrom33),
        Desc("hobbyMusicDance", &C::hobbyMusicDance, 0x1B6, kFrom33),
        Desc("talent", &C::talent, 0x1BA, kFrom33),
        Desc("ltaLevel", &C::ltaLevel, 0x1BC, kFrom33),
        Desc("ltaUnlocksEarned", &C::ltaUnlocksEarned, 0x1BE, kFrom33),
        Desc("ltaUnlocksUsed", &C::ltaUnlocksUsed, 0x1C0, kFrom33),
        Desc("decayHunger", &C::decayHunger, 0x1C2, kFrom33),
        Desc("decayComfort", &C::decayComfort, 0x1C4, kFrom33),
        Desc("decayBladder", &C::decayBladder, 0x1C6, kFrom33),
        Desc("decayEnergy", &C::decayEnergy, 0x1C8, kFrom33),
        Desc("decayHygiene", &C::decayHygiene, 0x1CA, kFrom33),
        Desc("decayFun", &C::decayFun, 0x1CC, kFrom33),
        Desc("decaySocial", &C::decaySocial, 0x1CE, kFrom33),
        Desc("reputation", &C::reputation, 0x1D4, kOnly36),
        Desc("appearProbability", &C::appearProbability, 0x1D6, kOnly36),
        Desc("dataWord1D8", &C::dataWord1D8, 0x1D8, kOnly36),
        Other("hasBodyResource", &C::hasBodyResource),
        Other("needsPackageRebuild", &C::needsPackageRebuild),
        Other("cloneApplied", &C::cloneApplied),
        Other("clonePackagePath", &C::clonePackagePath),
        Other("dirty", &C::dirty),
    };
    return t;
}

}  // namespace

std::span<const CharacterField> CharacterFields() {
    static const std::vector<CharacterField> table = BuildTable();
    return table;
}

std::vector<std::string> FieldDifferences(const Character& before, const Character& after) {
    std::vector<std::string> changes;
    for (const CharacterField& field : CharacterFields()) {
        if (field.name == "dirty" || field.name == "needsPackageRebuild" || field.name == "cloneApplied" ||
            field.name == "clonePackagePath") {
            continue;
        }
        std::visit(
            [&](auto member) {
                const auto& was = before.*member;
                const auto& is = after.*member;
                if (was == is) return;
                using T = std::remove_cvref_t<decltype(was)>;
                auto text = [](const T& value) -> std::string {
                    if constexpr (std::is_same_v<T, std::string>) {
                        return "\"" + ToValidUtf8(value) + "\"";
                    } else if constexpr (std::is_same_v<T, Guid4>) {
                        return HexId(GuidValue(value));
                    } else {
                        return std::to_string(static_cast<long long>(value));
                    }
                };
                changes.push_back(std::string(field.name) + ": " + text(was) + " \u2192 " + text(is));
            },
            field.member);
    }
    return changes;
}

const CharacterField* FindCharacterField(std::string_view name) {
    for (const CharacterField& field : CharacterFields()) {
        if (field.name == name) return &field;
    }
    return nullptr;
}

bool FieldStored(const Character& sim, std::string_view name) {
    const CharacterField* field = FindCharacterField(name);
    const int version = DescriptionVersionIndex(sim.sdscVersion);
    return field && version >= 0 && (field->versions >> version & 1) != 0;
}

}  // namespace qh
