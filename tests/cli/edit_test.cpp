// quillhaven-cli set and save on the demo game.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <stdexcept>
#include <thread>
#include <nlohmann/json.hpp>

#include "demo_game.h"
#include "platform/file_io.h"
#include "platform/folder_lock.h"
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
                       "lastName=Hart-Lee", "--neighborhood-name", "New Valley", "--save"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(nlohmann::json::parse(result.out)["charactersSaved"], 1);
    const auto dump = nlohmann::json::parse(Cli({"dump", "N001", "--wine-prefix", prefix}).out);
    const auto lily = Sim(dump, "N001_User00002.package");
    EXPECT_EQ(lily["cookingSkill"], 812);
    EXPECT_EQ(lily["lastName"], "Hart-Lee");
    EXPECT_EQ(dump["neighborhood"]["ngbdName"], "New Valley");

    // Without --save nothing is written.
    result = Cli({"set", "N001", "--wine-prefix", prefix, "--sim", "N001_User00002", "cookingSkill=1"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(Sim(nlohmann::json::parse(Cli({"dump", "N001", "--wine-prefix", prefix}).out), "N001_User00002.package")
                  ["cookingSkill"],
              812);
}

// The demo game, and `set ... --save` and `dump` on one of its valley's sims.
struct Valley {
    test::TempDir dir;
    demo::DemoGame game = demo::WriteDemoGame(dir.path());
    test::CliResult Set(const std::string& sim, std::vector<std::string> args) const {
        std::vector<std::string> all{"set", "N001", "--wine-prefix", game.prefix.string(), "--sim", sim};
        all.insert(all.end(), args.begin(), args.end());
        all.push_back("--save");
        return Cli(all);
    }
    nlohmann::json Dumped(const std::string& file) const {
        const auto dumped = Cli({"dump", "N001", "--wine-prefix", game.prefix.string()});
        if (dumped.status != 0) throw std::runtime_error("dump failed (" + std::to_string(dumped.status) + "): " + dumped.err);
        return Sim(nlohmann::json::parse(dumped.out), file);
    }
};

// The career options apply the Career panel's rules: the level kept or fallen to 0, only careers
// the sim is offered, the boxes' ranges, the NPC type in advanced mode only.
TEST(CliSet, CareerOptionsFollowThePanel) {
    const Valley v;
    auto set = [&](std::vector<std::string> args) { return v.Set("N001_User00000.package", std::move(args)); };
    auto marta = [&] { return v.Dumped("N001_User00000.package"); };
    auto result = set({"--career", "fd61770c"});  // Medicine keeps Business level 3
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(marta()["careerGuid"], "FD61770C");
    EXPECT_EQ(marta()["jobLevel"], 3);
    result = set({"--career", "5FE9892C:7", "--performance", "-20", "--pension", "150", "--vacation-days", "2.5"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(marta()["jobLevel"], 7);
    EXPECT_EQ(marta()["performance"], -20);
    EXPECT_EQ(marta()["pension"], 150);
    EXPECT_EQ(marta()["pto"], 250);
    EXPECT_EQ(set({"jobLevel=2"}).status, 0);
    EXPECT_EQ(marta()["jobLevel"], 2);

    for (const std::vector<std::string>& refused : std::vector<std::vector<std::string>>{
             {"--career", "0A408FD0"},   // Open for Business is not installed
             {"--career", "77051E4C"},   // a teen's career
             {"--career", "5FE9892C:11"},
             {"--career", "12345678"},
             {"--performance", "101"},
             {"--pension", "40000"},
             {"--vacation-days", "1..5"},
             {"--retired", "FD61770C"},  // only an elder retires
             {"--npc-type", "14", "--no-advanced"},
             {"performance=500"}}) {
        const auto r = set(refused);
        EXPECT_NE(r.status, 0) << refused[0] << " " << refused[1 % refused.size()];
    }
    EXPECT_EQ(marta()["jobLevel"], 2) << "nothing of a refused command is saved";
    result = set({"--npc-type", "14", "--advanced"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(marta()["npcType"], 14);
}

// School and university through the School panel's rules: who may have what, letter grades,
// the class only where the panel lets it be chosen.
TEST(CliSet, SchoolAndUniversityOptionsFollowThePanel) {
    const Valley v;
    auto set = [&](const std::string& sim, std::vector<std::string> args) { return v.Set(sim, std::move(args)); };
    auto dumped = [&](const std::string& file) { return v.Dumped(file); };
    auto result = set("N001_User00002.package", {"--school", "b58867d0", "--grade", "A+"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(dumped("N001_User00002.package")["schoolGuid"], "B58867D0");
    EXPECT_EQ(dumped("N001_User00002.package")["schoolGrade"], 13);
    result = set("N001_User00012.package", {"--major", "4DF09C4E", "--gpa", "875", "--remaining-hours", "12"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(dumped("N001_User00012.package")["universityMajorGuid"], "4DF09C4E");
    EXPECT_EQ(dumped("N001_User00012.package")["universityClass"], 5) << "the class stays";
    EXPECT_EQ(dumped("N001_User00012.package")["gpa"], 875);
    const auto work = dumped("N001_User00012.package")["work"];
    EXPECT_EQ(work["major"], "Drama");
    EXPECT_EQ(work["class"], "Moving Pretentiously: A Modern Dance Workshop");
    EXPECT_EQ(work["year"], "Junior");
    EXPECT_EQ(work["gpa"], "3.5");
    EXPECT_EQ(dumped("N001_User00000.package")["work"]["title"], "Field Sales Rep");
    for (const auto& [sim, args] : std::vector<std::pair<std::string, std::vector<std::string>>>{
             {"N001_User00000.package", {"--school", "B58867D0"}},         // an adult
             {"N001_User00002.package", {"--grade", "14"}},
             {"N001_User00002.package", {"--major", "4DF09C4E"}},           // a child
             {"N001_User00000.package", {"--gpa", "500"}},                  // not a young adult
             {"N001_User00012.package", {"--major", "4DF09C4E:3", "--advanced"}},  // every other expansion installed
             {"N001_User00012.package", {"--remaining-hours", "73"}}}) {
        EXPECT_NE(set(sim, args).status, 0) << sim << " " << args[0];
    }
}

// Hobbies and badges as their panels offer them.
TEST(CliSet, HobbyAndBadgeOptionsFollowThePanels) {
    const Valley v;
    auto set = [&](const std::string& sim, std::vector<std::string> args) { return v.Set(sim, std::move(args)); };
    auto result = set("N001_User00000.package", {"hobbyScience=12", "--hobby", "Games=640", "--talent", "Nature",
                                                  "--hobby-lots", "Fitness,204", "--badge", "Sewing=666"});
    ASSERT_EQ(result.status, 0) << result.err;
    const auto marta = v.Dumped("N001_User00000.package");
    EXPECT_EQ(marta["hobbyGames"], 640);
    EXPECT_EQ(marta["hobbyScience"], 12);
    EXPECT_EQ(marta["talent"], 209);
    for (const auto& [sim, args] : std::vector<std::pair<std::string, std::vector<std::string>>>{
             {"N001_User00008.package", {"--hobby", "Games=1"}},              // a cat
             {"N001_User00000.package", {"--hobby", "Games=1001"}},
             {"N001_User00000.package", {"--talent", "Knitting"}},
             {"N001_User00000.package", {"--hobby-lots", "Bowling"}},
             {"N001_User00000.package", {"--badge", "Cash Register=333"}},    // Open for Business is not installed
             {"N001_User00003.package", {"--badge", "Fishing=333"}}}) {       // a toddler
        EXPECT_NE(set(sim, args).status, 0) << sim << " " << args[0] << " " << args[1];
    }
}

// Aspiration and rewards as their panels offer them, and dumped in the panels' words.
TEST(CliSet, AspirationAndRewardOptionsFollowThePanels) {
    const Valley v;
    auto set = [&](const std::string& sim, std::vector<std::string> args) { return v.Set(sim, std::move(args)); };
    auto result = set("N001_User00000.package", {"--aspiration", "Knowledge,3", "--reward-points", "1234", "--lta-level",
                                                  "20000", "--weekly-benefit", "6", "--reward", "Better Barre=on",
                                                  "--reward", "0xCE8408E6=off", "--badge", "0x12297157=1000",
                                                  "--enthusiasm", "Sports=300"});
    ASSERT_EQ(result.status, 0) << result.err;
    const auto marta = v.Dumped("N001_User00000.package");
    EXPECT_EQ(marta["aspirationFlags"], 0x0020 | 0x0004);
    EXPECT_EQ(marta["aspirationRewardPoints"], 123);
    EXPECT_EQ(marta["hobbySports"], 300);
    const auto& aspiration = marta["aspiration"];
    EXPECT_EQ(aspiration["aspiration"], "Knowledge");
    EXPECT_EQ(aspiration["secondary"], "Fortune");
    EXPECT_EQ(aspiration["points"], 1230);
    EXPECT_EQ(aspiration["longTermLevel"], 20000);
    EXPECT_EQ(aspiration["benefit"], 6);
    EXPECT_EQ(marta["badges"]["Fishing"]["grade"], "Gold");
    const auto rewards = marta["rewards"].get<std::vector<std::string>>();
    EXPECT_NE(std::find(rewards.begin(), rewards.end(), "Better Barre"), rewards.end());
    EXPECT_EQ(std::find(rewards.begin(), rewards.end(), "Cell Phone"), rewards.end());
    // Only the primary: the secondary shown stays.
    ASSERT_EQ(set("N001_User00000.package", {"--aspiration", "1"}).status, 0);
    EXPECT_EQ(v.Dumped("N001_User00000.package")["aspiration"]["secondary"], "Fortune");
    for (const auto& [sim, args] : std::vector<std::pair<std::string, std::vector<std::string>>>{
             {"N001_User00000.package", {"--aspiration", "9"}},
             {"N001_User00000.package", {"--aspiration", "Wealth"}},
             {"N001_User00000.package", {"aspirationFlags=4"}},                   // through --aspiration only
             {"N001_User00000.package", {"aspirationRewardPoints=4"}},            // stored in tens: --reward-points
             {"N001_User00000.package", {"--reward-points", "12a"}},
             {"N001_User00000.package", {"--reward-points", "999999"}},
             {"N001_User00000.package", {"--aspiration-meter", "101"}},           // FreeTime's meter runs to 100
             {"N001_User00004.package", {"--aspiration-level", "3"}},             // a baby's is shown only
             {"N001_User00002.package", {"--weekly-benefit", "3"}},               // Lily has no benefit
             {"N001_User00000.package", {"--lta-unlocks", "14"}},                 // 3 of 16 used: 0 to 13
             {"N001_User00000.package", {"--influence-level", "6"}},
             {"N001_User00002.package", {"--reward", "Cell Phone=on"}},           // a child
             {"N001_User00013.package", {"--reward", "Secret Society=on"}},       // a teen
             {"N001_User00000.package", {"--reward", "Golden Toaster=on"}}}) {
        EXPECT_NE(set(sim, args).status, 0) << sim << " " << args[0] << " " << args[args.size() - 1];
    }
    EXPECT_EQ(v.Dumped("N001_User00002.package")["aspiration"]["benefit"], nullptr);
}

// Genes and the sim's own colours as the genetics panel sets them; dumped as the record holds them.
TEST(CliSet, GeneOptionsFollowThePanel) {
    const Valley v;
    auto set = [&](const std::string& sim, std::vector<std::string> args) { return v.Set(sim, std::move(args)); };
    const std::string alien = "6baf064a-85ad-4e37-8d81-a987e9f8da46";
    auto result = set("N001_User00000.package", {"--gene", "skinTone=" + alien, "--gene", "Mothers Hair Color=NA",
                                                  "eyeColor=2d6839c5-0b7c-48a1-9c55-4bd9cc873b0f"});
    ASSERT_EQ(result.status, 0) << result.err;
    const auto marta = v.Dumped("N001_User00000.package");
    EXPECT_EQ(marta["dna"]["skinTone"], alien);
    EXPECT_EQ(marta["dna"]["motherHairColor"], "000000000000000000000000000000000000") << "NA stores 36 zeros";
    EXPECT_EQ(marta["eyeColor"], "2d6839c5-0b7c-48a1-9c55-4bd9cc873b0f");
    // A visitor without a description keeps its colours in its own package, but has no record.
    EXPECT_EQ(set("N001_User00015.package", {"--gene", "hairColor=00000002-0000-0000-0000-000000000000"}).status, 0);
    EXPECT_EQ(v.Dumped("N001_User00015.package")["dna"], nullptr);
    for (const auto& [sim, args] : std::vector<std::pair<std::string, std::vector<std::string>>>{
             {"N001_User00015.package", {"--gene", "skinTone=" + alien}},
             {"N001_User00008.package", {"--gene", "skinTone=" + alien}},     // a cat
             {"N001_User00000.package", {"--gene", "skinTone=</AnyString>"}},
             {"N001_User00000.package", {"--gene", "gene5=" + alien}},        // no selector shows it
             {"N001_User00000.package", {"hairColor=brown"}}}) {
        EXPECT_NE(set(sim, args).status, 0) << sim << " " << args.back();
    }
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

namespace qh {
namespace {

TEST(CliSet, PanelOperationsAndItemsGoThroughTheCoreRules) {
    test::TempDir dir;
    const auto game = demo::WriteDemoGame(dir.path());
    const std::string prefix = game.prefix.string();
    // Marta (instance 0x10): dead, Leo, an extra badge, her cell phone gone, elder, male.
    auto result = Cli({"set", "N001", "--wine-prefix", prefix, "--sim", "N001_User00000", "--dead", "on", "--zodiac", "5",
                       "--add-item", "505FDC28:1:300,0", "--add-item", "12345678:0:", "--remove-items", "CE8408E6",
                       "--life-stage", "5", "--gender", "male", "--advanced", "--save"});
    ASSERT_EQ(result.status, 0) << result.err;
    const auto dump = nlohmann::json::parse(Cli({"dump", "N001", "--wine-prefix", prefix}).out);
    const auto marta = Sim(dump, "N001_User00000.package");
    EXPECT_EQ(marta["lifeStage"], 51);
    EXPECT_EQ(marta["gender"], 0);
    EXPECT_EQ(marta["zodiac"], 5);
    EXPECT_EQ(marta["outgoing"], 1000);
    EXPECT_EQ(marta["geneticNice"], 300);
    EXPECT_FALSE(marta["hasPicture"]);  // a new life stage: the game draws new pictures
    std::vector<std::pair<std::string, std::vector<int>>> items;
    for (const auto& item : dump["simItems"]) {
        if (item["owner"] == 0x10) items.emplace_back(item["itemGuid"], item["values"].get<std::vector<int>>());
    }
    EXPECT_NE(std::find(items.begin(), items.end(), std::pair<std::string, std::vector<int>>{"2CCF9BED", {8, 8, 0, 0, 0}}),
              items.end());
    EXPECT_NE(std::find(items.begin(), items.end(), std::pair<std::string, std::vector<int>>{"505FDC28", {300, 0}}),
              items.end());
    EXPECT_NE(std::find(items.begin(), items.end(), std::pair<std::string, std::vector<int>>{"12345678", {}}), items.end());
    EXPECT_TRUE(std::none_of(items.begin(), items.end(), [](auto& i) { return i.first == "CE8408E6"; }));

    // Undoing the dead mark; bad operations are refused.
    result = Cli({"set", "N001", "--wine-prefix", prefix, "--sim", "N001_User00010", "--dead", "off", "--advanced", "--save"});
    ASSERT_EQ(result.status, 0) << result.err;
    const auto after = nlohmann::json::parse(Cli({"dump", "N001", "--wine-prefix", prefix}).out);
    for (const auto& item : after["simItems"]) EXPECT_FALSE(item["owner"] == 0x1A && item["itemGuid"] == "2CCF9BED");
    EXPECT_NE(Cli({"set", "N001", "--wine-prefix", prefix, "--sim", "N001_User00008", "--life-stage", "4", "--advanced"}).status, 0)
        << "a cat has three stages";
    EXPECT_NE(Cli({"set", "N001", "--wine-prefix", prefix, "--sim", "N001_User00000", "--add-item", "2CCF9BED:2:1"}).status, 0);
    EXPECT_NE(Cli({"set", "N001", "--wine-prefix", prefix, "--sim", "N001_User00000", "--add-item", "2CCF9BED:1:x"}).status, 0);
    EXPECT_NE(Cli({"set", "N001", "--wine-prefix", prefix, "--dead", "on"}).status, 0);
}

TEST(CliSet, RuleGovernedFieldsGoThroughTheirRules) {
    test::TempDir dir;
    const auto game = demo::WriteDemoGame(dir.path());
    const std::string prefix = game.prefix.string();
    // The panel's rules: a gender sets the gender property too, the two locomotion weights keep
    // adding up to 100, a life stage sets the age property and drops the pictures at the save.
    // Gender, life stage and locomotion are the window's advanced controls.
    auto result = Cli({"set", "N001", "--wine-prefix", prefix, "--sim", "N001_User00002.package", "gender=0"});
    EXPECT_NE(result.status, 0);
    EXPECT_NE(result.err.find("advanced mode"), std::string::npos) << result.err;
    result = Cli({"set", "N001", "--wine-prefix", prefix, "--sim", "N001_User00002.package", "gender=0",
                  "lifeStage=51", "locoWeight0=10", "--advanced", "--save"});
    ASSERT_EQ(result.status, 0) << result.err;
    const auto lily = Sim(nlohmann::json::parse(Cli({"dump", "N001", "--wine-prefix", prefix}).out), "N001_User00002.package");
    EXPECT_EQ(lily["gender"], 0);
    EXPECT_EQ(lily["lifeStage"], 51);
    EXPECT_EQ(lily["locoWeight0"], 10);
    EXPECT_EQ(lily["locoWeight1"], 90);
    EXPECT_EQ(lily["hasPicture"], false);

    // A value the rule does not take is refused with the option that sets it; nothing is saved.
    for (const char* bad : {"lifeStage=7", "gender=2", "locoWeight1=101", "zodiac=13"}) {
        result = Cli({"set", "N001", "--wine-prefix", prefix, "--sim", "N001_User00002.package", bad, "--advanced", "--save"});
        EXPECT_NE(result.status, 0) << bad;
        EXPECT_NE(result.err.find("(or use --"), std::string::npos) << result.err;
        EXPECT_TRUE(result.out.empty()) << bad;
    }
    result = Cli({"set", "N001", "--wine-prefix", prefix, "--sim", "N001_User00002.package", "--zodiac", "0"});
    EXPECT_NE(result.status, 0);
    EXPECT_NE(result.err.find("--zodiac must be from 1"), std::string::npos) << result.err;
}

TEST(CliOptions, AnUnknownLanguageOrExpansionIsRefusedByName) {
    test::TempDir dir;
    const auto game = demo::WriteDemoGame(dir.path());
    const std::string prefix = game.prefix.string();
    auto result = Cli({"neighborhoods", "--wine-prefix", prefix, "--language", "de"});
    EXPECT_NE(result.status, 0);
    EXPECT_NE(result.err.find("--language: \"de\" is no language of the game"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("german"), std::string::npos);
    EXPECT_EQ(Cli({"neighborhoods", "--wine-prefix", prefix, "--language", "German"}).status, 0);
    EXPECT_EQ(Cli({"neighborhoods", "--wine-prefix", prefix, "--language", "4"}).status, 0);
    result = Cli({"neighborhoods", "--wine-prefix", prefix, "--expansions", "pets,moonbase"});
    EXPECT_NE(result.status, 0);
    EXPECT_NE(result.err.find("--expansions"), std::string::npos) << result.err;
}

}  // namespace
}  // namespace qh

namespace qh {
namespace {

// The panels' rules from the shell: personality, interests, item skills, toddler training and
// need speeds, saved and read back through dump.
TEST(CliSetTraits, PersonalitySkillsAndNeedsGoThroughThePanelsRules) {
    test::TempDir dir;
    const auto game = demo::WriteDemoGame(dir.path());
    const std::string prefix = game.prefix.string();
    // Marta, an adult of the newest format; Theo, a toddler.
    auto result = Cli({"set", "N001", "--wine-prefix", prefix, "--sim", "N001_User00000.package", "--max-all",
                       "--personality", "geneticNeat=12", "--personality", "reputation=-40", "--interest", "Sci-Fi=3",
                       "--item-skill", "0DA265F4=7", "--item-skill", "12F49912=250", "--presence", "32E9E44C=off",
                       "--presence", "531FE710=on", "--need", "hunger=24", "--save"});
    ASSERT_EQ(result.status, 0) << result.err;
    result = Cli({"set", "N001", "--wine-prefix", prefix, "--sim", "N001_User00003.package", "--toddler",
                  "10,20,30,1,0,1,1", "--save"});
    ASSERT_EQ(result.status, 0) << result.err;
    const auto dump = nlohmann::json::parse(Cli({"dump", "N001", "--wine-prefix", prefix}).out);
    const auto marta = Sim(dump, "N001_User00000.package");
    EXPECT_EQ(marta["personality"]["neat"], 1000);
    EXPECT_EQ(marta["personality"]["geneticNeat"], 12);
    EXPECT_EQ(marta["personality"]["reputation"], -40);
    EXPECT_EQ(marta["interests"]["interestPolitics"], 1000);
    EXPECT_EQ(marta["interests"]["interestSciFi"], 3);
    EXPECT_EQ(marta["skills"]["logicSkill"], 1000);
    EXPECT_EQ(marta["needs"]["decayHunger"]["speed"], "Slower");
    std::map<std::string, nlohmann::json> skills;
    for (const auto& skill : marta["itemSkills"]) skills[skill["skill"]] = skill;
    EXPECT_EQ(skills["Dance Skill"]["level"], 7);
    EXPECT_EQ(skills["Hula Dance"]["level"], 250);
    EXPECT_EQ(skills["Hula Dance"]["itemGuid"], "12F49912");
    EXPECT_EQ(skills.count("Hot Stone Massage"), 0u);
    EXPECT_EQ(skills["Ninja"]["learned"], true);
    const auto theo = Sim(dump, "N001_User00003.package");
    EXPECT_EQ(theo["toddlerTraining"]["walk"], 10);
    EXPECT_EQ(theo["toddlerTraining"]["pottyLearned"], true);
    EXPECT_EQ(theo["toddlerTraining"]["rhymeLearned"], true);
    int training = 0;
    for (const auto& item : dump["simItems"]) {
        if (item["itemGuid"] == "4DDF0E12" && item["owner"] == theo["instanceId"]) {
            ++training;
            EXPECT_EQ(item["values"], nlohmann::json::array({0, 10, 20, 30, 1, 0, 1, 1}));
        }
    }
    EXPECT_EQ(training, 1);
}

// Every field a rule governs has one door: FIELD=VALUE runs the rule of the option that governs
// it, with its ranges and refusals, and only --raw writes it as typed.
TEST(CliSet, OneDoorPerField) {
    test::TempDir dir;
    const auto game = demo::WriteDemoGame(dir.path());
    const std::string prefix = game.prefix.string();
    auto set = [&](std::vector<std::string> args) {
        std::vector<std::string> command = {"set", "N001", "--wine-prefix", prefix};
        command.insert(command.end(), args.begin(), args.end());
        return Cli(command);
    };
    const std::vector<std::vector<std::string>> refused = {
        {"--sim", "N001_User00000.package", "cookingSkill=5000"},     // the slider's range
        {"--sim", "N001_User00007.package", "nice=200"},              // Rex: a dog's personality is kept
        {"--sim", "N001_User00000.package", "fatness=5000"},          // the Character panel's slider
        {"--sim", "N001_User00000.package", "malePreference=-1001"},
        {"--sim", "N001_User00000.package", "fitnessPreference=5"},   // shown only in advanced mode
        {"--sim", "N001_User00000.package", "decayHunger=6"},         // not a speed of the Needs panel
        {"--sim", "N001_User00000.package", "lingeringNumber=3"},     // set by the dead mark alone
        {"--sim", "N001_User00003.package", "--spouse", "N001_User00001.package", "--advanced"},  // Theo is a child
        {"--sim", "N001_User00000.package", "--move-in", "5", "--advanced"},  // household 5 has no members
        {"--sim", "N001_User00000.package", "--move-in", "2"},                // Move In is advanced
        {"--sim", "N001_User00000.package", "--rel-flag", "17:Married=off"},   // advanced flags
    };
    for (const auto& args : refused) {
        auto command = args;
        command.push_back("--save");
        const auto result = set(command);
        EXPECT_NE(result.status, 0) << args[2];
        EXPECT_TRUE(result.out.empty()) << args[2];
    }
    const auto dead = set({"--sim", "N001_User00000.package", "lingeringNumber=3"});
    EXPECT_NE(dead.err.find("--dead"), std::string::npos) << dead.err;  // names the option

    // Through the rule: in range, stored as the panel stores it; --raw writes as typed.
    ASSERT_EQ(set({"--sim", "N001_User00000.package", "cookingSkill=900", "fatness=500", "--save"}).status, 0);
    ASSERT_EQ(set({"--sim", "N001_User00001.package", "cookingSkill=5000", "--raw", "--save"}).status, 0);
    const auto dump = nlohmann::json::parse(Cli({"dump", "N001", "--wine-prefix", prefix}).out);
    EXPECT_EQ(Sim(dump, "N001_User00000.package")["cookingSkill"], 900);
    EXPECT_EQ(Sim(dump, "N001_User00000.package")["fatness"], 500);
    EXPECT_EQ(Sim(dump, "N001_User00001.package")["cookingSkill"], 5000);
}

// For scripts: set without --save prints, as JSON, what it would change and saves nothing; a
// mistyped command names the commands there are.
TEST(CliSet, WithoutSaveItIsADryRunAndAMistypedCommandNamesTheValidOnes) {
    test::TempDir dir;
    const auto game = demo::WriteDemoGame(dir.path());
    const std::string prefix = game.prefix.string();
    const auto before = Sim(nlohmann::json::parse(Cli({"dump", "N001", "--wine-prefix", prefix}).out), "N001_User00000.package");
    const auto result = Cli({"set", "N001", "--wine-prefix", prefix, "--sim", "N001_User00000.package", "cookingSkill=900",
                             "--household", "1", "--funds", "5", "--rel", "17:-10,10"});
    ASSERT_EQ(result.status, 0) << result.err;
    const auto out = nlohmann::json::parse(result.out);
    EXPECT_EQ(out["saved"], false);
    EXPECT_EQ(out["changes"]["sim"]["fields"]["cookingSkill"]["from"], before["cookingSkill"]);
    EXPECT_EQ(out["changes"]["sim"]["fields"]["cookingSkill"]["to"], 900);
    EXPECT_FALSE(out["changes"]["sim"]["fields"].contains("dirty"));
    EXPECT_EQ(out["changes"]["households"][0]["fields"]["funds"]["to"], 5);
    EXPECT_EQ(out["changes"]["relationships"][0]["fields"]["shortTerm"]["to"], -10);
    EXPECT_NE(result.err.find("nothing was saved"), std::string::npos) << result.err;
    const auto after = Sim(nlohmann::json::parse(Cli({"dump", "N001", "--wine-prefix", prefix}).out), "N001_User00000.package");
    EXPECT_EQ(after["cookingSkill"], before["cookingSkill"]);

    const auto mistyped = Cli({"sett", "N001"});
    EXPECT_NE(mistyped.status, 0);
    EXPECT_NE(mistyped.err.find("no command \"sett\""), std::string::npos) << mistyped.err;
    EXPECT_NE(mistyped.err.find("set, save"), std::string::npos) << mistyped.err;
}

TEST(CliSetTraits, RefusesWhatThePanelsDoNotOffer) {
    test::TempDir dir;
    const auto game = demo::WriteDemoGame(dir.path());
    const std::string prefix = game.prefix.string();
    const std::vector<std::vector<std::string>> refused = {
        {"N001_User00007.package", "--personality", "neat=5"},       // Rex, a dog: read-only personality
        {"N001_User00007.package", "--interest", "interestSports=5"},  // not a pet's interest
        {"N001_User00007.package", "--item-skill", "0DA265F4=3"},     // pets have no item skills
        {"N001_User00000.package", "--item-skill", "0DA265F4=11"},    // the dance skill goes to 10
        {"N001_User00000.package", "--item-skill", "32E9E44C=1"},     // a massage is learned or not
        {"N001_User00000.package", "--item-skill", "DEADBEEF=1"},
        {"N001_User00000.package", "--need", "hunger=6"},
        {"N001_User00000.package", "--toddler", "1,2,3,0,0,0,0"},     // not a toddler
        {"N001_User00003.package", "--toddler", "1,2,3,0,0,2,0"},
        {"N001_User00003.package", "--toddler", "1,2,3"},
        {"N001_User00014.package", "--need", "hunger=12"},            // Edith: no need data in her format
        {"N001_User00014.package", "--personality", "reputation=1"},
        // Stranger: no description in the neighborhood, so nothing it would hold can be saved.
        {"N001_User00015.package", "--personality", "neat=5"},
        {"N001_User00015.package", "--skill", "Cooking=9"},
        {"N001_User00015.package", "--interest", "interestSports=5"},
        {"N001_User00015.package", "--zodiac", "3"},
        {"N001_User00015.package", "cookingSkill=9", "nice=3"},
    };
    for (const auto& args : refused) {
        std::vector<std::string> command = {"set", "N001", "--wine-prefix", prefix, "--sim"};
        command.insert(command.end(), args.begin(), args.end());
        command.push_back("--save");
        const auto result = Cli(command);
        EXPECT_NE(result.status, 0) << args[1] << " " << args[2];
        EXPECT_FALSE(result.err.empty());
        EXPECT_TRUE(result.out.empty()) << args[2];  // nothing saved
    }
}

}  // namespace
}  // namespace qh

namespace qh {
namespace {

nlohmann::json HouseholdOf(const nlohmann::json& dump, const std::string& instance) {
    for (const auto& household : dump["households"]) {
        if (household["instanceId"] == instance) return household;
    }
    return {};
}

TEST(CliHouseholds, FundsNamesAndMovingInAreSavedAndDumped) {
    test::TempDir dir;
    const auto game = demo::WriteDemoGame(dir.path());
    const std::string prefix = game.prefix.string();
    auto dump = nlohmann::json::parse(Cli({"dump", "N001", "--wine-prefix", prefix}).out);
    ASSERT_EQ(dump["households"].size(), 5u);
    const auto harts = HouseholdOf(dump, "00000001");
    EXPECT_EQ(harts["label"], "The Harts");
    EXPECT_EQ(harts["funds"], 34500);
    EXPECT_EQ(harts["members"][0], Sim(dump, "N001_User00000.package")["simGuid"]);
    EXPECT_EQ(HouseholdOf(dump, "00000003")["label"], "3");  // no text list: its lot
    EXPECT_EQ(HouseholdOf(dump, "00000005")["members"].size(), 0u);

    auto result = Cli({"set", "N001", "--wine-prefix", prefix, "--household", "1", "--funds", "2147483647",
                       "--household-name", "Harts of the Valley", "--household-description", "Moved up.", "--sim",
                       "N001_User00000.package", "--move-in", "2", "--advanced", "--save"});
    ASSERT_EQ(result.status, 0) << result.err;
    dump = nlohmann::json::parse(Cli({"dump", "N001", "--wine-prefix", prefix}).out);
    const auto renamed = HouseholdOf(dump, "00000001");
    EXPECT_EQ(renamed["funds"], 2147483647);
    EXPECT_EQ(renamed["label"], "Harts of the Valley");
    EXPECT_EQ(renamed["householdDescription"], "Moved up.");
    EXPECT_EQ(renamed["members"].size(), harts["members"].size() - 1);
    const auto okafor = HouseholdOf(dump, "00000002");
    EXPECT_EQ(okafor["members"].back(), Sim(dump, "N001_User00000.package")["simGuid"]);
    EXPECT_EQ(Sim(dump, "N001_User00000.package")["familyNumber"], 2);
}

TEST(CliHouseholds, RefusesBadFundsUnknownHouseholdsAndNamesWithoutAList) {
    test::TempDir dir;
    const auto game = demo::WriteDemoGame(dir.path());
    const std::string prefix = game.prefix.string();
    const std::vector<std::vector<std::string>> refused = {
        {"--household", "1", "--funds", "-1"},
        {"--household", "1", "--funds", "2147483648"},
        {"--household", "1", "--funds", "12a4"},
        {"--household", "9", "--funds", "1"},
        {"--funds", "1"},
        {"--household", "3", "--household-name", "Lindqvists"},
        {"--sim", "N001_User00000.package", "--move-in", "9"},
    };
    for (const auto& args : refused) {
        std::vector<std::string> command = {"set", "N001", "--wine-prefix", prefix};
        command.insert(command.end(), args.begin(), args.end());
        command.push_back("--save");
        const auto result = Cli(command);
        EXPECT_NE(result.status, 0) << args.back();
        EXPECT_FALSE(result.err.empty());
        EXPECT_TRUE(result.out.empty()) << args.back();
    }
}

}  // namespace
}  // namespace qh

namespace qh {
namespace {

nlohmann::json Relationship(const nlohmann::json& dump, int owner, int other) {
    for (const auto& r : dump["relationships"]) {
        if (r["ownerId"] == owner && r["otherId"] == other) return r;
    }
    return {};
}

std::vector<nlohmann::json> ItemsOf(const nlohmann::json& dump, int owner, const std::string& guid) {
    std::vector<nlohmann::json> items;
    for (const auto& item : dump["simItems"]) {
        if (item["owner"] == owner && item["itemGuid"] == guid) items.push_back(item);
    }
    return items;
}

// Marta (0x10) and Owen (0x11) are married; Edith (0x1E) knows Marta, who does not remember her.
TEST(CliRelationships, LevelsFlagsFamilyFuriousAndContactChangeThePairAsThePanelDoes) {
    test::TempDir dir;
    const auto game = demo::WriteDemoGame(dir.path());
    const std::string prefix = game.prefix.string();
    auto before = nlohmann::json::parse(Cli({"dump", "N001", "--wine-prefix", prefix}).out);
    auto marta = Relationship(before, 0x10, 0x11);
    EXPECT_EQ(marta["familyRelation"], 9);
    EXPECT_EQ(marta["familyRelationText"], "Spouse ");
    EXPECT_EQ(marta["flags"], nlohmann::json({"Love", "Married", "Friend", "Best Friend", "Family", "Met"}));
    EXPECT_EQ(marta["isNew"], false);
    EXPECT_EQ(Relationship(before, 0x15, 0x16)["valueCount"], 8);  // Grace's record keeps values past the relation

    const auto result = Cli({"set", "N001", "--wine-prefix", prefix, "--sim", "N001_User00000.package", "--rel",
                             "N001_User00001.package:-20,30", "--rel-flag", "17:Engaged=on", "--rel-flag", "17:Love=off",
                             "--family-relation", "0x11:1", "--furious", "17=on", "--contact", "17=on", "--advanced",
                             "--save"});
    ASSERT_EQ(result.status, 0) << result.err;
    const auto dump = nlohmann::json::parse(Cli({"dump", "N001", "--wine-prefix", prefix}).out);
    marta = Relationship(dump, 0x10, 0x11);
    const auto owen = Relationship(dump, 0x11, 0x10);
    EXPECT_EQ(marta["shortTerm"], -20);
    EXPECT_EQ(marta["longTerm"], 30);
    EXPECT_EQ(owen["shortTerm"], 75);  // only the sim's own side
    EXPECT_EQ(marta["flags"], nlohmann::json({"Engaged", "Married", "Friend", "Best Friend", "Contact", "Family", "Met"}));
    EXPECT_EQ(owen["flags"], nlohmann::json({"Love", "Engaged", "Married", "Friend", "Best Friend", "Family", "Met"}));
    EXPECT_EQ(marta["familyRelation"], 1);
    EXPECT_EQ(owen["familyRelation"], 2);
    ASSERT_EQ(ItemsOf(dump, 0x10, "CF505AB0").size(), 1u);
    EXPECT_EQ(ItemsOf(dump, 0x10, "CF505AB0")[0]["values"], nlohmann::json({17, 100, 100, 100, 100}));
    ASSERT_EQ(ItemsOf(dump, 0x11, "EFED8EC1").size(), 1u);
    EXPECT_EQ(ItemsOf(dump, 0x11, "EFED8EC1")[0]["values"], nlohmann::json({16}));
    ASSERT_EQ(ItemsOf(dump, 0x10, "8FCD5705").size(), 1u);
    EXPECT_EQ(ItemsOf(dump, 0x10, "8FCD5705")[0]["values"], nlohmann::json({17, 24, 24, 24, 24}));

    // Clearing them again takes the items away.
    ASSERT_EQ(Cli({"set", "N001", "--wine-prefix", prefix, "--sim", "N001_User00000.package", "--furious", "17=off",
                   "--contact", "17=off", "--save"})
                  .status,
              0);
    const auto cleared = nlohmann::json::parse(Cli({"dump", "N001", "--wine-prefix", prefix}).out);
    EXPECT_TRUE(ItemsOf(cleared, 0x10, "CF505AB0").empty());
    EXPECT_TRUE(ItemsOf(cleared, 0x11, "EFED8EC1").empty());
    EXPECT_TRUE(ItemsOf(cleared, 0x10, "8FCD5705").empty());
}

TEST(CliRelationships, RefusesOneWayUnknownAndMalformedRelationships) {
    test::TempDir dir;
    const auto game = demo::WriteDemoGame(dir.path());
    const std::string prefix = game.prefix.string();
    const std::vector<std::vector<std::string>> refused = {
        {"--sim", "N001_User00014.package", "--rel", "16:10,10"},        // Edith's one-way relationship
        {"--sim", "N001_User00000.package", "--rel", "N001_User00013.package:1,1"},  // none at all
        {"--sim", "N001_User00000.package", "--rel", "17:101,0"},
        {"--sim", "N001_User00000.package", "--rel", "99:1,1"},
        {"--sim", "N001_User00000.package", "--rel-flag", "17:Soulmate=on"},
        {"--sim", "N001_User00000.package", "--family-relation", "17:10"},
        {"--sim", "N001_User00001.package", "--family-relation", "0x1B:3"},   // friends, not marked Family
        {"--sim", "N001_User00000.package", "--furious", "17=maybe"},
    };
    for (const auto& options : refused) {
        std::vector<std::string> args = {"set", "N001", "--wine-prefix", prefix};
        args.insert(args.end(), options.begin(), options.end());
        args.push_back("--save");
        const auto result = Cli(args);
        EXPECT_NE(result.status, 0) << options[3];
        EXPECT_FALSE(result.err.empty()) << options[3];
    }
}

std::vector<std::pair<std::string, int>> TiesOf(const nlohmann::json& dump, int sim) {
    std::vector<std::pair<std::string, int>> ties;
    for (const auto& block : dump["familyTies"]) {
        if (block["simId"] != sim) continue;
        for (const auto& tie : block["ties"]) ties.emplace_back(tie["relation"], tie["relatedId"]);
    }
    std::sort(ties.begin(), ties.end());
    return ties;
}

// Pablo (0x1D) is Jonas's (0x1B) son; his mother (0x40) has no character. Ana (0x1C) is Jonas's wife.
TEST(CliFamily, ParentsAndSpousesChangeTheTreeAndItsRelationships) {
    test::TempDir dir;
    const auto game = demo::WriteDemoGame(dir.path());
    const std::string prefix = game.prefix.string();
    const auto before = nlohmann::json::parse(Cli({"dump", "N001", "--wine-prefix", prefix}).out);
    EXPECT_EQ(before["familyTiesStored"], true);
    EXPECT_EQ(TiesOf(before, 0x1D), (std::vector<std::pair<std::string, int>>{{"first parent", 0x1B}, {"second parent", 0x40}}));

    auto result = Cli({"set", "N001", "--wine-prefix", prefix, "--sim", "N001_User00013.package", "--parent",
                       "2=N001_User00012.package", "--save"});
    ASSERT_EQ(result.status, 0) << result.err;
    auto dump = nlohmann::json::parse(Cli({"dump", "N001", "--wine-prefix", prefix}).out);
    EXPECT_EQ(TiesOf(dump, 0x1D), (std::vector<std::pair<std::string, int>>{{"first parent", 0x1B}, {"second parent", 0x1C}}));
    EXPECT_EQ(TiesOf(dump, 0x1C), (std::vector<std::pair<std::string, int>>{{"child", 0x1D}, {"spouse", 0x1B}}));
    EXPECT_EQ(Relationship(dump, 0x1C, 0x1D)["familyRelationText"], "Parent");
    EXPECT_EQ(Relationship(dump, 0x1D, 0x1A)["familyRelationText"], "Grandchild ");  // through Jonas

    result = Cli({"set", "N001", "--wine-prefix", prefix, "--sim", "N001_User00011.package", "--remove-spouse", "--save"});
    ASSERT_EQ(result.status, 0) << result.err;
    dump = nlohmann::json::parse(Cli({"dump", "N001", "--wine-prefix", prefix}).out);
    EXPECT_EQ(TiesOf(dump, 0x1C), (std::vector<std::pair<std::string, int>>{{"child", 0x1D}}));

    // The tree as JSON and as a picture.
    const auto tree = nlohmann::json::parse(Cli({"tree", "N001", "--wine-prefix", prefix, "--sim", "N001_User00000.package"}).out);
    std::map<std::string, int> generation;
    for (const auto& node : tree["nodes"]) generation[node["name"]] = node["generation"];
    EXPECT_EQ(generation["Ingrid Lindqvist"], -1);
    EXPECT_EQ(generation["Owen Hart"], 0);
    EXPECT_EQ(generation["Rosie Hart"], 1);
    const auto svg = dir / "tree.svg";
    ASSERT_EQ(Cli({"tree", "N001", "--wine-prefix", prefix, "--sim", "N001_User00000.package", "--svg", svg.string()}).status, 0);
    const Bytes picture = ReadFileBytes(svg);
    const std::string text(picture.begin(), picture.end());
    EXPECT_EQ(text.rfind("<svg", 0), 0u);
    EXPECT_NE(text.find(">Ingrid Lindqvist</text>"), std::string::npos);
}

TEST(CliFamily, RefusesWhatThePanelDoesNotOffer) {
    test::TempDir dir;
    const auto game = demo::WriteDemoGame(dir.path());
    const std::string prefix = game.prefix.string();
    const std::vector<std::vector<std::string>> refused = {
        {"N001", "--sim", "N001_User00013.package", "--parent", "3=N001_User00012.package"},
        {"N001", "--sim", "N001_User00013.package", "--parent", "2=N001_User00003.package"},  // Theo, a toddler
        {"N001", "--sim", "N001_User00013.package", "--parent", "1=N001_User00007.package"},  // Rex, a dog
        {"N001", "--sim", "N001_User00013.package", "--spouse", "N001_User00013.package"},
        {"N001", "--sim", "N001_User00013.package", "--remove-parent", "0"},
        {"G001", "--sim", "G001_User00000.package", "--spouse", "G001_User00001.package"},  // no tree to write
    };
    for (const auto& options : refused) {
        std::vector<std::string> args = {"set", options[0], "--wine-prefix", prefix};
        args.insert(args.end(), options.begin() + 1, options.end());
        args.push_back("--save");
        const auto result = Cli(args);
        EXPECT_NE(result.status, 0) << options[4];
        EXPECT_FALSE(result.err.empty()) << options[4];
    }
    EXPECT_NE(Cli({"tree", "N001", "--wine-prefix", prefix, "--sim", "N001_User99999.package"}).status, 0);
}

TEST(CliSaveLock, ASaveWhileAnotherHoldsTheLockIsRefusedNamingIt) {
    test::TempDir dir;
    const auto game = demo::WriteDemoGame(dir.path());
    const std::string prefix = game.prefix.string();
    std::string holder;
    const auto lock = FolderLock::Acquire(game.userData / "Neighborhoods" / "N001", "the other editor",
                                          std::chrono::milliseconds(0), holder);
    ASSERT_TRUE(lock.has_value());
    const Bytes before = ReadFileBytes(game.userData / "Neighborhoods" / "N001" / "N001_Neighborhood.package");
    const auto result = Cli({"set", "N001", "--wine-prefix", prefix, "--neighborhood-name", "Mine", "--save"});
    EXPECT_NE(result.status, 0);
    EXPECT_NE(result.err.find("is being saved by the other editor (process "), std::string::npos) << result.err;
    EXPECT_EQ(ReadFileBytes(game.userData / "Neighborhoods" / "N001" / "N001_Neighborhood.package"), before);
}

// Dead marks live in the neighborhood package's item lists, which each save rebuilds from what it
// loaded: without the lock and the check under it, the later save would wipe the earlier one's.
bool Dead(const nlohmann::json& dump, const std::string& file) {
    const auto instance = Sim(dump, file)["instanceId"];
    for (const auto& item : dump["simItems"]) {
        if (item["owner"] == instance && item["itemGuid"] == "2CCF9BED") return true;
    }
    return false;
}

TEST(CliSaveLock, TwoEditorsSavingAtOnceNeverBothSucceedWithAChangeLost) {
    const std::vector<std::string> files = {"N001_User00000.package", "N001_User00001.package", "N001_User00002.package",
                                            "N001_User00005.package", "N001_User00006.package", "N001_User00012.package"};
    for (std::size_t round = 0; round + 1 < files.size(); round += 2) {
        SCOPED_TRACE(round);
        test::TempDir dir;
        const auto game = demo::WriteDemoGame(dir.path());
        const std::string prefix = game.prefix.string();
        test::CliResult first, second;
        std::thread one([&] { first = Cli({"set", "N001", "--wine-prefix", prefix, "--sim", files[round], "--dead", "on", "--save"}); });
        std::thread two([&] {
            second = Cli({"set", "N001", "--wine-prefix", prefix, "--sim", files[round + 1], "--dead", "on", "--save"});
        });
        one.join();
        two.join();
        const auto dump = nlohmann::json::parse(Cli({"dump", "N001", "--wine-prefix", prefix}).out);
        // A change reported as saved is on disk; one that is not was refused with a message.
        EXPECT_EQ(first.status == 0, Dead(dump, files[round])) << first.err;
        EXPECT_EQ(second.status == 0, Dead(dump, files[round + 1])) << second.err;
        EXPECT_TRUE(first.status == 0 || !first.err.empty());
        EXPECT_TRUE(second.status == 0 || !second.err.empty());
    }
}

}  // namespace
}  // namespace qh
