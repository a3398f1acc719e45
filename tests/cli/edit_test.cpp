// quillhaven-cli set and save on the demo game.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "demo_game.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace qh {
namespace {

test::CliResult Cli(const std::vector<std::string>& args) { return test::RunCli(QH_CLI_PATH, args); }

nlohmann::json Sim(const nlohmann::json& dump, const std::string& file) {
    for (const auto& sim : dump["characters"]) {
        if (sim["packageFile"] == file) return sim;
    }
    return {};
}

TEST(CliSet, ChangesFieldsAndTheNeighborhoodAndSaves) {
    test::TempDir dir;
    const auto game = demo::WriteDemoGame(dir.path());
    const std::string prefix = game.prefix.string();
    auto result = Cli({"set", "N001", "--wine-prefix", prefix, "--sim", "N001_User00002.package", "cookingSkill=812",
                       "careerGuid=0A408FD0", "lastName=Hart-Lee", "--neighborhood-name", "New Valley", "--save"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(nlohmann::json::parse(result.out)["charactersSaved"], 1);
    const auto dump = nlohmann::json::parse(Cli({"dump", "N001", "--wine-prefix", prefix}).out);
    const auto lily = Sim(dump, "N001_User00002.package");
    EXPECT_EQ(lily["cookingSkill"], 812);
    EXPECT_EQ(lily["careerGuid"], "0A408FD0");
    EXPECT_EQ(lily["lastName"], "Hart-Lee");
    EXPECT_EQ(dump["neighborhood"]["ngbdName"], "New Valley");

    // Without --save nothing is written.
    result = Cli({"set", "N001", "--wine-prefix", prefix, "--sim", "N001_User00002", "cookingSkill=1"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(Sim(nlohmann::json::parse(Cli({"dump", "N001", "--wine-prefix", prefix}).out), "N001_User00002.package")
                  ["cookingSkill"],
              812);
}

TEST(CliSet, RefusesUnknownFieldsAndValuesOutOfRange) {
    test::TempDir dir;
    const auto game = demo::WriteDemoGame(dir.path());
    const std::string prefix = game.prefix.string();
    for (const std::string assignment :
         {"shoeSize=3", "cookingSkill=40000", "cookingSkill=lots", "careerGuid=0A408F", "bodyFlags=1", "instanceId=4"}) {
        const auto result = Cli({"set", "N001", "--wine-prefix", prefix, "--sim", "N001_User00002", assignment, "--save"});
        EXPECT_NE(result.status, 0) << assignment;
        EXPECT_FALSE(result.err.empty());
        EXPECT_TRUE(result.out.empty()) << assignment;
    }
    EXPECT_NE(Cli({"set", "N001", "--wine-prefix", prefix, "--sim", "N001_User99999", "nice=1"}).status, 0);
}

TEST(CliSave, SavesWithoutChangesAndStaysStable) {
    test::TempDir dir;
    const auto game = demo::WriteDemoGame(dir.path());
    const std::string prefix = game.prefix.string();
    const auto before = Cli({"dump", "N001", "--wine-prefix", prefix}).out;
    auto result = Cli({"save", "N001", "--wine-prefix", prefix});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(nlohmann::json::parse(result.out)["charactersSaved"], 0);
    EXPECT_EQ(Cli({"dump", "N001", "--wine-prefix", prefix}).out, before);
    const auto package = game.userData / "Neighborhoods/N001/N001_Neighborhood.package";
    const auto once = test::Slurp(package);
    ASSERT_EQ(Cli({"save", "N001", "--wine-prefix", prefix}).status, 0);
    EXPECT_EQ(test::Slurp(package), once);
}

}  // namespace
}  // namespace qh
