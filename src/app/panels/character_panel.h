// The Character panel: identity, gender, life stage and ages, zodiac, body, attraction
// preferences, locomotion, the dead mark and the young-adult flag of the selected sim.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include "app/panels/panel.h"
#include "character/character.h"

namespace qh::app {

class CharacterPanel : public Panel {
public:
    CharacterPanel(Document& document, PanelContext& context, const PanelRow& row);
    void AdvancedChanged() override;

protected:
    void Fill() override;  // btnCharacters

private:
    bool Pet(const Character& sim) const;
    // The digit filter of a numeric box, then the value into the field.
    void NumberKeyUp(QLineEdit* box, std::int16_t Character::*field, const QString& what);
    void NameKeyUp(bool first);
    void cbAgesChange();
    void cbZodiacChange();
    void ckDeadClick();
    void ckYoungAdultClick();
    void ShowPetVisibility(const Character& sim);
    // A sim whose package matched no description in the neighborhood: what lives there can be
    // neither shown nor changed.
    void ShowDescriptionState(const Character& sim);

    QLabel* lblCharacterVersion_;
    QLabel* lblPackageFile_;
    QLabel* lblGuid_;
    QLabel* lblInstance_;
    QLabel* lblBodyFlags_;
    QLabel* lblOutfitSourceGuid_;
    QLineEdit* edtFirstName_;
    QLineEdit* edtLastName_;
    QPlainTextEdit* memCharacterDescription_;
    QRadioButton* rbMale_;
    QRadioButton* rbFemale_;
    QComboBox* cbAges_;
    QLabel* lblLifeStage_;
    QLabel* lblSpecies_;
    QCheckBox* ckYoungAdult_;
    QLineEdit* edtAgeDuration_;
    QLineEdit* edtDaysPrevAge_;
    QLineEdit* edtAgeDaysLeft_;
    QLineEdit* edtFitnessPreference_;
    QLabel* lblFitnessPreference_;
    QComboBox* cbZodiac_;
    QLabel* lblZodiacText_;
    QSlider* trkFatness_;
    QLabel* lblFatness_;
    QLabel* lblFatnessNote_;
    QGroupBox* grpFatness_;
    QSlider* trkMalePref_;
    QLabel* lblMalePref_;
    QSlider* trkFemalePref_;
    QLabel* lblFemalePref_;
    QGroupBox* grpPreferences_;
    QGroupBox* grpLocomotion_;
    QSlider* trkLocoBalance_;
    QLabel* lblLoco0_;
    QLabel* lblLoco1_;
    QCheckBox* ckDead_;
    QLabel* lblAdvancedNote_;
    QPushButton* btnFixThumbnail_;
    QLabel* lblNoDescription_;
};

}  // namespace qh::app
