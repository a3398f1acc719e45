// quillhaven-cli info on the demo game's Wine prefix and with the overrides.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <tuple>

#include "demo_game.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"
#include "support/platform_only.h"

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
    // The prefix is passed over, said with the file and its line; nothing is found in it.
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.err.find("user.reg line"), std::string::npos) << result.err;
    const auto json = nlohmann::json::parse(result.out);
    EXPECT_EQ(json["userDataFolder"], "");
    ASSERT_EQ(json["skipped"].size(), 1u);
    EXPECT_NE(json["skipped"][0].get<std::string>().find("user.reg line"), std::string::npos);
    const auto listed = Cli({"neighborhoods", "--wine-prefix", game.prefix.string()});
    EXPECT_NE(listed.status, 0);
    EXPECT_NE(listed.err.find("Game User Data Not Found"), std::string::npos);
    EXPECT_NE(listed.err.find("--user-data"), std::string::npos) << "says how to name the folder";
}

// The careers the game offers, by the expansions found: the demo's discs lack Open for Business.
TEST(CliInfo, CareersListsWhatTheGameOffersASim) {
    test::TempDir dir;
    const auto game = demo::WriteDemoGame(dir.path());
    auto result = Cli({"careers", "--wine-prefix", game.prefix.string()});
    ASSERT_EQ(result.status, 0) << result.err;
    auto json = nlohmann::json::parse(result.out);
    ASSERT_EQ(json.size(), 26u);  // all but the owned business
    EXPECT_EQ(json[0]["name"], "Unemployed");
    EXPECT_EQ(json[1]["key"], "55651945");
    EXPECT_EQ(json[1]["titles"][3], "Field Sales Rep");
    result = Cli({"careers", "--wine-prefix", game.prefix.string(), "--life-stage", "19", "--species", "3"});
    json = nlohmann::json::parse(result.out);
    ASSERT_EQ(json.size(), 4u);
    EXPECT_EQ(json[3]["name"], "ShowBiz");
    result = Cli({"careers", "--wine-prefix", game.prefix.string(), "--life-stage", "51", "--retired", "--expansions", "none"});
    json = nlohmann::json::parse(result.out);
    ASSERT_EQ(json.size(), 21u);
    EXPECT_EQ(json[11]["name"], "Elder - Business");
}

// Each edition's layout: what discovery finds in it, as JSON.
TEST(CliInfo, ListsEveryEditionFoundWithItsFolders) {
    QH_LINUX_ONLY("Wine and Proton prefixes");
    for (const auto& [edition, name, folder] :
         {std::tuple{demo::Edition::Legacy, "Legacy Collection", "The Sims 2 Legacy"},
          std::tuple{demo::Edition::Ultimate, "Ultimate Collection", "The Sims\u2122 2 Ultimate Collection"},
          std::tuple{demo::Edition::Retail, "retail", "The Sims 2"}}) {
        test::TempDir dir;
        demo::DemoOptions options;
        options.edition = edition;
        const auto game = demo::WriteDemoGame(dir.path(), options);
        const auto result = Cli({"info", "--wine-prefix", game.prefix.string()});
        ASSERT_EQ(result.status, 0) << result.err;
        const auto json = nlohmann::json::parse(result.out);
        ASSERT_EQ(json["editions"].size(), 1u) << name;
        const auto& found = json["editions"][0];
        EXPECT_EQ(found["edition"], name);
        EXPECT_EQ(found["displayName"], folder);
        EXPECT_TRUE(std::filesystem::equivalent(found["userDataFolder"].get<std::string>(), game.userData));
        EXPECT_TRUE(std::filesystem::equivalent(found["objectsPackagePath"].get<std::string>(), game.objectsPackage));
        EXPECT_TRUE(std::filesystem::is_directory(found["installFolder"].get<std::string>()));
        EXPECT_EQ(found["languageCode"], 1);
        EXPECT_EQ(found["expansions"].size(), edition == demo::Edition::Retail ? 7u : 8u);
        EXPECT_EQ(json["edition"], 0);
    }
}

}  // namespace
}  // namespace qh
