// The Hobbies and Badges panels driven through their widgets on the demo valley (FreeTime and
// Seasons installed, Open for Business not): Marta, an adult of the newest format.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QSlider>
#include <QTest>

#include "app/ui_session.h"
#include "workspace/hobby_items.h"

namespace qh::app {
namespace {

std::vector<NeighborhoodItem> ItemsOf(Session& s, const Character& sim, std::uint32_t guid) {
    std::vector<NeighborhoodItem> items;
    for (const NeighborhoodItem& item : s.state.workspace.simItemList) {
        if (item.owner == sim.instanceId && item.itemGuid == guid) items.push_back(item);
    }
    return items;
}

TEST(HobbiesPanel, EnthusiasmTalentAndLotsAreEachOneStep) {
    Session s;
    s.Choose("N001_User00000.package");
    s.Click("btnHobbies");
    Character& marta = s.state.workspace.characters[*FindSimByFile(s.state.workspace, "N001_User00000.package")];
    const std::vector<int> member = HobbyLotMemberships(s.state.workspace, marta);
    ASSERT_FALSE(member.empty()) << "the demo gives Marta hobby lots";
    EXPECT_TRUE(s.Find<QCheckBox>("ckHobbyLot211")->isChecked());

    s.Find<QSlider>("trkHobbyCuisine")->setValue(900);
    EXPECT_EQ(marta.hobbyCuisine, 900);
    EXPECT_EQ(s.Find<QLabel>("lblHobbyCuisine")->text(), QStringLiteral("Cuisine:(900)"));
    s.Click("btnMaxHobbies");
    EXPECT_EQ(marta.hobbyScience, 1000);
    PickEntry(s.Find<QComboBox>("cbTalent"), QStringLiteral("-"));
    EXPECT_EQ(marta.talent, 0);
    const int steps = s.window->document().history().count();

    // Unchecking the gym keeps the item with what is left; Set All, then none, keeps an empty item.
    s.Find<QCheckBox>("ckHobbyLot211")->click();
    auto items = ItemsOf(s, marta, kHobbyLotsGuid);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(std::count(items[0].values.begin(), items[0].values.end(), 211), 0);
    s.Find<QCheckBox>("ckSetAllHobbyLots")->click();
    EXPECT_EQ(ItemsOf(s, marta, kHobbyLotsGuid)[0].values,
              (std::vector<std::uint16_t>{204, 205, 206, 207, 208, 209, 210, 211, 212, 213}));
    s.Find<QCheckBox>("ckSetAllHobbyLots")->click();
    items = ItemsOf(s, marta, kHobbyLotsGuid);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_TRUE(items[0].values.empty());
    EXPECT_EQ(s.window->document().history().count(), steps + 3);
    s.window->document().history().undo();
    s.window->document().history().undo();
    s.window->document().history().undo();
    EXPECT_EQ(HobbyLotMemberships(s.state.workspace, marta), member);
}

TEST(HobbiesPanel, APetOrAGameWithoutFreeTimeShowsNone) {
    Session s;
    s.Choose("N001_User00008.package");  // Whiskers, a cat
    s.Click("btnHobbies");
    EXPECT_FALSE(s.Shown(s.Find<QSlider>("trkHobbyCuisine")));
    EXPECT_TRUE(s.Shown(s.Find<QLabel>("lblNoHobbies")));
}

TEST(BadgesPanel, PicturesStepThroughTheGradesAndRandomKeepsToThem) {
    Session s;
    s.Choose("N001_User00000.package");
    s.Click("btnBadges");
    Character& marta = s.state.workspace.characters[*FindSimByFile(s.state.workspace, "N001_User00000.package")];
    EXPECT_FALSE(s.Shown(s.Find<QSlider>("trkCashRegister"))) << "Open for Business is not installed";
    ASSERT_TRUE(s.Shown(s.Find<QSlider>("trkGardening")));
    EXPECT_EQ(s.Find<QSlider>("trkPottery")->value(), 1000);
    // Marta has no gardening item: the clicks walk 333, 666, 1000, 0, the first adding the item.
    auto* picture = s.Find<QLabel>("imgGardening");
    for (int expected : {333, 666, 1000, 0}) {
        QTest::mouseClick(picture, Qt::LeftButton);
        EXPECT_EQ(s.Find<QSlider>("trkGardening")->value(), expected);
        const auto items = ItemsOf(s, marta, 0x1215A8C1);
        ASSERT_EQ(items.size(), 1u);
        EXPECT_EQ(items[0].values, (std::vector<std::uint16_t>{static_cast<std::uint16_t>(expected), 0}));
        EXPECT_EQ(items[0].secondary, 0);
    }
    s.Find<QSlider>("trkFishing")->setValue(999);
    EXPECT_EQ(BadgeGrade(999), 3);
    for (int press = 0; press < 5; ++press) {
        s.Click("btnRandomBadges");
        for (const char* badge : {"trkFishing", "trkGardening", "trkPottery", "trkSewing"}) {
            const int level = s.Find<QSlider>(badge)->value();
            EXPECT_TRUE(level == 0 || level == 333 || level == 666 || level == 1000) << badge << " " << level;
        }
    }
    // The draws may have left every shown badge at gold: one below it, so that Max All changes.
    s.Find<QSlider>("trkSewing")->setValue(0);
    const int before = s.window->document().history().count();
    const int cashRegister = BadgeLevel(s.state.workspace, marta, 0x505FDC28);
    ASSERT_LT(cashRegister, 1000) << "the demo gives Marta a Cash Register badge below gold";
    s.Click("btnMaxBadges");
    EXPECT_EQ(s.window->document().history().count(), before + 1) << "one step for the press";
    EXPECT_EQ(BadgeLevel(s.state.workspace, marta, 0xD3DB2A27), 1000);
    EXPECT_EQ(BadgeLevel(s.state.workspace, marta, 0x505FDC28), cashRegister)
        << "the hidden Open for Business badge is left as it was";
}

}  // namespace
}  // namespace qh::app
