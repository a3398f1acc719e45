#include "workspace/cloning.h"

#include <gtest/gtest.h>

#include <map>

#include "character/character_fields.h"
#include "fixture/package_builder.h"
#include "package/extract.h"
#include "package/property_set.h"
#include "platform/errors.h"
#include "support/demo_session.h"
#include "workspace/sim_items.h"

namespace qh {
namespace {

namespace fs = std::filesystem;

// The clone file's layout, written out here from the format's own tables so that the reader and
// writer are checked against it rather than against themselves.
constexpr std::uint32_t kSection = 0x4B4C4F4E;
const std::uint32_t kNineBodyTypes[] = {0xAC598EAC, 0xAC506764, 0xEBCF3E27, 0xCCCEF852, 0xAC4F8687,
                                        0x7BA3838C, 0xE519C933, 0x49596978, 0xFC6EB1F7};

GameEnvironment AllButBusiness() {
    GameEnvironment env;
    env.hasUniversity = env.hasNightlife = env.hasPets = env.hasSeasons = env.hasBonVoyage = env.hasFreeTime =
        env.hasApartmentLife = true;
    return env;
}

Bytes Words(std::initializer_list<std::uint16_t> words, std::size_t size = 0) {
    Bytes out;
    for (std::uint16_t w : words) {
        out.push_back(static_cast<std::uint8_t>(w));
        out.push_back(static_cast<std::uint8_t>(w >> 8));
    }
    if (out.size() < size) out.resize(size, 0);
    return out;
}

std::uint16_t WordAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}
std::uint32_t U32At(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return WordAt(bytes, offset) | static_cast<std::uint32_t>(WordAt(bytes, offset + 2)) << 16;
}

// A clone file laid out by hand: sections, then (optionally) a body.
struct CloneFileBuilder {
    fixture::PackageBuilder package{24};
    CloneFileBuilder& Section(std::uint32_t id, const Bytes& bytes) {
        package.Add(fixture::Key(kSection, 0, id), bytes);
        return *this;
    }
    CloneFileBuilder& Body() {
        for (std::uint32_t type : kNineBodyTypes) package.Add(fixture::Key(type, 1, 0x1C), std::string(40, 'b'));
        return *this;
    }
};

struct Cloning : ::testing::Test {
    test::Session s;
    GameEnvironment env = AllButBusiness();
    test::TempDir files;

    CloneSource Source(CloneFileBuilder& file, const std::string& name = "made.clone") {
        return ReadCloneSource(files.Write(name, file.package.Build()), s.reporter);
    }
    std::vector<NeighborhoodItem> ItemsOf(const Character& sim, std::uint32_t guid) {
        std::vector<NeighborhoodItem> items;
        for (const NeighborhoodItem& item : s.ws.simItemList) {
            if (item.owner == sim.instanceId && item.itemGuid == guid) items.push_back(item);
        }
        return items;
    }
    // The sections of a clone file by id, and its body resources, read with the index alone.
    struct Read {
        std::uint32_t width = 0;
        std::vector<IndexEntry> entries;
        Bytes bytes;
        Bytes Of(std::uint32_t id) const {
            for (const IndexEntry& e : entries) {
                if (e.key.typeId == kSection && e.key.groupId == id) return Bytes(bytes.begin() + e.offset, bytes.begin() + e.offset + e.size);
            }
            return {};
        }
    };
    Read Parse(const Bytes& file) {
        Read read{0, {}, file};
        read.width = ReadIndex(file, PackageSource::File, read.entries);
        return read;
    }
};

TEST_F(Cloning, AFileIsTheHeaderTheSectionsInOrderTheBodyAndAnIndexOfThePackagesWidth) {
    Character& ana = s.Sim("Ana");
    ana.zodiac = 7;
    ana.cookingSkill = 815;
    ana.npcType = 3;
    ana.lifeStage = 19;
    // Her aspiration from her items: a Knowledge marker and a secondary of 64, the flags the sum.
    RemoveSimItems(s.ws, ana, 0x53D08989);
    for (std::uint32_t marker : {0x6C92F4F3u, 0x4C92F505u, 0x4C92F480u, 0x8C92F4BCu, 0x6C92F4CFu}) RemoveSimItems(s.ws, ana, marker);
    AddSimItem(s.ws, ana, 0x4C92F505, 1, {0});
    AddSimItem(s.ws, ana, 0x53D08989, 1, {64});
    ana.aspirationFlags = 2 | 64;
    RemoveSimItems(s.ws, ana, 0x105FDC52);
    AddSimItem(s.ws, ana, 0x105FDC52, 0, {7, 0});  // the second badge slot
    RemoveSimItems(s.ws, ana, 0x4DDF0E12);
    AddSimItem(s.ws, ana, 0x4DDF0E12, 1, {9, 1, 2, 3, 4, 5, 6, 7});
    RemoveSimItems(s.ws, ana, 0x92D3596F);
    AddSimItem(s.ws, ana, 0x92D3596F, 1, {});
    const Bytes file = MakeCloneFile(s.ws, ana, env, s.reporter);
    const Read read = Parse(file);

    const std::uint8_t magic[] = {'D', 'B', 'P', 'F'};
    EXPECT_TRUE(std::equal(std::begin(magic), std::end(magic), file.begin()));
    EXPECT_EQ(U32At(file, 4), 1u);
    EXPECT_EQ(U32At(file, 8), 1u);
    for (std::size_t at = 12; at < 32; at += 4) EXPECT_EQ(U32At(file, at), 0u) << at;
    EXPECT_EQ(U32At(file, 32), 7u);
    EXPECT_EQ(U32At(file, 36), read.entries.size());
    EXPECT_EQ(U32At(file, 44), read.entries.size() * read.width);
    EXPECT_EQ(U32At(file, 40) + U32At(file, 44), file.size()) << "the index comes last";
    for (std::size_t at = 48; at < 60; at += 4) EXPECT_EQ(U32At(file, at), 0u) << at;
    EXPECT_EQ(U32At(file, 60), 2u);
    for (std::size_t at = 64; at < 96; at += 4) EXPECT_EQ(U32At(file, at), 0u) << at;
    EXPECT_EQ(read.width, 24u) << "the width of her package's index";

    std::vector<std::uint32_t> order;
    std::size_t next = 96;
    for (const IndexEntry& e : read.entries) {
        EXPECT_EQ(e.offset, next) << "back to back from offset 96";
        next = e.offset + e.size;
        if (e.key.typeId == kSection) {
            order.push_back(e.key.groupId);
            EXPECT_EQ(e.key.instanceId, 0u);
            EXPECT_EQ(e.key.instance2Id, 0u);
        }
    }
    const std::vector<std::uint32_t> expected = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0x100, 0x104, 0x102, 0x105, 0x106, 0x107, 0x108, 0x109, 0x10A};
    if (ItemsOf(ana, 0x53F9DF4E).empty()) {
        auto without = expected;
        std::erase(without, 0x109u);
        EXPECT_EQ(order, without);
    } else {
        EXPECT_EQ(order, expected);
    }
    EXPECT_EQ(WordAt(read.Of(1), 20), 7) << "zodiac";
    EXPECT_EQ(WordAt(read.Of(3), 2), 815) << "cooking";
    EXPECT_EQ(WordAt(read.Of(5), 22), 3) << "the townie type is written";
    EXPECT_EQ(WordAt(read.Of(6), 12), 19) << "life stage";
    const Bytes first = read.Of(7);
    ASSERT_GE(first.size(), 3u);
    EXPECT_EQ(first[0], 1) << "the language";
    EXPECT_EQ(std::string(first.begin() + 1, first.end() - 2), "Ana");
    EXPECT_EQ(first[first.size() - 1], 0);
    EXPECT_EQ(first[first.size() - 2], 0);
    EXPECT_EQ(read.Of(0x107), Words({2, 64})) << "primary = flags - secondary";
    EXPECT_EQ(WordAt(read.Of(0x108), 2), 7);
    const Bytes skills = read.Of(0x10A);
    ASSERT_EQ(skills.size(), 50u);
    for (std::size_t k = 0; k < 7; ++k) EXPECT_EQ(WordAt(skills, 2 + 2 * k), k + 1) << "toddler value " << k + 1;
    EXPECT_EQ(WordAt(skills, 18), 1) << "a presence slot";
    EXPECT_EQ(WordAt(skills, 16), 0);
    // The genes: sixteen texts of the record, then the three colours.
    const Bytes genes = read.Of(0x104);
    std::size_t at = 0;
    std::vector<std::string> texts;
    while (at + 2 <= genes.size()) {
        const std::uint16_t length = WordAt(genes, at);
        texts.emplace_back(genes.begin() + static_cast<std::ptrdiff_t>(at + 2), genes.begin() + static_cast<std::ptrdiff_t>(at + 2 + length));
        at += 2 + length;
    }
    ASSERT_EQ(texts.size(), 19u);
    EXPECT_EQ(texts[0], FindDna(s.ws, ana.instanceId)->skinTone);
    EXPECT_EQ(texts[17], ana.hairColor);
    // The body: every body resource of her package with its own key and bytes.
    std::size_t bodies = 0;
    const fs::path package = s.PackageOf(ana);
    for (const IndexEntry& e : read.entries) {
        if (e.key.typeId == kSection) continue;
        ++bodies;
        EXPECT_EQ(Bytes(file.begin() + e.offset, file.begin() + e.offset + e.size), s.Resource(package, e.key.typeId, e.key.instanceId));
    }
    EXPECT_EQ(bodies, 9u);
}

TEST_F(Cloning, WithoutFreeTimeOrAGeneticRecordTheirSectionsAreLeftOut) {
    Character& ana = s.Sim("Ana");
    s.ws.dnaByInstance.erase(ana.instanceId);
    env.hasFreeTime = false;
    const Read read = Parse(MakeCloneFile(s.ws, ana, env, s.reporter));
    for (std::uint32_t id : {0x104u, 0x105u, 0x106u, 0x109u}) EXPECT_TRUE(read.Of(id).empty()) << std::hex << id;
    EXPECT_FALSE(read.Of(0x107).empty());
}

TEST_F(Cloning, ExportingASimWithoutABodyIsRefusedNamingItsPackage) {
    Character& ana = s.Sim("Ana");
    // Her package without its body resource.
    const fs::path package = s.PackageOf(ana);
    const Bytes original = ReadFileBytes(package);
    std::vector<IndexEntry> entries;
    ReadIndex(original, PackageSource::File, entries);
    fixture::PackageBuilder rebuilt;
    for (const IndexEntry& e : entries) {
        if (e.key.typeId == 0xCCCEF852) continue;
        rebuilt.Add(e.key, std::span<const std::uint8_t>(original).subspan(e.offset, e.size));
    }
    AtomicReplace(package, rebuilt.Build());
    try {
        MakeCloneFile(s.ws, ana, env, s.reporter);
        FAIL() << "a clone without a body was made";
    } catch (const FormatError& error) {
        EXPECT_NE(std::string(error.what()).find(ana.packageFile), std::string::npos);
    }
}

TEST_F(Cloning, ImportingTakesEachCheckedSectionByItsRules) {
    Character& owen = s.Sim("Owen");
    owen.zodiac = 5;
    owen.npcType = 0;
    const DNA genesBefore = *FindDna(s.ws, owen.instanceId);
    CloneFileBuilder file;
    file.Section(1, Words({100, 200, 300, 400, 500, 1, 2, 3, 4, 5, 0}))  // zodiac 0
        .Section(6, Words({1, 0, 0, 0, 0, 1, 19, 5, 6, 7, 8}))          // gender 1, life stage 19
        .Section(0x100, Words({10, 20, 0x4444, 0x3333, 3, 1, 2}))         // young adult
        .Section(5, Words({0x1111, 0x2222, 9, 4, 0x5555, 0x6666, 11, 0x7777, 0x8888, 6, 50, 42, 900, 3}))  // npcType 42
        .Section(7, Bytes{1, 'Z', 'o', 'e', 0, 0})
        .Section(0x107, Words({8, 0}))  // primary 8: a bit without an item
        .Section(0x108, Words({0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 9}));
    const CloneSource source = Source(file);
    EXPECT_FALSE(source.hasBody);
    CloneGroups groups;
    groups.Set(CloneGroup::Personality).Set(CloneGroup::Character).Set(CloneGroup::University).Set(CloneGroup::Career)
        .Set(CloneGroup::Aspiration).Set(CloneGroup::Genes);
    const CloneResult result = ImportClone(s.ws, owen, source, groups, env);
    ASSERT_EQ(result.refusal, "");
    EXPECT_EQ(result.message, "Clone Data successfully imported, changes will take effect in the game after the new data is \"Saved\"");
    EXPECT_EQ(owen.neat, 100);
    EXPECT_EQ(owen.nice, 500);
    EXPECT_EQ(owen.geneticNice, 5);
    EXPECT_EQ(owen.zodiac, 5) << "a sign of 0 keeps the sim's";
    EXPECT_EQ(owen.gender, 1);
    EXPECT_EQ(owen.genderProperty, 1);
    EXPECT_EQ(owen.lifeStage, 19);
    EXPECT_EQ(owen.ageProperty, 64) << "adult gives 8, then the university section's young adult 64";
    EXPECT_EQ(owen.fatness, 8);
    EXPECT_EQ(owen.universityClass, 3);
    EXPECT_EQ(GuidValue(owen.universityMajorGuid), 0x33334444u);
    EXPECT_EQ(GuidValue(owen.careerGuid), 0x22221111u);
    EXPECT_EQ(owen.jobLevel, 4);
    EXPECT_EQ(owen.pto, 3);
    EXPECT_EQ(owen.npcType, 0) << "the townie type is never taken";
    EXPECT_EQ(owen.firstName, "Zoe");
    EXPECT_EQ(owen.aspirationFlags, 8);
    for (std::uint32_t marker : {0x6C92F4F3u, 0x4C92F505u, 0x4C92F480u, 0x8C92F4BCu, 0x6C92F4CFu, 0x53D08989u}) {
        EXPECT_TRUE(ItemsOf(owen, marker).empty()) << std::hex << marker;
    }
    EXPECT_TRUE(SameGenes(*FindDna(s.ws, owen.instanceId), genesBefore)) << "no genes section: genes untouched";
    EXPECT_TRUE(ItemsOf(owen, 0x105FDC52).empty()) << "Badges was not checked";
    EXPECT_TRUE(owen.clonePackagePath.empty()) << "Body was not checked";
    EXPECT_TRUE(owen.dirty);
}

TEST_F(Cloning, BadgesAloneAddAnItemForEachLevelTheSimLacks) {
    Character& owen = s.Sim("Owen");
    for (std::uint32_t guid : {0x505FDC28u, 0x105FDC52u, 0xD3DB2A27u}) RemoveSimItems(s.ws, owen, guid);
    AddSimItem(s.ws, owen, 0x505FDC28, 0, {2, 0});
    const Character before = owen;
    CloneFileBuilder file;
    file.Section(0x108, Words({5, 3, 0, 0, 0, 0, 0, 0, 0, 0, 9})).Section(3, Words({900, 900, 900, 900, 900, 900, 900}));
    ImportClone(s.ws, owen, Source(file), CloneGroups().Set(CloneGroup::Badges), env);
    ASSERT_EQ(ItemsOf(owen, 0x505FDC28).size(), 1u);
    EXPECT_EQ(ItemsOf(owen, 0x505FDC28)[0].values, (std::vector<std::uint16_t>{5, 0})) << "its level set";
    const auto added = ItemsOf(owen, 0x105FDC52);
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added[0].secondary, 0);
    EXPECT_EQ(added[0].values, (std::vector<std::uint16_t>{3, 0}));
    EXPECT_EQ(ItemsOf(owen, 0xD3DB2A27).size(), 1u);
    EXPECT_TRUE(ItemsOf(owen, 0xB05FDC1B).empty()) << "a level of 0 adds nothing";
    EXPECT_EQ(owen.cookingSkill, before.cookingSkill) << "Skills was not checked";
}

TEST_F(Cloning, SkillItemsFollowTheirSlots) {
    Character& owen = s.Sim("Owen");
    for (std::uint32_t guid : {0xB3F2D735u, 0x4DDF0E12u, 0x52E9E443u, 0x92D3596Fu, 0x0DA265F4u}) RemoveSimItems(s.ws, owen, guid);
    AddSimItem(s.ws, owen, 0x52E9E443, 1, {});
    Bytes skills = Words({6, 1, 2, 0, 0, 0, 0, 0, 0, 1}, 50);  // parenting 6; toddler words; presences 0 and 1
    skills[24] = 4;  // 0x0DA265F4
    CloneFileBuilder file;
    file.Section(0x10A, skills).Section(3, Words({1, 2, 3, 4, 5, 6, 7}));
    ImportClone(s.ws, owen, Source(file), CloneGroups().Set(CloneGroup::Skills), env);
    EXPECT_EQ(owen.logicSkill, 7);
    ASSERT_EQ(ItemsOf(owen, 0xB3F2D735).size(), 1u);
    EXPECT_EQ(ItemsOf(owen, 0xB3F2D735)[0].values, (std::vector<std::uint16_t>{6})) << "parenting: the level alone";
    ASSERT_EQ(ItemsOf(owen, 0x4DDF0E12).size(), 1u);
    EXPECT_EQ(ItemsOf(owen, 0x4DDF0E12)[0].values, (std::vector<std::uint16_t>{0, 1, 2, 0, 0, 0, 0, 0}));
    EXPECT_EQ(ItemsOf(owen, 0x4DDF0E12)[0].secondary, 1);
    EXPECT_TRUE(ItemsOf(owen, 0x52E9E443).empty()) << "presence 0 removes";
    ASSERT_EQ(ItemsOf(owen, 0x92D3596F).size(), 1u) << "presence 1 adds";
    EXPECT_TRUE(ItemsOf(owen, 0x92D3596F)[0].values.empty());
    EXPECT_EQ(ItemsOf(owen, 0x0DA265F4)[0].values, (std::vector<std::uint16_t>{4, 0}));
}

TEST_F(Cloning, ASecondaryAspirationNeedsFreeTime) {
    Character& owen = s.Sim("Owen");
    CloneFileBuilder file;
    file.Section(0x107, Words({4, 128}));
    const CloneSource source = Source(file);
    GameEnvironment noFreeTime = env;
    noFreeTime.hasFreeTime = false;
    ImportClone(s.ws, owen, source, CloneGroups().Set(CloneGroup::Aspiration), noFreeTime);
    EXPECT_EQ(owen.aspirationFlags, 4);
    EXPECT_EQ(ItemsOf(owen, 0x4C92F480).size(), 1u);
    EXPECT_TRUE(ItemsOf(owen, 0x53D08989).empty());
    Character& marta = s.Sim("Marta");
    ImportClone(s.ws, marta, source, CloneGroups().Set(CloneGroup::Aspiration), env);
    EXPECT_EQ(marta.aspirationFlags, 4 | 128);
    ASSERT_EQ(ItemsOf(marta, 0x53D08989).size(), 1u);
    EXPECT_EQ(ItemsOf(marta, 0x53D08989)[0].values, (std::vector<std::uint16_t>{128}));
}

TEST_F(Cloning, ExportThenImportOntoAnotherSimGivesItEveryValue) {
    Character& ana = s.Sim("Ana");
    Character& owen = s.Sim("Owen");
    ana.zodiac = 9;
    const fs::path path = files.Write("Ana.clone", MakeCloneFile(s.ws, ana, env, s.reporter));
    const CloneSource clone = ReadCloneSource(path, s.reporter);
    EXPECT_TRUE(clone.hasBody);
    const CloneResult result = ImportClone(s.ws, owen, clone, AllShownCloneGroups(env), env);
    ASSERT_EQ(result.refusal, "");
    // Every field a section carries, but the townie type and the hair colour (a file's hair colour
    // is read past), and what the property derivations set.
    const std::vector<std::string> differences = FieldDifferences(ana, owen);
    std::vector<std::string> names;
    for (const std::string& line : differences) names.push_back(line.substr(0, line.find(':')));
    const std::vector<std::string> carried = {"neat", "outgoing", "active", "playful", "nice", "zodiac", "aspirationFlags",
                                              "aspirationScore", "cookingSkill", "logicSkill", "interestSciFi", "careerGuid",
                                              "jobLevel", "schoolGuid", "pension", "pto", "gender", "lifeStage", "fatness",
                                              "ageDuration", "universityMajorGuid", "youngAdult", "influenceLevel",
                                              "turnOns1", "hobbyCuisine", "talent", "decaySocial", "skinColor", "eyeColor"};
    for (const std::string& field : carried) {
        EXPECT_EQ(std::find(names.begin(), names.end(), field), names.end()) << field << " differs after the import";
    }
    EXPECT_EQ(owen.firstName, ana.firstName);
    EXPECT_EQ(owen.description, ana.description);
    EXPECT_TRUE(SameGenes(*FindDna(s.ws, owen.instanceId), *FindDna(s.ws, ana.instanceId)));
    EXPECT_EQ(owen.clonePackagePath, path.string());
    EXPECT_TRUE(owen.cloneApplied);
    EXPECT_TRUE(owen.needsPackageRebuild);
    EXPECT_FALSE(owen.portrait) << "the placeholder until the save";
    EXPECT_FALSE(CloningStatusOf(s.ws, owen, env).canImport);
    EXPECT_TRUE(CloningStatusOf(s.ws, owen, env).canExport);
    EXPECT_EQ(CloneTargetRefusal(s.ws, owen).empty(), false) << "one body at a time";
}

TEST_F(Cloning, GenesGoOnlyToASimWithAGeneticRecordAndTheHobbyItemIsReplaced) {
    Character& ana = s.Sim("Ana");
    Character& owen = s.Sim("Owen");
    const std::string owenSkin = owen.skinColor;
    const CloneSource clone = ReadCloneSource(files.Write("Ana.clone", MakeCloneFile(s.ws, ana, env, s.reporter)), s.reporter);
    s.ws.dnaByInstance.erase(owen.instanceId);  // Owen without a genetic record
    const CloneResult result = ImportClone(s.ws, owen, clone, CloneGroups().Set(CloneGroup::Genes), env);
    ASSERT_EQ(result.notes.size(), 1u);
    EXPECT_EQ(result.notes[0], "genes: the sim has no genetic record");
    EXPECT_EQ(owen.skinColor, owenSkin) << "nothing of the section is taken";

    RemoveSimItems(s.ws, owen, 0x53F9DF4E);
    AddSimItem(s.ws, owen, 0x53F9DF4E, 1, {9, 9, 9, 9});
    CloneFileBuilder file;
    file.Section(0x109, Words({2, 0x11, 0x22}));
    ImportClone(s.ws, owen, Source(file), CloneGroups().Set(CloneGroup::Hobbies), env);
    const auto hobby = ItemsOf(owen, 0x53F9DF4E);
    ASSERT_EQ(hobby.size(), 1u);
    EXPECT_EQ(hobby[0].values, (std::vector<std::uint16_t>{0x11, 0x22}));
    Character& marta = s.Sim("Marta");
    RemoveSimItems(s.ws, marta, 0x53F9DF4E);
    ImportClone(s.ws, marta, Source(file, "again.clone"), CloneGroups().Set(CloneGroup::Hobbies), env);
    ASSERT_EQ(ItemsOf(marta, 0x53F9DF4E).size(), 1u);
    EXPECT_EQ(ItemsOf(marta, 0x53F9DF4E)[0].secondary, 1) << "made when missing";
}

TEST_F(Cloning, AGroupTheExpansionsHideIsNeverAppliedWhoeverAsks) {
    Character& owen = s.Sim("Owen");
    const std::int16_t cuisine = owen.hobbyCuisine;
    CloneFileBuilder file;
    file.Section(0x105, Words({999, 1, 1, 1, 1, 1, 1, 1, 1, 1, 3}));
    GameEnvironment noFreeTime = env;
    noFreeTime.hasFreeTime = false;
    ImportClone(s.ws, owen, Source(file), CloneGroups().Set(CloneGroup::Hobbies), noFreeTime);
    EXPECT_EQ(owen.hobbyCuisine, cuisine);
    ImportClone(s.ws, owen, Source(file, "again.clone"), CloneGroups().Set(CloneGroup::Hobbies), env);
    EXPECT_EQ(owen.hobbyCuisine, 999);
}

TEST_F(Cloning, DamagedFilesAreRefusedNamingTheFileAndChangeNothing) {
    CloneFileBuilder shortSection;
    shortSection.Section(3, Words({1, 2, 3}));
    try {
        Source(shortSection, "short.clone");
        FAIL() << "a short section was read";
    } catch (const FormatError& error) {
        EXPECT_NE(std::string(error.what()).find("short.clone"), std::string::npos) << error.what();
    }
    CloneFileBuilder longGene;
    longGene.Section(0x104, Words({400}));
    EXPECT_THROW(Source(longGene, "gene.clone"), FormatError);
    CloneFileBuilder badStage;
    badStage.Section(6, Words({0, 0, 0, 0, 0, 1, 7}, 22));
    EXPECT_THROW(Source(badStage, "stage.clone"), FormatError);
    EXPECT_THROW(ReadCloneSource(files.Write("cut.clone", Bytes(50, 0)), s.reporter), FormatError);
    // A package without the nine body resources.
    fixture::PackageBuilder halfBody;
    halfBody.Add(fixture::Key(0xAC598EAC, 1), std::string(10, 'p'));
    halfBody.Add(fixture::Key(0xCCCEF852, 1), std::string(10, 'b'));
    try {
        ReadCloneSource(files.Write("half.package", halfBody.Build()), s.reporter);
        FAIL();
    } catch (const FormatError& error) {
        EXPECT_EQ(std::string(error.what()), "The file you have selected is Not a Bodyshop or Character Package");
    }
}

TEST_F(Cloning, ABodyShopPackageGivesItsBodyAlone) {
    Character& owen = s.Sim("Owen");
    const Character before = owen;
    CloneFileBuilder package;
    package.Body();
    const CloneSource source = Source(package, "Rosa.PACKAGE");
    EXPECT_TRUE(source.bodyShopPackage);
    const CloneResult result = ImportClone(s.ws, owen, source, AllShownCloneGroups(env), env);
    EXPECT_EQ(result.message,
              "The skin and body information for this package has been imported. Other attributes are not avaiable in this file.");
    EXPECT_TRUE(FieldDifferences(before, owen).size() <= 4u) << "the clone marks alone";
    EXPECT_EQ(owen.firstName, before.firstName);
    EXPECT_TRUE(owen.cloneApplied);
    // Without Body nothing is taken at all.
    Character& marta = s.Sim("Marta");
    ImportClone(s.ws, marta, source, CloneGroups().Set(CloneGroup::Genes), env);
    EXPECT_TRUE(marta.clonePackagePath.empty());
}

TEST_F(Cloning, DirectCloneCopiesEachGroupAndHoldsBothBodiesUntilTheSave) {
    Character& ana = s.Sim("Ana");
    Character& owen = s.Sim("Owen");
    ana.zodiac = 0;
    ana.ownTraits3 = 0x77;
    ana.npcType = 12;
    owen.npcType = 0;
    RemoveSimItems(s.ws, ana, 0xB3F2D735);
    NeighborhoodItem& parenting = AddSimItem(s.ws, ana, 0xB3F2D735, 1, {8, 1});
    parenting.flags1 = 3;
    const auto sources = DirectCloneSources(s.ws, owen);
    EXPECT_EQ(std::count(sources.begin(), sources.end(), &owen - s.ws.characters.data()), 0);
    const CloneResult result = CopyClone(s.ws, owen, ana, AllShownCloneGroups(env), env);
    ASSERT_EQ(result.refusal, "");
    EXPECT_EQ(result.message, "Clone Data successfully copied, changes will take effect in the game after the new data is \"Saved\"");
    EXPECT_EQ(owen.zodiac, 0) << "a direct clone takes the sign as it is";
    EXPECT_EQ(owen.ownTraits3, 0x77);
    EXPECT_EQ(owen.npcType, 0);
    EXPECT_EQ(owen.ageProperty, ana.ageProperty);
    EXPECT_EQ(owen.hairColor, ana.hairColor);
    const auto copied = ItemsOf(owen, 0xB3F2D735);
    ASSERT_EQ(copied.size(), 1u);
    EXPECT_EQ(copied[0].secondary, 0);
    EXPECT_EQ(copied[0].flags1, 3);
    EXPECT_EQ(copied[0].values, (std::vector<std::uint16_t>{8, 1}));
    EXPECT_EQ(owen.clonePackagePath, (s.ws.charactersFolder / ana.packageFile).string());
    EXPECT_TRUE(BodyClonePending(s.ws, ana)) << "the source's body may not change before the save";
    EXPECT_FALSE(CloningStatusOf(s.ws, ana, env).canCopy);
    EXPECT_NE(CloneTargetRefusal(s.ws, ana), "");
    const SaveResult saved = s.Save();
    EXPECT_TRUE(saved.Complete());
    EXPECT_FALSE(BodyClonePending(s.ws, ana));
    EXPECT_FALSE(BodyClonePending(s.ws, owen));
    EXPECT_TRUE(CloningStatusOf(s.ws, owen, env).canCopy);
}

TEST_F(Cloning, TheSaveTakesTheBodyIntoThePackageKeepingTheSimsColours) {
    Character& owen = s.Sim("Owen");
    const Character& ana = s.Sim("Ana");
    const fs::path anaPackage = s.PackageOf(ana);
    const fs::path owenPackage = s.PackageOf(owen);
    CopyClone(s.ws, owen, ana, CloneGroups().Set(CloneGroup::Body), env);
    const std::string owenSkin = owen.skinColor, owenHair = owen.hairColor;
    // What the package held besides the body, its pictures and its directory.
    std::vector<IndexEntry> kept;
    for (const IndexEntry& e : s.Index(owenPackage)) {
        bool body = std::find(std::begin(kNineBodyTypes), std::end(kNineBodyTypes), e.key.typeId) != std::end(kNineBodyTypes);
        if (!body && e.key.typeId != 0x856DDBAC && e.key.typeId != 0xE86B1EEF) kept.push_back(e);
    }
    ASSERT_TRUE(s.Save().Complete());
    const std::vector<IndexEntry> after = s.Index(owenPackage);
    ASSERT_EQ(after.size(), kept.size() + 9);
    for (std::size_t i = 0; i < kept.size(); ++i) EXPECT_EQ(after[i].key, kept[i].key) << "the rest keeps its order";
    const std::vector<IndexEntry> source = s.Index(anaPackage);
    std::size_t n = kept.size();
    for (const IndexEntry& e : source) {
        if (std::find(std::begin(kNineBodyTypes), std::end(kNineBodyTypes), e.key.typeId) == std::end(kNineBodyTypes)) continue;
        ASSERT_LT(n, after.size());
        EXPECT_EQ(after[n].key, e.key) << "appended with its own key";
        const Bytes took = s.Resource(owenPackage, e.key.typeId, e.key.instanceId);
        if (e.key.typeId == 0xAC598EAC) {
            SimProperties colours;
            ReadSimProperties(took, colours);
            EXPECT_EQ(colours.skinColor, owenSkin);
            EXPECT_EQ(colours.hairColor, owenHair);
        } else {
            EXPECT_EQ(took, s.Resource(anaPackage, e.key.typeId, e.key.instanceId)) << std::hex << e.key.typeId;
        }
        ++n;
    }
    EXPECT_TRUE(owen.clonePackagePath.empty());
    EXPECT_FALSE(owen.cloneApplied);
    EXPECT_FALSE(owen.portrait);
}

TEST_F(Cloning, ABodyThatCannotBeReadLeavesThePackageAsItWasAndSaysSo) {
    Character& owen = s.Sim("Owen");
    CloneFileBuilder package;
    package.Body();
    const fs::path file = files.Write("gone.package", package.package.Build());
    ImportClone(s.ws, owen, ReadCloneSource(file, s.reporter), CloneGroups().Set(CloneGroup::Body), env);
    fs::remove(file);
    const Bytes before = ReadFileBytes(s.PackageOf(owen));
    const SaveResult result = s.Save();
    EXPECT_FALSE(result.Complete());
    EXPECT_EQ(ReadFileBytes(s.PackageOf(owen)), before);
    EXPECT_TRUE(owen.cloneApplied) << "still waiting, for another try";
    EXPECT_FALSE(s.reporter.messages.empty());
}

TEST(CloneGroupsTest, SetAllNeverChecksAGroupTheExpansionsHide) {
    GameEnvironment base;
    const CloneGroups all = AllShownCloneGroups(base);
    for (CloneGroup hidden : {CloneGroup::University, CloneGroup::Attraction, CloneGroup::Hobbies, CloneGroup::NeedDecay, CloneGroup::Badges}) {
        EXPECT_FALSE(all.Has(hidden));
    }
    EXPECT_TRUE(all.Has(CloneGroup::Body));
    base.hasSeasons = true;
    EXPECT_TRUE(AllShownCloneGroups(base).Has(CloneGroup::Badges));
    EXPECT_TRUE(AllShownCloneGroups(base).Has(CloneGroup::Attraction));
    EXPECT_FALSE(AllShownCloneGroups(base).Has(CloneGroup::Hobbies));
    std::string why;
    EXPECT_FALSE(ParseCloneGroups("skills,hobbies", base, why));
    EXPECT_NE(why.find("not installed"), std::string::npos);
    EXPECT_FALSE(ParseCloneGroups("skils", base, why));
    EXPECT_EQ(ParseCloneGroups("skills,body", base, why), CloneGroups().Set(CloneGroup::Skills).Set(CloneGroup::Body));
}

TEST(CloneStatus, TheThreeStatesAndTheirWords) {
    Workspace ws;
    GameEnvironment env;
    Character sim;
    sim.packageFile = "N001_User00001.package";
    EXPECT_FALSE(CloningStatusOf(ws, sim, env).canExport);
    EXPECT_EQ(CloningStatusOf(ws, sim, env).text,
              "You will not be able to clone a new body onto this character since they only exist in the memories of others.");
    sim.species = 1;
    EXPECT_EQ(CloningStatusOf(ws, sim, env).text.rfind("You will not", 0), 0u) << "pets are told apart with Pets only";
    env.hasPets = true;
    EXPECT_EQ(CloningStatusOf(ws, sim, env).text, "Pet Cloning is currently not available.");
    sim.hasBodyResource = 1;
    const CloningStatus free = CloningStatusOf(ws, sim, env);
    EXPECT_TRUE(free.canExport && free.canImport && free.canCopy);
    EXPECT_EQ(free.text, "");
    sim.cloneApplied = 1;
    const CloningStatus pending = CloningStatusOf(ws, sim, env);
    EXPECT_TRUE(pending.canExport);
    EXPECT_FALSE(pending.canImport || pending.canCopy);
    EXPECT_TRUE(pending.bold);
    EXPECT_EQ(pending.text.rfind("The Selected Character is in the process of being Cloned already.", 0), 0u);
}

}  // namespace
}  // namespace qh
