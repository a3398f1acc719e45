// The Hobbies panel (FreeTime): a sim's ten hobby enthusiasms, its natural talent and its
// memberships of the ten hobby lots.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <vector>

#include "app/panels/panel.h"
#include "app/widgets.h"

namespace qh::app {

class HobbiesPanel : public Panel {
public:
    HobbiesPanel(Document& document, PanelContext& context, const PanelRow& row);

protected:
    void Fill() override;  // btnHobbies

private:
    void StoreShown(const QString& what, const QString& mergeKey = {});
    void MoveAll(const std::vector<int>& values, const QString& what);
    void LotClick();
    void ckSetAllHobbyLotsClick();
    void cbTalentChange(int index);

    SliderForm* form_;
    QPushButton* btnRandomHobbies_;
    QPushButton* btnMaxHobbies_;
    QLabel* lblTalent_;
    QComboBox* cbTalent_;
    QLabel* lblLots_;
    std::vector<QCheckBox*> lots_;
    QCheckBox* ckSetAllHobbyLots_;
    QLabel* lblNoHobbies_;
    bool moving_ = false;
};

}  // namespace qh::app
