#include "app/panels/personality_panel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "character/character_rules.h"
#include "character/character_traits.h"

namespace qh::app {

namespace {

QPushButton* Button(QWidget* parent, const char* caption, const char* name) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

}  // namespace

PersonalityPanel::PersonalityPanel(Document& document, PanelContext& context, const PanelRow& row)
    : Panel(document, context, row) {
    auto* layout = new QGridLayout(this);
    const auto traits = TraitSliders(TraitGroup::Personality);
    // Two columns of five sliders, each between the captions of its two ends.
    for (int column = 0; column < 2; ++column) {
        auto* group = new QGroupBox(column == 0 ? QStringLiteral("Current") : QStringLiteral("Original (Birth)"), this);
        group->setObjectName(column == 0 ? QStringLiteral("grpCurrentPersonality") : QStringLiteral("grpOrgPersonality"));
        auto* grid = new QGridLayout(group);
        for (std::size_t i = 0; i < 5; ++i) {
            const TraitSlider& trait = traits[static_cast<std::size_t>(column) * 5 + i];
            const int line = static_cast<int>(i);
            auto* low = new QLabel(QString::fromLatin1(trait.lowEnd), group);
            low->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            auto* slider = NamedSlider(group, ControlName("trk", trait.field), 0, kTraitMaximum);
            slider->setPageStep(100);
            slider->setAccessibleName(QString::fromLatin1(trait.label));
            SetTip(slider, (column == 0 ? QStringLiteral("The sim's personality now, from %1 (0) to %2 (10 points)")
                                        : QStringLiteral("The personality the sim was born with, which its children "
                                                         "inherit: from %1 (0) to %2 (10 points)"))
                               .arg(QString::fromLatin1(trait.lowEnd), QString::fromLatin1(trait.highEnd)));
            auto* high = new QLabel(QString::fromLatin1(trait.highEnd), group);
            auto* value = new QLabel(group);
            value->setObjectName(ControlName("lbl", trait.field));
            value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("10000")));
            grid->addWidget(low, line, 0);
            grid->addWidget(slider, line, 1);
            grid->addWidget(high, line, 2);
            grid->addWidget(value, line, 3);
            sliders_.push_back(slider);
            values_.push_back(value);
            const QString key = slider->objectName();
            connect(slider, &QSlider::valueChanged, this, [this, key] { SliderChange(key); });
        }
        grid->setColumnStretch(1, 1);
        auto* buttons = new QHBoxLayout;
        auto* random = Button(group, "Random", column == 0 ? "btnRandomPersonality" : "btnOrgRandomPersonality");
        auto* max = Button(group, "Max All", column == 0 ? "btnMaxPersonality" : "btnOrgMaxPersonality");
        SetTip(random, column == 0 ? QStringLiteral("Give the sim random personality points")
                                   : QStringLiteral("Give the sim random personality points from birth"));
        SetTip(max, column == 0 ? QStringLiteral("Set every personality trait of the sim to 10 points")
                                : QStringLiteral("Set every personality trait the sim was born with to 10 points"));
        buttons->addStretch();
        buttons->addWidget(random);
        buttons->addWidget(max);
        grid->addLayout(buttons, 5, 0, 1, 4);
        layout->addWidget(group, 0, column);
        const std::size_t first = static_cast<std::size_t>(column) * 5;
        const QString what = column == 0 ? QStringLiteral("personality") : QStringLiteral("birth personality");
        connect(random, &QPushButton::clicked, this,
                [this, first, what] { MoveSliders(first, RandomTraitValues(5, ClockSeed()), QStringLiteral("random ") + what); });
        connect(max, &QPushButton::clicked, this, [this, first, what] {
            MoveSliders(first, std::vector<int>(5, kTraitMaximum), QStringLiteral("maximum ") + what);
        });
        (column == 0 ? btnRandomPersonality_ : btnOrgRandomPersonality_) = random;
        (column == 0 ? btnMaxPersonality_ : btnOrgMaxPersonality_) = max;
    }

    auto* zodiac = new QGroupBox(QStringLiteral("Zodiac"), this);
    auto* zodiacLayout = new QVBoxLayout(zodiac);
    cbZodiac_ = new QComboBox(zodiac);
    cbZodiac_->setObjectName(QStringLiteral("cbZodiac"));
    for (const ZodiacSign& sign : ZodiacSigns()) cbZodiac_->addItem(QString::fromLatin1(sign.name));
    lblZodiacText_ = new QLabel(zodiac);
    lblZodiacText_->setObjectName(QStringLiteral("lblZodiacText"));
    zodiacLayout->addWidget(cbZodiac_);
    zodiacLayout->addWidget(lblZodiacText_);
    lblZodiacNote_ = new QLabel(zodiac);
    lblZodiacNote_->setObjectName(QStringLiteral("lblZodiacNote"));
    lblZodiacNote_->setWordWrap(true);
    zodiacLayout->addWidget(lblZodiacNote_);
    layout->addWidget(zodiac, 1, 0);

    grpReputation_ = new QGroupBox(QStringLiteral("Reputation"), this);
    grpReputation_->setObjectName(QStringLiteral("grpReputation"));
    auto* reputation = new QGridLayout(grpReputation_);
    trkReputation_ = NamedSlider(grpReputation_, QStringLiteral("trkReputation"), kReputationMinimum, kReputationMaximum);
    SetTip(trkReputation_, QStringLiteral("The sim's reputation in the neighborhood (Apartment Life), from -100 to 100"));
    trkReputation_->setPageStep(10);
    lblReputation_ = new QLabel(grpReputation_);
    lblReputation_->setObjectName(QStringLiteral("lblReputation"));
    reputation->addWidget(new QLabel(QStringLiteral("Slimeball"), grpReputation_), 0, 0);
    reputation->addWidget(trkReputation_, 0, 1);
    reputation->addWidget(new QLabel(QStringLiteral("Celebrity"), grpReputation_), 0, 2);
    reputation->addWidget(lblReputation_, 0, 3);
    reputation->setColumnStretch(1, 1);
    layout->addWidget(grpReputation_, 1, 1, Qt::AlignTop);
    lblPetNote_ = new QLabel(QStringLiteral("A pet's personality comes with its breed: it is shown here and kept as it is."),
                             this);
    lblPetNote_->setObjectName(QStringLiteral("lblPetNote"));
    lblPetNote_->setWordWrap(true);
    layout->addWidget(lblPetNote_, 2, 0, 1, 2);
    layout->setRowStretch(3, 1);

    connect(cbZodiac_, &QComboBox::currentIndexChanged, this, [this] { cbZodiacChange(); });
    connect(trkReputation_, &QSlider::valueChanged, this, [this] { trkReputationChange(); });
}

void PersonalityPanel::Fill() {
    Character& sim = *Sim();
    if (sim.zodiac >= 1 && sim.zodiac <= 12) {
        cbZodiac_->setCurrentIndex(sim.zodiac - 1);
        lblZodiacText_->setText(QString::fromStdString(ZodiacSignText(sim.zodiac)));
    } else {
        cbZodiac_->setCurrentIndex(-1);  // the text stays as it was
    }
    const std::vector<int> shown = ShownTraits(sim, TraitGroup::Personality);
    for (std::size_t i = 0; i < sliders_.size(); ++i) sliders_[i]->setValue(shown[i]);
    Relabel();
    // A pet's personality comes with its breed: shown, not changed.
    const bool editable = TraitsEditable(sim, TraitGroup::Personality, HasPets());
    for (QSlider* slider : sliders_) slider->setEnabled(editable);
    for (QPushButton* button : {btnRandomPersonality_, btnMaxPersonality_, btnOrgRandomPersonality_, btnOrgMaxPersonality_}) {
        button->setEnabled(editable);
    }
    cbZodiac_->setEnabled(HasDescription(sim));
    // What the sign does, as the rule does it: a pet takes the sign and keeps its personality.
    lblZodiacNote_->setText(IsPet(sim, HasPets())
                                ? QStringLiteral("Choosing a sign changes only the sign: a pet keeps its personality.")
                                : QStringLiteral("Choosing a sign sets both the current and the birth personality to the "
                                                 "sign's own."));
    lblPetNote_->setText(HasDescription(sim)
                             ? QStringLiteral("A pet's personality comes with its breed: it is shown here and kept as it is.")
                             : QStringLiteral("No description of this sim was found in the neighborhood, so its "
                                              "personality cannot be changed here."));
    lblPetNote_->setVisible(!editable);
    const auto& env = document_.session().env;
    grpReputation_->setVisible(ReputationShown(sim, HasPets(), env.hasApartmentLife));
    if (grpReputation_->isVisibleTo(this)) {
        trkReputation_->setValue(sim.reputation);
        lblReputation_->setText(QString::number(trkReputation_->value()));
        // A description of an older format has no word for it.
        trkReputation_->setEnabled(ReputationStored(sim));
    }
}

void PersonalityPanel::Relabel() {
    const Character* sim = Sim();
    const auto traits = TraitSliders(TraitGroup::Personality);
    for (std::size_t i = 0; i < sliders_.size(); ++i) {
        const int shown = sliders_[i]->value();
        // The value column is narrow: a value stored beyond the slider is starred, and the
        // tooltip says what is stored.
        const std::string note = sim ? StoredBeyondNote(sim->*traits[i].member, shown) : "";
        values_[i]->setText(QString::number(shown) + (note.empty() ? QString() : QStringLiteral("*")));
        values_[i]->setToolTip(QString::fromStdString(note.empty() ? note : note.substr(3)));
    }
}

void PersonalityPanel::SliderChange(const QString& mergeKey) {
    Relabel();
    StoreTraitSliders(TraitGroup::Personality, sliders_, QStringLiteral("personality"), mergeKey);
}

void PersonalityPanel::MoveSliders(std::size_t first, const std::vector<int>& values, const QString& what) {
    MoveTraitSliders(TraitGroup::Personality, sliders_, first, values, what);
}

void PersonalityPanel::cbZodiacChange() {
    const int position = cbZodiac_->currentIndex();
    if (position < 0) return;
    lblZodiacText_->setText(QString::fromStdString(ZodiacSignText(position + 1)));
    if (Filling()) return;
    EditSelected(QStringLiteral("zodiac sign"), [&](Workspace&, Character& sim) { ApplyZodiac(sim, position + 1, HasPets()); });
    Refill();  // the sign moved all ten sliders
}

void PersonalityPanel::trkReputationChange() {
    lblReputation_->setText(QString::number(trkReputation_->value()));
    const int value = trkReputation_->value();
    EditSelected(QStringLiteral("reputation"), [&](Workspace&, Character& sim) { SetReputation(sim, value); },
                 QStringLiteral("reputation"));
}

}  // namespace qh::app
