#include "app/panels/character_panel.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "character/character_rules.h"
#include "package/text_list.h"
#include "workspace/character_list.h"
#include "workspace/sim_items.h"

namespace qh::app {

namespace {


QLineEdit* NumberBox(QWidget* parent, const char* name) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setMaximumWidth(90);
    return box;
}

QSlider* Slider(QWidget* parent, const char* name, int low, int high) {
    return NamedSlider(parent, QString::fromLatin1(name), low, high);
}

}  // namespace

CharacterPanel::CharacterPanel(Document& document, PanelContext& context, const PanelRow& row) : Panel(document, context, row) {
    auto* grid = new QGridLayout(this);
    // Identity.
    auto* identity = new QGroupBox(QStringLiteral("Identity"), this);
    auto* form = new QFormLayout(identity);
    edtFirstName_ = new QLineEdit(identity);
    edtFirstName_->setObjectName(QStringLiteral("edtFirstName"));
    edtLastName_ = new QLineEdit(identity);
    edtLastName_->setObjectName(QStringLiteral("edtLastName"));
    memCharacterDescription_ = new QPlainTextEdit(identity);
    memCharacterDescription_->setTabChangesFocus(true);  // Tab moves on, as in every other box
    memCharacterDescription_->setObjectName(QStringLiteral("memCharacterDescription"));
    memCharacterDescription_->setMaximumHeight(70);
    lblCharacterVersion_ = new QLabel(identity);
    lblCharacterVersion_->setObjectName(QStringLiteral("lblCharacterVersion"));
    lblPackageFile_ = new QLabel(identity);
    lblPackageFile_->setObjectName(QStringLiteral("lblPackageFile"));
    lblGuid_ = new QLabel(identity);
    lblGuid_->setObjectName(QStringLiteral("lblGuid"));
    lblInstance_ = new QLabel(identity);
    lblInstance_->setObjectName(QStringLiteral("lblInstance"));
    lblBodyFlags_ = new QLabel(identity);
    lblBodyFlags_->setObjectName(QStringLiteral("lblBodyFlags"));
    lblOutfitSourceGuid_ = new QLabel(identity);
    lblOutfitSourceGuid_->setObjectName(QStringLiteral("lblOutfitSourceGuid"));
    form->addRow(QStringLiteral("First Name:"), edtFirstName_);
    form->addRow(QStringLiteral("Last Name:"), edtLastName_);
    form->addRow(QStringLiteral("Description:"), memCharacterDescription_);
    form->addRow(QStringLiteral("File:"), lblPackageFile_);
    form->addRow(QStringLiteral("GUID:"), lblGuid_);
    form->addRow(QStringLiteral("Instance:"), lblInstance_);
    form->addRow(QStringLiteral("Body Flags:"), lblBodyFlags_);
    form->addRow(lblOutfitSourceGuid_);
    form->addRow(lblCharacterVersion_);
    btnFixThumbnail_ = new QPushButton(QStringLiteral("Fix Thumbnail"), identity);
    btnFixThumbnail_->setObjectName(QStringLiteral("btnFixThumbnail"));
    btnFixThumbnail_->setProperty("helpTopic", 3080);
    SetTip(btnFixThumbnail_, QStringLiteral("Drop the sim's pictures so that the game draws them anew when it next loads the sim"));
    form->addRow(btnFixThumbnail_);
    grid->addWidget(identity, 0, 0, 2, 1);

    // Life stage, gender, ages, zodiac.
    auto* life = new QGroupBox(QStringLiteral("Life"), this);
    auto* lifeForm = new QFormLayout(life);
    auto* genders = new QHBoxLayout;
    rbMale_ = new QRadioButton(QStringLiteral("Male"), life);
    rbMale_->setObjectName(QStringLiteral("rbMale"));
    SetTip(rbMale_, QStringLiteral("Make the sim male (advanced mode)"));
    rbFemale_ = new QRadioButton(QStringLiteral("Female"), life);
    rbFemale_->setObjectName(QStringLiteral("rbFemale"));
    SetTip(rbFemale_, QStringLiteral("Make the sim female (advanced mode)"));
    genders->addWidget(rbMale_);
    genders->addWidget(rbFemale_);
    lifeForm->addRow(QStringLiteral("Gender:"), genders);
    cbAges_ = new QComboBox(life);
    cbAges_->setObjectName(QStringLiteral("cbAges"));
    lifeForm->addRow(QStringLiteral("Age:"), cbAges_);
    lblLifeStage_ = new QLabel(life);
    lblLifeStage_->setObjectName(QStringLiteral("lblLifeStage"));
    lblSpecies_ = new QLabel(life);
    lblSpecies_->setObjectName(QStringLiteral("lblSpecies"));
    lifeForm->addRow(lblLifeStage_, lblSpecies_);
    ckYoungAdult_ = new QCheckBox(QStringLiteral("Young Adult"), life);
    ckYoungAdult_->setObjectName(QStringLiteral("ckYoungAdult"));
    SetTip(ckYoungAdult_, QStringLiteral("Whether the game treats the adult sim as a young adult at university"));
    lifeForm->addRow(ckYoungAdult_);
    edtAgeDuration_ = NumberBox(life, "edtAgeDuration");
    edtDaysPrevAge_ = NumberBox(life, "edtDaysPrevAge");
    edtAgeDaysLeft_ = NumberBox(life, "edtAgeDaysLeft");
    edtFitnessPreference_ = NumberBox(life, "edtFitnessPreference");
    lifeForm->addRow(QStringLiteral("Age Duration:"), edtAgeDuration_);
    lifeForm->addRow(QStringLiteral("Days in Previous Age:"), edtDaysPrevAge_);
    lifeForm->addRow(QStringLiteral("Days Left in Age:"), edtAgeDaysLeft_);
    lblFitnessPreference_ = new QLabel(QStringLiteral("Fitness Preference:"), life);
    lblFitnessPreference_->setObjectName(QStringLiteral("lblFitnessPreference"));
    lifeForm->addRow(lblFitnessPreference_, edtFitnessPreference_);
    cbZodiac_ = new QComboBox(life);
    cbZodiac_->setObjectName(QStringLiteral("cbZodiac"));
    for (const ZodiacSign& sign : ZodiacSigns()) cbZodiac_->addItem(QString::fromLatin1(sign.name));
    lifeForm->addRow(QStringLiteral("Zodiac:"), cbZodiac_);
    lblZodiacText_ = new QLabel(life);
    lblZodiacText_->setObjectName(QStringLiteral("lblZodiacText"));
    lifeForm->addRow(lblZodiacText_);
    ckDead_ = new QCheckBox(QStringLiteral("Dead"), life);
    ckDead_->setObjectName(QStringLiteral("ckDead"));
    SetTip(ckDead_, QStringLiteral("Mark the sim dead in the game (a ghost or a grave), or bring it back"));
    lifeForm->addRow(ckDead_);
    grid->addWidget(life, 0, 1);

    // Body and attraction.
    grpFatness_ = new QGroupBox(QStringLiteral("Fatness"), this);
    grpFatness_->setObjectName(QStringLiteral("grpFatness"));
    auto* fat = new QVBoxLayout(grpFatness_);
    trkFatness_ = Slider(grpFatness_, "trkFatness", 0, 1000);
    SetTip(trkFatness_, QStringLiteral("How fat the sim is, from fit (0) to fat (1000)"));
    lblFatness_ = new QLabel(grpFatness_);
    lblFatness_->setObjectName(QStringLiteral("lblFatness"));
    lblFatnessNote_ = new QLabel(QStringLiteral("Note: Changes to character fitness will not take effect until they eat or work out."),
                                 grpFatness_);
    lblFatnessNote_->setObjectName(QStringLiteral("lblFatnessNote"));
    lblFatnessNote_->setWordWrap(true);
    fat->addWidget(trkFatness_);
    fat->addWidget(lblFatness_);
    fat->addWidget(lblFatnessNote_);
    grid->addWidget(grpFatness_, 1, 1);

    grpPreferences_ = new QGroupBox(QStringLiteral("Attraction"), this);
    grpPreferences_->setObjectName(QStringLiteral("grpPreferences"));
    auto* prefs = new QVBoxLayout(grpPreferences_);
    lblMalePref_ = new QLabel(grpPreferences_);
    lblMalePref_->setObjectName(QStringLiteral("lblMalePref"));
    trkMalePref_ = Slider(grpPreferences_, "trkMalePref", -1000, 1000);
    SetTip(trkMalePref_, QStringLiteral("How much the sim is attracted to men, from -1000 to 1000"));
    lblFemalePref_ = new QLabel(grpPreferences_);
    lblFemalePref_->setObjectName(QStringLiteral("lblFemalePref"));
    trkFemalePref_ = Slider(grpPreferences_, "trkFemalePref", -1000, 1000);
    SetTip(trkFemalePref_, QStringLiteral("How much the sim is attracted to women, from -1000 to 1000"));
    prefs->addWidget(lblMalePref_);
    prefs->addWidget(trkMalePref_);
    prefs->addWidget(lblFemalePref_);
    prefs->addWidget(trkFemalePref_);
    grid->addWidget(grpPreferences_, 2, 0);

    grpLocomotion_ = new QGroupBox(QStringLiteral("Locomotion Balance"), this);
    grpLocomotion_->setObjectName(QStringLiteral("grpLocomotion"));
    auto* loco = new QHBoxLayout(grpLocomotion_);
    lblLoco0_ = new QLabel(grpLocomotion_);
    lblLoco0_->setObjectName(QStringLiteral("lblLocoWeight0"));
    trkLocoBalance_ = Slider(grpLocomotion_, "trkLocoBalance", 0, 100);
    SetTip(trkLocoBalance_, QStringLiteral("How the sim's walk weighs its two ways of walking (the two weights add to 100)"));
    lblLoco1_ = new QLabel(grpLocomotion_);
    lblLoco1_->setObjectName(QStringLiteral("lblLocoWeight1"));
    loco->addWidget(lblLoco0_);
    loco->addWidget(trkLocoBalance_, 1);
    loco->addWidget(lblLoco1_);
    grid->addWidget(grpLocomotion_, 2, 1);

    lblAdvancedNote_ = new QLabel(
        QStringLiteral("Note: Changing Gender, Life Stage, Fitness Preference, and Sanity levels may have unknown or unusual "
                       "effects in the game. To enable changes to these characteristics \"Advanced\" will need to be checked above."),
        this);
    lblAdvancedNote_->setObjectName(QStringLiteral("lblAdvancedNote"));
    lblAdvancedNote_->setWordWrap(true);
    grid->addWidget(lblAdvancedNote_, 3, 0, 1, 2);
    lblNoDescription_ = new QLabel(
        QStringLiteral("No description of this sim was found in the neighborhood, so its gender, age, life stage, "
                       "zodiac, body, attraction, locomotion and dead mark cannot be shown or changed here. Its names "
                       "and description can."),
        this);
    lblNoDescription_->setObjectName(QStringLiteral("lblNoDescription"));
    lblNoDescription_->setWordWrap(true);
    grid->addWidget(lblNoDescription_, 4, 0, 1, 2);
    grid->setRowStretch(5, 1);

    context_.view.RegisterAdvanced(lblFitnessPreference_, AdvancedEffect::ShowWhenOn);
    context_.view.RegisterAdvanced(edtFitnessPreference_, AdvancedEffect::ShowWhenOn);
    context_.view.RegisterAdvanced(grpLocomotion_, AdvancedEffect::ShowWhenOn);
    context_.view.RegisterAdvanced(lblAdvancedNote_, AdvancedEffect::HideWhenOn);
    context_.view.RegisterAdvanced(cbAges_, AdvancedEffect::EnableWhenOn);
    context_.view.RegisterAdvanced(rbMale_, AdvancedEffect::EnableWhenOn);
    context_.view.RegisterAdvanced(rbFemale_, AdvancedEffect::EnableWhenOn);
    context_.view.RegisterAdvanced(ckDead_, AdvancedEffect::ShowWhenOn);

    // Every edit of the panel: one step of the document, named for the list of changes; steps
    // with a merge key (typing, dragging) join the one before them.
    auto edit = [this](const QString& what, auto change, const QString& mergeKey = {}) {
        const auto index = SimIndex();
        if (Filling() || !index) return;
        document_.EditSim(*index, what, [&](Workspace&, Character& sim) { change(sim); }, mergeKey);
    };
    connect(edtFirstName_, &QLineEdit::textEdited, this, [this] { NameKeyUp(true); });
    connect(edtLastName_, &QLineEdit::textEdited, this, [this] { NameKeyUp(false); });
    connect(memCharacterDescription_, &QPlainTextEdit::textChanged, this, [this, edit] {
        edit(QStringLiteral("description"),
             [this](Character& sim) { SetDescription(sim, memCharacterDescription_->toPlainText().toStdString()); },
             QStringLiteral("description"));
    });
    connect(rbMale_, &QRadioButton::clicked, this,
            [edit] { edit(QStringLiteral("gender"), [](Character& sim) { SetGender(sim, false); }); });
    connect(rbFemale_, &QRadioButton::clicked, this,
            [edit] { edit(QStringLiteral("gender"), [](Character& sim) { SetGender(sim, true); }); });
    connect(edtAgeDuration_, &QLineEdit::textEdited, this,
            [this] { NumberKeyUp(edtAgeDuration_, &Character::ageDuration, QStringLiteral("age duration")); });
    connect(edtDaysPrevAge_, &QLineEdit::textEdited, this,
            [this] { NumberKeyUp(edtDaysPrevAge_, &Character::daysInPreviousAge, QStringLiteral("days in previous age")); });
    connect(edtAgeDaysLeft_, &QLineEdit::textEdited, this,
            [this] { NumberKeyUp(edtAgeDaysLeft_, &Character::ageDaysLeft, QStringLiteral("days left in age")); });
    connect(edtFitnessPreference_, &QLineEdit::textEdited, this,
            [this] { NumberKeyUp(edtFitnessPreference_, &Character::fitnessPreference, QStringLiteral("fitness preference")); });
    connect(cbAges_, &QComboBox::currentIndexChanged, this, [this] { cbAgesChange(); });
    connect(ckYoungAdult_, &QCheckBox::clicked, this, [this] { ckYoungAdultClick(); });
    connect(trkFatness_, &QSlider::valueChanged, this, [this, edit](int value) {
        lblFatness_->setText(QString::number(value));
        edit(QStringLiteral("fatness"),
             [value](Character& sim) { SetWord(sim, &Character::fatness, static_cast<std::int16_t>(value)); },
             QStringLiteral("fatness"));
    });
    connect(trkMalePref_, &QSlider::valueChanged, this, [this, edit](int value) {
        lblMalePref_->setText(QStringLiteral("Male Preference: ") + QString::number(value));
        edit(QStringLiteral("male preference"),
             [value](Character& sim) { SetWord(sim, &Character::malePreference, static_cast<std::int16_t>(value)); },
             QStringLiteral("malePreference"));
    });
    connect(trkFemalePref_, &QSlider::valueChanged, this, [this, edit](int value) {
        lblFemalePref_->setText(QStringLiteral("Female Preference: ") + QString::number(value));
        edit(QStringLiteral("female preference"),
             [value](Character& sim) { SetWord(sim, &Character::femalePreference, static_cast<std::int16_t>(value)); },
             QStringLiteral("femalePreference"));
    });
    connect(trkLocoBalance_, &QSlider::valueChanged, this, [this, edit](int value) {
        lblLoco0_->setText(QString::number(value));
        lblLoco1_->setText(QString::number(100 - value));
        edit(QStringLiteral("locomotion"), [value](Character& sim) { SetLocomotion(sim, value); },
             QStringLiteral("locomotion"));
    });
    connect(cbZodiac_, &QComboBox::currentIndexChanged, this, [this] { cbZodiacChange(); });
    connect(ckDead_, &QCheckBox::clicked, this, [this] { ckDeadClick(); });
    connect(btnFixThumbnail_, &QPushButton::clicked, this, [this, edit] {
        btnFixThumbnail_->setEnabled(false);
        edit(QStringLiteral("thumbnail repair"), [](Character& sim) { FixThumbnail(sim); });
    });
}

bool CharacterPanel::Pet(const Character& sim) const { return IsPet(sim, document_.session().env.hasPets); }

void CharacterPanel::Fill() {
    Character& sim = *Sim();
    memCharacterDescription_->setPlainText(EditedText(sim.description));
    lblCharacterVersion_->setText(QStringLiteral("Character Version : ") + QString::fromStdString(sim.versionText));
    lblBodyFlags_->setText(QString::number(sim.bodyFlags));
    lblPackageFile_->setText(QString::fromStdString(sim.packageFile));
    lblGuid_->setText(QString::fromStdString(FormatGuid(sim.simGuid, GuidFormat::WordSwapped)));
    lblInstance_->setText(QString::fromStdString(HexId(sim.instanceId)));
    edtFirstName_->setText(EditedText(sim.firstName));
    edtLastName_->setText(EditedText(sim.lastName));
    trkMalePref_->setValue(sim.malePreference);
    lblMalePref_->setText(QStringLiteral("Male Preference: ") + QString::number(sim.malePreference));
    trkFemalePref_->setValue(sim.femalePreference);
    lblFemalePref_->setText(QStringLiteral("Female Preference: ") + QString::number(sim.femalePreference));
    lblLifeStage_->setText(QStringLiteral("Life Stage: ") + QString::number(sim.lifeStage));
    edtAgeDaysLeft_->setText(QString::number(sim.ageDaysLeft));
    edtDaysPrevAge_->setText(QString::number(sim.daysInPreviousAge));
    trkLocoBalance_->setValue(sim.locoWeight0);
    lblLoco0_->setText(QString::number(sim.locoWeight0));
    lblLoco1_->setText(QString::number(sim.locoWeight1));
    lblOutfitSourceGuid_->setText(QStringLiteral("OutfitSourceGUID1: ") +
                                  QString::fromStdString(FormatGuid(sim.outfitSourceGuid, GuidFormat::StoredBytes)));
    edtFitnessPreference_->setText(QString::number(sim.fitnessPreference));
    edtAgeDuration_->setText(QString::number(sim.ageDuration));
    trkFatness_->setValue(sim.fatness);
    lblFatness_->setText(QString::number(sim.fatness));
    if (sim.youngAdult == 0 || sim.youngAdult == 1) ckYoungAdult_->setChecked(sim.youngAdult == 1);
    if (sim.gender == 0) rbMale_->setChecked(true);
    if (sim.gender == 1) rbFemale_->setChecked(true);

    const bool pet = Pet(sim);
    cbAges_->clear();
    for (const LifeStageRow& row : LifeStageRows(pet)) cbAges_->addItem(QString::fromLatin1(row.caption));
    const int position = LifeStagePosition(sim, pet);
    cbAges_->setCurrentIndex(position);
    lblSpecies_->setText(QString::fromStdString(SpeciesLabel(sim, pet, position)));
    if (sim.zodiac >= 1 && sim.zodiac <= 12) {
        cbZodiac_->setCurrentIndex(sim.zodiac - 1);
        lblZodiacText_->setText(QString::fromStdString(ZodiacSignText(sim.zodiac)));
    } else {
        cbZodiac_->setCurrentIndex(-1);
        lblZodiacText_->clear();
    }
    ckDead_->setChecked(IsDead(document_.workspace(), sim));
    context_.view.ApplyAdvancedMode();
    btnFixThumbnail_->setEnabled(CanFixThumbnail(sim));
    ShowPetVisibility(sim);
    ShowDescriptionState(sim);
}

void CharacterPanel::ShowDescriptionState(const Character& sim) {
    const bool described = sim.instanceId != 0;
    lblNoDescription_->setVisible(!described);
    for (QWidget* control : std::initializer_list<QWidget*>{ckYoungAdult_, edtAgeDuration_, edtDaysPrevAge_,
                                                             edtAgeDaysLeft_, edtFitnessPreference_, cbZodiac_,
                                                             trkFatness_, trkMalePref_, trkFemalePref_, trkLocoBalance_,
                                                             ckDead_}) {
        control->setEnabled(described);
    }
    // The dead mark is an item of the neighborhood data as well.
    const QString itemsRefusal = QString::fromStdString(ItemsRefusal(document_.workspace()));
    ckDead_->setEnabled(described && itemsRefusal.isEmpty());
    ShowRefusalOrTip(ckDead_, itemsRefusal);
    // These three change only in advanced mode, and then only for a described sim.
    for (QWidget* control : std::initializer_list<QWidget*>{rbMale_, rbFemale_, cbAges_}) {
        control->setEnabled(described && context_.view.Advanced());
    }
}

void CharacterPanel::ShowPetVisibility(const Character& sim) {
    const bool pet = Pet(sim);
    grpPreferences_->setVisible(!pet);
    grpFatness_->setVisible(!pet);
    // The young-adult box is shown where a young adult can exist: for an adult sim, with
    // University installed.
    ckYoungAdult_->setVisible(!pet && document_.session().env.hasUniversity && sim.lifeStage == 19);
    if (pet) {
        grpLocomotion_->setVisible(false);
        lblFitnessPreference_->setVisible(false);
        edtFitnessPreference_->setVisible(false);
    }
}

void CharacterPanel::AdvancedChanged() {
    if (Character* sim = Sim()) {
        ShowPetVisibility(*sim);
        ShowDescriptionState(*sim);
    }
}

void CharacterPanel::NumberKeyUp(QLineEdit* box, std::int16_t Character::*field, const QString& what) {
    const auto index = SimIndex();
    if (Filling() || !index) return;
    const int caret = box->cursorPosition();
    const std::u32string typed = box->text().toStdU32String();
    const std::u32string filtered = FilterDigits(typed);
    if (filtered != typed) {
        box->setText(QString::fromStdU32String(filtered));
        box->setCursorPosition(caret);
    }
    document_.EditSim(*index, what, [&](Workspace&, Character& sim) { SetWord(sim, field, DigitValue(filtered)); },
                      box->objectName());
}

void CharacterPanel::NameKeyUp(bool first) {
    const auto index = SimIndex();
    if (Filling() || !index) return;
    const std::string name = (first ? edtFirstName_ : edtLastName_)->text().toStdString();
    // The selector relabels the sim and moves it to its place when the document says so.
    document_.EditSim(
        *index, QStringLiteral("rename"),
        [&](Workspace&, Character& sim) { RenameSim(sim, first ? NameField::First : NameField::Last, name); },
        first ? QStringLiteral("firstName") : QStringLiteral("lastName"));
}

void CharacterPanel::cbAgesChange() {
    const auto index = SimIndex();
    if (Filling() || !index || cbAges_->currentIndex() < 0) return;
    const int position = cbAges_->currentIndex();
    document_.EditSim(*index, QStringLiteral("life stage"),
                      [&](Workspace&, Character& sim) { SetLifeStagePosition(sim, Pet(sim), position); });
    Refill();
}

void CharacterPanel::ckYoungAdultClick() {
    const auto index = SimIndex();
    if (Filling() || !index) return;
    const bool on = ckYoungAdult_->isChecked();
    const int position = cbAges_->currentIndex();
    document_.EditSim(*index, QStringLiteral("young adult"),
                      [&](Workspace&, Character& sim) { SetYoungAdult(sim, on, position); });
}

void CharacterPanel::cbZodiacChange() {
    const int position = cbZodiac_->currentIndex();
    if (position < 0) return;
    lblZodiacText_->setText(QString::fromStdString(ZodiacSignText(position + 1)));
    const auto index = SimIndex();
    if (Filling() || !index) return;
    document_.EditSim(*index, QStringLiteral("zodiac sign"),
                      [&](Workspace&, Character& sim) {
                          ApplyZodiac(sim, position + 1, document_.session().env.hasPets);
                      });
}

void CharacterPanel::ckDeadClick() {
    const auto index = SimIndex();
    if (Filling() || !index) return;
    const bool dead = ckDead_->isChecked();
    // Checking a sim that is dead already changes nothing, and so records nothing.
    document_.EditSim(*index, QStringLiteral("dead mark"),
                      [&](Workspace& ws, Character& sim) { SetDeadMark(ws, sim, dead); });
}

}  // namespace qh::app
