#include "app/panels/interests_panel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>

#include "character/character_rules.h"
#include "character/character_traits.h"

namespace qh::app {

InterestsPanel::InterestsPanel(Document& document, PanelContext& context, const PanelRow& row) : Panel(document, context, row) {
    auto* layout = new QGridLayout(this);
    auto* group = new QGroupBox(QStringLiteral("Interests"), this);
    // Two columns of nine, built from the core's table of interests: the first nine are the ones
    // pets share (under names of their own).
    std::vector<FieldRow> rows;
    for (const TraitSlider& interest : TraitSliders(TraitGroup::Interests)) {
        const TraitSlider* trait = &interest;
        rows.push_back({ControlName("trk", interest.field), ControlName("lbl", interest.field), 0, kTraitMaximum,
                        [this, trait](int value) { return QString::fromStdString(InterestLabel(*trait, value, ShowsPet())); },
                        [this, trait] {
                            const Character* sim = Sim();
                            return !sim || InterestShown(*sim, *trait, HasPets());
                        }});
    }
    form_ = new SliderForm(group, std::move(rows), 9, [this](const QString& slider) { SliderChange(slider); });
    sliders_ = form_->sliders();
    for (QSlider* slider : sliders_) {
        SetTip(slider, QStringLiteral("How much the sim likes to talk about this subject: 0 to 10 points"));
    }
    for (QLabel* label : form_->findChildren<QLabel*>()) {
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("Entertainment:(1000)")) + 8);
    }
    auto* grid = new QGridLayout(group);
    grid->addWidget(form_, 0, 0, 1, 4);
    auto* buttons = new QHBoxLayout;
    btnRandomInterests_ = new QPushButton(QStringLiteral("Random"), group);
    btnRandomInterests_->setObjectName(QStringLiteral("btnRandomInterests"));
    SetTip(btnRandomInterests_, QStringLiteral("Give the sim random interests"));
    btnMaxInterests_ = new QPushButton(QStringLiteral("Max All"), group);
    btnMaxInterests_->setObjectName(QStringLiteral("btnMaxInterests"));
    SetTip(btnMaxInterests_, QStringLiteral("Set every interest of the sim to 10 points"));
    buttons->addStretch();
    buttons->addWidget(btnRandomInterests_);
    buttons->addWidget(btnMaxInterests_);
    grid->addLayout(buttons, 1, 0, 1, 4);
    layout->addWidget(group, 0, 0);
    lblNoDescription_ = new QLabel(QStringLiteral("No description of this sim was found in the neighborhood, so its "
                                                  "interests cannot be changed here."),
                                   this);
    lblNoDescription_->setObjectName(QStringLiteral("lblNoDescription"));
    lblNoDescription_->setWordWrap(true);
    lblNoDescription_->setVisible(false);
    layout->addWidget(lblNoDescription_, 1, 0);
    layout->setRowStretch(2, 1);

    connect(btnRandomInterests_, &QPushButton::clicked, this, [this] {
        MoveSliders(RandomTraitValues(sliders_.size(), ClockSeed()), QStringLiteral("random interests"));
    });
    connect(btnMaxInterests_, &QPushButton::clicked, this, [this] {
        MoveSliders(std::vector<int>(sliders_.size(), kTraitMaximum), QStringLiteral("maximum interests"));
    });
}

bool InterestsPanel::ShowsPet() {
    const Character* sim = Sim();
    return sim && IsPet(*sim, HasPets());
}

void InterestsPanel::Fill() {
    const Character& sim = *Sim();
    const std::vector<int> shown = ShownTraits(sim, TraitGroup::Interests);
    for (std::size_t i = 0; i < sliders_.size(); ++i) sliders_[i]->setValue(shown[i]);
    const bool editable = TraitsEditable(sim, TraitGroup::Interests, HasPets());
    for (QSlider* slider : sliders_) slider->setEnabled(editable);
    btnRandomInterests_->setEnabled(editable);
    btnMaxInterests_->setEnabled(editable);
    lblNoDescription_->setVisible(!HasDescription(sim));
    Relabel();
}

void InterestsPanel::Relabel() {
    form_->Relabel();
    // A pet's interests go by the names its list shows.
    const bool pet = ShowsPet();
    const auto interests = TraitSliders(TraitGroup::Interests);
    for (std::size_t i = 0; i < sliders_.size(); ++i) {
        sliders_[i]->setAccessibleName(QString::fromLatin1(pet && interests[i].petLabel ? interests[i].petLabel
                                                                                       : interests[i].label));
    }
}

void InterestsPanel::SliderChange(const QString& mergeKey) {
    Relabel();
    StoreTraitSliders(TraitGroup::Interests, sliders_, QStringLiteral("interests"), mergeKey);
}

void InterestsPanel::MoveSliders(const std::vector<int>& values, const QString& what) {
    MoveTraitSliders(TraitGroup::Interests, sliders_, 0, values, what);
}

}  // namespace qh::app
