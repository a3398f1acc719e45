// The Personality panel: the five traits as they are now and as the sim was born with them, the
// zodiac sign and, with Apartment Life, the reputation.
#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <vector>

#include "app/panels/panel.h"

namespace qh::app {

class PersonalityPanel : public Panel {
public:
    PersonalityPanel(Document& document, PanelContext& context, const PanelRow& row);

protected:
    void Fill() override;  // btnPersonality

private:
    void Relabel();
    // Any slider moved: all ten are stored, as one step per slider dragged.
    void SliderChange(const QString& mergeKey);
    // "Random" and "Max All" move five sliders (current: 0..4, birth: 5..9) and store them once.
    void MoveSliders(std::size_t first, const std::vector<int>& values, const QString& what);
    void cbZodiacChange();
    void trkReputationChange();

    std::vector<QSlider*> sliders_;  // in the order of the trait table
    std::vector<QLabel*> values_;
    QPushButton* btnRandomPersonality_;
    QPushButton* btnMaxPersonality_;
    QPushButton* btnOrgRandomPersonality_;
    QPushButton* btnOrgMaxPersonality_;
    QComboBox* cbZodiac_;
    QLabel* lblZodiacText_;
    QGroupBox* grpReputation_;
    QSlider* trkReputation_;
    QLabel* lblReputation_;
    QLabel* lblPetNote_;
    QLabel* lblZodiacNote_;
};

}  // namespace qh::app
