// quillhaven-cli neighborhoods and dump on the demo game.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "demo_game.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace qh {
namespace {

test::CliResult Cli(const std::vector<std::string>& args) { return test::RunCli(QH_CLI_PATH, args); }

TEST(CliNeighborhoods, ListsTheCatalogueInTheSelectorsOrder) {
    test::TempDir dir;
    const auto game = demo::WriteDemoGame(dir.path());
    const auto result = Cli({"neighborhoods", "--wine-prefix", game.prefix.string()});
    ASSERT_EQ(result.status, 0) << result.err;
    const auto json = nlohmann::json::parse(result.out);
    ASSERT_EQ(json.size(), 2u);
    EXPECT_EQ(json[0]["text"], "G001 : Alderwood College");
    EXPECT_EQ(json[1]["prefix"], "N001");
    EXPECT_EQ(json[1]["ngbdName"], "Pleasant Valley");
    EXPECT_EQ(json[1]["versionText"], "2.18.0.1 - Demo");
    EXPECT_TRUE(std::filesystem::exists(json[1]["packagePath"].get<std::string>()));
}

TEST(CliDump, PrintsEveryFieldWithItsTypeAndTheSortSetting) {
    test::TempDir dir;
    const auto game = demo::WriteDemoGame(dir.path());
    const auto settings = dir / "settings.ini";
    std::ofstream(settings) << "[General]\nSort=Last\n";
    const auto result = Cli({"dump", "n001", "--wine-prefix", game.prefix.string(), "--settings", settings.string()});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(result.err.empty()) << result.err;
    const auto json = nlohmann::json::parse(result.out);
    // Written member by member, laid out as the whole document would be.
    EXPECT_EQ(result.out, nlohmann::ordered_json::parse(result.out).dump(2) + "\n");
    EXPECT_EQ(json["neighborhood"]["text"], "N001 : Pleasant Valley");
    const auto& sims = json["characters"];
    ASSERT_EQ(sims.size(), 16u);
    EXPECT_EQ(sims[0]["listText"], "Fairbanks, Edith : N001_User00014");
    const auto marta = std::find_if(sims.begin(), sims.end(), [](auto& s) { return s["firstName"] == "Marta"; });
    ASSERT_NE(marta, sims.end());
    EXPECT_EQ((*marta)["simGuid"], "0100007E");  // stored byte order
    EXPECT_EQ((*marta)["sdscVersion"], 0x36);
    EXPECT_TRUE((*marta)["hasPicture"]);
    EXPECT_TRUE((*marta)["malePreference"].is_number_integer());
    const auto stranger = std::find_if(sims.begin(), sims.end(), [](auto& s) { return s["firstName"] == "Stranger"; });
    EXPECT_EQ((*stranger)["instanceId"], 0);
    EXPECT_EQ(json["lots"].size(), 4u);
    EXPECT_FALSE(json["simItems"].empty());
    EXPECT_EQ(json["simItems"][0]["itemGuid"].get<std::string>().size(), 8u);

    const auto missing = Cli({"dump", "N404", "--wine-prefix", game.prefix.string()});
    EXPECT_NE(missing.status, 0);
    EXPECT_NE(missing.err.find("N404"), std::string::npos);
}

TEST(CliDump, SkippedFilesAreReportedWithoutStoppingTheDump) {
    test::TempDir dir;
    const auto game = demo::WriteDemoGame(dir.path());
    const auto characters = game.userData / "Neighborhoods" / "N001" / "Characters";
    std::ofstream(characters / "N001_User00099.package") << "garbage";
    const auto result = Cli({"dump", "N001", "--wine-prefix", game.prefix.string()});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.err.find("message: An Data Error was found in N001_User00099.package This Character will be ignored.\n"), std::string::npos)
        << result.err;
    EXPECT_EQ(nlohmann::json::parse(result.out)["characters"].size(), 16u);
}

}  // namespace
}  // namespace qh
