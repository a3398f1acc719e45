// The Personality, Interests, Skills, Needs and Households panels driven through their widgets:
// each change is one step of the history, and undoing it shows the value from before.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QToolButton>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>

#include "app/ui_session.h"
#include "workspace/households.h"
#include "workspace/sim_items.h"

namespace qh::app {
namespace {

constexpr std::uint32_t kHotStone = 0x32E9E44C;
constexpr std::uint32_t kAcupressure = 0x52E9E443;
constexpr std::uint32_t kDanceSkill = 0x0DA265F4;
constexpr std::uint32_t kToddler = 0x4DDF0E12;

void Undo(Session& s) { QTest::keyClick(s.window.get(), Qt::Key_Z, Qt::ControlModifier); }

std::size_t ItemsOf(Session& s, const Character& sim, std::uint32_t guid) {
    std::size_t count = 0;
    for (const NeighborhoodItem& item : s.state.workspace.simItemList) count += item.owner == sim.instanceId && item.itemGuid == guid;
    return count;
}

TEST(PersonalityPanel, ASliderStoresTheTraitsAndMaxAllLeavesTheBirthOnes) {
    Session s;
    s.Choose("N001_User00000.package");  // Marta Hart
    s.Click("btnPersonality");
    Character* marta = s.window->SelectedSim();
    const Character before = *marta;
    auto* neat = s.Find<QSlider>("trkNeat");
    EXPECT_EQ(neat->value(), marta->neat);
    EXPECT_EQ(s.Find<QLabel>("lblGeneticNice")->text(), QString::number(marta->geneticNice));
    neat->setValue(42);
    EXPECT_EQ(marta->neat, 42);
    EXPECT_EQ(s.Find<QLabel>("lblNeat")->text(), QStringLiteral("42"));
    EXPECT_FALSE(s.Find<QPushButton>("btnSave")->isHidden());
    Undo(s);
    EXPECT_EQ(*marta, before);
    EXPECT_EQ(neat->value(), before.neat);

    s.Click("btnMaxPersonality");
    EXPECT_EQ(marta->neat, 1000);
    EXPECT_EQ(marta->nice, 1000);
    EXPECT_EQ(marta->geneticNeat, before.geneticNeat);
    EXPECT_EQ(s.Find<QLabel>("lblActive")->text(), QStringLiteral("1000"));
    EXPECT_EQ(s.window->document().history().count(), 1);  // five sliders, one step
    s.Click("btnOrgRandomPersonality");
    for (std::int16_t trait : {marta->geneticNeat, marta->geneticOutgoing, marta->geneticActive, marta->geneticPlayful,
                               marta->geneticNice}) {
        EXPECT_LT(trait, 999);
    }
    EXPECT_EQ(marta->neat, 1000);
    Undo(s);
    Undo(s);
    EXPECT_EQ(*marta, before);

    // The zodiac sign moves all ten sliders; the reputation has its own box with Apartment Life.
    s.FindIn<QComboBox>("pnlPersonality", "cbZodiac")->setCurrentIndex(4);  // Leo
    EXPECT_EQ(marta->outgoing, 1000);
    EXPECT_EQ(s.Find<QSlider>("trkGeneticOutgoing")->value(), 1000);
    EXPECT_TRUE(s.FindIn<QLabel>("pnlPersonality", "lblZodiacText")->text().startsWith(QStringLiteral("Leo")));
    ASSERT_TRUE(s.Shown(s.Find<QGroupBox>("grpReputation")));
    s.Find<QSlider>("trkReputation")->setValue(-70);
    EXPECT_EQ(marta->reputation, -70);
    EXPECT_EQ(marta->appearProbability, before.appearProbability);
    EXPECT_EQ(s.Find<QLabel>("lblReputation")->text(), QStringLiteral("-70"));
}

TEST(PersonalityPanel, APetIsShownButNotEdited) {
    Session s;
    s.Choose("N001_User00008.package");  // Whiskers, a cat
    s.Click("btnPersonality");
    EXPECT_FALSE(s.Find<QSlider>("trkNeat")->isEnabled());
    EXPECT_FALSE(s.Find<QPushButton>("btnMaxPersonality")->isEnabled());
    EXPECT_FALSE(s.Find<QPushButton>("btnOrgRandomPersonality")->isEnabled());
    EXPECT_FALSE(s.Shown(s.Find<QGroupBox>("grpReputation")));
    EXPECT_TRUE(s.Shown(s.Find<QLabel>("lblPetNote")));
    EXPECT_EQ(s.window->document().history().count(), 0);
    // The sign's note says what choosing one does to a pet: only the sign changes.
    EXPECT_NE(s.Find<QLabel>("lblZodiacNote")->text().indexOf(QStringLiteral("only the sign")), -1);
    const Character before = *s.window->SelectedSim();
    auto* zodiac = s.FindIn<QComboBox>("pnlPersonality", "cbZodiac");
    zodiac->setCurrentIndex(before.zodiac == 5 ? 3 : 4);
    const Character& cat = *s.window->SelectedSim();
    EXPECT_NE(cat.zodiac, before.zodiac);
    EXPECT_EQ(cat.neat, before.neat);
    EXPECT_EQ(cat.geneticNice, before.geneticNice);
    EXPECT_EQ(s.Find<QSlider>("trkNeat")->value(), before.neat);
}

TEST(InterestsPanel, LabelsCarryTheValueAndAPetSeesNineUnderItsOwnNames) {
    Session s;
    s.Choose("N001_User00000.package");  // Marta Hart
    s.Click("btnInterests");
    Character* marta = s.window->SelectedSim();
    auto* politics = s.Find<QSlider>("trkInterestPolitics");
    politics->setValue(500);
    EXPECT_EQ(marta->interestPolitics, 500);
    EXPECT_EQ(s.Find<QLabel>("lblInterestPolitics")->text(), QStringLiteral("Politics:(500)"));
    EXPECT_TRUE(s.Shown(s.Find<QSlider>("trkInterestSciFi")));
    s.Click("btnMaxInterests");
    EXPECT_EQ(marta->interestSciFi, 1000);
    Undo(s);
    EXPECT_EQ(marta->interestPolitics, 500);
    EXPECT_EQ(s.Find<QSlider>("trkInterestSciFi")->value(), marta->interestSciFi);

    s.Choose("N001_User00008.package");  // Whiskers
    EXPECT_EQ(s.Find<QLabel>("lblInterestPolitics")->text().section(QLatin1Char('('), 0, 0), QStringLiteral("Pets:"));
    EXPECT_TRUE(s.Find<QLabel>("lblInterestMoney")->text().startsWith(QStringLiteral("Scary Things:(")));
    EXPECT_FALSE(s.Shown(s.Find<QSlider>("trkInterestSports")));
    EXPECT_FALSE(s.Shown(s.Find<QLabel>("lblInterestSciFi")));
    auto* sleep = s.Find<QSlider>("trkInterestEntertainment");
    EXPECT_TRUE(sleep->isEnabled());  // a pet's interests can be changed
    sleep->setValue(12);
    EXPECT_EQ(s.window->SelectedSim()->interestEntertainment, 12);
}

TEST(SkillsPanel, ItemSkillsAreAddedChangedAndRemovedAsTheSimsItems) {
    Session s;
    s.Choose("N001_User00000.package");  // Marta Hart: dance, tai chi, hot stone, Apartment Life skills
    s.Click("btnSkills");
    Character* marta = s.window->SelectedSim();
    const auto items = s.state.workspace.simItemList;
    EXPECT_TRUE(s.Shown(s.Find<QGroupBox>("grpBonVoyageSkills")));
    EXPECT_TRUE(s.Shown(s.Find<QGroupBox>("grpApartmentLifeSkills")));
    EXPECT_FALSE(s.Shown(s.Find<QGroupBox>("grpToddlerSkills")));
    auto* dance = s.Find<QSlider>("trkDanceSkill");
    EXPECT_EQ(dance->maximum(), 10);
    const NeighborhoodItem* danceItem = FindSimItem(s.state.workspace, *marta, kDanceSkill);
    ASSERT_NE(danceItem, nullptr);
    EXPECT_EQ(dance->value(), danceItem->values[0]);
    const int level = dance->value() == 9 ? 3 : 9;
    dance->setValue(level);
    EXPECT_EQ(s.Find<QLabel>("lblDanceSkill")->text(), QStringLiteral("Dance Skill:(%1)").arg(level));
    EXPECT_EQ(danceItem->values[0], level);
    ASSERT_EQ(ItemsOf(s, *marta, kDanceSkill), 1u);

    auto* hotStone = s.Find<QCheckBox>("ckHotStoneMassage");
    ASSERT_TRUE(hotStone->isChecked());
    hotStone->click();
    EXPECT_EQ(ItemsOf(s, *marta, kHotStone), 0u);
    s.Find<QCheckBox>("ckAcupressureMassage")->click();
    EXPECT_EQ(ItemsOf(s, *marta, kAcupressure), 1u);
    EXPECT_EQ(s.window->document().history().count(), 3);
    Undo(s);
    Undo(s);
    Undo(s);
    EXPECT_EQ(s.state.workspace.simItemList, items);
    EXPECT_TRUE(hotStone->isChecked());
    EXPECT_EQ(marta->dirty, 0);
}

TEST(SkillsPanel, AToddlersNurseryRhymeAndAPetsSkills) {
    Session s;
    s.Choose("N001_User00003.package");  // Theo, a toddler in training
    s.Click("btnSkills");
    Character* theo = s.window->SelectedSim();
    EXPECT_TRUE(s.Shown(s.Find<QGroupBox>("grpToddlerSkills")));
    EXPECT_FALSE(s.Shown(s.Find<QGroupBox>("grpMiscSkills")));
    EXPECT_TRUE(s.Find<QCheckBox>("ckTrainWalk")->isChecked());
    auto* rhyme = s.Find<QSlider>("trkNurseryRhyme");
    rhyme->setValue(1);  // progress at 1 is kept as 2: 1 would mean learned
    const NeighborhoodItem* training = FindSimItem(s.state.workspace, *theo, kToddler);
    ASSERT_NE(training, nullptr);
    EXPECT_EQ(training->values[7], 2);
    s.Find<QCheckBox>("ckNurseryRhyme")->click();
    training = FindSimItem(s.state.workspace, *theo, kToddler);
    EXPECT_EQ(training->values[7], 1);
    EXPECT_FALSE(rhyme->isEnabled());
    EXPECT_EQ(s.Find<QLabel>("lblNurseryRhyme")->text(), QStringLiteral("Nursery Rhyme:"));
    EXPECT_EQ(ItemsOf(s, *theo, kToddler), 1u);

    s.Choose("N001_User00007.package");  // Rex, a dog
    EXPECT_FALSE(s.Find<QSlider>("trkCookingSkill")->isEnabled());
    EXPECT_FALSE(s.Find<QPushButton>("btnMaxSkills")->isEnabled());
    EXPECT_FALSE(s.Shown(s.Find<QGroupBox>("grpMiscSkills")));
    EXPECT_FALSE(s.Shown(s.Find<QGroupBox>("grpToddlerSkills")));
}

TEST(NeedsPanel, ASpeedIsStoredAndLotsaFreeTimeIsOneStep) {
    Session s;
    s.Choose("N001_User00000.package");  // Marta Hart
    s.Click("btnNeeds");
    Character* marta = s.window->SelectedSim();
    const Character before = *marta;
    EXPECT_TRUE(s.Find<QRadioButton>("rbDecayHunger12")->isChecked());
    s.Find<QRadioButton>("rbDecayHunger24")->click();
    EXPECT_EQ(marta->decayHunger, 24);
    EXPECT_EQ(marta->decayComfort, before.decayComfort);
    s.Click("btnFreeTime");
    for (std::int16_t need : {marta->decayHunger, marta->decayComfort, marta->decayBladder, marta->decayEnergy,
                              marta->decayHygiene, marta->decayFun, marta->decaySocial}) {
        EXPECT_EQ(need, 36);
    }
    EXPECT_EQ(s.window->document().history().count(), 2);
    s.Click("btnFreeTime");  // already Very Slow everywhere: nothing more
    EXPECT_EQ(s.window->document().history().count(), 2);
    Undo(s);
    EXPECT_EQ(marta->decayFun, before.decayFun);
    EXPECT_TRUE(s.Find<QRadioButton>("rbDecayFun24")->isChecked());

    s.Choose("N001_User00014.package");  // Edith: a description older than FreeTime's
    EXPECT_FALSE(s.Shown(s.Find<QGroupBox>("grpNeeds")));
    EXPECT_TRUE(s.Shown(s.Find<QLabel>("lblNoNeeds")));
}

}  // namespace
}  // namespace qh::app

namespace qh::app {
namespace {

TEST(HouseholdsPanel, FundsNameAndMembersOfTheSimsHousehold) {
    Session s;
    s.Choose("N001_User00000.package");  // Marta Hart
    s.Click("btnHouseHolds");
    auto* households = s.Find<QComboBox>("cbHouseHold");
    EXPECT_EQ(households->currentText(), QStringLiteral("The Harts"));
    EXPECT_EQ(households->count(), 5);
    EXPECT_EQ(s.Find<QLabel>("lblFamilyNumber")->text(), QStringLiteral("FamilyNumber: 1"));
    EXPECT_EQ(s.Find<QLabel>("lblLotName")->text(), QStringLiteral("Lot Name/Address: Hart Residence"));
    auto* members = s.Find<QComboBox>("cbHouseMembers");
    EXPECT_EQ(members->count(), 6);
    EXPECT_EQ(members->currentText(), QStringLiteral("Marta Hart"));
    EXPECT_FALSE(s.Shown(s.Find<QPushButton>("btnMoveIn")));  // advanced mode only

    Household& harts = *FindHousehold(s.state.workspace, 1);
    auto* cash = s.Find<QLineEdit>("edtCash");
    cash->clear();
    QTest::keyClicks(cash, QStringLiteral("12a4"));
    EXPECT_EQ(cash->text(), QStringLiteral("1204"));
    EXPECT_EQ(harts.funds, 1204);
    EXPECT_EQ(harts.householdDirty, 1);
    EXPECT_FALSE(s.Find<QPushButton>("btnSave")->isHidden());
    cash->clear();
    QTest::keyClicks(cash, QStringLiteral("9999999999"));  // the tenth digit passes 2^31 - 1: refused
    EXPECT_EQ(harts.funds, 999999999);
    // The box shows what is stored, and the status line says why the digit went.
    EXPECT_EQ(cash->text(), QStringLiteral("999999999"));
    EXPECT_FALSE(s.Find<QLabel>("lblStatus")->text().isEmpty());
    QTest::keyClick(cash, Qt::Key_Backspace);  // a valid entry clears it
    EXPECT_EQ(harts.funds, 99999999);
    EXPECT_TRUE(s.Find<QLabel>("lblStatus")->text().isEmpty());
    EXPECT_EQ(s.window->document().history().count(), 1);  // typing into the box is one step
    Undo(s);
    EXPECT_EQ(harts.funds, 34500);
    EXPECT_EQ(harts.householdDirty, 0);
    EXPECT_EQ(s.Find<QLineEdit>("edtCash")->text(), QStringLiteral("34500"));

    auto* name = s.Find<QLineEdit>("edtHouseholdName");
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("Hartwells"));
    EXPECT_EQ(harts.householdName, "Hartwells");
    EXPECT_EQ(households->currentText(), QStringLiteral("Hartwells"));

    // Choosing a member selects that sim.
    members->setCurrentIndex(1);
    emit members->activated(1);
    s.Settle();
    EXPECT_EQ(s.window->SelectedSim()->firstName, "Owen");
}

TEST(HouseholdsPanel, MovingInIsOneStepAndAnEmptyHouseholdHidesItsControls) {
    Session s(true);
    s.Choose("N001_User00000.package");  // Marta Hart
    s.Click("btnHouseHolds");
    Character* marta = s.window->SelectedSim();
    auto* households = s.Find<QComboBox>("cbHouseHold");
    auto* moveIn = s.Find<QPushButton>("btnMoveIn");
    EXPECT_TRUE(s.Shown(moveIn));
    EXPECT_FALSE(moveIn->isEnabled());  // she lives here already
    households->setCurrentIndex(households->findText(QStringLiteral("Okafor Family")));
    ASSERT_TRUE(moveIn->isEnabled());
    QTest::mouseClick(moveIn, Qt::LeftButton);
    EXPECT_EQ(marta->familyNumber, 2);
    EXPECT_EQ(FindHousehold(s.state.workspace, 1)->members.size(), 5u);
    EXPECT_EQ(FindHousehold(s.state.workspace, 2)->members.back(), marta->simGuid);
    EXPECT_EQ(s.Find<QComboBox>("cbHouseMembers")->currentText(), QStringLiteral("Marta Hart"));
    EXPECT_EQ(s.Find<QToolButton>("btnUndo")->toolTip(), QStringLiteral("Undo move into household Okafor Family of Marta Hart"));
    Undo(s);
    EXPECT_EQ(marta->familyNumber, 1);
    EXPECT_EQ(marta->dirty, 0);
    EXPECT_EQ(FindHousehold(s.state.workspace, 1)->members.size(), 6u);
    EXPECT_EQ(FindHousehold(s.state.workspace, 2)->householdDirty, 0);

    households->setCurrentIndex(households->findText(QStringLiteral("Empty Nest")));
    EXPECT_FALSE(s.Shown(s.Find<QGroupBox>("grpHousehold")));
    EXPECT_FALSE(s.Shown(moveIn));
    EXPECT_TRUE(s.Shown(s.Find<QLabel>("lblEmptyHousehold")));
    households->setCurrentIndex(households->findText(QStringLiteral("3")));  // no text list
    EXPECT_FALSE(s.Find<QLineEdit>("edtHouseholdName")->isEnabled());
    EXPECT_TRUE(s.Shown(s.Find<QLabel>("lblNoTextList")));
}

// A skill another tool stored beyond the slider is shown at the slider's end with what is stored,
// and moving another slider keeps it: the clamp the player did not make is never saved.
TEST(SkillsPanel, AValueStoredBeyondTheSliderIsMarkedAndKept) {
    Session s;
    const std::size_t marta = *FindSimByFile(s.state.workspace, "N001_User00000.package");
    s.state.workspace.characters[marta].cookingSkill = 5000;
    s.Choose("N001_User00000.package");
    s.Click("btnSkills");
    EXPECT_EQ(s.Find<QSlider>("trkCookingSkill")->value(), 1000);
    EXPECT_TRUE(s.Find<QLabel>("lblCookingSkill")->text().contains(QStringLiteral("stored 5000")))
        << s.Find<QLabel>("lblCookingSkill")->text().toStdString();
    s.Find<QSlider>("trkCleaningSkill")->setValue(123);
    const Character& sim = s.state.workspace.characters[marta];
    EXPECT_EQ(sim.cleaningSkill, 123);
    EXPECT_EQ(sim.cookingSkill, 5000);
}

}  // namespace
}  // namespace qh::app
