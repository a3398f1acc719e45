// The Rewards/Extras panel: the career rewards a sim owns, in four groups by the expansion that
// brought the careers, and a few personal items, each a box that grants or takes away the item.
#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <vector>

#include "app/panels/panel.h"
#include "workspace/reward_items.h"

namespace qh::app {

class RewardsPanel : public Panel {
public:
    RewardsPanel(Document& document, PanelContext& context, const PanelRow& row);

protected:
    void Fill() override;  // btnRewards

private:
    void RewardClick(std::size_t reward);
    void SetAllClick(RewardGroup group, QCheckBox* box);

    struct Group {
        RewardGroup group;
        QGroupBox* box;
        QCheckBox* setAll;  // null for the personal items
    };
    std::vector<Group> groups_;
    std::vector<QCheckBox*> boxes_;  // one per reward, in the table's order
    QLabel* lblNoRewards_;
};

}  // namespace qh::app
