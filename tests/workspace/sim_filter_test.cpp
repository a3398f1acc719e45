#include "workspace/sim_filter.h"

#include <gtest/gtest.h>

#include "support/demo_session.h"

namespace qh {
namespace {

// The demo valley's sims found by what they are.
struct Filtered : ::testing::Test {
    test::Session s;
    GameEnvironment env = [] {
        GameEnvironment e;
        e.hasUniversity = e.hasFreeTime = e.hasNightlife = true;
        return e;
    }();
    std::vector<std::string> Found(const std::string& query, std::span<const std::size_t> withFindings = {}) {
        const auto facts = GatherSimFacts(s.ws, env, withFindings);
        const SimQuery parsed = ParseSimQuery(query);
        std::vector<std::string> names;
        for (std::size_t i = 0; i < facts.size(); ++i) {
            if (Matches(facts[i], parsed)) names.push_back(s.ws.characters[i].firstName);
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    using Names = std::vector<std::string>;
};

TEST_F(Filtered, WordsFindNamesHouseholdsAndFilesConditionsStack) {
    EXPECT_EQ(Found("moreno"), (Names{"Ana", "Pablo"}));
    EXPECT_EQ(Found("MORENO ana"), (Names{"Ana"})) << "every word, letter case aside";
    EXPECT_EQ(Found("N001_User00012"), (Names{"Ana"}));
    EXPECT_EQ(Found("okafor family"), (Names{"Biscuit", "Grace", "Rex", "Samuel"})) << "the household's name";
    EXPECT_EQ(Found("species:cat"), (Names{"Whiskers"}));
    EXPECT_EQ(Found("species:dog"), (Names{"Biscuit", "Rex"}));
    EXPECT_EQ(Found("lifeStage:teen species:sim"), (Names{"Pablo", "Samuel"}));
    EXPECT_EQ(Found("lifeStage=young-adult"), (Names{"Ana"}));
    EXPECT_EQ(Found("career:medicine"), Names{});
    EXPECT_EQ(Found("career:Business"), (Names{"Marta"}));
    EXPECT_EQ(Found("household:\"the harts\" gender:female species:sim"), (Names{"Lily", "Marta", "Rosie"}));
    EXPECT_EQ(Found("household:none"), (Names{"Edith", "Stranger"}));
    EXPECT_EQ(Found("described:no"), (Names{"Stranger"}));
    EXPECT_EQ(Found("university:yes"), (Names{"Ana"}));
    EXPECT_EQ(Found("colour:red"), Names{}) << "a field that is no filter is a word nobody has";
    const std::size_t owen = static_cast<std::size_t>(&s.Sim("Owen") - s.ws.characters.data());
    EXPECT_EQ(Found("findings:yes", std::vector<std::size_t>{owen}), (Names{"Owen"}));
}

TEST_F(Filtered, MarriedAndDeadComeFromTiesAndItems) {
    const auto married = Found("married:yes");
    const auto single = Found("married:no");
    EXPECT_EQ(married.size() + single.size(), s.ws.characters.size());
    EXPECT_NE(std::find(married.begin(), married.end(), "Marta"), married.end());
    const auto dead = Found("dead:yes");
    EXPECT_EQ(dead.size() + Found("dead:no").size(), s.ws.characters.size());
    std::string why;
    EXPECT_FALSE(ParseSimCondition("nothing", why));
    EXPECT_FALSE(ParseSimCondition("hair=red", why));
    EXPECT_NE(why.find("lifeStage"), std::string::npos) << "the filters are named";
    ASSERT_TRUE(ParseSimCondition("LIFESTAGE=Teen", why));
    EXPECT_EQ(ParseSimCondition("LIFESTAGE=Teen", why)->field, "lifeStage");
}

}  // namespace
}  // namespace qh
