// The Badges panel: a sim's eleven talent badges (Open for Business, Seasons, FreeTime), each a
// level with the grade's picture; a click on the picture steps to the next grade.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <vector>

#include "app/panels/panel.h"

namespace qh::app {

class BadgesPanel : public Panel {
public:
    BadgesPanel(Document& document, PanelContext& context, const PanelRow& row);

protected:
    void Fill() override;  // btnBadges
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SliderChange(std::size_t badge);
    void Relabel();
    void MoveAll(const std::vector<int>& levels, const QString& what);

    std::vector<QLabel*> labels_;
    std::vector<QSlider*> sliders_;
    std::vector<QLabel*> pictures_;
    QLabel* lblBadges_;
    QPushButton* btnRandomBadges_;
    QPushButton* btnMaxBadges_;
    QLabel* lblNoBadges_;
    bool moving_ = false;
};

}  // namespace qh::app
