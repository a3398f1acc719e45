// The Cloning Lab driven through its widgets on the demo valley, whose SavedSims folder holds a
// Body Shop sim and whose Clones folder a clone file of Ana Moreno.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>

#include "app/dialogs/character_picker.h"
#include "app/ui_session.h"
#include "workspace/cloning.h"

namespace qh::app {
namespace {

namespace fs = std::filesystem;

const char* const kGroupBoxes[] = {"ckCharClone", "ckPersClone",       "ckAspireClone",     "ckSkilClone", "ckIntClone",
                                   "ckJobClone",  "ckBodyClone",       "ckGeneClone",       "ckUniversityClone",
                                   "ckAttractionClone", "ckHobbyClone", "ckNeedsClone",     "ckBadgesClone"};

fs::path ClonesFolder(const Session& s) { return s.game.prefix / "drive_c" / "users" / "player" / "Documents" / "Bramblesoft" / "Clones"; }

// The sim's record, its items and its genes, to compare before and after.
struct Snapshot {
    Character record;
    std::vector<NeighborhoodItem> items;
    std::optional<DNA> dna;
    explicit Snapshot(const Workspace& ws, const Character& sim) : record(sim) {
        for (const NeighborhoodItem& item : ws.simItemList) {
            if (item.owner == sim.instanceId) items.push_back(item);
        }
        if (const DNA* d = FindDna(ws, sim.instanceId)) dna = *d;
    }
};

TEST(CloningPanel, TheBoxesSetAllAndTheStates) {
    Session s;
    s.Choose("N001_User00001.package");  // Owen
    s.Click("btnCloning");
    for (const char* name : kGroupBoxes) {
        auto* box = s.Find<QCheckBox>(name);
        EXPECT_TRUE(s.Shown(box)) << name << ": the demo has every expansion but Open For Business";
        EXPECT_EQ(box->isChecked(), std::string(name) == "ckBodyClone" || std::string(name) == "ckGeneClone") << name;
        EXPECT_FALSE(box->toolTip().isEmpty()) << name;
    }
    for (const char* button : {"btnCloneExport", "btnCloneImport", "btnCloneGet"}) {
        EXPECT_TRUE(s.Find<QPushButton>(button)->isEnabled()) << button;
        EXPECT_FALSE(s.Find<QPushButton>(button)->toolTip().isEmpty()) << button;
    }
    EXPECT_FALSE(s.Shown(s.Find<QLabel>("lblPreviousClone")));
    auto* all = s.Find<QCheckBox>("ckCloneSetAll");
    QTest::mouseClick(all, Qt::LeftButton, {}, QPoint(4, all->height() / 2));
    for (const char* name : kGroupBoxes) EXPECT_TRUE(s.Find<QCheckBox>(name)->isChecked()) << name;
    QTest::mouseClick(all, Qt::LeftButton, {}, QPoint(4, all->height() / 2));
    for (const char* name : kGroupBoxes) EXPECT_FALSE(s.Find<QCheckBox>(name)->isChecked()) << name;
    EXPECT_EQ(s.window->document().history().count(), 0) << "checking boxes changes nothing";

    // A sim only in others' memories has no body.
    s.Choose("N001_User00015.package");
    for (const char* button : {"btnCloneExport", "btnCloneImport", "btnCloneGet"}) EXPECT_FALSE(s.Find<QPushButton>(button)->isEnabled());
    EXPECT_TRUE(s.Shown(s.Find<QLabel>("lblPreviousClone")));
    EXPECT_EQ(s.Find<QLabel>("lblPreviousClone")->text(),
              QStringLiteral("You will not be able to clone a new body onto this character since they only exist in the "
                             "memories of others."));
}

TEST(CloningPanel, GetACloneIsOneStepThatUndoesWhole) {
    Session s;
    s.Choose("N001_User00001.package");
    s.Click("btnCloning");
    Character& owen = s.SimOf("N001_User00001.package");
    const Snapshot before(s.state.workspace, owen);
    const fs::path clone = ClonesFolder(s) / "AnaMoreno.clone";
    ASSERT_TRUE(fs::exists(clone));
    QStringList filters;
    s.asker.onDialog = [&](QDialog& dialog) {
        auto& files = static_cast<QFileDialog&>(dialog);
        filters = files.nameFilters();
        EXPECT_EQ(files.selectedNameFilter(), QStringLiteral("Quillhaven Clone File (*.clone)"));
        files.selectFile(QString::fromStdString(clone.string()));
    };
    auto* all = s.Find<QCheckBox>("ckCloneSetAll");
    QTest::mouseClick(all, Qt::LeftButton, {}, QPoint(4, all->height() / 2));
    s.Click("btnCloneImport");
    EXPECT_EQ(s.asker.dialogs.back(), QStringLiteral("Get A Clone"));
    EXPECT_EQ(filters, (QStringList{QStringLiteral("All (*.clone *.package)"), QStringLiteral("Quillhaven Clone File (*.clone)"),
                                    QStringLiteral("Bodyshop Package File (*.package)")}));
    ASSERT_FALSE(s.reporter.messages.empty());
    EXPECT_EQ(s.reporter.messages.back().text,
              "Clone Data successfully imported, changes will take effect in the game after the new data is \"Saved\"");
    EXPECT_EQ(owen.firstName, "Ana");
    EXPECT_EQ(s.window->characterSelector()->currentText().contains(QStringLiteral("Ana")), true) << "the entry is relabelled";
    EXPECT_EQ(owen.clonePackagePath, clone.string());
    EXPECT_EQ(s.window->document().history().count(), 1);
    const QString review = s.window->document().UnsavedChanges().back().changes.join(QLatin1Char('\n'));
    EXPECT_NE(review.indexOf(QStringLiteral("Body: taken from AnaMoreno.clone when saved")), -1) << review.toStdString();
    EXPECT_EQ(s.state.settings->ClonePath(), ClonesFolder(s).string() + "/");
    // Waiting for the save: only Create A Clone, and why, in bold.
    EXPECT_TRUE(s.Find<QPushButton>("btnCloneExport")->isEnabled());
    EXPECT_FALSE(s.Find<QPushButton>("btnCloneImport")->isEnabled());
    EXPECT_FALSE(s.Find<QPushButton>("btnCloneGet")->isEnabled());
    auto* why = s.Find<QLabel>("lblPreviousClone");
    EXPECT_TRUE(s.Shown(why));
    EXPECT_TRUE(why->font().bold());
    EXPECT_TRUE(why->text().startsWith(QStringLiteral("The Selected Character is in the process of being Cloned already.")));

    s.window->document().history().undo();
    const Snapshot after(s.state.workspace, s.SimOf("N001_User00001.package"));
    EXPECT_EQ(after.record, before.record) << "every field and the clone marks back";
    EXPECT_EQ(after.items, before.items);
    EXPECT_EQ(after.dna, before.dna);
    EXPECT_TRUE(s.Find<QPushButton>("btnCloneImport")->isEnabled());
}

TEST(CloningPanel, CreateACloneAsksBeforeReplacing) {
    Session s;
    s.Choose("N001_User00000.package");  // Marta
    s.Click("btnCloning");
    const fs::path folder = s.dir / "shared clones";
    fs::create_directories(folder);
    QString proposed;
    s.asker.onDialog = [&](QDialog& dialog) {
        auto& files = static_cast<QFileDialog&>(dialog);
        proposed = files.selectedFiles().value(0);
        files.selectFile(QString::fromStdString((folder / "Marta").string()));
    };
    s.Click("btnCloneExport");
    EXPECT_TRUE(proposed.endsWith(QStringLiteral("MartaHart.clone"))) << proposed.toStdString();
    const fs::path made = folder / "Marta.clone";
    ASSERT_TRUE(fs::exists(made));
    EXPECT_EQ(s.reporter.messages.back().text, "Create A Clone successful,\r\rFile saved to: " + made.string());
    EXPECT_EQ(s.state.settings->ClonePath(), folder.string() + "/");
    const Bytes first = ReadFileBytes(made);
    // Again, refusing to replace: the file stays; agreeing: it is written.
    s.SimOf("N001_User00000.package").cookingSkill = 1;
    s.asker.answerFor = [](const QString&) { return false; };
    s.Click("btnCloneExport");
    ASSERT_FALSE(s.asker.questions.isEmpty());
    EXPECT_EQ(s.asker.questions.back(), QStringLiteral("\"Marta.clone\" already exists, Do you wish to replace this file?"));
    EXPECT_EQ(ReadFileBytes(made), first);
    s.asker.answerFor = [](const QString&) { return true; };
    s.Click("btnCloneExport");
    EXPECT_NE(ReadFileBytes(made), first);
    EXPECT_EQ(s.window->document().history().count(), 0) << "making a clone changes no sim";
}

TEST(CloningPanel, DirectCloneHoldsTheSourceUntilTheSaveAndUndoFreesBoth) {
    Session s;
    s.Choose("N001_User00001.package");
    s.Click("btnCloning");
    const int marta = static_cast<int>(*FindSimByFile(s.state.workspace, "N001_User00000.package"));
    const int owen = static_cast<int>(*FindSimByFile(s.state.workspace, "N001_User00001.package"));
    bool offeredSelf = false;
    s.asker.onDialog = [&](QDialog& dialog) {
        auto& picker = static_cast<CharacterPicker&>(dialog);
        EXPECT_EQ(picker.windowTitle(), QStringLiteral("Choose Clone Character"));
        for (int row = 0; row < picker.list()->count(); ++row) {
            const int sim = picker.list()->item(row)->data(Qt::UserRole).toInt();
            offeredSelf = offeredSelf || sim == owen;
            if (sim == marta) picker.list()->setCurrentRow(row);
        }
    };
    s.Click("btnCloneGet");
    EXPECT_FALSE(offeredSelf);
    EXPECT_EQ(s.reporter.messages.back().text,
              "Clone Data successfully copied, changes will take effect in the game after the new data is \"Saved\"");
    const Workspace& ws = s.state.workspace;
    EXPECT_TRUE(BodyClonePending(ws, ws.characters[static_cast<std::size_t>(owen)]));
    EXPECT_TRUE(BodyClonePending(ws, ws.characters[static_cast<std::size_t>(marta)]));
    s.Choose("N001_User00000.package");
    EXPECT_FALSE(s.Find<QPushButton>("btnCloneGet")->isEnabled()) << "Marta's body waits to be copied";
    // Nor may her package go before the save has copied it.
    const std::size_t sims = ws.characters.size();
    s.Click("btnDelSim");
    EXPECT_EQ(ws.characters.size(), sims);
    EXPECT_NE(s.reporter.messages.back().text.find("takes this sim's body when you save"), std::string::npos);
    s.window->document().history().undo();  // shows Owen, whose change it was
    s.Settle();
    EXPECT_FALSE(BodyClonePending(ws, ws.characters[static_cast<std::size_t>(marta)]));
    EXPECT_EQ(s.window->characterSelector()->currentIndex(), s.SimIndex("N001_User00001.package"));
    EXPECT_TRUE(s.Find<QPushButton>("btnCloneGet")->isEnabled());
    s.Choose("N001_User00000.package");
    EXPECT_TRUE(s.Find<QPushButton>("btnCloneGet")->isEnabled()) << "Marta is free again";
}

TEST(CloningPanel, ABodyShopPackageWithoutABodyIsRefusedInTheGamesWords) {
    Session s;
    s.Choose("N001_User00001.package");
    s.Click("btnCloning");
    const fs::path clothes = s.game.userData / "Downloads" / "Clothes" / "summer-dress.package";
    s.asker.onDialog = [&](QDialog& dialog) { static_cast<QFileDialog&>(dialog).selectFile(QString::fromStdString(clothes.string())); };
    s.Click("btnCloneImport");
    EXPECT_EQ(s.reporter.messages.back().text, "The file you have selected is Not a Bodyshop or Character Package");
    EXPECT_EQ(s.window->document().history().count(), 0);
    EXPECT_TRUE(s.SimOf("N001_User00001.package").clonePackagePath.empty());
}

}  // namespace
}  // namespace qh::app
