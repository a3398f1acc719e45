// The Relationships panel driven through its widgets on the demo valley: Marta (0x10) and Owen
// (0x11) Hart are married, Lily (0x12) is their daughter, Samuel (0x16) is furious at Lily, Edith
// (0x1E) remembers Marta, who does not remember her.
#include <gtest/gtest.h>

#include <QApplication>
#include <cmath>
#include <QStandardItemModel>

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QScrollArea>
#include <QPushButton>
#include <QSlider>

#include "app/ui_session.h"
#include "support/demo_session.h"
#include "workspace/relationships.h"

namespace qh::app {
namespace {

void Undo(Session& s) { QTest::keyClick(s.window.get(), Qt::Key_Z, Qt::ControlModifier); }

const RelationshipRecord& Record(Session& s, std::uint16_t owner, std::uint16_t other) {
    const auto records = RelationshipsBetween(s.state.workspace, owner, other);
    if (records.empty()) throw std::runtime_error("no such relationship");
    return s.state.workspace.relationshipList[records.front()];
}

// Opens the panel for a sim and chooses the relationship with the sim whose entry text starts so.
void Show(Session& s, const char* simFile, const QString& other) {
    s.Choose(simFile);
    s.Click("btnRelationships");
    auto* list = s.Find<QComboBox>("cbRelationShips");
    for (int row = 0; row < list->count(); ++row) {
        if (list->itemText(row).startsWith(other)) {
            list->setCurrentIndex(row);
            return;
        }
    }
    throw std::runtime_error("no relationship with " + other.toStdString());
}

TEST(RelationshipsPanel, ListsTheSimsRelationshipsByTextAndShowsBothSides) {
    Session s(true);
    s.Choose("N001_User00000.package");
    s.Click("btnRelationships");
    auto* list = s.Find<QComboBox>("cbRelationShips");
    // Her mother, brother, husband and children; not the visitor, whom the neighborhood does not
    // describe.
    QStringList texts;
    for (int row = 0; row < list->count(); ++row) texts << list->itemText(row);
    EXPECT_EQ(texts, (QStringList{QStringLiteral("Ingrid Lindqvist : N001_User00010"),
                                  QStringLiteral("Jonas Lindqvist : N001_User00011"), QStringLiteral("Lily Hart : N001_User00002"),
                                  QStringLiteral("Owen Hart : N001_User00001"), QStringLiteral("Rosie Hart : N001_User00004"),
                                  QStringLiteral("Theo Hart : N001_User00003")}));
    EXPECT_EQ(list->iconSize(), QSize(32, 32));
    EXPECT_FALSE(list->itemIcon(0).isNull());

    Show(s, "N001_User00000.package", QStringLiteral("Owen"));
    EXPECT_EQ(s.Find<QLabel>("lblSimLike")->text(), QStringLiteral("How much Marta Hart likes Owen Hart"));
    EXPECT_EQ(s.Find<QLabel>("lblSim2Like")->text(), QStringLiteral("How much Owen Hart likes Marta Hart"));
    EXPECT_EQ(s.Find<QSlider>("trkShortTerm")->value(), 80);
    EXPECT_EQ(s.Find<QSlider>("trkLongTerm2")->value(), 90);
    EXPECT_EQ(s.Find<QLabel>("lblShortTerm")->text(), QStringLiteral("Short Term: 80"));
    EXPECT_TRUE(s.Find<QCheckBox>("ckMarried")->isChecked());
    EXPECT_TRUE(s.Find<QCheckBox>("ckMarried2")->isChecked());
    EXPECT_EQ(s.Find<QComboBox>("cbFamRel1")->currentText(), QStringLiteral("Spouse "));
    EXPECT_TRUE(s.Shown(s.Find<QComboBox>("cbFamRel1")));
    EXPECT_EQ(s.Find<QLabel>("lblTurnOns")->text(), QStringLiteral("Turn Ons for Marta Hart:"));
    EXPECT_TRUE(s.Shown(s.Find<QScrollArea>("scrTraits1")));
    EXPECT_EQ(s.Find<QLabel>("lblRelAttractionTraits")->text(), QStringLiteral("Attraction Traits for Owen Hart:"));
    EXPECT_TRUE(s.Shown(s.Find<QCheckBox>("ckFurious")));  // the demo has Nightlife and later

    // Out of advanced mode the couple's marks and the family relation are hidden.
    QTest::mouseClick(s.Find<QCheckBox>("ckAdvanced"), Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_FALSE(s.Shown(s.Find<QCheckBox>("ckMarried")));
    EXPECT_FALSE(s.Shown(s.Find<QCheckBox>("ckUnAvailable2")));
    EXPECT_FALSE(s.Shown(s.Find<QComboBox>("cbFamRel1")));
    EXPECT_TRUE(s.Shown(s.Find<QCheckBox>("ckLove")));
}

TEST(RelationshipsPanel, EachEditChangesItsRecordsAndIsOneUndoableStep) {
    Session s(true);
    Show(s, "N001_User00000.package", QStringLiteral("Owen"));
    auto& history = s.window->document().history();
    const auto records = s.state.workspace.relationshipList;

    // Engaged from panel two: both records, one step; Love on panel one: Marta's record only.
    QTest::mouseClick(s.Find<QCheckBox>("ckEngaged2"), Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_TRUE(HasRelationshipFlag(Record(s, 0x10, 0x11), kEngagedBit));
    EXPECT_TRUE(HasRelationshipFlag(Record(s, 0x11, 0x10), kEngagedBit));
    EXPECT_TRUE(s.Find<QCheckBox>("ckEngaged")->isChecked());
    EXPECT_EQ(history.count(), 1);
    QTest::mouseClick(s.Find<QCheckBox>("ckLove"), Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_FALSE(HasRelationshipFlag(Record(s, 0x10, 0x11), kLoveBit));
    EXPECT_TRUE(HasRelationshipFlag(Record(s, 0x11, 0x10), kLoveBit));

    // The family relation: "Parent" on panel one is "Child " on panel two.
    auto* famRel = s.Find<QComboBox>("cbFamRel1");
    famRel->setCurrentIndex(1);
    emit famRel->activated(1);
    EXPECT_EQ(Record(s, 0x10, 0x11).familyRelation, 1);
    EXPECT_EQ(Record(s, 0x11, 0x10).familyRelation, 2);
    EXPECT_EQ(s.Find<QComboBox>("cbFamRel2")->currentIndex(), 2);

    // Max Both: one press, one step, both sides at 100 with Friend and Best Friend.
    const int steps = history.count();
    s.Click("btnMaxBothRelationships");
    EXPECT_EQ(history.count(), steps + 1);
    for (auto [a, b] : {std::pair{0x10, 0x11}, std::pair{0x11, 0x10}}) {
        const RelationshipRecord& r = Record(s, static_cast<std::uint16_t>(a), static_cast<std::uint16_t>(b));
        EXPECT_EQ(r.shortTerm, 100);
        EXPECT_EQ(r.longTerm, 100);
        EXPECT_TRUE(HasRelationshipFlag(r, kBestFriendBit));
    }
    EXPECT_EQ(s.Find<QSlider>("trkShortTerm2")->value(), 100);

    // Undoing everything brings both records back exactly and shows them again.
    while (history.canUndo()) Undo(s);
    EXPECT_EQ(s.state.workspace.relationshipList, records);
    EXPECT_EQ(s.Find<QSlider>("trkShortTerm")->value(), 80);
    EXPECT_FALSE(s.Find<QCheckBox>("ckEngaged2")->isChecked());
}

TEST(RelationshipsPanel, FuriousAndContactAreItemsAndColourTheSide) {
    Session s(true);
    Show(s, "N001_User00006.package", QStringLiteral("Lily"));  // Samuel is furious at Lily
    auto* furious = s.Find<QCheckBox>("ckFurious");
    EXPECT_TRUE(furious->isChecked());
    EXPECT_FALSE(s.Find<QCheckBox>("ckFurious2")->isChecked());
    EXPECT_TRUE(s.Find<QFrame>("pnlRelationshipsOne")->styleSheet().contains(QStringLiteral("#ff0000")));
    const auto items = s.state.workspace.simItemList;
    QTest::mouseClick(furious, Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_FALSE(IsFurious(s.state.workspace, 0x16, 0x12));
    EXPECT_TRUE(s.Find<QFrame>("pnlRelationshipsOne")->styleSheet().isEmpty());
    QTest::mouseClick(s.Find<QCheckBox>("ckContact2"), Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_TRUE(HasRelationshipFlag(Record(s, 0x12, 0x16), kContactBit));
    Undo(s);
    Undo(s);
    EXPECT_EQ(s.state.workspace.simItemList, items);
    EXPECT_TRUE(s.Find<QCheckBox>("ckFurious")->isChecked());
}

TEST(RelationshipsPanel, AOneWayRelationshipShowsNoPanelsAndSwapShowsTheOtherSide) {
    Session s(true);
    Show(s, "N001_User00014.package", QStringLiteral("Marta"));  // Edith about Marta
    EXPECT_FALSE(s.Shown(s.Find<QFrame>("pnlRelationshipsOne")));
    EXPECT_FALSE(s.Shown(s.Find<QPushButton>("btnMaxBothRelationships")));
    EXPECT_TRUE(s.Shown(s.Find<QLabel>("lblOneWay")));
    EXPECT_FALSE(s.Find<QSlider>("trkShortTerm")->isEnabled());

    Show(s, "N001_User00000.package", QStringLiteral("Lily"));
    s.Click("btnRelSwapChar");
    s.Settle();
    EXPECT_EQ(s.window->SelectedSim()->firstName, "Lily");
    EXPECT_TRUE(s.Find<QComboBox>("cbRelationShips")->currentText().startsWith(QStringLiteral("Marta")));
    EXPECT_EQ(s.Find<QComboBox>("cbFamRel1")->currentText(), QStringLiteral("Child "));
}

TEST(RelationshipsPanel, TurnOnSelectorsStoreTheChosenBitsOnly) {
    Session s(true);
    Show(s, "N001_User00000.package", QStringLiteral("Owen"));
    auto* on1 = s.Find<QComboBox>("cbTurnOn1");
    auto* on2 = s.Find<QComboBox>("cbTurnOn2");
    on1->setCurrentIndex(33);  // Jewelery
    emit on1->activated(33);
    on2->setCurrentIndex(33);
    emit on2->activated(33);
    const Character& marta = *s.window->SelectedSim();
    EXPECT_EQ(marta.turnOns1, 1u << 13);
    EXPECT_EQ(marta.turnOns2 | marta.turnOns3, 0u);
    EXPECT_EQ(marta.dirty, 1);
}

TEST(RelationshipsPanel, TurnOnsTheSimsFormatCannotKeepAreNotOffered) {
    Session s(true);
    Show(s, "N001_User00005.package", QStringLiteral("Samuel"));  // Grace: format 0x2C
    auto* on1 = s.Find<QComboBox>("cbTurnOn1");
    ASSERT_TRUE(s.Shown(on1));
    auto* model = qobject_cast<QStandardItemModel*>(on1->model());
    ASSERT_NE(model, nullptr);
    EXPECT_TRUE(model->item(1)->isEnabled());    // Cologne
    EXPECT_TRUE(model->item(33)->isEnabled());   // Jewelery: word 1
    for (int third : {30, 31, 32, 34}) EXPECT_FALSE(model->item(third)->isEnabled()) << third;
    // Chosen anyway (as a script could): nothing is stored and nothing recorded.
    const Character before = *s.window->SelectedSim();
    on1->setCurrentIndex(34);
    emit on1->activated(34);
    EXPECT_EQ(s.window->SelectedSim()->turnOns3, before.turnOns3);
    EXPECT_EQ(s.window->SelectedSim()->dirty, before.dirty);
}

// With the neighborhood data unreadable, what is kept as items is shown but cannot be changed:
// Furious and Contact here, the item skills and toddler training on the Skills panel, the dead
// mark on the Character panel, each saying why.
TEST(RelationshipsPanel, ItemsTheSaveCouldNotWriteAreShownButOff) {
    Session s(true, [](const demo::DemoGame& game) {
        test::RewritePackage(game.userData / "Neighborhoods" / "N001" / "N001_Neighborhood.package",
                             [](const IndexEntry& e, Bytes& content) {
                                 if (e.key.typeId == kNeighborhoodDataType) content.resize(10);
                             });
    });
    Show(s, "N001_User00000.package", QStringLiteral("Owen"));
    auto* furious = s.Find<QCheckBox>("ckFurious");
    EXPECT_FALSE(furious->isEnabled());
    EXPECT_TRUE(furious->toolTip().contains(QStringLiteral("could not be read")));
    EXPECT_TRUE(s.Find<QSlider>("trkShortTerm")->isEnabled());  // levels are not items
    s.Click("btnSkills");
    EXPECT_FALSE(s.Find<QCheckBox>("ckTrainWalk")->isEnabled());
    s.Click("btnCharacters");
    EXPECT_FALSE(s.Find<QCheckBox>("ckDead")->isEnabled());
}

// The window grows from its designed size (the smallest) and the panel with it; the levels show a
// tick every 10 and their zero; the turn-off box shows its longest caption whole.
TEST(RelationshipsPanel, TheWindowGrowsAndTheLevelsShowTheirScale) {
    Session s;
    Show(s, "N001_User00000.package", QStringLiteral("Owen"));
    EXPECT_EQ(s.window->minimumSize(), QSize(1060, 720));
    EXPECT_GT(s.window->maximumWidth(), 1060);
    auto* slider = s.Find<QSlider>("trkShortTerm");
    const int before = slider->width();
    s.window->resize(1400, 900);
    QApplication::processEvents();
    EXPECT_EQ(s.window->size(), QSize(1400, 900));
    EXPECT_GT(slider->width(), before);
    for (const char* name : {"trkShortTermTicks", "trkLongTermTicks", "trkShortTerm2Ticks", "trkLongTerm2Ticks"}) {
        EXPECT_TRUE(s.Shown(s.Find<QWidget>(name))) << name;
    }
    auto* turnOff = s.Find<QComboBox>("cbTurnOff");
    EXPECT_GE(turnOff->width(), turnOff->fontMetrics().horizontalAdvance(QStringLiteral("Full Face Makeup")) + 30);
}

// With changes unsaved, "Save Changes" and "Review Changes" take their own place below the
// portrait, at the designed size too.
TEST(RelationshipsPanel, TheSaveButtonsNeverCoverThePortrait) {
    Session s;
    Show(s, "N001_User00000.package", QStringLiteral("Owen"));
    s.Find<QSlider>("trkShortTerm")->setValue(42);
    QApplication::processEvents();
    auto* save = s.Find<QPushButton>("btnSave");
    auto* review = s.Find<QPushButton>("btnReviewChanges");
    auto* portrait = s.Find<QLabel>("imgPortrait");
    ASSERT_TRUE(s.Shown(save));
    EXPECT_EQ(s.window->size(), QSize(1060, 720));
    for (QWidget* button : {static_cast<QWidget*>(save), static_cast<QWidget*>(review)}) {
        EXPECT_FALSE(button->geometry().intersects(portrait->geometry())) << button->objectName().toStdString();
        EXPECT_GE(button->geometry().top(), portrait->geometry().bottom());
    }
    EXPECT_FALSE(save->geometry().intersects(review->geometry()));
}

// The open panel's button is marked as the current one (not merely greyed out), in white on a
// blue with a contrast of at least 4.5:1, and menus have a border and a marked current item.
TEST(RelationshipsPanel, TheOpenPanelsButtonAndTheMenusShowWhereThePlayerIs) {
    Session s;
    Show(s, "N001_User00000.package", QStringLiteral("Owen"));
    auto* open = s.Find<QPushButton>("btnRelationships");
    EXPECT_TRUE(open->property("current").toBool());
    EXPECT_FALSE(s.Find<QPushButton>("btnSkills")->property("current").toBool());
    s.Click("btnSkills");
    EXPECT_FALSE(open->property("current").toBool());
    EXPECT_TRUE(s.Find<QPushButton>("btnSkills")->property("current").toBool());
    const QString sheet = qApp->styleSheet();
    EXPECT_TRUE(sheet.contains(QStringLiteral("QMenu::item:selected")));
    EXPECT_TRUE(sheet.contains(QStringLiteral("QMenu {")));
    // White on the current button's blue: relative luminances 1 and that of #2f5f9f.
    auto channel = [](double c) { c /= 255; return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    const double blue = 0.2126 * channel(0x2f) + 0.7152 * channel(0x5f) + 0.0722 * channel(0x9f);
    EXPECT_TRUE(sheet.contains(QStringLiteral("#2f5f9f")));
    EXPECT_GE((1.0 + 0.05) / (blue + 0.05), 4.5);
}

}  // namespace
}  // namespace qh::app
