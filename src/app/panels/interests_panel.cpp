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
    auto* grid = new QGridLayout(group);
    const auto interests = TraitSliders(TraitGroup::Interests);
    // Two columns of nine: the first are the ones pets share.
    for (std::size_t i = 0; i < interests.size(); ++i) {
        const TraitSlider& interest = interests[i];
        const int line = static_cast<int>(i % 9);
        const int column = static_cast<int>(i / 9) * 2;
        auto* label = new QLabel(group);
        label->setObjectName(ControlName("lbl", interest.field));
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("Entertainment:(1000)")) + 8);
        auto* slider = NamedSlider(group, ControlName("trk", interest.field), 0, kTraitMaximum);
        slider->setPageStep(100);
        grid->addWidget(label, line, column);
        grid->addWidget(slider, line, column + 1);
        label->setBuddy(slider);
        labels_.push_back(label);
        sliders_.push_back(slider);
        const QString key = slider->objectName();
        connect(slider, &QSlider::valueChanged, this, [this, key] { SliderChange(key); });
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setHorizontalSpacing(12);
    auto* buttons = new QHBoxLayout;
    btnRandomInterests_ = new QPushButton(QStringLiteral("Random"), group);
    btnRandomInterests_->setObjectName(QStringLiteral("btnRandomInterests"));
    btnMaxInterests_ = new QPushButton(QStringLiteral("Max All"), group);
    btnMaxInterests_->setObjectName(QStringLiteral("btnMaxInterests"));
    buttons->addStretch();
    buttons->addWidget(btnRandomInterests_);
    buttons->addWidget(btnMaxInterests_);
    grid->addLayout(buttons, 9, 0, 1, 4);
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
    const Character* sim = Sim();
    const bool pet = ShowsPet();
    const auto interests = TraitSliders(TraitGroup::Interests);
    for (std::size_t i = 0; i < sliders_.size(); ++i) {
        labels_[i]->setText(QString::fromStdString(InterestLabel(interests[i], sliders_[i]->value(), pet)));
        const bool shown = !sim || InterestShown(*sim, interests[i], HasPets());
        labels_[i]->setVisible(shown);
        sliders_[i]->setVisible(shown);
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
