// The window on a generated demo game, started as the program starts, for tests that drive it
// through its real widgets offscreen.
#pragma once

#include <QCloseEvent>
#include <QDialog>
#include <functional>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <fstream>
#include <memory>
#include <stdexcept>

#include "app/main_window.h"
#include "app/panels/about_panel.h"
#include "app/startup.h"
#include "demo_game.h"
#include "support/temp_dir.h"
#include "workspace/character_list.h"

namespace qh::app {

class ScriptedAsker final : public Asker {
public:
    bool AskYesNo(const QString& question) override {
        questions << question;
        return answerFor ? answerFor(question) : answer;
    }
    bool AskOkCancel(const QString& question) override {
        questions << question;
        return answerFor ? answerFor(question) : answer;
    }
    // A dialog is shown, `onDialog` does with it what the player would, and `answer` accepts it.
    bool Run(QDialog& dialog) override {
        dialogs << dialog.windowTitle();
        if (onDialog) onDialog(dialog);
        return answer;
    }
    QStringList questions;
    QStringList dialogs;
    std::function<void(QDialog&)> onDialog;
    bool answer = true;
    // The answer to a question, when it differs from a dialog's (`answer`).
    std::function<bool(const QString&)> answerFor;
};

// Chooses the entry with the text in a list as a player would (the list's "activated").
inline void PickEntry(QComboBox* list, const QString& text) {
    const int at = list->findText(text);
    if (at < 0) throw std::runtime_error("no entry " + text.toStdString());
    list->setCurrentIndex(at);
    emit list->activated(at);
}

// The demo game in a folder of its own, started as the program starts.
struct Session {
    test::TempDir dir;
    demo::DemoGame game = demo::WriteDemoGame(dir.path());
    GameSession state;
    ImageLibrary images;
    RecordingReporter reporter;
    ScriptedAsker asker;
    StartupOptions options;
    std::unique_ptr<MainWindow> window;

    // `prepare` may change the demo game's files before the program starts.
    // `preload`: the first neighborhood read while the window is built, as the program does.
    explicit Session(bool advanced = false, const std::function<void(const demo::DemoGame&)>& prepare = {},
                     bool preload = false) {
        if (prepare) prepare(game);
        // The system's trash of this test's own: what the window deletes lands in the test's folder.
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString((dir / "data").string()));
        options.shared.winePrefix = game.prefix;
        options.shared.settings = dir / "settings.ini";
        options.programFolder = QStringLiteral(QH_APP_DIR);
        options.askForNeighborhood = false;
        options.neighborhood = QStringLiteral("N001");
        {
            std::ofstream(dir / "settings.ini") << "[General]\nAdvanced=" << (advanced ? 1 : 0) << "\nAdvMsgCnt=9\n";
        }
        const auto failure = PrepareState(state, images, options, reporter);
        if (failure) throw std::runtime_error(*failure);
        std::unique_ptr<NeighborhoodPreload> first;
        if (const auto entry = FirstNeighborhood(state, options); entry && preload) {
            first = std::make_unique<NeighborhoodPreload>(state, *entry);
        }
        window = std::make_unique<MainWindow>(state, images, reporter, asker, QStringLiteral(QH_APP_DIR "/help"));
        StartWindow(*window, options, std::move(first));
        reporter.messages.clear();
    }
    template <typename T>
    T* Find(const char* name) {
        T* widget = window->findChild<T*>(QString::fromLatin1(name));
        if (!widget) throw std::runtime_error(std::string("no widget ") + name);
        return widget;
    }
    // A control of one panel, where panels share control names (each has its "cbZodiac").
    template <typename T>
    T* FindIn(const char* panel, const char* name) {
        QWidget* page = window->PanelNamed(QString::fromLatin1(panel));
        T* widget = page ? page->findChild<T*>(QString::fromLatin1(name)) : nullptr;
        if (!widget) throw std::runtime_error(std::string("no widget ") + name + " in " + panel);
        return widget;
    }
    bool Shown(QWidget* widget) const { return widget->isVisibleTo(window.get()); }
    void Click(const char* button) { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }
    // The selector's row of the sim with the package file, -1 when there is none.
    int SimIndex(const std::string& file) {
        const auto sim = FindSimByFile(state.workspace, file);
        return sim ? window->shownSims().RowOf(*sim) : -1;
    }
    // The sim with the package file (which must be there).
    Character& SimOf(const std::string& file) {
        const auto sim = FindSimByFile(state.workspace, file);
        if (!sim) throw std::runtime_error("no sim " + file);
        return state.workspace.characters[*sim];
    }
    AboutPanel* About() { return static_cast<AboutPanel*>(window->PanelNamed(QStringLiteral("pnlAbout"))); }
    // Waits until the open panel has been shown again after a change of sim (a tenth of a second
    // later), however slow the machine.
    void Settle() {
        QTest::qWait(120);
        QWidget* panels = Find<QWidget>("pnlPanels");
        EXPECT_TRUE(QTest::qWaitFor([panels] { return panels->isVisible(); }, 5000));
    }
    void Choose(const std::string& file) {
        window->characterSelector()->setCurrentIndex(SimIndex(file));
        Settle();
    }
};

}  // namespace qh::app
