// quillhaven-cli info on the demo game's Wine prefix and with the overrides.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "demo_game.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace qh {
namespace {

test::CliResult Cli(const std::vector<std::string>& args) { return test::RunCli(QH_CLI_PATH, args); }

TEST(CliInfo, FindsTheDemoGameInItsPrefix) {
    test::TempDir dir;
    const auto game = demo::WriteDemoGame(dir.path());
    const auto result = Cli({"info", "--wine-prefix", game.prefix.string(), "--list-prefixes"});
    ASSERT_EQ(result.status, 0) << result.err;
    const auto json = nlohmann::json::parse(result.out);
    EXPECT_TRUE(std::filesystem::equivalent(json["userDataFolder"].get<std::string>(), game.userData));
    EXPECT_TRUE(std::filesystem::equivalent(json["objectsPackagePath"].get<std::string>(), game.objectsPackage));
    EXPECT_TRUE(std::filesystem::is_directory(json["neighborhoodsFolder"].get<std::string>()));
    EXPECT_TRUE(json["hasUniversity"]);
    EXPECT_TRUE(json["hasNightlife"]);
    EXPECT_TRUE(json["hasPets"]);
    EXPECT_TRUE(json["hasSeasons"]);
    EXPECT_TRUE(json["hasApartmentLife"]);
    EXPECT_FALSE(json["hasOpenForBusiness"]);
    EXPECT_EQ(json["languageCode"], 1);
    EXPECT_EQ(json["uiFontName"], "Arial");
    EXPECT_NE(json["sources"]["userDataFolder"].get<std::string>().find("user.reg"), std::string::npos);
    ASSERT_EQ(json["prefixes"].size(), 1u);
    EXPECT_EQ(json["prefixes"][0]["origin"], "--wine-prefix");
}

TEST(CliInfo, OverridesAndTheLanguageSwitchWorkAnywhere) {
    test::TempDir dir;
    const auto game = demo::WriteDemoGame(dir.path());
    const auto result = Cli({"/L", "15", "info", "--wine-prefix", game.prefix.string(), "--expansions",
                             "freetime", "--user-data", (dir / "data").string(), "--objects", "/x.package"});
    ASSERT_EQ(result.status, 0) << result.err;
    const auto json = nlohmann::json::parse(result.out);
    EXPECT_EQ(json["languageCode"], 15);
    EXPECT_EQ(json["uiFontName"], "Arial");
    EXPECT_TRUE(json["hasFreeTime"]);
    EXPECT_FALSE(json["hasSeasons"]);
    EXPECT_EQ(json["userDataFolder"], (dir / "data").string());
    EXPECT_EQ(json["objectsPackagePath"], "/x.package");
    EXPECT_EQ(json["sources"]["languageCode"], "/l");

    const auto bad = Cli({"info", "--expansions", "castaway"});
    EXPECT_NE(bad.status, 0);
    EXPECT_NE(bad.err.find("castaway"), std::string::npos);
}

TEST(CliInfo, MalformedRegistryFileIsNamedWithItsLine) {
    test::TempDir dir;
    const auto game = demo::WriteDemoGame(dir.path());
    std::ofstream(game.prefix / "user.reg", std::ios::app) << "\"Broken\"=dword:zz\n";
    const auto result = Cli({"info", "--wine-prefix", game.prefix.string()});
    EXPECT_NE(result.status, 0);
    EXPECT_NE(result.err.find("user.reg line"), std::string::npos) << result.err;
}

}  // namespace
}  // namespace qh
