// The window driven through its real widgets, offscreen, on a generated demo game.
#include <gtest/gtest.h>

#include <fstream>
#include <tuple>

#include <QProgressBar>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QDir>
#include <QRadioButton>
#include <QSettings>
#include <QSlider>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include "app/dialogs/character_picker.h"
#include "app/dialogs/game_data_dialog.h"
#include "app/dialogs/neighborhood_dialog.h"
#include "app/main_window.h"
#include "app/panels/about_panel.h"
#include "app/startup.h"
#include "app/ui_session.h"
#include "demo_game.h"
#include "support/temp_dir.h"
#include "workspace/sim_items.h"

namespace qh::app {
namespace {
namespace fs = std::filesystem;

TEST(Startup, OpensThePreselectedNeighborhoodWithItsSims) {
    Session s;
    EXPECT_EQ(s.window->windowTitle(), QStringLiteral("Quillhaven 2.0"));
    EXPECT_EQ(s.window->neighborhoodSelector()->count(), 2);
    EXPECT_EQ(s.window->neighborhoodSelector()->currentText(), QStringLiteral("N001 : Pleasant Valley"));
    EXPECT_EQ(s.window->characterSelector()->count(), 16);
    EXPECT_EQ(s.Find<QLabel>("lblVersion")->text(), QStringLiteral("Quillhaven Version: 2.0.0  (Build 1)"));
    EXPECT_FALSE(s.state.objectCatalogue.empty());
    EXPECT_FALSE(s.Find<QPushButton>("btnNeighborhood")->isEnabled());  // the open panel
    EXPECT_TRUE(s.Find<QPushButton>("btnSave")->isHidden());
    // The demo player's one backup of Pleasant Valley, its group chosen and opened.
    auto* tree = s.Find<QTreeWidget>("tvBackups");
    ASSERT_EQ(tree->topLevelItem(0)->text(0), QStringLiteral("Stored Backups"));
    ASSERT_EQ(tree->topLevelItem(0)->childCount(), 1);
    EXPECT_EQ(tree->currentItem()->text(0), QStringLiteral("N001 - Neighborhood Backups"));
    EXPECT_TRUE(tree->currentItem()->isExpanded());
    EXPECT_EQ(tree->currentItem()->child(0)->text(0), QStringLiteral("N001 03-14-2026 101500"));
    // Editing the name rewrites the selector's entry and keeps it selected.
    auto* name = s.Find<QLineEdit>("edtNgbdName");
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("Valley of Hearts"));
    EXPECT_EQ(s.window->neighborhoodSelector()->currentText(), QStringLiteral("N001 : Valley of Hearts"));
    EXPECT_EQ(s.window->CurrentNeighborhood()->dirty, 1);
    EXPECT_FALSE(s.Find<QPushButton>("btnSave")->isHidden());
    s.asker.answer = true;  // close without saving
    s.window->close();
    QSettings settings(QString::fromStdString(s.options.shared.settings->string()), QSettings::IniFormat);
    EXPECT_EQ(settings.value(QStringLiteral("NGBD")).toString(), QStringLiteral("N001"));
    EXPECT_EQ(settings.value(QStringLiteral("ColorScheme")).toString(), QStringLiteral("1"));
}

// The program reads the first neighborhood while it builds the window: the window shows the
// same neighborhood, sims and records as when it loads it itself.
TEST(Startup, TheNeighborhoodReadWhileTheWindowIsBuiltIsTheOneLoaded) {
    Session loaded;
    Session preloaded(false, {}, true);
    ASSERT_TRUE(preloaded.state.loaded.has_value());
    EXPECT_EQ(preloaded.state.loaded, loaded.state.loaded);
    EXPECT_EQ(preloaded.window->neighborhoodSelector()->currentText(), loaded.window->neighborhoodSelector()->currentText());
    EXPECT_EQ(preloaded.window->characterSelector()->count(), loaded.window->characterSelector()->count());
    ASSERT_EQ(preloaded.state.workspace.characters.size(), loaded.state.workspace.characters.size());
    for (std::size_t i = 0; i < loaded.state.workspace.characters.size(); ++i) {
        EXPECT_EQ(preloaded.state.workspace.characters[i].firstName, loaded.state.workspace.characters[i].firstName);
    }
    EXPECT_EQ(preloaded.state.workspace.relationshipList, loaded.state.workspace.relationshipList);
    EXPECT_EQ(preloaded.state.workspace.simItemList, loaded.state.workspace.simItemList);
    // The neighborhood's record as the load refreshed it (each session in a folder of its own).
    const Neighborhood& a = *preloaded.state.LoadedNeighborhood();
    const Neighborhood& b = *loaded.state.LoadedNeighborhood();
    EXPECT_EQ(std::tie(a.prefix, a.ngbdName, a.ngbdDescription, a.versionText, a.dirty),
              std::tie(b.prefix, b.ngbdName, b.ngbdDescription, b.versionText, b.dirty));
    EXPECT_TRUE(preloaded.Shown(preloaded.Find<QLineEdit>("edtNgbdName")));
    EXPECT_FALSE(preloaded.window->document().Unsaved());
}

// What the load on its own thread reports reaches the window's reporter in order once it is
// taken; a cancel stops it with the model empty; one never taken stops when it is dropped.
TEST(Startup, AReadAheadLoadReportsThroughTheWindowAndStopsWhenCancelled) {
    std::string damaged;
    Session s(false, [&](const demo::DemoGame& game) {
        const auto characters = game.userData / "Neighborhoods" / "G001" / "Characters";
        for (const auto& entry : std::filesystem::directory_iterator(characters)) {
            if (!damaged.empty()) break;
            damaged = entry.path().filename().string();
            std::ofstream(entry.path(), std::ios::binary | std::ios::trunc) << "not a package";
        }
    });
    ASSERT_FALSE(damaged.empty());
    std::size_t college = 0;
    while (s.state.catalogue[college].prefix != "G001") ++college;
    RecordingReporter reporter;
    NullProgress progress;
    {
        NeighborhoodPreload preload(s.state, college);
        preload.Adopt(s.state, reporter, progress);
    }
    EXPECT_EQ(s.state.loaded, college);
    EXPECT_EQ(s.state.workspace.prefix, "G001");
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_NE(reporter.messages[0].text.find(damaged), std::string::npos) << reporter.messages[0].text;

    class Cancelling final : public Progress {
    public:
        void SetStatus(std::string_view) override {}
        void SetMaximum(int) override {}
        void SetPosition(int) override {}
        bool Cancelled() const override { return true; }
    } cancelling;
    NeighborhoodPreload cancelled(s.state, college);
    EXPECT_THROW(cancelled.Adopt(s.state, reporter, cancelling), OperationCancelled);
    EXPECT_FALSE(s.state.loaded.has_value());
    EXPECT_TRUE(s.state.workspace.characters.empty());

    // Dropped before it is taken: it stops, and nothing of the session changes.
    { NeighborhoodPreload dropped(s.state, college); }
    EXPECT_TRUE(s.state.workspace.characters.empty());
}

TEST(Startup, ChangingTheNeighborhoodRunsTheLoaderAndDropsUnsavedChanges) {
    Session s;
    s.Click("btnCharacters");
    s.Find<QSlider>("trkFatness")->setValue(5);
    EXPECT_FALSE(s.Find<QPushButton>("btnSave")->isHidden());
    QComboBox* selector = s.window->neighborhoodSelector();
    selector->setCurrentIndex(0);
    emit selector->activated(0);
    EXPECT_EQ(s.window->characterSelector()->count(), 3);
    EXPECT_EQ(s.state.workspace.prefix, "G001");
    EXPECT_TRUE(s.Find<QPushButton>("btnSave")->isHidden());
    EXPECT_FALSE(s.Find<QPushButton>("btnNeighborhood")->isEnabled());
    // The archive holds a backup (of another neighborhood), so nothing is said about backups.
    EXPECT_TRUE(s.reporter.messages.empty());
}

TEST(Startup, FailuresEndTheProgramWithTheirMessages) {
    test::TempDir dir;
    const auto game = demo::WriteDemoGame(dir.path());
    GameSession state;
    ImageLibrary images;
    RecordingReporter reporter;
    StartupOptions options;
    options.shared.winePrefix = game.prefix;
    options.shared.settings = dir / "s.ini";
    options.programFolder = QString::fromStdString((dir / "nowhere").string());
    EXPECT_EQ(PrepareState(state, images, options, reporter), "Bad DLL Load");

    options.programFolder = QStringLiteral(QH_APP_DIR);
    options.shared.userData = dir / "empty";
    std::filesystem::create_directories(dir / "empty" / "Neighborhoods");
    EXPECT_EQ(PrepareState(state, images, options, reporter), "Unable to continue, Game User Data Not Found.");

    options.shared.userData.reset();
    const auto package = game.userData / "Neighborhoods/N001/N001_Neighborhood.package";
    Bytes bytes = ReadFileBytes(package);
    bytes.resize(200);
    AtomicReplace(package, bytes);
    // A damaged package is that neighborhood's fault, named with its file; the others open.
    reporter.messages.clear();
    EXPECT_EQ(PrepareState(state, images, options, reporter), std::nullopt);
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_NE(reporter.messages[0].text.find("N001_Neighborhood.package"), std::string::npos);
    EXPECT_EQ(reporter.messages[0].text.find("close the game"), std::string::npos);
    EXPECT_EQ(state.catalogue.size(), 1u);

    options.shared.winePrefix = dir / "no-prefix";
    EXPECT_EQ(PrepareState(state, images, options, reporter), "Unable to continue, Game User Data Not Found.");

    // A shared option the program cannot use ends it with the message the command-line tool gives.
    options.shared.winePrefix = game.prefix;
    options.shared.language = "de";
    const auto refused = PrepareState(state, images, options, reporter);
    ASSERT_TRUE(refused);
    EXPECT_NE(refused->find("--language: \"de\""), std::string::npos);
    EXPECT_NE(refused->find("german"), std::string::npos);
    options.shared.language.reset();
    options.shared.expansions = "university,moonbase";
    ASSERT_TRUE(PrepareState(state, images, options, reporter));
}

// The player who kept the discs beside the Legacy Collection is asked once which to edit; the
// choice is remembered. With nothing found, the player is shown where discovery looked and may
// name the folder, which is remembered too; quitting ends quietly.
TEST(Startup, ThePlayerChoosesAmongEditionsAndNamesAFolderWhenNoneIsFound) {
    test::TempDir dir;
    demo::DemoOptions legacy;
    legacy.edition = demo::Edition::Legacy;
    const auto game = demo::WriteDemoGame(dir.path(), legacy);
    // The discs' data folder beside it, named by the classic key, holding a copy of the neighborhoods.
    {
        std::ofstream user(game.prefix / "user.reg", std::ios::app);
        user << "\n[Software\\\\EA GAMES\\\\The Sims 2] 1\n\"DisplayName\"=\"The Sims 2\"\n";
    }
    const fs::path discs = game.userData.parent_path() / "The Sims 2";
    fs::create_directories(discs);
    fs::copy(game.userData / "Neighborhoods", discs / "Neighborhoods", fs::copy_options::recursive);
    fs::remove_all(discs / "Neighborhoods" / "G001");

    ImageLibrary images;
    RecordingReporter reporter;
    StartupOptions options;
    options.shared.winePrefix = game.prefix;
    options.shared.settings = dir / "s.ini";
    options.programFolder = QStringLiteral(QH_APP_DIR);
    int asked = 0;
    std::size_t offered = 0;
    std::optional<GameDataChoice> answer = GameDataChoice{1, std::nullopt};
    options.chooseGameData = [&](const std::vector<GameEdition>& editions, const std::string&) {
        ++asked;
        offered = editions.size();
        return answer;
    };
    {
        GameSession state;
        ASSERT_EQ(PrepareState(state, images, options, reporter), std::nullopt);
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(offered, 2u);
        EXPECT_EQ(state.env.userDataFolder.filename(), "The Sims 2");
        EXPECT_EQ(state.catalogue.size(), 1u);
        EXPECT_FALSE(state.env.hasUniversity) << "the discs' key records no expansion";
    }
    {
        GameSession state;
        ASSERT_EQ(PrepareState(state, images, options, reporter), std::nullopt);
        EXPECT_EQ(asked, 1) << "the choice is remembered";
        EXPECT_EQ(state.env.userDataFolder.filename(), "The Sims 2");
    }

    // Nothing found: the player is asked with no edition and where discovery looked.
    fs::remove(options.shared.settings.value());
    options.shared.winePrefix = dir / "empty-prefix";
    fs::create_directories(dir / "empty-prefix");
    std::string looked;
    options.chooseGameData = [&](const std::vector<GameEdition>& editions, const std::string& where) {
        ++asked;
        offered = editions.size();
        looked = where;
        return answer;
    };
    answer.reset();
    {
        GameSession state;
        EXPECT_EQ(PrepareState(state, images, options, reporter), std::string()) << "the player quit";
        EXPECT_EQ(offered, 0u);
        EXPECT_NE(looked.find("empty-prefix"), std::string::npos) << looked;
    }
    answer = GameDataChoice{std::nullopt, game.userData};
    {
        GameSession state;
        ASSERT_EQ(PrepareState(state, images, options, reporter), std::nullopt);
        EXPECT_EQ(state.catalogue.size(), 2u);
    }
    options.chooseGameData = nullptr;
    GameSession state;
    ASSERT_EQ(PrepareState(state, images, options, reporter), std::nullopt) << "the named folder is remembered";
    EXPECT_EQ(state.env.userDataFolder, game.userData);
}

// A prefix holding the game's data but none of its keys: the data is used, and the status line
// says how it was found.
TEST(Startup, ADataFolderWithoutAKeyIsUsedAndTheStatusLineSaysHow) {
    Session s(false, [](const demo::DemoGame& game) {
        for (const char* reg : {"system.reg", "user.reg"}) {
            std::ofstream(game.prefix / reg) << "WINE REGISTRY Version 2\n";
        }
    });
    EXPECT_EQ(s.window->characterSelector()->count(), 16);
    const QString status = s.window->findChild<QLabel*>(QStringLiteral("lblStatus"))->text();
    EXPECT_TRUE(status.startsWith(QStringLiteral("The game's data: "))) << status.toStdString();
    EXPECT_TRUE(status.contains(QStringLiteral("no key of the game names it"))) << status.toStdString();
}

TEST(Startup, TheGameDataDialogTakesAnEditionOrAFolderThatHoldsNeighborhoods) {
    test::TempDir dir;
    fs::create_directories(dir / "data/Neighborhoods");
    fs::create_directories(dir / "other");
    GameEdition edition;
    edition.edition = "Legacy Collection";
    edition.env.userDataFolder = dir / "legacy";
    std::vector<GameEdition> editions{edition, edition};
    editions[1].edition = "retail";
    {
        GameDataDialog dialog(nullptr, editions, "");
        dialog.list()->setCurrentRow(1);
        dialog.useButton()->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.ChosenEdition(), 1u);
        EXPECT_FALSE(dialog.ChosenFolder());
    }
    GameDataDialog dialog(nullptr, {}, "Wine prefix /x: no system.reg\n");
    EXPECT_NE(dialog.findChild<QPlainTextEdit*>(QStringLiteral("txtWhereLooked"))->toPlainText().indexOf(QStringLiteral("/x")), -1);
    dialog.useButton()->click();
    EXPECT_NE(dialog.result(), QDialog::Accepted) << "nothing chosen";
    QTest::keyClicks(dialog.folderBox(), QString::fromStdString((dir / "other").string()));
    dialog.useButton()->click();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_NE(dialog.refusal()->text().indexOf(QStringLiteral("holds no Neighborhoods")), -1);
    dialog.folderBox()->setText(QString::fromStdString((dir / "data/Neighborhoods").string()));
    dialog.useButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.ChosenFolder(), dir / "data") << "the Neighborhoods folder stands for its data folder";
    EXPECT_FALSE(dialog.ChosenEdition());
}

TEST(Help, RightClicksOpenTheControlsTopic) {
    Session s;
    s.Click("btnCharacters");
    QContextMenuEvent onButton(QContextMenuEvent::Mouse, QPoint(2, 2), QPoint(2, 2));
    QApplication::sendEvent(s.Find<QPushButton>("btnCloning"), &onButton);
    EXPECT_EQ(s.window->helpWindow()->shownTopic(), 6040);
    QContextMenuEvent onCareer(QContextMenuEvent::Mouse, QPoint(2, 2), QPoint(2, 2));
    QApplication::sendEvent(s.Find<QPushButton>("btnCareer"), &onCareer);
    EXPECT_EQ(s.window->helpWindow()->shownTopic(), 5020);
    QContextMenuEvent onSkills(QContextMenuEvent::Mouse, QPoint(2, 2), QPoint(2, 2));
    QApplication::sendEvent(s.Find<QPushButton>("btnSkills"), &onSkills);
    EXPECT_EQ(s.window->helpWindow()->shownTopic(), 4040);
    QContextMenuEvent onSelector(QContextMenuEvent::Mouse, QPoint(2, 2), QPoint(2, 2));
    QApplication::sendEvent(s.Find<QComboBox>("cbUserName"), &onSelector);
    EXPECT_EQ(s.window->helpWindow()->shownTopic(), 4021);
    QContextMenuEvent onBox(QContextMenuEvent::Mouse, QPoint(2, 2), QPoint(2, 2));
    QApplication::sendEvent(s.Find<QLineEdit>("edtFirstName"), &onBox);
    EXPECT_EQ(s.window->helpWindow()->shownTopic(), 4020);  // the panel's topic
    s.Click("btnHelp");
    EXPECT_EQ(s.window->helpWindow()->shownTopic(), 1000);
}

TEST(CharacterPicker, RowsOf32PixelsGreyWithoutAHousehold) {
    Session s;
    std::vector<std::size_t> all;
    for (std::size_t i = 0; i < s.state.workspace.characters.size(); ++i) all.push_back(i);
    bool shown = false;
    // The window makes the rows; the dialog is run through the asker, which looks at it here.
    s.asker.onDialog = [&](QDialog& dialog) {
        auto& picker = static_cast<CharacterPicker&>(dialog);
        shown = true;
        EXPECT_EQ(picker.windowTitle(), QStringLiteral("Choose New Parent"));
        EXPECT_EQ(picker.findChild<QLabel*>(QStringLiteral("lblChooseSim"))->text(), QStringLiteral("Choose a new parent"));
        EXPECT_EQ(picker.Chosen(), 3);  // the preselected sim
        ASSERT_EQ(picker.list()->count(), 16);
        EXPECT_EQ(picker.list()->sizeHintForRow(0), 32);
        for (int row = 0; row < picker.list()->count(); ++row) {
            QListWidgetItem* item = picker.list()->item(row);
            const Character& sim = s.state.workspace.characters[static_cast<std::size_t>(item->data(Qt::UserRole).toInt())];
            EXPECT_EQ(item->text(), s.window->SimEntryText(sim));
            const QImage picture = item->data(Qt::DecorationRole).value<QPixmap>().toImage();
            ASSERT_EQ(picture.width(), 32);
            const QColor centre = picture.pixelColor(16, 16);
            const bool grey = centre.red() == centre.green() && centre.green() == centre.blue();
            EXPECT_EQ(grey, sim.familyNumber == 0) << sim.packageFile;
        }
    };
    EXPECT_EQ(s.window->PickSim({QStringLiteral("Choose New Parent"), QStringLiteral("Choose a new parent"), 3032, all, 3}),
              std::optional<std::size_t>(3));
    EXPECT_TRUE(shown);
}

TEST(NeighborhoodDialog, PreviousAndNextWrapAround) {
    Session s;
    int help = 0;
    NeighborhoodDialog dialog(s.window.get(), s.state.catalogue, s.state.env.neighborhoodsFolder, "N001",
                              [&help](int topic) { help = topic; });
    EXPECT_EQ(dialog.list()->currentRow(), 1);
    EXPECT_EQ(dialog.list()->item(0)->data(Qt::DecorationRole).value<QPixmap>().width(), 64);
    dialog.btnNextClick();
    EXPECT_EQ(dialog.list()->currentRow(), 0);
    dialog.btnPreviousClick();
    EXPECT_EQ(dialog.list()->currentRow(), 1);
    dialog.list()->setCurrentRow(-1);
    dialog.btnPreviousClick();
    EXPECT_EQ(dialog.list()->currentRow(), 1);
    NeighborhoodDialog none(s.window.get(), s.state.catalogue, s.state.env.neighborhoodsFolder, "N404", {});
    EXPECT_EQ(none.Chosen(), -1);
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5), dialog.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&dialog, &click);
    EXPECT_EQ(help, 1002);
}

TEST(MainWindow, PanelButtonsStatusWidthAndBusyState) {
    Session s;
    s.Click("btnCharacters");
    EXPECT_FALSE(s.Find<QPushButton>("btnCharacters")->isEnabled());
    EXPECT_TRUE(s.Find<QPushButton>("btnNeighborhood")->isEnabled());
    s.Click("btnSkills");
    EXPECT_FALSE(s.Find<QPushButton>("btnSkills")->isEnabled());
    EXPECT_TRUE(s.Find<QPushButton>("btnCharacters")->isEnabled());

    s.window->buttonColumn()->setFixedWidth(150);
    s.window->SetStatus(QString(60, QLatin1Char('x')));
    EXPECT_EQ(s.window->StatusPartWidth(), 416);
    s.window->SetStatus(QStringLiteral("short"));
    EXPECT_EQ(s.window->StatusPartWidth(), 146);

    s.Click("btnAbout");
    s.window->BeginBusy();
    QTest::mouseClick(s.About()->lightChoice(), Qt::LeftButton);
    EXPECT_EQ(s.state.colorScheme, 1);  // refused while busy
    QCloseEvent refused;
    QApplication::sendEvent(s.window.get(), &refused);
    EXPECT_FALSE(refused.isAccepted());
    s.window->SetMaximum(10);
    s.window->SetPosition(10);  // long work ran to its end (a backup, say)
    s.window->EndBusy();
    EXPECT_EQ(s.Find<QProgressBar>("progressBar")->value(), s.Find<QProgressBar>("progressBar")->minimum());  // empty again
    QTest::mouseClick(s.About()->lightChoice(), Qt::LeftButton);
    EXPECT_EQ(s.state.colorScheme, 0);
    EXPECT_EQ(s.window->BackgroundColor(), QColor(Qt::white));
}

TEST(CharacterPanel, TypingAndSlidingChangeTheRecordAndShowSaveChanges) {
    Session s;
    s.Choose("N001_User00000.package");  // Marta Hart
    s.Click("btnCharacters");
    Character* marta = s.window->SelectedSim();
    ASSERT_EQ(marta->firstName, "Marta");
    EXPECT_EQ(s.Find<QLabel>("lblPackageFile")->text(), QStringLiteral("N001_User00000.package"));

    auto* age = s.Find<QLineEdit>("edtAgeDuration");
    age->clear();
    QTest::keyClicks(age, QStringLiteral("1a2"));
    EXPECT_EQ(age->text(), QStringLiteral("102"));
    EXPECT_EQ(marta->ageDuration, 102);
    EXPECT_FALSE(s.Find<QPushButton>("btnSave")->isHidden());

    s.Find<QSlider>("trkFatness")->setValue(333);
    EXPECT_EQ(marta->fatness, 333);
    EXPECT_EQ(s.Find<QLabel>("lblFatness")->text(), QStringLiteral("333"));
    s.Find<QSlider>("trkMalePref")->setValue(-250);
    EXPECT_EQ(marta->malePreference, -250);
    EXPECT_EQ(s.Find<QLabel>("lblMalePref")->text(), QStringLiteral("Male Preference: -250"));

    s.FindIn<QComboBox>("pnlCharacters", "cbZodiac")->setCurrentIndex(4);  // Leo
    EXPECT_EQ(marta->zodiac, 5);
    EXPECT_EQ(marta->outgoing, 1000);
    EXPECT_TRUE(s.FindIn<QLabel>("pnlCharacters", "lblZodiacText")->text().startsWith(QStringLiteral("Leo (Jul 23 - Aug 22)")));
}

TEST(CharacterPanel, NameEditsRelabelAndKeepTheSelection) {
    Session s;
    s.Choose("N001_User00013.package");  // Pablo Moreno
    s.Click("btnCharacters");
    auto* first = s.Find<QLineEdit>("edtFirstName");
    first->selectAll();
    QTest::keyClicks(first, QStringLiteral("Zed"));
    Character* sim = s.window->SelectedSim();
    EXPECT_EQ(sim->firstName, "Zed");
    EXPECT_EQ(sim->packageFile, "N001_User00013.package");
    EXPECT_EQ(s.window->characterSelector()->currentText(), QStringLiteral("Zed Moreno : N001_User00013"));
    EXPECT_EQ(s.window->characterSelector()->currentIndex(), s.window->characterSelector()->count() - 1);
}

TEST(CharacterPanel, AdvancedControlsLifeStagesAndTheDeadMark) {
    Session s(true);
    s.Choose("N001_User00012.package");  // Ana Moreno, a young adult
    s.Click("btnCharacters");
    Character* ana = s.window->SelectedSim();
    EXPECT_TRUE(s.Find<QComboBox>("cbAges")->isEnabled());
    EXPECT_FALSE(s.Find<QLabel>("lblAdvancedNote")->isVisibleTo(s.window.get()));
    EXPECT_TRUE(s.Find<QWidget>("grpLocomotion")->isVisibleTo(s.window.get()));
    EXPECT_TRUE(s.Find<QCheckBox>("ckYoungAdult")->isChecked());

    auto* dead = s.Find<QCheckBox>("ckDead");
    EXPECT_FALSE(dead->isChecked());
    ASSERT_TRUE(dead->isVisibleTo(s.window.get()));
    dead->click();
    dead->click();
    dead->click();
    EXPECT_TRUE(IsDead(s.state.workspace, *ana));
    std::size_t marks = 0;
    for (const auto& item : s.state.workspace.simItemList) marks += item.owner == ana->instanceId && item.itemGuid == kDeadMarkGuid;
    EXPECT_EQ(marks, 1u);

    s.Find<QComboBox>("cbAges")->setCurrentIndex(5);  // Elder
    EXPECT_EQ(ana->lifeStage, 51);
    EXPECT_EQ(ana->youngAdult, 0);
    EXPECT_EQ(ana->needsPackageRebuild, 1);
    EXPECT_EQ(s.Find<QLabel>("lblLifeStage")->text(), QStringLiteral("Life Stage: 51"));
    EXPECT_FALSE(s.Find<QCheckBox>("ckYoungAdult")->isChecked());

    s.Choose("N001_User00008.package");  // Whiskers, a cat
    EXPECT_EQ(s.Find<QComboBox>("cbAges")->count(), 3);
    EXPECT_EQ(s.Find<QLabel>("lblSpecies")->text(), QStringLiteral("Species: Adult Cat"));
    EXPECT_FALSE(s.Find<QWidget>("grpFatness")->isVisibleTo(s.window.get()));
    EXPECT_FALSE(s.Find<QWidget>("grpLocomotion")->isVisibleTo(s.window.get()));
}

TEST(CharacterSelector, ChoosingAnotherSimReopensThePanelAndSortingCycles) {
    Session s;
    s.Click("btnCharacters");
    s.Choose("N001_User00005.package");
    EXPECT_EQ(s.Find<QLabel>("lblPackageFile")->text(), QStringLiteral("N001_User00005.package"));
    EXPECT_FALSE(s.Find<QPushButton>("btnCharacters")->isEnabled());

    const QString first = s.window->characterSelector()->currentText();
    EXPECT_EQ(first, QStringLiteral("Grace Okafor : N001_User00005"));
    s.Click("btnSortUsers");
    s.Settle();
    EXPECT_EQ(s.window->characterSelector()->currentText(), QStringLiteral("N001_User00005 : Okafor, Grace"));
    s.Click("btnSortUsers");
    s.Settle();
    EXPECT_EQ(s.window->characterSelector()->currentText(), QStringLiteral("Okafor, Grace : N001_User00005"));
    EXPECT_EQ(s.state.settings->Sort(), SortOrder::Last);
    s.Click("btnSortUsers");
    s.Settle();
    EXPECT_EQ(s.window->characterSelector()->currentText(), first);
}

TEST(Panels, ThumbnailSaveAndTheDataPanel) {
    Session s(true);
    s.Choose("N001_User00001.package");  // Owen Hart
    s.Click("btnCharacters");
    auto* fix = s.Find<QPushButton>("btnFixThumbnail");
    ASSERT_TRUE(fix->isEnabled());
    QTest::mouseClick(fix, Qt::LeftButton);
    EXPECT_FALSE(fix->isEnabled());
    EXPECT_EQ(s.window->SelectedSim()->needsPackageRebuild, 1);
    s.Click("btnSave");
    EXPECT_TRUE(s.Find<QPushButton>("btnSave")->isHidden());
    EXPECT_FALSE(s.window->SelectedSim()->portrait);

    // Ctrl+Shift+N opens the hidden data panel; a box that is not hexadecimal stops "Save Data".
    QTest::keyClick(s.window.get(), Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
    auto* items = s.Find<QListWidget>("lstNgbdItems");
    EXPECT_TRUE(items->isVisibleTo(s.window.get()));
    EXPECT_EQ(items->item(0)->text(), QStringLiteral("Add New"));
    EXPECT_GT(items->count(), 1);
    s.window->SelectedSim()->dirty = 0;
    s.Find<QLineEdit>("edtNgbdGuid")->setText(QStringLiteral("XYZ"));
    s.Click("btnSaveData");
    ASSERT_FALSE(s.reporter.messages.empty());
    EXPECT_NE(s.reporter.messages.back().text.find("XYZ"), std::string::npos);
    EXPECT_EQ(s.window->SelectedSim()->dirty, 0);
    const auto before = s.state.workspace.simItemList.size();
    s.Find<QLineEdit>("edtNgbdGuid")->setText(QStringLiteral("505FDC28"));
    for (const char* box : {"edtNgbdFlags1", "edtNgbdFlags2", "edtNgbdInvNumber", "edtNgbdPadding"}) {
        s.Find<QLineEdit>(box)->setText(QStringLiteral("0"));
    }
    s.Find<QPlainTextEdit>("memNgbdValues")->setPlainText(QStringLiteral("012C\n0000"));
    s.Click("btnSaveData");
    ASSERT_EQ(s.state.workspace.simItemList.size(), before + 1);
    EXPECT_EQ(s.state.workspace.simItemList.back().values, (std::vector<std::uint16_t>{300, 0}));
    EXPECT_EQ(s.window->SelectedSim()->dirty, 1);
    // Deleting the selected item takes it out of the list.
    auto* list = s.Find<QListWidget>("lstNgbdItems");
    list->setCurrentRow(list->count() - 1);
    s.Click("btnDeleteData");
    EXPECT_EQ(s.state.workspace.simItemList.size(), before);
}

TEST(CharacterSelector, DeletingASimMovesItsPackageToTheTrashAndUndoBringsItBack) {
    Session s;
    s.Choose("N001_User00014.package");  // Edith
    const auto package = s.state.workspace.charactersFolder / "N001_User00014.package";
    const Bytes bytes = ReadFileBytes(package);
    s.asker.answer = false;
    s.Click("btnDelSim");
    EXPECT_TRUE(std::filesystem::exists(package));
    s.asker.answer = true;
    s.Click("btnDelSim");
    ASSERT_EQ(s.asker.questions.size(), 2);
    EXPECT_EQ(s.asker.questions[0],
              QStringLiteral("You are about to delete the selected Character. Are you sure you want to do this?"));
    // The test's own trash (XDG_DATA_HOME in a folder of its own) holds the package now.
    EXPECT_FALSE(std::filesystem::exists(package));
    const auto trashed = std::filesystem::path(qEnvironmentVariable("XDG_DATA_HOME").toStdString()) / "Trash" / "files";
    bool found = false;
    for (const auto& entry : std::filesystem::directory_iterator(trashed)) found |= ReadFileBytes(entry.path()) == bytes;
    EXPECT_TRUE(found);
    EXPECT_FALSE(std::filesystem::exists("files")) << "nothing is written into the current folder";
    EXPECT_EQ(s.window->characterSelector()->count(), 15);
    EXPECT_EQ(s.SimIndex("N001_User00014.package"), -1);
    EXPECT_EQ(s.Find<QToolButton>("btnUndo")->toolTip(), QStringLiteral("Undo deletion of Edith Fairbanks"));

    QTest::keyClick(s.window.get(), Qt::Key_Z, Qt::ControlModifier);
    s.Settle();
    EXPECT_EQ(ReadFileBytes(package), bytes);
    EXPECT_EQ(s.window->characterSelector()->count(), 16);
    EXPECT_NE(s.SimIndex("N001_User00014.package"), -1);
}

TEST(History, UndoAndRedoOfASliderThroughTheKeysAndTheButtons) {
    Session s;
    s.Choose("N001_User00000.package");  // Marta Hart
    s.Click("btnCharacters");
    Character* marta = s.window->SelectedSim();
    const std::int16_t fatness = marta->fatness;
    auto* slider = s.Find<QSlider>("trkFatness");
    slider->setValue(100);
    slider->setValue(200);  // one drag: one step
    slider->setValue(300);
    EXPECT_EQ(s.window->document().history().count(), 1);
    auto* undo = s.Find<QToolButton>("btnUndo");
    EXPECT_EQ(undo->toolTip(), QStringLiteral("Undo fatness of Marta Hart"));
    QTest::keyClick(s.window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(marta->fatness, fatness);
    EXPECT_EQ(slider->value(), fatness);  // the panel shows the undone value
    EXPECT_EQ(marta->dirty, 0);
    EXPECT_TRUE(s.Find<QPushButton>("btnSave")->isHidden());
    QTest::keyClick(s.window.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(marta->fatness, 300);
    QTest::mouseClick(undo, Qt::LeftButton);
    EXPECT_EQ(marta->fatness, fatness);
    QTest::keyClick(s.window.get(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(slider->value(), 300);
    EXPECT_FALSE(s.Find<QPushButton>("btnSave")->isHidden());
}

TEST(History, TypingIsOneStepAndCtrlZInTheBoxUndoesTheDocument) {
    Session s;
    s.Choose("N001_User00013.package");  // Pablo Moreno
    s.Click("btnCharacters");
    auto* first = s.Find<QLineEdit>("edtFirstName");
    first->setFocus();
    first->selectAll();
    QTest::keyClicks(first, QStringLiteral("Zed"));
    EXPECT_EQ(s.window->document().history().count(), 1);
    EXPECT_EQ(s.window->characterSelector()->currentText(), QStringLiteral("Zed Moreno : N001_User00013"));
    QTest::keyClick(first, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(s.window->SelectedSim()->firstName, "Pablo");
    EXPECT_EQ(first->text(), QStringLiteral("Pablo"));
    EXPECT_EQ(s.window->characterSelector()->currentText(), QStringLiteral("Pablo Moreno : N001_User00013"));
}

TEST(History, SavingMarksTheHistoryCleanAndTheReviewListsWhatIsUnsaved) {
    Session s;
    s.Choose("N001_User00000.package");  // Marta Hart
    s.Click("btnCharacters");
    s.Find<QSlider>("trkFatness")->setValue(444);
    auto* name = s.Find<QLineEdit>("edtNgbdName");
    s.Click("btnNeighborhood");
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("Hearts"));
    std::vector<ChangeGroup> groups = s.window->document().UnsavedChanges();
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].target, QStringLiteral("Marta Hart"));
    EXPECT_EQ(groups[0].changes, QStringList{QStringLiteral("fatness (fatness: 636 \u2192 444)")});
    EXPECT_EQ(groups[1].target, QStringLiteral("the neighborhood"));
    EXPECT_TRUE(s.Find<QPushButton>("btnReviewChanges")->isVisibleTo(s.window.get()));

    s.Click("btnSave");
    EXPECT_TRUE(s.Find<QPushButton>("btnSave")->isHidden());
    EXPECT_TRUE(s.window->document().UnsavedChanges().empty());
    // Undoing past the save is unsaved again: the files hold the name the history left.
    QTest::keyClick(s.window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(s.Find<QPushButton>("btnSave")->isHidden());
    groups = s.window->document().UnsavedChanges();
    ASSERT_EQ(groups.size(), 1u);
    ASSERT_EQ(groups[0].changes.size(), 1);
    EXPECT_TRUE(groups[0].changes[0].startsWith(QStringLiteral("undone: rename (name: \"")));
    EXPECT_EQ(s.window->CurrentNeighborhood()->dirty, 1);

    // Another neighborhood with unsaved changes: asked first, and kept on No.
    s.asker.answer = false;
    QComboBox* selector = s.window->neighborhoodSelector();
    selector->setCurrentIndex(0);
    emit selector->activated(0);
    EXPECT_EQ(s.state.workspace.prefix, "N001");
    EXPECT_EQ(selector->currentText().left(4), QStringLiteral("N001"));
    ASSERT_FALSE(s.asker.questions.empty());
    EXPECT_TRUE(s.asker.questions.back().startsWith(QStringLiteral("There are changes that have not been saved.")));
}

}  // namespace
}  // namespace qh::app

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // A trash (and data folder) of the test program's own, so that deleting a sim never touches
    // the player's trash or the current folder.
    const qh::test::TempDir data;
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(data.path().string()));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
