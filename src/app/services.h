// The small services the window gives the panels and the document's I/O: questions and dialogs,
// the selected sim, the status line and busy state, pictures, view options. Each is its own
// interface, so that a panel or the I/O is tested with fakes of them and no window.
#pragma once

#include <QDialog>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <cstddef>
#include <optional>
#include <vector>

#include "character/character.h"
#include "platform/progress.h"
#include "platform/reporter.h"

namespace qh::app {

class Panel;
class ImageLibrary;

// How the window asks the player a question (message boxes; tests answer themselves).
class Asker {
public:
    virtual ~Asker() = default;
    virtual bool AskYesNo(const QString& question) = 0;
    virtual bool AskOkCancel(const QString& question) = 0;
    // Runs a dialog (the window's picker, a chooser) and says whether it was accepted; a test
    // answers it itself.
    virtual bool Run(QDialog& dialog) = 0;
};

// What the picker of sims shows: its caption, help topic and text, the sims offered (indices of
// the workspace's characters) and the one chosen at first.
struct SimPick {
    QString caption;
    QString text;
    int helpTopic = 0;
    std::vector<std::size_t> sims;
    std::optional<std::size_t> preselected;
};

// What a control does in advanced mode.
enum class AdvancedEffect { ShowWhenOn, HideWhenOn, EnableWhenOn };

class DocumentIO;

// The small services a panel may ask for, each its own interface, so that a panel is shown and
// tested with fakes of them and a document, without a window.
// Which sim is selected, and choosing another (the character selector).
class Selection {
public:
    virtual ~Selection() = default;
    virtual std::optional<std::size_t> SelectedSimIndex() const = 0;
    virtual void SelectSim(std::size_t index) = 0;
};

// The status line and the busy state of long work.
class StatusLine {
public:
    virtual ~StatusLine() = default;
    virtual void SetStatus(const QString& text) = 0;
    virtual Progress& progress() = 0;
    virtual void BeginBusy() = 0;
    virtual void EndBusy() = 0;
    virtual bool Busy() const = 0;
};

// Messages, questions, the sim picker and help.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual Reporter& reporter() = 0;
    virtual Asker& asker() = 0;
    // Shows the picker; the chosen sim, or nothing when the player cancelled.
    virtual std::optional<std::size_t> PickSim(const SimPick& pick) = 0;
    virtual void ShowHelp(int topic) = 0;
};

// Pictures of sims and of the window, and a sim's entry text.
class SimPictures {
public:
    virtual ~SimPictures() = default;
    // The sim's portrait (or the placeholder) at the size, grey without a household.
    virtual QPixmap SimPicture(const Character& sim, int size) = 0;
    // The text of a sim's entry in the character selector, in its current format.
    virtual QString SimEntryText(const Character& sim) const = 0;
    virtual ImageLibrary& images() = 0;
};

// How the window shows things: the open panel, advanced mode, the colour scheme.
class ViewOptions {
public:
    virtual ~ViewOptions() = default;
    // Shows the panel and marks its button as the open one.
    virtual void ShowPanel(Panel& panel) = 0;
    virtual bool Advanced() const = 0;
    virtual void RegisterAdvanced(QWidget* control, AdvancedEffect effect) = 0;
    virtual void ApplyAdvancedMode() = 0;
    virtual int ColorScheme() const = 0;
    virtual void ApplyColorScheme(int scheme) = 0;
};

// What a panel is given besides the document.
struct PanelContext {
    Selection& selection;
    StatusLine& status;
    Dialogs& dialogs;
    SimPictures& pictures;
    ViewOptions& view;
    DocumentIO& io;  // loading, saving, restoring, the trash
};

}  // namespace qh::app
