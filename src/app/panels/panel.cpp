#include "app/panels/panel.h"

#include <QLabel>
#include <QVBoxLayout>

namespace qh::app {

Panel::Panel(Document& document, PanelContext& context, const PanelRow& row)
    : document_(document), context_(context), row_(row) {
    setObjectName(QString::fromLatin1(row.panel));
    setProperty("helpTopic", row.helpTopic);
}

void Panel::Open() {
    if (!CanOpen()) return;
    context_.view.ShowPanel(*this);
    Refill();
}

void Panel::Refill() {
    if (!CanOpen()) return;
    setEnabled(false);
    ++filling_;
    Fill();
    --filling_;
    setEnabled(true);
}

void Panel::DocumentChanged(const Change& change) {
    if (!change.replay || !isVisible()) return;
    if (change.subject == Subject::Sim && SimIndex() != std::optional<std::size_t>(static_cast<std::size_t>(change.sim))) {
        return;
    }
    Refill();
}

Character* Panel::Sim() {
    const auto index = context_.selection.SelectedSimIndex();
    if (!index || *index >= document_.workspace().characters.size()) return nullptr;
    return &document_.workspace().characters[*index];
}

void Panel::EditSelected(const QString& what, const std::function<void(Workspace&, Character&)>& change,
                         const QString& mergeKey) {
    const auto index = SimIndex();
    if (Filling() || !index) return;
    document_.EditSim(*index, what, change, mergeKey);
}

void Panel::StoreTraitSliders(TraitGroup group, const std::vector<QSlider*>& sliders, const QString& what,
                              const QString& mergeKey) {
    if (movingSliders_) return;
    std::vector<int> values;
    for (const QSlider* slider : sliders) values.push_back(slider->value());
    EditSelected(what, [&](Workspace&, Character& sim) { StoreTraits(sim, group, values, HasPets()); }, mergeKey);
}

void Panel::MoveTraitSliders(TraitGroup group, const std::vector<QSlider*>& sliders, std::size_t first,
                             const std::vector<int>& values, const QString& what) {
    movingSliders_ = true;
    for (std::size_t i = 0; i < values.size() && first + i < sliders.size(); ++i) sliders[first + i]->setValue(values[i]);
    movingSliders_ = false;
    StoreTraitSliders(group, sliders, what);
}

}  // namespace qh::app
