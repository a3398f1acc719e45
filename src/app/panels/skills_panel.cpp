#include "app/panels/skills_panel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "character/character_rules.h"
#include "character/character_traits.h"
#include "workspace/sim_items.h"

namespace qh::app {

namespace {

// "Dance Skill" is the control "trkDanceSkill" / "ckDanceSkill".
QString SkillControlName(const char* prefix, const char* name) {
    QString text = QString::fromLatin1(name);
    text.remove(QLatin1Char(' '));
    return QString::fromLatin1(prefix) + text;
}

QString LevelLabel(const char* name, int value) {
    return QString::fromLatin1(name) + QStringLiteral(":(") + QString::number(value) + QLatin1Char(')');
}

// A label above its slider, in a column of such pairs.
QSlider* AddSliderRow(QGridLayout* grid, int line, QLabel* label, const QString& name, int maximum) {
    auto* slider = NamedSlider(label->parentWidget(), name, 0, maximum);
    slider->setPageStep(maximum >= 1000 ? 100 : 1);
    grid->addWidget(label, line, 0);
    grid->addWidget(slider, line, 1);
    label->setBuddy(slider);
    return slider;
}

}  // namespace

SkillsPanel::SkillsPanel(Document& document, PanelContext& context, const PanelRow& row) : Panel(document, context, row) {
    auto* layout = new QGridLayout(this);

    auto* base = new QGroupBox(QStringLiteral("Skills"), this);
    auto* baseGrid = new QGridLayout(base);
    const auto skills = TraitSliders(TraitGroup::BaseSkills);
    for (std::size_t i = 0; i < skills.size(); ++i) {
        auto* label = new QLabel(base);
        label->setObjectName(ControlName("lbl", skills[i].field));
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("Mechanical:(1000)")) + 8);
        QSlider* slider = AddSliderRow(baseGrid, static_cast<int>(i), label, ControlName("trk", skills[i].field),
                                       kTraitMaximum);
        // The label reads "Cleaning:(": the skill's name is what comes before the colon.
        const QString skill = QString::fromLatin1(skills[i].label).section(QLatin1Char(':'), 0, 0).toLower();
        SetTip(slider, QStringLiteral("The sim's %1 skill: 0 to 10 points").arg(skill));
        baseSliders_.push_back(slider);
        baseLabels_.push_back(label);
        const QString key = slider->objectName();
        connect(slider, &QSlider::valueChanged, this, [this, key] { BaseSliderChange(key); });
    }
    auto* buttons = new QHBoxLayout;
    btnRandomSkills_ = new QPushButton(QStringLiteral("Random"), base);
    btnRandomSkills_->setObjectName(QStringLiteral("btnRandomSkills"));
    SetTip(btnRandomSkills_, QStringLiteral("Give the sim random skill points"));
    btnMaxSkills_ = new QPushButton(QStringLiteral("Max All"), base);
    btnMaxSkills_->setObjectName(QStringLiteral("btnMaxSkills"));
    SetTip(btnMaxSkills_, QStringLiteral("Set every skill of the sim to 10 points"));
    buttons->addStretch();
    buttons->addWidget(btnRandomSkills_);
    buttons->addWidget(btnMaxSkills_);
    baseGrid->addLayout(buttons, static_cast<int>(skills.size()), 0, 1, 2);
    baseGrid->setColumnStretch(1, 1);
    layout->addWidget(base, 0, 0);
    connect(btnRandomSkills_, &QPushButton::clicked, this, [this] {
        MoveBaseSliders(RandomTraitValues(baseSliders_.size(), ClockSeed()), QStringLiteral("random skills"));
    });
    connect(btnMaxSkills_, &QPushButton::clicked, this, [this] {
        MoveBaseSliders(std::vector<int>(baseSliders_.size(), kTraitMaximum), QStringLiteral("maximum skills"));
    });

    // The item skills, by group; the group's title is its caption.
    auto makeGroup = [this](const char* name) {
        auto* group = new QGroupBox(this);
        group->setObjectName(QString::fromLatin1(name));
        new QGridLayout(group);
        return group;
    };
    grpMisc_ = makeGroup("grpMiscSkills");
    grpFreeTime_ = makeGroup("grpFreeTimeSkills");
    grpBonVoyage_ = makeGroup("grpBonVoyageSkills");
    grpApartmentLife_ = makeGroup("grpApartmentLifeSkills");
    for (const ItemSkill& skill : ItemSkills()) {
        QGroupBox* group = Group(skill.group);
        auto* grid = static_cast<QGridLayout*>(group->layout());
        ItemControl control{&skill};
        if (skill.presence) {
            control.box = new QCheckBox(QString::fromLatin1(skill.name), group);
            control.box->setObjectName(SkillControlName("ck", skill.name));
            SetTip(control.box, QStringLiteral("Whether the sim has learned %1 (kept as an item of the neighborhood)")
                                    .arg(QString::fromLatin1(skill.name)));
            grid->addWidget(control.box, grid->rowCount(), 0, 1, 2);
        } else {
            control.label = new QLabel(group);
            control.label->setObjectName(SkillControlName("lbl", skill.name));
            control.label->setMinimumWidth(
                control.label->fontMetrics().horizontalAdvance(QStringLiteral("Lifelong Happiness:(1000)")) + 8);
            control.slider = AddSliderRow(grid, grid->rowCount(), control.label, SkillControlName("trk", skill.name),
                                          skill.maximum);
            SetTip(control.slider, QStringLiteral("The sim's %1 (kept as an item of the neighborhood): 0 to %2")
                                       .arg(QString::fromLatin1(skill.name))
                                       .arg(skill.maximum));
        }
        items_.push_back(control);
    }
    for (const ItemControl& control : items_) {
        if (control.slider) connect(control.slider, &QSlider::valueChanged, this, [this, control] { ItemSliderChange(control); });
        if (control.box) connect(control.box, &QCheckBox::clicked, this, [this, control] { ItemBoxClick(control); });
    }
    for (QGroupBox* group : {grpMisc_, grpFreeTime_, grpBonVoyage_, grpApartmentLife_}) {
        static_cast<QGridLayout*>(group->layout())->setColumnStretch(1, 1);
    }
    layout->addWidget(grpMisc_, 1, 0);
    layout->addWidget(grpFreeTime_, 2, 0);
    layout->addWidget(grpBonVoyage_, 0, 1);
    layout->addWidget(grpApartmentLife_, 1, 1, 2, 1);

    grpToddler_ = makeGroup("grpToddlerSkills");
    grpToddler_->setTitle(QStringLiteral("Toddler Skills:"));
    auto* toddler = static_cast<QGridLayout*>(grpToddler_->layout());
    auto training = [&](const char* name, QLabel*& label, QSlider*& slider, QCheckBox*& box, const char* boxName,
                        const char* boxCaption) {
        label = new QLabel(grpToddler_);
        label->setObjectName(SkillControlName("lbl", name));
        const int line = toddler->rowCount();
        slider = AddSliderRow(toddler, line, label, SkillControlName("trk", name), 1000);
        box = new QCheckBox(QString::fromLatin1(boxCaption), grpToddler_);
        box->setObjectName(QString::fromLatin1(boxName));
        SetTip(slider, QStringLiteral("How far the toddler is in %1: 0 to 1000").arg(QString::fromLatin1(name)));
        SetTip(box, QStringLiteral("Whether the toddler has learned it (%1)").arg(QString::fromLatin1(name)));
        toddler->addWidget(box, line, 2);
    };
    training("Walk Training", lblWalkTraining_, trkWalkTraining_, ckTrainWalk_, "ckTrainWalk", "Learned");
    training("Talk Training", lblTalkTraining_, trkTalkTraining_, ckTrainTalk_, "ckTrainTalk", "Learned");
    training("Potty Training", lblPottyTraining_, trkPottyTraining_, ckTrainPotty_, "ckTrainPotty", "Learned");
    training("Nursery Rhyme", lblNurseryRhyme_, trkNurseryRhyme_, ckNurseryRhyme_, "ckNurseryRhyme", "Learned");
    lblWalkTraining_->setMinimumWidth(lblWalkTraining_->fontMetrics().horizontalAdvance(QStringLiteral("Nursery Rhyme:(1000)")) + 8);
    toddler->setColumnStretch(1, 1);
    layout->addWidget(grpToddler_, 1, 0, 2, 2);
    for (QSlider* slider : {trkWalkTraining_, trkTalkTraining_, trkPottyTraining_, trkNurseryRhyme_}) {
        const QString key = slider->objectName();
        connect(slider, &QSlider::valueChanged, this, [this, key] { ToddlerChange(false, false, key); });
    }
    for (QCheckBox* box : {ckTrainWalk_, ckTrainTalk_, ckTrainPotty_}) {
        connect(box, &QCheckBox::clicked, this, [this] { ToddlerChange(true, false, {}); });
    }
    connect(ckNurseryRhyme_, &QCheckBox::clicked, this, [this] { ToddlerChange(true, true, {}); });

    lblNoItemSkills_ = new QLabel(this);
    lblNoItemSkills_->setObjectName(QStringLiteral("lblNoItemSkills"));
    lblNoItemSkills_->setWordWrap(true);
    layout->addWidget(lblNoItemSkills_, 3, 0, 1, 2);
    layout->setRowStretch(4, 1);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 1);
}

QGroupBox* SkillsPanel::Group(SkillGroup group) {
    switch (group) {
        case SkillGroup::Misc: return grpMisc_;
        case SkillGroup::FreeTime: return grpFreeTime_;
        case SkillGroup::BonVoyage: return grpBonVoyage_;
        case SkillGroup::ApartmentLife: return grpApartmentLife_;
    }
    return grpMisc_;
}

void SkillsPanel::Fill() {
    Character& sim = *Sim();
    const Workspace& ws = document_.workspace();
    const auto& env = document_.session().env;
    const std::vector<int> shown = ShownTraits(sim, TraitGroup::BaseSkills);
    for (std::size_t i = 0; i < baseSliders_.size(); ++i) baseSliders_[i]->setValue(shown[i]);
    // A pet's skills are shown, not changed.
    const bool editable = TraitsEditable(sim, TraitGroup::BaseSkills, HasPets());
    for (QSlider* slider : baseSliders_) slider->setEnabled(editable);
    btnRandomSkills_->setEnabled(editable);
    btnMaxSkills_->setEnabled(editable);

    const SimSkills skills = ReadSimSkills(ws.simItemList, sim);  // one pass over the items
    for (const ItemControl& control : items_) {
        if (control.slider) control.slider->setValue(skills.Level(control.skill->itemGuid));
        if (control.box) control.box->setChecked(skills.Has(control.skill->itemGuid));
    }
    const ToddlerTraining training = skills.training.value_or(ToddlerTraining{});
    trkWalkTraining_->setValue(training.walk);
    trkTalkTraining_->setValue(training.talk);
    trkPottyTraining_->setValue(training.potty);
    ckTrainWalk_->setChecked(training.walkLearned);
    ckTrainTalk_->setChecked(training.talkLearned);
    ckTrainPotty_->setChecked(training.pottyLearned);
    trkNurseryRhyme_->setValue(training.rhyme);
    ckNurseryRhyme_->setChecked(training.rhymeLearned);
    // Item skills and toddler training are items: where the save could not write them they are
    // shown, never changed.
    const std::string itemsRefusal = ItemsRefusal(ws);
    const bool itemsEditable = itemsRefusal.empty();
    for (const ItemControl& control : items_) {
        if (control.slider) control.slider->setEnabled(itemsEditable);
        if (control.box) control.box->setEnabled(itemsEditable);
    }
    for (QWidget* control : std::initializer_list<QWidget*>{trkWalkTraining_, trkTalkTraining_, trkPottyTraining_,
                                                            ckTrainWalk_, ckTrainTalk_, ckTrainPotty_, ckNurseryRhyme_}) {
        control->setEnabled(itemsEditable);
    }
    trkNurseryRhyme_->setEnabled(itemsEditable && !training.rhymeLearned);
    Relabel();

    const bool items = ShowsItemSkills(sim, HasPets());
    grpMisc_->setTitle(QStringLiteral("Misc Skills:"));
    grpMisc_->setVisible(SkillGroupShown(SkillGroup::Misc, sim, env));
    grpFreeTime_->setVisible(SkillGroupShown(SkillGroup::FreeTime, sim, env));
    grpFreeTime_->setTitle(env.hasFreeTime ? QStringLiteral("Freetime Skills") : QString());
    grpBonVoyage_->setVisible(SkillGroupShown(SkillGroup::BonVoyage, sim, env));
    grpBonVoyage_->setTitle(QStringLiteral("Bon Voyage Skills:"));
    grpApartmentLife_->setVisible(SkillGroupShown(SkillGroup::ApartmentLife, sim, env));
    grpApartmentLife_->setTitle(QStringLiteral("Apartment Life Skills:"));
    grpToddler_->setVisible(ShowsToddlerTraining(sim, HasPets()));
    if (!HasDescription(sim)) {
        lblNoItemSkills_->setText(QStringLiteral("No description of this sim was found in the neighborhood, so its "
                                                 "skills cannot be changed here."));
    } else if (IsPet(sim, HasPets())) {
        lblNoItemSkills_->setText(QStringLiteral("A pet's skills come with its breed: they are shown and kept as they are."));
    } else if (!items && sim.lifeStage != 2) {
        lblNoItemSkills_->setText(QStringLiteral("A baby learns no skills yet."));
    } else if (!itemsEditable) {
        lblNoItemSkills_->setText(QString::fromStdString(itemsRefusal));
    } else {
        lblNoItemSkills_->clear();
    }
    lblNoItemSkills_->setVisible(!lblNoItemSkills_->text().isEmpty());
}

void SkillsPanel::Relabel() {
    const auto skills = TraitSliders(TraitGroup::BaseSkills);
    const Character* sim = Sim();
    for (std::size_t i = 0; i < baseSliders_.size(); ++i) {
        const int shown = baseSliders_[i]->value();
        baseLabels_[i]->setText(QString::fromStdString(SkillLabel(skills[i], shown) +
                                                       (sim ? StoredBeyondNote(sim->*skills[i].member, shown) : "")));
    }
    for (const ItemControl& control : items_) {
        if (control.slider) control.label->setText(LevelLabel(control.skill->name, control.slider->value()));
    }
    lblWalkTraining_->setText(LevelLabel("Walk Training", trkWalkTraining_->value()));
    lblTalkTraining_->setText(LevelLabel("Talk Training", trkTalkTraining_->value()));
    lblPottyTraining_->setText(LevelLabel("Potty Training", trkPottyTraining_->value()));
    lblNurseryRhyme_->setText(ckNurseryRhyme_->isChecked() ? QStringLiteral("Nursery Rhyme:")
                                                           : LevelLabel("Nursery Rhyme", trkNurseryRhyme_->value()));
}

void SkillsPanel::BaseSliderChange(const QString& mergeKey) {
    Relabel();
    StoreTraitSliders(TraitGroup::BaseSkills, baseSliders_, QStringLiteral("skills"), mergeKey);
}

void SkillsPanel::MoveBaseSliders(const std::vector<int>& values, const QString& what) {
    MoveTraitSliders(TraitGroup::BaseSkills, baseSliders_, 0, values, what);
}

void SkillsPanel::ItemSliderChange(const ItemControl& control) {
    Relabel();
    const int level = control.slider->value();
    EditSelected(QString::fromLatin1(control.skill->name).toLower(),
                 [&](Workspace& ws, Character& sim) { SetItemSkillLevel(ws, sim, *control.skill, level); },
                 control.slider->objectName());
}

void SkillsPanel::ItemBoxClick(const ItemControl& control) {
    const bool present = control.box->isChecked();
    EditSelected(QString::fromLatin1(control.skill->name).toLower(),
                 [&](Workspace& ws, Character& sim) { SetItemSkillPresent(ws, sim, *control.skill, present); });
}

ToddlerTraining SkillsPanel::ShownTraining() const {
    ToddlerTraining shown;
    shown.walk = trkWalkTraining_->value();
    shown.talk = trkTalkTraining_->value();
    shown.potty = trkPottyTraining_->value();
    shown.walkLearned = ckTrainWalk_->isChecked();
    shown.talkLearned = ckTrainTalk_->isChecked();
    shown.pottyLearned = ckTrainPotty_->isChecked();
    shown.rhyme = trkNurseryRhyme_->value();
    shown.rhymeLearned = ckNurseryRhyme_->isChecked();
    return shown;
}

void SkillsPanel::ToddlerChange(bool fromBox, bool fromRhymeBox, const QString& mergeKey) {
    Relabel();
    if (Filling()) return;
    const ToddlerTraining shown = ShownTraining();
    EditSelected(QStringLiteral("toddler training"),
                 [&](Workspace& ws, Character& sim) { SetToddlerTraining(ws, sim, shown, fromRhymeBox); }, mergeKey);
    // A box shows what was stored: the rhyme locked at "learned", or nothing when a toddler with
    // no training at all gets none.
    if (fromBox) Refill();
}

}  // namespace qh::app
