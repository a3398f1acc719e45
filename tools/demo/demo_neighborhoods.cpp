#include "demo_neighborhoods.h"

#include <algorithm>
#include <random>

#include "character/character_fields.h"
#include "character/sim_description.h"
#include "demo_pictures.h"
#include "fixture/jpeg_writer.h"
#include "fixture/package_builder.h"
#include "fixture/resource_builders.h"
#include "fixture/sim_builders.h"
#include "package/property_set.h"
#include "package/resource_types.h"
#include "package/text_list.h"
#include "platform/file_io.h"
#include "workspace/neighborhood_data.h"
#include "workspace/picture.h"

namespace qh::demo {
namespace fs = std::filesystem;
using fixture::Key;

namespace {

constexpr std::uint32_t kDeadMark = 0x2CCF9BED;

struct SimPlan {
    const char* first;
    const char* last;
    const char* firstGerman;  // nullptr: no German name
    int stage;                // list position: 0 baby .. 5 elder (pets: 0 young, 1 adult, 2 elder)
    bool female;
    std::uint16_t version;
    std::int16_t family;
    std::uint16_t species;
    bool youngAdult;
    bool dead;
    bool matchesDescription;
};

// The demo's aspirations by the sim's instance: the primary and secondary as places in the game's
// list (0 Romance .. 7 Grilled Cheese), and each one's bit of the bit set.
constexpr int kDemoAspirationBits[] = {0, 1, 2, 4, 5, 6, 7, 8};
int DemoPrimary(const Character& sim) { return static_cast<int>(sim.instanceId % 8); }
int DemoSecondary(const Character& sim) { return static_cast<int>((sim.instanceId + 3) % 8); }

// The custom genes of the demo's Downloads folder, by their "family".
constexpr const char* kDemoCustomHair = "c0ffee01-0000-4000-8000-00000000a001";
constexpr const char* kDemoCustomSkin = "c0ffee02-0000-4000-8000-00000000b002";
constexpr const char* kDemoCustomEye = "c0ffee03-0000-4000-8000-00000000c003";

constexpr SimPlan kValleySims[] = {
    {"Marta", "Hart", nullptr, 4, true, 0x36, 1, 0, false, false, true},
    {"Owen", "Hart", nullptr, 4, false, 0x33, 1, 0, false, false, true},
    {"Lily", "Hart", "Lilli", 2, true, 0x36, 1, 0, false, false, true},
    {"Theo", "Hart", nullptr, 1, false, 0x2F, 1, 0, false, false, true},
    {"Rosie", "Hart", nullptr, 0, true, 0x2F, 1, 0, false, false, true},
    {"Grace", "Okafor", nullptr, 5, true, 0x2C, 2, 0, false, false, true},
    {"Samuel", "Okafor", nullptr, 3, false, 0x2A, 2, 0, false, false, true},
    {"Rex", "Okafor", nullptr, 1, false, 0x36, 2, 1, false, false, true},
    {"Whiskers", "Hart", "Schnurrhaar", 1, true, 0x36, 1, 3, false, false, true},
    {"Biscuit", "Okafor", nullptr, 0, false, 0x33, 2, 2, false, false, true},
    {"Ingrid", "Lindqvist", nullptr, 5, true, 0x29, 3, 0, false, true, true},
    {"Jonas", "Lindqvist", "J\xC3\xB6rg", 4, false, 0x29, 3, 0, false, false, true},
    {"Ana", "Moreno", nullptr, 4, true, 0x36, 4, 0, true, false, true},
    {"Pablo", "Moreno", nullptr, 3, false, 0x22, 4, 0, false, false, true},
    {"Edith", "Fairbanks", nullptr, 5, true, 0x20, 0, 0, false, false, true},
    {"Stranger", "Visitor", nullptr, 4, false, 0x36, 0, 0, false, false, false},
};

// A household of the neighborhood; its members are the sims whose plan names its instance.
struct HouseholdPlan {
    std::uint32_t instance;
    std::uint32_t version;  // of the FAMI resource
    std::uint32_t lot;
    std::uint32_t funds;
    const char* name;         // nullptr: no text list
    const char* description;
    const char* germanName;   // nullptr: English only
};

constexpr HouseholdPlan kValleyHouseholds[] = {
    {1, 85, 1, 34500, "The Harts", "Five Harts and a cat in a yellow house.", "Die Harts"},
    {2, 84, 2, 12750, "Okafor Family", "Grace keeps the family together.", nullptr},
    {3, 81, 3, 980, nullptr, nullptr, nullptr},
    {4, 79, 90, 20000, "Moreno", "New in town.", nullptr},
    {5, 85, 0, 0, "Empty Nest", "Everyone moved out.", nullptr},
};

constexpr HouseholdPlan kCollegeHouseholds[] = {
    {1, 85, 1, 5000, "Alpha Owls", "The Greek house's members.", nullptr},
    {2, 85, 1, 150, "Dorm Room 4", "", nullptr},
};

constexpr SimPlan kCollegeSims[] = {
    {"Priya", "Natarajan", nullptr, 4, true, 0x36, 1, 0, true, false, true},
    {"Felix", "Brandt", "Felix", 4, false, 0x33, 1, 0, true, false, true},
    {"Chloe", "Dubois", nullptr, 4, true, 0x2F, 2, 0, true, false, true},
};

// One direction of a relationship between two sims of a plan (by their places in it): levels,
// flags, the family relation (or -1 for none stored), and values past it the game keeps.
struct RelationshipPlan {
    int owner;
    int other;
    std::int32_t shortTerm;
    std::int32_t longTerm;
    std::uint32_t flags;
    int familyRelation;
    std::vector<std::uint32_t> extra = {};
};

constexpr std::uint32_t kCrush = 0x1, kLove = 0x2, kEngaged = 0x4, kMarried = 0x8, kFriend = 0x10,
                        kBestFriend = 0x20, kSteady = 0x40, kEnemy = 0x80, kContact = 0x100, kFamily = 0x4000,
                        kMet = 0x8000;

// The valley's people: the Harts (Marta and Owen married, their children Lily, Theo and Rosie),
// Marta's mother Ingrid and brother Jonas, married again to Ana Moreno, with his son Pablo (Lily's
// cousin, now going steady with Samuel), Grace Okafor and her grandson Samuel with their dog Rex,
// Lily and Samuel enemies (he is furious at her), Owen and Jonas friends who keep each other as
// contacts, and Owen's mother Edith, who remembers Marta though Marta has forgotten her.
const std::vector<RelationshipPlan>& ValleyRelationships() {
    static const std::vector<RelationshipPlan> plans = {
        {0, 1, 80, 95, kMet | kFriend | kBestFriend | kLove | kMarried | kFamily, 9},
        {1, 0, 75, 90, kMet | kFriend | kBestFriend | kLove | kMarried | kFamily, 9},
        {0, 2, 60, 85, kMet | kFriend | kFamily, 1},
        {2, 0, 55, 80, kMet | kFriend | kFamily, 2},
        {1, 2, 40, 70, kMet | kFamily, 1},
        {2, 1, 45, 72, kMet | kFamily, 2},
        {0, 3, 70, 88, kMet | kFamily, 1},
        {3, 0, 90, 90, kMet | kFamily, 2},
        {2, 3, 20, 35, kMet | kFamily, 3},
        {3, 2, 30, 40, kMet | kFamily, 3},
        {0, 4, 50, 60, kMet | kFamily, 1},
        {4, 0, 50, 60, kMet | kFamily, 2},
        // Grace's record about Samuel holds values the game added after the family relation.
        {5, 6, 65, 80, kMet | kFriend | kFamily, 4, {3, 0, 12, 7}},
        {6, 5, 55, 75, kMet | kFriend | kFamily, 5},
        {7, 6, 90, 95, kMet | kFriend | kBestFriend, -1},
        {6, 7, 85, 90, kMet | kFriend | kBestFriend, -1},
        {12, 11, 85, 70, kMet | kFriend | kLove | kCrush | kMarried | kFamily, 9},
        {11, 12, 80, 65, kMet | kFriend | kLove | kMarried | kFamily, 9},
        {10, 0, 70, 90, kMet | kFamily, 1},
        {0, 10, 60, 85, kMet | kFamily, 2},
        {0, 11, 50, 60, kMet | kFriend | kFamily, 3},
        {11, 0, 55, 65, kMet | kFriend | kFamily, 3},
        {11, 13, 70, 80, kMet | kFamily, 1},
        {13, 11, 40, 60, kMet | kFamily, 2},
        {13, 2, 20, 25, kMet | kFriend | kFamily, 8},
        {2, 13, 25, 30, kMet | kFriend | kFamily, 8},
        {6, 2, -60, -40, kMet | kEnemy, -1},
        {2, 6, -35, -20, kMet | kEnemy, -1},
        {1, 11, 45, 50, kMet | kFriend | kContact, -1},
        {11, 1, 40, 55, kMet | kFriend | kContact, -1},
        {14, 0, 30, 45, kMet | kFriend, -1},
        {13, 6, 25, 10, kMet | kSteady, -1},
        {6, 13, 30, 15, kMet | kSteady, -1},
        {0, 15, 5, 0, kMet, -1},  // about the visitor, whom the neighborhood does not describe
    };
    return plans;
}

const std::vector<RelationshipPlan>& CollegeRelationships() {
    static const std::vector<RelationshipPlan> plans = {
        {0, 1, 60, 40, kMet | kFriend | kSteady | kLove, -1},
        {1, 0, 70, 45, kMet | kFriend | kSteady | kLove, -1},
        {0, 2, 20, 30, kMet | kFriend, -1},
        {2, 0, 10, 25, kMet, -1},
    };
    return plans;
}

// The valley's family tree, three generations: Ingrid, her children Marta and Jonas, Marta's
// children with Owen (whose mother is Edith); Jonas's son Pablo, whose mother (0x40) and Grace's
// son (0x41, Samuel's father) have no characters in the neighborhood; Jonas is married again, to
// Ana. Ids are the sims' instances (0x10 + place).
std::vector<fixture::FamilyTiesBlock> ValleyFamilyTree() {
    enum : std::uint16_t { Marta = 0x10, Owen, Lily, Theo, Rosie, Grace, Samuel, Ingrid = 0x1A, Jonas, Ana, Pablo,
                           Edith, PablosMother = 0x40, SamuelsFather };
    constexpr std::uint32_t first = 0, second = 1, spouse = 2, sibling = 3, child = 4;
    return {
        {Ingrid, 1, {{child, Marta}, {child, Jonas}}},
        {Marta, 1, {{first, Ingrid}, {sibling, Jonas}, {spouse, Owen}, {child, Lily}, {child, Theo}, {child, Rosie}}},
        {Jonas, 1, {{first, Ingrid}, {sibling, Marta}, {spouse, Ana}, {child, Pablo}}},
        {Owen, 1, {{first, Edith}, {spouse, Marta}, {child, Lily}, {child, Theo}, {child, Rosie}}},
        {Edith, 1, {{child, Owen}}},
        {Lily, 1, {{first, Marta}, {second, Owen}, {sibling, Theo}, {sibling, Rosie}}},
        {Theo, 1, {{first, Marta}, {second, Owen}, {sibling, Lily}, {sibling, Rosie}}},
        {Rosie, 1, {{first, Marta}, {second, Owen}, {sibling, Lily}, {sibling, Theo}}},
        {Ana, 1, {{spouse, Jonas}}},
        {Pablo, 1, {{first, Jonas}, {second, PablosMother}}},
        {PablosMother, 1, {{child, Pablo}}},
        {Grace, 1, {{child, SamuelsFather}}},
        {SamuelsFather, 1, {{first, Grace}, {child, Samuel}}},
        {Samuel, 1, {{first, SamuelsFather}}},
    };
}

Bytes RelationshipResource(const RelationshipPlan& plan) {
    std::vector<std::uint32_t> values = {static_cast<std::uint32_t>(plan.shortTerm), plan.flags,
                                         static_cast<std::uint32_t>(plan.longTerm)};
    if (plan.familyRelation >= 0) values.push_back(static_cast<std::uint32_t>(plan.familyRelation));
    values.insert(values.end(), plan.extra.begin(), plan.extra.end());
    return fixture::RelationshipBytes(2, values);
}

void WriteFile(const fs::path& path, std::span<const std::uint8_t> bytes) {
    fs::create_directories(path.parent_path());
    AtomicReplace(path, bytes);
}

std::string ColourGuid(int n) {
    char text[40];
    std::snprintf(text, sizeof text, "%08X-0000-0000-0000-000000000000", n);
    return text;
}

void SetLifeStage(Character& sim, int stage) {
    const bool pet = sim.species != 0;
    static const std::int16_t kSimStage[] = {1, 2, 3, 16, 19, 51};
    static const std::int16_t kSimAge[] = {32, 1, 2, 4, 8, 16};
    static const std::int16_t kPetStage[] = {1, 19, 51};
    static const std::int16_t kPetAge[] = {32, 8, 16};
    sim.lifeStage = pet ? kPetStage[stage] : kSimStage[stage];
    sim.ageProperty = pet ? kPetAge[stage] : kSimAge[stage];
    if (!pet && stage == 4 && sim.youngAdult) sim.ageProperty = 64;
}

// A sim as the loader should read it back.
Character MakeSim(const SimPlan& plan, int globalIndex, std::uint32_t instance, const std::string& file) {
    std::mt19937 random(static_cast<unsigned>(globalIndex * 7919 + 13));
    auto value = [&](int low, int high) {
        return static_cast<std::int16_t>(low + static_cast<int>(random() % static_cast<unsigned>(high - low + 1)));
    };
    Character sim;
    sim.packageFile = file;
    sim.firstName = plan.first;
    sim.lastName = plan.last;
    sim.description = std::string("The demo's ") + plan.first + ".";
    sim.simGuid = GuidFromValue(0x7E000000u + static_cast<std::uint32_t>(globalIndex));
    sim.species = plan.version == 0x2C || plan.version == 0x2F || plan.version == 0x33 || plan.version == 0x36
                      ? plan.species : 0;
    sim.youngAdult = plan.youngAdult && plan.version != 0x20 ? 1 : 0;
    sim.gender = plan.female ? 1 : 0;
    sim.genderProperty = plan.female ? 1 : 2;
    SetLifeStage(sim, plan.stage);
    sim.skinColor = ColourGuid(1 + globalIndex % 4);
    sim.hairColor = ColourGuid(1 + globalIndex % 4);  // black, brown, blonde, red
    // The game's own eye colours (brown, green, grey, light blue).
    static constexpr const char* kEyes[] = {"32dee745-b6ce-419f-9e86-ae93802d2682", "51c4a750-c9f4-4cfe-801c-898efc360cb7",
                                            "0758508c-7111-40f9-b33b-706464626ac9", "e43f3360-3a08-4755-8b83-a0d37a6c424b"};
    sim.eyeColor = kEyes[globalIndex % 4];
    sim.versionText = "1.0.0." + std::to_string(100 + globalIndex) + " - Demo";
    // A sim the neighborhood has no description for lives only in others' memories: no body.
    sim.hasBodyResource = plan.matchesDescription ? 1 : 0;
    if (!plan.matchesDescription) {
        sim.species = 0;
        sim.youngAdult = 0;
        sim.gender = 0;
        sim.lifeStage = 0;
        return sim;
    }
    sim.instanceId = instance;
    sim.sdscVersion = plan.version;
    sim.sdscGuid = sim.simGuid;
    sim.familyNumber = plan.family;
    sim.zodiac = value(1, 12);
    sim.nice = value(0, 1000), sim.active = value(0, 1000), sim.playful = value(0, 1000);
    sim.outgoing = value(0, 1000), sim.neat = value(0, 1000);
    sim.geneticNice = sim.nice, sim.geneticActive = sim.active, sim.geneticPlayful = sim.playful;
    sim.geneticOutgoing = sim.outgoing, sim.geneticNeat = sim.neat;
    sim.cleaningSkill = value(0, 1000), sim.cookingSkill = value(0, 1000), sim.charismaSkill = value(0, 1000);
    sim.mechanicalSkill = value(0, 1000), sim.creativitySkill = value(0, 1000), sim.bodySkill = value(0, 1000);
    sim.logicSkill = value(0, 1000);
    sim.malePreference = value(-1000, 1000), sim.femalePreference = value(-1000, 1000);
    sim.fatness = value(0, 1000);
    sim.locoWeight0 = value(0, 100);
    sim.locoWeight1 = static_cast<std::int16_t>(100 - sim.locoWeight0);
    sim.ageDaysLeft = value(1, 20), sim.daysInPreviousAge = value(0, 20);
    sim.bodyFlags = value(0, 64);
    sim.outfitSourceGuid = GuidFromValue(0x2A000000u + static_cast<std::uint32_t>(globalIndex));
    sim.interestPolitics = value(0, 1000), sim.interestMoney = value(0, 1000), sim.interestFood = value(0, 1000);
    // The meter runs to 100 with FreeTime (the sims of its formats), else by the life stage.
    sim.aspirationScore = plan.version >= 0x33 ? value(0, 100) : value(0, 3000), sim.aspirationLevel = value(0, 5);
    sim.dataWordEA = value(0, 9), sim.dataWord152 = value(0, 9);
    if (plan.version != 0x20) {
        sim.remainingHours = plan.youngAdult ? value(0, 72) : 0;
        sim.universityClass = plan.youngAdult ? value(1, 4) : 0;
        sim.influenceLevel = value(0, 5);
    }
    if (plan.version >= 0x29) {
        sim.dataWord166 = value(1, 9);
        sim.ownTraits1 = static_cast<std::uint16_t>(value(0, 0x7FFF));
        sim.turnOns1 = static_cast<std::uint16_t>(1u << (globalIndex % 12));
        sim.turnOffs1 = static_cast<std::uint16_t>(1u << ((globalIndex + 5) % 12));
    }
    if (plan.version >= 0x2A) {
        sim.businessLot = plan.version == 0x2C ? 3 : 0;
        sim.businessRank = plan.version == 0x2C ? 2 : 0;
        sim.businessJobFlags = value(0, 3);
        sim.businessAssignment = value(0, 19);
    }
    if (plan.version >= 0x2F) sim.turnOns3 = 1, sim.ownTraits3 = 2;
    if (plan.version >= 0x33) {
        sim.hobbyCuisine = value(0, 1000), sim.hobbyNature = value(0, 1000), sim.hobbyScience = value(0, 1000);
        sim.talent = value(204, 213);
        sim.ltaLevel = value(0, 30000);
        sim.decayHunger = 12, sim.decayFun = 24;
    }
    if (plan.version == 0x36) {
        sim.reputation = value(-100, 100);
        sim.appearProbability = value(-100, 100);
    }
    // Every interest a value (drawn after the others, so that those stay as they were).
    for (std::int16_t Character::*interest :
         {&Character::interestEnvironment, &Character::interestCrime, &Character::interestEntertainment,
          &Character::interestCulture, &Character::interestHealth, &Character::interestFashion,
          &Character::interestSports, &Character::interestParanormal, &Character::interestTravel,
          &Character::interestWork, &Character::interestWeather, &Character::interestAnimals,
          &Character::interestSchool, &Character::interestToys, &Character::interestSciFi}) {
        sim.*interest = value(0, 1000);
    }
    // Aspirations: each sim its own, with a secondary in the FreeTime formats, and reward points;
    // the long-term aspiration's unlocks with FreeTime.
    if (sim.species == 0 && sim.lifeStage >= 2) {
        sim.aspirationFlags = static_cast<std::uint16_t>(1u << kDemoAspirationBits[DemoPrimary(sim)]);
        if (plan.version >= 0x33) {
            sim.aspirationFlags = static_cast<std::uint16_t>(sim.aspirationFlags | 1u << kDemoAspirationBits[DemoSecondary(sim)]);
        }
        sim.aspirationRewardPoints = value(0, 4000);
    }
    if (plan.version >= 0x33) {
        sim.ltaUnlocksUsed = value(0, 6);
        sim.ltaUnlocksEarned = static_cast<std::int16_t>(sim.ltaUnlocksUsed + value(0, 4));
        sim.influenceMinimum = value(0, 300), sim.influenceScore = value(0, 900);
    }
    if (plan.version >= 0x33) {
        // Need speeds of all four kinds, and one word the game does not use (shown as Normal).
        sim.decayEnergy = 36, sim.decaySocial = static_cast<std::int16_t>(globalIndex % 2 ? 36 : 6);
    }
    // Working lives: base, expansion, teen and pet careers, an owned business, retired elders.
    struct Work {
        const char* first;
        const char* career;
        std::int16_t level, performance, pto;
        const char* retired;
        std::int16_t retiredLevel, pension, npcType;
    };
    static constexpr Work kWork[] = {
        {"Marta", "55651945", 3, 40, 250, nullptr, 0, 0, 0},      // Business: Field Sales Rep
        {"Owen", "BCFF6F4E", 10, -15, 100, nullptr, 0, 0, 0},    // Artist: Visionary
        {"Samuel", "0C7BA04C", 2, 10, 0, nullptr, 0, 0, 0},      // teen Culinary: Drive Through Clerk
        {"Rex", "00A488D1", 2, 60, 0, nullptr, 0, 0, 0},         // Security: Guard Pet
        {"Whiskers", "2DCC75D1", 4, 90, 0, nullptr, 0, 0, 0},    // ShowBiz: Star
        {"Jonas", "E3BC9EAC", 5, 0, 300, nullptr, 0, 0, 9},      // Law Enforcement: Vice Squad
        {"Ana", "00000000", 0, 0, 0, nullptr, 0, 0, 14},         // at university, a barista's outfit
        {"Grace", "0A408FD0", 2, 70, 0, "FD61770C", 8, 320, 0},  // her own business; retired Surgeon
        {"Ingrid", "00000000", 0, 0, 0, "47BD9E0C", 10, 550, 0}, // retired Mad Scientist
        {"Edith", "00000000", 0, 0, 0, "145B942C", 9, 400, 0},   // retired Senator
    };
    for (const Work& work : kWork) {
        if (sim.firstName != work.first) continue;
        sim.careerGuid = *ParseGuid(work.career, GuidFormat::StoredBytes);
        sim.careerGuidAtLoad = sim.careerGuid;
        sim.jobLevel = work.level, sim.performance = work.performance, sim.pto = work.pto;
        if (work.retired) sim.retiredCareerGuid = *ParseGuid(work.retired, GuidFormat::StoredBytes);
        sim.retiredJobLevel = work.retiredLevel, sim.pension = work.pension, sim.npcType = work.npcType;
        if (std::string_view(work.career) == "0A408FD0") sim.businessRank = 250;
    }
    // Schooling: pupils of both schools (Pablo's school never stored), a young adult at university
    // and a grown-up who studied once.
    struct Study {
        const char* first;
        const char* school;  // nullptr: none stored
        std::int16_t grade;
        const char* major;   // nullptr: none
        std::int16_t universityClass, classPerformance, gpa, remainingHours;
    };
    static constexpr Study kStudies[] = {
        {"Lily", "114C8FCC", 12, nullptr, 0, 0, 0, 0},        // Private School, A
        {"Samuel", "B58867D0", 8, nullptr, 0, 0, 0, 0},       // Public School, B-
        {"Pablo", nullptr, 0, nullptr, 0, 0, 0, 0},
        {"Ana", nullptr, 0, "63F09CAE", 5, 600, 875, 30},     // Physics, Quantum Mechanics, GPA 3.5
        {"Owen", nullptr, 0, "07F09C2E", 6, 0, 0, 0},         // Art, class 6
    };
    for (const Study& study : kStudies) {
        if (sim.firstName != study.first) continue;
        sim.schoolGuid = study.school ? *ParseGuid(study.school, GuidFormat::StoredBytes) : Guid4{};
        sim.schoolGrade = study.grade;
        if (study.major) {
            sim.universityMajorGuid = *ParseGuid(study.major, GuidFormat::StoredBytes);
            sim.universityClass = study.universityClass;
            sim.classPerformance = study.classPerformance, sim.gpa = study.gpa, sim.remainingHours = study.remainingHours;
        }
    }
    return sim;
}

Bytes CharacterPackage(const Character& sim, const SimPlan& plan) {
    fixture::PackageBuilder builder;
    builder.Add(Key(kObjectDefinitionType, 0x80), fixture::ObjectDefinitionBytes("Sim Template", GuidValue(sim.simGuid)), true);
    std::vector<TextEntry> names = {{1, sim.firstName, ""}, {1, sim.description, ""}, {1, sim.lastName, ""}};
    if (plan.firstGerman) {
        names.push_back({4, plan.firstGerman, ""});
        names.push_back({4, "", ""});
        names.push_back({4, sim.lastName, ""});
    }
    builder.Add(Key(kCatalogTextType, 1), fixture::TextListBytes(names), true);
    builder.Add(Key(kVersionInfoType, 1), fixture::VersionInfoBytes(sim.versionText.substr(0, sim.versionText.find(" - ")), "Demo"));
    builder.Add(Key(kSimPropertiesType, 1), fixture::PropertySetBuilder()
                                                .Integer("age", static_cast<std::uint16_t>(sim.ageProperty))
                                                .Integer("gender", static_cast<std::uint16_t>(sim.genderProperty))
                                                .String("skincolor", sim.skinColor)
                                                .String("haircolor", sim.hairColor)
                                                .String("eyecolor", sim.eyeColor)
                                                .Integer("subtype", 0)
                                                .Build(), true);
    const std::uint32_t skins[] = {0xF2D6BE, 0xD9A97E, 0xA86F45, 0x6B4429};
    const std::uint32_t hairs[] = {0x2B1B10, 0xC79A4B, 0x8A3B1F, 0x1A1A1A, 0xBEBEBE};
    const int n = static_cast<int>(GuidValue(sim.simGuid) & 0xFF);
    PortraitLook look{sim.species ? 0xB08050u : skins[n % 4], sim.species ? 0x7A5030u : hairs[n % 5],
                      0x7FA0C0u + static_cast<std::uint32_t>(n % 3) * 0x102010u, sim.gender == 1, sim.species != 0};
    if (sim.lifeStage == 51) look.hair = 0xD8D8D8;
    builder.Add(Key(kPictureType, 0x00000001), fixture::EncodeJpeg(DrawPortrait(look)));
    // The body: the body resource and the meshes, materials and their references. The demo's are
    // filler bytes that differ from sim to sim, so a body taken from another sim can be told
    // apart. A sim the neighborhood has no description for lives only in others' memories: the
    // game gave it no body.
    if (plan.matchesDescription) {
        builder.Add(Key(kBodyResourceType, 1), std::string(300, '\x42'), true);
        for (std::uint32_t type : kBodyTypes) {
            if (type == kSimPropertiesType || type == kBodyResourceType) continue;
            builder.Add(Key(type, 1), std::string(120, static_cast<char>('a' + n % 26)) + sim.firstName, true);
        }
    }
    builder.AddDirectory();
    return builder.Build();
}

void AddSimItems(const Character& sim, const SimPlan& plan, std::vector<NeighborhoodItem>& items, std::uint32_t word) {
    auto add = [&](std::uint32_t guid, std::uint8_t secondary, std::vector<std::uint16_t> values, std::uint16_t flags1 = 0) {
        NeighborhoodItem item;
        item.owner = sim.instanceId;
        item.ownerWord = word;
        item.secondary = secondary;
        item.itemGuid = guid;
        item.flags1 = flags1;
        item.values = std::move(values);
        items.push_back(std::move(item));
    };
    if (plan.dead) add(kDeadMark, 1, {8, 8, 0, 0, 0});
    // The aspiration's items: the primary's marker (Romance to Knowledge have one) and, with
    // FreeTime, the secondary's value; every fifth sim has only the bit set, as older saves do.
    if (sim.species == 0 && sim.lifeStage >= 2 && sim.instanceId % 5 != 0) {
        static constexpr std::uint32_t kMarkers[] = {0x6C92F4F3, 0x4C92F505, 0x4C92F480, 0x8C92F4BC, 0x6C92F4CF};
        if (DemoPrimary(sim) < 5) add(kMarkers[DemoPrimary(sim)], 1, {0});
        if (plan.version >= 0x33) add(0x53D08989, 1, {static_cast<std::uint16_t>(1u << kDemoAspirationBits[DemoSecondary(sim)])});
    }
    if (plan.version >= 0x33 && sim.lifeStage >= 16 && sim.species == 0) {
        add(0x541902EA, 1, {static_cast<std::uint16_t>(sim.instanceId % 8)});  // the weekly benefit
    }
    if (sim.lifeStage >= 16 && sim.species == 0) {
        add(0x505FDC28, 1, {static_cast<std::uint16_t>(100 + sim.instanceId * 40 % 900), 0});  // a badge
        add(0x8E8D529F, 1, {}, 1);  // an MP3 player
    }
    if (sim.lifeStage == 19 && sim.species == 0) add(0xCE8408E6, 1, {}, 1);  // a cell phone
    if (plan.version == 0x36 && sim.lifeStage == 19 && sim.species == 0) {
        // Career rewards of each group, one of them twice, and the Secret Society.
        add(0xCC20426A, 0, {1, 7});  // Execuputter
        add(0x6C2979FB, 0, {1, 7});  // obstacle course
        add(0xAE8D50B2, 0, {1, 7});  // Resurrect-O-Nomitron
        add(0xD24D09FD, 0, {1, 7});  // Golden Skull
        add(0xD24D09FD, 0, {1, 7});
        add(0x53EDA12F, 0, {1, 7});  // koi pond
        add(0x8EAE367E, 1, {}, 0);   // Secret Society
    }
    // Skills kept as items: dance and parenting for every adult, the Bon Voyage skills (a level,
    // a massage and ninja) and the Apartment Life skills for those of the newer formats.
    if (sim.lifeStage == 19 && sim.species == 0) {
        const auto n = static_cast<std::uint16_t>(sim.instanceId);
        add(0x0DA265F4, 0, {static_cast<std::uint16_t>(n % 11), 0});         // dance skill
        add(0x6FE7E453, 0, {static_cast<std::uint16_t>(n * 731 % 10000), 0});  // dance experience
        add(0xB3F2D735, 0, {static_cast<std::uint16_t>(n * 97 % 1001)});     // parenting
        if (plan.version >= 0x33) {
            add(0x7332278C, 0, {static_cast<std::uint16_t>(n * 53 % 1001), 0});  // tai chi
            add(0x32E9E44C, 1, {});                                              // hot stone massage
            if (n % 2) add(0x531FE710, 1, {});                                   // ninja
        }
        if (plan.version == 0x36) {
            add(0x54E2ABA5, 0, {static_cast<std::uint16_t>(n * 61 % 1001), 0});  // break dance
            add(0x34D358B7, 0, {static_cast<std::uint16_t>(n * 29 % 1001), 0});  // couples counseling
        }
    }
    // A toddler in training: walking learned, talking half-way, the nursery rhyme begun.
    if (sim.lifeStage == 2 && sim.species == 0) add(0x4DDF0E12, 1, {0, 1000, 450, 120, 1, 0, 0, 300});
    // FreeTime and Seasons: badges of every grade and the hobby lots of its talent and one more.
    if (sim.lifeStage >= 16 && sim.species == 0 && plan.version >= 0x33) {
        const auto n = static_cast<std::uint16_t>(sim.instanceId);
        add(0x12297157, 0, {static_cast<std::uint16_t>(n % 4 * 333), 0});  // fishing
        add(0xF3D9B8DA, 0, {1000, 0});                                      // pottery
        add(0x53F9DF4E, 1, {static_cast<std::uint16_t>(204 + n % 10), 211});  // hobby lots
    }
}

// A sim's genetic record as the game writes it: sixteen genes under their keys, in text order.
// The demo's sims inherit the game's own colours; every fourth has its skin tone self-closed (no
// value), and the parents' genes of every third name custom genes of the demo's Downloads.
std::string DemoGenes(const Character& sim, int global) {
    static constexpr const char* kHair[] = {"00000001-0000-0000-0000-000000000000", "00000002-0000-0000-0000-000000000000",
                                            "00000003-0000-0000-0000-000000000000", "00000004-0000-0000-0000-000000000000"};
    static constexpr const char* kSkin[] = {"00000001-0000-0000-0000-000000000000", "00000002-0000-0000-0000-000000000000",
                                            "00000003-0000-0000-0000-000000000000", "00000004-0000-0000-0000-000000000000"};
    static constexpr const char* kEye[] = {"32dee745-b6ce-419f-9e86-ae93802d2682", "51c4a750-c9f4-4cfe-801c-898efc360cb7",
                                           "0758508c-7111-40f9-b33b-706464626ac9", "e43f3360-3a08-4755-8b83-a0d37a6c424b"};
    const bool custom = global % 3 == 0;
    const std::string values[16][2] = {
        {"1", custom ? kDemoCustomHair : kHair[global % 4]},
        {"2", kSkin[(global + 1) % 4]},
        {"268435457", kHair[(global + 2) % 4]},
        {"268435458", custom ? kDemoCustomSkin : kSkin[(global + 3) % 4]},
        {"268435459", kEye[(global + 1) % 4]},
        {"268435460", ""},
        {"268435461", ""},
        {"268435462", kSkin[global % 4]},
        {"268435463", ""},
        {"268435464", ""},
        {"3", custom ? kDemoCustomEye : kEye[global % 4]},
        {"4", ""},
        {"5", ""},
        {"6", sim.skinColor},
        {"7", ""},
        {"8", ""},
    };
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<cGZPropertySetString>\n";
    for (const auto& [key, value] : values) {
        const std::string tag = "  <AnyString key=\"" + key + "\" type=\"0x0b8bea18\"";
        if (key == "6" && global % 4 == 1) {
            xml += tag + "/>\n";
        } else {
            xml += tag + ">" + value + "</AnyString>\n";
        }
    }
    return xml + "</cGZPropertySetString>";
}

// What a long-played neighborhood holds for every sim besides its description: a genetics
// record, relationships with a score of other sims and a few dozen memories. Their contents are
// filler of realistic size; the program carries them as they are.
void AddCrowdedResources(fixture::PackageBuilder& package, const Character& sim, std::size_t simCount,
                         std::vector<NeighborhoodItem>& items, std::uint32_t word) {
    std::string genes = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><cGZPropertySetString>";
    for (int g = 0; g < 32; ++g) {
        genes += "<AnyString key=\"" + std::to_string(g) + "\" type=\"0x0b8bea18\">" + ColourGuid(g * 31 + 7) +
                 "</AnyString>";
    }
    genes += "</cGZPropertySetString>";
    package.Add(Key(kGeneticRecordType, sim.instanceId), genes, true);
    for (std::uint32_t k = 1; k <= 20; ++k) {
        const std::uint32_t other = 0x10 + (sim.instanceId - 0x10 + k * 37) % static_cast<std::uint32_t>(simCount);
        RelationshipPlan plan{0, 0, static_cast<std::int32_t>(k * 9 % 201) - 100,
                              static_cast<std::int32_t>(k * 13 % 201) - 100, kMet | (k % 3 ? kFriend : kEnemy),
                              k % 5 == 0 ? static_cast<int>(k % 10) : -1, {k, 0, 0}};
        if (plan.familyRelation >= 0) plan.flags |= kFamily;
        package.Add(Key(kRelationshipType, sim.instanceId << 16 | other), RelationshipResource(plan), k % 2 == 0);
    }
    for (std::uint16_t m = 0; m < 30; ++m) {
        NeighborhoodItem memory;
        memory.owner = sim.instanceId;
        memory.ownerWord = word;
        memory.secondary = 0;
        memory.itemGuid = 0x0C000000u + m;
        memory.values = {m, static_cast<std::uint16_t>(sim.instanceId), 0, 1};
        items.push_back(std::move(memory));
    }
}

DemoNeighborhood WriteNeighborhood(const fs::path& folder, const std::string& prefix, const std::string& name,
                                   const std::string& germanName, const std::string& description,
                                   std::span<const SimPlan> plans, int firstGlobal, std::uint32_t ngbhVersion,
                                   const std::vector<std::tuple<std::uint8_t, std::string, std::string>>& lots,
                                   unsigned pictureSeed, std::span<const HouseholdPlan> households,
                                   const std::vector<RelationshipPlan>& relationships,
                                   const std::vector<fixture::FamilyTiesBlock>* familyTree, bool crowded = false) {
    DemoNeighborhood out;
    out.prefix = prefix;
    out.name = name;
    out.description = description;
    out.versionText = "2.18.0.1 - Demo";
    const fs::path home = folder / prefix;
    const std::uint32_t word = ngbhVersion >= 190 ? 0x00000301u : 0x00000001u;

    fixture::PackageBuilder package;
    std::vector<TextEntry> texts = {{1, name, ""}, {1, description, ""}};
    if (!germanName.empty()) texts.insert(texts.end(), {{4, germanName, ""}, {4, "", ""}});
    package.Add(Key(kCatalogTextType, 1), fixture::TextListBytes(texts), true);
    package.Add(Key(kVersionInfoType, 1), fixture::VersionInfoBytes("2.18.0.1", "Demo"));

    fixture::NeighborhoodDataPlan data;
    data.version = ngbhVersion;
    data.defaultOwnerWord = word;
    for (std::size_t i = 0; i < plans.size(); ++i) {
        const int global = firstGlobal + static_cast<int>(i);
        char file[64];
        std::snprintf(file, sizeof file, "%s_User%05d.package", prefix.c_str(), static_cast<int>(i));
        Character sim = MakeSim(plans[i], global, 0x10 + static_cast<std::uint32_t>(i), file);
        if (plans[i].matchesDescription) {
            package.Add(Key(kSimDescriptionType, sim.instanceId), fixture::SimDescriptionBytes(sim), i % 2 == 0);
            AddSimItems(sim, plans[i], data.simItems, word);
            if (!crowded) package.Add(Key(kGeneticRecordType, sim.instanceId), DemoGenes(sim, global), i % 3 == 1);
        }
        if (crowded) AddCrowdedResources(package, sim, plans.size(), data.simItems, word);
        WriteFile(home / "Characters" / file, CharacterPackage(sim, plans[i]));
        out.sims.push_back(sim);
    }
    // A neighborhood without a family tree has no resource for it at all.
    if (familyTree) package.Add(Key(kFamilyTiesType, 1), fixture::FamilyTiesBytes(1, *familyTree), true);
    for (const RelationshipPlan& plan : relationships) {
        const std::uint32_t owner = 0x10 + static_cast<std::uint32_t>(plan.owner);
        const std::uint32_t other = 0x10 + static_cast<std::uint32_t>(plan.other);
        package.Add(Key(kRelationshipType, owner << 16 | other), RelationshipResource(plan), plan.owner % 2 == 0);
        // Furious, and the item half of a contact, are items of the sims.
        auto item = [&](std::uint32_t itemOwner, std::uint32_t guid, std::vector<std::uint16_t> values) {
            NeighborhoodItem mark;
            mark.owner = itemOwner;
            mark.ownerWord = word;
            mark.itemGuid = guid;
            mark.values = std::move(values);
            data.simItems.push_back(std::move(mark));
        };
        if (plan.flags & kContact) item(owner, 0x8FCD5705, {static_cast<std::uint16_t>(other), 24, 24, 24, 24});
        if (plan.flags & kEnemy && plan.shortTerm <= -50) {
            item(owner, 0xCF505AB0, {static_cast<std::uint16_t>(other), 100, 100, 100, 100});
            item(other, 0xEFED8EC1, {static_cast<std::uint16_t>(owner)});
        }
    }
    std::uint32_t lotId = 1;
    for (const auto& [type, lotName, lotDescription] : lots) {
        fixture::PackageBuilder lot;
        lot.Add(Key(kLotDescriptionType, lotId), fixture::LotDescriptionBytes(type, lotName, lotDescription), true);
        lot.Add(Key(0x6C589723, lotId), std::string(64, '\x01'));
        const std::string file = prefix + "_Lot" + std::to_string(lotId) + ".package";
        WriteFile(home / file, lot.Build());
        out.lots.push_back({lotId, file, type, lotName, lotDescription});
        NeighborhoodItem lotItem;
        lotItem.owner = lotId;
        lotItem.ownerWord = word;
        lotItem.itemGuid = 0xCE8408E6;
        lotItem.values = {static_cast<std::uint16_t>(lotId)};
        data.lotItems.push_back(lotItem);
        ++lotId;
    }
    // A park described in the neighborhood package itself.
    package.Add(Key(kLotDescriptionType, 90), fixture::LotDescriptionBytes(1, name + " Park", "Open to everyone"));
    out.lots.push_back({90, prefix + "_Neighborhood.package", 1, name + " Park", "Open to everyone"});
    NeighborhoodItem familyItem;
    familyItem.owner = 1;
    familyItem.ownerWord = word;
    familyItem.itemGuid = 0x8EAE367E;
    familyItem.values = {1, 2};
    data.familyItems.push_back(familyItem);
    // The order the game stores them in: by owner, each owner's first list before its second.
    std::stable_sort(data.simItems.begin(), data.simItems.end(),
                     [](const NeighborhoodItem& a, const NeighborhoodItem& b) {
                         return a.owner != b.owner ? a.owner < b.owner : (a.secondary == 0) > (b.secondary == 0);
                     });
    package.Add(Key(kNeighborhoodDataType, 1), fixture::NeighborhoodDataBytes(data), true);
    for (const HouseholdPlan& plan : households) {
        Household household;
        household.instanceId = plan.instance;
        household.lotInstance = plan.lot;
        household.houseFamilyNumber = 100 + plan.instance;
        household.funds = static_cast<std::int32_t>(plan.funds);
        household.familyFriends = plan.instance % 3;
        household.fourthValue = 7;
        fixture::HouseholdLayout layout;
        layout.version = plan.version;
        layout.lotInstance = plan.lot;
        layout.houseFamilyNumber = household.houseFamilyNumber;
        layout.funds = plan.funds;
        layout.familyFriends = household.familyFriends;
        layout.fourthValue = household.fourthValue;
        for (std::size_t i = 0; i < plans.size(); ++i) {
            if (plans[i].family != static_cast<std::int16_t>(plan.instance) || !plans[i].matchesDescription) continue;
            layout.members.push_back(GuidValue(out.sims[i].simGuid));
            household.members.push_back(out.sims[i].simGuid);
        }
        household.storedMemberCount = static_cast<std::uint32_t>(household.members.size());
        household.tailText = "A0B1";  // the fixture's first tail word, 0xA0B1C2D3
        household.tailValue1 = plan.version == 79 || plan.version >= 81 ? 0xA0B1C2D4u : 0;
        household.tailValue2 = plan.version >= 81 ? 0xA0B1C2D5u : 0;
        package.Add(Key(kHouseholdType, plan.instance), fixture::HouseholdBytes(layout), plan.instance % 2 == 1);
        if (plan.name) {
            std::vector<TextEntry> names = {{1, plan.name, ""}, {1, plan.description, ""}};
            if (plan.germanName) names.insert(names.end(), {{4, plan.germanName, ""}, {4, "", ""}});
            package.Add(Key(kTextListType, plan.instance), fixture::TextListBytes(names), plan.instance % 2 == 0);
            household.householdName = plan.name;
            household.householdDescription = plan.description;
            household.hasTextList = true;
        }
        out.households.push_back(household);
    }
    package.AddDirectory();
    WriteFile(home / (prefix + "_Neighborhood.package"), package.Build());
    WriteFile(home / (prefix + "_Neighborhood.png"), EncodePng(DrawNeighborhood(pictureSeed)));

    out.simItems = data.simItems;
    out.familyItems = data.familyItems;
    out.lotItems = data.lotItems;
    return out;
}

}  // namespace

std::vector<DemoNeighborhood> WriteDemoNeighborhoods(const fs::path& neighborhoodsFolder) {
    std::vector<DemoNeighborhood> out;
    const auto valleyTree = ValleyFamilyTree();
    out.push_back(WriteNeighborhood(neighborhoodsFolder, "N001", "Pleasant Valley", "Angenehmes Tal",
                                    "A quiet valley town with a river and a lot of gossip.", kValleySims, 1, 203,
                                    {{0, "Hart Residence", "A yellow house by the river"},
                                     {1, "Town Square", "Shops and a fountain"},
                                     {5, "Sunset Inn", "Rooms with a view of the hills"}},
                                    1, kValleyHouseholds, ValleyRelationships(), &valleyTree));
    out.push_back(WriteNeighborhood(neighborhoodsFolder, "G001", "Alderwood College", "",
                                    "A small college in the woods.", kCollegeSims, 40, 189,
                                    {{3, "Greek House", "Home of the Alpha Owls"}}, 2, kCollegeHouseholds,
                                    CollegeRelationships(), nullptr));
    return out;
}

DemoNeighborhood WriteLargeNeighborhood(const fs::path& neighborhoodsFolder, const std::string& prefix, int sims,
                                        int lots) {
    std::vector<SimPlan> plans;
    for (int i = 0; i < sims; ++i) {
        SimPlan plan = kValleySims[i % 15];
        plan.dead = false;
        plans.push_back(plan);
    }
    std::vector<std::tuple<std::uint8_t, std::string, std::string>> lotSpecs;
    for (int i = 0; i < lots; ++i) {
        lotSpecs.emplace_back(static_cast<std::uint8_t>(i % 8), "Lot " + std::to_string(i + 1), "A lot of the big town");
    }
    return WriteNeighborhood(neighborhoodsFolder, prefix, "Big Town", "", "A town of a thousand sims.", plans, 100,
                             203, lotSpecs, 3, kValleyHouseholds, {}, nullptr, true);
}

}  // namespace qh::demo
