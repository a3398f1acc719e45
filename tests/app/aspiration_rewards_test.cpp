// The Aspiration/Influence and Rewards/Extras panels driven through their widgets on the demo
// valley (every expansion but Open for Business): Marta, an adult of the newest format with a
// weekly benefit; Lily, a child; Rosie, a baby; Pablo, a teen.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTest>

#include "app/ui_session.h"
#include "workspace/aspiration_items.h"
#include "workspace/reward_items.h"

namespace qh::app {
namespace {

std::size_t Count(Session& s, const Character& sim, std::uint32_t guid) {
    std::size_t n = 0;
    for (const NeighborhoodItem& item : s.state.workspace.simItemList) {
        n += item.owner == sim.instanceId && item.itemGuid == guid ? 1 : 0;
    }
    return n;
}

TEST(AspirationPanel, ListsWriteMarkersAndBitsAsOneStepEach) {
    Session s;
    s.Choose("N001_User00000.package");
    s.Click("btnAspiration");
    Character& marta = s.SimOf("N001_User00000.package");
    auto* primary = s.Find<QComboBox>("cbAspiration1");
    auto* secondary = s.Find<QComboBox>("cbAspiration2");
    EXPECT_EQ(primary->currentText(), QStringLiteral("Romance"));
    EXPECT_EQ(secondary->currentText(), QStringLiteral("Popularity"));
    EXPECT_EQ(primary->count(), 9) << "Nightlife and FreeTime add Pleasure and Grilled Cheese";
    const int steps = s.window->document().history().count();

    PickEntry(primary, QStringLiteral("Knowledge"));
    EXPECT_EQ(marta.aspirationFlags, 0x0020 | 0x0010);
    EXPECT_EQ(Count(s, marta, 0x6C92F4CF), 1u);
    EXPECT_EQ(Count(s, marta, 0x6C92F4F3), 0u);
    // The same in both lists: the secondary goes back to "-".
    PickEntry(secondary, QStringLiteral("Knowledge"));
    EXPECT_EQ(secondary->currentText(), QStringLiteral("-"));
    EXPECT_EQ(marta.aspirationFlags, 0x0020);
    EXPECT_EQ(Count(s, marta, 0x53D08989), 0u);
    EXPECT_EQ(s.window->document().history().count(), steps + 2);

    // The list of changes says it in the player's words.
    const std::vector<ChangeGroup> groups = s.window->document().UnsavedChanges();
    ASSERT_FALSE(groups.empty());
    EXPECT_NE(groups.back().changes.join(QLatin1Char('\n')).indexOf(QStringLiteral("Aspiration: Romance \u2192 Knowledge")), -1)
        << groups.back().changes.join(QLatin1Char('\n')).toStdString();

    s.window->document().history().undo();
    s.window->document().history().undo();
    EXPECT_EQ(marta.aspirationFlags, 0x0001 | 0x0010);
    EXPECT_EQ(primary->currentText(), QStringLiteral("Romance"));
    EXPECT_EQ(secondary->currentText(), QStringLiteral("Popularity"));
}

TEST(AspirationPanel, RewardPointsUnlocksBenefitAndInfluence) {
    Session s;
    s.Choose("N001_User00000.package");
    s.Click("btnAspiration");
    Character& marta = s.SimOf("N001_User00000.package");

    auto* points = s.Find<QLineEdit>("edtAspirationRewardPoints");
    points->setFocus();
    points->selectAll();
    QTest::keyClicks(points, QStringLiteral("12x4"));
    EXPECT_EQ(points->text(), QStringLiteral("1204")) << "the digit filter";
    QTest::keyClick(points, Qt::Key_Return);
    EXPECT_EQ(points->text(), QStringLiteral("1200"));
    EXPECT_EQ(marta.aspirationRewardPoints, 120);

    // Used 3 of 16: the list offers 0 .. 13 and shows earned - used.
    auto* unlocks = s.Find<QComboBox>("cbLTAUnlocks");
    EXPECT_EQ(unlocks->count(), 14);
    EXPECT_EQ(unlocks->currentIndex(), marta.ltaUnlocksEarned - marta.ltaUnlocksUsed);
    EXPECT_EQ(s.Find<QLabel>("lblLTAUnlocks")->text(), QStringLiteral("(3 of 16 Used)"));
    PickEntry(unlocks, QStringLiteral("10"));
    EXPECT_EQ(marta.ltaUnlocksEarned, 13);

    ASSERT_TRUE(s.Shown(s.Find<QGroupBox>("grpWeeklyBenefit")));
    s.Find<QSlider>("trkWeeklyBenefit")->setValue(5);
    EXPECT_EQ(s.Find<QLabel>("lblWeeklyBenefit")->text(), QStringLiteral("Weekly Benefit: (5)"));
    EXPECT_EQ(Count(s, marta, 0x541902EA), 1u);
    EXPECT_EQ(WeeklyBenefit(s.state.workspace.simItemList, marta), 5);

    s.Find<QSlider>("trkInfluenceLevel")->setValue(4);
    EXPECT_EQ(marta.influenceLevel, 4);
    EXPECT_EQ(s.Find<QLabel>("lblInfluenceLevel")->text(), QStringLiteral("Influence Level: (4)"));

    // The meter runs to 100 with FreeTime; a value another tool stored beyond it is said, and
    // kept until the slider is moved.
    marta.aspirationScore = 5000;
    s.Choose("N001_User00001.package");
    s.Choose("N001_User00000.package");
    auto* meter = s.Find<QSlider>("trkAspirationScore");
    EXPECT_EQ(meter->maximum(), 100);
    EXPECT_NE(s.Find<QLabel>("lblAspirationScore")->text().indexOf(QStringLiteral("stored 5000")), -1);
    EXPECT_EQ(marta.aspirationScore, 5000);
    meter->setValue(60);
    EXPECT_EQ(marta.aspirationScore, 60);
}

TEST(AspirationPanel, WhatABabyAChildAndAGameWithoutABenefitShow) {
    Session s;
    s.Choose("N001_User00004.package");  // Rosie, a baby
    s.Click("btnAspiration");
    EXPECT_FALSE(s.Find<QSlider>("trkAspirationScore")->isEnabled());
    EXPECT_FALSE(s.Find<QSlider>("trkAspirationLevel")->isEnabled());
    EXPECT_TRUE(s.Find<QComboBox>("cbAspiration1")->isEnabled());
    s.Choose("N001_User00002.package");  // Lily: no weekly benefit item
    EXPECT_FALSE(s.Shown(s.Find<QGroupBox>("grpWeeklyBenefit")));
    EXPECT_TRUE(s.Find<QSlider>("trkAspirationScore")->isEnabled());
    s.Choose("N001_User00015.package");  // Stranger: no description
    EXPECT_FALSE(s.Find<QComboBox>("cbAspiration1")->isEnabled());
    EXPECT_FALSE(s.Find<QLineEdit>("edtAspirationRewardPoints")->isEnabled());
    EXPECT_TRUE(s.Shown(s.Find<QLabel>("lblNoAspiration")));
}

TEST(RewardsPanel, BoxesGrantAndTakeAwayAndSetAllIsOneStep) {
    Session s;
    s.Choose("N001_User00000.package");
    s.Click("btnRewards");
    Character& marta = s.SimOf("N001_User00000.package");
    auto* skull = s.Find<QCheckBox>("ckRewardD24D09FD");
    EXPECT_TRUE(skull->isChecked());
    EXPECT_EQ(Count(s, marta, 0xD24D09FD), 2u) << "the demo gives Marta the skull twice";
    EXPECT_NE(skull->toolTip().indexOf(QStringLiteral("Adventurer Career Reward")), -1);
    EXPECT_TRUE(s.Shown(s.Find<QCheckBox>("ckReward8EAE367E"))) << "the Secret Society, for an adult";

    skull->click();
    EXPECT_EQ(Count(s, marta, 0xD24D09FD), 0u);
    const int steps = s.window->document().history().count();
    s.Find<QCheckBox>("ckSetAllSeasRewards")->click();
    EXPECT_EQ(s.window->document().history().count(), steps + 1);
    for (std::uint32_t guid : {0xD24D09FDu, 0xF24CFF80u, 0x124E3138u, 0xD24CE39Cu, 0x324D0D87u, 0x524E1066u}) {
        EXPECT_EQ(Count(s, marta, guid), 1u) << std::hex << guid;
    }
    EXPECT_TRUE(skull->isChecked());
    s.Find<QCheckBox>("ckRewardCE8408E6")->click();  // the cell phone she has: taken away
    EXPECT_EQ(Count(s, marta, 0xCE8408E6), 0u);
    s.Find<QCheckBox>("ckRewardCE8408E6")->click();
    EXPECT_EQ(Count(s, marta, 0xCE8408E6), 1u);
    s.window->document().history().undo();
    s.window->document().history().undo();
    s.window->document().history().undo();
    EXPECT_FALSE(skull->isChecked());
    EXPECT_EQ(Count(s, marta, 0xF24CFF80), 0u);
}

TEST(RewardsPanel, ChildrenSeeNoneAndTeensNoSecretSociety) {
    Session s;
    s.Choose("N001_User00002.package");  // Lily, a child
    s.Click("btnRewards");
    EXPECT_FALSE(s.Shown(s.Find<QGroupBox>("grpStdRewards")));
    EXPECT_TRUE(s.Shown(s.Find<QLabel>("lblNoRewards")));
    s.Choose("N001_User00013.package");  // Pablo, a teen
    EXPECT_TRUE(s.Shown(s.Find<QGroupBox>("grpStdRewards")));
    EXPECT_TRUE(s.Shown(s.Find<QGroupBox>("grpFTRewards")));
    EXPECT_TRUE(s.Shown(s.Find<QCheckBox>("ckRewardCE8408E6")));
    EXPECT_FALSE(s.Shown(s.Find<QCheckBox>("ckReward8EAE367E")));
    EXPECT_FALSE(s.Shown(s.Find<QLabel>("lblNoRewards")));
}

}  // namespace
}  // namespace qh::app
