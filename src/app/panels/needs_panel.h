// The Needs panel: how fast each of a sim's seven needs decays (FreeTime).
#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <vector>

#include "app/panels/panel.h"

namespace qh::app {

class NeedsPanel : public Panel {
public:
    NeedsPanel(Document& document, PanelContext& context, const PanelRow& row);

protected:
    void Fill() override;  // btnNeeds

private:
    void SpeedClick(std::size_t need, int speed);
    void btnFreeTimeClick();

    QGroupBox* grpNeeds_;
    std::vector<QButtonGroup*> speeds_;  // one per need; the buttons' ids are the speeds' positions
    QPushButton* btnFreeTime_;
    QLabel* lblNoNeeds_;
};

}  // namespace qh::app
