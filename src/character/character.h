// The in-memory record of one sim of the open neighborhood.
//
// One record exists for every character package whose index could be read, whether or not a
// sim description resource matched its GUID. Words keep the signedness the game gives them;
// 4-byte GUIDs are kept as their raw bytes in stored order. Texts are the game's UTF-8 bytes.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include <vector>

#include "package/guid.h"
#include "package/index.h"

namespace qh {

struct Character {
    std::uint32_t instanceId = 0;  // of the matched description resource; the sim's key elsewhere
    Guid4 simGuid{};                // from the character package's object definition
    std::string packageFile;        // at most 28 characters
    std::string firstName;
    // Where the sim's portrait (a JPEG file) lies in its character package; unset means the
    // placeholder picture. It is read, decoded and made 128 pixels square when shown
    // (SimPortrait), so a neighborhood of a thousand sims holds no thousand pictures.
    std::optional<IndexEntry> portrait;
    std::string lastName;
    std::string description;
    std::uint16_t sdscVersion = 0;
    std::int16_t ageProperty = -1;
    std::int16_t genderProperty = -1;
    std::string skinColor;
    std::string hairColor;
    std::string eyeColor;
    std::string versionText;  // at most 36 characters

    std::int16_t nice = 0, active = 0, classPerformance = 0, playful = 0, outgoing = 0, neat = 0;
    std::int16_t cleaningSkill = 0, cookingSkill = 0, charismaSkill = 0, mechanicalSkill = 0,
                 creativitySkill = 0, bodySkill = 0, logicSkill = 0;
    std::int16_t malePreference = 0, femalePreference = 0;
    std::int16_t jobData = 0;
    std::uint16_t aspirationFlags = 0;
    std::int16_t geneticNeat = 0, geneticNice = 0, geneticActive = 0, geneticOutgoing = 0,
                 geneticPlayful = 0;
    std::int16_t schoolGrade = 0, jobLevel = 0;
    std::int16_t lifeStage = 0;  // 1 Baby, 2 Toddler, 3 Child, 16 Teen, 19 Adult, 51 Elder
    std::int16_t familyNumber = 0;  // household instance; 0 means none
    std::int16_t performance = 0;
    std::int16_t gender = 0;  // 0 male, 1 female
    std::int16_t lingeringNumber = 0, ghostFlags = 0;
    std::int16_t pto = 0;
    std::int16_t zodiac = 0;
    std::int16_t bodyFlags = 0;  // never written back
    std::int16_t fatness = 0, gpa = 0;
    Guid4 careerGuid{};
    Guid4 careerGuidAtLoad{};  // never edited: the save compares it with careerGuid
    std::int16_t ageDaysLeft = 0, daysInPreviousAge = 0;
    Guid4 schoolGuid{};
    std::int16_t dataWordEA = 0;
    std::int16_t locoWeight0 = 0, locoWeight1 = 0;
    Guid4 outfitSourceGuid{};  // never written back
    std::int16_t fitnessPreference = 0, pension = 0;
    std::int16_t interestPolitics = 0, interestMoney = 0, interestEnvironment = 0,
                 interestCrime = 0, interestEntertainment = 0, interestCulture = 0,
                 interestFood = 0, interestHealth = 0, interestFashion = 0, interestSports = 0,
                 interestParanormal = 0, interestTravel = 0, interestWork = 0,
                 interestWeather = 0, interestAnimals = 0, interestSchool = 0, interestToys = 0,
                 interestSciFi = 0;
    std::int16_t npcType = 0, ageDuration = 0;
    std::int16_t aspirationScore = 0, aspirationRewardPoints = 0, aspirationLevel = 0;
    std::int16_t dataWord152 = 0;
    Guid4 retiredCareerGuid{};
    std::int16_t retiredJobLevel = 0;
    Guid4 sdscGuid{};  // as stored in the description; never written back
    Guid4 universityMajorGuid{};
    std::int16_t remainingHours = 0;
    std::int16_t dataWord166 = 0;  // never written back
    std::int16_t universityClass = 0, youngAdult = 0;
    std::int16_t influenceLevel = 0, influenceMinimum = 0, influenceScore = 0;
    std::uint16_t ownTraits1 = 0, ownTraits2 = 0, turnOns1 = 0, turnOns2 = 0, turnOffs1 = 0,
                  turnOffs2 = 0, turnOns3 = 0, turnOffs3 = 0, ownTraits3 = 0;
    std::uint16_t species = 0;  // 0 sim, 1 large dog, 2 small dog, 3 cat; never written back
    std::int16_t businessLot = 0, businessRank = 0;
    std::int16_t businessJobFlags = 0, businessAssignment = 0;  // never written back
    std::int16_t hobbyCuisine = 0, hobbyArtsCrafts = 0, hobbyFilmsLiterature = 0,
                 hobbySports = 0, hobbyGames = 0, hobbyNature = 0, hobbyTinkering = 0,
                 hobbyFitness = 0, hobbyScience = 0, hobbyMusicDance = 0;
    std::int16_t talent = 0;
    std::int16_t ltaLevel = 0, ltaUnlocksEarned = 0, ltaUnlocksUsed = 0;
    std::int16_t decayHunger = 0, decayComfort = 0, decayBladder = 0, decayEnergy = 0,
                 decayHygiene = 0, decayFun = 0, decaySocial = 0;
    std::int16_t reputation = 0, appearProbability = 0;
    std::int16_t dataWord1D8 = 0;

    std::uint8_t hasBodyResource = 0;     // the package holds a body resource (0xCCCEF852)
    std::uint8_t needsPackageRebuild = 0;  // the save drops the package's pictures
    std::uint8_t cloneApplied = 0;
    std::string clonePackagePath;
    std::uint8_t dirty = 0;

    bool operator==(const Character&) const = default;
};

}  // namespace qh
