#include "app/panels/rewards_panel.h"

#include <QGridLayout>
#include <QVBoxLayout>

#include "app/widgets.h"
#include "character/character_rules.h"
#include "package/guid.h"
#include "workspace/sim_items.h"

namespace qh::app {

namespace {

struct GroupControl {
    RewardGroup group;
    const char* box;
    const char* setAll;
};
constexpr GroupControl kGroups[] = {
    {RewardGroup::Original, "grpStdRewards", "ckSetAllStdRewards"},
    {RewardGroup::University, "grpUnivRewards", "ckSetAllUnivRewards"},
    {RewardGroup::Seasons, "grpSeasRewards", "ckSetAllSeasRewards"},
    {RewardGroup::FreeTime, "grpFTRewards", "ckSetAllFTRewards"},
    {RewardGroup::Personal, "grpMiscItems", nullptr},
};

// "ckReward" and the item GUID: the boxes' captions repeat words, their GUIDs do not.
QString BoxName(const RewardRow& reward) { return QStringLiteral("ckReward") + QString::fromStdString(HexId(reward.itemGuid)); }

}  // namespace

RewardsPanel::RewardsPanel(Document& document, PanelContext& context, const PanelRow& row) : Panel(document, context, row) {
    auto* grid = new QGridLayout(this);
    lblNoRewards_ = NamedLabel(this, QStringLiteral("lblNoRewards"));
    lblNoRewards_->setWordWrap(true);
    grid->addWidget(lblNoRewards_, 0, 0, 1, 2);
    // Two columns: the long original list with the personal items below it, the expansions' groups
    // beside them.
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    grid->addLayout(left, 1, 0);
    grid->addLayout(right, 1, 1);
    for (const GroupControl& control : kGroups) {
        auto* box = new QGroupBox(QString::fromLatin1(RewardGroupCaption(control.group).data()), this);
        box->setObjectName(QString::fromLatin1(control.box));
        auto* column = new QVBoxLayout(box);
        for (const RewardRow& reward : RewardRows()) {
            if (reward.group != control.group) continue;
            auto* check = new QCheckBox(QString::fromLatin1(reward.caption), box);
            check->setObjectName(BoxName(reward));
            SetTip(check, reward.career ? QString::fromLatin1(reward.career) + QStringLiteral(": whether the sim owns it")
                                        : QStringLiteral("Whether the sim has it (kept as an item of the neighborhood)"));
            column->addWidget(check);
            const std::size_t index = boxes_.size();
            boxes_.push_back(check);
            connect(check, &QCheckBox::clicked, this, [this, index] { RewardClick(index); });
        }
        QCheckBox* setAll = nullptr;
        if (control.setAll) {
            setAll = new QCheckBox(QStringLiteral("Set All"), box);
            setAll->setObjectName(QString::fromLatin1(control.setAll));
            SetTip(setAll, QStringLiteral("Give the sim every reward of this group, or take them all away"));
            column->addWidget(setAll);
            connect(setAll, &QCheckBox::clicked, this, [this, group = control.group, setAll] { SetAllClick(group, setAll); });
        }
        groups_.push_back({control.group, box, setAll});
        const bool leftColumn = control.group == RewardGroup::Original || control.group == RewardGroup::Personal;
        (leftColumn ? left : right)->addWidget(box);
    }
    left->addStretch();
    right->addStretch();
    grid->setRowStretch(1, 1);
}

void RewardsPanel::Fill() {
    const Character& sim = *Sim();
    const GameEnvironment& env = document_.session().env;
    const Workspace& ws = document_.workspace();
    const auto rows = RewardRows();
    bool any = false;
    for (const Group& group : groups_) {
        const bool shown = RewardGroupShown(sim, env, group.group);
        group.box->setVisible(shown);
        any = any || shown;
        if (group.setAll) group.setAll->setChecked(false);
    }
    const QString refusal = QString::fromStdString(HasDescription(sim) ? ItemsRefusal(ws) : NoDescriptionRefusal(sim));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        boxes_[i]->setVisible(RewardShown(sim, env, rows[i]));
        boxes_[i]->setChecked(HasReward(ws.simItemList, sim, rows[i]));
        boxes_[i]->setEnabled(refusal.isEmpty());
        ShowRefusalOrTip(boxes_[i], refusal);
    }
    for (const Group& group : groups_) {
        if (group.setAll) group.setAll->setEnabled(refusal.isEmpty());
    }
    lblNoRewards_->setText(any ? (refusal.isEmpty() ? QString() : refusal)
                               : QStringLiteral("Career rewards and personal items are for sims from teen on, not pets."));
    lblNoRewards_->setVisible(!lblNoRewards_->text().isEmpty());
}

void RewardsPanel::RewardClick(std::size_t reward) {
    const RewardRow& row = RewardRows()[reward];
    const bool owned = boxes_[reward]->isChecked();
    EditSelected(QString::fromLatin1(row.caption), [&](Workspace& ws, Character& sim) {
        SetReward(ws, sim, document_.session().env, row, owned);
    });
}

void RewardsPanel::SetAllClick(RewardGroup group, QCheckBox* box) {
    const bool owned = box->isChecked();
    const auto rows = RewardRows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].group == group && !boxes_[i]->isHidden()) boxes_[i]->setChecked(owned);
    }
    // One step for the press.
    EditSelected(QString::fromLatin1(RewardGroupCaption(group).data()), [&](Workspace& ws, Character& sim) {
        SetRewardGroup(ws, sim, document_.session().env, group, owned);
    });
}

}  // namespace qh::app
