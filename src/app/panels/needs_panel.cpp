#include "app/panels/needs_panel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include "character/character_traits.h"

namespace qh::app {

NeedsPanel::NeedsPanel(Document& document, PanelContext& context, const PanelRow& row) : Panel(document, context, row) {
    auto* layout = new QVBoxLayout(this);
    grpNeeds_ = new QGroupBox(QStringLiteral("Need Decay Modifiers"), this);
    grpNeeds_->setObjectName(QStringLiteral("grpNeeds"));
    auto* grid = new QGridLayout(grpNeeds_);
    const auto needs = NeedRows();
    const auto speeds = NeedSpeeds();
    for (std::size_t n = 0; n < needs.size(); ++n) {
        const int line = static_cast<int>(n);
        auto* caption = new QLabel(QString::fromLatin1(needs[n].caption), grpNeeds_);
        grid->addWidget(caption, line, 0);
        // Each need is its own group of four, so that picking one speed leaves the other needs.
        auto* speedRow = new QWidget(grpNeeds_);
        speedRow->setObjectName(ControlName("grp", needs[n].field));
        speedRow->setAccessibleName(QString::fromLatin1(needs[n].caption));
        auto* rowLayout = new QHBoxLayout(speedRow);
        rowLayout->setContentsMargins(0, 0, 0, 0);
        auto* group = new QButtonGroup(speedRow);
        for (std::size_t s = 0; s < speeds.size(); ++s) {
            auto* button = new QRadioButton(QString::fromLatin1(speeds[s].caption), speedRow);
            button->setObjectName(ControlName("rb", needs[n].field) + QString::number(speeds[s].value));
            SetTip(button, QStringLiteral("How fast the sim's %1 falls: %2")
                               .arg(QString::fromLatin1(needs[n].caption).remove(QLatin1Char(':')).toLower(),
                                    QString::fromLatin1(speeds[s].caption).toLower()));
            group->addButton(button, static_cast<int>(s));
            rowLayout->addWidget(button);
        }
        rowLayout->addStretch();
        grid->addWidget(speedRow, line, 1);
        speeds_.push_back(group);
        connect(group, &QButtonGroup::idClicked, this, [this, n](int speed) { SpeedClick(n, speed); });
    }
    grid->setColumnStretch(1, 1);
    btnFreeTime_ = new QPushButton(QStringLiteral("Lotsa Free Time"), grpNeeds_);
    btnFreeTime_->setObjectName(QStringLiteral("btnFreeTime"));
    SetTip(btnFreeTime_, QStringLiteral("Set every need of the sim to fall at the slowest speed"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnFreeTime_);
    grid->addLayout(buttons, static_cast<int>(needs.size()), 0, 1, 2);
    layout->addWidget(grpNeeds_);
    lblNoNeeds_ = new QLabel(this);
    lblNoNeeds_->setObjectName(QStringLiteral("lblNoNeeds"));
    lblNoNeeds_->setWordWrap(true);
    layout->addWidget(lblNoNeeds_);
    layout->addStretch();
    connect(btnFreeTime_, &QPushButton::clicked, this, [this] { btnFreeTimeClick(); });
}

void NeedsPanel::Fill() {
    const Character& sim = *Sim();
    const bool freeTime = document_.session().env.hasFreeTime;
    // Descriptions older than FreeTime's have no word for the modifiers: a change would be lost.
    const bool stored = NeedsStored(sim);
    grpNeeds_->setVisible(freeTime && stored);
    if (!freeTime) {
        lblNoNeeds_->setText(QStringLiteral("Need decay modifiers come with FreeTime, which is not installed."));
    } else if (!stored) {
        lblNoNeeds_->setText(QStringLiteral("This sim was last saved by a game without FreeTime: its description "
                                            "keeps no need decay modifiers yet."));
    } else {
        lblNoNeeds_->clear();
    }
    lblNoNeeds_->setVisible(!lblNoNeeds_->text().isEmpty());
    const auto needs = NeedRows();
    for (std::size_t n = 0; n < needs.size(); ++n) {
        // A stored value the game does not use shows as Normal and stays until a speed is picked.
        speeds_[n]->button(NeedSpeedPosition(sim.*needs[n].member))->setChecked(true);
    }
}

void NeedsPanel::SpeedClick(std::size_t need, int speed) {
    const NeedRow& row = NeedRows()[need];
    const std::int16_t value = NeedSpeeds()[static_cast<std::size_t>(speed)].value;
    EditSelected(QString::fromLatin1(row.caption).chopped(1).toLower() + QStringLiteral(" decay"),
                 [&](Workspace&, Character& sim) { SetNeedSpeed(sim, row, value); });
}

void NeedsPanel::btnFreeTimeClick() {
    for (QButtonGroup* group : speeds_) group->button(static_cast<int>(NeedSpeeds().size()) - 1)->setChecked(true);
    // One step for the seven needs; a sim already at Very Slow everywhere records nothing.
    EditSelected(QStringLiteral("Lotsa Free Time"), [](Workspace&, Character& sim) { LotsaFreeTime(sim); });
}

}  // namespace qh::app
