#include "workspace/save.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include <tuple>

#include "character/character_edit.h"
#include "character/character_rules.h"
#include "character/character_fields.h"
#include "character/sim_description.h"
#include "demo_game.h"
#include "fixture/package_builder.h"
#include "fixture/resource_builders.h"
#include "package/byte_reader.h"
#include "package/extract.h"
#include "package/guid.h"
#include "package/property_set.h"
#include "package/text_list.h"
#include "platform/errors.h"
#include "support/demo_session.h"
#include "support/temp_dir.h"
#include "fixture/sim_builders.h"
#include "workspace/family_tree.h"
#include "workspace/households.h"
#include "workspace/relationships.h"
#include "workspace/loader.h"
#include "workspace/sim_items.h"
#include "workspace/sim_genes.h"
#include "workspace/sim_operations.h"
#include "support/platform_only.h"

namespace qh {
namespace {
namespace fs = std::filesystem;
using test::RewritePackage;
using test::Session;

std::map<fs::path, Bytes> Snapshot(const fs::path& folder) {
    std::map<fs::path, Bytes> files;
    for (const auto& item : fs::recursive_directory_iterator(folder)) {
        if (item.is_regular_file()) files[item.path()] = ReadFileBytes(item.path());
    }
    return files;
}

// Records what long work shows: each status with the progress maximum set for it.
class RecordingProgress final : public Progress {
public:
    void SetStatus(std::string_view text) override { steps.emplace_back(std::string(text), maximum); }
    void SetMaximum(int value) override { maximum = value; }
    void SetPosition(int) override {}
    std::vector<std::pair<std::string, int>> steps;
    int maximum = 0;
};

TEST(Save, StatusTextsAndProgressOfLoadingAndSaving) {
    Session s;
    RecordingProgress load;
    LoadNeighborhood(s.ws, *s.neighborhood, s.folder, {}, s.reporter, load);
    ASSERT_GE(load.steps.size(), 3u);
    EXPECT_EQ(load.steps[0], (std::pair<std::string, int>{"Expanding Neighborhood", 500}));
    EXPECT_EQ(load.steps[1], (std::pair<std::string, int>{"Loading Characters", 16}));
    EXPECT_EQ(load.steps[2].first, "Loading Neighborhood Data");

    RecordingProgress save;
    SaveNeighborhood(s.ws, *s.neighborhood, {}, s.reporter, save);
    const std::size_t entries = s.Index(s.ws.packagePath).size();
    ASSERT_GE(save.steps.size(), 3u);
    EXPECT_EQ(save.steps[0], (std::pair<std::string, int>{"Processing Data", 1500}));
    EXPECT_EQ(save.steps[1], (std::pair<std::string, int>{"Saving Neighborhood Data", static_cast<int>(entries)}));
    EXPECT_EQ(save.steps[2], (std::pair<std::string, int>{"Saving Character Data", 16}));
    EXPECT_EQ(save.steps.back().first, "");
}

TEST(Save, WithoutChangesRewritesOnlyTheNeighborhoodPackageUncompressed) {
    Session s(4);
    const auto before = Snapshot(s.folder);
    const Bytes names = s.Resource(s.ws.packagePath, kCatalogTextType, 1);
    const SaveResult result = s.Save();
    EXPECT_TRUE(result.Complete());
    EXPECT_EQ(result.charactersSaved, 0u);
    const auto after = Snapshot(s.folder);
    for (const auto& [file, bytes] : before) {
        if (file == s.ws.packagePath) continue;
        EXPECT_EQ(after.at(file), bytes) << file;
    }
    const Bytes package = after.at(s.ws.packagePath);
    std::vector<IndexEntry> entries;
    ReadIndex(package, PackageSource::File, entries);
    for (const IndexEntry& e : entries) {
        EXPECT_NE(e.key.typeId, kCompressedDirectoryType);
        EXPECT_FALSE(IsCompressedEntry(package, e));
    }
    // The names were not touched: every language's entry stays as the game wrote it.
    EXPECT_EQ(s.Resource(s.ws.packagePath, kCatalogTextType, 1), names);

    // Saving again changes nothing.
    s.Save();
    EXPECT_EQ(ReadFileBytes(s.ws.packagePath), package);
}

// A save the model check holds back (it would add a problem the player has not agreed to) is
// decided while the package is written: no file is replaced, not even by the expansion of the
// game's compressed package, no temporary stays behind, and every change keeps its mark.
TEST(Save, ASaveHeldForANewFindingPublishesNothingAndKeepsEveryMark) {
    Session s;
    std::vector<IndexEntry> entries;
    const Bytes compressed = ReadFileBytes(s.ws.packagePath);
    ReadIndex(compressed, PackageSource::File, entries);
    ASSERT_TRUE(std::any_of(entries.begin(), entries.end(), [&](const IndexEntry& e) { return IsCompressedEntry(compressed, e); }))
        << "the demo's package is stored compressed, as the game stores it";
    const auto before = Snapshot(s.folder);
    Character& marta = s.Sim("Marta");
    ASSERT_EQ(SetCharacterField(marta, "firstName", "Martina"), "");
    Household& household = s.ws.households[0];
    household.members.push_back(GuidFromValue(0x0BADF00D));  // no sim has this GUID
    household.householdDirty = 1;
    const auto relationshipsAsSaved = s.ws.relationshipsAsSaved;

    const SaveResult held = s.Save();
    ASSERT_EQ(held.newFindings.size(), 1u);
    EXPECT_FALSE(held.neighborhoodSaved);
    EXPECT_EQ(held.charactersSaved, 0u);
    EXPECT_EQ(Snapshot(s.folder), before) << "every file as it was, and no file more";
    EXPECT_TRUE(marta.dirty);
    EXPECT_TRUE(household.householdDirty);
    EXPECT_EQ(s.ws.relationshipsAsSaved, relationshipsAsSaved);

    SaveOptions agreed;
    agreed.allowNewFindings = true;
    EXPECT_TRUE(s.Save(agreed).Complete());
    EXPECT_FALSE(marta.dirty);
}

// After a save the records the program takes for what the file holds are the model's, with what
// the save itself changed in them (a relationship's value count, the marks), and a reload finds
// them so.
TEST(Save, TheRecordsAsSavedAreWhatTheFileHoldsAfterTheSave) {
    Session s;
    ASSERT_FALSE(s.ws.relationshipList.empty());
    s.ws.relationshipList[0].shortTerm = s.ws.relationshipList[0].shortTerm == 50 ? 40 : 50;
    // A record made here: the save gives it its resource and takes it for saved.
    bool added = false;
    for (std::size_t a = 0; a < s.ws.characters.size() && !added; ++a) {
        for (std::size_t b = 0; b < s.ws.characters.size() && !added; ++b) {
            const std::uint16_t owner = RelationshipId(s.ws.characters[a]);
            const std::uint16_t other = RelationshipId(s.ws.characters[b]);
            if (a == b || !RelationshipsBetween(s.ws, owner, other).empty()) continue;
            AddRelationship(s.ws, NewRelationshipRecord(owner, other, 0));
            added = true;
        }
    }
    ASSERT_TRUE(added);
    s.ws.households[0].funds += 1000;
    s.ws.households[0].householdDirty = 1;
    ASSERT_FALSE(s.ws.dnaList.empty());
    ASSERT_TRUE(s.ws.dnaList[0].keptAsIs.empty());
    ASSERT_GE(s.ws.dnaList.size(), 2u);
    s.ws.dnaList[0].dominantEyeColor = s.ws.dnaList[0].dominantEyeColor == s.ws.dnaList[1].dominantEyeColor
                                           ? s.ws.dnaList[1].skinTone
                                           : s.ws.dnaList[1].dominantEyeColor;
    s.ws.dnaList[0].dirty = 1;
    // A genetic record is written with its sim.
    for (Character& sim : s.ws.characters) {
        if (sim.instanceId == s.ws.dnaList[0].instanceId) sim.dirty = 1;
    }
    ASSERT_TRUE(s.Save().Complete());
    EXPECT_EQ(s.ws.relationshipsAsSaved, s.ws.relationshipList);
    EXPECT_EQ(s.ws.householdsAsSaved, s.ws.households);
    EXPECT_EQ(s.ws.dnaAsSaved, s.ws.dnaList);
    EXPECT_EQ(s.ws.simItemsAsSaved, s.ws.simItemList);
    EXPECT_FALSE(s.ws.householdsAsSaved[0].householdDirty);
    EXPECT_FALSE(s.ws.dnaAsSaved[0].dirty);
    const auto relationships = s.ws.relationshipList;
    const auto households = s.ws.households;
    const auto dna = s.ws.dnaList;
    s.ws = Workspace{};
    s.Load();
    EXPECT_EQ(s.ws.relationshipList, relationships);
    EXPECT_EQ(s.ws.households, households);
    EXPECT_EQ(s.ws.dnaList, dna);
}

TEST(Save, ASaveOfSomeRecordsKeepsTheOthersSavedAndTheItemsLayoutFollowsTheFile) {
    Session s;
    ASSERT_TRUE(s.ws.neighborhoodData);
    ASSERT_FALSE(s.ws.simItemList.empty());
    const NeighborhoodDataLayout before = *s.ws.neighborhoodData;
    const auto households = s.ws.householdsAsSaved;
    const auto dna = s.ws.dnaAsSaved;
    // An item one value longer: the sims' part of the data grows by two bytes.
    s.ws.simItemList[0].values.push_back(7);

    // A save that fails before the new file is in place leaves the layout of the file there.
    SaveOptions failing;
    failing.hook = [&](ReplaceStep step, const fs::path& target) {
        if (step == ReplaceStep::Rename && target == s.ws.packagePath) throw IoError("simulated failure");
    };
    s.Save(failing);
    EXPECT_EQ(s.ws.neighborhoodData->simsSectionEnd, before.simsSectionEnd);
    EXPECT_NE(s.ws.simItemsAsSaved, s.ws.simItemList);

    // The save that goes through takes the new layout and the items for saved; the rest, which
    // did not change, stays as it was.
    ASSERT_TRUE(s.Save().Complete());
    EXPECT_EQ(s.ws.neighborhoodData->simsSectionEnd, before.simsSectionEnd + 2);
    EXPECT_EQ(s.ws.neighborhoodData->simsSectionStart, before.simsSectionStart);
    EXPECT_EQ(s.ws.simItemsAsSaved, s.ws.simItemList);
    EXPECT_EQ(s.ws.householdsAsSaved, households);
    EXPECT_EQ(s.ws.dnaAsSaved, dna);

    // Then a family tie alone.
    ASSERT_GE(s.ws.characters.size(), 2u);
    const FamilyTie tie{RelationshipId(s.ws.characters[0]), kSpouseTie, RelationshipId(s.ws.characters[1])};
    s.ws.familyTieList.push_back(tie);
    ASSERT_TRUE(s.Save().Complete());
    EXPECT_EQ(s.ws.familyTiesAsSaved, s.ws.familyTieList);
    const auto ties = s.ws.familyTieList;
    const auto items = s.ws.simItemList;
    s.ws = Workspace{};
    s.Load();
    EXPECT_EQ(s.ws.familyTieList.size(), ties.size());
    EXPECT_NE(std::find(s.ws.familyTieList.begin(), s.ws.familyTieList.end(), tie), s.ws.familyTieList.end());
    EXPECT_EQ(s.ws.simItemList, items);
}

TEST(Save, AFirstNameRewritesThatSimsPackageAloneAndOnlyItsEnglishEntry) {
    Session s;
    Character& lily = s.Sim("Lily");
    const std::size_t entriesBefore = s.Index(s.PackageOf(lily)).size();
    const auto before = Snapshot(s.folder);
    ASSERT_EQ(SetCharacterField(lily, "firstName", "L\xC3\xADly"), "");
    const SaveResult result = s.Save();
    EXPECT_TRUE(result.Complete());
    EXPECT_EQ(result.charactersSaved, 1u);
    EXPECT_EQ(lily.dirty, 0);
    const auto after = Snapshot(s.folder);
    for (const auto& [file, bytes] : before) {
        if (file == s.ws.packagePath || file == s.PackageOf(lily)) continue;
        EXPECT_EQ(after.at(file), bytes) << file;
    }
    // Only the English first name changed; the German entries stay as they were.
    const auto names = ParseTextList(s.Resource(s.PackageOf(lily), kCatalogTextType, 1));
    ASSERT_EQ(names->entries.size(), 6u);
    EXPECT_EQ(names->entries[0].value, "L\xC3\xADly");
    EXPECT_EQ(names->entries[2].value, "Hart");
    EXPECT_EQ(names->entries[3].language, 4);
    EXPECT_EQ(names->entries[3].value, "Lilli");
    // Every resource is kept, pictures included; only the compressed-resource directory goes.
    EXPECT_EQ(s.Index(s.PackageOf(lily)).size(), entriesBefore - 1);
}

// The game keeps a name per language; the player edits the one of the game's language. Each
// list is laid out here as the game stores it: 64 bytes of name, 0xFD 0xFF, a count, then
// language, value and description, each value and description ending in a zero byte.
Bytes GameTextList(const std::vector<std::tuple<int, std::string, std::string>>& entries) {
    Bytes out(64, 0x41);  // the list's own name, never read: kept as it is
    out.push_back(0xFD);
    out.push_back(0xFF);
    out.push_back(static_cast<std::uint8_t>(entries.size()));
    out.push_back(0);
    for (const auto& [language, value, description] : entries) {
        out.push_back(static_cast<std::uint8_t>(language));
        out.insert(out.end(), value.begin(), value.end());
        out.push_back(0);
        out.insert(out.end(), description.begin(), description.end());
        out.push_back(0);
    }
    return out;
}

TEST(SaveTexts, NamesOfOtherLanguagesSurviveEverySave) {
    Session s;
    const fs::path package = s.ws.packagePath;
    const Bytes neighborhoodNames = s.Resource(package, kCatalogTextType, 1);
    const Bytes hartsNames = s.Resource(package, kTextListType, 1);
    const Bytes lilyNames = s.Resource(s.PackageOf(s.Sim("Lily")), kCatalogTextType, 1);
    ASSERT_EQ(ParseTextList(hartsNames)->entries.size(), 4u);  // "Die Harts" among them
    // Funds alone, and a skill of Lily's: no text changed, so no list is rewritten.
    ASSERT_TRUE(SetHouseholdFunds(*FindHousehold(s.ws, 1), 4242).empty());
    ASSERT_EQ(SetCharacterField(s.Sim("Lily"), "cookingSkill", "300"), "");
    ASSERT_TRUE(s.Save().Complete());
    EXPECT_EQ(s.Resource(package, kCatalogTextType, 1), neighborhoodNames);
    EXPECT_EQ(s.Resource(package, kTextListType, 1), hartsNames);
    EXPECT_EQ(s.Resource(s.PackageOf(s.Sim("Lily")), kCatalogTextType, 1), lilyNames);
}

TEST(SaveTexts, AGermanGameChangesOnlyTheGermanEntries) {
    Session s(4);
    const fs::path package = s.ws.packagePath;
    const auto before = ParseTextList(s.Resource(package, kCatalogTextType, 1));
    ASSERT_EQ(s.neighborhood->ngbdName, "Angenehmes Tal");
    SetNeighborhoodName(*s.neighborhood, "Neues Tal");
    Household& harts = *FindHousehold(s.ws, 1);
    ASSERT_EQ(harts.householdName, "Die Harts");
    RenameHousehold(harts, "Die Neuen Harts");
    ASSERT_TRUE(s.Save().Complete());

    const auto after = ParseTextList(s.Resource(package, kCatalogTextType, 1));
    ASSERT_EQ(after->entries.size(), before->entries.size());
    EXPECT_EQ(after->entries[0].value, before->entries[0].value);  // the English name stays
    EXPECT_EQ(after->entries[0].value, "Pleasant Valley");
    EXPECT_EQ(after->entries[2].value, "Neues Tal");
    const auto household = ParseTextList(s.Resource(package, kTextListType, 1));
    ASSERT_EQ(household->entries.size(), 4u);
    EXPECT_EQ(household->entries[0].value, "The Harts");
    EXPECT_EQ(household->entries[2].value, "Die Neuen Harts");

    s.Load();
    EXPECT_EQ(s.neighborhood->ngbdName, "Neues Tal");
    EXPECT_EQ(FindHousehold(s.ws, 1)->householdName, "Die Neuen Harts");
}

TEST(SaveTexts, UpdateTextListChangesOneEntryAndKeepsEveryOtherByte) {
    const Bytes stored = GameTextList({{1, "Ann", "d1"}, {1, "About", ""}, {1, "Lee", ""}, {3, "Anne", "d3"},
                                       {3, "", ""}, {3, "Lie", ""}, {9, "Anna", ""}});
    Bytes trailing = stored;
    trailing.push_back(0x77);  // something after the entries: carried
    const std::vector<std::string> same{"Ann", "About", "Lee"};
    Bytes out;
    EXPECT_FALSE(UpdateTextList(stored, same, TextListLayout::Character, 1, out));
    EXPECT_TRUE(out.empty());

    // English game, new last name: only language 1's third entry differs.
    const std::vector<std::string> renamed{"Ann", "About", "Leigh"};
    ASSERT_TRUE(UpdateTextList(trailing, renamed, TextListLayout::Character, 1, out));
    const Bytes want = GameTextList({{1, "Ann", "d1"}, {1, "About", ""}, {1, "Leigh", ""}, {3, "Anne", "d3"},
                                     {3, "", ""}, {3, "Lie", ""}, {9, "Anna", ""}});
    Bytes wantTrailing = want;
    wantTrailing.push_back(0x77);
    EXPECT_EQ(out, wantTrailing);

    // Game in language 3, where the description is empty and read from English: the player's new
    // description goes into language 3's entry, English stays.
    out.clear();
    const std::vector<std::string> described{"Anne", "Neu", "Lie"};
    ASSERT_TRUE(UpdateTextList(stored, described, TextListLayout::Character, 3, out));
    EXPECT_EQ(out, GameTextList({{1, "Ann", "d1"}, {1, "About", ""}, {1, "Lee", ""}, {3, "Anne", "d3"},
                                 {3, "Neu", ""}, {3, "Lie", ""}, {9, "Anna", ""}}));

    // Language 5 has no entries: they are appended after the others.
    out.clear();
    const std::vector<std::string> fifth{"Ana", "About", "Lee"};
    ASSERT_TRUE(UpdateTextList(stored, fifth, TextListLayout::Character, 5, out));
    EXPECT_EQ(out, GameTextList({{1, "Ann", "d1"}, {1, "About", ""}, {1, "Lee", ""}, {3, "Anne", "d3"},
                                 {3, "", ""}, {3, "Lie", ""}, {9, "Anna", ""}, {5, "Ana", ""}}));

    // An emptied text in language 3 would read back as the English one: both are emptied.
    out.clear();
    const std::vector<std::string> emptied{"Anne", "", "Lie"};
    ASSERT_TRUE(UpdateTextList(stored, emptied, TextListLayout::Character, 3, out));
    std::vector<std::string> back(3);
    ReadTextList(out, 3, back);
    EXPECT_EQ(back, emptied);
    ReadTextList(out, 1, back);
    EXPECT_EQ(back, (std::vector<std::string>{"Ann", "", "Lee"}));
}

TEST(Save, ALifeStageChangeDropsThePicturesAndShowsThePlaceholder) {
    Session s;
    Character& theo = s.Sim("Theo");
    ASSERT_TRUE(theo.portrait);
    SetLifeStagePosition(theo, false, 2);  // Child, as the life-stage list sets it
    EXPECT_EQ(theo.needsPackageRebuild, 1);
    s.Save();
    EXPECT_FALSE(theo.portrait);
    EXPECT_EQ(theo.needsPackageRebuild, 0);
    for (const IndexEntry& e : s.Index(s.PackageOf(theo))) EXPECT_NE(e.key.typeId, 0x856DDBAC);
    s.Load();
    EXPECT_FALSE(SimPortrait(s.ws, s.Sim("Theo")));
    EXPECT_EQ(s.Sim("Theo").lifeStage, 3);
}

TEST(Save, OnlyChangedSimsDescriptionsChangeAndReadOnlyFieldsSurvive) {
    Session s;
    Character& grace = s.Sim("Grace");
    const Bytes graceBefore = s.Resource(s.ws.packagePath, kSimDescriptionType, grace.instanceId);
    const Bytes martaBefore = s.Resource(s.ws.packagePath, kSimDescriptionType, s.Sim("Marta").instanceId);
    SetCharacterField(grace, "cookingSkill", "555");
    grace.species = 99;
    grace.bodyFlags = 1234;
    s.Save();
    EXPECT_EQ(s.Resource(s.ws.packagePath, kSimDescriptionType, s.Sim("Marta").instanceId), martaBefore);
    const Bytes graceAfter = s.Resource(s.ws.packagePath, kSimDescriptionType, grace.instanceId);
    ASSERT_EQ(graceAfter.size(), graceBefore.size());
    EXPECT_EQ(ByteReader(graceAfter).ReadU16(0x20), 555);
    EXPECT_EQ(ByteReader(graceAfter).ReadU16(0x180), ByteReader(graceBefore).ReadU16(0x180));
    EXPECT_EQ(ByteReader(graceAfter).ReadU16(0xAE), ByteReader(graceBefore).ReadU16(0xAE));
}

TEST(Save, ColoursArePatchedIntoTheCharacterPackage) {
    Session s;
    Character& owen = s.Sim("Owen");
    SetCharacterField(owen, "hairColor", "00000003-0000-0000-0000-000000000000");
    SetCharacterField(owen, "eyeColor", "00000002-0000-0000-0000-000000000000");
    // The stored colours are 36 bytes long, so they are overwritten in place (the mismatching
    // lengths are the property-set tests' cases).
    SimProperties stored;
    const Bytes properties = s.Resource(s.PackageOf(owen), kSimPropertiesType, 1);
    ReadSimProperties(properties, stored);
    EXPECT_EQ(stored.eyeColor.size(), 36u);
    s.reporter.messages.clear();
    s.Save();
    SimProperties after;
    ReadSimProperties(s.Resource(s.PackageOf(owen), kSimPropertiesType, 1), after);
    EXPECT_EQ(after.hairColor, "00000003-0000-0000-0000-000000000000");
    EXPECT_EQ(after.eyeColor, "00000002-0000-0000-0000-000000000000");
    EXPECT_TRUE(s.reporter.messages.empty());
}

TEST(Save, RefusesToOverwriteAFileChangedSinceLoading) {
    Session s;
    SetCharacterField(s.Sim("Marta"), "cookingSkill", "1");
    const fs::path marta = s.PackageOf(s.Sim("Marta"));
    // The game saved meanwhile.
    Bytes newer = ReadFileBytes(marta);
    newer.push_back(0);
    AtomicReplace(marta, newer);
    const Bytes neighborhood = ReadFileBytes(s.ws.packagePath);
    SaveResult result = s.Save();
    ASSERT_EQ(result.changedOnDisk, std::vector<fs::path>{marta});
    EXPECT_FALSE(result.neighborhoodSaved);
    EXPECT_EQ(ReadFileBytes(s.ws.packagePath), neighborhood);
    EXPECT_EQ(ReadFileBytes(marta), newer);

    SaveOptions overwrite;
    overwrite.overwriteNewerFiles = true;
    result = s.Save(overwrite);
    EXPECT_TRUE(result.neighborhoodSaved);
    EXPECT_EQ(s.Sim("Marta").dirty, 0);
    // After its own save the editor knows the files again.
    EXPECT_TRUE(FilesChangedSinceLoad(s.ws).empty());
}

TEST(Save, ACharacterPackageThatCannotBeRebuiltKeepsItsMarks) {
    Session s;
    Character& rex = s.Sim("Rex");
    Character& ana = s.Sim("Ana");
    SetCharacterField(rex, "fatness", "10");
    SetCharacterField(ana, "fatness", "20");
    Bytes broken = ReadFileBytes(s.PackageOf(rex));
    broken.resize(100);
    AtomicReplace(s.PackageOf(rex), broken);
    SaveOptions overwrite;
    overwrite.overwriteNewerFiles = true;
    s.reporter.messages.clear();
    const SaveResult result = s.Save(overwrite);
    EXPECT_TRUE(result.neighborhoodSaved);
    EXPECT_EQ(result.failedCharacterFiles, std::vector<std::string>{rex.packageFile});
    EXPECT_EQ(rex.dirty, 1);
    EXPECT_EQ(ana.dirty, 0);
    ASSERT_FALSE(s.reporter.messages.empty());
    EXPECT_NE(s.reporter.messages.back().text.find(rex.packageFile), std::string::npos);
    EXPECT_EQ(ReadFileBytes(s.PackageOf(rex)), broken);
}

TEST(Save, AnInterruptedSaveLeavesEveryPackageReadable) {
    // Fail the n-th file operation of a save, for every n, then load everything again: each
    // package is either as it was or as it was meant to be.
    for (int failAt = 0;; ++failAt) {
        SCOPED_TRACE(failAt);
        Session s;
        Character& marta = s.Sim("Marta");
        SetCharacterField(marta, "cookingSkill", "900");
        SetCharacterField(marta, "firstName", "Martha");
        SetLifeStagePosition(s.Sim("Theo"), false, 2);  // Child
        SetNeighborhoodName(*s.neighborhood, "Pleasanter Valley");
        int operations = 0;
        SaveOptions options;
        options.hook = [&](ReplaceStep, const fs::path&) {
            if (operations++ == failAt) throw IoError("simulated failure");
        };
        s.Save(options);
        const bool finished = operations <= failAt;

        s.reporter.messages.clear();
        s.Load();
        EXPECT_TRUE(s.reporter.messages.empty()) << s.reporter.messages.front().text;
        ASSERT_EQ(s.ws.characters.size(), 16u);
        const std::string name = s.neighborhood->ngbdName;
        EXPECT_TRUE(name == "Pleasant Valley" || name == "Pleasanter Valley") << name;
        for (const Character& sim : s.ws.characters) {
            if (sim.packageFile != "N001_User00000.package") continue;
            EXPECT_TRUE(sim.firstName == "Marta" || sim.firstName == "Martha");
            EXPECT_TRUE(sim.cookingSkill == 900 || sim.cookingSkill == s.game.neighborhoods[0].sims[0].cookingSkill);
        }
        if (finished) {
            EXPECT_EQ(name, "Pleasanter Valley");
            EXPECT_EQ(s.Sim("Martha").cookingSkill, 900);
            EXPECT_EQ(s.Sim("Theo").lifeStage, 3);
            EXPECT_GT(failAt, 6);
            break;
        }
    }
}

TEST(Save, EndToEndEveryFieldSurvivesASaveAndReload) {
    Session s;
    std::map<std::string, Character> expected;
    int n = 0;
    for (Character& sim : s.ws.characters) {
        if (sim.instanceId == 0) continue;
        ++n;
        SetCharacterField(sim, "nice", std::to_string(100 + n));
        SetCharacterField(sim, "careerGuid", "0A408FD0");
        SetCharacterField(sim, "interestSciFi", std::to_string(n * 3));
        SetCharacterField(sim, "lastName", sim.lastName + "-" + std::to_string(n));
        if (sim.sdscVersion == 0x36) SetCharacterField(sim, "reputation", "-42");
        expected[sim.packageFile] = sim;
    }
    ASSERT_TRUE(s.Save().Complete());
    s.Load();
    for (const Character& sim : s.ws.characters) {
        if (!expected.count(sim.packageFile)) continue;
        const Character& want = expected.at(sim.packageFile);
        for (const CharacterField& field : CharacterFields()) {
            if (field.name == "dirty" || field.name == "careerGuidAtLoad" || field.name == "needsPackageRebuild") continue;
            std::visit([&](auto member) { EXPECT_EQ(sim.*member, want.*member) << sim.packageFile << " " << field.name; },
                       field.member);
        }
        EXPECT_EQ(sim.careerGuidAtLoad, want.careerGuid);
    }
}

TEST(SaveHouseholds, OnlyChangedHouseholdsAreRewrittenAndTheRestStayByteForByte) {
    Session s;
    const fs::path package = s.ws.packagePath;
    std::map<std::uint32_t, Bytes> before;
    for (std::uint32_t instance = 1; instance <= 5; ++instance) before[instance] = s.Resource(package, kHouseholdType, instance);
    const Bytes namesBefore = s.Resource(package, kTextListType, 2);
    // The Harts (version 85): new funds and Ana Moreno moved in from household 4 (version 79).
    Household& harts = *FindHousehold(s.ws, 1);
    ASSERT_TRUE(SetHouseholdFunds(harts, 777).empty());
    RenameHousehold(harts, "The New Harts");
    MoveIn(s.ws, s.Sim("Ana"), harts);
    const SaveResult result = s.Save();
    ASSERT_TRUE(result.Complete());
    for (const Household& household : s.ws.households) EXPECT_EQ(household.householdDirty, 0);

    EXPECT_EQ(s.Resource(package, kHouseholdType, 2), before[2]);
    EXPECT_EQ(s.Resource(package, kHouseholdType, 3), before[3]);
    EXPECT_EQ(s.Resource(package, kHouseholdType, 5), before[5]);
    EXPECT_EQ(s.Resource(package, kTextListType, 2), namesBefore);
    const Bytes harts85 = s.Resource(package, kHouseholdType, 1);
    const ByteReader in(harts85);
    // Bytes 0..27 as they were (16..23 are version 85's own), funds at 28, friends and fourth
    // value as they were, one member more, the 12-byte tail as it was.
    EXPECT_TRUE(std::equal(harts85.begin(), harts85.begin() + 28, before[1].begin()));
    EXPECT_EQ(in.ReadU32(28), 777u);
    EXPECT_TRUE(std::equal(harts85.begin() + 32, harts85.begin() + 40, before[1].begin() + 32));
    EXPECT_EQ(harts85.size(), before[1].size() + 4);
    EXPECT_TRUE(std::equal(harts85.end() - 12, harts85.end(), before[1].end() - 12));
    const Bytes moreno = s.Resource(package, kHouseholdType, 4);
    EXPECT_EQ(moreno.size(), before[4].size() - 4);  // Ana left

    s.ws = Workspace{};
    s.Load();
    const Household& reloaded = *FindHousehold(s.ws, 1);
    EXPECT_EQ(reloaded.funds, 777);
    EXPECT_EQ(reloaded.householdName, "The New Harts");
    EXPECT_EQ(reloaded.members.back(), s.Sim("Ana").simGuid);
    EXPECT_EQ(s.Sim("Ana").familyNumber, 1);  // the sim's description agrees
    EXPECT_EQ(FindHousehold(s.ws, 4)->members.size(), 1u);
}

// Every FAMI resource of one instance id, in index order, as the package now holds them.
std::vector<Bytes> HouseholdResources(const fs::path& package, std::uint32_t instance) {
    SilentReporter quiet;
    const Bytes image = ExpandImage(ReadFileBytes(package), quiet);
    std::vector<IndexEntry> entries;
    ReadIndex(image, PackageSource::Image, entries);
    std::vector<Bytes> found;
    for (const IndexEntry& e : entries) {
        if (e.key.typeId != kHouseholdType || e.key.instanceId != instance) continue;
        const auto span = ByteReader(image).Slice(e.offset, e.size);
        found.emplace_back(span.begin(), span.end());
    }
    return found;
}

// A package holding two households under one instance id (the Harts' resource twice, the second
// with other funds): each is written from the record read from it, and when the first cannot be
// read the second is still saved and the first carried as it is.
TEST(SaveHouseholds, TwoResourcesOfOneInstanceAreEachWrittenFromTheirOwnRecord) {
    for (const bool firstReadable : {true, false}) {
        SCOPED_TRACE(firstReadable ? "both readable" : "the first cut short");
        Session s;
        const fs::path package = s.ws.packagePath;
        Bytes first = s.Resource(package, kHouseholdType, 1);
        Bytes second = first;
        StoreU32(second, 28, 4242);  // version 85: the funds at 28
        if (!firstReadable) first.resize(20);
        test::RewritePackage(package, [&](const IndexEntry& e, Bytes& content) {
            if (e.key.typeId == kHouseholdType && e.key.instanceId == 1) content = first;
        }, {{fixture::Key(kHouseholdType, 1), second}});
        s.ws = Workspace{};
        s.Load();
        Household* copy = FindStoredHousehold(s.ws, 1, 1);
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->funds, 4242);
        EXPECT_EQ(FindStoredHousehold(s.ws, 1, 0) != nullptr, firstReadable);
        ASSERT_TRUE(SetHouseholdFunds(*copy, 5151).empty());
        ASSERT_TRUE(s.Save().Complete());
        const auto stored = HouseholdResources(package, 1);
        ASSERT_EQ(stored.size(), 2u);
        EXPECT_EQ(stored[0], first);
        EXPECT_EQ(ByteReader(stored[1]).ReadU32(28), 5151u);
        EXPECT_EQ(stored[1].size(), second.size());
    }
}

TEST(SaveHouseholds, ARenameChangesOnlyTheEntriesOfTheGamesLanguage) {
    for (int language : {1, 4}) {
        SCOPED_TRACE(language);
        Session s(language);
        Household& okafor = *FindHousehold(s.ws, 2);
        RenameHousehold(okafor, "Okafors");
        ASSERT_TRUE(s.Save().Complete());
        const auto list = ParseTextList(s.Resource(s.ws.packagePath, kTextListType, 2));
        ASSERT_TRUE(list.has_value());
        std::vector<std::pair<int, std::string>> entries;
        for (const TextEntry& entry : list->entries) entries.emplace_back(entry.language, entry.value);
        const std::string description = okafor.householdDescription;
        // Only the language being written changes: in a German game the English name stays, and
        // the German entry the list lacked is added.
        if (language == 1) {
            EXPECT_EQ(entries, (std::vector<std::pair<int, std::string>>{{1, "Okafors"}, {1, description}}));
        } else {
            EXPECT_EQ(entries, (std::vector<std::pair<int, std::string>>{
                                   {1, "Okafor Family"}, {1, description}, {4, "Okafors"}}));
        }
        s.Load();
        EXPECT_EQ(FindHousehold(s.ws, 2)->householdName, "Okafors");
        EXPECT_EQ(FindHousehold(s.ws, 2)->householdDescription, description);
    }
}

TEST(SaveHouseholds, AHouseholdWithoutATextListGetsNoneAndADamagedOneIsCarried) {
    Session s;
    Household& lindqvist = *FindHousehold(s.ws, 3);
    EXPECT_FALSE(lindqvist.hasTextList);
    ASSERT_TRUE(SetHouseholdFunds(lindqvist, 1).empty());
    ASSERT_TRUE(s.Save().Complete());
    EXPECT_TRUE(s.Resource(s.ws.packagePath, kTextListType, 3).empty());
    EXPECT_EQ(ByteReader(s.Resource(s.ws.packagePath, kHouseholdType, 3)).ReadU32(20 + 4), 1u);  // version 81: V = 20

    // A household resource that cannot be read is reported with its file, left out and kept.
    RewritePackage(s.ws.packagePath, [](const IndexEntry& entry, Bytes& content) {
        if (entry.key.typeId == kHouseholdType && entry.key.instanceId == 2) content.resize(30);
    });
    const Bytes damaged = s.Resource(s.ws.packagePath, kHouseholdType, 2);
    s.ws = Workspace{};
    s.reporter.messages.clear();
    s.Load();
    ASSERT_EQ(s.reporter.messages.size(), 1u);
    EXPECT_NE(s.reporter.messages[0].text.find("household 00000002 of N001_Neighborhood.package"), std::string::npos);
    EXPECT_EQ(FindHousehold(s.ws, 2), nullptr);
    RenameHousehold(*FindHousehold(s.ws, 1), "Still Harts");
    ASSERT_TRUE(s.Save().Complete());
    EXPECT_EQ(s.Resource(s.ws.packagePath, kHouseholdType, 2), damaged);
}

TEST(SaveNeighborhoodData, AForcedSaveWritesTheEditsOntoTheFileTheGameSaved) {
    Session s;
    Character& marta = s.Sim("Marta");
    ASSERT_TRUE(SetDeadMark(s.ws, marta, true));
    // Meanwhile the game saved the neighborhood with a lot item more, which moves the sims'
    // section of the neighborhood data.
    const demo::DemoNeighborhood& written = s.game.neighborhoods[0];
    fixture::NeighborhoodDataPlan plan;
    plan.lotItems = written.lotItems;
    NeighborhoodItem lotItem = plan.lotItems.front();
    lotItem.owner = 77;  // a lot of its own, after the others
    lotItem.values = {9, 9, 9, 9, 9, 9};
    plan.lotItems.push_back(lotItem);
    plan.familyItems = written.familyItems;
    plan.simItems = written.simItems;
    RewritePackage(s.ws.packagePath, [&](const IndexEntry& entry, Bytes& content) {
        if (entry.key.typeId == kNeighborhoodDataType) content = fixture::NeighborhoodDataBytes(plan);
    });
    EXPECT_FALSE(s.Save().neighborhoodSaved);  // refused until told to overwrite
    SaveOptions force;
    force.overwriteNewerFiles = true;
    const SaveResult result = s.Save(force);
    EXPECT_TRUE(result.neighborhoodSaved);
    EXPECT_TRUE(result.Complete()) << "a forced save that wrote everything is complete";
    s.ws = Workspace{};
    s.reporter.messages.clear();
    s.Load();
    EXPECT_TRUE(s.reporter.messages.empty());
    ASSERT_TRUE(s.ws.neighborhoodData.has_value()) << "the resource still reads";
    EXPECT_EQ(s.ws.lotItemList, plan.lotItems);
    EXPECT_TRUE(IsDead(s.ws, s.Sim("Marta")));
}

// The player changes one level of Marta's (0x10) feelings for Owen (0x11) and gives Pablo (0x1D)
// Owen as his second parent; meanwhile the game saves: Owen's long-term level in Marta's record
// and Marta's short-term level for Lily (0x12) change, a relationship of its own appears, the
// neighborhood is renamed and two sims become siblings. The forced save puts the player's edits
// onto the file as the game left it, and drops none of the game's.
TEST(SaveRelationships, AForcedSaveAppliesOnlyThePlayersEditsOntoTheFileAsItIsNow) {
    Session s;
    const std::uint32_t martaOwen = RelationshipInstance(0x10, 0x11);
    const std::uint32_t martaLily = RelationshipInstance(0x10, 0x12);
    const std::uint32_t gamesOwn = RelationshipInstance(0x13, 0x1E);
    ASSERT_TRUE(RelationshipsBetween(s.ws, 0x13, 0x1E).empty());
    s.ws.relationshipList[RelationshipsBetween(s.ws, 0x10, 0x11)[0]].shortTerm = -20;
    const std::size_t pablo = *FindSimByFile(s.ws, "N001_User00013.package");
    const std::size_t owen = *FindSimByFile(s.ws, "N001_User00001.package");
    ASSERT_TRUE(ChangeFamilyTie(s.ws, pablo, FamilySlot::SecondParent, owen));

    // The game's save: values 0 short-term, 1 flags, 2 long-term in each record.
    auto value = [](Bytes& record, std::size_t index, std::uint32_t v) { StoreU32(record, 8 + 4 * index, v); };
    test::RewritePackage(s.ws.packagePath, [&](const IndexEntry& e, Bytes& content) {
        if (e.key.typeId == kRelationshipType && e.key.instanceId == martaOwen) value(content, 2, 77);
        if (e.key.typeId == kRelationshipType && e.key.instanceId == martaLily) value(content, 0, 55);
        if (e.key.typeId == kCatalogTextType && e.key.instanceId == 1) {
            content = fixture::TextListBytes({{1, "Game Valley", ""}, {1, "Where the game went on", ""}});
        }
        if (e.key.typeId == kFamilyTiesType) {
            std::vector<FamilyTie> ties;
            ReadFamilyTies(content, ties);
            std::vector<fixture::FamilyTiesBlock> blocks;
            for (const FamilyTie& tie : ties) {
                if (blocks.empty() || blocks.back().sim != tie.simId) blocks.push_back({tie.simId, 1, {}});
                blocks.back().ties.emplace_back(tie.tieType, tie.relatedId);
            }
            for (const auto& [sim, related] : {std::pair<std::uint16_t, std::uint16_t>{0x13, 0x1E}, {0x1E, 0x13}}) {
                auto block = std::find_if(blocks.begin(), blocks.end(), [sim](const auto& b) { return b.sim == sim; });
                if (block == blocks.end()) block = blocks.insert(blocks.end(), {sim, 1, {}});
                block->ties.emplace_back(kSiblingTie, related);
            }
            content = fixture::FamilyTiesBytes(1, blocks);
        }
    }, {{fixture::Key(kRelationshipType, gamesOwn), fixture::RelationshipBytes(2, {5, 0, 6})}});

    EXPECT_FALSE(s.Save().neighborhoodSaved);  // asked first
    SaveOptions force;
    force.overwriteNewerFiles = true;
    s.reporter.messages.clear();
    const SaveResult forced = s.Save(force);
    ASSERT_TRUE(forced.Complete()) << (s.reporter.messages.empty() ? "" : s.reporter.messages.back().text);
    s.ws = Workspace{};
    s.Load();
    const RelationshipRecord& mine = s.ws.relationshipList[RelationshipsBetween(s.ws, 0x10, 0x11)[0]];
    EXPECT_EQ(mine.shortTerm, -20);  // the player's edit
    EXPECT_EQ(mine.longTerm, 77);    // the game's, in the same record
    EXPECT_EQ(s.ws.relationshipList[RelationshipsBetween(s.ws, 0x10, 0x12)[0]].shortTerm, 55);
    ASSERT_EQ(RelationshipsBetween(s.ws, 0x13, 0x1E).size(), 1u);
    EXPECT_EQ(s.ws.relationshipList[RelationshipsBetween(s.ws, 0x13, 0x1E)[0]].longTerm, 6);
    EXPECT_EQ(s.neighborhood->ngbdName, "Game Valley");
    const FamilyView pablos = ShowFamily(s.ws, s.ws.characters[pablo]);
    EXPECT_EQ(pablos.secondParent, owen);
    const auto has = [&](FamilyTie tie) {
        return std::find(s.ws.familyTieList.begin(), s.ws.familyTieList.end(), tie) != s.ws.familyTieList.end();
    };
    EXPECT_TRUE(has({0x13, kSiblingTie, 0x1E}));
    EXPECT_TRUE(has({0x1E, kSiblingTie, 0x13}));
}

// The player renames Marta, raises her cooking, changes one of her items and her household's
// funds; meanwhile the game saves her nice level, her last name and hair colour, another of her
// items, an item of its own, and a new name for her household. The forced save writes the
// player's changes and keeps every one of the game's, within the same sim, household and items.
TEST(Save, AForcedSaveKeepsTheGamesChangesWithinTheRecordsThePlayerEdited) {
    Session s;
    Character& marta = s.Sim("Marta");
    const Character martaAtLoad = marta;
    const fs::path martaPackage = s.PackageOf(marta);
    std::vector<std::size_t> hers;
    for (std::size_t i = 0; i < s.ws.simItemList.size(); ++i) {
        if (s.ws.simItemList[i].owner == marta.instanceId && !s.ws.simItemList[i].values.empty()) hers.push_back(i);
    }
    ASSERT_GE(hers.size(), 2u) << "the demo gives Marta two items with values";
    const std::vector<NeighborhoodItem> loadedItems = s.ws.simItemList;
    Household& family = *std::find_if(s.ws.households.begin(), s.ws.households.end(),
                                      [&](const Household& h) { return h.instanceId == static_cast<std::uint32_t>(marta.familyNumber); });
    ASSERT_TRUE(family.hasTextList);
    const std::int32_t funds = family.funds + 1234;
    const std::string familyDescription = family.householdDescription;
    const std::uint32_t familyInstance = family.instanceId;  // the record itself goes with the reload

    marta.firstName = "Martina";
    marta.cookingSkill = 777;
    marta.dirty = 1;
    s.ws.simItemList[hers[0]].values[0] = 4321;
    family.funds = funds;
    family.householdDirty = 1;

    // The game's save. Description words at their places in the resource: nice at 0x10.
    fixture::NeighborhoodDataPlan plan;
    const demo::DemoNeighborhood& written = s.game.neighborhoods[0];
    plan.lotItems = written.lotItems;
    plan.familyItems = written.familyItems;
    plan.simItems = written.simItems;
    const std::size_t gamesEdit = static_cast<std::size_t>(
        std::find(plan.simItems.begin(), plan.simItems.end(), loadedItems[hers[1]]) - plan.simItems.begin());
    ASSERT_LT(gamesEdit, plan.simItems.size());
    plan.simItems[gamesEdit].values[0] = 999;
    NeighborhoodItem gamesOwn = plan.simItems[gamesEdit];
    gamesOwn.itemGuid = 0x0BADF00D;
    gamesOwn.values = {1, 2, 3};
    plan.simItems.push_back(gamesOwn);
    RewritePackage(s.ws.packagePath, [&](const IndexEntry& e, Bytes& content) {
        if (e.key.typeId == kNeighborhoodDataType) content = fixture::NeighborhoodDataBytes(plan);
        if (e.key.typeId == kSimDescriptionType && StoredDescriptionGuid(content) == martaAtLoad.simGuid) {
            StoreU16(content, 0x10, 555);
        }
        if (e.key.typeId == kTextListType && e.key.instanceId == familyInstance) {
            content = fixture::TextListBytes({{1, "The Game's Harts", ""}, {1, familyDescription, ""}});
        }
    });
    const std::string hair = "01234567-89ab-cdef-0123-456789abcdef";
    ASSERT_EQ(martaAtLoad.hairColor.size(), hair.size());
    RewritePackage(martaPackage, [&](const IndexEntry& e, Bytes& content) {
        if (e.key.typeId == kCatalogTextType) {
            content = fixture::TextListBytes({{1, martaAtLoad.firstName, ""}, {1, martaAtLoad.description, ""},
                                              {1, "Gamename", ""}});
        }
        if (e.key.typeId == kSimPropertiesType) {
            // The value follows its name ("haircolor"); another colour may hold the same text.
            const std::string name = "haircolor";
            const auto named = std::search(content.begin(), content.end(), name.begin(), name.end());
            const auto at = std::search(named, content.end(), martaAtLoad.hairColor.begin(), martaAtLoad.hairColor.end());
            if (at != content.end()) std::copy(hair.begin(), hair.end(), at);
        }
    });

    EXPECT_FALSE(s.Save().neighborhoodSaved);  // asked first
    SaveOptions force;
    force.overwriteNewerFiles = true;
    s.reporter.messages.clear();
    const SaveResult forced = s.Save(force);
    ASSERT_TRUE(forced.Complete()) << (s.reporter.messages.empty() ? "" : s.reporter.messages.back().text);

    s.ws = Workspace{};
    s.Load();
    const Character& now = s.Sim("Martina");
    EXPECT_EQ(now.cookingSkill, 777);
    EXPECT_EQ(now.nice, 555);
    EXPECT_EQ(now.lastName, "Gamename");
    EXPECT_EQ(now.hairColor, hair);
    EXPECT_EQ(now.eyeColor, martaAtLoad.eyeColor);
    const Household& household = *FindHousehold(s.ws, familyInstance);
    EXPECT_EQ(household.funds, funds);
    EXPECT_EQ(household.householdName, "The Game's Harts");
    // An item is found again by its owner, list, GUID and place among the owner's items of that GUID.
    auto place = [](const std::vector<NeighborhoodItem>& list, std::size_t index) {
        std::size_t n = 0;
        for (std::size_t i = 0; i < index; ++i) {
            n += list[i].owner == list[index].owner && list[i].itemGuid == list[index].itemGuid &&
                 list[i].secondary == list[index].secondary;
        }
        return n;
    };
    auto item = [&](const NeighborhoodItem& like, std::size_t nth) {
        std::size_t seen = 0;
        for (const NeighborhoodItem& i : s.ws.simItemList) {
            if (i.owner == like.owner && i.itemGuid == like.itemGuid && i.secondary == like.secondary && seen++ == nth) {
                return i;
            }
        }
        return NeighborhoodItem{};
    };
    EXPECT_EQ(item(loadedItems[hers[0]], place(loadedItems, hers[0])).values.at(0), 4321);
    EXPECT_EQ(item(loadedItems[hers[1]], place(loadedItems, hers[1])).values.at(0), 999);
    EXPECT_EQ(item(gamesOwn, 0).values, gamesOwn.values);
}

// With the neighborhood data unreadable the save carries it as it is: every edit of items (each
// operation that says it needs them, and Contact, which is a flag and an item) is refused with
// the reason before anything changes, so nothing is reported saved that the file never gets.
TEST(SaveNeighborhoodData, WithTheDataUnreadableEveryItemEditIsRefusedWithTheReason) {
    Session s;
    test::RewritePackage(s.ws.packagePath, [](const IndexEntry& e, Bytes& content) {
        if (e.key.typeId == kNeighborhoodDataType) content.resize(10);
    });
    s.ws = Workspace{};
    s.Load();
    ASSERT_FALSE(s.ws.neighborhoodData);
    const std::string reason = ItemsRefusal(s.ws);
    EXPECT_NE(reason.find(s.ws.packagePath.filename().string()), std::string::npos) << reason;
    GameEnvironment env;
    SimOperationContext context{s.ws, env, true};
    Character& marta = s.Sim("Marta");
    const Workspace before = s.ws;
    std::size_t refused = 0;
    for (const SimOperation& operation : SimOperations()) {
        if (!operation.needsItems) continue;
        SCOPED_TRACE(std::string(operation.name));
        EXPECT_EQ(ApplySimOperation(operation, context, marta, "17=on"), reason);
        ++refused;
    }
    EXPECT_GE(refused, 8u);  // the item operations, the dead mark, Furious and Contact
    EXPECT_EQ(ApplySimOperation(*FindSimOperation("rel-flag"), context, marta, "17:Contact=on"), reason);
    EXPECT_EQ(s.ws.simItemList, before.simItemList);
    EXPECT_EQ(s.ws.relationshipList, before.relationshipList);
    EXPECT_EQ(ApplySimOperation(*FindSimOperation("rel-flag"), context, marta, "17:Friend=on"), "");  // not an item
}

TEST(SaveNeighborhoodData, ASecondResourceIsCarriedAndItsItemsNeverDouble) {
    Session s;
    const Bytes data = s.Resource(s.ws.packagePath, kNeighborhoodDataType, 1);
    RewritePackage(s.ws.packagePath, [](const IndexEntry&, Bytes&) {}, {{{kNeighborhoodDataType, 0, 2, 0}, data}});
    s.ws = Workspace{};
    s.Load();
    const auto items = s.ws.simItemList;
    EXPECT_EQ(items, s.game.neighborhoods[0].simItems);
    for (int save = 0; save < 2; ++save) {
        s.Sim("Marta").dirty = 1;
        ASSERT_TRUE(s.Save().Complete());
        s.ws = Workspace{};
        s.Load();
        EXPECT_EQ(s.ws.simItemList, items) << "save " << save;
    }
    EXPECT_EQ(s.Resource(s.ws.packagePath, kNeighborhoodDataType, 2), data);
}

TEST(SaveDescriptions, OneTooShortToRewriteIsKeptAndTheSaveFinishes) {
    Session s;
    const Bytes tiny = {0x01, 0x02, 0x03};
    RewritePackage(s.ws.packagePath, [](const IndexEntry&, Bytes&) {},
                   {{{kSimDescriptionType, 0, 0x99, 0}, tiny}, {{kSimDescriptionType, 0, 0x9A, 0}, tiny}});
    s.ws = Workspace{};
    s.Load();
    s.reporter.messages.clear();
    SetWord(s.Sim("Marta"), &Character::fatness, 444);
    const SaveResult result = s.Save();
    EXPECT_TRUE(result.Complete());
    ASSERT_EQ(s.reporter.messages.size(), 1u) << "said once for the two";
    EXPECT_NE(s.reporter.messages[0].text.find("could not be rewritten"), std::string::npos);
    EXPECT_EQ(s.Resource(s.ws.packagePath, kSimDescriptionType, 0x99), tiny);
    s.ws = Workspace{};
    s.Load();
    EXPECT_EQ(s.Sim("Marta").fatness, 444);
}

TEST(SaveDescriptions, ThePortraitIsFoundAgainAfterItsPackageIsRebuilt) {
    Session s;
    Character& marta = s.Sim("Marta");
    const auto before = SimPortrait(s.ws, marta);
    ASSERT_TRUE(before.has_value());
    const IndexEntry oldEntry = *marta.portrait;
    marta.firstName = "Martha-Louise of the Valley";  // a longer name moves what follows it
    marta.dirty = 1;
    ASSERT_TRUE(s.Save().Complete());
    ASSERT_TRUE(marta.portrait.has_value());
    EXPECT_NE(marta.portrait->offset, oldEntry.offset);
    const auto after = SimPortrait(s.ws, marta);
    ASSERT_TRUE(after.has_value());
    EXPECT_EQ(after->pixels, before->pixels);
}

TEST(SaveDescriptions, AFileTheGameRewritesDuringTheSaveIsLeftAsTheGameWroteIt) {
    Session s;
    Character& marta = s.Sim("Marta");
    marta.firstName = "Martina";
    marta.dirty = 1;
    const fs::path package = s.PackageOf(marta);
    Bytes gameBytes = ReadFileBytes(package);
    gameBytes.push_back(0);  // what the game wrote meanwhile
    SaveOptions options;
    bool written = false;
    // Once the neighborhood package is being replaced, the game rewrites Marta's package.
    options.hook = [&](ReplaceStep step, const fs::path& target) {
        if (step == ReplaceStep::Rename && target == s.ws.packagePath && !written) {
            written = true;
            AtomicReplace(package, gameBytes);
        }
    };
    const SaveResult result = s.Save(options);
    EXPECT_TRUE(result.neighborhoodSaved);
    EXPECT_FALSE(result.Complete());
    EXPECT_EQ(result.failedCharacterFiles, std::vector<std::string>{marta.packageFile});
    EXPECT_EQ(ReadFileBytes(package), gameBytes);
    EXPECT_EQ(marta.dirty, 1);
}

// The game saves a package in the moment between the editor's last write of it and its rename
// (the longest moment of a large save): the game's file stays, the save says it failed, and the
// next save asks before overwriting it, since the file is still not what the editor last saw.
// Running out of memory while a package is rewritten is said in words, with the file's name.
// A neighborhood whose folder name leaves no room for the copy a save writes beside its package
// is said to be unsaveable when it loads, before the player edits anything, and never written.
TEST(Save, ANeighborhoodNameTooLongToSaveBesideIsSaidAtLoad) {
    QH_LINUX_ONLY("the limit on one name (Windows limits the whole path)");
    Session s;
    const std::string prefix = "N" + std::string(229, 'L');  // its package's name is 251 bytes: the copy's would be 262
    fs::create_directories(s.folder / prefix);
    fs::copy(s.folder / "N001", s.folder / prefix, fs::copy_options::recursive);
    fs::rename(s.folder / prefix / "N001_Neighborhood.package", s.folder / prefix / (prefix + "_Neighborhood.package"));
    s.catalogue = ScanNeighborhoods(s.folder, 1, s.reporter, s.progress);
    const auto entry = std::find_if(s.catalogue.begin(), s.catalogue.end(), [&](auto& n) { return n.prefix == prefix; });
    ASSERT_NE(entry, s.catalogue.end());
    s.neighborhood = &*entry;
    s.reporter.messages.clear();
    LoadNeighborhood(s.ws, *s.neighborhood, s.folder, {1}, s.reporter, s.progress);
    EXPECT_FALSE(s.ws.characters.empty());  // shown
    ASSERT_FALSE(s.reporter.messages.empty());
    EXPECT_NE(s.reporter.messages.front().text.find("too long"), std::string::npos) << s.reporter.messages.front().text;
    const Bytes before = ReadFileBytes(s.ws.packagePath);
    s.neighborhood->dirty = 1;
    EXPECT_FALSE(s.Save().neighborhoodSaved);
    EXPECT_EQ(ReadFileBytes(s.ws.packagePath), before);
    // Longer still, no package can be named after the folder: it is not listed, and said so.
    fs::create_directories(s.folder / ("N" + std::string(240, 'L')));
    s.reporter.messages.clear();
    s.catalogue = ScanNeighborhoods(s.folder, 1, s.reporter, s.progress);
    ASSERT_EQ(s.reporter.messages.size(), 1u);
    EXPECT_NE(s.reporter.messages.front().text.find("is not listed"), std::string::npos);
}

TEST(Save, RunningOutOfMemoryIsSaidWithTheFilesName) {
    Session s;
    s.neighborhood->dirty = 1;
    SaveOptions options;
    options.hook = [](ReplaceStep, const fs::path&) { throw std::bad_alloc(); };
    s.reporter.messages.clear();
    EXPECT_FALSE(s.Save(options).neighborhoodSaved);
    ASSERT_FALSE(s.reporter.messages.empty());
    const std::string& text = s.reporter.messages.front().text;
    EXPECT_NE(text.find("N001_Neighborhood.package"), std::string::npos) << text;
    EXPECT_NE(text.find("not enough memory"), std::string::npos) << text;
}

TEST(Save, AFileTheGameSavesJustBeforeTheRenameIsKeptAndTheFailureSaid) {
    for (const bool compressed : {true, false}) {
        SCOPED_TRACE(compressed ? "while the package is expanded" : "while the package is rewritten");
        Session s;
        if (!compressed) {
            s.neighborhood->dirty = 1;
            ASSERT_TRUE(s.Save().Complete());  // the package is stored expanded from now on
        }
        SetNeighborhoodName(*s.neighborhood, "Pleasanter Valley");
        SetCharacterField(s.Sim("Marta"), "cookingSkill", "1");
        const fs::path marta = s.PackageOf(s.Sim("Marta"));
        std::map<fs::path, Bytes> game;
        for (const fs::path& file : {s.ws.packagePath, marta}) {
            game[file] = ReadFileBytes(file);
            game[file].push_back(0);
        }
        SaveOptions options;
        std::set<fs::path> written;
        options.hook = [&](ReplaceStep step, const fs::path& target) {
            if (step == ReplaceStep::Flush && game.contains(target) && written.insert(target).second) {
                AtomicReplace(target, game[target]);
            }
        };
        s.reporter.messages.clear();
        const SaveResult result = s.Save(options);
        EXPECT_FALSE(result.neighborhoodSaved);
        EXPECT_EQ(result.failedCharacterFiles, std::vector<std::string>{"N001_User00000.package"});
        EXPECT_FALSE(result.Complete());
        EXPECT_EQ(ReadFileBytes(s.ws.packagePath), game[s.ws.packagePath]);
        EXPECT_EQ(ReadFileBytes(marta), game[marta]);
        ASSERT_FALSE(s.reporter.messages.empty());
        EXPECT_NE(s.reporter.messages.front().text.find("changed by another program"), std::string::npos);
        const SaveResult again = s.Save();
        EXPECT_EQ(again.changedOnDisk.size(), 2u);
        EXPECT_EQ(ReadFileBytes(s.ws.packagePath), game[s.ws.packagePath]);
    }
}

TEST(SaveDescriptions, ANeighborhoodWithAResourceThatFailsToDecodeIsShownButNeverSaved) {
    Session s;
    // A compressed stream that declares no content but carries codes: decoding it would give an
    // empty resource that a save would store for good.
    const Bytes broken = {0x0E, 0, 0, 0, 0x10, 0xFB, 0, 0, 0, 0xE0, 'A', 'B', 'C', 'D', 0xFC};
    RewritePackage(s.ws.packagePath, [](const IndexEntry&, Bytes&) {}, {{{0x12345678, 0, 7, 0}, broken}});
    s.ws = Workspace{};
    s.reporter.messages.clear();
    s.Load();
    ASSERT_FALSE(s.ws.characters.empty());  // shown
    bool told = false;
    for (const auto& message : s.reporter.messages) {
        told |= message.text.find("resource 12345678 00000007 cannot be decompressed. This neighborhood can be viewed "
                                  "but not saved.") != std::string::npos;
    }
    EXPECT_TRUE(told);
    const Bytes before = ReadFileBytes(s.ws.packagePath);
    SetWord(s.Sim("Marta"), &Character::fatness, 1);
    const SaveResult result = s.Save();
    EXPECT_FALSE(result.neighborhoodSaved);
    EXPECT_EQ(result.charactersSaved, 0u);
    EXPECT_EQ(ReadFileBytes(s.ws.packagePath), before);
}

TEST(SaveDescriptions, APackageWithIndexEntriesPastItsEndIsNeverRewritten) {
    Session s;
    const fs::path package = s.PackageOf(s.Sim("Marta"));
    Bytes bytes = ReadFileBytes(package);
    const ByteReader header(bytes);
    const std::uint32_t count = header.ReadU32(kEntryCountOffset);
    const std::uint32_t index = header.ReadU32(kIndexOffsetOffset);
    // The last entry (24 bytes: type, group, instance, second instance, offset, size) now points
    // past the end: rewriting the package would drop it for good.
    StoreU32(bytes, index + (count - 1) * 24 + 16, 0x7FFFFF00);
    AtomicReplace(package, bytes);
    s.ws = Workspace{};
    s.Load();
    SetWord(s.Sim("Marta"), &Character::fatness, 3);
    const SaveResult result = s.Save();
    EXPECT_TRUE(result.neighborhoodSaved);
    EXPECT_EQ(result.failedCharacterFiles, std::vector<std::string>{s.Sim("Marta").packageFile});
    EXPECT_EQ(ReadFileBytes(package), bytes);
}

// A character package whose index size is not a whole number of entries (count one short): said
// with the file's name, the sim left out, and no save rewrites the file.
TEST(SaveDescriptions, APackageWhoseIndexSizeDoesNotFitItsCountIsAnIndexErrorAndNeverRewritten) {
    Session s;
    const fs::path package = s.PackageOf(s.Sim("Marta"));
    Bytes bytes = ReadFileBytes(package);
    StoreU32(bytes, kEntryCountOffset, ByteReader(bytes).ReadU32(kEntryCountOffset) - 1);
    AtomicReplace(package, bytes);
    s.ws = Workspace{};
    s.reporter.messages.clear();
    s.Load();
    EXPECT_FALSE(FindSimByFile(s.ws, package.filename().string()));
    bool told = false;
    for (const auto& message : s.reporter.messages) {
        told = told || message.text.find(package.filename().string()) != std::string::npos;
    }
    EXPECT_TRUE(told);
    s.neighborhood->dirty = 1;
    s.Save();
    EXPECT_EQ(ReadFileBytes(package), bytes);
}

}  // namespace
}  // namespace qh

namespace qh {
namespace {

// Genetic records are written only when the record and its sim were both changed; the rest keep
// their bytes, compressed or not.
TEST(SaveGenetics, OnlyARecordChangedWithItsSimIsWritten) {
    Session s;
    const fs::path package = s.ws.packagePath;
    Character& marta = s.Sim("Marta");
    Character& owen = s.Sim("Owen");
    Character& theo = s.Sim("Theo");
    const Bytes martaBefore = s.Resource(package, kGeneticRecordType, marta.instanceId);
    const Bytes owenBefore = s.Resource(package, kGeneticRecordType, owen.instanceId);
    const Bytes theoBefore = s.Resource(package, kGeneticRecordType, theo.instanceId);
    ASSERT_FALSE(martaBefore.empty());

    // Marta: a gene; Owen: his name only; Theo: a record marked without its sim.
    const std::string red = "00000004-0000-0000-0000-000000000000";
    ASSERT_EQ(SetSimGene(s.ws, marta, *FindGeneSelector("fatherHairColor"), red, true), "");
    EXPECT_EQ(marta.dirty, 1);
    owen.firstName = "Owain";
    owen.dirty = 1;
    DNA& theoGenes = *FindDna(s.ws, theo.instanceId);
    theoGenes.motherHairColor = red;
    theoGenes.dirty = 1;
    ASSERT_TRUE(s.Save().Complete());

    EXPECT_EQ(s.Resource(package, kGeneticRecordType, owen.instanceId), owenBefore);
    EXPECT_EQ(s.Resource(package, kGeneticRecordType, theo.instanceId), theoBefore);
    const Bytes written = s.Resource(package, kGeneticRecordType, marta.instanceId);
    const std::string text(written.begin(), written.end());
    EXPECT_NE(text.find("  <AnyString key=\"1\" type=\"0x0b8bea18\">" + red + "</AnyString>\n"), std::string::npos) << text;
    EXPECT_TRUE(text.ends_with("</AnyString>\n</cGZPropertySetString>"));
    for (const DNA& dna : s.ws.dnaList) EXPECT_EQ(dna.dirty, 0);

    const DNA before = *FindDna(s.ws, marta.instanceId);
    s.ws = Workspace{};
    s.Load();
    EXPECT_EQ(FindDna(s.ws, s.Sim("Marta").instanceId)->fatherHairColor, red);
    DNA after = *FindDna(s.ws, s.Sim("Marta").instanceId);
    after.dirty = before.dirty;
    EXPECT_EQ(after, before) << "every other gene as it was";
    EXPECT_EQ(FindDna(s.ws, s.Sim("Theo").instanceId)->motherHairColor, ReadDnaResource(theoBefore, 0).motherHairColor);
}

}  // namespace
}  // namespace qh
