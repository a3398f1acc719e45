// What every panel of the window shares, and the registry that lists them.
//
// A panel is one file pair and one row of the registry (caption, button, help topic, factory).
// It gets the document, through which every edit goes, and a small host interface to the window
// (the selected sim, status, busy state, pictures, help), never the window itself.
#pragma once

#include <QDialog>
#include <QPixmap>
#include <QSlider>
#include <QWidget>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "app/document.h"
#include "character/character_traits.h"
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

// What a panel may ask of the window.
class PanelHost {
public:
    virtual ~PanelHost() = default;
    // The selected sim (its index in the workspace), if any.
    virtual std::optional<std::size_t> SelectedSimIndex() const = 0;
    virtual void SelectSim(std::size_t index) = 0;
    // Shows the panel and marks its button as the open one.
    virtual void ShowPanel(Panel& panel) = 0;
    virtual bool Advanced() const = 0;
    virtual void RegisterAdvanced(QWidget* control, AdvancedEffect effect) = 0;
    virtual void ApplyAdvancedMode() = 0;
    virtual void BeginBusy() = 0;
    virtual void EndBusy() = 0;
    virtual bool Busy() const = 0;
    virtual void SetStatus(const QString& text) = 0;
    virtual Progress& progress() = 0;
    virtual Reporter& reporter() = 0;
    virtual Asker& asker() = 0;
    virtual ImageLibrary& images() = 0;
    // The sim's portrait (or the placeholder) at the size, grey without a household.
    virtual QPixmap SimPicture(const Character& sim, int size) = 0;
    virtual void ShowHelp(int topic) = 0;
    virtual int ColorScheme() const = 0;
    // Where the window moves what the player deletes.
    virtual Trash& trash() = 0;
    // A backup was restored as the neighborhood with this prefix: the selector lists it, and the
    // workspace is loaded again from it when it is the one loaded.
    virtual void NeighborhoodRestored(const std::string& prefix) = 0;
    // Shows the picker; the chosen sim, or nothing when the player cancelled.
    virtual std::optional<std::size_t> PickSim(const SimPick& pick) = 0;
    // The text of a sim's entry in the character selector, in its current format.
    virtual QString SimEntryText(const Character& sim) const = 0;
    virtual void ApplyColorScheme(int scheme) = 0;
};

// One row of the registry.
struct PanelRow {
    const char* caption;  // the button's text
    const char* button;   // the button's object name
    const char* panel;    // the panel's object name
    int helpTopic;
    std::function<Panel*(Document&, PanelHost&, const PanelRow&)> factory;
    bool hidden = false;  // no button: opened another way (the data panel)
};

// Every panel, top to bottom in the button column.
const std::vector<PanelRow>& PanelRows();

class Panel : public QWidget {
public:
    Panel(Document& document, PanelHost& host, const PanelRow& row);

    const PanelRow& row() const { return row_; }
    // Shows the panel and fills it from the model while disabled; filling never counts as an
    // edit. Does nothing when the panel cannot be shown now (no sim, for most).
    void Open();
    // Fills it again where it stands (after an undo, a redo, another sim).
    void Refill();
    // Advanced mode changed; the colour scheme changed.
    virtual void AdvancedChanged() {}
    virtual void SchemeChanged() {}
    // The document changed; by default an undo or redo of what the panel shows refills it.
    virtual void DocumentChanged(const Change& change);

protected:
    virtual bool CanOpen() const { return host_.SelectedSimIndex().has_value(); }
    virtual void Fill() = 0;
    // True while the panel fills itself: handlers of its controls then do nothing.
    bool Filling() const { return filling_ > 0 || !isEnabled(); }
    // The selected sim, or null.
    Character* Sim();
    // One edit of the selected sim as one step of the document, unless the panel is filling
    // itself or no sim is selected. Steps with the same merge key (one slider dragged, one box
    // typed into) join the one before them.
    void EditSelected(const QString& what, const std::function<void(Workspace&, Character&)>& change,
                      const QString& mergeKey = {});
    bool HasPets() const { return document_.session().env.hasPets; }
    // Sliders over a group of traits: any move stores the whole group as shown. "Random" and
    // "Max All" move sliders from `first` with their handlers held back, then store once, so a
    // press is one step.
    void StoreTraitSliders(TraitGroup group, const std::vector<QSlider*>& sliders, const QString& what,
                           const QString& mergeKey = {});
    void MoveTraitSliders(TraitGroup group, const std::vector<QSlider*>& sliders, std::size_t first,
                          const std::vector<int>& values, const QString& what);
    std::optional<std::size_t> SimIndex() const { return host_.SelectedSimIndex(); }

    Document& document_;
    PanelHost& host_;

private:
    const PanelRow& row_;
    int filling_ = 0;
    bool movingSliders_ = false;
};

// A horizontal slider with its object name and range.
QSlider* NamedSlider(QWidget* parent, const QString& name, int low, int high);
// A control's object name from a field's: ("trk", "geneticNeat") is "trkGeneticNeat".
QString ControlName(const char* prefix, std::string_view field);

// The page of a subject whose editor the program does not have yet: it says so.
class PendingPanel final : public Panel {
public:
    PendingPanel(Document& document, PanelHost& host, const PanelRow& row);

protected:
    bool CanOpen() const override { return true; }
    void Fill() override {}
};

}  // namespace qh::app
