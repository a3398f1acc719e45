// The Family Tree panel driven through its widgets on the demo valley: Marta (0x10) is Ingrid's
// daughter, Jonas's sister, Owen's wife and the mother of Lily, Theo and Rosie; Pablo (0x1D) is
// Jonas's son, with a mother the neighborhood has no character for.
#include <gtest/gtest.h>

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMenu>

#include "app/ui_session.h"
#include "workspace/family_tree.h"
#include "workspace/relationships.h"

namespace qh::app {
namespace {

QAction* Item(Session& s, const char* menu, const QString& caption) {
    for (QAction* action : s.Find<QMenu>(menu)->actions()) {
        if (action->text() == caption) return action;
    }
    throw std::runtime_error("no menu item " + caption.toStdString());
}

QStringList Texts(QComboBox* list) {
    QStringList texts;
    for (int row = 0; row < list->count(); ++row) texts << list->itemText(row);
    return texts;
}

TEST(FamilyPanel, ShowsTheSlotsListsAndMenusOfTheSim) {
    Session s(true);
    s.Choose("N001_User00000.package");
    s.Click("btnFamilyTies");
    EXPECT_EQ(s.Find<QLabel>("imgPrimaryParent")->toolTip(), QStringLiteral("Ingrid Lindqvist"));
    EXPECT_TRUE(s.Find<QFrame>("pnlPrimaryParent")->styleSheet().contains(QStringLiteral("#0000ff")));
    EXPECT_EQ(s.Find<QLabel>("imgSecondParent")->toolTip(), QStringLiteral("Secondary Parent"));
    EXPECT_FALSE(s.Find<QLabel>("imgSecondParent")->isEnabled());
    EXPECT_EQ(s.Find<QLabel>("imgSpouse")->toolTip(), QStringLiteral("Owen Hart"));
    EXPECT_EQ(s.Find<QLabel>("imgSelf")->toolTip(), QStringLiteral("Marta Hart"));
    EXPECT_EQ(Texts(s.Find<QComboBox>("cbSiblings")), QStringList{QStringLiteral("Jonas Lindqvist")});
    EXPECT_EQ(Texts(s.Find<QComboBox>("cbChildren")),
              (QStringList{QStringLiteral("Lily Hart"), QStringLiteral("Rosie Hart"), QStringLiteral("Theo Hart")}));
    QStringList captions;
    for (QAction* action : s.Find<QMenu>("popFirstParent")->actions()) captions << action->text();
    EXPECT_EQ(captions, (QStringList{QStringLiteral("Select Parent"), QStringLiteral("Change Parent"),
                                     QStringLiteral("Remove Parent"), QStringLiteral("Help")}));
    captions.clear();
    for (QAction* action : s.Find<QMenu>("popAddSpouse")->actions()) captions << action->text();
    EXPECT_EQ(captions, (QStringList{QStringLiteral("Add Spouse"), QStringLiteral("Help")}));

    // A teen's spouse slot is shown in advanced mode only.
    s.Choose("N001_User00013.package");  // Pablo
    EXPECT_TRUE(s.Shown(s.Find<QFrame>("pnlSpouse")));
    QTest::mouseClick(s.Find<QCheckBox>("ckAdvanced"), Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_FALSE(s.Shown(s.Find<QFrame>("pnlSpouse")));

    // Choosing a child selects it.
    s.Choose("N001_User00000.package");
    auto* children = s.Find<QComboBox>("cbChildren");
    children->setCurrentIndex(1);
    emit children->activated(1);
    s.Settle();
    EXPECT_EQ(s.window->SelectedSim()->firstName, "Rosie");
}

TEST(FamilyPanel, ANewParentIsOneStepThatUndoesEveryTieAndRecord) {
    Session s(true);
    s.Choose("N001_User00013.package");  // Pablo: his mother has no character
    s.Click("btnFamilyTies");
    const auto ties = s.state.workspace.familyTieList;
    const auto records = s.state.workspace.relationshipList;
    // The player picks Ana in the dialog.
    s.asker.onDialog = [&](QDialog& dialog) {
        auto* list = dialog.findChild<QListWidget*>(QStringLiteral("cbCharacters"));
        ASSERT_NE(list, nullptr);
        for (int row = 0; row < list->count(); ++row) {
            if (list->item(row)->text().startsWith(QStringLiteral("Ana Moreno"))) list->setCurrentRow(row);
        }
    };
    Item(s, "popAddParent2", QStringLiteral("Add Parent"))->trigger();
    ASSERT_EQ(s.asker.dialogs, QStringList{QStringLiteral("Choose New Parent")});
    // The mother the neighborhood has no character for leaves the slot: the player was told.
    ASSERT_EQ(s.asker.questions.size(), 1);
    EXPECT_TRUE(s.asker.questions[0].contains(QStringLiteral("(no character) is no longer Pablo Moreno's second parent")))
        << s.asker.questions[0].toStdString();
    EXPECT_EQ(s.Find<QLabel>("imgSecondParent")->toolTip(), QStringLiteral("Ana Moreno"));
    EXPECT_EQ(s.window->document().history().count(), 1);
    const auto& ws = s.state.workspace;
    const auto up = RelationshipsBetween(ws, 0x1C, 0x1D);
    ASSERT_EQ(up.size(), 1u);
    EXPECT_EQ(ws.relationshipList[up[0]].familyRelation, 1);
    EXPECT_EQ(ws.relationshipList[up[0]].isNew, 1);

    QTest::keyClick(s.window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(ws.familyTieList, ties);
    EXPECT_EQ(ws.relationshipList, records);
    EXPECT_TRUE(RelationshipsBetween(ws, 0x1C, 0x1D).empty());  // the index follows the list
    EXPECT_EQ(s.Find<QLabel>("imgSecondParent")->toolTip(), QStringLiteral("Secondary Parent"));

    // Cancelling the dialog changes nothing.
    s.asker.answer = false;
    Item(s, "popAddParent2", QStringLiteral("Add Parent"))->trigger();
    EXPECT_EQ(ws.familyTieList, ties);
    EXPECT_EQ(s.window->document().history().count(), 1);  // the undone step, still redoable
}

// Giving Pablo Owen as his second parent makes him a brother of Owen's children and a grandson of
// Owen's mother: the player is shown that before anything changes, and Cancel leaves all as it was.
TEST(FamilyPanel, AChangeThatReachesOtherSimsListsThemAndAsksFirst) {
    Session s(true);
    s.Choose("N001_User00013.package");  // Pablo
    s.Click("btnFamilyTies");
    const auto ties = s.state.workspace.familyTieList;
    const auto records = s.state.workspace.relationshipList;
    s.asker.onDialog = [&](QDialog& dialog) {
        auto* list = dialog.findChild<QListWidget*>(QStringLiteral("cbCharacters"));
        for (int row = 0; row < list->count(); ++row) {
            if (list->item(row)->text().startsWith(QStringLiteral("Owen Hart"))) list->setCurrentRow(row);
        }
    };
    // The pick is made; the question that follows is cancelled.
    s.asker.answerFor = [](const QString&) { return false; };
    Item(s, "popAddParent2", QStringLiteral("Add Parent"))->trigger();
    ASSERT_EQ(s.asker.questions.size(), 1);
    const QString& question = s.asker.questions[0];
    EXPECT_TRUE(question.startsWith(QStringLiteral("Changing Pablo Moreno's second parent reaches other sims too")))
        << question.toStdString();
    for (const char* line : {"Owen Hart becomes Pablo Moreno's second parent", "Lily Hart and Pablo Moreno become siblings",
                             "Theo Hart and Pablo Moreno become siblings",
                             "Pablo Moreno to Lily Hart: family relation Cousin \u2192 Sibling",
                             "Edith Fairbanks to Pablo Moreno: a new relationship, family relation Grandparent"}) {
        EXPECT_TRUE(question.contains(QString::fromUtf8(line))) << line << "\n" << question.toStdString();
    }
    EXPECT_EQ(s.state.workspace.familyTieList, ties);
    EXPECT_EQ(s.state.workspace.relationshipList, records);
    EXPECT_EQ(s.window->document().history().count(), 0);

    // Confirmed, it is one step.
    s.asker.answerFor = nullptr;
    s.asker.answer = true;
    Item(s, "popAddParent2", QStringLiteral("Add Parent"))->trigger();
    EXPECT_EQ(s.window->document().history().count(), 1);
    EXPECT_EQ(s.Find<QLabel>("imgSecondParent")->toolTip(), QStringLiteral("Owen Hart"));
}

TEST(FamilyPanel, RemovingTheSpouseKeepsTheMarriageButNotTheTie) {
    Session s(true);
    s.Choose("N001_User00000.package");
    s.Click("btnFamilyTies");
    Item(s, "popSpouse", QStringLiteral("Remove Spouse"))->trigger();
    EXPECT_EQ(s.Find<QLabel>("imgSpouse")->toolTip(), QStringLiteral("Spouse"));
    const auto& ws = s.state.workspace;
    const RelationshipRecord& marta = ws.relationshipList[RelationshipsBetween(ws, 0x10, 0x11)[0]];
    EXPECT_TRUE(HasRelationshipFlag(marta, kMarriedBit));
    EXPECT_FALSE(HasRelationshipFlag(marta, kFamilyBit));
}

TEST(FamilyPanel, ANeighborhoodWithoutATreeSaysSoAndChangesNothing) {
    Session s(true);
    QComboBox* neighborhoods = s.window->neighborhoodSelector();
    const int college = neighborhoods->findText(QStringLiteral("G001"), Qt::MatchStartsWith);
    ASSERT_GE(college, 0);
    neighborhoods->setCurrentIndex(college);
    emit neighborhoods->activated(college);
    ASSERT_EQ(s.state.workspace.prefix, "G001");
    s.Click("btnFamilyTies");
    EXPECT_TRUE(s.Shown(s.Find<QLabel>("lblNoFamilyTree")));
    s.reporter.messages.clear();
    Item(s, "popAddParent1", QStringLiteral("Add Parent"))->trigger();
    EXPECT_TRUE(s.asker.dialogs.isEmpty());
    ASSERT_EQ(s.reporter.messages.size(), 1u);
    EXPECT_NE(s.reporter.messages[0].text.find("no family tree"), std::string::npos);
    EXPECT_TRUE(s.state.workspace.familyTieList.empty());
    EXPECT_FALSE(s.window->document().Unsaved());
}

}  // namespace
}  // namespace qh::app
