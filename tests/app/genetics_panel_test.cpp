// The Genetics (DNA) panel driven through its widgets on the demo valley, whose Downloads hold a
// custom hair colour, skin tone and eye colour, eyebrows (not an eye colour), a hair colour
// without a name, clothes and a damaged download.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QProgressDialog>
#include <QTimer>

#include "app/ui_session.h"
#include "workspace/sim_genes.h"

namespace qh::app {
namespace {

TEST(GeneticsPanel, SelectorsOfferTheGamesAndTheCustomGenesAndChangeOneAtATime) {
    Session s;
    s.Choose("N001_User00014.package");  // Edith: her parents' genes name the custom ones
    s.Click("btnGenetics");
    // The damaged download is said once, in one message.
    int told = 0;
    for (const auto& message : s.reporter.messages) told += message.text.find("Data Read Error Found in:") != std::string::npos;
    EXPECT_EQ(told, 1);
    Character& edith = s.SimOf("N001_User00014.package");
    DNA& genes = *FindDna(s.state.workspace, edith.instanceId);
    auto* fatherHair = s.Find<QComboBox>("cbFatherHairColor");
    EXPECT_EQ(fatherHair->currentText(), QStringLiteral("* Ginger Streak"));
    EXPECT_NE(fatherHair->findText(QStringLiteral("* ")), -1) << "the hair colour nobody named";
    EXPECT_EQ(s.Find<QComboBox>("cbDomEyeColor")->currentText(), QStringLiteral("* Violet Eyes"));
    EXPECT_EQ(s.Find<QComboBox>("cbRecEyeColor")->findText(QStringLiteral("* Soft Brows")), -1) << "eyebrows are no eye colour";
    EXPECT_EQ(s.Find<QComboBox>("cbSkinTone")->findText(QStringLiteral("* Moonlit Skin")), 6);

    const std::string hairBefore = edith.hairColor;
    PickEntry(fatherHair, QStringLiteral("Red Hair"));
    EXPECT_EQ(genes.fatherHairColor, "00000004-0000-0000-0000-000000000000");
    EXPECT_EQ(genes.dirty, 1);
    EXPECT_EQ(edith.dirty, 1);
    EXPECT_EQ(edith.hairColor, hairBefore);
    EXPECT_EQ(edith.needsPackageRebuild, 0) << "a parent's gene does not change how the sim looks";
    PickEntry(s.Find<QComboBox>("cbSkinTone"), QStringLiteral("NA"));
    EXPECT_EQ(genes.skinTone, "000000000000000000000000000000000000");
    EXPECT_EQ(edith.needsPackageRebuild, 1);
    EXPECT_EQ(s.window->document().history().count(), 2);
    s.window->document().history().undo();
    s.window->document().history().undo();
    EXPECT_EQ(FindDna(s.state.workspace, edith.instanceId)->fatherHairColor, "c0ffee01-0000-4000-8000-00000000a001");
    EXPECT_EQ(fatherHair->currentText(), QStringLiteral("* Ginger Streak"));
}

TEST(GeneticsPanel, AGeneNoLongerInstalledIsShownAndKept) {
    Session s;
    s.Choose("N001_User00001.package");  // Owen
    Character& owen = s.SimOf("N001_User00001.package");
    const std::string gone = "deadbeef-0000-4000-8000-000000000000";
    FindDna(s.state.workspace, owen.instanceId)->recessiveSkinTone = gone;
    s.Click("btnGenetics");
    auto* recessive = s.Find<QComboBox>("cbRecSkinTone");
    EXPECT_EQ(recessive->currentText(), QStringLiteral("Not installed: ") + QString::fromStdString(gone));
    PickEntry(s.Find<QComboBox>("cbMotherSkinTone"), QStringLiteral("Dark Skin"));
    EXPECT_EQ(FindDna(s.state.workspace, owen.instanceId)->recessiveSkinTone, gone) << "another selector leaves it";
}

TEST(GeneticsPanel, PetsAndSimsWithoutARecordCannotChangeGenes) {
    Session s;
    s.Choose("N001_User00008.package");  // Whiskers, a cat
    s.Click("btnGenetics");
    for (const GeneSelector& selector : GeneSelectors()) {
        EXPECT_FALSE(s.Find<QComboBox>(selector.control)->isEnabled()) << selector.control;
    }
    s.Choose("N001_User00015.package");  // a visitor: its own colours, no record
    EXPECT_TRUE(s.Find<QComboBox>("cbHairColor")->isEnabled());
    EXPECT_FALSE(s.Find<QComboBox>("cbSkinTone")->isEnabled());
    EXPECT_EQ(s.Find<QComboBox>("cbSkinTone")->currentText(), QStringLiteral("NA"));
}

TEST(GeneticsPanel, ACancelledSearchOffersTheGamesColoursAloneAndSaysSo) {
    Session s;
    s.Choose("N001_User00014.package");  // Edith: her father's hair is a custom gene
    // The player presses Cancel as soon as the search's dialog runs.
    QTimer::singleShot(0, [&s] {
        if (auto* dialog = s.window->findChild<QProgressDialog*>(QStringLiteral("dlgGeneScan"))) dialog->cancel();
    });
    s.Click("btnGenetics");
    EXPECT_NE(s.Find<QLabel>("lblGeneScan")->text().indexOf(QStringLiteral("cancelled")), -1);
    auto* fatherHair = s.Find<QComboBox>("cbFatherHairColor");
    EXPECT_EQ(fatherHair->findText(QStringLiteral("* Ginger Streak")), -1);
    EXPECT_TRUE(fatherHair->currentText().startsWith(QStringLiteral("Custom (search cancelled): "))) << fatherHair->currentText().toStdString();
    // Searching again finds them.
    s.Click("btnScanGenes");
    EXPECT_EQ(fatherHair->currentText(), QStringLiteral("* Ginger Streak"));
}

}  // namespace
}  // namespace qh::app
