// The neighborhood panel's backup commands driven through the window on the demo game: backing
// up, restoring (the loaded neighborhood is loaded again), deleting and showing paths.
#include <gtest/gtest.h>

#include <QTreeWidgetItemIterator>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QPointer>
#include <QTest>
#include <QCheckBox>
#include <QLineEdit>
#include <QFileDialog>
#include <QMenu>
#include <QTreeWidget>

#include "app/panels/neighborhood_panel.h"
#include "app/ui_session.h"
#include "workspace/backups.h"

namespace qh::app {
namespace {

QTreeWidgetItem* Backup(QTreeWidget* tree, const QString& name) {
    QTreeWidgetItem* root = tree->topLevelItem(0);
    for (int g = 0; root && g < root->childCount(); ++g) {
        for (int b = 0; b < root->child(g)->childCount(); ++b) {
            if (root->child(g)->child(b)->text(0) == name) return root->child(g)->child(b);
        }
    }
    return nullptr;
}

// Chooses a command of the backups tree's menu as a player does: the menu closes (and is freed),
// then the command runs.
void Trigger(NeighborhoodPanel* panel, QTreeWidgetItem* item, const QString& caption) {
    QPointer<QMenu> menu = panel->TreeMenuFor(item);
    for (QAction* action : menu->actions()) {
        if (action->text() == caption) action->trigger();
    }
    menu->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

TEST(BackupsPanel, BackUpRestoreTheLoadedNeighborhoodAndDelete) {
    Session s;
    s.Click("btnNeighborhood");
    auto* panel = static_cast<NeighborhoodPanel*>(s.window->PanelNamed(QStringLiteral("pnlNeighborhood")));
    const std::size_t before = BackupTree(ArchiveFolder(s.state.settings->ArchiveLoc(), s.state.personalFolder))[0].backups.size();
    s.Click("btnBackup");
    const auto groups = BackupTree(ArchiveFolder(s.state.settings->ArchiveLoc(), s.state.personalFolder));
    ASSERT_EQ(groups[0].backups.size(), before + 1);
    const QString made = QString::fromStdString(groups[0].backups.back());
    EXPECT_EQ(panel->backupTree()->currentItem()->text(0), QStringLiteral("N001 - Neighborhood Backups"));
    ASSERT_NE(Backup(panel->backupTree(), made), nullptr);

    // The player renames the neighborhood and saves; restoring the backup brings the old name
    // back into the loaded workspace.
    s.Find<QLineEdit>("edtNgbdName")->setText(QStringLiteral("Renamed"));
    emit s.Find<QLineEdit>("edtNgbdName")->textEdited(QStringLiteral("Renamed"));
    s.Click("btnSave");
    Trigger(panel, Backup(panel->backupTree(), made), QStringLiteral("Restore"));
    ASSERT_FALSE(s.asker.questions.isEmpty());
    EXPECT_TRUE(s.asker.questions.back().endsWith(
        QStringLiteral("\" will be restored with the Neighborhood backup selected.\r\nIf you continue it will be replaced.\r\n")));
    EXPECT_EQ(s.state.LoadedNeighborhood()->ngbdName, "Pleasant Valley");
    EXPECT_FALSE(s.window->document().Unsaved());

    // Show Path names the backup; Delete asks and moves it to the trash.
    panel = static_cast<NeighborhoodPanel*>(s.window->PanelNamed(QStringLiteral("pnlNeighborhood")));
    s.Click("btnNeighborhood");
    s.reporter.messages.clear();
    Trigger(panel, Backup(panel->backupTree(), made), QStringLiteral("Show Path"));
    ASSERT_EQ(s.reporter.messages.size(), 1u);
    EXPECT_NE(s.reporter.messages[0].text.find(made.toStdString()), std::string::npos);
    s.asker.answer = false;
    Trigger(panel, Backup(panel->backupTree(), made), QStringLiteral("Delete"));
    EXPECT_NE(Backup(panel->backupTree(), made), nullptr);  // cancelled
    s.asker.answer = true;
    Trigger(panel, Backup(panel->backupTree(), made), QStringLiteral("Delete"));
    EXPECT_EQ(Backup(panel->backupTree(), made), nullptr);
}

TEST(BackupsPanel, RestoringTheOpenNeighborhoodAsksBeforeItsUnsavedChangesGo) {
    Session s;
    s.Click("btnNeighborhood");
    auto* panel = static_cast<NeighborhoodPanel*>(s.window->PanelNamed(QStringLiteral("pnlNeighborhood")));
    s.Find<QLineEdit>("edtNgbdName")->setText(QStringLiteral("Renamed"));
    emit s.Find<QLineEdit>("edtNgbdName")->textEdited(QStringLiteral("Renamed"));
    ASSERT_TRUE(s.window->document().Unsaved());
    const QString backup = QStringLiteral("N001 03-14-2026 101500");
    s.asker.answer = false;  // keep them
    Trigger(panel, Backup(panel->backupTree(), backup), QStringLiteral("Restore"));
    ASSERT_EQ(s.asker.questions.size(), 1);
    EXPECT_TRUE(s.asker.questions.back().startsWith(QStringLiteral("There are changes that have not been saved.")));
    EXPECT_TRUE(s.window->document().Unsaved());
    EXPECT_EQ(s.state.LoadedNeighborhood()->ngbdName, "Renamed");

    s.asker.answer = true;  // let them go
    Trigger(panel, Backup(panel->backupTree(), backup), QStringLiteral("Restore"));
    EXPECT_FALSE(s.window->document().Unsaved());
    EXPECT_EQ(s.state.LoadedNeighborhood()->ngbdName, "Pleasant Valley");
}

TEST(BackupsPanel, CompareWithCurrentShowsTheUnsavedChangesAsATree) {
    Session s;
    s.Click("btnNeighborhood");
    auto* panel = static_cast<NeighborhoodPanel*>(s.window->PanelNamed(QStringLiteral("pnlNeighborhood")));
    panel->backupTree()->expandAll();
    const std::size_t owen = *FindSimByFile(s.state.workspace, "N001_User00001.package");
    s.window->document().EditSim(owen, QStringLiteral("rename"), [](Workspace&, Character& sim) { sim.firstName = "Owain"; });
    QStringList lines;
    s.asker.onDialog = [&](QDialog& dialog) {
        auto* tree = dialog.findChild<QTreeWidget*>(QStringLiteral("tvDiff"));
        ASSERT_NE(tree, nullptr);
        for (QTreeWidgetItemIterator it(tree); *it; ++it) lines << (*it)->text(0);
    };
    Trigger(panel, Backup(panel->backupTree(), QStringLiteral("N001 03-14-2026 101500")), QStringLiteral("Compare with Current"));
    EXPECT_TRUE(lines.contains(QStringLiteral("Sims"))) << lines.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("renamed: Owen Hart \u2192 Owain Hart"))) << lines.join(QLatin1Char('|')).toStdString();
}

TEST(BackupsPanel, ARightClickOnABackupOpensItsMenuAndRestoreRunsAfterTheMenuIsGone) {
    Session s;
    s.window->show();
    s.Click("btnNeighborhood");
    auto* panel = static_cast<NeighborhoodPanel*>(s.window->PanelNamed(QStringLiteral("pnlNeighborhood")));
    QTreeWidget* tree = panel->backupTree();
    tree->expandAll();
    QTreeWidgetItem* item = Backup(tree, QStringLiteral("N001 03-14-2026 101500"));
    ASSERT_NE(item, nullptr);
    // The mouse's right click lands on the tree's viewport: its menu, not the help.
    const QPoint at = tree->visualItemRect(item).center();
    QContextMenuEvent click(QContextMenuEvent::Mouse, at, tree->viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(tree->viewport(), &click);
    QMenu* menu = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* m = qobject_cast<QMenu*>(top); m && m->isVisible()) menu = m;
    }
    ASSERT_NE(menu, nullptr) << "no menu on a right click";
    EXPECT_FALSE(s.window->helpWindow()->isVisible());
    QStringList captions;
    for (QAction* action : menu->actions()) captions << action->text();
    EXPECT_EQ(captions, (QStringList{QStringLiteral("Restore"), QStringLiteral("Delete"), QStringLiteral("Show Path"),
                                     QStringLiteral("Compare with Current")}));
    // Restore chosen with the keyboard: the menu closes, the restore reloads the open neighborhood.
    s.Find<QLineEdit>("edtNgbdName")->setText(QStringLiteral("Renamed"));
    QPointer<QMenu> watched = menu;
    menu->setActiveAction(menu->actions().front());
    QTest::keyClick(menu, Qt::Key_Return);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    EXPECT_TRUE(watched.isNull());
    EXPECT_EQ(s.state.LoadedNeighborhood()->ngbdName, "Pleasant Valley");
    EXPECT_FALSE(s.window->document().Unsaved());
}

TEST(BackupsPanel, RestoringAnotherNeighborhoodAddsItAndLeavesTheLoadedOneAlone) {
    Session s;
    s.Click("btnNeighborhood");
    const auto archive = ArchiveFolder(s.state.settings->ArchiveLoc(), s.state.personalFolder);
    // A backup of a neighborhood G002 that the player's folder no longer holds.
    const auto college = s.state.env.neighborhoodsFolder / "G001";
    const auto backup = archive / "G002 01-01-2020 000000";
    std::filesystem::create_directories(backup);
    for (const auto& item : std::filesystem::recursive_directory_iterator(college)) {
        std::string relative = std::filesystem::relative(item.path(), college).string();
        for (std::size_t at; (at = relative.find("G001")) != std::string::npos;) relative.replace(at, 4, "G002");
        if (item.is_directory()) std::filesystem::create_directories(backup / relative);
        if (item.is_regular_file()) std::filesystem::copy_file(item.path(), backup / relative);
    }
    s.Find<QLineEdit>("edtNgbdName")->setText(QStringLiteral("Unsaved"));
    emit s.Find<QLineEdit>("edtNgbdName")->textEdited(QStringLiteral("Unsaved"));
    auto* panel = static_cast<NeighborhoodPanel*>(s.window->PanelNamed(QStringLiteral("pnlNeighborhood")));
    panel->RebuildBackupTree();
    const int before = s.window->neighborhoodSelector()->count();
    // Cancelling is not asked: nothing is there to replace. The restore adds G002 to the selector.
    Trigger(panel, Backup(panel->backupTree(), QStringLiteral("G002 01-01-2020 000000")), QStringLiteral("Restore"));
    EXPECT_TRUE(s.asker.questions.isEmpty());
    EXPECT_TRUE(std::filesystem::is_regular_file(s.state.env.neighborhoodsFolder / "G002" / "G002_Neighborhood.package"));
    EXPECT_EQ(s.window->neighborhoodSelector()->count(), before + 1);
    EXPECT_GE(s.window->neighborhoodSelector()->findText(QStringLiteral("G002"), Qt::MatchStartsWith), 0);
    EXPECT_EQ(s.state.workspace.prefix, "N001");
    EXPECT_EQ(s.state.LoadedNeighborhood()->ngbdName, "Unsaved");
    EXPECT_TRUE(s.window->document().Unsaved());

    // Restoring over a neighborhood that is there, cancelled: nothing changes.
    s.asker.answer = false;
    Trigger(panel, Backup(panel->backupTree(), QStringLiteral("G002 01-01-2020 000000")), QStringLiteral("Restore"));
    EXPECT_EQ(s.asker.questions.size(), 1);
    EXPECT_TRUE(std::filesystem::exists(s.state.env.neighborhoodsFolder / "G002"));
}

TEST(BackupsPanel, ChangingTheLocationMovesTheBackupsThePlayerAgreesTo) {
    Session s;
    s.Click("btnNeighborhood");
    const auto old = ArchiveFolder(s.state.settings->ArchiveLoc(), s.state.personalFolder);
    std::filesystem::create_directories(old / "Loose files");  // holds no neighborhood package: not offered
    const auto movable = MovableBackups(old);
    ASSERT_FALSE(movable.empty());
    const auto target = s.dir / "NewBackups";
    std::filesystem::create_directories(target);
    s.asker.onDialog = [&](QDialog& dialog) { static_cast<QFileDialog&>(dialog).selectFile(QString::fromStdString(target.string())); };
    s.Click("btnChangeBackupLoc");
    EXPECT_EQ(s.asker.dialogs.back(), QStringLiteral("Change Backup Location"));
    EXPECT_EQ(s.state.settings->ArchiveLoc(), target.string());
    ASSERT_EQ(s.asker.questions.size(), movable.size());
    EXPECT_EQ(s.asker.questions[0], QStringLiteral("Would you like to move the Backup \"") +
                                        QString::fromStdString(movable[0]) + QStringLiteral("\" to the new Backup location.\r\n"));
    EXPECT_EQ(MovableBackups(target), movable);
    EXPECT_TRUE(MovableBackups(old).empty());
    EXPECT_TRUE(std::filesystem::exists(old / "Loose files"));
    // Choosing the folder in use again moves nothing and asks nothing.
    s.asker.questions.clear();
    s.Click("btnChangeBackupLoc");
    EXPECT_TRUE(s.asker.questions.isEmpty());
}

TEST(BackupsPanel, TheFirstSaveOfTheDayOffersABackupOnce) {
    Session s;
    s.Click("btnNeighborhood");
    const auto archive = ArchiveFolder(s.state.settings->ArchiveLoc(), s.state.personalFolder);
    auto count = [&] { return BackupTree(archive)[0].backups.size(); };
    const std::size_t before = count();
    s.Find<QLineEdit>("edtNgbdName")->setText(QStringLiteral("Renamed"));
    emit s.Find<QLineEdit>("edtNgbdName")->textEdited(QStringLiteral("Renamed"));
    s.Click("btnSave");
    ASSERT_EQ(s.asker.questions.size(), 1u);
    EXPECT_TRUE(s.asker.questions[0].startsWith(QStringLiteral("There is no backup of Renamed from today.")));
    EXPECT_EQ(count(), before + 1);
    // The backup holds the neighborhood as it was before the save.
    EXPECT_EQ(s.state.LoadedNeighborhood()->ngbdName, "Renamed");
    s.Find<QLineEdit>("edtNgbdName")->setText(QStringLiteral("Again"));
    emit s.Find<QLineEdit>("edtNgbdName")->textEdited(QStringLiteral("Again"));
    s.Click("btnSave");
    EXPECT_EQ(s.asker.questions.size(), 1u);  // once a run
    EXPECT_EQ(count(), before + 1);

    // Turned off on the panel, it asks nothing.
    Session quiet;
    quiet.Click("btnNeighborhood");
    QTest::mouseClick(quiet.Find<QCheckBox>("ckOfferBackup"), Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_FALSE(quiet.state.settings->OfferBackup());
    quiet.Find<QLineEdit>("edtNgbdName")->setText(QStringLiteral("Renamed"));
    emit quiet.Find<QLineEdit>("edtNgbdName")->textEdited(QStringLiteral("Renamed"));
    quiet.Click("btnSave");
    EXPECT_TRUE(quiet.asker.questions.isEmpty());
}

}  // namespace
}  // namespace qh::app
