// The Aspiration/Influence panel: a sim's primary and (FreeTime) secondary aspiration, its meter,
// level and reward points, FreeTime's long-term aspiration and weekly benefit, and its influence.
#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>

#include "app/panels/panel.h"

namespace qh::app {

class AspirationPanel : public Panel {
public:
    AspirationPanel(Document& document, PanelContext& context, const PanelRow& row);

protected:
    void Fill() override;  // btnAspiration

private:
    void cbAspirationChange();
    void trkAspirationScoreChange();
    void trkAspirationLevelChange();
    void edtAspirationRewardPointsKeyUp();
    void edtAspirationRewardPointsExit();
    void trkLTAspirationChange();
    void cbLTAUnlocksChange(int index);
    void trkWeeklyBenefitChange();
    void trkInfluenceLevelChange();
    void Relabel();
    void FillUnlocks(const Character& sim);

    QLabel* lblNoAspiration_;
    QComboBox* cbAspiration1_;
    QLabel* lblAspiration2_;
    QComboBox* cbAspiration2_;
    QLabel* lblAspirationScore_;
    QSlider* trkAspirationScore_;
    QLabel* lblAspirationLevel_;
    QSlider* trkAspirationLevel_;
    QLineEdit* edtAspirationRewardPoints_;
    QGroupBox* grpLTAspiration_;
    QLabel* lblLTAspiration_;
    QSlider* trkLTAspiration_;
    QComboBox* cbLTAUnlocks_;
    QLabel* lblLTAUnlocks_;
    QGroupBox* grpWeeklyBenefit_;
    QLabel* lblWeeklyBenefit_;
    QSlider* trkWeeklyBenefit_;
    QGroupBox* grpInfluence_;
    QLabel* lblInfluenceLevel_;
    QSlider* trkInfluenceLevel_;
    QLabel* lblInfluenceMinimum_;
    QLabel* lblInfluenceScore_;
};

}  // namespace qh::app
