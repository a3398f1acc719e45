// The Skills panel: the seven base skills of the description, the skills the game keeps as the
// sim's items (dance, parenting, the Bon Voyage and Apartment Life skills) and a toddler's
// training.
#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <vector>

#include "app/panels/panel.h"
#include "workspace/skill_items.h"

namespace qh::app {

class SkillsPanel : public Panel {
public:
    SkillsPanel(Document& document, PanelContext& context, const PanelRow& row);

protected:
    void Fill() override;  // btnSkills

private:
    // One item skill: a level slider with its label, or a learned box.
    struct ItemControl {
        const ItemSkill* skill;
        QSlider* slider = nullptr;
        QLabel* label = nullptr;
        QCheckBox* box = nullptr;
    };
    QGroupBox* Group(SkillGroup group);
    void Relabel();
    void BaseSliderChange(const QString& mergeKey);
    void MoveBaseSliders(const std::vector<int>& values, const QString& what);
    void ItemSliderChange(const ItemControl& control);
    void ItemBoxClick(const ItemControl& control);
    void ToddlerChange(bool fromBox, bool fromRhymeBox, const QString& mergeKey);
    ToddlerTraining ShownTraining() const;

    std::vector<QSlider*> baseSliders_;
    std::vector<QLabel*> baseLabels_;
    QPushButton* btnRandomSkills_;
    QPushButton* btnMaxSkills_;
    std::vector<ItemControl> items_;
    QGroupBox* grpMisc_;
    QGroupBox* grpFreeTime_;
    QGroupBox* grpBonVoyage_;
    QGroupBox* grpApartmentLife_;
    QGroupBox* grpToddler_;
    QSlider* trkWalkTraining_;
    QSlider* trkTalkTraining_;
    QSlider* trkPottyTraining_;
    QSlider* trkNurseryRhyme_;
    QLabel* lblWalkTraining_;
    QLabel* lblTalkTraining_;
    QLabel* lblPottyTraining_;
    QLabel* lblNurseryRhyme_;
    QCheckBox* ckTrainWalk_;
    QCheckBox* ckTrainTalk_;
    QCheckBox* ckTrainPotty_;
    QCheckBox* ckNurseryRhyme_;
    QLabel* lblNoItemSkills_;
};

}  // namespace qh::app
