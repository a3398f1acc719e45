#include "workspace/sim_genes.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "support/platform_only.h"

namespace qh {
namespace {
namespace fs = std::filesystem;

TEST(SimGenes, FoldersOfEveryEditionEachOnceWithTheirOwnCase) {
    QH_LINUX_ONLY("case-sensitive file names");
    test::TempDir dir;
    const fs::path legacy = dir.path() / "The Sims 2 Legacy";
    const fs::path ultimate = dir.path() / "The Sims 2 Ultimate Collection";
    fs::create_directories(legacy / "downloads");  // as a Linux player may have named it
    GameEnvironment env;
    env.userDataFolder = legacy;
    const auto folders = GeneFolders(env, std::vector<fs::path>{legacy, ultimate});
    const std::vector<fs::path> expected = {legacy / "downloads", legacy / "SavedSims", legacy / "Teleport",
                                            ultimate / "Downloads", ultimate / "SavedSims", ultimate / "Teleport"};
    EXPECT_EQ(folders, expected);
}

TEST(SimGenes, EntriesAreTheGamesColoursThenTheCustomOnesOfTheKind) {
    const std::vector<GeneMod> custom = {{GeneKind::Eye, "e1", "a.package", "Violet"},
                                         {GeneKind::Hair, "h1", "b.package", ""},
                                         {GeneKind::Hair, "h2", "c.package", "Copper"}};
    const auto hair = GeneEntries(GeneKind::Hair, custom);
    ASSERT_EQ(hair.size(), 7u);
    EXPECT_EQ(hair[0].text, "NA");
    EXPECT_EQ(hair[0].value, "000000000000000000000000000000000000");
    EXPECT_EQ(hair[4].text, "Red Hair");
    EXPECT_EQ(hair[5].text, "* ");
    EXPECT_EQ(hair[6].value, "h2");
    EXPECT_EQ(GeneEntryOf(hair, "h2"), 6u);
    EXPECT_EQ(GeneEntryOf(hair, "NA"), 0u);
    EXPECT_FALSE(GeneEntryOf(hair, "e1")) << "an eye colour is no hair colour";
    EXPECT_EQ(GeneEntries(GeneKind::Eye, custom).size(), 8u);
    EXPECT_EQ(GeneEntries(GeneKind::Skin, custom).back().text, "Alien Skin");
}

}  // namespace
}  // namespace qh
