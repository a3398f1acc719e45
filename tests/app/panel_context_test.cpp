// A panel shown and driven with fakes of its services and a document over the demo game: no
// window. What a panel needs is its context, nothing more.
#include <gtest/gtest.h>

#include <fstream>

#include <QApplication>
#include <QTest>
#include <QRadioButton>
#include <QTreeWidget>

#include "app/document.h"
#include "app/document_io.h"
#include "app/images.h"
#include "app/paint_times.h"
#include "app/startup.h"
#include "app/panels/needs_panel.h"
#include "app/review_dialog.h"
#include "app/widgets.h"
#include "demo_game.h"
#include "platform/settings.h"
#include "support/temp_dir.h"
#include "workspace/game_session.h"

namespace qh::app {
namespace {

// Every service a panel may ask for, answered here: the selected sim is whichever the test says.
class FakeServices final : public Selection, public StatusLine, public Dialogs, public SimPictures, public ViewOptions,
                           public Asker {
public:
    // Selection.
    std::optional<std::size_t> SelectedSimIndex() const override { return selected; }
    void SelectSim(std::size_t index) override { selected = index; }
    // StatusLine.
    void SetStatus(const QString& text) override { status = text; }
    Progress& progress() override { return quiet; }
    void BeginBusy() override { ++busy; }
    void EndBusy() override { --busy; }
    bool Busy() const override { return busy > 0; }
    // Dialogs.
    Reporter& reporter() override { return messages; }
    Asker& asker() override { return *this; }
    std::optional<std::size_t> PickSim(const SimPick&) override { return std::nullopt; }
    void ShowHelp(int topic) override { help = topic; }
    // SimPictures.
    QPixmap SimPicture(const Character&, int size) override { return QPixmap(size, size); }
    QString SimEntryText(const Character& sim) const override { return QString::fromStdString(sim.firstName); }
    ImageLibrary& images() override { return library; }
    // ViewOptions.
    void ShowPanel(Panel& panel) override { shown = &panel; }
    bool Advanced() const override { return false; }
    void RegisterAdvanced(QWidget*, AdvancedEffect) override {}
    void ApplyAdvancedMode() override {}
    int ColorScheme() const override { return 0; }
    void ApplyColorScheme(int) override {}
    // Asker.
    bool AskYesNo(const QString&) override { return true; }
    bool AskOkCancel(const QString&) override { return true; }
    bool Run(QDialog&) override { return false; }

    std::optional<std::size_t> selected;
    QString status;
    NullProgress quiet;
    int busy = 0;
    RecordingReporter messages;
    int help = 0;
    ImageLibrary library;
    Panel* shown = nullptr;
};

TEST(PanelContext, ANeedsPanelWorksWithFakeServicesAndADocumentAlone) {
    test::TempDir dir;
    const demo::DemoGame game = demo::WriteDemoGame(dir.path());
    GameSession session;
    SharedOptions options;
    options.winePrefix = game.prefix;
    DiscoverGame(session, options);
    session.settings = std::make_unique<MemorySettings>();
    RecordingReporter reporter;
    NullProgress progress;
    ScanCatalogue(session, reporter);
    LoadSessionNeighborhood(session, *FindNeighborhood(session, "N001"), reporter, progress);
    Document document(session, reporter);
    FakeServices services;
    MemoryTrash trash;
    DocumentIO io(document, services, services.messages, trash, services);
    PanelContext context{services, services, services, services, services, io};

    const PanelRow* row = nullptr;
    for (const PanelRow& r : PanelRows()) {
        if (QString::fromLatin1(r.panel) == QStringLiteral("pnlNeeds")) row = &r;
    }
    ASSERT_NE(row, nullptr);
    std::unique_ptr<Panel> panel(row->factory(document, context, *row));
    // What the window routes to its panels: the document's changes.
    QObject::connect(&document, &Document::changed, panel.get(), [&](const Change& change) { panel->DocumentChanged(change); });
    services.selected = *FindSimByFile(session.workspace, "N001_User00000.package");  // Marta
    panel->show();  // on its own, as a top-level widget
    panel->Open();
    EXPECT_EQ(services.shown, panel.get());
    auto* slower = panel->findChild<QRadioButton*>(QStringLiteral("rbDecayHunger24"));
    ASSERT_NE(slower, nullptr);
    slower->click();
    EXPECT_EQ(session.workspace.characters[*services.selected].decayHunger, 24);
    EXPECT_EQ(document.history().count(), 1);
    document.history().undo();
    EXPECT_EQ(session.workspace.characters[*services.selected].decayHunger, 12);
    EXPECT_TRUE(panel->findChild<QRadioButton*>(QStringLiteral("rbDecayHunger12"))->isChecked());
}

}  // namespace
}  // namespace qh::app

namespace qh::app {
namespace {

TEST(GameText, ShownTrimmedAndDecodedEditedExactly) {
    EXPECT_EQ(ShownText(" \tAnn\x01 "), QStringLiteral("Ann"));
    EXPECT_EQ(EditedText(" Ann "), QStringLiteral(" Ann "));  // a box shows what is stored
    EXPECT_EQ(ShownText("J\xC3\xB6rg"), QString::fromUtf8("J\xC3\xB6rg"));
    EXPECT_EQ(ShownText("A\xFF" "B"), QString::fromUtf8("A\xEF\xBF\xBD" "B"));  // a bad byte, the rest kept
    EXPECT_EQ(EditedText("A\xC3"), QString::fromUtf8("A\xEF\xBF\xBD"));
}

}  // namespace
}  // namespace qh::app

namespace qh::app {
namespace {

TEST(CommandLine, HelpAndVersionPrintAndEnd) {
    const CommandLine version = ParseCommandLine({QStringLiteral("quillhaven"), QStringLiteral("--version")});
    ASSERT_TRUE(version.print.has_value());
    // The same words as the command line's: the version of the sources and the commit.
    EXPECT_EQ(version.print->rfind("Quillhaven " QH_PROJECT_VERSION " (commit ", 0), 0u) << *version.print;
    EXPECT_EQ(version.print->back(), '\n');
    const CommandLine help = ParseCommandLine({QStringLiteral("quillhaven"), QStringLiteral("--help")});
    ASSERT_TRUE(help.print.has_value());
    EXPECT_NE(help.print->find("Usage: quillhaven"), std::string::npos);
    EXPECT_NE(help.print->find("--wine-prefix"), std::string::npos);
    EXPECT_FALSE(ParseCommandLine({QStringLiteral("quillhaven")}).print.has_value());
}

// --timings: the moments come from the window's own paint events, the loaded one only after the
// load said it was done, and the run asks nobody anything.
TEST(CommandLine, TimingsComeFromTheWindowsOwnPaints) {
    const CommandLine line = ParseCommandLine({QStringLiteral("quillhaven"), QStringLiteral("--timings")});
    EXPECT_TRUE(line.timings);
    EXPECT_FALSE(line.startup.askForNeighborhood);
    EXPECT_FALSE(ParseCommandLine({QStringLiteral("quillhaven")}).timings);

    QWidget window;
    window.resize(200, 100);
    std::vector<std::string> lines;
    const auto start = PaintTimes::Clock::now();
    auto* times = new PaintTimes(window, start, [&](const std::string& text) { lines.push_back(text); });
    EXPECT_FALSE(times->firstFrame().has_value());
    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return times->firstFrame().has_value(); }, 5000));
    window.update();
    QTest::qWait(20);
    EXPECT_FALSE(times->loadedFrame().has_value()) << "a paint before the load is not the loaded one";
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("first frame: ", 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find("(steady clock "), std::string::npos);

    times->LoadDone();
    ASSERT_TRUE(QTest::qWaitFor([&] { return times->loadedFrame().has_value(); }, 5000));
    EXPECT_GE(*times->loadedFrame(), *times->firstFrame());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].rfind("neighborhood shown: ", 0), 0u) << lines[1];
    window.update();
    QTest::qWait(20);
    EXPECT_EQ(lines.size(), 2u) << "each moment is told once";
}

// The editor's files beside the program (the build folder, Windows) or in the installed layout.
TEST(CommandLine, TheProgramsFilesAreFoundBesideItOrInTheInstalledLayout) {
    test::TempDir dir;
    const auto touch = [](const std::filesystem::path& file) {
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file) << "x";
    };
    const QString bin = QString::fromStdString((dir / "usr" / "bin").string());
    std::filesystem::create_directories(dir / "usr" / "bin");
    EXPECT_EQ(ProgramDataFolder(bin), bin) << "neither: the program's folder, whose lack the start reports";
    touch(dir / "usr" / "share" / "quillhaven" / "Images.rcc");
    EXPECT_EQ(ProgramDataFolder(bin), QString::fromStdString((dir / "usr" / "share" / "quillhaven").string()));
    touch(dir / "usr" / "bin" / "Images.rcc");
    EXPECT_EQ(ProgramDataFolder(bin), bin) << "beside the program comes first";
}

}  // namespace
}  // namespace qh::app

namespace qh::app {
namespace {

// A change told in a long sentence (a deletion and what the save takes with it) is shown whole in
// "Review Changes": wrapped within the dialog, not cut off with an ellipsis.
TEST(ReviewChanges, ALongChangeIsWrappedNotCutOff) {
    const QString deletion = QStringLiteral(
        "deletion (moved to the trash; Undo brings it back; its description, genes, 14 relationship records and 3 "
        "family ties leave the neighborhood when saved)");
    ReviewDialog dialog(nullptr, {ChangeGroup{QStringLiteral("Owen Hart"), {deletion}}});
    dialog.show();
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
    if (const char* file = std::getenv("QH_REVIEW_PICTURE")) dialog.grab().save(QString::fromLocal8Bit(file));
    QTreeWidgetItem* item = dialog.tree()->topLevelItem(0)->child(0);
    const QRect shown = dialog.tree()->visualItemRect(item);
    const QFontMetrics metrics(dialog.tree()->font());
    ASSERT_GT(metrics.horizontalAdvance(deletion), shown.width()) << "the line must be longer than the dialog is wide";
    EXPECT_GE(shown.height(), 2 * metrics.height()) << "wrapped onto more lines";
    EXPECT_EQ(item->toolTip(0), deletion);
}

}  // namespace
}  // namespace qh::app
