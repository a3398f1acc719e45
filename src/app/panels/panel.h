// What every panel of the window shares, and the registry that lists them.
//
// A panel is one file pair and one row of the registry (caption, button, help topic, factory).
// It gets the document, through which every edit goes, and a context of small services (the
// selected sim, status and busy state, dialogs, pictures, view options, the document's I/O),
// never the window itself.
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
#include "app/services.h"
#include "app/widgets.h"
#include "character/character_traits.h"
#include "platform/progress.h"
#include "platform/reporter.h"

namespace qh::app {

class Panel;
class ImageLibrary;

// One row of the registry.
struct PanelRow {
    const char* caption;  // the button's text
    const char* tip;      // the button's tooltip: what the panel shows and changes
    const char* button;   // the button's object name
    const char* panel;    // the panel's object name
    int helpTopic;
    std::function<Panel*(Document&, PanelContext&, const PanelRow&)> factory;
    bool hidden = false;  // no button: opened another way (the data panel)
    // What the window does with it by its row, not by its name: opened after each load (the
    // neighborhood's own panel), and opened again for the newly selected sim.
    bool opensAfterLoad = false;
    bool followsSelection = true;
};

// Every panel, top to bottom in the button column.
const std::vector<PanelRow>& PanelRows();

class Panel : public QWidget {
public:
    Panel(Document& document, PanelContext& context, const PanelRow& row);

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
    virtual bool CanOpen() const { return context_.selection.SelectedSimIndex().has_value(); }
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
    std::optional<std::size_t> SimIndex() const { return context_.selection.SelectedSimIndex(); }

    Document& document_;
    PanelContext& context_;

private:
    const PanelRow& row_;
    int filling_ = 0;
    bool movingSliders_ = false;
};

}  // namespace qh::app
