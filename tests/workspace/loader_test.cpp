#include "workspace/loader.h"

#include <gtest/gtest.h>

#include "character/character_fields.h"
#include "character/sim_description.h"
#include "demo_game.h"
#include "fixture/jpeg_writer.h"
#include "fixture/package_builder.h"
#include "fixture/resource_builders.h"
#include "fixture/sim_builders.h"
#include "package/property_set.h"
#include "package/text_list.h"
#include "support/temp_dir.h"
#include "workspace/character_list.h"
#include "workspace/households.h"
#include "support/platform_only.h"

namespace qh {
namespace {

using fixture::Key;

// Compares every field the loader fills (pictures aside).
void ExpectSameSim(const Character& loaded, const Character& written) {
    for (const CharacterField& field : CharacterFields()) {
        if (field.name == "careerGuidAtLoad") continue;
        std::visit(
            [&](auto member) { EXPECT_EQ(loaded.*member, written.*member) << written.packageFile << " " << field.name; },
            field.member);
    }
}

TEST(LoadNeighborhood, TheDemoLoadsAsTheGeneratorWroteIt) {
    test::TempDir dir;
    const auto game = demo::WriteDemoGame(dir.path());
    const auto folder = game.userData / "Neighborhoods";
    RecordingReporter reporter;
    NullProgress progress;
    auto catalogue = ScanNeighborhoods(folder, 1, reporter, progress);
    ASSERT_EQ(catalogue.size(), game.neighborhoods.size());
    for (const demo::DemoNeighborhood& expected : game.neighborhoods) {
        SCOPED_TRACE(expected.prefix);
        auto n = std::find_if(catalogue.begin(), catalogue.end(), [&](auto& c) { return c.prefix == expected.prefix; });
        ASSERT_NE(n, catalogue.end());
        Workspace ws;
        LoadNeighborhood(ws, *n, folder, {}, reporter, progress);
        EXPECT_TRUE(reporter.messages.empty()) << reporter.Texts().front();
        EXPECT_EQ(n->ngbdName, expected.name);
        EXPECT_EQ(n->ngbdDescription, expected.description);
        EXPECT_EQ(n->versionText, expected.versionText);
        ASSERT_EQ(ws.characters.size(), expected.sims.size());
        for (const Character& written : expected.sims) {
            auto loaded = std::find_if(ws.characters.begin(), ws.characters.end(),
                                       [&](const Character& c) { return c.packageFile == written.packageFile; });
            ASSERT_NE(loaded, ws.characters.end()) << written.packageFile;
            ExpectSameSim(*loaded, written);
            const auto portrait = SimPortrait(ws, *loaded);
            ASSERT_TRUE(portrait.has_value());
            EXPECT_EQ(portrait->width, 128);
        }
        // In load order: the package files sorted by name; each sim found through the lookups.
        EXPECT_TRUE(std::is_sorted(ws.characters.begin(), ws.characters.end(),
                                   [](auto& a, auto& b) { return a.packageFile < b.packageFile; }));
        for (Character& sim : ws.characters) {
            EXPECT_EQ(FindSimByGuid(ws, sim.simGuid), &sim);
            if (sim.instanceId != 0) {
                EXPECT_EQ(FindSimByInstance(ws, sim.instanceId), &sim);
            }
        }
        ASSERT_EQ(ws.lotDescList.size(), expected.lots.size());
        for (std::size_t i = 0; i < expected.lots.size(); ++i) {
            EXPECT_EQ(ws.lotDescList[i].lotId, expected.lots[i].lotId);
            EXPECT_EQ(ws.lotDescList[i].lotName, expected.lots[i].lotName);
            EXPECT_EQ(ws.lotDescList[i].lotFile, expected.lots[i].lotFile);
        }
        EXPECT_EQ(ws.simItemList, expected.simItems);
        EXPECT_EQ(ws.familyItemList, expected.familyItems);
        EXPECT_EQ(ws.lotItemList, expected.lotItems);
        EXPECT_EQ(ws.households, expected.households);
        for (const Household& household : expected.households) {
            EXPECT_EQ(FindHousehold(ws, household.instanceId)->instanceId, household.instanceId);
        }
    }
}

// A neighborhood folder put together field by field for one case at a time.
struct Folder {
    test::TempDir dir;
    fixture::PackageBuilder package;
    std::filesystem::path root() const { return dir / "N001"; }

    qh::Character Sim(std::uint32_t guid, std::uint16_t version = 0x36) {
        qh::Character sim;
        sim.sdscVersion = version;
        sim.simGuid = GuidFromValue(guid);
        sim.cookingSkill = 321;
        return sim;
    }
    void Describe(const qh::Character& sim, std::uint32_t instance) {
        package.Add(Key(kSimDescriptionType, instance), fixture::SimDescriptionBytes(sim), true);
    }
    void CharacterPackage(const std::string& file, std::uint32_t guid, const std::string& first, const std::string& last,
                   std::vector<std::pair<std::uint32_t, Bytes>> extra = {}) {
        fixture::PackageBuilder builder;
        builder.Add(Key(0x4F424A44, 1), fixture::ObjectDefinitionBytes("sim", guid))
            .Add(Key(kCatalogTextType, 1), fixture::TextListBytes({{1, first, ""}, {1, "", ""}, {1, last, ""}}));
        for (auto& [instance, bytes] : extra) builder.Add(Key(0x856DDBAC, instance), bytes);
        dir.Write("N001/Characters/" + file, builder.Build());
    }
    Workspace Load(RecordingReporter& reporter) {
        dir.Write("N001/N001_Neighborhood.package", package.Build());
        Neighborhood n;
        n.prefix = "N001";
        n.packagePath = root() / "N001_Neighborhood.package";
        Workspace ws;
        NullProgress progress;
        LoadNeighborhood(ws, n, dir.path(), {1}, reporter, progress);
        return ws;
    }
};

Bytes Jpeg(std::uint8_t shade) {
    Bitmap b = Bitmap::Create(16, 16);
    std::fill(b.pixels.begin(), b.pixels.end(), shade);
    return fixture::EncodeJpeg(b);
}

// A load the player stops at any of its steps ends with OperationCancelled and an empty model,
// and one that is not stopped loads as ever.
TEST(LoadNeighborhood, StopsAtAnyStepWhenCancelledAndLeavesNothing) {
    // Answers "cancelled" from the given step on.
    class StopAt final : public Progress {
    public:
        explicit StopAt(int step) : stopAt_(step) {}
        void SetStatus(std::string_view) override {}
        void SetMaximum(int) override {}
        void SetPosition(int) override {}
        void Step() override { ++steps; }
        bool Cancelled() const override { return stopAt_ >= 0 && steps >= stopAt_; }
        int steps = 0;

    private:
        int stopAt_;
    };
    test::TempDir dir;
    const auto game = demo::WriteDemoGame(dir.path());
    const auto folder = game.userData / "Neighborhoods";
    RecordingReporter reporter;
    NullProgress quiet;
    auto catalogue = ScanNeighborhoods(folder, 1, reporter, quiet);
    auto n = std::find_if(catalogue.begin(), catalogue.end(), [](auto& c) { return c.prefix == "N001"; });
    ASSERT_NE(n, catalogue.end());
    // How many steps a load takes depends on how long it waits for the character files read
    // beside it: each step is tried until a load ends before the step it would stop at.
    for (int step = 1;; ++step) {
        SCOPED_TRACE(step);
        ASSERT_LT(step, 100000) << "the load never ends";
        StopAt stopping(step);
        Workspace ws;
        try {
            LoadNeighborhood(ws, *n, folder, {}, reporter, stopping);
        } catch (const OperationCancelled&) {
            EXPECT_EQ(stopping.steps, step) << "no step after the cancel";
            EXPECT_TRUE(ws.characters.empty());
            EXPECT_TRUE(ws.relationshipList.empty());
            EXPECT_TRUE(ws.loadedFiles.empty());
            continue;
        }
        EXPECT_LT(stopping.steps, step);
        EXPECT_GT(step, 3);
        EXPECT_FALSE(ws.characters.empty());
        break;
    }
    EXPECT_TRUE(reporter.messages.empty());
}

TEST(LoadNeighborhood, MatchingPicturesAndListTexts) {
    Folder f;
    f.Describe(f.Sim(0x77, 0x20), 0x30);  // another sim's description first
    f.Describe(f.Sim(0x55), 0x31);
    f.Describe(f.Sim(0x55, 0x33), 0x32);  // a second one with the same GUID: never used
    f.CharacterPackage("N001_User00007.package", 0x55, "Ann", "Lee", {{0x00000000, Jpeg(10)}, {0x00000001, Jpeg(200)}});
    f.CharacterPackage("N001_User00008.package", 0x99, "No", "Match", {{0x00000100, Jpeg(90)}});
    RecordingReporter reporter;
    const Workspace ws = f.Load(reporter);
    EXPECT_TRUE(reporter.messages.empty());
    ASSERT_EQ(ws.characters.size(), 2u);
    const Character& ann = ws.characters[0];
    EXPECT_EQ(CharacterListText(ann, SortOrder::Last), "Lee, Ann : N001_User00007");
    EXPECT_EQ(ann.instanceId, 0x31u);
    EXPECT_EQ(ann.sdscVersion, 0x36);
    EXPECT_EQ(ann.cookingSkill, 321);
    const auto portrait = SimPortrait(ws, ann);
    ASSERT_TRUE(portrait);
    EXPECT_NEAR(portrait->Pixel(8, 8)[0], 200, 8);  // the second picture, instance 1
    const Character& stranger = ws.characters[1];
    EXPECT_EQ(CharacterListText(stranger, SortOrder::File), "N001_User00008 : Match, No");
    EXPECT_EQ(stranger.instanceId, 0u);
    EXPECT_EQ(stranger.cookingSkill, 0);
    EXPECT_EQ(stranger.ageProperty, -1);
    EXPECT_FALSE(SimPortrait(ws, stranger));  // only instance 0x100: the placeholder
}

TEST(LoadNeighborhood, FailureRowsNameTheirFiles) {
    QH_LINUX_ONLY("case-sensitive file names");
    Folder f;
    f.Describe(f.Sim(0x55), 1);
    f.CharacterPackage("N001_User00001.package", 0x55, "Good", "Sim");
    f.dir.Write("N001/Characters/N001_User00002.package", fixture::PackageBuilder().Build());
    Bytes broken = fixture::PackageBuilder().Add(Key(0x4F424A44, 1), fixture::ObjectDefinitionBytes("x", 1)).Build();
    broken.resize(broken.size() - 3);
    f.dir.Write("N001/Characters/N001_User00003.package", broken);
    // Only files named *.package (any case) are character files: anything else there is not
    // read, and so tells nothing.
    f.CharacterPackage("N001_User00004.PACKAGE", 0x55, "Upper", "Case");
    for (const char* other : {"N001_User00005.package.tmp", ".package", "notes.txt", "N001_User00006.packages"}) {
        f.dir.Write(std::string("N001/Characters/") + other, broken);
    }
    f.dir.Write("N001/N001_Lot1.package", test::ToBytes("not a package at all"));
    fixture::PackageBuilder lot;
    lot.Add(Key(0x0BF999E7, 4), fixture::LotDescriptionBytes(2, "Dorm", ""));
    f.dir.Write("N001/n001_neighborhood.package", lot.Build());  // differs only in case: a lot package

    RecordingReporter reporter;
    const Workspace ws = f.Load(reporter);
    ASSERT_EQ(ws.characters.size(), 2u);
    EXPECT_EQ(ws.characters[0].packageFile, "N001_User00001.package");
    EXPECT_EQ(ws.characters[1].packageFile, "N001_User00004.PACKAGE");
    const auto texts = reporter.Texts();
    const std::vector<std::string> expected = {
        "A Data Error was found in N001_Lot1.package\r\nthis file will be ignored.",
        "An Index Error was found in N001_User00002.package\r\nThis Character will be ignored.",
        "An Data Error was found in N001_User00003.package\r\nThis Character will be ignored.",
    };
    EXPECT_EQ(texts, expected);
    ASSERT_EQ(ws.lotDescList.size(), 1u);
    EXPECT_EQ(ws.lotDescList[0].lotFile, "n001_neighborhood.package");
}

TEST(LoadNeighborhood, MissingOrEmptyNeighborhoodPackage) {
    test::TempDir dir;
    std::filesystem::create_directories(dir / "N001");
    Neighborhood n;
    n.prefix = "N001";
    Workspace ws;
    RecordingReporter reporter;
    NullProgress progress;
    LoadNeighborhood(ws, n, dir.path(), {}, reporter, progress);
    EXPECT_TRUE(ws.characters.empty());
    EXPECT_TRUE(reporter.messages.empty());

    dir.Write("N001/N001_Neighborhood.package", fixture::PackageBuilder().Build());
    LoadNeighborhood(ws, n, dir.path(), {}, reporter, progress);
    EXPECT_EQ(reporter.Texts(), std::vector<std::string>{
                                    "An Index Error was found in N001_Neighborhood.package\r\nThis Neighborhood will be ignored."});
}

TEST(LoadNeighborhood, UnreadableNeighborhoodDataIsSkippedSilently) {
    Folder f;
    f.package.Add(Key(0x4E474248, 1), test::ToBytes("too short"));
    RecordingReporter reporter;
    const Workspace ws = f.Load(reporter);
    EXPECT_TRUE(reporter.messages.empty());
    EXPECT_FALSE(ws.neighborhoodData);
    EXPECT_TRUE(ws.simItemList.empty());
}

}  // namespace
}  // namespace qh
